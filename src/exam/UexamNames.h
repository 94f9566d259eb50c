// What the exam window's controls say to a screen reader.
#pragma once

class QWidget;

// Names the views, the clocks, the question number and the answer sheet of
// an exam window (found by their names), and puts its buttons on the Tab
// chain.  Called once the window's controls exist.
void nameExamControls(QWidget *examWindow);
