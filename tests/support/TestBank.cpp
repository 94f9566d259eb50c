// Temporary banks and prompt recorders for tests.
#include "support/TestBank.h"

#include "store/Schema.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUuid>
#include <gtest/gtest.h>

TestBank::TestBank(const QDate &today)
{
    m_clock.date = today;
    m_clock.time = QTime(10, 0, 0);
    m_clock.utcMs = 36000000;
    seams::setClock(&m_clock);
    QDir(m_dir.path()).mkpath(QStringLiteral("data"));
    seams::setAppDir(m_dir.path());
    const QString conn = QUuid::createUuid().toString();
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conn);
        db.setDatabaseName(m_dir.path() + QStringLiteral("/data/VORDANBANK01.db"));
        if (!db.open())
            ADD_FAILURE() << db.lastError().text().toStdString();
        store::createSchema(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(conn);
    m_dm = std::make_unique<TDM1>();
    EXPECT_TRUE(m_dm->DbOpened) << m_dm->openError.toStdString();
}

TestBank::~TestBank()
{
    m_dm.reset();
    seams::setClock(nullptr);
    seams::setAppDir(QString());
}

void TestBank::run(const QString &sql, const QVariantList &binds)
{
    try {
        QSqlQuery q = m_dm->exec(sql, binds);
        q.finish();
    } catch (const store::DbError &e) {
        ADD_FAILURE() << sql.toStdString() << ": " << e.text().toStdString();
    }
}

QVariant TestBank::value(const QString &sql, const QVariantList &binds)
{
    const QVariantList r = row(sql, binds);
    return r.isEmpty() ? QVariant() : r.first();
}

QVariantList TestBank::row(const QString &sql, const QVariantList &binds)
{
    QVariantList out;
    try {
        QSqlQuery q = m_dm->exec(sql, binds);
        if (q.next())
            for (int i = 0; i < q.record().count(); ++i)
                out << q.value(i);
        q.finish();
    } catch (const store::DbError &e) {
        ADD_FAILURE() << sql.toStdString() << ": " << e.text().toStdString();
    }
    return out;
}

void TestBank::addChapter(const QString &code, const QString &name, const QString &hint)
{
    run(QStringLiteral("insert into tab_kmmc (bh, C1, C1_1, C2) values ((select count(*) from tab_kmmc)+1, ?, ?, ?)"),
        {code, hint.isEmpty() ? QString(QStringLiteral("提示 ") + code) : hint,
         name.isEmpty() ? QString(QStringLiteral("章节 ") + code) : name});
}

AnswerRowInsert answerRowInsert(const QString &id, const QString &key, int options, const QString &chapter, int type,
                                const QStringList &keyPoints)
{
    AnswerRowInsert r;
    r.sql = QStringLiteral("insert into tab_answ (A1,A2,A2_1,K3,K4,K5,K6,K7,K8,K9,K10,K11,K12,A10,A13,E2,E2_1,F1) "
                           "values (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,'','',0)");
    r.binds = {id, key, options};
    for (int i = 0; i < 10; ++i)
        r.binds << (i < keyPoints.size() ? QVariant(keyPoints.at(i)) : QVariant(QString()));
    r.binds << chapter << type;
    return r;
}

void TestBank::addQuestion(const QString &id, const QString &key, int type, const QString &chapter,
                           const QStringList &keyPoints, int options)
{
    const AnswerRowInsert row = answerRowInsert(id, key, options, chapter, type, keyPoints);
    run(row.sql, row.binds);
    run(QStringLiteral("insert into tab_exer (A1, A15) values (?, ?)"), {id, QByteArray("{\\rtf1 body}")});
}

void TestBank::addKeyPoint(const QString &ftid)
{
    const QString group = ftid.left(6);
    const QString heading = ftid.left(2);
    for (const QString &g : {heading, group})
        if (value(QStringLiteral("select count(*) from tab_fgmc where id=?"), {g}).toInt() == 0)
            run(QStringLiteral("insert into tab_fgmc (id, n) values (?, ?)"), {g, QString(QStringLiteral("组 ") + g)});
    run(QStringLiteral("insert into tab_rule (id, ftid, sn) values (?, ?, ?)"), {group, ftid, QString(QStringLiteral("考点 ") + ftid)});
}

PromptRecorder::PromptRecorder() : m_previous(seams::promptHandler())
{
    seams::setPromptHandler([this](const seams::Prompt &p) {
        prompts << p;
        if (!answers.isEmpty())
            return answers.takeFirst();
        return defaultAnswer >= 0 ? defaultAnswer : seams::defaultAnswer(p);
    });
}

PromptRecorder::~PromptRecorder() { seams::setPromptHandler(m_previous); }
