// The mock exam's entry points and the services its flows share.
#include "exam/UexamStart.h"

#include "app/ModalGui.h"
#include "app/Seams.h"
#include "app/Udlg.h"
#include "app/Uprogress.h"
#include "exam/PaperGeneration.h"
#include "exam/Ucheck.h"
#include "exam/Ueset.h"
#include "exam/Uexam.h"
#include "store/dm.h"

#include <QCoreApplication>

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

void mnks(int subject)
{
    if (!DM1 || subject < 1 || subject > 5)
        return;
    exam::showProgress(QStringLiteral("正在初始化数据..."));
    // The window comes first: without its pictures no paper is made.
    TFrmExam window;
    if (!window.resourcesLoaded())
        return;
    exam::PaperState paper;
    try {
        paper = exam::generatePaper(*DM1, subject, [](const QString &text) { exam::showProgress(text); });
    } catch (const exam::PaperError &e) {
        exam::failAndEnd(e.message());
        return;
    }
    window.OpenPaper(paper.tableName, paper.title, paper.mode, paper.score, paper.timeUsed);
    if (window.LoadPaper([](const QString &text) { exam::showProgress(text); }) != 1)
        return;
    exam::hideProgress();
    ui::execModal(&window);
    exam::hideProgress();
}

QDialog *createPaperRecordsWindow(QWidget *owner) { return new TFrmCheck(owner); }
QDialog *createExamSettingsWindow(QWidget *owner) { return new TFrmEset(owner); }
