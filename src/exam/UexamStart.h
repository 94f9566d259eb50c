// Entry points of the mock exam for the main window's commands: "mnks" ..
// "mnks5" generate a paper and run the exam window, "cj" opens the paper
// records and "szks" the exam settings.
#pragma once

class QDialog;
class QWidget;

// The menu commands "mnks" (subject 1) to "mnks5": generates a paper of the
// subject and shows it in the exam window until it closes.
void mnks(int subject);

// The windows of the commands "cj" and "szks", created for their opener.
QDialog *createPaperRecordsWindow(QWidget *owner);
QDialog *createExamSettingsWindow(QWidget *owner);
