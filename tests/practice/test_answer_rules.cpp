// Answer encoding and restoring per page, the wrong-score rule, the
// comparison panel's texts and steps, and the buttons an answer enables.
#include "practice/AnswerKeys.h"
#include "practice/AnswerLogic.h"
#include "support/QtPrinters.h"

#include <gtest/gtest.h>

using namespace practice;

namespace {

AnswerControls options(const char *pressed, int visible)
{
    AnswerControls c;
    c.visibleCount = visible;
    for (const char *p = pressed; *p; ++p)
        c.pressed[*p - 'A'] = true;
    return c;
}

QString pressedLetters(const AnswerControls &c)
{
    QString s;
    for (int i = 0; i < OptionCount; ++i)
        if (c.pressed[i])
            s += optionLetter(i);
    return s;
}

} // namespace

TEST(AnswerEncoding, OptionPagesReadOnlyVisibleButtonsInLetterOrder)
{
    struct Case {
        int page;
        const char *pressed;
        int visible;
        const char *answer;
    } cases[] = {
        {PageSingle, "B", 4, "B"},
        {PageSingle, "BD", 4, "B"},     // the first pressed one
        {PageSingle, "F", 4, ""},       // hidden option pressed by key F
        {PageSingle, "", 6, ""},
        {PageMultiple, "DAC", 4, "ACD"},
        {PageMultiple, "ACE", 4, "AC"},
        {PageMultiple, "ABCDEF", 6, "ABCDEF"},
        {PageMultiple, "ABC", 0, ""},
        {PageMatching, "EB", 5, "BE"},
        {PageMatching, "F", 5, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(encodeAnswer(c.page, options(c.pressed, c.visible)), QString::fromLatin1(c.answer))
            << c.page << " " << c.pressed << " visible " << c.visible;
}

TEST(AnswerEncoding, OtherPages)
{
    AnswerControls c;
    c.text = QStringLiteral("  甲,乙 ");
    EXPECT_EQ(encodeAnswer(PageFillIn, c), QStringLiteral("甲,乙"));
    c.text = QStringLiteral("   ");
    EXPECT_EQ(encodeAnswer(PageFillIn, c), QString());

    for (auto [tf, expected] : {std::pair{0, ""}, {1, "A"}, {2, "B"}}) {
        c.trueFalse = tf;
        EXPECT_EQ(encodeAnswer(PageTrueFalse, c), QString::fromLatin1(expected));
    }
    for (auto [index, expected] : {std::pair{-1, ""}, {0, "0"}, {1, "1"}}) {
        c.subjectiveIndex = index;
        EXPECT_EQ(encodeAnswer(PageSubjective, c), QString::fromLatin1(expected));
    }
    // A type without a page reads no answer, whatever the controls hold.
    EXPECT_EQ(encodeAnswer(NoPage, options("A", 4)), QString());
}

TEST(AnswerRestoring, OptionPages)
{
    struct Case {
        int page;
        int a2_1;
        const char *stored;
        const char *pressed;
    } cases[] = {
        {PageSingle, 4, "B", "B"},
        {PageSingle, 4, "AB", ""},      // single choice needs the exact letter
        {PageSingle, 4, "E", ""},       // beyond the options shown
        {PageSingle, 4, "", ""},
        {PageMultiple, 4, "ACF", "AC"},
        {PageMultiple, 6, "CA", "AC"},
        {PageMultiple, 4, "a", ""},     // letters are compared exactly
        {PageMatching, 5, "BDE", "BDE"},
        {PageMatching, 9, "F", "F"},    // more than six: all six shown
        {PageMatching, -1, "A", ""},
    };
    for (const Case &c : cases) {
        // Start from a page where everything is pressed: restoring must
        // release what the stored answer does not name.
        AnswerControls controls = options("ABCDEF", 6);
        restoreAnswer(c.page, c.a2_1, QString::fromLatin1(c.stored), controls);
        EXPECT_EQ(pressedLetters(controls), QString::fromLatin1(c.pressed)) << c.page << " " << c.stored;
        EXPECT_EQ(controls.visibleCount, std::clamp(c.a2_1, 0, 6));
    }
}

TEST(AnswerRestoring, OtherPagesAndRoundTrip)
{
    AnswerControls c = restoredAnswer(PageFillIn, 1, QStringLiteral("x,y"));
    EXPECT_EQ(c.text, QStringLiteral("x,y"));
    EXPECT_EQ(restoredAnswer(PageFillIn, 1, QString()).text, QString());

    for (auto [stored, tf] : {std::pair{"A", 1}, {"B", 2}, {"C", 0}, {"", 0}, {"a", 0}})
        EXPECT_EQ(restoredAnswer(PageTrueFalse, 1, QString::fromLatin1(stored)).trueFalse, tf) << stored;
    for (auto [stored, index] : {std::pair{"0", 0}, {"1", 1}, {"2", -1}, {"", -1}, {"01", -1}})
        EXPECT_EQ(restoredAnswer(PageSubjective, 1, QString::fromLatin1(stored)).subjectiveIndex, index) << stored;

    // Restoring touches only its own page's parts.
    AnswerControls mixed = options("A", 4);
    mixed.text = QStringLiteral("keep");
    restoreAnswer(PageTrueFalse, 4, QStringLiteral("B"), mixed);
    EXPECT_EQ(mixed.text, QStringLiteral("keep"));
    EXPECT_TRUE(mixed.pressed[0]);

    // Every valid answer comes back as itself.
    struct Trip {
        int page;
        int a2_1;
        const char *answer;
    } trips[] = {{PageSingle, 4, "D"}, {PageMultiple, 5, "BCE"}, {PageMatching, 6, "ABCDEF"}, {PageFillIn, 1, "甲"},
                 {PageTrueFalse, 2, "A"}, {PageTrueFalse, 2, "B"}, {PageSubjective, 1, "0"}, {PageSubjective, 1, "1"}};
    for (const Trip &t : trips) {
        const QString a = QString::fromUtf8(t.answer);
        EXPECT_EQ(encodeAnswer(t.page, restoredAnswer(t.page, t.a2_1, a)), a) << t.page << " " << t.answer;
    }
}

TEST(AnswerRules, KeyWithLettersOutOfOrderIsNeverMatched)
{
    // The encoded answer always lists letters in option order.
    const AnswerControls c = restoredAnswer(PageMultiple, 4, QStringLiteral("CA"));
    EXPECT_EQ(encodeAnswer(PageMultiple, c), QStringLiteral("AC"));
    EXPECT_FALSE(isRight(encodeAnswer(PageMultiple, c), QStringLiteral("CA")));
    EXPECT_FALSE(isRight(QStringLiteral("a"), QStringLiteral("A")));
}

TEST(AnswerRules, WrongScore)
{
    struct Case {
        bool firstEver;
        int before;
        bool right;
        int after;
    } cases[] = {
        {true, 0, true, 0},   {true, 0, false, -3}, {true, -5, true, 0}, {true, 2, false, -3},
        {false, 0, false, -1}, {false, -1, false, -2}, {false, -3, true, -2}, {false, -1, true, 0},
        {false, 0, true, 0},  {false, 2, true, 2},
    };
    for (const Case &c : cases)
        EXPECT_EQ(nextWrongScore(c.firstEver, c.before, c.right), c.after)
            << c.firstEver << " " << c.before << " " << c.right;

    // Wrong at the first answer: three right answers to leave the wrong list.
    int e4 = nextWrongScore(true, 0, false);
    int rights = 0;
    while (e4 < 0) {
        e4 = nextWrongScore(false, e4, true);
        ++rights;
    }
    EXPECT_EQ(rights, 3);
}

TEST(AnswerRules, JudgeCodesAndStateWithoutBank)
{
    const QDate today(2026, 3, 10);
    QuestionState s;
    s.key = QStringLiteral("B");
    s.lastDate = QStringLiteral("2026-03-09");
    JudgeOutcome o = judge(s, QStringLiteral("A"), today);
    EXPECT_TRUE(o.counted);
    EXPECT_EQ(o.codes.firstToday, 2);
    EXPECT_EQ(o.codes.result, 2);
    EXPECT_EQ(o.codes.previous, 2);   // an empty E2 differs from the key
    EXPECT_EQ(o.codes.attemptKind, 2);
    EXPECT_EQ(o.after.wrongScore, -3);
    EXPECT_EQ(o.after.attempts, 1);
    EXPECT_EQ(o.after.lastDate, QStringLiteral("2026-03-10"));

    // The same answer again in the run is stored, not counted.
    const JudgeOutcome again = judge(o.after, QStringLiteral("A"), today);
    EXPECT_FALSE(again.counted);
    EXPECT_EQ(again.after.attempts, 1);
    EXPECT_EQ(again.after.wrongScore, -3);

    // Changed to the key: a repeated attempt, previously wrong, same day.
    const JudgeOutcome changed = judge(o.after, QStringLiteral("B"), today);
    EXPECT_TRUE(changed.counted);
    EXPECT_EQ(changed.codes.firstToday, 1);
    EXPECT_EQ(changed.codes.result, 1);
    EXPECT_EQ(changed.codes.previous, 2);
    EXPECT_EQ(changed.codes.attemptKind, 1);
    EXPECT_EQ(changed.after.wrongScore, -2);

    // No answer empties the run answer only.
    const JudgeOutcome none = judge(changed.after, QString(), today);
    EXPECT_TRUE(none.empty);
    EXPECT_FALSE(none.counted);
    EXPECT_EQ(none.after.runAnswer, QString());
    EXPECT_EQ(none.after.lastAnswer, QStringLiteral("B"));
}

TEST(AnswerRules, KeyPointLists)
{
    const QStringList fields{QStringLiteral("01020304a"), QString(), QStringLiteral("05060708")};
    KeyPointLists l = keyPointLists(fields);
    EXPECT_EQ(l.ids, QStringLiteral("('01020304a')"));
    EXPECT_EQ(l.groups, QStringLiteral("('010203')"));
    EXPECT_EQ(l.headings, QStringLiteral("('01')"));
    EXPECT_EQ(listedKeyPoints(fields), (QStringList{QStringLiteral("01020304a"), QStringLiteral("05060708")}));

    l = keyPointLists({QStringLiteral("0102'3x"), QStringLiteral("0203040")});
    EXPECT_EQ(l.ids, QStringLiteral("('0102''3x','0203040')"));
    EXPECT_EQ(l.groups, QStringLiteral("('0102''3','020304')"));
    EXPECT_EQ(l.headings, QStringLiteral("('01','02')"));

    EXPECT_TRUE(keyPointLists({QString(), QStringLiteral("0102030405")}).isEmpty());
    EXPECT_TRUE(keyPointLists({}).isEmpty());
}

TEST(AnswerRules, AfterAnswerButtonsAndMarks)
{
    struct Case {
        const char *run;
        bool jx;
        const char *k3;
        int type;
        bool explanation, keyPoints, comparison;
    } cases[] = {
        {"", true, "0101", 61, false, false, false},
        {"A", true, "0101", 61, true, true, true},
        {"A", false, "  ", 65, false, false, true},
        {"1", true, "0101", 74, true, true, false},
        {"0", false, "", 77, false, false, false},
        {"1", true, "0101", 64, true, true, false},
        {"B", false, "x", 73, false, true, true},
    };
    for (const Case &c : cases) {
        const AfterAnswerButtons b =
            afterAnswerButtons(QString::fromLatin1(c.run), c.jx, QString::fromLatin1(c.k3), c.type);
        EXPECT_EQ(b.explanation, c.explanation) << c.run << c.type;
        EXPECT_EQ(b.keyPoints, c.keyPoints) << c.run << c.type;
        EXPECT_EQ(b.comparison, c.comparison) << c.run << c.type;
    }
    EXPECT_EQ(markFor(QString(), QStringLiteral("A")), Mark::Neutral);
    EXPECT_EQ(markFor(QStringLiteral("A"), QStringLiteral("A")), Mark::Right);
    EXPECT_EQ(markFor(QStringLiteral("AB"), QStringLiteral("A")), Mark::Wrong);
}

TEST(AnswerComparison, HeadlineAndShownTexts)
{
    const QString right = QString::fromUtf8(RightHeadline);
    const QString wrong = QString::fromUtf8(WrongHeadline);
    AnswerControls tf;
    tf.trueFalse = 1;
    EXPECT_EQ(shownAnswer(PageTrueFalse, tf), QStringLiteral("对"));
    EXPECT_EQ(shownKey(PageTrueFalse, QStringLiteral("A")), QStringLiteral("对"));
    EXPECT_EQ(shownKey(PageTrueFalse, QStringLiteral("B")), QStringLiteral("错"));
    EXPECT_EQ(comparisonHeadline(PageTrueFalse, tf, QStringLiteral("A")), right);
    EXPECT_EQ(comparisonHeadline(PageTrueFalse, tf, QStringLiteral("B")), wrong);

    EXPECT_EQ(comparisonHeadline(PageMultiple, options("AC", 4), QStringLiteral("AC")), right);
    EXPECT_EQ(comparisonHeadline(PageMultiple, options("ACE", 4), QStringLiteral("AC")), right);  // E hidden
    EXPECT_EQ(comparisonHeadline(PageSingle, options("", 4), QStringLiteral("A")), wrong);

    // The text box and the subjective list show no answer in the panel.
    AnswerControls fill;
    fill.text = QStringLiteral("x");
    EXPECT_EQ(shownAnswer(PageFillIn, fill), QString());
    EXPECT_EQ(comparisonHeadline(PageFillIn, fill, QStringLiteral("x")), wrong);
    EXPECT_EQ(comparisonHeadline(PageFillIn, fill, QString()), right);
}

TEST(AnswerComparison, SlideSteps)
{
    EXPECT_EQ(slideWidths(250, true), (QVector<int>{20, 60, 120, 200, 250}));
    EXPECT_EQ(slideWidths(250, false), (QVector<int>{230, 190, 130, 50, 0}));
    EXPECT_EQ(slideWidths(20, true), (QVector<int>{20}));
    EXPECT_EQ(slideWidths(10, false), (QVector<int>{0}));
    EXPECT_TRUE(slideWidths(0, true).isEmpty());
}

TEST(AnswerPages, CaptionsHintsAndLabels)
{
    const char *captions[] = {"单选", "多选", "填空", "判断", "主观", "配伍"};
    for (int p = 0; p < PageCount; ++p) {
        EXPECT_EQ(pageCaption(p), QString::fromUtf8(captions[p]));
        EXPECT_FALSE(pageHint(p).isEmpty());
    }
    EXPECT_EQ(pageHint(PageFillIn), QStringLiteral("填写正确答案，答案间用“,”隔开"));
    EXPECT_EQ(defaultSideLabel(PageMatching), QStringLiteral("综\r\n合\r\n分\r\n析"));
    EXPECT_EQ(pageCaption(NoPage), QString());
    // Every type answered on the subjective page is self-assessed.
    for (int t : {64, 74, 75, 76, 77})
        EXPECT_TRUE(isSelfAssessed(t)) << t;
    for (int t : {61, 62, 65, 71, 72, 73, 78})
        EXPECT_FALSE(isSelfAssessed(t)) << t;
}

TEST(AnswerKeys, EveryPageByKeys)
{
    using M = AnswerKeyOutcome;
    const int alt = Qt::AltModifier, ctrl = Qt::ControlModifier, none = 0;
    struct Case {
        int page;
        const char *stored;   // the answer on the page before the key
        int key, modifiers;
        bool allowed;
        bool taken;
        M::Move move;
        const char *after;    // the page's answer afterwards
    } cases[] = {
        {PageSingle, "A", Qt::Key_C, none, true, true, M::Stay, "C"},
        {PageSingle, "A", Qt::Key_F, none, true, true, M::Stay, ""},        // hidden sixth option
        {PageSingle, "A", Qt::Key_Backspace, none, true, true, M::Previous, "A"},
        {PageSingle, "A", Qt::Key_Delete, none, true, true, M::Stay, ""},
        {PageSingle, "A", Qt::Key_Return, none, true, true, M::Next, "A"},
        {PageSingle, "A", Qt::Key_B, alt, true, false, M::Stay, "A"},       // Alt+B is an accelerator
        {PageSingle, "A", Qt::Key_Return, ctrl, true, false, M::Stay, "A"},
        {PageSingle, "A", Qt::Key_C, none, false, true, M::Stay, "A"},      // review: taken, unchanged
        {PageMultiple, "AC", Qt::Key_D, none, true, true, M::Stay, "ACD"},
        {PageMultiple, "AC", Qt::Key_Backspace, none, true, true, M::Previous, "AC"},
        {PageMatching, "B", Qt::Key_D, none, true, true, M::Stay, "BD"},
        {PageMatching, "BD", Qt::Key_Backspace, none, true, true, M::Stay, ""},
        {PageTrueFalse, "", Qt::Key_Y, none, true, true, M::Stay, "A"},
        {PageTrueFalse, "A", Qt::Key_N, none, true, true, M::Stay, "B"},
        {PageTrueFalse, "B", Qt::Key_Backspace, none, true, true, M::Stay, ""},
        {PageTrueFalse, "B", Qt::Key_C, none, true, false, M::Stay, "B"},
        {PageTrueFalse, "B", Qt::Key_Y, none, false, true, M::Stay, "B"},
        {PageSubjective, "", Qt::Key_Y, none, true, true, M::Stay, "1"},
        {PageSubjective, "", Qt::Key_1, Qt::KeypadModifier, true, true, M::Stay, "1"},
        {PageSubjective, "1", Qt::Key_N, none, true, true, M::Stay, "0"},
        {PageSubjective, "0", Qt::Key_Delete, none, true, true, M::Stay, ""},
        {PageSubjective, "0", Qt::Key_A, none, true, false, M::Stay, "0"},
        {PageFillIn, "x", Qt::Key_A, none, true, false, M::Stay, "x"},      // the text box types it
        {PageFillIn, "x", Qt::Key_Return, none, true, true, M::Next, "x"},
        {NoPage, "", Qt::Key_Return, none, true, false, M::Stay, ""},
    };
    for (const Case &c : cases) {
        AnswerControls controls = restoredAnswer(c.page, 5, QString::fromLatin1(c.stored));
        const AnswerKeyOutcome out = applyAnswerKey(c.page, c.key, c.modifiers, c.allowed, controls);
        const QString what = QStringLiteral("page %1 key %2 from \"%3\"").arg(c.page).arg(c.key, 0, 16).arg(QLatin1String(c.stored));
        EXPECT_EQ(out.taken, c.taken) << what.toStdString();
        EXPECT_EQ(out.move, c.move) << what.toStdString();
        EXPECT_EQ(encodeAnswer(c.page, controls), QString::fromLatin1(c.after)) << what.toStdString();
        EXPECT_EQ(out.changed, QString::fromLatin1(c.after) != QString::fromLatin1(c.stored) )
            << what.toStdString();
    }
    // The tooltips name the keys: each option its letter.
    for (int option = 0; option < OptionCount; ++option)
        EXPECT_TRUE(answerKeyTip(PageMatching, option).contains(optionLetter(option) + QStringLiteral(" 键"))) << option;
    EXPECT_EQ(answerKeyTip(PageFillIn, -1), QString());
}
