// Generation and loading of mock papers.
#include "exam/PaperGeneration.h"

#include "common/CommonRoutines.h"
#include "platform/Seams.h"
#include "common/ShellState.h"
#include "store/SqlText.h"
#include "store/dm.h"

#include <QSqlDriver>
#include <QSqlQuery>
#include <QSqlRecord>
#include <sqlite3.h>
#include <vector>

namespace exam {

namespace {

void report(const Progress &progress, const QString &text)
{
    if (progress)
        progress(text);
}

} // namespace

QString failureMessage(PaperFailure f)
{
    switch (f) {
    case PaperFailure::CreateTable:
        return QStringLiteral("建立数据表时发生错误！");
    case PaperFailure::NoQuestions:
        return QStringLiteral("没有发现题目！");
    case PaperFailure::Draw:
        return QStringLiteral("提取数据时发生错误！");
    case PaperFailure::Open:
        return QStringLiteral("无法打开试卷！");
    }
    return QString();
}

QString nextPaperTableName(bool hasRecords, const QString &newestTableName, int newNumber)
{
    if (!hasRecords)
        return QStringLiteral("tab_exam1");
    const QString rest = newestTableName.trimmed().mid(8);
    bool digits = !rest.isEmpty();
    for (QChar c : rest)
        digits = digits && c >= QLatin1Char('0') && c <= QLatin1Char('9');
    bool ok = false;
    const qlonglong n = digits ? rest.toLongLong(&ok) : 0;
    if (!ok || n >= 0x7fffffff)
        return QStringLiteral("tab_exam") + QString::number(newNumber);
    return QStringLiteral("tab_exam") + QString::number(n + 1);
}

PaperNumbering nextPaperNumbering(TDM1 &dm)
{
    QSqlQuery q = dm.exec(QStringLiteral("select * from tab_cj order by A3_1 desc"));
    PaperNumbering out;
    if (q.next()) {
        out.number = q.value(QStringLiteral("A3_1")).toInt() + 1;
        out.tableName = nextPaperTableName(true, q.value(QStringLiteral("A1")).toString(), out.number);
    }
    q.finish();
    return out;
}

QString PaperTitle(const QDate &date, int subject, int number)
{
    return date.toString(QStringLiteral("yyyy")) + QStringLiteral("年") + date.toString(QStringLiteral("MM"))
           + QStringLiteral("月") + date.toString(QStringLiteral("dd")) + QStringLiteral("日") + editionTitle(subject)
           + QLatin1Char('[') + QString::number(number) + QLatin1Char(']');
}

QString paperTableStatement(const QString &tableName)
{
    // TEXT(n) -> TEXT COLLATE NOCASE, SMALLINT -> INTEGER, MEMO -> TEXT,
    // DATETIME -> TEXT, IMAGE -> BLOB.
    return QStringLiteral("CREATE TABLE ") + tableName
           + QStringLiteral(" (A1 TEXT COLLATE NOCASE NOT NULL PRIMARY KEY,A2 TEXT COLLATE NOCASE,A2_1 INTEGER,")
           + QStringLiteral("K3 TEXT COLLATE NOCASE,K4 TEXT COLLATE NOCASE,K5 TEXT COLLATE NOCASE,"
                            "K6 TEXT COLLATE NOCASE,K7 TEXT COLLATE NOCASE,K8 TEXT COLLATE NOCASE,"
                            "K9 TEXT COLLATE NOCASE,K10 TEXT COLLATE NOCASE,K11 TEXT COLLATE NOCASE,"
                            "K12 TEXT COLLATE NOCASE")
           + QStringLiteral(",A10 TEXT COLLATE NOCASE,A13 INTEGER,A14 TEXT,E1 TEXT,E2 TEXT COLLATE NOCASE,")
           + QStringLiteral("E2_1 TEXT COLLATE NOCASE,E3 INTEGER,E4 INTEGER,jx BLOB,csbs TEXT COLLATE NOCASE,")
           + QStringLiteral("F1 INTEGER)");
}

void SetAllowZeroLength(TDM1 &dm, const QString &tableName)
{
    QSqlQuery q = dm.execText(QStringLiteral("PRAGMA table_info(") + tableName + QLatin1Char(')'));
    QStringList columns;
    while (q.next())
        columns << q.value(1).toString().toLower();
    for (const char *c : {"a2", "a14", "e2", "e2_1", "csbs"})
        if (!columns.contains(QLatin1String(c)))
            throw store::DbError(QStringLiteral("column ") + QLatin1String(c) + QStringLiteral(" missing in ") + tableName);
}

namespace {

// A prepared statement on the engine's handle, finalized on every way out.
class Statement {
public:
    Statement(sqlite3 *db, const QString &sql) : m_db(db)
    {
        const QByteArray utf8 = sql.toUtf8();
        if (sqlite3_prepare_v2(db, utf8.constData(), int(utf8.size()), &m_stmt, nullptr) != SQLITE_OK)
            fail();
    }
    ~Statement() { sqlite3_finalize(m_stmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    sqlite3_stmt *get() const { return m_stmt; }
    // Steps once: true on a row, false at the end; an error throws.
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        if (rc != SQLITE_DONE)
            fail();
        return false;
    }
    [[noreturn]] void fail() const { throw store::DbError(QString::fromUtf8(sqlite3_errmsg(m_db))); }

private:
    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace

bool hasCandidates(TDM1 &dm, int subject)
{
    const QString chapters = candidateChapterCondition(subject);
    if (chapters.isEmpty())
        return false;
    Statement s(dm.handle(), QStringLiteral("select 1 from tab_answ where ") + chapters + QStringLiteral(" (f1 <> 1) limit 1"));
    return s.step();
}

QString groupCandidateSelection()
{
    return QStringLiteral("select rowid from tab_answ where substr(A10,1,2) = ?1 and A13 = ?2 and f1 <> 1 order by E3");
}

QString DrawGroupQuestions(TDM1 &dm, const DrawGroup &group, DrawRandom &random)
{
    sqlite3 *db = dm.handle();
    // The line's candidates: a large bank has tens of thousands per line,
    // of which a few dozen are drawn, so only their rowids are held.
    std::vector<sqlite3_int64> rowids;
    {
        Statement s(db, groupCandidateSelection());
        const QByteArray prefix = group.prefix.toUtf8();
        sqlite3_bind_text(s.get(), 1, prefix.constData(), int(prefix.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(s.get(), 2, group.typeCode);
        while (s.step())
            rowids.push_back(sqlite3_column_int64(s.get(), 0));
    }
    if (rowids.empty())
        return QString();
    QStringList ids;
    Statement id(db, QStringLiteral("select A1 from tab_answ where rowid = ?"));
    for (int r : drawRows(random, int(rowids.size()), group.count)) {
        sqlite3_reset(id.get());
        sqlite3_bind_int64(id.get(), 1, rowids[size_t(r - 1)]);
        if (!id.step())
            throw store::DbError(QStringLiteral("candidate row %1 vanished").arg(rowids[size_t(r - 1)]));
        ids.append(QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(id.get(), 0)),
                                     sqlite3_column_bytes(id.get(), 0)));
    }
    return selectionCondition(ids);
}

void InsertPaperQuestions(TDM1 &dm, const QString &tableName, const QString &condition)
{
    if (condition.isEmpty())
        return;
    dm.execText(QStringLiteral("insert into ") + tableName
                + QStringLiteral("(a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,E3,E4,JX,CSBS,F1)")
                + QStringLiteral(" Select a.a1 as a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,"
                                 "e3,e4,b.jx as jx,a.csbs as csbs,a.f1 as f1 ")
                + QStringLiteral(" from tab_answ a,tab_exer b where a.a1=b.a1 and (") + condition + QLatin1Char(')'));
}

PaperState generatePaper(TDM1 &dm, int subject, const Progress &progress)
{
    report(progress, QStringLiteral("正在初始化数据..."));
    shell().CurSubject = subject;
    dm.setTypeTable(subject);

    PaperState paper;
    paper.mode = QStringLiteral("new");
    PaperNumbering numbering;
    try {
        numbering = nextPaperNumbering(dm);
    } catch (const store::DbError &e) {
        throw PaperError(PaperFailure::CreateTable, e.text());
    }
    paper.tableName = numbering.tableName;
    paper.title = PaperTitle(seams::clock().today(), subject, numbering.number);

    report(progress, QStringLiteral("正在建立数据表..."));
    // A leftover table of the new name goes first, with its record; any
    // failure of that is ignored.
    DropExamTable(dm, paper.tableName);

    DbTransaction tx(dm);
    try {
        dm.exec(QStringLiteral("insert into tab_cj (A1,A3,A3_1,D1) values (?,?,?,?)"),
                {paper.tableName, paper.title, numbering.number, sqltext::dateText(seams::clock().today())});
        dm.execText(paperTableStatement(paper.tableName));
        SetAllowZeroLength(dm, paper.tableName);
    } catch (const store::DbError &e) {
        throw PaperError(PaperFailure::CreateTable, e.text());
    }

    report(progress, QStringLiteral("正在整理数据..."));
    bool anyCandidate = false;
    try {
        anyCandidate = hasCandidates(dm, subject);
    } catch (const store::DbError &e) {
        throw PaperError(PaperFailure::Draw, e.text());
    }
    if (!anyCandidate)
        throw PaperError(PaperFailure::NoQuestions, QStringLiteral("no candidate question"));

    try {
        // The type table's rows in their order; a type takes part only with
        // B2 above 0, and draws the numbers of the composition.
        QVector<QPair<int, double>> types;
        QSqlQuery t = dm.execText(QStringLiteral("select A1, B2 from ") + dm.typeTable() + QStringLiteral(" order by rowid"));
        while (t.next())
            types.append({t.value(0).toInt(), t.value(1).toDouble()});
        t.finish();
        for (const auto &type : types) {
            if (!(type.second > 0))
                continue;
            for (const DrawGroup &g : compositionOfType(subject, type.first)) {
                // Every line is drawn with the generator reseeded from the clock.
                DrawRandom random(drawSeedFromClock());
                InsertPaperQuestions(dm, paper.tableName, DrawGroupQuestions(dm, g, random));
            }
        }
    } catch (const store::DbError &e) {
        throw PaperError(PaperFailure::Draw, e.text());
    }

    // A paper without a question could never be opened: nothing is kept.
    int rows = 0;
    try {
        QSqlQuery c = dm.execText(QStringLiteral("select count(*) from ") + paper.tableName);
        rows = c.next() ? c.value(0).toInt() : 0;
        c.finish();
        if (rows > 0)
            tx.commit();
    } catch (const store::DbError &e) {
        throw PaperError(PaperFailure::Draw, e.text());
    }
    if (rows == 0)
        throw PaperError(PaperFailure::Open, QStringLiteral("the paper has no question"));
    return paper;
}

QVector<PaperQuestion> LoadPaper(TDM1 &dm, const PaperState &paper, const Progress &progress)
{
    report(progress, paper.isNew() ? QStringLiteral("正在出卷...") : QStringLiteral("正在提取试卷..."));
    // The table name comes from tab_cj: only a paper table's name is ever
    // put into a statement.
    if (!IsPaperTableName(paper.tableName))
        throw PaperError(PaperFailure::Open, QStringLiteral("not a paper table: ") + paper.tableName);
    QVector<PaperQuestion> rows;
    try {
        if (paper.isNew())
            dm.execText(QStringLiteral("Update ") + paper.tableName + QStringLiteral(" set E2_1= ''"));
        QSqlQuery q = dm.execText(QStringLiteral("select * from ") + paper.tableName + QStringLiteral(" order by A13,A1"));
        const QSqlRecord rec = q.record();
        auto col = [&](const char *name) { return rec.indexOf(QLatin1String(name)); };
        const int a1 = col("A1"), a2 = col("A2"), a2_1 = col("A2_1"), a10 = col("A10"), a13 = col("A13"),
                  a14 = col("A14"), e1 = col("E1"), e2 = col("E2"), e2_1 = col("E2_1"), e3 = col("E3"), e4 = col("E4"),
                  jx = col("jx"), csbs = col("csbs"), f1 = col("F1");
        const int k3 = col("K3");
        while (q.next()) {
            PaperQuestion r;
            r.a1 = q.value(a1).toString();
            r.a2 = q.value(a2).toString();
            r.a2_1 = q.value(a2_1).toInt();
            for (int i = 0; i < 10; ++i) {
                const QVariant v = q.value(k3 + i);
                r.k << (v.isNull() ? QString() : v.toString());
            }
            r.a10 = q.value(a10).toString();
            r.a13 = q.value(a13).toInt();
            r.a14 = q.value(a14).toString();
            r.e1 = q.value(e1).toString();
            r.e2 = q.value(e2).toString();
            r.e2_1 = q.value(e2_1).toString();
            r.e3 = q.value(e3).toInt();
            r.e4 = q.value(e4).toInt();
            r.hasJx = !q.value(jx).isNull();
            r.jx = q.value(jx).toByteArray();
            r.csbs = q.value(csbs).toString();
            r.f1 = q.value(f1).toInt();
            rows.append(r);
        }
    } catch (const store::DbError &e) {
        throw PaperError(PaperFailure::Open, e.text());
    }
    if (rows.isEmpty())
        throw PaperError(PaperFailure::Open, QStringLiteral("the paper has no question"));
    return rows;
}

} // namespace exam
