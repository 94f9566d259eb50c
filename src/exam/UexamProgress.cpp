// The exam flows' waiting window and their end of the program.
#include "exam/UexamProgress.h"

#include "platform/Seams.h"
#include "widgets/Udlg.h"
#include "widgets/Uprogress.h"

namespace exam {

namespace {
ProgressView &viewSlot()
{
    static ProgressView v;
    return v;
}
} // namespace

void setProgressView(ProgressView view) { viewSlot() = std::move(view); }

void showProgress(const QString &text)
{
    if (viewSlot().show)
        viewSlot().show(text);
    else
        FrmProgress()->showStage(text);
}

void hideProgress()
{
    if (viewSlot().hide)
        viewSlot().hide();
    else if (viewSlot().show)
        return;
    else
        FrmProgress()->hide();
}

void failAndEnd(const QString &message)
{
    hideProgress();
    ShowDlg(QStringLiteral("错误"), message, 1, 2, QString());
    seams::endProgram();
}

} // namespace exam
