// What the practice window's controls say to a screen reader.
#pragma once

class QWidget;

// Names the views, the gauge and the bare numbers of a practice window
// (found by their names), and puts its buttons on the Tab chain.  Called
// once the window's controls exist.
void namePracticeControls(QWidget *practiceWindow);
