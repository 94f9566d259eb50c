// TFrmCheck: the paper records window ("查阅试卷").  Lists every kept mock
// paper newest first with its score and time used, shows how many exams
// were sat, how many passed and the average score, reopens a paper for
// review in the exam window, and deletes papers.
#pragma once

#include "exam/PaperRecords.h"

#include <QDialog>
#include <QVector>

class QLabel;
class QLCDNumber;
class QPushButton;
class QTableWidget;
class TDM1;

class TFrmCheck : public QDialog {
    Q_OBJECT
public:
    explicit TFrmCheck(QWidget *parent = nullptr);

    void FormShow();
    void epEfTrBtn1Click();    // review the selected paper
    void SpeedButton4Click();  // delete the selected paper
    void epEfButton3Click();   // system settings
    void epEfTrBtn2Click();    // close
    bool FormCloseQuery();

    // The papers as listed (row i of the grid).
    const QVector<exam::PaperRecord> &records() const { return m_records; }
    bool reviewEnabled() const { return m_reviewEnabled; }

    QTableWidget *DBGrid1 = nullptr;
    QLCDNumber *epNumPanel1 = nullptr;   // 考试次数
    QLCDNumber *epNumPanel2 = nullptr;   // 及格次数
    QLCDNumber *epNumPanel3 = nullptr;   // 平均成绩
    QLabel *Lbtip = nullptr;
    QPushButton *SpeedButton1 = nullptr;  // settings
    QPushButton *SpeedButton2 = nullptr;  // review
    QPushButton *SpeedButton3 = nullptr;  // close
    QPushButton *SpeedButton4 = nullptr;  // delete

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void fillGrid();
    int selectedRow() const;

    TDM1 &m_dm;
    QVector<exam::PaperRecord> m_records;
    bool m_reviewEnabled = false;
    bool m_reviewing = false;
};
