// The windows the mock exam opens from other parts of the program: the
// explanation, the note, the related key points and the system settings.
// Each goes through a replaceable link (tests install their own); without
// one the program's own window opens: TFrmJx, TFrmBj, TfrmAnswFagui.  The
// system settings window has no default yet.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace examlinks {

// Shows the explanation of a paper question (the paper row's jx).
using ExplanationLink = std::function<void(QWidget *owner, const QString &paperTable, const QString &questionId)>;
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
void showExplanation(QWidget *owner, const QString &paperTable, const QString &questionId);
bool editNote(QWidget *owner, const QString &paperTable, const QString &questionId, QString &note);
void showKeyPoints(QWidget *owner, const QString &questionId);
void showSettings(QWidget *owner);

} // namespace examlinks
