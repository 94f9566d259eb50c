// Accessible names, spoken values and Tab stops shared by the windows.
#include "widgets/AccessibleGui.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QEvent>
#include <QLabel>
#include <QLCDNumber>
#include <QPointer>
#include <QTextEdit>

namespace a11y {

namespace {

QString shownText(QWidget *w)
{
    if (auto *l = qobject_cast<QLabel *>(w))
        return l->text();
    if (auto *b = qobject_cast<QAbstractButton *>(w))
        return b->text();
    if (auto *n = qobject_cast<QLCDNumber *>(w))
        return QString::number(n->value(), 'f', n->smallDecimalPoint() ? 1 : 0);
    return QString();
}

// Sits on a control and renews its name from what it shows; a repaint
// follows every change of a label's or a button's text, so checking there
// costs nothing while the value stands still.
class ValueSpeaker : public QObject {
public:
    ValueSpeaker(QWidget *control, std::function<QString(const QString &)> meaning)
        : QObject(control), m_control(control), m_meaning(std::move(meaning))
    {
        setObjectName(QStringLiteral("a11yValueSpeaker"));
        control->installEventFilter(this);
        refresh();
    }
    void refresh()
    {
        if (!m_control)
            return;
        const QString name = m_meaning(shownText(m_control));
        if (name != m_control->accessibleName())
            m_control->setAccessibleName(name);   // tells the reader the name changed
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint || event->type() == QEvent::Show)
            refresh();
        return false;
    }

private:
    QPointer<QWidget> m_control;
    std::function<QString(const QString &)> m_meaning;
};

// Gives each button that joins a board its Tab stop once its maker has
// set it up (a child is polished just before it is first shown).
class LateTabStops : public QObject {
public:
    explicit LateTabStops(QWidget *board) : QObject(board) { board->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::ChildPolished)
            if (auto *b = qobject_cast<QAbstractButton *>(static_cast<QChildEvent *>(event)->child()))
                if (b->focusPolicy() == Qt::NoFocus)
                    b->setFocusPolicy(Qt::TabFocus);
        return false;
    }
};

} // namespace

void tabThroughLaterButtons(QWidget *board)
{
    if (board)
        new LateTabStops(board);
}

QString labelWords(const QString &labelText)
{
    QString s;
    for (int i = 0; i < labelText.size(); ++i) {
        if (labelText.at(i) == QLatin1Char('&')) {
            if (i + 1 < labelText.size() && labelText.at(i + 1) == QLatin1Char('&'))
                s += QLatin1Char('&'), ++i;
            continue;
        }
        s += labelText.at(i);
    }
    s.remove(QLatin1Char('\n'));
    s = s.trimmed();
    while (s.endsWith(QChar(0xFF1A)) || s.endsWith(QLatin1Char(':')))
        s.chop(1);
    return s.trimmed();
}

void nameAfter(QLabel *label, QWidget *control)
{
    if (!label || !control)
        return;
    label->setBuddy(control);
    control->setAccessibleName(labelWords(label->text()));
}

void speakValue(QWidget *control, std::function<QString(const QString &)> meaning)
{
    if (!control || !meaning)
        return;
    delete control->findChild<ValueSpeaker *>(QStringLiteral("a11yValueSpeaker"), Qt::FindDirectChildrenOnly);
    new ValueSpeaker(control, std::move(meaning));
}

void nameQuestionPanes(QTextEdit *upper, QTextEdit *lower)
{
    if (upper && lower)
        speakValue(upper, [lower](const QString &) {
            return lower->isVisible() ? QStringLiteral("材料") : QStringLiteral("题目");
        });
    if (lower)
        lower->setAccessibleName(QStringLiteral("题目"));
}

void refreshSpokenValues(QWidget *window)
{
    if (!window)
        return;
    for (QObject *o : window->findChildren<QObject *>(QStringLiteral("a11yValueSpeaker")))
        static_cast<ValueSpeaker *>(o)->refresh();
}

void tabThroughButtons(QWidget *window, const QList<QWidget *> &besides)
{
    if (!window)
        return;
    for (QAbstractButton *b : window->findChildren<QAbstractButton *>()) {
        if (b->focusPolicy() != Qt::NoFocus)
            continue;
        bool aside = false;
        for (QWidget *o : besides)
            aside = aside || (o && o->isAncestorOf(b));
        if (!aside)
            b->setFocusPolicy(Qt::TabFocus);
    }
}

} // namespace a11y
