// The sliding comparison panel of the "答案" button.
#include "practice/AnswerPanelWidget.h"
#include "widgets/ThemeGui.h"

#include "widgets/AccessibleGui.h"

#include "practice/AnswerLogic.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

AnswerPanelWidget::AnswerPanelWidget(QWidget *parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("Panel2"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto *v = new QVBoxLayout(this);
    v->setContentsMargins(18, 14, 18, 14);
    v->setSpacing(8);
    Lb_answtip = new QLabel(this);
    Lb_answtip->setObjectName(QStringLiteral("Lb_answtip"));
    QFont big = Lb_answtip->font();
    big.setPointSize(15);
    big.setBold(true);
    Lb_answtip->setFont(big);
    theme::setRole(Lb_answtip, "wrong");
    v->addWidget(Lb_answtip);
    auto *yours = new QLabel(QStringLiteral("你的答案："), this);
    v->addWidget(yours);
    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setReadOnly(true);
    v->addWidget(Memo1, 1);
    auto *right = new QLabel(QStringLiteral("正确答案："), this);
    v->addWidget(right);
    Memo2 = new QPlainTextEdit(this);
    Memo2->setObjectName(QStringLiteral("Memo2"));
    Memo2->setReadOnly(true);
    v->addWidget(Memo2, 1);
    a11y::nameAfter(yours, Memo1);
    a11y::nameAfter(right, Memo2);
    // The verdict line is empty until an answer is judged.
    a11y::speakValue(Lb_answtip, [](const QString &shown) { return shown.isEmpty() ? QStringLiteral("答题结果") : shown; });

    m_timer.setInterval(15);
    connect(&m_timer, &QTimer::timeout, this, &AnswerPanelWidget::step);
    resize(0, height());
    hide();
}

void AnswerPanelWidget::fill(const QString &headline, const QString &answer, const QString &key)
{
    Lb_answtip->setText(headline);
    theme::setRole(Lb_answtip, headline == QString::fromUtf8(practice::RightHeadline) ? "right" : "wrong");
    Memo1->clear();
    Memo2->clear();
    Memo1->setPlainText(answer);
    Memo2->setPlainText(key);
}

void AnswerPanelWidget::setPanelWidth(int w)
{
    resize(w, height());
    setVisible(w > 0);
    if (w > 0)
        raise();
    m_seen << w;
    repaint();
}

void AnswerPanelWidget::slideOpen(int fullWidth)
{
    m_open = true;
    m_seen.clear();
    // Continues from where the panel stands (a close may still be running).
    const int from = width() > 0 && isVisible() ? width() : 0;
    m_steps.clear();
    for (int w : practice::slideWidths(fullWidth, true))
        if (w > from)
            m_steps << w;
    if (m_steps.isEmpty() || m_steps.last() != fullWidth)
        m_steps << fullWidth;
    m_timer.start();
}

void AnswerPanelWidget::slideClose()
{
    m_open = false;
    m_seen.clear();
    const int from = isVisible() ? width() : 0;
    m_steps = practice::slideWidths(from, false);
    if (m_steps.isEmpty())
        m_steps << 0;
    m_timer.start();
}

void AnswerPanelWidget::closeNow()
{
    m_timer.stop();
    m_steps.clear();
    m_open = false;
    resize(0, height());
    hide();
}

void AnswerPanelWidget::finishSlide()
{
    while (m_timer.isActive())
        step();
}

void AnswerPanelWidget::step()
{
    if (m_steps.isEmpty()) {
        m_timer.stop();
        Q_EMIT slideFinished();
        return;
    }
    setPanelWidth(m_steps.takeFirst());
    if (m_steps.isEmpty()) {
        m_timer.stop();
        Q_EMIT slideFinished();
    }
}

void ToggleAnswerPanel(QAbstractButton *button, AnswerPanelWidget *panel, int fullWidth)
{
    if (button->text() == QStringLiteral("答案")) {
        button->setText(QStringLiteral("返回"));
        panel->slideOpen(fullWidth);
    } else {
        button->setText(QStringLiteral("答案"));
        panel->slideClose();
    }
}
