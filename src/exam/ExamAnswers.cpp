// Recording, voiding and checking the answers of a paper.
#include "exam/ExamAnswers.h"

#include "platform/Seams.h"
#include "practice/AnswerLogic.h"
#include "practice/PracticeWindowRules.h"
#include "store/SqlText.h"
#include "store/dm.h"

#include <QSqlQuery>

namespace exam {

void UpdateBankAnswer(TDM1 &dm, const QString &id, const QString &answer)
{
    QSqlQuery q = dm.exec(QStringLiteral("select A2, E2, E4 from tab_answ where A1=?"), {id});
    if (!q.next()) {
        q.finish();
        return;
    }
    const QString key = q.value(0).toString();
    const QString last = q.value(1).toString();
    const int e4 = practice::nextWrongScore(last.isEmpty(), q.value(2).toInt(), practice::isRight(answer, key));
    q.finish();
    dm.run(QStringLiteral("update tab_answ set E4=?, E3=E3+1, E2_1=?, E2=?, E1=? where A1=?"),
            {e4, answer, answer, sqltext::dateText(seams::clock().today()), id});
}

CellLook recordPaperAnswer(TDM1 &dm, const QString &tableName, PaperQuestion &row, const QString &answer)
{
    const QString today = sqltext::dateText(seams::clock().today());
    DbTransaction tx(dm);
    if (!answer.isEmpty() && answer != row.e2_1) {
        // Counted from the paper row as it was, as practice counts.
        practice::QuestionState before;
        before.id = row.a1;
        before.key = row.a2;
        before.chapter = row.a10;
        before.keyPoints = row.k;
        before.lastDate = row.e1;
        before.lastAnswer = row.e2;
        before.runAnswer = row.e2_1;
        practice::countJudgedAnswer(dm, before, answer);
        UpdateBankAnswer(dm, row.a1, answer);
    }
    if (!answer.isEmpty())
        dm.run(QStringLiteral("update ") + tableName + QStringLiteral(" set E2_1=?, E2=?, E1=? where A1=?"),
                {answer, answer, today, row.a1});
    else
        dm.run(QStringLiteral("update ") + tableName + QStringLiteral(" set E2_1='' where A1=?"), {row.a1});
    tx.commit();
    if (answer.isEmpty()) {
        row.e2_1.clear();
        return CellLook::Normal;
    }
    row.e2_1 = answer;
    row.e2 = answer;
    row.e1 = today;
    return CellLook::Answered;
}

void setQuestionVoided(TDM1 &dm, const QString &tableName, PaperQuestion &row, bool voided)
{
    DbTransaction tx(dm);
    if (voided) {
        dm.exec(QStringLiteral("update ") + tableName + QStringLiteral(" set F1=1, E2='zero' where A1=?"), {row.a1});
        dm.exec(QStringLiteral("update tab_answ set f1=1, e2='zero' where a1=?"), {row.a1});
    } else {
        dm.exec(QStringLiteral("update ") + tableName + QStringLiteral(" set F1=0, E2='' where A1=?"), {row.a1});
        dm.exec(QStringLiteral("update tab_answ set f1=0 where a1=?"), {row.a1});
    }
    tx.commit();
    row.f1 = voided ? 1 : 0;
    row.e2 = voided ? QStringLiteral("zero") : QString();
}

QString reviewStatusText(const PaperQuestion &row) { return practice::questionStatusView(row.f1, QString()).status; }

TypeTable readTypeTable(TDM1 &dm)
{
    TypeTable out;
    QSqlQuery q = dm.execText(QStringLiteral("select A1, B1, B2, B3 from ") + dm.typeTable()
                              + QStringLiteral(" order by rowid"));
    while (q.next()) {
        const int code = q.value(0).toInt();
        // Located by code: the first row of a code is the one found.
        if (!out.contains(code))
            out.insert(code, {q.value(1).toString(), q.value(2).toDouble(), q.value(3).toDouble()});
    }
    return out;
}

QString generalNumber(double v) { return QString::number(v, 'g', 15); }

QString TypeHeading(const TypeTable &types, int typeCode)
{
    const auto it = types.constFind(typeCode);
    if (it == types.constEnd())
        return QString();
    // The score is a single-precision number: shown with the digits a
    // single carries, so 0.1 stays 0.1 and 0.1 x 40 reads 4.
    const float score = float(it->b3);
    const float total = score * float(it->b2);
    return it->name + QStringLiteral(" 每题") + QString::number(score, 'g', 7) + QStringLiteral("分 共")
           + QString::number(total, 'g', 7) + QStringLiteral("分");
}

QString scoreText(double score) { return QStringLiteral("得分：") + generalNumber(score) + QStringLiteral(" 分"); }

} // namespace exam
