// Rules of the key-point directory.
#include "keypoints/KeyPointRules.h"

#include "store/SqlText.h"

#include <algorithm>
#include <climits>

namespace keypoints {

namespace {

QString trimmedRight(const QString &s)
{
    qsizetype n = s.size();
    while (n > 0 && s.at(n - 1).isSpace())
        --n;
    return s.left(n);
}

} // namespace

QString paddedCounter(const QString &value)
{
    if (value.size() >= CounterWidth)
        return value;
    return QString(CounterWidth - value.size(), QLatin1Char(' ')) + value;
}

bool isHeadingGroup(const QString &code)
{
    const qsizetype n = code.trimmed().size();
    return n == 1 || n == 2;
}

int findGroupRow(const QStringList &names, const QString &search)
{
    const QString text = search.trimmed();
    if (text.isEmpty())
        return -1;
    for (int i = 0; i < names.size(); ++i)
        if (names.at(i).contains(text, Qt::CaseSensitive))
            return i;
    return -1;
}

int keyPointThreshold(const QString &questionsCell, std::optional<qint64> keyPointCount)
{
    bool ok = false;
    const qint64 a = questionsCell.trimmed().toLongLong(&ok);
    if (!ok || !keyPointCount)
        return 1;
    const qint64 b = *keyPointCount;
    const qint64 t = b == 0 ? 0 : a / b;
    return t <= 0 ? 1 : int(std::min<qint64>(t, INT_MAX));
}

QString entryText(const QString &title, qint64 questions)
{
    const QString t = trimmedRight(title);
    if (questions <= 0)
        return t;
    return t + QLatin1Char('(') + QString::number(questions) + QLatin1Char(')');
}

QString entryTitle(const QString &entry)
{
    const qsizetype p = entry.indexOf(QLatin1Char('('));
    return p < 0 ? entry : entry.left(p);
}

KeyPointNote keyPointNote(qint64 q, qint64 q1, qint64 q2, qint64 q4)
{
    if (q <= 0)
        return {QStringLiteral("虽然针对该内容的习题没有，您仍要仔细阅读！"), false};
    return {QStringLiteral("相关题数：") + QString::number(q) + QStringLiteral("题") + QStringLiteral("  已做题数：")
                + QString::number(q1) + QStringLiteral("题") + QStringLiteral("  已做道次：") + QString::number(q2)
                + QStringLiteral("次") + QStringLiteral("  做错道次：") + QString::number(q4) + QStringLiteral("次"),
            true};
}

KeyPointNote entryNote(const QString &entry, qint64 q, qint64 q1, qint64 q2, qint64 q4)
{
    if (!trimmedRight(entry).contains(QLatin1Char('(')))
        return keyPointNote(0, q1, q2, q4);
    return keyPointNote(q, q1, q2, q4);
}

QString citingQuestions(const QString &value)
{
    QStringList parts;
    for (int k = 3; k <= 12; ++k) {
        const QString field = QStringLiteral("K%1").arg(k);
        QString part = QStringLiteral("select rowid from tab_answ where ") + field + QLatin1Char('=') + value;
        if (k > 3)
            part += QStringLiteral(" and ") + field + QStringLiteral("<>''");
        parts << part;
    }
    return QStringLiteral("rowid in (") + parts.join(QStringLiteral(" union all ")) + QLatin1Char(')');
}

QString citingCountSql() { return QStringLiteral("select count(*) from tab_answ where ") + citingQuestions(QStringLiteral("?1")); }

QString keyPointPracticeSql(const QString &ftid)
{
    // The list comes in the bank's own order (rowid), as a pass over the
    // whole table would give it.
    return QStringLiteral("select a1,a2,a2_1,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,a10,a13,a14,e1,e2,e2_1,e3,e4,f1, csbs "
                          "from tab_answ where ")
           + citingQuestions(sqltext::quoted(ftid)) + QStringLiteral(" order by rowid");
}

} // namespace keypoints
