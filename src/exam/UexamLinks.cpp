// Links from the mock exam windows to the windows of other parts.
#include "exam/UexamLinks.h"

#include "widgets/ModalGui.h"
#include "widgets/Uconfig.h"
#include "keypoints/UanswFagui.h"
#include "practice/Ubj.h"
#include "practice/Ujx.h"
#include "store/dm.h"

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

void showExplanation(QWidget *owner, const QString &paperTable, const QString &questionId)
{
    if (explanationSlot()) {
        explanationSlot()(owner, paperTable, questionId);
        return;
    }
    if (!DM1)
        return;
    TFrmJx jx(owner);
    jx.bind(*DM1, {paperTable, QStringLiteral("A1"), questionId, QStringLiteral("jx")});
    ui::execModal(&jx);
    ui::normalCursor();
}

bool editNote(QWidget *owner, const QString &paperTable, const QString &questionId, QString &note)
{
    if (noteSlot())
        return noteSlot()(owner, paperTable, questionId, note);
    if (!DM1)
        return false;
    // A note written in the exam lives in the paper table only.
    TFrmBj bj(owner);
    try {
        bj.bind(*DM1, {paperTable, QStringLiteral("A1"), questionId, QStringLiteral("A14")});
    } catch (const store::DbError &e) {
        ui::showError(e.text());
        return false;
    }
    ui::execModal(&bj);
    if (!bj.saved())
        return false;
    note = bj.text();
    return true;
}

void showKeyPoints(QWidget *owner, const QString &questionId)
{
    if (keyPointsSlot()) {
        keyPointsSlot()(owner, questionId);
        return;
    }
    TfrmAnswFagui w(owner);
    bool any = false;
    try {
        any = w.LoadKeyPoints(questionId);
    } catch (const store::DbError &e) {
        ui::showError(e.text());
        return;
    }
    // Shown only when the question lists something.
    if (any)
        ui::execModal(&w);
}

void showSettings(QWidget *owner)
{
    if (settingsSlot()) {
        settingsSlot()(owner);
        return;
    }
    openSettings(owner, 0);
}

} // namespace examlinks
