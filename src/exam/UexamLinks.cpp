// Links from the mock exam windows to the windows of other parts.
#include "exam/UexamLinks.h"

namespace examlinks {

namespace {
ExplanationLink &explanationSlot()
{
    static ExplanationLink l;
    return l;
}
NoteLink &noteSlot()
{
    static NoteLink l;
    return l;
}
KeyPointsLink &keyPointsSlot()
{
    static KeyPointsLink l;
    return l;
}
SettingsLink &settingsSlot()
{
    static SettingsLink l;
    return l;
}
} // namespace

void setExplanationLink(ExplanationLink link) { explanationSlot() = std::move(link); }
void setNoteLink(NoteLink link) { noteSlot() = std::move(link); }
void setKeyPointsLink(KeyPointsLink link) { keyPointsSlot() = std::move(link); }
void setSettingsLink(SettingsLink link) { settingsSlot() = std::move(link); }

void showExplanation(QWidget *owner, const QByteArray &explanation)
{
    if (explanationSlot())
        explanationSlot()(owner, explanation);
}

bool editNote(QWidget *owner, const QString &paperTable, const QString &questionId, QString &note)
{
    return noteSlot() ? noteSlot()(owner, paperTable, questionId, note) : false;
}

void showKeyPoints(QWidget *owner, const QString &questionId)
{
    if (keyPointsSlot())
        keyPointsSlot()(owner, questionId);
}

void showSettings(QWidget *owner)
{
    if (settingsSlot())
        settingsSlot()(owner);
}

} // namespace examlinks
