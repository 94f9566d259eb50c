// What the practice window decides without looking at a widget: the texts
// its status line and buttons show for a question, what judging a question
// does to the question board, the answer-time gauge, and how the body and
// the material share the question pane.
#pragma once

#include "practice/AnswerLogic.h"

#include <QString>
#include <algorithm>

namespace practice {

// The note button: "有内容" for a note with more than blanks, else "笔记".
// The exam window's note button follows the same rule.
QString noteCaption(bool hasContent);
QString noteCaptionFor(const QString &note);

// The status line and the void button of a question as it is shown.
// `status` is the row's status (1 voided, 2 added by the user);
// `voidCaption` is the window's caption for voiding a question.
struct QuestionStatusView {
    QString status;
    QString voidCaption;
};
QuestionStatusView questionStatusView(int status, const QString &voidCaption);

// Pressing the void button whose caption is `shownCaption`: it voids when
// the caption is the window's `voidCaption`, else it restores; the status
// line and the button's next caption follow.
struct VoidPress {
    bool voiding = false;
    QString status;
    QString caption;
};
VoidPress voidPress(const QString &shownCaption, const QString &voidCaption);

// The side label of answer page 4 for the type button chosen: "主\r观"
// for "任意" (code 0), else the first two characters of the type's name
// one above the other.
QString subjectiveSideLabel(int typeCode, const QString &typeName);

// The occurrence number shown for a question answered `attempts` times.
inline int occurrenceNumber(int attempts) { return attempts >= 1 ? attempts + 1 : 1; }

// Which of the three board pictures (0 neutral, 1 right, 2 wrong) a mark
// shows.
int markPicture(Mark mark);

// Who judges a question: leaving it for another, "完成", or the window
// quietly (changing type, closing).
enum class JudgeCaller { LeavingQuestion = 0, Finished = 1, Silent = 2 };

// What judging a record does to the window.  `empty` is true when there
// was no answer to judge; groupStart..groupLast are the records on the
// board.  Buttons are counted from 0; -1 is none.  The picture given is the
// mark of the judged answer (neutral when empty).
struct JudgeEffect {
    bool promptNoAnswer = false;       // tell the user to answer first
    int releasedButton = -1;           // button whose released picture changes
    int pressedButton = -1;            // button whose pressed picture changes
    bool afterAnswerButtons = false;   // 解析/考点/答案 follow the answer
};
JudgeEffect judgeEffect(JudgeCaller caller, bool empty, int record, int groupStart, int groupLast);

// One tick of a question's timer on the 0..100 time gauge: the gauge
// advances until full; the tick after that is the time-up.
struct GaugeTick {
    int value = 0;
    bool timeUp = false;
};
GaugeTick gaugeTick(int value);

// The material pane under the body opens this high, below a splitter
// handle this wide.
constexpr int MaterialHeight = 150;
constexpr int MaterialSplitter = 6;

// The body's and the sub-question's heights when the material pane opens
// in a splitter `splitterHeight` high (a splitter not laid out yet counts
// as twice the pane).
struct PaneSizes {
    int upper = 0;
    int lower = 0;
};
PaneSizes materialPaneSizes(int splitterHeight);

// The comparison panel's height over a body `bodyHeight` high: the
// window's own height (`configured`, 0 for none) but never more than the
// body.
inline int comparisonPanelHeight(int configured, int bodyHeight)
{
    return configured > 0 ? std::min(configured, bodyHeight) : bodyHeight;
}

} // namespace practice
