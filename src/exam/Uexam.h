// TFrmExam: the exam window.  A paper is answered here against a count-up
// clock, one question at a time with the answer controls of its type and an
// answer sheet of 110 numbered cells, and after marking the same window
// shows it for review (answer check, explanation, note, key points,
// voiding).
#pragma once

#include "exam/ExamAnswers.h"
#include "exam/ExamClock.h"
#include "exam/PaperGeneration.h"
#include "exam/UexamSheet.h"

#include <QDialog>
#include <QPixmap>
#include <QVector>
#include <array>

class AnswerAreaWidget;
class AnswerPanelWidget;
class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QPushButton;
class QSplitter;
class QStackedWidget;
class QTextEdit;
class QTimer;
class TDM1;

class TFrmExam : public QDialog {
    Q_OBJECT
public:
    explicit TFrmExam(QWidget *parent = nullptr);
    ~TFrmExam() override;

    // False when a cell picture could not be loaded; the message has been
    // shown and the program is ending: the window must not be used.
    bool resourcesLoaded() const { return m_resourcesLoaded; }

    // Takes the paper state (mode "new" or "old").
    void OpenPaper(const QString &tableName, const QString &title, const QString &mode, double score,
                   const QString &timeUsed);
    // Opens the paper table; 1 when it did.  On failure "无法打开试卷！" has
    // been shown and the program is ending; 0 is returned then.
    int LoadPaper(const exam::Progress &progress = {});

    const exam::PaperState &paper() const { return m_paper; }
    const QVector<exam::PaperQuestion> &questions() const { return m_rows; }
    // The question on screen, counted from 1 (0 before the first).
    int currentQuestion() const { return m_current; }
    bool BelowLeastMark = false;
    int SheetCellCount = 0;
    bool isPaused() const { return m_paused; }
    bool isClosed() const { return m_closed; }

    // The clock and its ticks (once a second while running).
    exam::ExamClock &clock() { return m_clock; }
    QTimer *KZTimeCounter1 = nullptr;

    // --- handlers ---
    void FormShow();
    bool FormCloseQuery();
    void fcBG_thChange(int cellNumber);   // a cell was selected
    void selectQuestion(int number);      // selects the cell of a question
    void JudgeAnswer(int question, int page, bool keepPicture);
    void PrepareAnswerControls(int page);
    void ShowQuestionBody();
    void KZTimeCounter1Timer();
    void epEfTrBtn1Click();    // 上一题
    void epEfTrBtn2Click();    // 下一题
    void epEfTrBtn3Click();    // 交卷 / 关闭
    void epEfTrBtn4Click();    // 解析
    void epEfTrBtn5Click();    // 笔记
    void epEfTrBtn6Click();    // 答案
    void epEfTrBtn8Click();    // 设置
    void epEfTrBtn9Click();    // 考点
    void epEfTrBtn10Click();   // 生成文档
    void epEfTrBtn11Click();   // 桌面
    void epEfTrBtn12Click();   // 本题作废 / 取消作废
    void epEfTrBtn13Click();   // 暂停考试 / 继续考试
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    // --- controls ---
    QLabel *epLabel2 = nullptr;    // heading: the paper title
    QLabel *Label5 = nullptr;      // question number
    QLabel *Label7 = nullptr;      // type heading
    QLabel *Label1 = nullptr;      // status line
    QLabel *DBText1 = nullptr;     // hidden: the question id
    QFrame *Panel1 = nullptr;      // question panel
    QSplitter *Splitter1 = nullptr;
    QTextEdit *Re1 = nullptr;
    QTextEdit *Re2 = nullptr;
    AnswerPanelWidget *Panel2 = nullptr;
    AnswerAreaWidget *AnswerArea = nullptr;
    QPushButton *epEfTrBtn1 = nullptr, *epEfTrBtn2 = nullptr, *epEfTrBtn3 = nullptr, *epEfTrBtn4 = nullptr,
                *epEfTrBtn5 = nullptr, *epEfTrBtn6 = nullptr, *epEfTrBtn7 = nullptr, *epEfTrBtn8 = nullptr,
                *epEfTrBtn9 = nullptr, *epEfTrBtn10 = nullptr, *epEfTrBtn11 = nullptr, *epEfTrBtn12 = nullptr,
                *epEfTrBtn13 = nullptr;
    QGroupBox *GroupBox1 = nullptr;           // 提示板
    QStackedWidget *Notebook_Time = nullptr;  // 答卷时 / 查卷时
    QLabel *epLb_time1 = nullptr;
    QLabel *epLb_time2 = nullptr;
    QLabel *Lb_zfs = nullptr;
    QWidget *fcBG_th = nullptr;               // the answer sheet
    QFrame *suiPanel1 = nullptr;              // pause cover
    PauseScrollText *ScrollText1 = nullptr;
    ExamSheetCell *cell(int number) const;    // 1..110

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum Picture { Up, Dw, Yes, No, Over, DwR, DwW, PictureCount };
    void buildControls();
    void layOutCompact();
    void FillAnswerSheet(int n);
    void setCellLook(ExamSheetCell *c, exam::CellLook look);
    void moveTo(int question);
    exam::PaperQuestion *row(int question);
    void closeAnswerPanel();
    void placeOverlays();
    void submitWhileAnswering();
    void timeUp();
    void markPaper();
    void closeWindow();
    void setPaused(bool paused);
    void showStatus(const QString &text);
    int currentPage() const;

    TDM1 &m_dm;
    bool m_resourcesLoaded = false;
    bool m_firstShow = true;
    bool m_closed = false;
    bool m_paused = false;
    bool m_ending = false;   // submit, time-up or marking under way
    exam::PaperState m_paper;
    QVector<exam::PaperQuestion> m_rows;
    exam::TypeTable m_types;
    int m_current = 0;
    int m_selectedCell = 0;
    exam::ExamClock m_clock;
    std::array<QPixmap, PictureCount> m_pictures;
    QVector<ExamSheetCell *> m_cells;
    QButtonGroup *m_sheetGroup = nullptr;
    bool m_prevWasEnabled = false;
    bool m_nextWasEnabled = false;
    exam::Progress m_progress;
};
