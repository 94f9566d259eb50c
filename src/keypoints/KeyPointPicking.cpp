// The picker's lists, its limits and the merge into an authoring window.
#include "keypoints/KeyPointPicking.h"

#include "store/dm.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace keypoints {

QVector<PickerGroup> loadPickerGroups(TDM1 &dm)
{
    QVector<PickerGroup> out;
    QSqlQuery q = dm.exec(QStringLiteral("select * from tab_fgmc where length(id) = 6 or length(id)=2"));
    const QSqlRecord r = q.record();
    const int id = r.indexOf(QStringLiteral("id")), n = r.indexOf(QStringLiteral("n"));
    while (q.next())
        out.append({q.value(id).toString(), q.value(n).toString()});
    q.finish();
    return out;
}

QVector<PickerEntry> loadPickerEntries(TDM1 &dm, const QString &groupCode)
{
    QVector<PickerEntry> out;
    QSqlQuery q = dm.exec(QStringLiteral("select * from tab_rule where id = ?"), {groupCode});
    const QSqlRecord r = q.record();
    const int ftid = r.indexOf(QStringLiteral("ftid")), sn = r.indexOf(QStringLiteral("sn"));
    while (q.next()) {
        QString title = q.value(sn).toString();
        while (title.endsWith(QLatin1Char(' ')))
            title.chop(1);
        out.append({q.value(ftid).toString(), title});
    }
    q.finish();
    return out;
}

QString pickerRefusal(int existingCount, int tickedCount)
{
    if (tickedCount == 0)
        return QStringLiteral("请选择对应考点，退出请按关闭按钮！");
    if (existingCount + tickedCount < 8)
        return QString();
    return QStringLiteral("对应考点最多不能超过7条，已有考点") + QString::number(existingCount) + QStringLiteral("条！");
}

int mergePickedKeyPoints(PickedKeyPoints &list, const QString &groupName, const QVector<PickerEntry> &entries,
                         const QVector<bool> &picked)
{
    int added = 0;
    for (int i = 0; i < entries.size() && i < picked.size(); ++i) {
        if (!picked.at(i) || list.ids.contains(entries.at(i).ftid))
            continue;
        list.ids << entries.at(i).ftid;
        list.entries << groupName + QLatin1Char('[') + entries.at(i).title + QLatin1Char(']');
        ++added;
    }
    return added;
}

QString pickerHelpText()
{
    const QStringList lines{
        QStringLiteral("使用方法如下："),
        QString(),
        QStringLiteral("   首先将试题的内容填写在试题内容框内，这是必须填写项，如果试题有对应的"),
        QStringLiteral("讲解，请把内容填写进解析框内。"),
        QString(),
        QStringLiteral("   然后选择或录入待选答案的个数，主要是选择题，例如试题："),
        QString(),
        QStringLiteral("   7月有几天？"),
        QStringLiteral("   A. 30"),
        QStringLiteral("   B. 28"),
        QStringLiteral("   C. 31"),
        QStringLiteral("   "),
        QStringLiteral("   这里的待选答案是A B C，共为3个，也就是我们这里的待选答案个数为3。"),
        QStringLiteral("   "),
        QStringLiteral("   接下来填入答案："),
        QStringLiteral("   如果是单选，例如上面的试题，就填写C；"),
        QStringLiteral("   如果是多选把答案直接填入框内。例如答案是ABD那么答案框内就写ABD；"),
        QStringLiteral("   如果是判断题则答案正确填写A，答案错误填写B；"),
        QStringLiteral("   如果试题是主观题，则把实际答案同解析内容一起填入解析栏中。答案框中自"),
        QStringLiteral("动填写1；"),
        QString(),
    };
    return lines.join(QLatin1Char('\n'));
}

} // namespace keypoints
