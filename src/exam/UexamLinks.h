// The windows the mock exam opens from other parts of the program: the
// explanation, the note, the related key points and the system settings.
// Each goes through a replaceable link so that the exam windows do not
// depend on how those windows are built, and tests can see them open.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

class QWidget;

namespace examlinks {

// Shows the explanation (rich text) of a paper question.
using ExplanationLink = std::function<void(QWidget *owner, const QByteArray &explanation)>;
// Edits the note of a paper question, which lives in the paper table only
// (caller kind "ks"); note holds the stored note and receives the one to
// keep.  Returns true when the note was saved.
using NoteLink = std::function<bool(QWidget *owner, const QString &paperTable, const QString &questionId, QString &note)>;
// Shows the key points related to a question (nothing when it has none).
using KeyPointsLink = std::function<void(QWidget *owner, const QString &questionId)>;
// Opens the system settings window.
using SettingsLink = std::function<void(QWidget *owner)>;

void setExplanationLink(ExplanationLink link);
void setNoteLink(NoteLink link);
void setKeyPointsLink(KeyPointsLink link);
void setSettingsLink(SettingsLink link);

// Open the window through the installed link; without one nothing opens.
void showExplanation(QWidget *owner, const QByteArray &explanation);
bool editNote(QWidget *owner, const QString &paperTable, const QString &questionId, QString &note);
void showKeyPoints(QWidget *owner, const QString &questionId);
void showSettings(QWidget *owner);

} // namespace examlinks
