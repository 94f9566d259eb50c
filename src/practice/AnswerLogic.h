// The rules of the answer area without any widget: how the controls of an
// answer page become an answer text, how a stored answer goes back into the
// controls, how an answer is judged against the key and what it does to the
// question's study state, and which buttons an answer enables.  Practice
// and the exam window both use these rules.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>

class TDM1;

namespace practice {

// Answer pages of the answer area, in page order.
enum AnswerPage {
    PageSingle = 0,      // "单选"
    PageMultiple = 1,    // "多选"
    PageFillIn = 2,      // "填空"
    PageTrueFalse = 3,   // "判断"
    PageSubjective = 4,  // "主观"
    PageMatching = 5,    // "配伍"
    PageCount = 6,
    NoPage = 99          // a type without a page
};

constexpr int OptionCount = 6;   // option buttons "A" to "F"

// True for pages with option buttons (0, 1 and 5).
bool hasOptions(int page);
// Caption of a page ("单选" ...), empty for a page that does not exist.
QString pageCaption(int page);
// The hint a page gives as its tooltip.
QString pageHint(int page);
// The side label a page carries by default ("单\r\n选" ...; page 4 "主\r观",
// page 5 the chapter-practice label "综\r\n合\r\n分\r\n析").
QString defaultSideLabel(int page);
// Letter of option i (0 -> "A").
QString optionLetter(int i);
// The self-assessed types, those answered on the subjective page (74 to 77
// and 64), never offer the comparison.
bool isSelfAssessed(int typeCode);

// The state of one page's controls, as plain values.
struct AnswerControls {
    std::array<bool, OptionCount> pressed{};  // option buttons A..F (pages 0, 1, 5)
    int visibleCount = 0;                     // options shown (A2_1, 0..6)
    QString text;                             // text box (page 2)
    int trueFalse = 0;                        // page 3: 0 none, 1 "对", 2 "错"
    int subjectiveIndex = -1;                 // page 4: -1 none, 0 "不会", 1 "会"

    bool visible(int i) const { return i >= 0 && i < visibleCount; }
    bool operator==(const AnswerControls &) const = default;
};

// The answer text of a page's controls; empty means no answer.  Hidden
// options never count.
QString encodeAnswer(int page, const AnswerControls &c);

// Puts a stored answer back into a page's controls.  Only the parts of the
// page are touched: on option pages every option beyond optionCount is
// hidden and released.  A page that does not exist changes nothing.
void restoreAnswer(int page, int optionCount, const QString &stored, AnswerControls &c);
AnswerControls restoredAnswer(int page, int optionCount, const QString &stored);

// The comparison panel shows the answer on screen without saving it:
// letters for option pages, "对"/"错" for true/false, nothing for the text
// box and the subjective list.
QString shownAnswer(int page, const AnswerControls &c);
// The key as the comparison shows it ("A"/"B" read as "对"/"错" on the
// true/false page).
QString shownKey(int page, const QString &key);
// The comparison headline for the answer on screen against the key.
QString comparisonHeadline(int page, const AnswerControls &c, const QString &key);
inline const char *RightHeadline = "恭喜你，做对了！";
inline const char *WrongHeadline = "很遗憾，做错了，请继续努力！";

// --- judging ---------------------------------------------------------

// The study state of one question row that judging reads and writes.
struct QuestionState {
    QString id;            // A1
    QString key;           // A2
    QString chapter;       // A10
    QStringList keyPoints; // K3..K12 as stored (empty text for NULL)
    QString lastDate;      // E1, yyyy-MM-dd or empty
    QString lastAnswer;    // E2 (empty for NULL)
    QString runAnswer;     // E2_1 (empty for NULL)
    int attempts = 0;      // E3
    int wrongScore = 0;    // E4
};

// Codes passed to the counting routines: 2 yes / 1 no, result 1 right / 2 wrong.
struct AnswerCodes {
    int firstToday = 1;   // 2 when E1 is not today
    int result = 1;       // 1 right, 2 wrong
    int previous = 1;     // 1 when E2 equals the key, else 2
    int attemptKind = 1;  // 2 first answer ever (E2 empty), 1 repeated
};
AnswerCodes answerCodes(const QuestionState &before, const QString &answer, const QDate &today);

// The wrong score after an answer: the first answer ever sets 0 (right) or
// -3 (wrong); later a wrong answer lowers it by 1 and a right one raises it
// by 1 while it is below 0.
int nextWrongScore(bool firstEver, int wrongScore, bool right);

struct JudgeOutcome {
    bool empty = false;     // no answer: only E2_1 emptied, nothing counted
    bool counted = false;   // a new or changed answer in this run
    AnswerCodes codes;      // valid when counted
    QuestionState after;    // the row as it is to be stored
};
// Judging as a rule: what the answer does to the row.  An answer equal to
// the run's stored answer is not counted again but still stored with
// today's date.
JudgeOutcome judge(const QuestionState &before, const QString &answer, const QDate &today);

// True when the answer matches the key exactly (case and order count).
inline bool isRight(const QString &answer, const QString &key) { return answer == key; }

// The key-point lists of the counting routine: the ids from K3 on up to
// the first empty one, their 6-character groups and 2-character headings,
// each as a quoted value list "('a','b')".  All empty when K3 is empty.
struct KeyPointLists {
    QString ids, groups, headings;
    QStringList counted;   // the ids taken
    bool isEmpty() const { return counted.isEmpty(); }
};
KeyPointLists keyPointLists(const QStringList &keyPointFields);
// Every non-empty id of K3..K12 in field order (the related key points
// window lists k5 even when k4 is empty).
QStringList listedKeyPoints(const QStringList &keyPointFields);

// Runs the three counting routines for one judged answer with the codes
// worked out from the row as it was: LogAnswerToday, CountChapterAnswer
// and, when K3 holds a key point, CountKeyPointAnswer.  The caller owns
// the transaction.  Returns the codes used.
AnswerCodes countJudgedAnswer(TDM1 &dm, const QuestionState &before, const QString &answer);

// Judges an answer to a row of tab_answ and stores it: the row's E2_1, E2,
// E1, E3, E4 and, when counted, the log, chapter and key-point counters, all
// in one transaction.  On a database error nothing is stored and
// store::DbError is thrown; the caller's copy of the row is then still the
// old one.
JudgeOutcome applyJudgedAnswer(TDM1 &dm, const QuestionState &before, const QString &answer);

// --- buttons and indicators --------------------------------------------

// The buttons that depend on an answer having been given in this run.
struct AfterAnswerButtons {
    bool explanation = false;  // "解析": answered and the content row has jx
    bool keyPoints = false;    // "考点": answered and K3 not blank
    bool comparison = false;   // "答案": answered and the type is not self-assessed
};
AfterAnswerButtons afterAnswerButtons(const QString &runAnswer, bool hasExplanation, const QString &k3, int typeCode);

// The picture pair a question button wears.
enum class Mark { Neutral, Right, Wrong };
Mark markFor(const QString &runAnswer, const QString &key);

// Widths of the comparison panel while it slides: steps that grow by 20
// pixels each time (20, 40, 60 ... added), the last step clipped.
QVector<int> slideWidths(int fullWidth, bool opening);

} // namespace practice
