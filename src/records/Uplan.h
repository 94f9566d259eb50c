// TFrmplan: the study plan window ("学习计划").  Counts down the days to the
// examination and keeps the daily study target (answers or minutes per
// day) that the "quit" command compares today's study with.
#pragma once

#include "records/StudyRecords.h"

#include "widgets/NumberBoxWidget.h"

#include <QDialog>
#include <QPixmap>

class QButtonGroup;
class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;

class TFrmplan : public QDialog {
    Q_OBJECT
public:
    explicit TFrmplan(QWidget *parent = nullptr);

    void FormShow();
    void SpeedButton1Click();          // "设定" / "保存"
    void SpeedButton2Click();          // close
    void SeSkinRadioGroup1Click(int item);
    bool FormCloseQuery();

    bool editing() const;
    // The radio item chosen (-1 for none).
    int selectedItem() const;

    QLabel *Label1 = nullptr;     // the days
    QLabel *epLabel1 = nullptr;   // the countdown's caption
    QLabel *epLabel2 = nullptr;   // "天"
    QLabel *Label2 = nullptr;
    QDateEdit *DateEdit1 = nullptr;
    QGroupBox *SeSkinRadioGroup1 = nullptr;
    QRadioButton *item0 = nullptr;   // by answers
    QRadioButton *item1 = nullptr;   // by minutes
    NumberBox *suiNumberEdit1 = nullptr;   // answers per day
    NumberBox *suiNumberEdit2 = nullptr;   // minutes per day
    QPushButton *SpeedButton1 = nullptr;
    QPushButton *SpeedButton2 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void placeNumberBoxes();
    void showCountdown(const records::CountdownView &v);
    void setItem(int item);

    QButtonGroup *m_items = nullptr;
    QPixmap m_background;
};
