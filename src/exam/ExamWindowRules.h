// What the exam window decides without looking at a widget: its look while
// a paper is answered and while it is reviewed, the answer sheet's cells,
// the question steps, the void and pause buttons, the road out of
// the submit question, and how the question pane is split.
#pragma once

#include <QString>

namespace exam {

// The window's look in each of its two states.
struct ExamScreen {
    QString caption;
    int timePage = 0;                 // Notebook_Time: 0 answering, 1 review
    bool submitEnabled = false;       // 交卷
    bool exportEnabled = false;       // 生成文档
    bool answerPagesEnabled = false;  // the answer area takes answers
    bool pauseVisible = false;        // 暂停考试
};
ExamScreen examScreen(bool answering);

// A cell of the answer sheet for a paper of `questionCount` questions: a
// cell with a question is usable and tagged with its number, any other is
// disabled and tagged 0.
struct SheetCellView {
    bool enabled = false;
    int tag = 0;
};
SheetCellView sheetCellView(int cellNumber, int questionCount);

// "上一题" from the second question on, "下一题" up to the last but one.
struct QuestionSteps {
    bool previous = false;
    bool next = false;
};
QuestionSteps questionSteps(int question, int questionCount);

// The void button of a question: not usable while answering; in review it
// offers to restore a voided question.
struct VoidButtonView {
    bool enabled = false;
    QString caption;
};
VoidButtonView voidButtonView(bool answering, bool voided);

// The pause button's caption, and whether pressing it pauses.
QString pauseCaption(bool paused);
bool pressPauses(const QString &shownCaption);

// The road after the submit question: its answer 1 marks the paper, 2
// voids it, anything else goes on with the exam.
enum class SubmitRoad { Mark, VoidPaper, GoOn };
SubmitRoad submitRoad(int answer);

// Whether a clock tick looks at the time limit: only while a paper is
// being answered on a running clock, not while it is ending or closed.
bool tickChecksTimeLimit(bool answering, bool clockRunning, bool ending, bool closed);

// The question pane: a sub-question shows its material below a splitter
// handle; any other question fills the pane and hides the handle.
struct BodySplit {
    int handle = 0;
    int upper = 0;
    int lower = 0;
};
BodySplit bodySplit(int splitterHeight, bool subQuestion);

} // namespace exam
