// The mock exam's entry points.
#include "exam/UexamStart.h"

#include "exam/UexamProgress.h"
#include "widgets/ModalGui.h"
#include "exam/PaperGeneration.h"
#include "exam/Ucheck.h"
#include "exam/Ueset.h"
#include "exam/Uexam.h"
#include "store/dm.h"

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
