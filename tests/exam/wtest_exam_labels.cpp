// The side labels of the exam window's answer pages.
#include "ExamWindowEnv.h"

#include "practice/AnswerAreaWidget.h"
#include "practice/AnswerLogic.h"
#include "exam/UexamSheet.h"

#include <QFontMetrics>

TEST(ExamWindowLabels, EachAnswerPageCarriesItsSideLabel)
{
    examwindow::Env env(4);
    bool drove = false;
    env.runExam(4, [&](TFrmExam &w) {
        drove = true;
        const std::pair<int, const char *> labels[] = {
            {practice::PageSingle, "单\r\n选"},   {practice::PageMultiple, "多\r\n选"},
            {practice::PageFillIn, "填\r\n空"},   {practice::PageTrueFalse, "判\r\n断"},
            {practice::PageMatching, "不\r\n定\r\n项"},
        };
        for (auto [page, text] : labels)
            EXPECT_EQ(w.AnswerArea->sideLabel(page), QString::fromUtf8(text)) << page;
        w.done(0);
    });
    EXPECT_TRUE(drove);
}

TEST(ExamWindowLabels, SheetNumbersKeepClearOfTheirMarks)
{
    // The wide and the 800 x 600 cells; three-digit numbers are the tight ones.
    for (const QSize size : {QSize(36, 28), QSize(26, 20)}) {
        for (int n : {1, 99, 100, 108, 110}) {
            ExamSheetCell c(n);
            c.resize(size);
            const QRect number = c.numberRect(), mark = c.markRect();
            EXPECT_FALSE(number.intersects(mark)) << n << " " << size.width();
            EXPECT_TRUE(c.rect().contains(mark)) << n;
            EXPECT_LE(QFontMetrics(c.numberFont()).horizontalAdvance(QString::number(n)), number.width()) << n << " " << size.width();
            EXPECT_GE(c.numberFont().pixelSize(), 7) << n;
        }
    }
}
