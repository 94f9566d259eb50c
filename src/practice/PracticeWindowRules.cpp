// The practice window's rules.
#include "practice/PracticeWindowRules.h"

#include "practice/QuestionGroups.h"

#include <algorithm>

namespace practice {

QString noteCaption(bool hasContent) { return hasContent ? QStringLiteral("有内容") : QStringLiteral("笔记"); }

QString noteCaptionFor(const QString &note) { return noteCaption(!note.trimmed().isEmpty()); }

QuestionStatusView questionStatusView(int status, const QString &voidCaption)
{
    if (status == 1)
        return {QStringLiteral("本题已被您作废！"), QStringLiteral("取消作废")};
    if (status == 2)
        return {QStringLiteral("本题是您加入的题目！"), voidCaption};
    return {QString(), voidCaption};
}

VoidPress voidPress(const QString &shownCaption, const QString &voidCaption)
{
    if (shownCaption == voidCaption)
        return {true, QStringLiteral("本题已被您作废！"), QStringLiteral("取消作废")};
    return {false, QStringLiteral("本题曾被作废，现已被您取消！"), voidCaption};
}

QString subjectiveSideLabel(int typeCode, const QString &typeName)
{
    if (typeCode == 0)
        return QStringLiteral("主\r观");
    return typeName.left(1) + QLatin1Char('\r') + typeName.mid(1, 1);
}

int markPicture(Mark mark) { return mark == Mark::Right ? 1 : mark == Mark::Wrong ? 2 : 0; }

JudgeEffect judgeEffect(JudgeCaller caller, bool empty, int record, int groupStart, int groupLast)
{
    JudgeEffect e;
    const bool onBoard = groupStart <= record && record <= groupLast;
    if (caller == JudgeCaller::Finished) {
        if (empty) {
            e.promptNoAnswer = true;
        } else {
            e.afterAnswerButtons = true;
            e.pressedButton = (record - 1) % QuestionGroups::GroupSize;
        }
    } else if (caller == JudgeCaller::LeavingQuestion && onBoard) {
        e.releasedButton = record - groupStart;
    }
    return e;
}

GaugeTick gaugeTick(int value)
{
    if (value < 100)
        return {value + 1, false};
    return {value, true};
}

PaneSizes materialPaneSizes(int splitterHeight)
{
    const int total = std::max(splitterHeight, MaterialHeight * 2);
    return {total - MaterialHeight - MaterialSplitter, MaterialHeight};
}

} // namespace practice
