// The question entry window TFrmInPut ("试题录入"): the user writes
// questions of their own into the chapter chosen in the chapter window.
// Each save numbers the question, stores it with its counters, clears the
// inputs for the next one and counts it in AddedCount.
#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;
class QPushButton;
class QuestionFormWidget;
class RichEdit;
class QSpinBox;
class QLineEdit;
class QComboBox;
class QListWidget;

class TFrmInPut : public QDialog {
    Q_OBJECT
public:
    explicit TFrmInPut(QWidget *parent = nullptr);

    QString TargetChapter;   // C1 of the chapter chosen
    int AddedCount = 0;      // questions saved since the window was created

    QLabel *Lb_cap = nullptr;   // "试题录入 [" + chapter name + "]", stays hidden
    QuestionFormWidget *form = nullptr;
    RichEdit *Re1 = nullptr;          // body
    RichEdit *Re2 = nullptr;          // explanation
    QSpinBox *SE_Num = nullptr;
    QLineEdit *Edit1 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QListWidget *ListBox1 = nullptr;
    QPushButton *BtnAddFg = nullptr;
    // Hot areas over the background picture.
    QPushButton *SpeedButton1 = nullptr;   // 设置
    QPushButton *SpeedButton2 = nullptr;   // 使用说明
    QPushButton *SpeedButton3 = nullptr;   // 清除
    QPushButton *SpeedButton4 = nullptr;   // 保存
    QPushButton *SpeedButton6 = nullptr;   // close, disabled
    QPushButton *SpeedButton7 = nullptr;   // 关闭
    QPushButton *BtnImport = nullptr;      // 导入...
    QPushButton *BtnExport = nullptr;      // 导出...
    // The same handlers on hidden buttons.
    QPushButton *epBtn_Save = nullptr, *epBtn_Clear = nullptr, *epBtn_help = nullptr, *epBtn_Config = nullptr,
                *epBtn_Close = nullptr;

    void epBtn_SaveClick();
    void epBtn_ClearClick();
    void epBtn_helpClick();
    void epBtn_ConfigClick();
    void SpeedButton6Click();   // closing
    void BtnImportClick();
    void BtnExportClick();

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void FormShow();
    bool m_shown = false;
    QPixmap m_background;   // pic/bg_input_<mode>.png when beside the program
};
