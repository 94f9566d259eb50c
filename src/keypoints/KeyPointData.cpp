// Reading the key-point groups and key points, and the detail list.
#include "keypoints/KeyPointData.h"

#include "keypoints/KeyPointRules.h"
#include "store/DbError.h"
#include "store/dm.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <stdexcept>

namespace keypoints {

QVector<KeyPointGroup> loadGroups(TDM1 &dm)
{
    QVector<KeyPointGroup> out;
    QSqlQuery q = dm.exec(QStringLiteral("select * from tab_fgmc order by bh"));
    const QSqlRecord r = q.record();
    const int id = r.indexOf(QStringLiteral("id")), n = r.indexOf(QStringLiteral("n"));
    const int c[4] = {r.indexOf(QStringLiteral("q")), r.indexOf(QStringLiteral("q1")), r.indexOf(QStringLiteral("q2")),
                      r.indexOf(QStringLiteral("q4"))};
    while (q.next()) {
        KeyPointGroup g;
        g.id = q.value(id).toString();
        g.name = q.value(n).toString();
        g.q = q.value(c[0]).toString();
        g.q1 = q.value(c[1]).toString();
        g.q2 = q.value(c[2]).toString();
        g.q4 = q.value(c[3]).toString();
        out << g;
    }
    q.finish();
    return out;
}

std::optional<qint64> keyPointCount(TDM1 &dm, const QString &groupCode)
{
    try {
        const QVariant v = dm.scalar(QStringLiteral("select count(*) as icou1 from tab_rule where (id = ?)"), {groupCode});
        bool ok = false;
        const qint64 n = v.toLongLong(&ok);
        if (ok)
            return n;
    } catch (const store::DbError &) {
    }
    return std::nullopt;
}

QVector<KeyPoint> loadKeyPoints(TDM1 &dm, const QString &groupCode)
{
    QVector<KeyPoint> out;
    QSqlQuery q = dm.exec(QStringLiteral("select * from tab_rule where id=? order by ftid"), {groupCode});
    const QSqlRecord r = q.record();
    const int id = r.indexOf(QStringLiteral("id")), ftid = r.indexOf(QStringLiteral("ftid")),
              sn = r.indexOf(QStringLiteral("sn")), n = r.indexOf(QStringLiteral("n"));
    const int c[4] = {r.indexOf(QStringLiteral("q")), r.indexOf(QStringLiteral("q1")), r.indexOf(QStringLiteral("q2")),
                      r.indexOf(QStringLiteral("q4"))};
    while (q.next()) {
        KeyPoint k;
        k.group = q.value(id).toString();
        k.ftid = q.value(ftid).toString();
        k.title = q.value(sn).toString();
        k.text = q.value(n).toByteArray();
        k.q = q.value(c[0]).toLongLong();
        k.q1 = q.value(c[1]).toLongLong();
        k.q2 = q.value(c[2]).toLongLong();
        k.q4 = q.value(c[3]).toLongLong();
        out << k;
    }
    q.finish();
    return out;
}

void KeyPointList::setRows(const QVector<KeyPoint> &rows)
{
    m_rows = rows;
    m_open = true;
    applyFilter();
}

void KeyPointList::close()
{
    m_rows.clear();
    m_visible.clear();
    m_minimum.reset();
    m_open = false;
}

void KeyPointList::clearFilter()
{
    m_minimum.reset();
    applyFilter();
}

void KeyPointList::setMinimumQuestions(int minimum)
{
    m_minimum = minimum;
    applyFilter();
}

void KeyPointList::applyFilter()
{
    m_visible.clear();
    for (int i = 0; i < m_rows.size(); ++i)
        if (!m_minimum || m_rows.at(i).q >= *m_minimum)
            m_visible << i;
}

const KeyPoint &KeyPointList::at(int entry) const
{
    if (entry < 0 || entry >= count())
        throw std::out_of_range("key-point entry out of range");
    return m_rows.at(m_visible.at(entry));
}

QStringList KeyPointList::entries() const
{
    QStringList out;
    for (int i : m_visible)
        out << entryText(m_rows.at(i).title, m_rows.at(i).q);
    return out;
}

QString KeyFilter::caption() const { return m_toggle == 0 ? QStringLiteral("重点(&M)") : QStringLiteral("全部(&A)"); }

bool KeyFilter::press(KeyPointList &list, int threshold)
{
    if (!list.isOpen())
        return false;
    if (m_toggle == 1)
        list.clearFilter();
    else
        list.setMinimumQuestions(threshold);
    if (list.count() == 0) {
        if (m_toggle == 0)
            list.clearFilter();
        return false;
    }
    m_toggle = m_toggle == 0 ? 1 : 0;
    return true;
}

} // namespace keypoints
