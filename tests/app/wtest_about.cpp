// The About window: its texts, its one button, and the program's look
// (painted background and title strip) rather than a plain dialog.
#include "app/Uabout.h"

#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>

TEST(AboutWindow, TextsButtonAndLook)
{
    TFrmAbout w;
    w.show();
    EXPECT_EQ(w.windowTitle(), QStringLiteral("关于"));
    auto *title = w.findChild<QLabel *>(QStringLiteral("LabelTitle"));
    auto *maker = w.findChild<QLabel *>(QStringLiteral("LabelMaker"));
    auto *rights = w.findChild<QLabel *>(QStringLiteral("LabelRights"));
    ASSERT_TRUE(title && maker && rights);
    EXPECT_EQ(title->text(), QStringLiteral("Velmora 职业资格考试辅导系统"));
    EXPECT_TRUE(maker->text().contains(QStringLiteral("地址：")));
    EXPECT_TRUE(rights->text().startsWith(QStringLiteral("版权所有")));
    auto *version = w.findChild<QLabel *>(QStringLiteral("LabelVersion"));
    ASSERT_NE(version, nullptr);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^版本 \\d+\\.\\d+\\.\\d+$")).match(version->text()).hasMatch()) << version->text().toStdString();
    EXPECT_GE(version->geometry().top(), rights->geometry().bottom());

    // Painted like the program's other windows: the title strip along the
    // top and a background that is not the plain window colour.
    const QImage img = w.grab().toImage();
    if (const QByteArray dir = qgetenv("PELLBROOK_SCREENSHOTS"); !dir.isEmpty())
        img.save(QString::fromLocal8Bit(dir) + QStringLiteral("/about.png"));
    const QColor plain = QApplication::palette().color(QPalette::Window);
    struct Probe {
        const char *where;
        QPoint at;
    } probes[] = {{"title strip", {w.width() / 2, 8}}, {"background", {6, w.height() - 8}}};
    for (const Probe &p : probes)
        EXPECT_NE(img.pixelColor(p.at).rgb(), plain.rgb()) << p.where;
    const QColor strip = img.pixelColor(w.width() / 2, 8);
    EXPECT_GT(strip.blue(), strip.red() + 60) << "the strip is the program's blue";
    // The labels sit below the strip.
    EXPECT_GE(title->mapTo(&w, QPoint(0, 0)).y(), 34);

    auto *close = w.findChild<QPushButton *>(QStringLiteral("BtnClose"));
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(close->text(), QStringLiteral("关 闭"));
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
    EXPECT_EQ(w.result(), int(QDialog::Accepted));
}
