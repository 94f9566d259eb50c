// The exam window: answering a paper against the clock, marking it, and
// reviewing it.
#include "exam/Uexam.h"
#include "exam/UexamNames.h"

#include "common/CommonRoutines.h"
#include "widgets/ModalGui.h"
#include "platform/Seams.h"
#include "common/ShellState.h"
#include "widgets/Udlg.h"
#include "exam/ExamSettings.h"
#include "exam/ExamWindowRules.h"
#include "exam/Marking.h"
#include "exam/UexamLinks.h"
#include "exam/PaperExport.h"
#include "exam/UexamProgress.h"
#include "practice/AnswerAreaWidget.h"
#include "practice/AnswerPanelWidget.h"
#include "practice/PracticeRun.h"
#include "practice/PracticeWindowRules.h"
#include "store/dm.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTimer>

using exam::CellLook;

namespace {

const char *const PictureFiles[] = {"pic/vloxup.bmp",   "pic/vloxdw.bmp",   "pic/vloxyes.bmp", "pic/vloxno.bmp",
                                    "pic/vloxover.bmp", "pic/vloxdw_r.bmp", "pic/vloxdw_w.bmp"};

} // namespace

// --- the window --------------------------------------------------------------

TFrmExam::TFrmExam(QWidget *parent) : QDialog(parent), m_dm(*DM1)
{
    setObjectName(QStringLiteral("FrmExam"));
    setWindowTitle(QStringLiteral("正在答卷"));
    BelowLeastMark = false;
    buildControls();
    SheetCellCount = int(m_cells.size());
    nameExamControls(this);

    m_resourcesLoaded = true;
    for (int i = 0; i < PictureCount; ++i) {
        m_pictures[i] = QPixmap(seams::appDir() + QLatin1String(PictureFiles[i]));
        if (m_pictures[i].isNull())
            m_resourcesLoaded = false;
    }
    if (!m_resourcesLoaded) {
        exam::failAndEnd(QStringLiteral("无法提取资源文件！"));
        return;
    }
    for (ExamSheetCell *c : m_cells)
        setCellLook(c, CellLook::Normal);
}

TFrmExam::~TFrmExam() = default;

ExamSheetCell *TFrmExam::cell(int number) const
{
    return number >= 1 && number <= m_cells.size() ? m_cells.at(number - 1) : nullptr;
}

exam::PaperQuestion *TFrmExam::row(int question)
{
    return question >= 1 && question <= m_rows.size() ? &m_rows[question - 1] : nullptr;
}

void TFrmExam::setCellLook(ExamSheetCell *c, CellLook look)
{
    switch (look) {
    case CellLook::Normal:
        c->setPictures(m_pictures[Up], m_pictures[Dw]);
        break;
    case CellLook::Right:
        c->setPictures(m_pictures[Yes], m_pictures[DwR]);
        break;
    case CellLook::Wrong:
        c->setPictures(m_pictures[No], m_pictures[DwW]);
        break;
    case CellLook::Answered:
        c->setReleasedPicture(m_pictures[Over]);
        break;
    }
    c->look = look;
}

void TFrmExam::OpenPaper(const QString &tableName, const QString &title, const QString &mode, double score,
                         const QString &timeUsed)
{
    m_paper.tableName = tableName;
    m_paper.title = title;
    m_paper.mode = mode;
    m_paper.score = score;
    m_paper.timeUsed = timeUsed;
}

int TFrmExam::LoadPaper(const exam::Progress &progress)
{
    m_progress = progress;
    try {
        m_rows = exam::LoadPaper(m_dm, m_paper, progress);
    } catch (const exam::PaperError &e) {
        m_rows.clear();
        exam::failAndEnd(e.message());
        return 0;
    }
    // Headings come from the current subject's type table.
    const int subject = shell().CurSubject;
    if (subject >= 1 && subject <= 5)
        m_dm.setTypeTable(subject);
    try {
        m_types = exam::readTypeTable(m_dm);
    } catch (const std::exception &) {
        m_types.clear();
    }
    m_current = 0;
    return 1;
}

void TFrmExam::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // The window is shown once; marking turns it to review in place and
    // runs the showing steps itself.  A window restored after "桌面" keeps
    // its clock and its question.
    if (m_firstShow && !event->spontaneous())
        FormShow();
}

void TFrmExam::FormShow()
{
    if (m_firstShow) {
        m_firstShow = false;
        suiPanel1->hide();
        epEfTrBtn9->setVisible(true);
        if (shell().compactScreen())
            layOutCompact();
    }
    epLabel2->setText(m_paper.title);
    Splitter1->setHandleWidth(0);
    Splitter1->setSizes({qMax(1, Panel1->height()), 0});

    const bool review = !m_paper.isNew();
    const exam::ExamScreen screen = exam::examScreen(!review);
    epEfTrBtn3->setEnabled(screen.submitEnabled);
    epEfTrBtn10->setEnabled(screen.exportEnabled);
    epEfTrBtn13->setVisible(screen.pauseVisible);
    AnswerArea->setPagesEnabled(screen.answerPagesEnabled);
    setWindowTitle(screen.caption);
    Notebook_Time->setCurrentIndex(screen.timePage);
    if (review) {
        epEfTrBtn4->setVisible(true);
        epEfTrBtn5->setVisible(true);
        epEfTrBtn6->setVisible(true);
        epLb_time2->setText(m_paper.timeUsed);
        Lb_zfs->setText(exam::scoreText(m_paper.score));
    } else {
        epEfTrBtn4->setEnabled(false);
        epEfTrBtn6->setEnabled(false);
        epEfTrBtn9->setEnabled(false);
        epEfTrBtn13->setText(exam::pauseCaption(false));
    }
    epEfTrBtn5->setEnabled(true);
    closeAnswerPanel();
    FillAnswerSheet(int(m_rows.size()));
    m_clock.reset();
    epLb_time1->setText(m_clock.elapsedText());
    if (review) {
        KZTimeCounter1->stop();
    } else {
        m_clock.start();
        KZTimeCounter1->start();
    }
}

void TFrmExam::FillAnswerSheet(int n)
{
    const bool review = !m_paper.isNew();
    m_sheetGroup->setExclusive(false);
    for (ExamSheetCell *c : m_cells) {
        c->setChecked(false);
        const exam::SheetCellView view = exam::sheetCellView(c->number(), n);
        c->setEnabled(view.enabled);
        c->tag = view.tag;
        setCellLook(c, view.tag > 0 && review ? exam::reviewLook(m_rows.at(view.tag - 1)) : CellLook::Normal);
    }
    m_sheetGroup->setExclusive(true);
    m_selectedCell = 0;
    selectQuestion(1);
}

void TFrmExam::selectQuestion(int number)
{
    ExamSheetCell *c = cell(number);
    if (!c || !c->isEnabled())
        return;
    c->setChecked(true);
    if (number != m_selectedCell)
        fcBG_thChange(number);
}

void TFrmExam::closeAnswerPanel()
{
    if (epEfTrBtn6->text() == QStringLiteral("返回"))
        epEfTrBtn6->setText(QStringLiteral("答案"));
    Panel2->closeNow();
}

void TFrmExam::fcBG_thChange(int cellNumber)
{
    DBText1->clear();
    if (epEfTrBtn6->text() == QStringLiteral("返回"))
        closeAnswerPanel();
    ExamSheetCell *c = cell(cellNumber);
    if (!c || c->tag == 0)
        return;
    const int previous = m_selectedCell;
    m_selectedCell = cellNumber;
    Label5->setText(c->text());

    if (m_paper.isNew() && previous > 0) {
        if (ExamSheetCell *p = cell(previous)) {
            if (exam::PaperQuestion *r = row(p->tag))
                JudgeAnswer(p->tag, TypeToPage(r->a13), false);
        }
    }

    const int a = c->tag;
    const exam::QuestionSteps steps = exam::questionSteps(a, int(m_rows.size()));
    epEfTrBtn1->setEnabled(steps.previous);
    epEfTrBtn2->setEnabled(steps.next);
    moveTo(a);
    exam::PaperQuestion *r = row(a);
    AnswerArea->showPageForType(r->a13);
    PrepareAnswerControls(TypeToPage(r->a13));
    ShowQuestionBody();

    Label1->clear();
    const exam::VoidButtonView voidButton = exam::voidButtonView(m_paper.isNew(), r->f1 == 1);
    epEfTrBtn12->setText(voidButton.caption);
    epEfTrBtn12->setEnabled(voidButton.enabled);
    if (!m_paper.isNew()) {
        epEfTrBtn9->setEnabled(r->hasKeyPoints());
        showStatus(exam::reviewStatusText(*r));
    }
    DBText1->setText(r->a1);
}

void TFrmExam::moveTo(int question) { m_current = question; }

void TFrmExam::PrepareAnswerControls(int page)
{
    exam::PaperQuestion *r = row(m_current);
    if (!r)
        return;
    Label7->setText(exam::TypeHeading(m_types, r->a13));
    if (!m_paper.isNew()) {
        epEfTrBtn6->setEnabled(!practice::isSelfAssessed(r->a13));
        epEfTrBtn4->setEnabled(r->hasJx);
        epEfTrBtn9->setEnabled(r->hasKeyPoints());
    }
    epEfTrBtn5->setText(practice::noteCaptionFor(r->a14));
    AnswerArea->restore(page, r->a2_1, r->e2_1);
}

void TFrmExam::ShowQuestionBody()
{
    exam::PaperQuestion *r = row(m_current);
    if (!r)
        return;
    Re1->clear();
    Re2->clear();
    practice::QuestionContent content;
    try {
        content = practice::loadQuestionContent(m_dm, r->a1);
    } catch (const std::exception &) {
        ShowDlg(QStringLiteral("错误"), QStringLiteral("无法打开试题！"), 1, 2, QString());
        return;
    }
    if (!content.found) {
        ShowDlg(QStringLiteral("错误"), QStringLiteral("找不到该试题！"), 1, 2, QString());
        return;
    }
    practice::fillQuestionBody(content, *Re1->document(), *Re2->document());
    const exam::BodySplit split = exam::bodySplit(Splitter1->height(), content.isSubQuestion);
    Splitter1->setHandleWidth(split.handle);
    Splitter1->setSizes({split.upper, split.lower});
    // A closed lower pane is no Tab stop: the focus would vanish into it.
    Re2->setFocusPolicy(split.lower > 0 ? Qt::StrongFocus : Qt::NoFocus);
}

void TFrmExam::JudgeAnswer(int question, int page, bool keepPicture)
{
    exam::PaperQuestion *r = row(question);
    if (!r)
        return;
    const QString answer = AnswerArea->answer(page);
    CellLook look;
    try {
        look = exam::recordPaperAnswer(m_dm, m_paper.tableName, *r, answer);
    } catch (const std::exception &e) {
        ui::showError(QString::fromUtf8(e.what()));
        return;
    }
    if (keepPicture)
        return;
    for (ExamSheetCell *c : m_cells)
        if (c->tag == question)
            setCellLook(c, look);
}

void TFrmExam::showStatus(const QString &text) { Label1->setText(text); }

int TFrmExam::currentPage() const { return AnswerArea->page(); }

// --- buttons -------------------------------------------------------------------

void TFrmExam::epEfTrBtn1Click() { selectQuestion(m_current - 1); }
void TFrmExam::epEfTrBtn2Click() { selectQuestion(m_current + 1); }

void TFrmExam::epEfTrBtn3Click()
{
    if (m_ending || m_closed)
        return;
    if (m_paper.isNew()) {
        submitWhileAnswering();
        return;
    }
    // A paper marked in this window below the minimum is not kept.
    if (BelowLeastMark)
        DropExamTable(m_dm, m_paper.tableName);
    closeWindow();
}

void TFrmExam::submitWhileAnswering()
{
    m_ending = true;
    m_clock.pause();
    const QString used = m_clock.elapsedText();
    if (exam::PaperQuestion *r = row(m_current))
        JudgeAnswer(m_current, TypeToPage(r->a13), true);
    int unanswered = 0;
    try {
        unanswered = exam::UnansweredCount(m_dm, m_paper.tableName);
    } catch (const std::exception &e) {
        ui::showError(QString::fromUtf8(e.what()));
        m_clock.resume();
        m_ending = false;
        return;
    }
    if (exam::discardsSilently(unanswered)) {
        DropExamTable(m_dm, m_paper.tableName);
        closeWindow();
        return;
    }
    const exam::SubmitRoad road =
        exam::submitRoad(ShowDlg(QStringLiteral("提示"), exam::submitQuestionText(unanswered), 2, 0, QStringLiteral("Exam")));
    if (road == exam::SubmitRoad::Mark) {
        markPaper();
        return;
    }
    if (road == exam::SubmitRoad::VoidPaper) {
        try {
            exam::voidPaper(m_dm, m_paper.tableName, unanswered, used);
        } catch (const std::exception &e) {
            ui::showError(QString::fromUtf8(e.what()));
        }
        closeWindow();
        return;
    }
    // "取消": the exam goes on from where the clock stopped.
    m_clock.resume();
    m_ending = false;
}

void TFrmExam::timeUp()
{
    m_ending = true;
    m_clock.pause();
    KZTimeCounter1->stop();
    if (exam::PaperQuestion *r = row(m_current))
        JudgeAnswer(m_current, TypeToPage(r->a13), true);
    int unanswered = exam::SheetCellCount;
    try {
        unanswered = exam::UnansweredCount(m_dm, m_paper.tableName);
    } catch (const std::exception &e) {
        ui::showError(QString::fromUtf8(e.what()));
    }
    seams::messageBox(QStringLiteral("提示"), QStringLiteral("很遗憾，考试时间到了！"), seams::Prompt::Information,
                      seams::Prompt::Ok);
    if (!exam::discardsSilently(unanswered)) {
        markPaper();
    } else {
        DropExamTable(m_dm, m_paper.tableName);
        closeWindow();
    }
}

void TFrmExam::markPaper()
{
    // The window stays where it is, disabled behind the waiting window: a
    // modal window that hid itself would end its own modal run.
    setEnabled(false);
    KZTimeCounter1->stop();
    exam::showProgress(QStringLiteral("正在判卷..."));
    const QString used = m_clock.elapsedText();
    m_paper.mode = QStringLiteral("old");
    m_paper.timeUsed = used;
    try {
        const exam::MarkResult r = exam::MarkPaper(m_dm, shell().CurSubject, m_paper.tableName, used);
        BelowLeastMark = r.belowLeastMark;
        m_paper.score = r.score;
    } catch (const std::exception &) {
        exam::hideProgress();
        ShowDlg(QStringLiteral("错误"), QStringLiteral("发生错误！"), 1, 2, QString());
    }
    // Review shows what the bank now holds.
    if (LoadPaper([](const QString &text) { exam::showProgress(text); }) != 1)
        return;
    exam::hideProgress();
    setEnabled(true);
    m_ending = false;
    FormShow();
}

void TFrmExam::epEfTrBtn4Click()
{
    if (exam::PaperQuestion *r = row(m_current))
        examlinks::showExplanation(this, m_paper.tableName, r->a1);
}

void TFrmExam::epEfTrBtn5Click()
{
    exam::PaperQuestion *r = row(m_current);
    if (!r)
        return;
    QString note = r->a14;
    if (examlinks::editNote(this, m_paper.tableName, r->a1, note))
        r->a14 = note;
    epEfTrBtn5->setText(practice::noteCaptionFor(r->a14));
}

void TFrmExam::epEfTrBtn6Click()
{
    exam::PaperQuestion *r = row(m_current);
    if (!r)
        return;
    if (epEfTrBtn6->text() == QStringLiteral("答案"))
        Panel2->fill(AnswerArea->comparisonHeadline(r->a2), AnswerArea->shownAnswer(),
                     practice::shownKey(AnswerArea->page(), r->a2));
    placeOverlays();
    ToggleAnswerPanel(epEfTrBtn6, Panel2, Panel1->width());
}

void TFrmExam::epEfTrBtn8Click() { examlinks::showSettings(this); }

void TFrmExam::epEfTrBtn9Click()
{
    if (exam::PaperQuestion *r = row(m_current))
        examlinks::showKeyPoints(this, r->a1);
}

void TFrmExam::epEfTrBtn10Click()
{
    exam::showProgress(QStringLiteral("正在导出试卷，请等待..."));
    exam::ExportPaperToWord(m_dm, m_paper.title, m_rows, m_types);
    exam::hideProgress();
}

void TFrmExam::epEfTrBtn11Click()
{
    // Shows the desktop: the program's own windows step aside.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->isWindow())
            w->showMinimized();
}

void TFrmExam::epEfTrBtn12Click()
{
    exam::PaperQuestion *r = row(m_current);
    if (!r || m_rows.isEmpty())
        return;
    const practice::VoidPress press = practice::voidPress(epEfTrBtn12->text(), QStringLiteral("本题作废"));
    try {
        exam::setQuestionVoided(m_dm, m_paper.tableName, *r, press.voiding);
    } catch (const std::exception &e) {
        ui::showError(QString::fromUtf8(e.what()));
        return;
    }
    showStatus(press.status);
    epEfTrBtn12->setText(press.caption);
}

void TFrmExam::epEfTrBtn13Click() { setPaused(exam::pressPauses(epEfTrBtn13->text())); }

void TFrmExam::setPaused(bool paused)
{
    if (paused) {
        epEfTrBtn13->setText(exam::pauseCaption(true));
        m_clock.pause();
        KZTimeCounter1->stop();
        m_prevWasEnabled = epEfTrBtn1->isEnabled();
        m_nextWasEnabled = epEfTrBtn2->isEnabled();
        for (QWidget *w : {static_cast<QWidget *>(epEfTrBtn3), static_cast<QWidget *>(epEfTrBtn5),
                           static_cast<QWidget *>(epEfTrBtn7), static_cast<QWidget *>(fcBG_th),
                           static_cast<QWidget *>(epEfTrBtn1), static_cast<QWidget *>(epEfTrBtn2)})
            w->setEnabled(false);
        AnswerArea->setPagesEnabled(false);
        placeOverlays();
        suiPanel1->show();
        suiPanel1->raise();
        ScrollText1->startScrolling();
        m_paused = true;
    } else {
        epEfTrBtn13->setText(exam::pauseCaption(false));
        KZTimeCounter1->start();
        m_clock.resume();
        for (QWidget *w : {static_cast<QWidget *>(epEfTrBtn3), static_cast<QWidget *>(epEfTrBtn5),
                           static_cast<QWidget *>(epEfTrBtn7), static_cast<QWidget *>(fcBG_th)})
            w->setEnabled(true);
        AnswerArea->setPagesEnabled(true);
        epEfTrBtn1->setEnabled(m_prevWasEnabled);
        epEfTrBtn2->setEnabled(m_nextWasEnabled);
        ScrollText1->stopScrolling();
        suiPanel1->hide();
        m_paused = false;
    }
}

void TFrmExam::KZTimeCounter1Timer()
{
    epLb_time1->setText(m_clock.elapsedText());
    if (!exam::tickChecksTimeLimit(m_paper.isNew(), m_clock.running(), m_ending, m_closed))
        return;
    exam::ExamSettings settings;
    try {
        settings = exam::readExamSettings(m_dm);
    } catch (const std::exception &) {
        return;
    }
    if (exam::examTimeIsUp(m_clock.elapsedSeconds(), settings))
        timeUp();
}

bool TFrmExam::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    // Review and the pause leave the answer as it is.
    return AnswerArea->handleKey(key, modifiers, epEfTrBtn1, epEfTrBtn2, AnswerArea->Notebook1->isEnabled() && !m_paused);
}

bool TFrmExam::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        auto *k = static_cast<QKeyEvent *>(event);
        if (FormKeyDown(k->key(), k->modifiers()))
            return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TFrmExam::keyPressEvent(QKeyEvent *event)
{
    // Escape does not end an exam; "关闭" and "交卷" do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFrmExam::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    placeOverlays();
}

void TFrmExam::placeOverlays()
{
    if (!Panel1)
        return;
    const QRect r(Panel1->mapTo(this, QPoint(0, 0)), Panel1->size());
    suiPanel1->setGeometry(r);
    ScrollText1->setGeometry(1, 1, qMax(0, r.width() - 2), qMax(0, r.height() - 2));
    Panel2->setGeometry(0, 0, Panel2->isVisible() ? qMin(Panel2->width(), Panel1->width()) : 0, Panel1->height());
}

bool TFrmExam::FormCloseQuery()
{
    ui::busyCursor();
    m_clock.pause();
    KZTimeCounter1->stop();
    ScrollText1->stopScrolling();
    ui::normalCursor();
    return true;
}

void TFrmExam::closeWindow()
{
    if (m_closed)
        return;
    FormCloseQuery();
    m_closed = true;
    done(QDialog::Accepted);
}

void TFrmExam::closeEvent(QCloseEvent *event)
{
    // The window manager's close (title bar, Alt+F4) is the "关闭" button:
    // while answering it asks to submit, in review it drops a paper marked
    // below the minimum; while paused, with "关闭" disabled, it does nothing.
    if (!m_closed) {
        if (epEfTrBtn7->isEnabled())
            epEfTrBtn3Click();
        if (!m_closed) {
            event->ignore();
            return;
        }
    }
    QDialog::closeEvent(event);
}
