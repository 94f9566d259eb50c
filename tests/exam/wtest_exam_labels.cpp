// The side labels of the exam window's answer pages.
#include "ExamWindowEnv.h"

#include "practice/AnswerAreaWidget.h"
#include "practice/AnswerLogic.h"

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
