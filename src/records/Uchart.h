// Tfrmchart: the score chart window ("成绩统计图").  Three charts of the
// chapters' counters: answers given and wrong per chapter, how the bank's
// questions spread over the chapters, and how much of each chapter is
// done; with legend and style choices, printing and saving as a bitmap.
#pragma once

#include "records/StudyRecords.h"

#include <QDialog>
#include <QPixmap>
#include <functional>

class QBarSeries;
class QBarSet;
class QButtonGroup;
class QChart;
class QChartView;
class QCheckBox;
class QGroupBox;
class QLabel;
class QPieSeries;
class QPushButton;
class QStackedWidget;
class BarMarks;
class ChartNote;
class PieLegend;
class ProgressBars;

class Tfrmchart : public QDialog {
    Q_OBJECT
public:
    explicit Tfrmchart(QWidget *parent = nullptr);

    void FormShow();
    void RadioGroup1Click(int item);   // chart type
    void RadioGroup2Click(int item);   // legend position
    void CheckBox1Click(bool on);      // 3-D look
    void CheckBox2Click(bool on);      // legend
    void CheckBox3Click(bool on);      // marks
    void epFocusButton1Click();        // print
    void epFocusButton3Click();        // save as bitmap
    void epFocusButton2Click();        // close
    void epEfTrBtn1Click();            // settings

    // The chart on the page shown.
    QChartView *shownChart() const;
    // Whether a chart wears the raised look.
    bool raised(QChartView *view) const;

    // Outside facilities, replaceable for tests: whether a printer is
    // installed, printing a chart on the default printer (false on
    // failure), and the save dialog (empty when cancelled).
    std::function<bool()> printerPresent;
    std::function<bool(QChartView *)> printChart;
    std::function<QString()> askFileName;

    QStackedWidget *Notebook1 = nullptr;
    QChartView *DBChart1 = nullptr;   // frequency
    QChartView *DBChart2 = nullptr;   // distribution
    QChartView *DBChart3 = nullptr;   // progress
    QBarSet *doneSet = nullptr;       // 已做题次
    QBarSet *wrongSet = nullptr;      // 做错题次
    QBarSeries *frequencySeries = nullptr;
    QPieSeries *pieSeries = nullptr;
    QBarSeries *progressSeries = nullptr;
    QBarSet *progressSet = nullptr;
    ProgressBars *progressBars = nullptr;   // the coloured progress bars
    BarMarks *frequencyMarks = nullptr;     // values over 做错题次
    BarMarks *progressMarks = nullptr;      // values over 进度
    PieLegend *pieLegend = nullptr;         // the chapters' names by their colours
    ChartNote *frequencyNote = nullptr;     // shown when nothing is answered yet
    ChartNote *pieNote = nullptr;
    ChartNote *progressNote = nullptr;
    QLabel *totalCaption = nullptr;   // 习题总数:
    QLabel *totalValue = nullptr;
    QGroupBox *RadioGroup1 = nullptr;
    QGroupBox *RadioGroup2 = nullptr;
    QButtonGroup *typeItems = nullptr;
    QButtonGroup *legendItems = nullptr;
    QCheckBox *CheckBox1 = nullptr;
    QCheckBox *CheckBox2 = nullptr;
    QCheckBox *CheckBox3 = nullptr;
    QPushButton *epFocusButton1 = nullptr;
    QPushButton *epFocusButton2 = nullptr;
    QPushButton *epFocusButton3 = nullptr;
    QPushButton *epEfTrBtn1 = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void fillCharts(const QVector<records::ChapterFigures> &rows);
    void applyLook(QChartView *view, bool raised);
    void attachPage(QChartView *view);
    void showTip(records::ChartKind kind, int chapter, bool on);
    int totalTop() const;

    bool m_filled = false;
    QVector<records::ChapterFigures> m_rows;
    QVector<int> m_progressRows;   // the chapter row of each progress bar
    qint64 m_allQuestions = 0;
    QHash<QChartView *, bool> m_raised;
};
