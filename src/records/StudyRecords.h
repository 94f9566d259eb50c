// The rules of the study-record windows: the countdown to the examination,
// the study plan row, the study log's totals and the figures of the score
// chart.  The windows only show what these give.
#pragma once

#include <QColor>
#include <QDate>
#include <QString>
#include <QVector>
#include <optional>

class TDM1;

namespace records {

// ---- study plan and countdown ----

// The look of the countdown for a number of days left.
struct CountdownView {
    enum Colour { Unchanged, Green, Red };
    QString number;        // Label1: the days, "999" from 1000 on
    QString caption;       // epLabel1
    bool numberShown = false;   // Label1 and epLabel2 ("天")
    Colour colour = Unchanged;
};
CountdownView countdownView(qint64 days);
QColor countdownColour(CountdownView::Colour c);   // invalid for Unchanged

// Whole days from today to the examination day; negative once it has passed.
qint64 daysUntil(const QDate &today, const QDate &examDay);

// The stored examination date (yyyy-MM-dd; a text without leading zeros is
// read too).  Nothing for an empty text or one that is not a date.
std::optional<QDate> parseExamDate(const QString &text);

struct StudyPlan {
    int planMark = 0;      // 0 by answers, 1 by minutes
    int planAmount = 0;    // answers per day
    int planTime = 0;      // minutes per day
    QString examDate;      // as stored
};
// The first row of tab_plan (defaults when the table is empty).  Throws
// store::DbError.
StudyPlan readPlan(TDM1 &dm);
// Writes the four plan fields into the first row of tab_plan (a row is
// added when there is none), in one transaction.  Throws store::DbError.
void savePlan(TDM1 &dm, const StudyPlan &plan);

// ---- study log ----

struct LogTotals {
    qint64 given = 0;   // answers given on all days
    qint64 wrong = 0;   // wrong answers on all days
    QString score;      // "综合成绩": "0" below one answer, else "%2.2f"
};
LogTotals readLogTotals(TDM1 &dm);
// The share of right answers in percent with two decimals, "0" when fewer
// than one answer was given.
QString overallScore(qint64 given, qint64 wrong);
// The rows of the study log grid, newest day first, in the grid's columns.
QString logGridSql();

// ---- score chart ----

struct ChapterFigures {
    QString name;       // C2
    qint64 questions = 0;   // C3
    qint64 done = 0;        // C4
    qint64 answers = 0;     // D1
    qint64 wrong = 0;       // D2
};
// The chapter rows (C7 = '0') in the order the bank returns them.
QVector<ChapterFigures> readChapterFigures(TDM1 &dm);
// The sum of the questions of those chapters ("0" when there is no row).
qint64 totalQuestions(TDM1 &dm);

// Progress of a chapter in whole percent, truncated, computed in integers
// so that 29 of 50 gives 58; nothing when the chapter has no questions.
std::optional<qint64> progressPercent(qint64 questions, qint64 done);
// The colour of pie slice and progress bar i: the value 255 + 80000 * i
// read as 0x00BBGGRR.
QColor sliceColour(int index);

// The tips over a chart's bar or slice: the chapter's name and its figures
// (the chapter axis is hidden, so the name is told here).
enum class ChartKind { Frequency, Distribution, Progress };
QString chartTip(ChartKind kind, const ChapterFigures &chapter, qint64 allQuestions);
// The line a chart shows instead of its bars when there is nothing to draw.
QString emptyChartNote(ChartKind kind);
// The text of a vertical axis title with its Chinese characters upright,
// one under the other; a run of other characters ("(%)") stays on one line.
QString uprightTitle(const QString &title);

} // namespace records
