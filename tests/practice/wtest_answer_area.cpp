// The answer area's controls and the comparison panel, driven like a user.
#include "practice/AnswerAreaWidget.h"
#include "practice/AnswerPanelWidget.h"
#include "support/QtPrinters.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace practice;

namespace {

void click(QToolButton *b) { QTest::mouseClick(b, Qt::LeftButton); }

} // namespace

TEST(AnswerArea, OptionPagesShowOnlyTheQuestionsOptions)
{
    AnswerAreaWidget area;
    area.show();
    for (int page : {PageSingle, PageMultiple, PageMatching}) {
        area.showPage(page);
        area.restore(page, 4, page == PageSingle ? QStringLiteral("B") : QStringLiteral("BD"));
        for (int i = 0; i < OptionCount; ++i) {
            EXPECT_EQ(area.optionButton(page, i)->isVisible(), i < 4) << page << " " << i;
            EXPECT_FALSE(i >= 4 && area.optionButton(page, i)->isChecked());
        }
        EXPECT_EQ(area.answer(), page == PageSingle ? QStringLiteral("B") : QStringLiteral("BD"));
        // A question with fewer options hides the rest and releases them.
        area.restore(page, 2, QStringLiteral("D"));
        EXPECT_FALSE(area.optionButton(page, 3)->isVisible());
        EXPECT_FALSE(area.optionButton(page, 3)->isChecked());
        EXPECT_EQ(area.answer(), QString());
    }
}

TEST(AnswerArea, ClickingOptions)
{
    AnswerAreaWidget area;
    area.show();
    area.showPage(PageSingle);
    area.restore(PageSingle, 5, QString());
    click(area.optionButton(PageSingle, 0));
    click(area.optionButton(PageSingle, 2));
    EXPECT_EQ(area.answer(), QStringLiteral("C"));
    click(area.optionButton(PageSingle, 2));   // the down one comes up
    EXPECT_EQ(area.answer(), QString());

    area.showPage(PageMultiple);
    area.restore(PageMultiple, 5, QString());
    for (int i : {3, 0, 4, 0, 2})
        click(area.optionButton(PageMultiple, i));
    EXPECT_EQ(area.answer(), QStringLiteral("CDE"));

    area.showPage(PageTrueFalse);
    area.restore(PageTrueFalse, 2, QString());
    click(area.trueButton);
    EXPECT_EQ(area.answer(), QStringLiteral("A"));
    click(area.falseButton);
    EXPECT_EQ(area.answer(), QStringLiteral("B"));
    EXPECT_FALSE(area.trueButton->isChecked());
    EXPECT_EQ(area.shownAnswer(), QStringLiteral("错"));
    click(area.falseButton);
    EXPECT_EQ(area.answer(), QString());

    area.showPage(PageSubjective);
    area.restore(PageSubjective, 1, QString());
    EXPECT_EQ(area.FlatComboBox1->currentIndex(), -1);
    EXPECT_EQ(area.answer(), QString());
    area.FlatComboBox1->setCurrentIndex(1);
    EXPECT_EQ(area.answer(), QStringLiteral("1"));

    area.showPage(PageFillIn);
    area.restore(PageFillIn, 1, QStringLiteral("旧"));
    EXPECT_EQ(area.FlatEdit1->text(), QStringLiteral("旧"));
    area.FlatEdit1->clear();
    QTest::keyClicks(area.FlatEdit1, QStringLiteral("  a,b  "));
    EXPECT_EQ(area.answer(), QStringLiteral("a,b"));
}

TEST(AnswerArea, KeysAnswerAndPressTheWindowsNavigation)
{
    QWidget window;
    auto *area = new AnswerAreaWidget(&window);
    auto *previous = new QPushButton(QStringLiteral("上一题"), &window);
    auto *next = new QPushButton(QStringLiteral("下一题"), &window);
    int previousClicks = 0, nextClicks = 0;
    QObject::connect(previous, &QPushButton::clicked, [&] { ++previousClicks; });
    QObject::connect(next, &QPushButton::clicked, [&] { ++nextClicks; });
    window.show();
    window.activateWindow();
    QApplication::setActiveWindow(&window);
    area->showPage(PageMultiple);
    area->restore(PageMultiple, 4, QString());
    area->optionButton(PageMultiple, 0)->setFocus();
    for (int key : {Qt::Key_D, Qt::Key_A, Qt::Key_B, Qt::Key_A, Qt::Key_Backspace, Qt::Key_Return})
        EXPECT_TRUE(area->handleKey(key, Qt::NoModifier, previous, next));
    EXPECT_EQ(area->answer(), QStringLiteral("BD"));
    EXPECT_EQ(previousClicks, 1);
    EXPECT_EQ(nextClicks, 1);
    // Enter on a focused button of the window is that button's.
    previous->setFocus();
    EXPECT_FALSE(area->handleKey(Qt::Key_Return, Qt::NoModifier, previous, next));
    // Right and Left walk the focus over the page's visible options only.
    area->optionButton(PageMultiple, 0)->setFocus();
    for (int key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Left})
        area->handleKey(key, Qt::NoModifier, previous, next);
    EXPECT_EQ(QApplication::focusWidget(), area->optionButton(PageMultiple, 2));
    EXPECT_TRUE(area->trueButton->toolTip().contains(QStringLiteral("Y")));
}

TEST(AnswerArea, PagesByTypeHintsAndLabels)
{
    AnswerAreaWidget area;
    struct Case {
        int type;
        int page;
    } cases[] = {{61, 0}, {65, 1}, {72, 1}, {71, 3}, {73, 5}, {99, 5}, {74, 4}, {62, 0}};
    for (const Case &c : cases) {
        EXPECT_EQ(area.showPageForType(c.type), c.page) << c.type;
        EXPECT_EQ(area.Notebook1->currentIndex(), c.page);
        EXPECT_EQ(area.toolTip(), pageHint(c.page));
    }
    // A type without a page keeps the page and reads the answer from it.
    area.showPageForType(65);
    area.restore(PageMultiple, 4, QStringLiteral("AB"));
    EXPECT_EQ(area.showPage(NoPage), PageMultiple);
    EXPECT_EQ(area.answer(), QStringLiteral("AB"));
    EXPECT_EQ(area.answer(NoPage), QString());

    EXPECT_EQ(area.sideLabel(PageMatching), QStringLiteral("综\r\n合\r\n分\r\n析"));
    area.setSideLabel(PageSubjective, QStringLiteral("简\r答"));
    EXPECT_EQ(area.sideLabel(PageSubjective), QStringLiteral("简\r答"));
    auto *label = area.findChild<QLabel *>(QStringLiteral("SideLabel4"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("简\n答"));

    area.setPagesEnabled(false);
    area.showPage(PageSingle);
    area.restore(PageSingle, 4, QString());
    area.handleKey(Qt::Key_A, Qt::NoModifier, nullptr, nullptr);
    EXPECT_EQ(area.answer(), QString());
}

TEST(AnswerPanel, SlidesInGrowingSteps)
{
    QWidget body;
    body.resize(400, 300);
    AnswerPanelWidget panel(&body);
    panel.resize(0, 300);
    body.show();
    QPushButton button(QStringLiteral("答案"));

    panel.fill(QStringLiteral("恭喜你，做对了！"), QStringLiteral("AC"), QStringLiteral("AC"));
    EXPECT_EQ(panel.Memo1->toPlainText(), QStringLiteral("AC"));
    EXPECT_EQ(panel.Memo2->toPlainText(), QStringLiteral("AC"));

    ToggleAnswerPanel(&button, &panel, 250);
    EXPECT_EQ(button.text(), QStringLiteral("返回"));
    EXPECT_TRUE(panel.isOpen());
    QTRY_COMPARE_WITH_TIMEOUT(panel.width(), 250, 2000);
    EXPECT_EQ(panel.lastSlideWidths(), (QVector<int>{20, 60, 120, 200, 250}));
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.height(), 300);

    ToggleAnswerPanel(&button, &panel, 250);
    EXPECT_EQ(button.text(), QStringLiteral("答案"));
    panel.finishSlide();
    EXPECT_EQ(panel.lastSlideWidths(), (QVector<int>{230, 190, 130, 50, 0}));
    EXPECT_FALSE(panel.isVisible());
    EXPECT_FALSE(panel.isOpen());

    panel.slideOpen(250);
    panel.finishSlide();
    panel.closeNow();
    EXPECT_EQ(panel.width(), 0);
    EXPECT_FALSE(panel.isVisible());
}
