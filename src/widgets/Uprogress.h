// TFrmProgress: the waiting window shown with a stage text around long work.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;

class TFrmProgress : public QDialog {
    Q_OBJECT
public:
    explicit TFrmProgress(QWidget *parent = nullptr);
    QLabel *Label1;
    // The share of long work done; shown only while such work runs.
    QProgressBar *ProgressBar1;

    // Shows the window with a stage text and lets it paint.
    void showStage(const QString &text);
    // The same with the share done (0..100) under the text.
    void showProgress(const QString &text, int percent);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The one waiting window of the program.
TFrmProgress *FrmProgress();
void destroyFrmProgress();
// Long work on the bank (an upgrade merge, the index refresh at start-up)
// shows the waiting window with its stage and share done, and keeps it
// painted until the work is over.
void installWorkWindow();
