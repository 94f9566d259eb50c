// Accessible names of the exam window.  The controls are found by their
// names, so the window's own files need only the one call.
#include "exam/UexamNames.h"

#include "widgets/AccessibleGui.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPointer>
#include <QTextEdit>

void nameExamControls(QWidget *w)
{
    using a11y::speakValue;
    auto label = [w](const char *name) { return w->findChild<QLabel *>(QLatin1String(name)); };
    a11y::nameQuestionPanes(w->findChild<QTextEdit *>(QStringLiteral("Re1")), w->findChild<QTextEdit *>(QStringLiteral("Re2")));
    // The paper's length: the sheet cells that stand for a question are the
    // ones not switched off (the whole sheet is disabled while paused).
    QPointer<QWidget> sheet = w->findChild<QWidget *>(QStringLiteral("fcBG_th"));
    auto questions = [sheet] {
        int n = 0;
        if (sheet)
            for (QAbstractButton *c : sheet->findChildren<QAbstractButton *>())
                n += c->testAttribute(Qt::WA_ForceDisabled) ? 0 : 1;
        return n;
    };
    speakValue(label("Label5"), [questions](const QString &n) {
        return n.isEmpty() ? QStringLiteral("题号") : QStringLiteral("第%1题，共%2题").arg(n).arg(questions());
    });
    speakValue(label("Label1"), [](const QString &t) { return t.isEmpty() ? QStringLiteral("本题状态") : t; });
    speakValue(label("epLb_time1"), [](const QString &t) { return QStringLiteral("用时 %1").arg(t); });
    speakValue(label("epLb_time2"), [](const QString &t) { return QStringLiteral("用时 %1").arg(t); });
    speakValue(label("Lb_zfs"), [](const QString &t) { return t.isEmpty() ? QStringLiteral("得分") : t; });
    speakValue(label("Label7"), [](const QString &t) { return t.isEmpty() ? QStringLiteral("题型") : t; });
    if (sheet)
        for (QAbstractButton *c : sheet->findChildren<QAbstractButton *>())
            speakValue(c, [](const QString &n) { return QStringLiteral("第%1题").arg(n); });
    a11y::tabThroughButtons(w, {sheet});
}
