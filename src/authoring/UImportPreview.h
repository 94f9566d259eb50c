// The preview of an import ("导入试题"): what was read from the file before
// anything is written, the questions by type, those the chapter already
// has, and every problem with its line; "导入" saves, "关闭" leaves the
// bank as it was.
#pragma once

#include "authoring/QuestionImport.h"

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

class TFrmImportPreview : public QDialog {
    Q_OBJECT
public:
    TFrmImportPreview(const QString &fileName, const authoring::ImportPreview &preview, QWidget *parent = nullptr);

    QLabel *LbSummary = nullptr;
    QPlainTextEdit *MemoProblems = nullptr;
    QPushButton *BtnImportOk = nullptr;   // 导入
    QPushButton *BtnClose = nullptr;      // 关闭

    void reject() override;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
};
