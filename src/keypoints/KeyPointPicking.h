// Attaching key points to a question: the groups and key points that the
// picker offers, the limits it checks when the user confirms, and the
// merge of the picked key points into the authoring windows' lists.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class TDM1;

namespace keypoints {

// A group of the picker's drop-down list (a tab_fgmc row of 6 or 2
// characters) and a key point of its check list (a tab_rule row).
struct PickerGroup {
    QString code;   // id
    QString name;   // n
};
struct PickerEntry {
    QString ftid;
    QString title;  // sn, trailing blanks trimmed
};

// The groups in the order the bank returns them.
QVector<PickerGroup> loadPickerGroups(TDM1 &dm);
// The key points whose group id equals the code, in the order the bank
// returns them.
QVector<PickerEntry> loadPickerEntries(TDM1 &dm, const QString &groupCode);

// A question holds at most 7 key points picked at once on top of those it
// lists.  The refusal shown on confirming, or an empty text when the
// picker may close with its result.
QString pickerRefusal(int existingCount, int tickedCount);

// The key points an authoring window lists: the entries shown (ListBox1)
// and the key-point ids parallel to them (ListBox2).
struct PickedKeyPoints {
    QStringList entries;
    QStringList ids;
    int count() const { return int(ids.size()); }
    void clear()
    {
        entries.clear();
        ids.clear();
    }
    void removeAt(int i)
    {
        if (i >= 0 && i < ids.size()) {
            entries.removeAt(i);
            ids.removeAt(i);
        }
    }
};

// Appends every picked entry that the list does not hold yet, as
// group name + "[" + title + "]".  Returns how many were added.
int mergePickedKeyPoints(PickedKeyPoints &list, const QString &groupName, const QVector<PickerEntry> &entries,
                         const QVector<bool> &picked);

// The usage help of the authoring windows (the picker's second page).
QString pickerHelpText();

} // namespace keypoints
