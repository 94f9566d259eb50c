// The chapter practice window.
#include "practice/Ulxxt.h"
#include "practice/UlxxtNames.h"

#include "common/ClockText.h"

#include "widgets/ModalGui.h"
#include "platform/Seams.h"
#include "common/ShellState.h"
#include "authoring/Utedit.h"
#include "keypoints/UanswFagui.h"
#include "practice/AnswerAreaWidget.h"
#include "practice/AnswerPanelWidget.h"
#include "practice/PracticeAnimationWidget.h"
#include "practice/PracticeWindowRules.h"
#include "widgets/PictureButtonWidget.h"
#include "widgets/Ubackdrop.h"
#include "widgets/Uconfig.h"
#include "practice/Ubj.h"
#include "practice/Ujx.h"
#include "store/DbError.h"
#include "store/dm.h"

#include <QApplication>
#include <QFile>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QSqlQuery>
#include <QTextEdit>

using namespace practice;

TFrmLxxt::TFrmLxxt(QWidget *parent, const PracticeOptions &options)
    : QDialog(parent), m_options(options), m_run(std::make_unique<PracticeRun>(*DM1))
{
    ui::keepOpenOnEscape(this);
    setObjectName(QStringLiteral("FrmLxxt"));
    setWindowTitle(m_options.caption);
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    buildUi();
    namePracticeControls(this);
    new backdrop::StripDragger(this);
    qApp->installEventFilter(this);

    // The six question-indicator pictures beside the program.
    const char *const up[] = {"pic/vloxup.bmp", "pic/vloxyes.bmp", "pic/vloxno.bmp"};
    const char *const down[] = {"pic/vloxdw.bmp", "pic/vloxdw_r.bmp", "pic/vloxdw_w.bmp"};
    bool ok = true;
    for (int i = 0; i < 3 && ok; ++i)
        ok = loadPicture(QString::fromLatin1(up[i]), m_upPictures[i]) && loadPicture(QString::fromLatin1(down[i]), m_downPictures[i]);
    if (!ok)
        refuseMissingPictures();
}

TFrmLxxt::~TFrmLxxt() { qApp->removeEventFilter(this); }

bool TFrmLxxt::loadPicture(const QString &relative, QPixmap &out)
{
    const QString path = seams::appDir() + relative;
    return QFile::exists(path) && out.load(path);
}

void TFrmLxxt::refuseMissingPictures()
{
    if (m_resourcesMissing)
        return;
    m_resourcesMissing = true;
    seams::showDlg(QStringLiteral("错误"), QStringLiteral("无法提取资源文件！"), 1, seams::DlgError);
    seams::endProgram();
}

void TFrmLxxt::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    backdrop::paint(this, p, windowTitle());
}

void TFrmLxxt::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    positionPanel();
}

void TFrmLxxt::positionPanel()
{
    // The comparison panel lies over the body, as high as the body area.
    const int w = Panel2->isOpen() && !Panel2->isSliding() ? m_bodyBox->width() : Panel2->width();
    Panel2->setGeometry(0, 0, w, panelHeight());
}

int TFrmLxxt::panelHeight() const
{
    return comparisonPanelHeight(m_options.panelHeight, m_bodyBox->height());
}

void TFrmLxxt::setMaterialPane(bool open)
{
    // An open material pane keeps the height the user gave it.
    if (open && !Re2->isHidden())
        return;
    Re2->setVisible(open);
    if (open) {
        const PaneSizes sizes = materialPaneSizes(Splitter1->height());
        Splitter1->setSizes({sizes.upper, sizes.lower});
    }
}

// ---------------------------------------------------------------- loading

bool TFrmLxxt::LoadQuestionList()
{
    if (m_resourcesMissing)
        return false;
    if (!m_run->load(shell().PracticeSql))
        return false;
    m_firstId = m_run->id(1);

    if (!loadPicture(QStringLiteral("pic/vloxtxup.bmp"), m_typeUp) || !loadPicture(QStringLiteral("pic/vloxtxdw.bmp"), m_typeDown)) {
        refuseMissingPictures();
        return false;
    }

    // The type board: "任意" first, then the subject's types in code order;
    // a type with no question in the list cannot be chosen.
    for (PictureButton *b : typeButtons)
        delete b;
    typeButtons.clear();
    typeCodes.clear();
    QVector<QPair<int, QString>> types{{0, QStringLiteral("任意")}};
    const int subject = shell().CurSubject >= 1 && shell().CurSubject <= 5 ? shell().CurSubject : 1;
    DM1->setTypeTable(subject);
    {
        QSqlQuery q = DM1->execText(QStringLiteral("select A1, B1 from ") + DM1->typeTable() + QStringLiteral(" order by A1 ASC"));
        while (q.next())
            types.append({q.value(0).toInt(), q.value(1).toString()});
        q.finish();
    }
    for (int i = 0; i < types.size(); ++i) {
        auto *b = new PictureButton(types.at(i).second, fcBG_tx);
        b->setObjectName(QStringLiteral("tx%1").arg(types.at(i).first));
        b->setFocusPolicy(Qt::TabFocus);
        b->setUpPicture(m_typeUp, 0);
        b->setDownPicture(m_typeDown, 0);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        b->setEnabled(types.at(i).first == 0 || m_run->typeCount(types.at(i).first) > 0);
        m_typeGrid->addWidget(b, i / 2, i % 2);
        connect(b, &PictureButton::clicked, this, [this, i] {
            if (i == m_typeIndex) {
                typeButtons[i]->setChecked(true);
                return;
            }
            pressTypeButton(i);
        });
        typeButtons << b;
        typeCodes << types.at(i).first;
    }
    orderTabStops();
    layoutForScreenMode();
    return true;
}

TFrmLxxt::Start TFrmLxxt::prepareRun()
{
    if (m_resourcesMissing)
        return Start::Refused;
    const bool any = LoadQuestionList();
    if (m_resourcesMissing)
        return Start::Refused;
    return any ? Start::Ready : Start::Empty;
}

// ---------------------------------------------------------------- showing

void TFrmLxxt::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TFrmLxxt::FormShow()
{
    ui::busyCursor();
    Gauge1->setValue(0);
    layoutForScreenMode();
    if (!parentWidget())
        if (QScreen *s = screen())
            move(s->availableGeometry().center() - rect().center());
    setMaterialPane(false);
    Panel2->closeNow();
    if (m_options.hintFromChapter)
        Lb_hint->setText(DM1 ? DM1->ChapterCaption : QString());
    m_current = 0;
    m_typeIndex = -1;
    if (!typeButtons.isEmpty())
        pressTypeButton(0);
    m_clock.start();
    Lb_time->setText(QStringLiteral("0:00:00"));
    KZTimeCounter1->start();
    ui::normalCursor();
    static_cast<PracticeAnimation *>(m_animation)->start();
    epEfTrBtn9->setEnabled(false);
    if (!m_options.explanationButton)
        epEfTrBtn4->setEnabled(false);
}

void TFrmLxxt::pressTypeButton(int index)
{
    for (int i = 0; i < typeButtons.size(); ++i)
        typeButtons[i]->setChecked(i == index);
    fcBG_txChange(index);
}

void TFrmLxxt::fcBG_txChange(int index)
{
    if (index < 0 || index >= typeButtons.size())
        return;
    if (m_current > 0) {
        JudgeAnswer(m_current, answerArea->page(), m_groups.start(), m_groups.last(), Silent);
        m_current = 0;
    }
    const int code = typeCodes.at(index);
    if (!m_options.subjectiveLabel.isEmpty()) {
        // The window's own label stays whatever the type.
    } else {
        answerArea->setSideLabel(PageSubjective, subjectiveSideLabel(code, typeButtons.at(index)->text()));
    }
    if (m_run->typeFilter() != code)
        m_run->setTypeFilter(code);
    if (m_run->count() == 0) {
        // Cannot happen after loading (the button is disabled); should it,
        // the previous type is chosen again.
        typeButtons[index]->setEnabled(false);
        const int previous = m_typeIndex;
        if (previous >= 0 && previous != index) {
            m_typeIndex = -1;
            pressTypeButton(previous);
        } else {
            typeButtons[index]->setChecked(false);
        }
        return;
    }
    m_typeIndex = index;
    FillQuestionButtons(1);
}

void TFrmLxxt::FillQuestionButtons(int mode)
{
    if (mode == 1)
        m_groups.first(m_run->count());
    else if (mode == 2)
        m_groups.previousGroup();
    else
        m_groups.nextGroup();
    Lb_groups->setText(QString::number(m_groups.groupCount()));
    Lb_total->setText(QString::number(m_groups.total()));
    Lb_group->setText(QString::number(m_groups.group()));
    FlatSpeedButton1->setEnabled(m_groups.previousGroupEnabled());
    FlatSpeedButton2->setEnabled(m_groups.nextGroupEnabled());
    for (int i = 0; i < 20; ++i) {
        const int record = m_groups.recordAt(i);
        PictureButton *b = questionButtons[i];
        b->setChecked(false);
        if (record > 0) {
            const QuestionRow r = m_run->row(record);
            const Mark m = markFor(r.runAnswer, r.key);
            b->setEnabled(true);
            setQuestionUp(i, m);
            setQuestionDown(i, m);
        } else {
            b->setEnabled(false);
            setQuestionUp(i, Mark::Neutral);
            setQuestionDown(i, Mark::Neutral);
        }
    }
    if (m_groups.size() > 0)
        pressQuestionButton(0);
}

void TFrmLxxt::setQuestionUp(int button, Mark mark)
{
    if (button >= 0 && button < 20)
        questionButtons[button]->setUpPicture(m_upPictures[markPicture(mark)], markPicture(mark));
}

void TFrmLxxt::setQuestionDown(int button, Mark mark)
{
    if (button >= 0 && button < 20)
        questionButtons[button]->setDownPicture(m_downPictures[markPicture(mark)], markPicture(mark));
}

void TFrmLxxt::pressQuestionButton(int button)
{
    for (int i = 0; i < 20; ++i)
        questionButtons[i]->setChecked(i == button);
    fcBG_thChange(button);
}

void TFrmLxxt::fcBG_thChange(int button)
{
    const int c = m_groups.recordAt(button);
    if (c <= 0)
        return;
    Lb_edited->clear();
    if (epEfTrBtn6->text() == QStringLiteral("返回")) {
        epEfTrBtn6->setText(QStringLiteral("答案"));
        Panel2->closeNow();
    }
    epEfTrBtn1->setEnabled(m_groups.previousQuestionEnabled(c));
    epEfTrBtn2->setEnabled(m_groups.nextQuestionEnabled(c));
    ShowQuestion(m_current, c);

    const QuestionRow r = m_run->row(c);
    if (!m_options.statusNeedsRows || m_run->count() > 0) {
        const QuestionStatusView view = questionStatusView(r.status, m_options.voidCaption);
        Label1->setText(view.status);
        epEfTrBtn10->setText(view.voidCaption);
    }
    if (m_options.editedMark && r.editCount != 0)
        Lb_edited->setText(QStringLiteral("本题被您修改过"));
}

// The content of the question on show; a content row that cannot be read
// leaves the panes empty and is reported when the body is shown.
void TFrmLxxt::loadContent(const QString &id)
{
    m_contentFailed = false;
    try {
        m_content = loadQuestionContent(*DM1, id);
    } catch (const store::DbError &) {
        m_content = QuestionContent();
        m_contentFailed = true;
    }
}

void TFrmLxxt::ShowQuestion(int oldRecord, int record)
{
    // The controls still show the question being left.
    JudgeAnswer(oldRecord, answerArea->page(), m_groups.start(), m_groups.last(), LeavingQuestion);
    m_current = record;
    const QuestionRow r = m_run->row(record);
    loadContent(r.id);
    Lb_occur->setText(QString::number(occurrenceNumber(r.attempts)));
    Lb_pos->setText(QString::number(record - m_groups.start() + 1));
    PrepareAnswerControls(r);
    ShowQuestionBody(r.id);
    setQuestionDown(m_groups.buttonOf(record), markFor(r.runAnswer, r.key));

    Timer1->stop();
    Timer1->setInterval(shell().typeTime(r.type));
    Gauge1->setValue(0);
    Timer1->start();
}

void TFrmLxxt::PrepareAnswerControls(const QuestionRow &row)
{
    // A type without a page keeps the page shown; the question's own
    // answer (none at first) is put into it, so the previous question's
    // answer is never carried over to this one.
    const int page = answerArea->showPageForType(row.type);
    answerArea->restore(page, row.optionCount, row.runAnswer);
    setAfterAnswerButtons(row);
    epEfTrBtn5->setText(noteCaptionFor(row.note));
}

void TFrmLxxt::setAfterAnswerButtons(const QuestionRow &row)
{
    const AfterAnswerButtons b = afterAnswerButtons(row.runAnswer, m_content.hasExplanation, row.keyPoints.value(0), row.type);
    epEfTrBtn4->setEnabled(b.explanation && m_options.explanationButton);
    epEfTrBtn9->setEnabled(b.keyPoints);
    epEfTrBtn6->setEnabled(b.comparison);
}

void TFrmLxxt::ShowQuestionBody(const QString &id)
{
    Q_UNUSED(id);
    try {
        if (m_contentFailed)
            throw store::DbError(QStringLiteral("question content unreadable"));
        setMaterialPane(m_content.isSubQuestion);
        fillQuestionBody(m_content, *Re1->document(), *Re2->document());
    } catch (...) {
        // The window stays; the user can move on to other questions.
        Re1->clear();
        Re2->clear();
        seams::showDlg(QStringLiteral("错误"), QStringLiteral("无法打开试题！"), 1, seams::DlgError);
    }
}

// ---------------------------------------------------------------- judging

void TFrmLxxt::JudgeAnswer(int record, int page, int first, int last, JudgeKind kind)
{
    if (record <= 0 || !m_run->valid(record))
        return;
    const QString answer = answerArea->answer(page);
    JudgeOutcome out;
    try {
        out = m_run->judge(record, answer);
    } catch (const store::DbError &e) {
        ui::showError(e.text());
        return;
    }
    const JudgeEffect effect = judgeEffect(static_cast<JudgeCaller>(kind), out.empty, record, first, last);
    if (effect.promptNoAnswer)
        seams::showDlg(QStringLiteral("提示"), m_options.noAnswerText, 1, seams::DlgWarning);
    const QuestionRow r = m_run->row(record);
    const Mark mark = out.empty ? Mark::Neutral : markFor(r.runAnswer, r.key);
    if (effect.afterAnswerButtons)
        setAfterAnswerButtons(r);
    if (effect.pressedButton >= 0)
        setQuestionDown(effect.pressedButton, mark);
    if (effect.releasedButton >= 0)
        setQuestionUp(effect.releasedButton, mark);
}

// ---------------------------------------------------------------- buttons

void TFrmLxxt::epEfTrBtn1Click()
{
    const QuestionGroups::Move m = m_groups.previousQuestion(m_current);
    if (m.kind == QuestionGroups::Move::Button)
        pressQuestionButton(m.button);
    else if (m.kind == QuestionGroups::Move::PreviousGroup)
        FillQuestionButtons(2);
}

void TFrmLxxt::epEfTrBtn2Click()
{
    const QuestionGroups::Move m = m_groups.nextQuestion(m_current);
    if (m.kind == QuestionGroups::Move::Button)
        pressQuestionButton(m.button);
    else if (m.kind == QuestionGroups::Move::NextGroup)
        FillQuestionButtons(3);
}

void TFrmLxxt::FlatSpeedButton1Click()
{
    if (m_groups.group() > 1)
        FillQuestionButtons(2);
}

void TFrmLxxt::FlatSpeedButton2Click()
{
    if (m_groups.group() < m_groups.groupCount())
        FillQuestionButtons(3);
}

void TFrmLxxt::epEfTrBtn3Click()
{
    if (m_current > 0)
        JudgeAnswer(m_current, answerArea->page(), m_groups.start(), m_groups.last(), Finished);
}

void TFrmLxxt::epEfTrBtn4Click()
{
    if (!m_run->valid(m_current))
        return;
    ui::busyCursor();
    TFrmJx jx(this);
    jx.bind(*DM1, {QStringLiteral("tab_exer"), QStringLiteral("A1"), m_run->id(m_current), QStringLiteral("jx")});
    ui::execModal(&jx);
    ui::normalCursor();
}

void TFrmLxxt::epEfTrBtn5Click()
{
    if (!m_run->valid(m_current))
        return;
    QuestionRow r = m_run->row(m_current);
    TFrmBj bj(this);
    try {
        bj.bind(*DM1, {QStringLiteral("tab_answ"), QStringLiteral("A1"), r.id, QStringLiteral("A14")});
    } catch (const store::DbError &e) {
        ui::showError(e.text());
        return;
    }
    ui::execModal(&bj);
    if (bj.saved()) {
        r.note = bj.text();
        r.noteIsNull = bj.isNull();
        m_run->setRow(m_current, r);
    }
    epEfTrBtn5->setText(noteCaption(shell().NoteHasContent));
}

void TFrmLxxt::epEfTrBtn6Click()
{
    if (epEfTrBtn6->text() == QStringLiteral("答案")) {
        if (!m_run->valid(m_current))
            return;
        const QString key = m_run->row(m_current).key;
        Panel2->fill(answerArea->comparisonHeadline(key), answerArea->shownAnswer(), shownKey(answerArea->page(), key));
        Panel2->setGeometry(0, 0, 0, panelHeight());
    }
    ToggleAnswerPanel(epEfTrBtn6, Panel2, m_bodyBox->width());
}

void TFrmLxxt::epEfTrBtn7Click()
{
    // "桌面": the program's windows step aside for the desktop.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible())
            w->showMinimized();
}

void TFrmLxxt::epEfTrBtn8Click() { openSettings(this, 0); }

void TFrmLxxt::epEfTrBtn9Click()
{
    if (!m_run->valid(m_current))
        return;
    TfrmAnswFagui w(this);
    bool any = false;
    try {
        any = w.LoadKeyPoints(m_run->id(m_current));
    } catch (const store::DbError &e) {
        ui::showError(e.text());
        return;
    }
    if (any)
        ui::execModal(&w);
    if (!isVisible())
        show();
}

void TFrmLxxt::epEfTrBtn10Click()
{
    if (m_run->count() == 0 || !m_run->valid(m_current))
        return;
    try {
        const VoidPress press = voidPress(epEfTrBtn10->text(), m_options.voidCaption);
        m_run->setVoided(m_current, press.voiding);
        Label1->setText(press.status);
        epEfTrBtn10->setText(press.caption);
    } catch (const store::DbError &e) {
        ui::showError(e.text());
    }
}

void TFrmLxxt::epEfTrBtn11Click()
{
    if (!m_run->valid(m_current))
        return;
    // The question's time does not run while it is being edited.
    Timer1->stop();
    QuestionRow row = m_run->row(m_current);
    TfrmTedit edit(row.id, this);
    if (edit.loaded() && ui::execModal(&edit) == QDialog::Accepted) {
        // The edited question is shown at once, with its new key, type
        // and key points, and marked as edited.
        const authoring::EditedQuestion &q = edit.question();
        row.key = q.answer;
        row.optionCount = q.optionCount;
        row.type = q.type;
        row.keyPoints = q.keyPoints;
        row.editCount = q.editCount;
        m_run->setRow(m_current, row);
        loadContent(row.id);
        PrepareAnswerControls(row);
        ShowQuestionBody(row.id);
        if (row.editCount != 0)
            Lb_edited->setText(QStringLiteral("本题被您修改过"));
    }
    Timer1->start();
}

// ---------------------------------------------------------------- timers

void TFrmLxxt::Timer1Timer()
{
    const GaugeTick tick = gaugeTick(Gauge1->value());
    if (!tick.timeUp) {
        Gauge1->setValue(tick.value);
        return;
    }
    Timer1->stop();
    seams::showDlg(QStringLiteral("提示"), QStringLiteral("到时间了"), 1, seams::DlgWarning);
    if (m_run->valid(m_current)) {
        try {
            m_run->markTimedOut(m_current);
        } catch (const store::DbError &e) {
            ui::showError(e.text());
        }
    }
}

QString TFrmLxxt::elapsedText() const
{
    return clockText(m_clock.isValid() ? m_clock.elapsed() / 1000 : 0);
}

void TFrmLxxt::KZTimeCounter1Timer() { Lb_time->setText(elapsedText()); }

// ---------------------------------------------------------------- keys and closing

void TFrmLxxt::orderTabStops()
{
    // Reading order: the question and its answer on the left, the boards
    // beside them on the right, then the row of buttons along the bottom.
    QList<QWidget *> stops;
    for (PictureButton *b : typeButtons)
        stops << b;
    stops << FlatSpeedButton1 << FlatSpeedButton2 << epEfTrBtn1 << epEfTrBtn2 << epEfTrBtn3 << epEfTrBtn6 << epEfTrBtn4
          << epEfTrBtn5 << epEfTrBtn9 << epEfTrBtn10 << epEfTrBtn11 << epEfTrBtn8 << epEfTrBtn7 << epEfTrBtn99;
    for (int i = 1; i < stops.size(); ++i)
        QWidget::setTabOrder(stops.at(i - 1), stops.at(i));
}

bool TFrmLxxt::formKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    return answerArea->handleKey(key, modifiers, epEfTrBtn1, epEfTrBtn2);
}

bool TFrmLxxt::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_bodyBox && event->type() == QEvent::Resize) {
        positionPanel();
        return false;
    }
    // The window sees the keys of its controls first.
    if (event->type() == QEvent::KeyPress && isVisible() && !m_closed) {
        auto *w = qobject_cast<QWidget *>(watched);
        if (w && w->window() == this) {
            auto *k = static_cast<QKeyEvent *>(event);
            return formKeyDown(k->key(), k->modifiers());
        }
    }
    return false;
}

void TFrmLxxt::closeStudy()
{
    ui::busyCursor();
    KZTimeCounter1->stop();
    Timer1->stop();
    static_cast<PracticeAnimation *>(m_animation)->stop();
    const QString elapsed = elapsedText();
    if (m_current > 0)
        JudgeAnswer(m_current, answerArea->page(), m_groups.start(), m_groups.last(), Silent);
    try {
        if (DM1)
            DM1->AddStudyTime(elapsed);
    } catch (const std::exception &e) {
        ui::normalCursor();
        ui::showError(QString::fromStdString(e.what()));
    }
    ui::normalCursor();
}

void TFrmLxxt::done(int result)
{
    if (!m_closed) {
        m_closed = true;
        if (m_shown)
            closeStudy();
    }
    QDialog::done(result);
}
