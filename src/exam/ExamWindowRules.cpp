// The exam window's rules.
#include "exam/ExamWindowRules.h"

#include "practice/PracticeWindowRules.h"

#include <algorithm>

namespace exam {

ExamScreen examScreen(bool answering)
{
    if (answering)
        return {QStringLiteral("正在答卷"), 0, true, false, true, true};
    return {QStringLiteral("查阅试卷"), 1, false, true, false, false};
}

SheetCellView sheetCellView(int cellNumber, int questionCount)
{
    if (cellNumber >= 1 && cellNumber <= questionCount)
        return {true, cellNumber};
    return {false, 0};
}

QuestionSteps questionSteps(int question, int questionCount) { return {question >= 2, question < questionCount}; }

VoidButtonView voidButtonView(bool answering, bool voided)
{
    if (answering)
        return {false, QStringLiteral("本题作废")};
    return {true, voided ? QStringLiteral("取消作废") : QStringLiteral("本题作废")};
}

QString pauseCaption(bool paused) { return paused ? QStringLiteral("继续考试") : QStringLiteral("暂停考试"); }

bool pressPauses(const QString &shownCaption) { return shownCaption == pauseCaption(false); }

SubmitRoad submitRoad(int answer)
{
    if (answer == 1)
        return SubmitRoad::Mark;
    if (answer == 2)
        return SubmitRoad::VoidPaper;
    return SubmitRoad::GoOn;
}

bool tickChecksTimeLimit(bool answering, bool clockRunning, bool ending, bool closed)
{
    return answering && clockRunning && !ending && !closed;
}

BodySplit bodySplit(int splitterHeight, bool subQuestion)
{
    const int h = std::max(1, splitterHeight);
    if (subQuestion) {
        using practice::MaterialHeight;
        using practice::MaterialSplitter;
        return {MaterialSplitter, std::max(1, h - MaterialHeight - MaterialSplitter), MaterialHeight};
    }
    return {0, h, 0};
}

} // namespace exam
