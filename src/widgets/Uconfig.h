// TFrmConfig, "系统设置": background music (mode 0: the on/off switch and
// the tune list) and answer times per question type of the current subject
// (mode 1: one minutes box per row of the type table, stored on closing).
#pragma once

#include <QDialog>

class OnOffSwitch;
class QComboBox;
class QLabel;
class QPushButton;
class QScrollArea;
class QWidget;

class TFrmConfig : public QDialog {
    Q_OBJECT
public:
    explicit TFrmConfig(QWidget *parent = nullptr);

    // The answer-time layout, applied by the opener of mode 1 before showing:
    // the music controls hidden, the list and the close button moved up.
    void applyAnswerTimeLayout();

    void FormShow();
    // Mode 1 stores every box into the type table and the answer times.
    bool FormCloseQuery();
    void RxSwitch1On();
    void RxSwitch1Off();
    void FlatComboBox1Change(int index);

    // The number of answer-time rows made when the window showed.
    int rowCount() const { return m_rowCount; }

    QLabel *Label1 = nullptr;             // 背景音乐
    OnOffSwitch *RxSwitch1 = nullptr;
    QLabel *Label5 = nullptr;             // 声音列表
    QComboBox *FlatComboBox1 = nullptr;   // 乐曲01..乐曲06
    QLabel *Label4 = nullptr;             // 答题时间设置
    QScrollArea *ScrollBox1 = nullptr;
    QPushButton *epFocusButton3 = nullptr;   // 关闭

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void makeRows();
    QWidget *m_rows = nullptr;   // the scroll box's content
    int m_rowCount = 0;
    bool m_shown = false;
    bool m_closing = false;
};

// The settings window for a mode (0 music, 1 answer times), ready to show:
// ConfigMode set and, for mode 1, the answer-time layout applied.
TFrmConfig *createSettingsWindow(QWidget *owner, int mode);

// Sets the settings window's mode, opens it modally over owner and
// releases it after it closes.  Every "设置" button opens mode 0.
void openSettings(QWidget *owner, int mode = 0);
