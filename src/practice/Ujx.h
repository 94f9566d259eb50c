// The explanation window TFrmJx ("解析"): shows the explanation of the
// question being practised or examined, read-only.
#pragma once

#include "practice/FieldBinding.h"

#include <QDialog>

class QPushButton;
class QTextEdit;
class TDM1;

class TFrmJx : public QDialog {
    Q_OBJECT
public:
    explicit TFrmJx(QWidget *parent = nullptr);

    // Binds the pane to a field (practice: tab_exer / jx of the question,
    // exam: the paper row's jx).  Any failure leaves the pane empty.
    void bind(TDM1 &dm, const practice::FieldBinding &binding);

    QTextEdit *Re = nullptr;
    QPushButton *epEfTrBtn1 = nullptr;   // "关闭"

    void epEfTrBtn1Click();

protected:
    void showEvent(QShowEvent *event) override;
};
