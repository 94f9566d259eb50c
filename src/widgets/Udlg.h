// The program's own message dialog TFrmDlg and the routine ShowDlg, plus the
// handler that shows every prompt of the program for real (the dialog for
// ShowDlg, standard message boxes for the rest).
#pragma once

#include "platform/Seams.h"

#include <QDialog>

class QLabel;
class QMessageBox;
class QPushButton;
class QStackedWidget;

class TFrmDlg : public QDialog {
    Q_OBJECT
public:
    explicit TFrmDlg(QWidget *parent = nullptr);

    // Lays the dialog out for one call (caption, text, button set, icon
    // page, wording) without showing it.
    void prepare(const QString &caption, const QString &message, int kind, int page, const QString &wording);

    QLabel *Label1;            // title strip
    QStackedWidget *epNoteBook1;
    QLabel *fcLabel1;          // message
    QPushButton *fcShapeBtn1;  // left, result 1
    QPushButton *fcShapeBtn3;  // middle, result 3
    QPushButton *fcShapeBtn2;  // right, result 2
    int createdWidth() const { return m_createdWidth; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    int m_createdWidth;
};

// The one dialog, created at start-up and reused (created on first use when
// the program did not create it).
TFrmDlg *FrmDlg();
void createFrmDlg();
void destroyFrmDlg();

// Shows the program's message dialog through the prompt seam and returns
// the button pressed (1, 2 or 3).
int ShowDlg(const QString &caption, const QString &message, int kind, int page, const QString &wording);

// Sets up a standard message box for a prompt: caption, text, icon and
// buttons, "确定" and "取消" worded in Chinese.
void prepareMessageBox(QMessageBox &box, const seams::Prompt &p);

// Installs the handler that shows prompts for real.
void installRealPrompts();
