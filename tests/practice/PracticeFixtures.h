// Fixtures of the practice window tests: the board pictures beside the
// program and a small section of questions of every answer page.
#pragma once

#include "widgets/ModalGui.h"
#include "platform/RichText.h"
#include "common/ShellState.h"
#include "support/TestBank.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QAbstractButton>
#include <QTest>
#include <gtest/gtest.h>

namespace practicefixtures {

// Installs a modal hook for one test and removes it afterwards.
struct ModalHookGuard {
    explicit ModalHookGuard(ui::ModalHook h) { ui::setModalHook(std::move(h)); }
    ~ModalHookGuard() { ui::setModalHook({}); }
};

// The pictures the practice windows read from AppDir/pic.
inline void writePictures(const QString &appDir, const QStringList &leaveOut = {})
{
    QDir(appDir).mkpath(QStringLiteral("pic"));
    struct Pic {
        const char *name;
        QColor top, bottom;
    } pics[] = {
        {"vloxup", QColor(0xff, 0xff, 0xff), QColor(0xd6, 0xe4, 0xf5)},
        {"vloxdw", QColor(0xb4, 0xcd, 0xf0), QColor(0x6d, 0x9a, 0xdb)},
        {"vloxyes", QColor(0xe6, 0xf8, 0xe6), QColor(0x9c, 0xdc, 0x9c)},
        {"vloxno", QColor(0xfd, 0xe8, 0xe6), QColor(0xf0, 0xa3, 0x9c)},
        {"vloxover", QColor(0xff, 0xf6, 0xd8), QColor(0xf2, 0xd2, 0x7a)},
        {"vloxdw_r", QColor(0x8d, 0xd3, 0x8d), QColor(0x3f, 0xa3, 0x4a)},
        {"vloxdw_w", QColor(0xf0, 0x9a, 0x92), QColor(0xc8, 0x44, 0x38)},
        {"vloxtxup", QColor(0xff, 0xff, 0xff), QColor(0xdc, 0xe8, 0xf7)},
        {"vloxtxdw", QColor(0xff, 0xe6, 0xa8), QColor(0xf0, 0xb4, 0x3c)},
    };
    for (const Pic &p : pics) {
        if (leaveOut.contains(QString::fromLatin1(p.name)))
            continue;
        QImage img(40, 30, QImage::Format_RGB32);
        QPainter painter(&img);
        QLinearGradient g(0, 0, 0, 30);
        g.setColorAt(0, p.top);
        g.setColorAt(1, p.bottom);
        painter.fillRect(img.rect(), g);
        painter.setPen(p.bottom.darker(140));
        painter.drawRect(img.rect().adjusted(0, 0, -1, -1));
        painter.end();
        img.save(appDir + QStringLiteral("pic/") + QString::fromLatin1(p.name) + QStringLiteral(".bmp"), "BMP");
    }
}

inline QByteArray rtf(const QString &text) { return richtext::plainTextToRtf(text); }

// The types of subject 1 with their answer time in minutes.
inline void addTypes(TestBank &b, double minutes = 1.0)
{
    struct T {
        int code;
        const char *name;
    } types[] = {{61, "单项选择题"}, {62, "单选案例题"}, {65, "多项选择题"}, {71, "判断题"}, {73, "综合分析题"}, {74, "简答题"}};
    for (const T &t : types)
        b.run(QStringLiteral("insert into tab_tx1 (A1, B1, B2, B3, time) values (?, ?, 10, 1, ?)"),
              {t.code, QString::fromUtf8(t.name), minutes});
}

// Section 100101 with `singles` single-choice questions (s01, s02, ...)
// followed by one question of each other page: m1 (多选, key "AC"),
// t1 (判断, "A"), c-material sub-question (配伍, "BD"), j1 (简答, "1").
inline void addSection(TestBank &b, int singles)
{
    b.addChapter(QStringLiteral("1"), QStringLiteral("第一科目"));
    b.addChapter(QStringLiteral("10"), QStringLiteral("第一部分 基础知识"));
    b.addChapter(QStringLiteral("1001"), QStringLiteral("第一章 总论"));
    b.addChapter(QStringLiteral("100101"), QStringLiteral("第一节 基本概念"),
                 QStringLiteral("第一章 总论 · 第一节 基本概念：理解基本概念，掌握基本原则。"));
    b.addChapter(QStringLiteral("100102"), QStringLiteral("第二节 基本原则"));
    b.addChapter(QStringLiteral("xx"), QStringLiteral("占位"));
    b.addKeyPoint(QStringLiteral("0101010001"));
    b.addKeyPoint(QStringLiteral("0101020002"));
    b.run(QStringLiteral("update tab_rule set sn=?, n=? where ftid='0101010001'"),
          {QStringLiteral("考点一 基本概念的含义"), rtf(QStringLiteral("基本概念是指……（考点正文）"))});
    b.run(QStringLiteral("update tab_fgmc set n='第一组 基本概念' where id='010101'"));
    const char *letters = "ABCD";
    for (int i = 1; i <= singles; ++i) {
        const QString id = QStringLiteral("s%1").arg(i, 2, 10, QLatin1Char('0'));
        b.addQuestion(id, QString(QLatin1Char(letters[i % 4])), 61, QStringLiteral("100101"),
                      i == 1 ? QStringList{QStringLiteral("0101010001"), QStringLiteral("0101020002")} : QStringList{}, 4);
        b.run(QStringLiteral("update tab_answ set xx=? where A1=?"), {i, id});
        b.run(QStringLiteral("update tab_exer set A15=? where A1=?"),
              {rtf(QStringLiteral("第%1题 下列关于基本概念的说法中，正确的是（　）。\nA. 说法一\nB. 说法二\nC. 说法三\nD. 说法四").arg(i)),
               id});
    }
    b.run(QStringLiteral("update tab_exer set jx=? where A1='s01'"), {rtf(QStringLiteral("本题考查基本概念。"))});
    b.addQuestion(QStringLiteral("m1"), QStringLiteral("AC"), 65, QStringLiteral("100101"), {}, 5);
    b.run(QStringLiteral("update tab_exer set A15=? where A1='m1'"),
          {rtf(QStringLiteral("下列各项中，属于基本原则的有（　）。\nA. 原则一\nB. 原则二\nC. 原则三\nD. 原则四\nE. 原则五"))});
    b.addQuestion(QStringLiteral("t1"), QStringLiteral("A"), 71, QStringLiteral("100101"), {}, 2);
    b.run(QStringLiteral("update tab_exer set A15=? where A1='t1'"), {rtf(QStringLiteral("基本原则适用于所有情形。（　）"))});
    const QString sub = QStringLiteral("C000000000000001-1");
    b.addQuestion(sub, QStringLiteral("BD"), 73, QStringLiteral("100101"), {}, 4);
    b.run(QStringLiteral("update tab_exer set A15=? where A1=?"),
          {rtf(QStringLiteral("（1）根据材料，下列判断正确的有（　）。\nA. 判断一\nB. 判断二\nC. 判断三\nD. 判断四")), sub});
    b.run(QStringLiteral("insert into tab_title (A1, A15) values ('C000000000000001', ?)"),
          {rtf(QStringLiteral("案例材料：某单位于本年度开展了一项工作，情况如下……\n请根据以上材料回答下列问题。"))});
    b.addQuestion(QStringLiteral("j1"), QStringLiteral("1"), 74, QStringLiteral("100101"), {}, 1);
    b.run(QStringLiteral("update tab_exer set A15=? where A1='j1'"), {rtf(QStringLiteral("简述基本原则的主要内容。"))});
    b.run(QStringLiteral("update tab_kmmc set C3=(select count(*) from tab_answ where substr(A10,1,length(C1))=C1)"));
}

// A bank with the board pictures and subject 1's types beside it, prompts
// recorded, and the shell of a session on subject 1 in the 1024 screen
// mode with no answer times read yet.  Fixtures add their questions.
class PracticeBankTest : public ::testing::Test {
protected:
    TestBank b;
    PromptRecorder prompts;
    void SetUp() override
    {
        writePictures(b.dir());
        addTypes(b);
        shell().ScreenMode = QStringLiteral("1024");
        shell().CurSubject = 1;
        shell().TypeCodes.clear();
        shell().TypeTimes.clear();
    }
};

// Clicks a button the user can click; a disabled one fails the test.
inline void click(QAbstractButton *button)
{
    ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
}

} // namespace practicefixtures
