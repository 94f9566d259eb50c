// The program's look: its sheet loads without complaint and each role
// gives a control its colour, also when the role changes on screen.
#include "widgets/ThemeGui.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QStyle>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

QStringList g_complaints;

void collect(QtMsgType, const QMessageLogContext &, const QString &text)
{
    if (text.contains(QLatin1String("style"), Qt::CaseInsensitive))
        g_complaints << text;
}

} // namespace

TEST(Theme, SheetLoadsAndRolesColourTheirControls)
{
    g_complaints.clear();
    const QtMessageHandler previous = qInstallMessageHandler(collect);
    theme::apply();
    EXPECT_FALSE(qApp->styleSheet().isEmpty());

    struct Case {
        const char *role;
        QColor colour;
    } cases[] = {{"alert", QColor(0xb3, 0x26, 0x1e)}, {"clock", QColor(0x0b, 0x4b, 0xb5)}, {"right", QColor(0x0a, 0x8a, 0x2a)},
                 {"heading", QColor(0x1d, 0x3c, 0x66)}, {"title", QColor(Qt::white)}, {"value", QColor(0x7f, 0xe0, 0x7f)}};
    QDialog window;
    auto *lay = new QVBoxLayout(&window);
    QList<QLabel *> labels;
    for (const Case &c : cases) {
        auto *l = new QLabel(QString::fromLatin1(c.role), &window);
        theme::setRole(l, c.role);
        lay->addWidget(l);
        labels << l;
    }
    window.show();
    QApplication::processEvents();
    for (int i = 0; i < labels.size(); ++i)
        EXPECT_EQ(labels[i]->palette().color(QPalette::WindowText), cases[i].colour) << cases[i].role;
    // A verdict line turns from right to wrong while shown.
    theme::setRole(labels[2], "wrong");
    QApplication::processEvents();
    EXPECT_EQ(labels[2]->palette().color(QPalette::WindowText), QColor(0xb3, 0x26, 0x1e));

    qInstallMessageHandler(previous);
    EXPECT_TRUE(g_complaints.isEmpty()) << g_complaints.join(QLatin1Char('\n')).toStdString();
}
