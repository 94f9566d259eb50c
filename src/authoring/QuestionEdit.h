// Editing a question already in the bank: reading what the edit window
// shows, and the save of every changed field, the edit count and the exact
// key-point counts in one transaction.
#pragma once

#include "authoring/QuestionEntry.h"
#include "keypoints/KeyPointPicking.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class TDM1;

namespace authoring {

// A question as the edit window shows and saves it.
struct EditedQuestion {
    QString id;             // a1
    QString answer;         // a2
    int optionCount = 0;    // a2_1
    int type = 0;           // a13
    QStringList keyPoints;  // non-empty k3..k12 in field order
    int editCount = 0;      // ecount
    QByteArray body;        // tab_exer.a15
    QByteArray explanation; // tab_exer.jx
    bool hasExplanation = false;
    bool isSubQuestion = false;   // the id contains "-"
    QByteArray material;    // tab_title.A15 of the first 16 characters of the id
};

// False when the question has no row.  Throws store::DbError.
bool loadEditedQuestion(TDM1 &dm, const QString &id, EditedQuestion &out);

// A stored type code as the edit window offers it when the current
// subject's type table lacks it (a question of another subject, a
// sub-question of a material): its name from the first subject's table
// that has the code, else the code itself as its name.
Ttx storedType(TDM1 &dm, int code);

// The key-point list of the edit window: group name and key-point title
// joined without a separator, ids in the question's order.
keypoints::PickedKeyPoints listedKeyPoints(TDM1 &dm, const QStringList &ids);

// Stores body, explanation (none when hasExplanation is false), material
// of a sub-question, option count, answer, type, k3..k12 (the listed ids
// from k3 upward, the rest emptied), raises ecount by 1 and recounts
// tab_rule.q exactly for every key point listed before or after the edit.
// `before` is the key-point list the question had when it was loaded.
// All of it in one transaction; throws store::DbError with the engine's
// text and stores nothing when a step fails.  Returns the new edit count.
int saveEditedQuestion(TDM1 &dm, const EditedQuestion &q, const QStringList &before);

} // namespace authoring
