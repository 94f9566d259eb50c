// The answer area: six pages of answer controls.
#include "practice/AnswerAreaWidget.h"
#include "widgets/ThemeGui.h"

#include "common/CommonRoutines.h"
#include "practice/AnswerKeys.h"
#include "widgets/KeyboardGui.h"

#include <QAbstractButton>
#include <QApplication>

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStackedWidget>
#include <QToolButton>

using namespace practice;

namespace {

// Option and true/false buttons: flat keys that look pressed when down.
// A side label shows one character per line.
QString verticalText(const QString &raw)
{
    QString t = raw;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

} // namespace

AnswerAreaWidget::AnswerAreaWidget(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("AnswerArea"));
    keys::leaveEnterToWindow(this);
    auto *outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    Notebook1 = new QStackedWidget(this);
    Notebook1->setObjectName(QStringLiteral("Notebook1"));
    outer->addWidget(Notebook1);

    for (int p = 0; p < PageCount; ++p) {
        auto *pageWidget = new QWidget(Notebook1);
        pageWidget->setObjectName(QStringLiteral("Page%1").arg(p));
        pageWidget->setToolTip(pageHint(p));
        auto *row = new QHBoxLayout(pageWidget);
        row->setContentsMargins(2, 2, 2, 2);
        row->setSpacing(14);
        // The side label stands right beside the page's controls; both are
        // centred in the area.
        row->addStretch(1);
        auto *side = new QLabel(pageWidget);
        side->setObjectName(QStringLiteral("SideLabel%1").arg(p));
        side->setAlignment(Qt::AlignCenter);
        theme::setRole(side, "side");
        side->setFixedWidth(22);
        side->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
        m_sideLabels[p] = side;
        row->addWidget(side);
        Notebook1->addWidget(pageWidget);
        setSideLabel(p, defaultSideLabel(p));
    }
    buildOptionPage(PageSingle, QStringLiteral("fcBG_one"));
    buildOptionPage(PageMultiple, QStringLiteral("fcBG_many"));
    buildOptionPage(PageMatching, QStringLiteral("fcBG_pw"));

    // Fill-in: one text box.
    {
        auto *row = static_cast<QHBoxLayout *>(Notebook1->widget(PageFillIn)->layout());
        FlatEdit1 = new QLineEdit(Notebook1->widget(PageFillIn));
        FlatEdit1->setObjectName(QStringLiteral("FlatEdit1"));
        FlatEdit1->setMinimumWidth(300);
        FlatEdit1->setAccessibleName(QStringLiteral("填写答案"));
        connect(FlatEdit1, &QLineEdit::textEdited, this, &AnswerAreaWidget::answerEdited);
        row->insertWidget(2, FlatEdit1);
    }
    // True/false: "对" and "错", at most one down.
    {
        QWidget *pageWidget = Notebook1->widget(PageTrueFalse);
        auto *row = static_cast<QHBoxLayout *>(pageWidget->layout());
        auto *group = new QWidget(pageWidget);
        group->setObjectName(QStringLiteral("fcBG_yn"));
        auto *gl = new QHBoxLayout(group);
        gl->setContentsMargins(0, 0, 0, 0);
        gl->setSpacing(16);
        for (int i = 0; i < 2; ++i) {
            auto *b = new QToolButton(group);
            b->setObjectName(i == 0 ? QStringLiteral("fcBG_ynA") : QStringLiteral("fcBG_ynB"));
            b->setText(i == 0 ? QStringLiteral("对") : QStringLiteral("错"));
            b->setCheckable(true);
            b->setFocusPolicy(Qt::NoFocus);
            b->setToolTip(answerKeyTip(PageTrueFalse, i));
            connect(b, &QToolButton::clicked, this, [this, i] { trueFalseClicked(i); });
            gl->addWidget(b);
            (i == 0 ? trueButton : falseButton) = b;
        }
        row->insertWidget(2, group);
    }
    // Subjective: "不会" / "会", nothing chosen at first.
    {
        QWidget *pageWidget = Notebook1->widget(PageSubjective);
        auto *row = static_cast<QHBoxLayout *>(pageWidget->layout());
        FlatComboBox1 = new QComboBox(pageWidget);
        FlatComboBox1->setObjectName(QStringLiteral("FlatComboBox1"));
        FlatComboBox1->addItems({QStringLiteral("不会"), QStringLiteral("会")});
        FlatComboBox1->setCurrentIndex(-1);
        FlatComboBox1->setMinimumWidth(120);
        FlatComboBox1->setAccessibleName(QStringLiteral("是否会做"));
        FlatComboBox1->setPlaceholderText(QStringLiteral("请选择"));
        FlatComboBox1->setToolTip(answerKeyTip(PageSubjective, -1));
        connect(FlatComboBox1, &QComboBox::activated, this, &AnswerAreaWidget::answerEdited);
        row->insertWidget(2, FlatComboBox1);
    }
    for (int p = 0; p < PageCount; ++p)
        static_cast<QHBoxLayout *>(Notebook1->widget(p)->layout())->addStretch(1);

    applyButtonSize();
    showPage(PageSingle);
}

void AnswerAreaWidget::buildOptionPage(int page, const QString &groupName)
{
    QWidget *pageWidget = Notebook1->widget(page);
    auto *row = static_cast<QHBoxLayout *>(pageWidget->layout());
    auto *group = new QWidget(pageWidget);
    group->setObjectName(groupName);
    auto *gl = new QHBoxLayout(group);
    gl->setContentsMargins(0, 0, 0, 0);
    gl->setSpacing(10);
    const int g = optionGroup(page);
    for (int i = 0; i < OptionCount; ++i) {
        auto *b = new QToolButton(group);
        b->setObjectName(groupName + optionLetter(i));
        b->setText(optionLetter(i));
        b->setCheckable(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setToolTip(answerKeyTip(page, i));
        connect(b, &QToolButton::clicked, this, [this, page, i] { optionClicked(page, i); });
        gl->addWidget(b);
        m_options[g][i] = b;
    }
    row->insertWidget(2, group);
}

int AnswerAreaWidget::optionGroup(int page) const
{
    switch (page) {
    case PageSingle: return 0;
    case PageMultiple: return 1;
    case PageMatching: return 2;
    default: return -1;
    }
}

QToolButton *AnswerAreaWidget::optionButton(int page, int option) const
{
    const int g = optionGroup(page);
    if (g < 0 || option < 0 || option >= OptionCount)
        return nullptr;
    return m_options[g][option];
}

void AnswerAreaWidget::optionClicked(int page, int option)
{
    // Single choice: at most one down; clicking the down one releases it
    // (the click has already toggled it).
    if (page == PageSingle && m_options[0][option]->isChecked())
        for (int i = 0; i < OptionCount; ++i)
            if (i != option)
                m_options[0][i]->setChecked(false);
    Q_EMIT answerEdited();
}

void AnswerAreaWidget::trueFalseClicked(int which)
{
    QToolButton *self = which == 0 ? trueButton : falseButton;
    QToolButton *other = which == 0 ? falseButton : trueButton;
    if (self->isChecked())
        other->setChecked(false);
    Q_EMIT answerEdited();
}

int AnswerAreaWidget::page() const { return Notebook1->currentIndex(); }

int AnswerAreaWidget::showPage(int page)
{
    if (page >= 0 && page < PageCount)
        Notebook1->setCurrentIndex(page);
    setToolTip(pageHint(this->page()));
    return this->page();
}

int AnswerAreaWidget::showPageForType(int typeCode) { return showPage(TypeToPage(typeCode)); }

AnswerControls AnswerAreaWidget::controls(int page) const
{
    AnswerControls c;
    const int g = optionGroup(page);
    if (g >= 0) {
        for (int i = 0; i < OptionCount; ++i) {
            c.pressed[i] = m_options[g][i]->isChecked();
            // The visible options are the first ones; count up to the first
            // hidden button.
            if (!m_options[g][i]->isHidden() && c.visibleCount == i)
                c.visibleCount = i + 1;
        }
    }
    c.text = FlatEdit1->text();
    c.trueFalse = trueButton->isChecked() ? 1 : falseButton->isChecked() ? 2 : 0;
    c.subjectiveIndex = FlatComboBox1->currentIndex();
    return c;
}

void AnswerAreaWidget::setControls(int page, const AnswerControls &c)
{
    const int g = optionGroup(page);
    if (g >= 0) {
        for (int i = 0; i < OptionCount; ++i) {
            m_options[g][i]->setHidden(!c.visible(i));
            m_options[g][i]->setChecked(c.pressed[i]);
        }
        return;
    }
    switch (page) {
    case PageFillIn:
        if (c.text.isEmpty())
            FlatEdit1->clear();
        else
            FlatEdit1->setText(c.text);
        break;
    case PageTrueFalse:
        trueButton->setChecked(c.trueFalse == 1);
        falseButton->setChecked(c.trueFalse == 2);
        break;
    case PageSubjective:
        FlatComboBox1->setCurrentIndex(c.subjectiveIndex);
        break;
    default:
        break;
    }
}

void AnswerAreaWidget::restore(int page, int optionCount, const QString &stored)
{
    if (page < 0 || page >= PageCount)
        return;
    AnswerControls c = controls(page);
    restoreAnswer(page, optionCount, stored, c);
    setControls(page, c);
}

QString AnswerAreaWidget::answer(int page) const
{
    if (page < 0 || page >= PageCount)
        return QString();
    return encodeAnswer(page, controls(page));
}

QString AnswerAreaWidget::shownAnswer() const { return practice::shownAnswer(page(), controls(page())); }

QString AnswerAreaWidget::comparisonHeadline(const QString &key) const
{
    return practice::comparisonHeadline(page(), controls(page()), key);
}

void AnswerAreaWidget::setSideLabel(int page, const QString &text)
{
    if (page < 0 || page >= PageCount)
        return;
    m_sideTexts[page] = text;
    m_sideLabels[page]->setText(verticalText(text));
}

QString AnswerAreaWidget::sideLabel(int page) const
{
    return page >= 0 && page < PageCount ? m_sideTexts[page] : QString();
}

bool AnswerAreaWidget::isChoicePage() const { return page() == PageSingle || page() == PageMultiple; }

bool AnswerAreaWidget::handleKey(int key, Qt::KeyboardModifiers modifiers, QAbstractButton *previous, QAbstractButton *next,
                                 bool answersAllowed)
{
    QWidget *focus = QApplication::focusWidget();
    // Enter on a button of the window outside the answer area presses that
    // button; on the area, or anywhere else, it moves on.
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && qobject_cast<QAbstractButton *>(focus) && !isAncestorOf(focus))
        return false;
    if ((key == Qt::Key_Left || key == Qt::Key_Right) && !(modifiers & ~Qt::KeypadModifier))
        return moveAmongButtons(key == Qt::Key_Right ? 1 : -1);
    const int shown = page();
    AnswerControls c = controls(shown);
    const AnswerKeyOutcome out = applyAnswerKey(shown, key, int(modifiers), answersAllowed && Notebook1->isEnabled(), c);
    if (!out.taken)
        return false;
    if (out.changed) {
        setControls(shown, c);
        Q_EMIT answerEdited();
    }
    QAbstractButton *go = out.move == AnswerKeyOutcome::Previous ? previous : out.move == AnswerKeyOutcome::Next ? next : nullptr;
    if (go && go->isEnabled())
        go->click();
    return true;
}

bool AnswerAreaWidget::moveAmongButtons(int step)
{
    // The focus walks the visible buttons of the page shown (options, or
    // "对" and "错"); elsewhere the arrows are not the area's.
    QList<QAbstractButton *> buttons;
    const int g = optionGroup(page());
    if (g >= 0) {
        for (QToolButton *b : m_options[g])
            if (!b->isHidden())
                buttons << b;
    } else if (page() == PageTrueFalse) {
        buttons << trueButton << falseButton;
    }
    const int at = buttons.indexOf(qobject_cast<QAbstractButton *>(QApplication::focusWidget()));
    if (at < 0)
        return false;
    const int to = at + step;
    if (to >= 0 && to < buttons.size())
        buttons.at(to)->setFocus(Qt::TabFocusReason);
    return true;
}

void AnswerAreaWidget::setPagesEnabled(bool enabled) { Notebook1->setEnabled(enabled); }

void AnswerAreaWidget::setCompact(bool compact)
{
    m_compact = compact;
    applyButtonSize();
}

void AnswerAreaWidget::applyButtonSize()
{
    const QSize option = m_compact ? QSize(34, 28) : QSize(44, 34);
    for (auto &group : m_options)
        for (QToolButton *b : group)
            b->setFixedSize(option);
    trueButton->setFixedSize(m_compact ? QSize(56, 28) : QSize(70, 34));
    falseButton->setFixedSize(m_compact ? QSize(56, 28) : QSize(70, 34));
    QFont f = font();
    f.setPointSize(m_compact ? 10 : 12);
    for (auto &group : m_options)
        for (QToolButton *b : group)
            b->setFont(f);
    trueButton->setFont(f);
    falseButton->setFont(f);
    QFont side = font();
    side.setPointSize(m_compact ? 8 : 9);
    side.setBold(true);
    for (QLabel *l : m_sideLabels) {
        l->setFont(side);
        l->setFixedWidth(m_compact ? 18 : 22);
    }
    setMinimumHeight(m_compact ? 62 : 74);
}
