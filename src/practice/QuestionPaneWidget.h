// The question pane shared by the practice and the exam windows: a
// vertical splitter "Splitter1" with the body (or a sub-question's
// material) above in "Re1" and the sub-question below in "Re2", both
// read-only.  Each window sets its own handle and collapsing on it; the
// body text is filled by practice::fillQuestionBody.
#pragma once

class QSplitter;
class QTextEdit;
class QWidget;

QSplitter *makeQuestionSplitter(QWidget *parent, QTextEdit *&upper, QTextEdit *&lower);
