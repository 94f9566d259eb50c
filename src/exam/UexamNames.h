// What the exam window's controls say to a screen reader.
#pragma once

class TFrmExam;

// Names the views, the clocks, the question number and the answer sheet of
// the exam window, and puts its buttons on the Tab chain.
void nameControls(TFrmExam *w);
