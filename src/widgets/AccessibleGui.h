// What screen readers and keyboard users get from the program's windows:
// names for controls whose own text says nothing (a grid, a number panel,
// a box beside its label), spoken meanings for values that stand alone
// on screen, and a Tab stop on every button a window can be worked with.
#pragma once

#include <QString>
#include <QList>
#include <functional>

class QLabel;
class QTextEdit;
class QWidget;

namespace a11y {

// Names a control after the label beside it: the label becomes its buddy
// (so Alt + the label's mnemonic reaches it too) and the control carries
// the label's words, without "&" and the closing colon, as its name.
void nameAfter(QLabel *label, QWidget *control);

// The words of a label as a name: "&" mnemonics and a closing colon dropped.
QString labelWords(const QString &labelText);

// A control that shows a bare value ("1", "0:00:17", "1200") or a status
// line that may be empty: its accessible name is meaning(shown text) and
// follows every change of what it shows; the screen is left as it is.
void speakValue(QWidget *control, std::function<QString(const QString &shown)> meaning);
// The two panes of a question body: the upper one holds the question, or
// the material when a sub-question stands in the lower one.
void nameQuestionPanes(QTextEdit *upper, QTextEdit *lower);

// Applies the meanings of a window's speaking controls now (they also follow
// by themselves whenever the control repaints).
void refreshSpokenValues(QWidget *window);

// Gives every button of the window that takes no focus a Tab stop (mouse
// clicks still leave the focus where it was); the application's look
// shows the focus on each.  Buttons inside one of
// `besides` (a board of a hundred question numbers) stay off the chain.
void tabThroughButtons(QWidget *window, const QList<QWidget *> &besides = {});
// The same for buttons that `board` gains later (a board rebuilt for each
// question list): each takes its Tab stop as it is first shown.
void tabThroughLaterButtons(QWidget *board);

} // namespace a11y
