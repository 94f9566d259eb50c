// Upgrade files for tests.
#include "support/UpgradeFiles.h"

#include "support/TestBank.h"
#include "store/Schema.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>
#include <gtest/gtest.h>

UpgradeFile::UpgradeFile(const QString &path, const QString &sjbs, const QString &cpbs)
    : m_path(path), m_connection(QStringLiteral("upgrade-file-") + QUuid::createUuid().toString(QUuid::WithoutBraces))
{
    EXPECT_FALSE(QFile::exists(path)) << path.toStdString();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    db.setDatabaseName(path);
    if (!db.open())
        ADD_FAILURE() << db.lastError().text().toStdString();
    store::createSchema(db);
    if (!sjbs.isNull() || !cpbs.isNull())
        run(QStringLiteral("insert into tab_sj (sjbs, cpbs) values (?, ?)"), {sjbs, cpbs});
}

UpgradeFile::~UpgradeFile() { close(); }

void UpgradeFile::close()
{
    if (!QSqlDatabase::contains(m_connection))
        return;
    QSqlDatabase::database(m_connection, false).close();
    QSqlDatabase::removeDatabase(m_connection);
}

void UpgradeFile::run(const QString &sql, const QVariantList &binds)
{
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (!q.prepare(sql)) {
        ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
        return;
    }
    for (int i = 0; i < binds.size(); ++i)
        q.bindValue(i, binds.at(i));
    if (!q.exec())
        ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
}

void UpgradeFile::addChapter(const QString &code, int c3, double bh)
{
    run(QStringLiteral("insert into tab_kmmc (bh, C1, C1_1, C2, C3, C6, C7) values (?, ?, ?, ?, ?, '0', '0')"),
        {bh, code, QString(QStringLiteral("提示 ") + code), QString(QStringLiteral("新章节 ") + code), c3});
}

void UpgradeFile::addQuestion(const QString &id, int type, const QString &chapter, const QStringList &keyPoints,
                              const QString &key)
{
    const AnswerRowInsert row = answerRowInsert(id, key, 4, chapter, type, keyPoints);
    run(row.sql, row.binds);
    run(QStringLiteral("insert into tab_exer (A1, A15, jx) values (?, ?, ?)"),
        {id, QByteArray("{\\rtf1 body of ") + id.toUtf8() + '}', QByteArray("{\\rtf1 why}")});
}

void UpgradeFile::addGroup(const QString &id, int q)
{
    run(QStringLiteral("insert into tab_fgmc (id, bh, n, q) values (?, 1000, ?, ?)"), {id, QString(QStringLiteral("新组 ") + id), q});
}

void UpgradeFile::addKeyPoint(const QString &ftid, int q)
{
    run(QStringLiteral("insert into tab_rule (id, ftid, sn, q) values (?, ?, ?, ?)"),
        {ftid.left(6), ftid, QString(QStringLiteral("新考点 ") + ftid), q});
}

void UpgradeFile::addMaterial(const QString &id, const QByteArray &body)
{
    run(QStringLiteral("insert into tab_title (A1, A15) values (?, ?)"), {id, body});
}

void UpgradeFile::rebuild(const QString &table, const QStringList &columns, bool typed)
{
    QStringList defs;
    QSqlQuery info(QSqlDatabase::database(m_connection, false));
    info.exec(QStringLiteral("PRAGMA table_info(") + table + QLatin1Char(')'));
    QHash<QString, QString> types;
    while (info.next())
        types.insert(info.value(1).toString(), info.value(2).toString());
    info.finish();
    for (const QString &c : columns)
        defs << (typed ? c + QLatin1Char(' ') + types.value(c) : c);
    const QString list = columns.join(QLatin1Char(','));
    run(QStringLiteral("create table rebuilt (") + defs.join(QLatin1Char(',')) + QLatin1Char(')'));
    run(QStringLiteral("insert into rebuilt (") + list + QStringLiteral(") select ") + list + QStringLiteral(" from ") + table);
    run(QStringLiteral("drop table ") + table);
    run(QStringLiteral("alter table rebuilt rename to ") + table);
}

void UpgradeFile::reverseColumns(const QString &table)
{
    QStringList cols = store::tableColumns(table);
    std::reverse(cols.begin(), cols.end());
    rebuild(table, cols, true);
}

void UpgradeFile::dropColumn(const QString &table, const QString &column)
{
    QStringList cols = store::tableColumns(table);
    cols.removeAll(column);
    rebuild(table, cols, true);
}

void UpgradeFile::loosen(const QString &table) { rebuild(table, store::tableColumns(table), false); }

QByteArray bankDigest(TestBank &bank)
{
    bank.run(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)"));
    QFile f(bank.dm().bankPath());
    if (!f.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << bank.dm().bankPath().toStdString();
        return {};
    }
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256).toHex();
}
