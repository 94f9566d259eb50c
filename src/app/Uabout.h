// TFrmAbout: the program's about window, borderless with the painted
// background and title strip of the other windows.
#pragma once

#include <QDialog>

class TFrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAbout(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};
