// Accessible names of the exam window.
#include "exam/UexamNames.h"

#include "exam/Uexam.h"
#include "widgets/AccessibleGui.h"

#include <QLabel>
#include <QTextEdit>

void nameControls(TFrmExam *w)
{
    using a11y::speakValue;
    QTextEdit *lower = w->Re2;
    speakValue(w->Re1, [lower](const QString &) {
        return lower->isVisible() ? QStringLiteral("材料") : QStringLiteral("题目");
    });
    w->Re2->setAccessibleName(QStringLiteral("题目"));
    // The paper's length: the sheet cells that stand for a question.
    auto questions = [w] {
        int n = 0;
        for (int i = 1; w->cell(i); ++i)
            n += w->cell(i)->tag != 0 ? 1 : 0;
        return n;
    };
    speakValue(w->Label5, [questions](const QString &n) {
        return n.isEmpty() ? QStringLiteral("题号") : QStringLiteral("第%1题，共%2题").arg(n).arg(questions());
    });
    speakValue(w->Label1, [](const QString &t) { return t.isEmpty() ? QStringLiteral("本题状态") : t; });
    speakValue(w->epLb_time1, [](const QString &t) { return QStringLiteral("用时 %1").arg(t); });
    speakValue(w->epLb_time2, [](const QString &t) { return QStringLiteral("用时 %1").arg(t); });
    speakValue(w->Lb_zfs, [](const QString &t) { return t.isEmpty() ? QStringLiteral("得分") : t; });
    speakValue(w->Label7, [](const QString &t) { return t.isEmpty() ? QStringLiteral("题型") : t; });
    for (int i = 1; ExamSheetCell *c = w->cell(i); ++i)
        speakValue(c, [](const QString &n) { return QStringLiteral("第%1题").arg(n); });
    a11y::tabThroughButtons(w, {w->fcBG_th});
}
