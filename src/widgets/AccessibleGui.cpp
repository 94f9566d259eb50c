// Accessible names, spoken values and Tab stops shared by the windows.
#include "widgets/AccessibleGui.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QEvent>
#include <QLabel>
#include <QLCDNumber>
#include <QPointer>
#include <QTextEdit>
#include <QTimer>

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

void showFocus(QWidget *window)
{
    if (!window)
        return;
    // A window sheet that draws its own button borders hides the style's
    // focus frame: the focused button gets a border of its own.
    const QString windowSheet = window->styleSheet();
    if (windowSheet.contains(QLatin1String("QPushButton")) && !windowSheet.contains(QLatin1String(":focus"))) {
        window->setStyleSheet(windowSheet + QStringLiteral(" QPushButton:focus { border: 2px solid #1f6fd0; }"));
        // A sheet changed while the window is still being built does not
        // always reach the buttons already polished: it is laid on again
        // once the window runs.
        QPointer<QWidget> w = window;
        QTimer::singleShot(0, window, [w] {
            if (w)
                w->setStyleSheet(w->styleSheet());
        });
    }
    for (QAbstractButton *b : window->findChildren<QAbstractButton *>()) {
        // A sheet of plain declarations goes under a selector, with a focus
        // rule beside it.
        const QString sheet = b->styleSheet();
        if (sheet.isEmpty() || sheet.contains(QLatin1String(":focus")))
            continue;
        if (!sheet.contains(QLatin1Char('{')))
            b->setStyleSheet(QStringLiteral("%1 { %2 } %1:focus { border: 2px solid #1f6fd0; }")
                                 .arg(QString::fromLatin1(b->metaObject()->className()), sheet));
        else
            b->setStyleSheet(sheet + QStringLiteral(" QAbstractButton:focus { border: 2px solid #1f6fd0; }"));
    }
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
    showFocus(window);
}

} // namespace a11y
