// TFrmRz: the study log window ("日志").  One read-only row per day, newest
// first, with the totals over all days.
#pragma once

#include <QDialog>
#include <QPixmap>

class QLabel;
class QPushButton;
class QSqlQueryModel;
class QTableView;

class TFrmRz : public QDialog {
    Q_OBJECT
public:
    explicit TFrmRz(QWidget *parent = nullptr);

    void FormShow();
    void SpeedButton1Click();   // system settings
    void SpeedButton3Click();   // close

    QTableView *DBGrid1 = nullptr;
    QLabel *countGiven = nullptr;    // 已做习题（道次）
    QLabel *countWrong = nullptr;    // 做错习题（道次）
    QLabel *overallScore = nullptr;  // 综合成绩
    QPushButton *SpeedButton1 = nullptr;
    QPushButton *SpeedButton2 = nullptr;
    QPushButton *SpeedButton3 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QSqlQueryModel *m_model = nullptr;
    QPixmap m_background;
};
