// The chapter window TFrmkmmc ("科目名称"): the chapters of the book with
// the user's progress in each, totals over the whole book, and the start of
// chapter practice in three kinds (new questions, wrong questions, review)
// or by double-clicking a chapter.
#pragma once

#include "practice/PracticeSelection.h"

#include <QDialog>
#include <QPixmap>

class QLabel;
class QLCDNumber;
class QPushButton;
class QStandardItemModel;
class QTableView;

class TFrmkmmc : public QDialog {
    Q_OBJECT
public:
    explicit TFrmkmmc(QWidget *parent = nullptr);

    QTableView *DBGrid1 = nullptr;
    QLCDNumber *epNum_all = nullptr;   // 总习题数
    QLCDNumber *epNum_ok = nullptr;    // 已做题道次
    QLCDNumber *epNum_Err = nullptr;   // 做错题道次
    QLabel *Lb_fs = nullptr;           // 综合成绩
    QPushButton *SpeedButton1 = nullptr;   // 练习新题 (tag 1)
    QPushButton *SpeedButton2 = nullptr;   // 错题重做 (tag 2)
    QPushButton *SpeedButton3 = nullptr;   // 习题重温 (tag 3)
    QPushButton *SpeedButton4 = nullptr;   // 系统设置
    QPushButton *SpeedButton5 = nullptr;   // 录入试题
    QPushButton *SpeedButton6 = nullptr;   // 关闭

    // The code of the chapter last chosen for practice or entry.
    QString rememberedChapter() const { return m_remembered; }
    // The chapter code of the selected grid row (empty when none).
    QString selectedChapter() const;
    // Selects the grid row of a chapter code; false when it is not listed.
    bool locateChapter(const QString &code);
    // True while the window is shown (not hidden behind practice).
    bool shownMark() const { return m_shownMark; }
    // The name (C2) of a listed chapter code.
    QString chapterName(const QString &code) const;

    void epEfButton1Click(int tag);   // practice kinds 1, 2, 3
    void DBGrid1DblClick();
    void epEfButton6Click();          // question entry
    void epEfButton5Click();          // settings
    void SpeedButton6Click();

    // Runs each time the window becomes visible again.
    void FormShow();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void buildUi();
    void layoutForScreenMode();
    void loadChapters();
    void startPractice(const QString &sql, const QString &emptyText, int emptyPicture);

    QStandardItemModel *m_model = nullptr;
    QString m_remembered;
    bool m_shownMark = false;
    bool m_inPractice = false;
    QWidget *m_buttonColumn = nullptr;
    QPixmap m_background;   // pic/bg_kmmc_<mode>.png when beside the program
};
