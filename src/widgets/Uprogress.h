// TFrmProgress: the waiting window shown with a stage text around long work.
#pragma once

#include <QDialog>

class QLabel;

class TFrmProgress : public QDialog {
    Q_OBJECT
public:
    explicit TFrmProgress(QWidget *parent = nullptr);
    QLabel *Label1;

    // Shows the window with a stage text and lets it paint.
    void showStage(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// The one waiting window of the program.
TFrmProgress *FrmProgress();
void destroyFrmProgress();
