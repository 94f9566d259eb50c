// Accessible names of the practice window (key-point practice included).
// The controls are found by their names, so the window's own files need
// only the one call.
#include "practice/UlxxtNames.h"

#include "widgets/AccessibleGui.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QTextEdit>

void namePracticeControls(QWidget *w)
{
    using a11y::speakValue;
    auto label = [w](const char *name) { return w->findChild<QLabel *>(QLatin1String(name)); };
    a11y::nameQuestionPanes(w->findChild<QTextEdit *>(QStringLiteral("Re1")), w->findChild<QTextEdit *>(QStringLiteral("Re2")));
    if (auto *gauge = w->findChild<QProgressBar *>(QStringLiteral("Gauge1")))
        gauge->setAccessibleName(QStringLiteral("答题时间"));
    if (QLabel *total = label("Lb_total")) {
        speakValue(label("Lb_pos"), [total](const QString &n) { return QStringLiteral("第%1题，共%2题").arg(n, total->text()); });
        speakValue(total, [](const QString &n) { return QStringLiteral("%1道题").arg(n); });
    }
    speakValue(label("Lb_occur"), [](const QString &n) { return QStringLiteral("第%1次出现").arg(n); });
    speakValue(label("Lb_time"), [](const QString &t) { return QStringLiteral("用时 %1").arg(t); });
    speakValue(label("Lb_groups"), [](const QString &n) { return QStringLiteral("共%1组").arg(n); });
    speakValue(label("Lb_group"), [](const QString &n) { return QStringLiteral("第%1组").arg(n); });
    // Status lines stay empty for most questions.
    speakValue(label("Label1"), [](const QString &t) { return t.isEmpty() ? QStringLiteral("本题状态") : t; });
    speakValue(label("Lb_edited"), [](const QString &t) { return t.isEmpty() ? QStringLiteral("修改标记") : t; });
    auto *board = w->findChild<QWidget *>(QStringLiteral("fcBG_th"));
    if (board)
        for (QAbstractButton *b : board->findChildren<QAbstractButton *>())
            speakValue(b, [](const QString &n) { return QStringLiteral("第%1题").arg(n); });
    a11y::tabThroughButtons(w, {board});
    // The type board is built with each question list.
    a11y::tabThroughLaterButtons(w->findChild<QWidget *>(QStringLiteral("fcBG_tx")));
}
