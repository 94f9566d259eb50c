// What the program's small dialog windows (exam settings, upgrade choice)
// share: they open in the middle of the screen and wear the same face.
#pragma once

class QWidget;

namespace smallwindow {

// Moves the window to the middle of the primary screen.
void centreOnScreen(QWidget *window);

// Paints the face: a pale blue gradient, a blue title strip 25 pixels high
// and a thin frame.  Called from the window's paintEvent.
void paintFace(QWidget *window);

} // namespace smallwindow
