// TFrmAbout: the program's about window.
#pragma once

#include <QDialog>

class TFrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TFrmAbout(QWidget *parent = nullptr);
};
