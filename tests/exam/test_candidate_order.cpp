// The order a paper's lines are drawn in: each line read through its own
// index must give the rows, in the order, that the subject's whole candidate
// list ("select * ... order by E3") gives them, ties on E3 included, so a
// seed draws the same questions either way.
#include "ExamFixture.h"

#include "exam/PaperGeneration.h"

#include <QRandomGenerator>
#include <QSet>
#include <QSqlQuery>
#include <algorithm>
#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace exam;

namespace {

struct BankShape {
    const char *name;
    bool shuffledRows;   // rows stored out of id order (rowid order != A1 order)
    int e3Max;           // E3 drawn from 0..e3Max: many ties
    bool mixedStatus;    // voided, NULL and user-question statuses among them
    bool answeredAfter;  // E3 raised by answers after the bank was written
};

// Writes, for every line of every subject's composition, a spread of
// candidates around the number drawn (a few lines hold fewer than that).
void fillBank(TestBank &b, const BankShape &shape, quint32 seed)
{
    QRandomGenerator rnd(seed);
    struct Row {
        QString id, chapter;
        int type, e3;
        QVariant f1;
    };
    std::vector<Row> rows;
    QSet<QString> seen;
    for (int subject = 1; subject <= 5; ++subject) {
        for (const DrawGroup &g : paperComposition(subject)) {
            const QString key = g.prefix + QString::number(g.typeCode);
            if (seen.contains(key))   // "05" lines of subjects 1 and 5 share types
                continue;
            seen.insert(key);
            const int n = std::max(1, g.count + int(rnd.bounded(-3, 40)));
            for (int i = 0; i < n; ++i) {
                const QString chapter = g.prefix + QStringLiteral("0%1").arg(1 + rnd.bounded(3)) + QStringLiteral("01");
                const QString id = (i % 17 == 5 ? QStringLiteral("US") : QString()) + chapter + QString::number(g.typeCode)
                                   + QString::number(i).rightJustified(5, QLatin1Char('0'));
                QVariant f1 = 0;
                if (shape.mixedStatus) {
                    const int s = int(rnd.bounded(8));
                    f1 = s == 0 ? QVariant(1) : s == 1 ? QVariant() : s < 4 ? QVariant(2) : QVariant(0);
                }
                rows.push_back({id, chapter, g.typeCode, int(rnd.bounded(shape.e3Max + 1)), f1});
            }
        }
    }
    if (shape.shuffledRows)
        std::shuffle(rows.begin(), rows.end(), rnd);
    DbTransaction tx(b.dm());
    for (const Row &r : rows) {
        b.run(QStringLiteral("insert into tab_answ (A1,A2,A10,A13,E3,F1) values (?,'A',?,?,?,?)"), {r.id, r.chapter, r.type, r.e3, r.f1});
        b.run(QStringLiteral("insert into tab_exer (A1) values (?)"), {r.id});
    }
    tx.commit();
    if (shape.answeredAfter)
        b.run(QStringLiteral("update tab_answ set E3=E3+1 where rowid % 3 = 0"));
    for (int subject = 1; subject <= 5; ++subject) {
        QSet<int> types;
        for (const DrawGroup &g : paperComposition(subject))
            if (!types.contains(g.typeCode)) {
                types.insert(g.typeCode);
                b.run(QStringLiteral("insert into tab_tx%1 (A1,B1,B2,B3) values (?,'t',?,1)").arg(subject), {g.typeCode, g.count});
            }
    }
}

// The subject's whole candidate list, as the paper first read it.
QVector<Candidate> wholeCandidateList(TestBank &b, int subject)
{
    QVector<Candidate> out;
    QSqlQuery q = b.dm().execText(candidateSelection(subject));
    while (q.next())
        out.append({q.value(QStringLiteral("A1")).toString(), q.value(QStringLiteral("A10")).toString(),
                    q.value(QStringLiteral("A13")).toInt()});
    return out;
}

QStringList sortedIds(TestBank &b, const QString &sql)
{
    QStringList ids;
    QSqlQuery q = b.dm().execText(sql);
    while (q.next())
        ids << q.value(0).toString();
    ids.sort();
    return ids;
}

} // namespace

TEST(CandidateOrder, EachLineDrawsWhatTheWholeListDraws)
{
    const BankShape shapes[] = {
        {"fresh bank, every E3 0", false, 0, false, false},
        {"rows out of id order, E3 0..2", true, 2, false, false},
        {"rows out of id order, E3 0..5, mixed statuses", true, 5, true, false},
        {"answered after writing", true, 1, true, true},
    };
    const quint32 seeds[] = {0u, 1u, 12345u, 36000000u, 86399999u};
    for (const BankShape &shape : shapes) {
        TestBank b;
        fillBank(b, shape, 7);
        for (int subject = 1; subject <= 5; ++subject) {
            const QVector<Candidate> whole = wholeCandidateList(b, subject);
            for (quint32 seed : seeds) {
                QStringList expectedIds;
                for (const DrawGroup &g : paperComposition(subject)) {
                    DrawRandom before(seed), now(seed);
                    const QString expected = DrawQuestions(whole, g.typeCode, g.count, g.prefix, before);
                    EXPECT_EQ(DrawGroupQuestions(b.dm(), g, now), expected)
                        << shape.name << ": subject " << subject << " line " << g.typeCode << "/" << g.prefix.toStdString()
                        << " seed " << seed;
                    if (!expected.isEmpty())
                        expectedIds << sortedIds(b, QStringLiteral("select a.A1 from tab_answ a where ") + expected);
                }
                // The whole paper: every line reseeded from the clock.
                b.clock().utcMs = qint64(seed);
                const PaperState paper = generatePaper(b.dm(), subject);
                expectedIds.sort();
                EXPECT_EQ(sortedIds(b, QStringLiteral("select A1 from ") + paper.tableName), expectedIds)
                    << shape.name << ": subject " << subject << " seed " << seed;
            }
        }
    }
}

TEST(CandidateOrder, LinesAreSteppedFromTheirIndexWithoutASort)
{
    TestBank b;
    const QByteArray sql = (QStringLiteral("explain query plan ") + groupCandidateSelection()).toUtf8();
    sqlite3_stmt *stmt = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(b.dm().handle(), sql.constData(), -1, &stmt, nullptr), SQLITE_OK)
        << sqlite3_errmsg(b.dm().handle());
    QString plan;
    while (sqlite3_step(stmt) == SQLITE_ROW)
        plan += QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 3))) + QLatin1Char('\n');
    sqlite3_finalize(stmt);
    EXPECT_TRUE(plan.contains(QStringLiteral("ix_answ_exam")) && !plan.contains(QStringLiteral("TEMP B-TREE"))) << plan.toStdString();
}
