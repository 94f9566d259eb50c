// The practice window TFrmLxxt ("练习新题"): the questions chosen in the
// chapter window, one at a time, answered in the answer area and judged as
// soon as the user leaves them; a board of twenty question buttons per
// group, a type board, a per-question time limit, a count-up clock, voiding,
// notes, explanations and related key points.
//
// The opener sets shell().PracticeSql, creates the window, calls
// LoadQuestionList() and shows it modally only when that answers true.
#pragma once

#include "practice/AnswerLogic.h"
#include "practice/PracticeRun.h"
#include "practice/QuestionGroups.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QPixmap>
#include <QTimer>
#include <array>
#include <memory>

class AnswerAreaWidget;
class AnswerPanelWidget;
class PictureButton;
class QGroupBox;
class QGridLayout;
class QLabel;
class QProgressBar;
class QPushButton;
class QSplitter;
class QTextEdit;
class QWidget;

// What sets one practice window apart from another.  Chapter practice runs
// on the defaults; key-point practice (TFrmRuleLxxt) on its own set.  Every
// rule not named here is shared by both.
struct PracticeOptions {
    QString caption = QStringLiteral("练习新题");
    bool hintFromChapter = true;     // showing puts ChapterCaption on the hint board
    QString voidCaption = QStringLiteral("题目作废");   // void button of a question not voided
    bool statusNeedsRows = false;    // status line set only while the list has rows
    bool editedMark = true;          // "本题被您修改过"
    bool editButton = true;          // "修改本题"
    bool explanationButton = true;   // "解析"
    QString noAnswerText = QStringLiteral("请先做出答案！");
    QString matchingLabel = QStringLiteral("综\r\n合\r\n分\r\n析");   // answer page 5
    QString subjectiveLabel;         // fixed label of answer page 4; empty: follows the type filter
    int panelHeight = 0;             // comparison panel height; 0: as high as the body
};

class TFrmLxxt : public QDialog {
    Q_OBJECT
public:
    explicit TFrmLxxt(QWidget *parent = nullptr, const PracticeOptions &options = PracticeOptions());
    ~TFrmLxxt() override;

    // Starts the run on shell().PracticeSql; false when nothing is selected
    // or the board pictures are missing (then the program is ending).
    // Database errors travel on to the opener as store::DbError.
    bool LoadQuestionList();
    // LoadQuestionList for an opener that runs the window: Ready when
    // there are questions to practise, Empty when none are selected,
    // Refused when the board pictures are missing (the refusal has been
    // shown and the program is ending).
    enum class Start { Ready, Empty, Refused };
    Start prepareRun();
    // True once a picture beside the program could not be read: the
    // refusal has been shown and the program is ending.
    bool resourcesMissing() const { return m_resourcesMissing; }

    practice::PracticeRun &run() { return *m_run; }
    const practice::QuestionGroups &groups() const { return m_groups; }
    int currentRecord() const { return m_current; }
    // The clock's elapsed time as h:mm:ss.
    QString elapsedText() const;
    const PracticeOptions &options() const { return m_options; }

    // --- controls (object names as in the program) ---
    QPushButton *epEfTrBtn1 = nullptr;    // 上一题
    QPushButton *epEfTrBtn2 = nullptr;    // 下一题
    QPushButton *epEfTrBtn3 = nullptr;    // 完成
    QPushButton *epEfTrBtn4 = nullptr;    // 解析
    QPushButton *epEfTrBtn5 = nullptr;    // 笔记 / 有内容
    QPushButton *epEfTrBtn6 = nullptr;    // 答案 / 返回
    QPushButton *epEfTrBtn7 = nullptr;    // 桌面
    QPushButton *epEfTrBtn8 = nullptr;    // 设置
    QPushButton *epEfTrBtn9 = nullptr;    // 考点
    QPushButton *epEfTrBtn10 = nullptr;   // 题目作废 / 取消作废
    QPushButton *epEfTrBtn11 = nullptr;   // 修改本题
    QPushButton *epEfTrBtn99 = nullptr;   // 关闭
    QPushButton *FlatSpeedButton1 = nullptr;   // <-上一组
    QPushButton *FlatSpeedButton2 = nullptr;   // 下一组->
    AnswerAreaWidget *answerArea = nullptr;
    AnswerPanelWidget *Panel2 = nullptr;
    QTextEdit *Re1 = nullptr;   // upper pane: body, or the material
    QTextEdit *Re2 = nullptr;   // lower pane: the sub-question
    QSplitter *Splitter1 = nullptr;
    QProgressBar *Gauge1 = nullptr;   // time gauge 0..100
    QTimer *Timer1 = nullptr;         // per-question timer
    QTimer *KZTimeCounter1 = nullptr; // clock tick
    QLabel *Lb_time = nullptr;        // "0:00:00"
    QLabel *Lb_hint = nullptr;        // hint board text
    QLabel *Label1 = nullptr;         // status (voided, user-added)
    QLabel *Lb_edited = nullptr;      // "本题被您修改过"
    QLabel *Lb_pos = nullptr;         // position on the board
    QLabel *Lb_occur = nullptr;       // occurrence number
    QLabel *Lb_groups = nullptr;      // G
    QLabel *Lb_total = nullptr;       // T
    QLabel *Lb_group = nullptr;       // g
    QWidget *fcBG_tx = nullptr;       // type board
    QWidget *fcBG_th = nullptr;       // question board
    QVector<PictureButton *> typeButtons;   // [0] is "任意"
    QVector<int> typeCodes;                 // code of each type button
    std::array<PictureButton *, 20> questionButtons{};

    // --- handlers ---
    void epEfTrBtn1Click();   // previous question
    void epEfTrBtn2Click();   // next question
    void epEfTrBtn3Click();   // judge now
    void epEfTrBtn4Click();   // explanation
    void epEfTrBtn5Click();   // note
    void epEfTrBtn6Click();   // comparison panel
    void epEfTrBtn7Click();   // desktop
    void epEfTrBtn8Click();   // settings
    void epEfTrBtn9Click();   // related key points
    void epEfTrBtn10Click();  // void / restore
    void epEfTrBtn11Click();  // edit
    void FlatSpeedButton1Click();
    void FlatSpeedButton2Click();
    void fcBG_txChange(int typeButton);
    void fcBG_thChange(int questionButton);
    void Timer1Timer();
    void KZTimeCounter1Timer();

    // Judging caller kinds.
    enum JudgeKind { LeavingQuestion = 0, Finished = 1, Silent = 2 };
    void JudgeAnswer(int record, int page, int first, int last, JudgeKind kind);

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void layoutForScreenMode();
    void FormShow();
    bool loadPicture(const QString &relative, QPixmap &out);
    void refuseMissingPictures();
    void FillQuestionButtons(int mode);
    void pressQuestionButton(int button);
    void pressTypeButton(int index);
    void ShowQuestion(int oldRecord, int record);
    void ShowQuestionBody(const QString &id);
    void loadContent(const QString &id);
    void PrepareAnswerControls(const practice::QuestionRow &row);
    void setAfterAnswerButtons(const practice::QuestionRow &row);
    void setQuestionUp(int button, practice::Mark mark);
    void setQuestionDown(int button, practice::Mark mark);
    void setMaterialPane(bool open);
    void positionPanel();
    void closeStudy();
    bool formKeyDown(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void orderTabStops();
    int panelHeight() const;

    const PracticeOptions m_options;
    std::unique_ptr<practice::PracticeRun> m_run;
    practice::QuestionGroups m_groups;
    practice::QuestionContent m_content;
    bool m_contentFailed = false;
    int m_current = 0;
    int m_typeIndex = -1;   // type button in force
    QString m_firstId;
    std::array<QPixmap, 3> m_upPictures;     // neutral, right, wrong
    std::array<QPixmap, 3> m_downPictures;
    QPixmap m_typeUp, m_typeDown;
    bool m_resourcesMissing = false;
    bool m_shown = false;
    bool m_closed = false;
    QElapsedTimer m_clock;
    QWidget *m_bodyBox = nullptr;
    QWidget *m_animation = nullptr;
    QWidget *m_right = nullptr;
    QGridLayout *m_typeGrid = nullptr;
};
