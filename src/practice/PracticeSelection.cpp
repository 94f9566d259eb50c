// Chapter practice selections, written as the SQLite counterparts of the
// program's original statements (Left(A10,L) is substr(A10,1,L)), so that
// the bank's expression indexes on substr(A10,1,2/4/6) serve them.
#include "practice/PracticeSelection.h"

#include "store/SqlText.h"
#include "store/dm.h"

#include <QSqlQuery>

namespace practice {

namespace {

const char *const Fields = "a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,f1,xx,csbs,ecount";

QString chapterCondition(const QString &code)
{
    return QStringLiteral("(substr(A10,1,") + QString::number(code.size()) + QStringLiteral(") = ") + sqltext::quoted(code)
           + QLatin1Char(')');
}

} // namespace

bool isHeadingCode(const QString &chapterCode) { return chapterCode.size() <= 2; }

QString practiceSql(PracticeKind kind, const QString &chapterCode)
{
    const QString fields = QString::fromLatin1(Fields);
    const QString chapter = chapterCondition(chapterCode);
    switch (kind) {
    case PracticeKind::New:
        return QStringLiteral("select a1 ,") + fields.mid(3) + QStringLiteral(" from tab_answ where ") + chapter
               + QStringLiteral(" and (E2 = '' or E2 is null) ") + QStringLiteral(" and (f1<>1) ")
               + QStringLiteral(" order by a13,a10,xx,a1");
    case PracticeKind::Wrong:
        return QStringLiteral("select ") + fields + QStringLiteral(" from tab_answ  where ") + chapter
               + QStringLiteral(" and (E4 < 0) ") + QStringLiteral(" and (f1<>1)") + QStringLiteral(" order by a13,e3,e4,e1,xx,a1");
    case PracticeKind::Review:
        // No condition on f1: voided questions are reviewed too.
        return QStringLiteral("select ") + fields + QStringLiteral(" from tab_answ  where ") + chapter
               + QStringLiteral(" and (E2 <> '' and E2 is not null) ") + QStringLiteral(" order by a13,e3,e4,e1,xx,a1");
    }
    return QString();
}

QString doubleClickSql(const QString &chapterCode)
{
    return QStringLiteral("select a1 ,") + QString::fromLatin1(Fields).mid(3) + QStringLiteral(" from tab_answ where ")
           + chapterCondition(chapterCode) + QStringLiteral(" and (E2 = '' or E2 is null) ") + QStringLiteral(" and (f1<>1) ")
           + QStringLiteral(" order by a13,a10,xx");
}

QString emptySelectionText(PracticeKind kind)
{
    switch (kind) {
    case PracticeKind::New: return QStringLiteral("恭喜，习题已做完！");
    case PracticeKind::Wrong: return QStringLiteral("本章节下没有错题！");
    case PracticeKind::Review: return QStringLiteral("本章节习题还未曾做过！");
    }
    return QString();
}

int emptySelectionPicture(PracticeKind kind) { return kind == PracticeKind::New ? 0 : 1; }

void clearRunAnswers(TDM1 &dm)
{
    // Same result as emptying E2_1 in every row; the partial index
    // ix_answ_e2_1 finds the few rows that still hold an answer.
    QSqlQuery q = dm.exec(QStringLiteral("update tab_answ set E2_1='' where E2_1 IS NOT ''"));
    q.finish();
}

ChapterTotals chapterTotals(TDM1 &dm)
{
    QSqlQuery q = dm.exec(QStringLiteral(
        "select sum(C3) as count_c3,sum(D1) as count_d1,sum(D2) as count_d2 from tab_kmmc where length(c1)=6"));
    ChapterTotals t;
    if (q.next()) {
        t.questions = q.value(0).toLongLong();
        t.answers = q.value(1).toLongLong();
        t.wrong = q.value(2).toLongLong();
    }
    q.finish();
    return t;
}

qint64 shownQuestionTotal(qint64 questions) { return questions > 10000 ? 10000 : questions; }

QString overallScoreText(const ChapterTotals &t)
{
    if (t.answers <= 0)
        return QString();
    return QString::asprintf("%2.2f", double(t.answers - t.wrong) / double(t.answers) * 100.0);
}

} // namespace practice
