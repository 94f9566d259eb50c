// Working the program's windows from the keyboard alone: grids that Tab
// leaves and Enter opens, buttons that Enter presses as Space does, and
// places that keep Enter for a window's own meaning.
#pragma once

#include <functional>

class QAbstractItemView;
class QWidget;

namespace keys {

// A grid of rows worked by keys: the arrows and the Page keys move inside
// it, Tab and Shift+Tab leave it, Enter does what a double-click on the
// row does (`open`; nothing when the grid has no such meaning), and the
// current row is selected and scrolled into view whenever the grid takes
// the focus, so the user sees where the keys will act.
void workGridByKeys(QAbstractItemView *grid, std::function<void()> open = {});

// Once for the program: Enter on a focused button presses it, as Space
// does (a push button that handles Enter itself, as a dialog's default
// does, is left to do so).
void installButtonKeys();

// Enter on the buttons inside `area` keeps the meaning its window gives it
// (the answer area moves on to the next question).
void leaveEnterToWindow(QWidget *area);

} // namespace keys
