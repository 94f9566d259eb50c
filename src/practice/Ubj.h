// The note window TFrmBj ("笔记"): the user's note on a question, stored
// with the question row every time the window closes.  On closing it
// leaves NoteHasContent for its caller's note button.
#pragma once

#include "practice/FieldBinding.h"

#include <QDialog>
#include <QVariant>

class QPlainTextEdit;
class QPushButton;
class TDM1;

class TFrmBj : public QDialog {
    Q_OBJECT
public:
    explicit TFrmBj(QWidget *parent = nullptr);

    // Binds the text box to the field (practice: tab_answ / A14 of the
    // question, exam: the paper row's A14) and shows its current text.
    // Throws store::DbError when the row cannot be read.
    void bind(TDM1 &dm, const practice::FieldBinding &binding);

    // The note as it stands (after closing: as it was saved).
    QString text() const;
    // True when the stored note is NULL (bound to NULL and left unchanged).
    bool isNull() const;
    bool saved() const { return m_saved; }

    QPlainTextEdit *DBMemo1 = nullptr;
    QPushButton *epEfTrBtn1 = nullptr;   // "关  闭"

    void epEfTrBtn1Click();

    void done(int result) override;

private:
    TDM1 *m_dm = nullptr;
    practice::FieldBinding m_binding;
    QVariant m_original;
    bool m_saved = false;
};
