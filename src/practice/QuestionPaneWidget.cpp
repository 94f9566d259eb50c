// The question pane's splitter and its two text panes.
#include "practice/QuestionPaneWidget.h"

#include <QSplitter>
#include <QTextEdit>

QSplitter *makeQuestionSplitter(QWidget *parent, QTextEdit *&upper, QTextEdit *&lower)
{
    auto *splitter = new QSplitter(Qt::Vertical, parent);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    upper = new QTextEdit(splitter);
    upper->setObjectName(QStringLiteral("Re1"));
    upper->setReadOnly(true);
    lower = new QTextEdit(splitter);
    lower->setObjectName(QStringLiteral("Re2"));
    lower->setReadOnly(true);
    splitter->addWidget(upper);
    splitter->addWidget(lower);
    return splitter;
}
