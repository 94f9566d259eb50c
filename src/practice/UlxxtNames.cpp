// Accessible names of the practice window (key-point practice included).
#include "practice/UlxxtNames.h"

#include "practice/Ulxxt.h"
#include "widgets/AccessibleGui.h"

#include <QAbstractButton>
#include <QLabel>
#include <QProgressBar>
#include <QTextEdit>

void nameControls(TFrmLxxt *w)
{
    using a11y::speakValue;
    // The upper pane holds the question, or the material when a
    // sub-question stands in the lower one.
    QTextEdit *lower = w->Re2;
    speakValue(w->Re1, [lower](const QString &) {
        return lower->isVisible() ? QStringLiteral("材料") : QStringLiteral("题目");
    });
    w->Re2->setAccessibleName(QStringLiteral("题目"));
    w->Gauge1->setAccessibleName(QStringLiteral("答题时间"));
    QLabel *total = w->Lb_total;
    speakValue(w->Lb_pos, [total](const QString &n) { return QStringLiteral("第%1题，共%2题").arg(n, total->text()); });
    speakValue(w->Lb_occur, [](const QString &n) { return QStringLiteral("第%1次出现").arg(n); });
    speakValue(w->Lb_time, [](const QString &t) { return QStringLiteral("用时 %1").arg(t); });
    speakValue(w->Lb_groups, [](const QString &n) { return QStringLiteral("共%1组").arg(n); });
    speakValue(w->Lb_total, [](const QString &n) { return QStringLiteral("%1道题").arg(n); });
    speakValue(w->Lb_group, [](const QString &n) { return QStringLiteral("第%1组").arg(n); });
    // Status lines stay empty for most questions.
    speakValue(w->Label1, [](const QString &t) { return t.isEmpty() ? QStringLiteral("本题状态") : t; });
    speakValue(w->Lb_edited, [](const QString &t) { return t.isEmpty() ? QStringLiteral("修改标记") : t; });
    for (QAbstractButton *b : w->fcBG_th->findChildren<QAbstractButton *>())
        speakValue(b, [](const QString &n) { return QStringLiteral("第%1题").arg(n); });
    a11y::tabThroughButtons(w, {w->fcBG_th});
    // The type board is built with each question list.
    a11y::tabThroughLaterButtons(w->fcBG_tx);
}
