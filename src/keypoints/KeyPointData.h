// What the key-point directory reads from the bank: the groups of
// tab_fgmc with their counters, and the key points of one group from
// tab_rule; the detail list of a group with its key filter ("重点"), which
// narrows the loaded rows in memory.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

class TDM1;

namespace keypoints {

// A row of tab_fgmc.  The counters are kept as the bank gives them, as
// text, since the grid shows them as text and the threshold reads them
// back from there.
struct KeyPointGroup {
    QString id;
    QString name;
    QString q, q1, q2, q4;
};
// Every group in display order (bh).
QVector<KeyPointGroup> loadGroups(TDM1 &dm);

// The number of key points of a group; nullopt when the bank cannot say.
std::optional<qint64> keyPointCount(TDM1 &dm, const QString &groupCode);

// A row of tab_rule.
struct KeyPoint {
    QString group;   // id
    QString ftid;
    QString title;   // sn as stored (may end in blanks)
    QByteArray text; // n, rich text
    qint64 q = 0, q1 = 0, q2 = 0, q4 = 0;
};
// The key points of a group in ftid order.
QVector<KeyPoint> loadKeyPoints(TDM1 &dm, const QString &groupCode);

// The key points of the opened group as the detail view lists them: all of
// them, or (filtered) only those with at least `minimum` questions.
class KeyPointList {
public:
    bool isOpen() const { return m_open; }
    // Replaces the rows and keeps the filter in force.
    void setRows(const QVector<KeyPoint> &rows);
    // Empties the list and closes it.
    void close();

    // The filter: none, or "q >= minimum".
    void clearFilter();
    void setMinimumQuestions(int minimum);
    std::optional<int> minimumQuestions() const { return m_minimum; }

    int count() const { return int(m_visible.size()); }
    // Entry i (from 0) of the list as filtered.
    const KeyPoint &at(int entry) const;
    // The entry texts in list order.
    QStringList entries() const;

private:
    void applyFilter();
    QVector<KeyPoint> m_rows;
    QVector<int> m_visible;
    std::optional<int> m_minimum;
    bool m_open = false;
};

// The "重点(&M)"/"全部(&A)" toggle of the detail view: 0 while every key
// point is listed, 1 while only the key ones are.
class KeyFilter {
public:
    int toggle() const { return m_toggle; }
    QString caption() const;
    void reset() { m_toggle = 0; }
    // One press: narrows to the key points reaching the threshold (toggle
    // 0) or lists them all again (toggle 1).  True when the list now holds
    // rows, and then the toggle flips.  When no key point reaches the
    // threshold the full list is shown again and the answer is false; the
    // toggle stays as it was.
    bool press(KeyPointList &list, int threshold);

private:
    int m_toggle = 0;
};

} // namespace keypoints
