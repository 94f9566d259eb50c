// TFrmEset: the exam settings window.  Edits the minimum score for keeping
// a marked paper and the time allowed for a paper (in minutes), with a
// "默认" button that resets the ticked settings.
#pragma once

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class TDM1;

class TFrmEset : public QDialog {
    Q_OBJECT
public:
    explicit TFrmEset(QWidget *parent = nullptr);

    void FormShow();
    void suiNumberEdit1Change();   // checks the minimum score
    void suiCheckBox1Click();      // "默认" enabled while a box is ticked
    void suiButton1Click();        // 默认
    void suiButton2Click();        // 关闭: save and close

    QLineEdit *suiNumberEdit1 = nullptr;   // minimum score
    QLineEdit *suiNumberEdit2 = nullptr;   // minutes
    QCheckBox *suiCheckBox1 = nullptr;     // 保留试卷最低分数
    QCheckBox *suiCheckBox2 = nullptr;     // 模拟考试答题时间
    QPushButton *suiButton1 = nullptr;     // 默认
    QPushButton *suiButton2 = nullptr;     // 关闭

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int totalScore();
    TDM1 &m_dm;
    bool m_checking = false;
};
