// The question edit window TfrmTedit ("试题修改"): changes the question the
// practice window shows (body, explanation, the material of a
// sub-question, option count, answer, type and key points) and marks it as
// edited.  The opener stops its question timer while the window is open;
// after QDialog::Accepted, question() holds what was saved.
#pragma once

#include "authoring/QuestionEdit.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QuestionFormWidget;
class RichEdit;

class TfrmTedit : public QDialog {
    Q_OBJECT
public:
    // Loads the question; loaded() is false when it has no row.
    explicit TfrmTedit(const QString &questionId, QWidget *parent = nullptr);

    bool loaded() const { return m_loaded; }
    const authoring::EditedQuestion &question() const { return m_question; }

    QuestionFormWidget *form = nullptr;
    RichEdit *RxDBRichEdit3 = nullptr;   // material of a sub-question
    RichEdit *RxDBRichEdit1 = nullptr;   // body
    RichEdit *RxDBRichEdit2 = nullptr;   // explanation
    QSpinBox *SE_Num = nullptr;
    QLineEdit *Edit1 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QListWidget *ListBox1 = nullptr;
    QPushButton *BtnAddFg = nullptr;
    QPushButton *SpeedButton2 = nullptr;   // 使用说明
    QPushButton *SpeedButton3 = nullptr;   // 取消
    QPushButton *SpeedButton4 = nullptr;   // 保存

    void SpeedButton2Click();
    void SpeedButton3Click();
    void SpeedButton4Click();

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormShow();

    authoring::EditedQuestion m_question;
    QStringList m_before;   // key points listed when the question was loaded
    bool m_loaded = false;
    bool m_shown = false;
};
