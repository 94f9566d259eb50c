// Entry points of the mock exam for the main window's commands: "mnks" ..
// "mnks5" generate a paper and run the exam window, "cj" opens the paper
// records and "szks" the exam settings.  Also the waiting window the exam
// flows report their stages to, and the end of the program after a failure
// that a paper cannot survive.
#pragma once

#include <QString>
#include <functional>

class QDialog;
class QWidget;

namespace exam {

// The waiting window as the exam flows use it: show a stage text, hide.
struct ProgressView {
    std::function<void(const QString &)> show;
    std::function<void()> hide;
};
// Replaces the waiting window (an empty view restores the program's own
// TFrmProgress).
void setProgressView(ProgressView view);
void showProgress(const QString &text);
void hideProgress();


// Shows a failure with ShowDlg (caption "错误", one button, error picture)
// and ends the program.
void failAndEnd(const QString &message);

} // namespace exam

// The menu commands "mnks" (subject 1) to "mnks5": generates a paper of the
// subject and shows it in the exam window until it closes.
void mnks(int subject);

// The windows of the commands "cj" and "szks", created for their opener.
QDialog *createPaperRecordsWindow(QWidget *owner);
QDialog *createExamSettingsWindow(QWidget *owner);
