// Encoding, restoring and judging of answers, and the counting of a judged
// answer through the data module.
#include "practice/AnswerLogic.h"

#include "common/CommonRoutines.h"
#include "platform/Seams.h"
#include "store/SqlText.h"
#include "store/dm.h"

#include <QSqlQuery>
#include <algorithm>

namespace practice {

bool hasOptions(int page) { return page == PageSingle || page == PageMultiple || page == PageMatching; }

QString pageCaption(int page)
{
    switch (page) {
    case PageSingle: return QStringLiteral("单选");
    case PageMultiple: return QStringLiteral("多选");
    case PageFillIn: return QStringLiteral("填空");
    case PageTrueFalse: return QStringLiteral("判断");
    case PageSubjective: return QStringLiteral("主观");
    case PageMatching: return QStringLiteral("配伍");
    default: return QString();
    }
}

QString pageHint(int page)
{
    switch (page) {
    case PageSingle: return QStringLiteral("选择一个选项作为正确答案");
    case PageMultiple: return QStringLiteral("选择两个或者多个选项作为正确答案");
    case PageFillIn: return QStringLiteral("填写正确答案，答案间用“,”隔开");
    case PageTrueFalse: return QStringLiteral("根据判断选择“正确”或者“错误”");
    case PageSubjective: return QStringLiteral("根据自己实际情况选择“会”或者“不会”");
    case PageMatching: return QStringLiteral("选择若干个选项作为正确答案");
    default: return QString();
    }
}

QString defaultSideLabel(int page)
{
    switch (page) {
    case PageSingle: return QStringLiteral("单\r\n选");
    case PageMultiple: return QStringLiteral("多\r\n选");
    case PageFillIn: return QStringLiteral("填\r\n空");
    case PageTrueFalse: return QStringLiteral("判\r\n断");
    case PageSubjective: return QStringLiteral("主\r观");
    case PageMatching: return QStringLiteral("综\r\n合\r\n分\r\n析");
    default: return QString();
    }
}

QString optionLetter(int i) { return QString(QChar(u'A' + i)); }

// Whatever is answered on the subjective page ("会"/"不会") is the user's own
// judgement: there is no key to compare it with.
bool isSelfAssessed(int typeCode) { return TypeToPage(typeCode) == PageSubjective; }

QString encodeAnswer(int page, const AnswerControls &c)
{
    switch (page) {
    case PageSingle:
        for (int i = 0; i < OptionCount; ++i)
            if (c.visible(i) && c.pressed[i])
                return optionLetter(i);
        return QString();
    case PageMultiple:
    case PageMatching: {
        QString out;
        for (int i = 0; i < OptionCount; ++i)
            if (c.visible(i) && c.pressed[i])
                out += optionLetter(i);
        return out;
    }
    case PageFillIn:
        return c.text.trimmed();
    case PageTrueFalse:
        return c.trueFalse == 1 ? QStringLiteral("A") : c.trueFalse == 2 ? QStringLiteral("B") : QString();
    case PageSubjective:
        return c.subjectiveIndex >= 0 ? QString::number(c.subjectiveIndex) : QString();
    default:
        return QString();
    }
}

void restoreAnswer(int page, int optionCount, const QString &stored, AnswerControls &c)
{
    switch (page) {
    case PageSingle:
    case PageMultiple:
    case PageMatching:
        c.visibleCount = std::clamp(optionCount, 0, OptionCount);
        for (int i = 0; i < OptionCount; ++i) {
            if (!c.visible(i))
                c.pressed[i] = false;
            else if (page == PageSingle)
                c.pressed[i] = stored == optionLetter(i);
            else
                c.pressed[i] = stored.contains(optionLetter(i));
        }
        break;
    case PageFillIn:
        c.text = stored;
        break;
    case PageTrueFalse:
        c.trueFalse = stored == QLatin1String("A") ? 1 : stored == QLatin1String("B") ? 2 : 0;
        break;
    case PageSubjective: {
        c.subjectiveIndex = -1;
        for (int i = 0; i < 2; ++i)
            if (stored == QString::number(i))
                c.subjectiveIndex = i;
        break;
    }
    default:
        break;
    }
}

AnswerControls restoredAnswer(int page, int optionCount, const QString &stored)
{
    AnswerControls c;
    restoreAnswer(page, optionCount, stored, c);
    return c;
}

QString shownAnswer(int page, const AnswerControls &c)
{
    switch (page) {
    case PageSingle:
    case PageMultiple:
    case PageMatching:
        return encodeAnswer(page, c);
    case PageTrueFalse:
        return c.trueFalse == 1 ? QStringLiteral("对") : c.trueFalse == 2 ? QStringLiteral("错") : QString();
    default:
        return QString();
    }
}

QString shownKey(int page, const QString &key)
{
    if (page == PageTrueFalse) {
        if (key == QLatin1String("A"))
            return QStringLiteral("对");
        if (key == QLatin1String("B"))
            return QStringLiteral("错");
    }
    return key;
}

QString comparisonHeadline(int page, const AnswerControls &c, const QString &key)
{
    // The key and the answer are compared in the form they are shown in, so
    // a right true/false answer ("对" against "A") reads as right.
    return QString::fromUtf8(shownKey(page, key) == shownAnswer(page, c) ? RightHeadline : WrongHeadline);
}

AnswerCodes answerCodes(const QuestionState &before, const QString &answer, const QDate &today)
{
    AnswerCodes c;
    c.firstToday = before.lastDate.left(10) == sqltext::dateText(today) ? 1 : 2;
    c.result = isRight(answer, before.key) ? 1 : 2;
    c.previous = isRight(before.lastAnswer, before.key) ? 1 : 2;
    c.attemptKind = before.lastAnswer.isEmpty() ? 2 : 1;
    return c;
}

int nextWrongScore(bool firstEver, int wrongScore, bool right)
{
    if (firstEver)
        return right ? 0 : -3;
    if (!right)
        return wrongScore - 1;
    return wrongScore < 0 ? wrongScore + 1 : wrongScore;
}

JudgeOutcome judge(const QuestionState &before, const QString &answer, const QDate &today)
{
    JudgeOutcome out;
    out.after = before;
    if (answer.isEmpty()) {
        out.empty = true;
        out.after.runAnswer.clear();
        return out;
    }
    if (answer != before.runAnswer) {
        out.counted = true;
        out.codes = answerCodes(before, answer, today);
        out.after.wrongScore = nextWrongScore(out.codes.attemptKind == 2, before.wrongScore, out.codes.result == 1);
        out.after.attempts = before.attempts + 1;
    }
    out.after.runAnswer = answer;
    out.after.lastAnswer = answer;
    out.after.lastDate = sqltext::dateText(today);
    return out;
}

KeyPointLists keyPointLists(const QStringList &keyPointFields)
{
    KeyPointLists l;
    QStringList groups, headings;
    for (const QString &k : keyPointFields) {
        if (k.isEmpty())
            break;
        l.counted << k;
        groups << k.left(6);
        headings << k.left(2);
    }
    if (l.counted.isEmpty())
        return l;
    l.ids = sqltext::valueList(l.counted);
    l.groups = sqltext::valueList(groups);
    l.headings = sqltext::valueList(headings);
    return l;
}

QStringList listedKeyPoints(const QStringList &keyPointFields)
{
    QStringList out;
    for (const QString &k : keyPointFields)
        if (!k.isEmpty())
            out << k;
    return out;
}

AnswerCodes countJudgedAnswer(TDM1 &dm, const QuestionState &before, const QString &answer)
{
    const AnswerCodes c = answerCodes(before, answer, seams::clock().today());
    dm.LogAnswerToday(c.firstToday, c.result, c.previous);
    dm.CountChapterAnswer(before.chapter, c.attemptKind, c.result);
    const KeyPointLists lists = keyPointLists(before.keyPoints);
    if (!lists.isEmpty())
        dm.CountKeyPointAnswer(lists.ids, lists.groups, lists.headings, c.attemptKind, c.result);
    return c;
}

JudgeOutcome applyJudgedAnswer(TDM1 &dm, const QuestionState &before, const QString &answer)
{
    JudgeOutcome out = judge(before, answer, seams::clock().today());
    DbTransaction tx(dm);
    if (out.empty) {
        dm.run(QStringLiteral("update tab_answ set E2_1='' where A1=?"), {before.id});
    } else {
        if (out.counted)
            countJudgedAnswer(dm, before, answer);
        const QuestionState &a = out.after;
        dm.run(QStringLiteral("update tab_answ set E2_1=?, E2=?, E1=?, E3=?, E4=? where A1=?"),
                {a.runAnswer, a.lastAnswer, a.lastDate, a.attempts, a.wrongScore, before.id});
    }
    tx.commit();
    return out;
}

AfterAnswerButtons afterAnswerButtons(const QString &runAnswer, bool hasExplanation, const QString &k3, int typeCode)
{
    AfterAnswerButtons b;
    if (runAnswer.isEmpty())
        return b;
    b.explanation = hasExplanation;
    b.keyPoints = !k3.trimmed().isEmpty();
    b.comparison = !isSelfAssessed(typeCode);
    return b;
}

Mark markFor(const QString &runAnswer, const QString &key)
{
    if (runAnswer.isEmpty())
        return Mark::Neutral;
    return isRight(runAnswer, key) ? Mark::Right : Mark::Wrong;
}

QVector<int> slideWidths(int fullWidth, bool opening)
{
    QVector<int> out;
    int moved = 0;
    for (int step = 20; moved < fullWidth; step += 20) {
        moved = std::min(fullWidth, moved + step);
        out << (opening ? moved : fullWidth - moved);
    }
    return out;
}

} // namespace practice
