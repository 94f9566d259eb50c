// Quoting helpers for SQL text built at run time.
#include "store/SqlText.h"

namespace sqltext {

QString quoted(const QString &value)
{
    QString s = value;
    s.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + s + QLatin1Char('\'');
}

QString valueList(const QStringList &values)
{
    if (values.isEmpty())
        return QStringLiteral("('')");
    QString out = QStringLiteral("(");
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i)
            out += QLatin1Char(',');
        out += quoted(values.at(i));
    }
    out += QLatin1Char(')');
    return out;
}

bool parseValueList(const QString &list, QStringList *values)
{
    QStringList out;
    qsizetype i = 0;
    const qsizetype n = list.size();
    auto skipBlanks = [&] {
        while (i < n && list.at(i).isSpace())
            ++i;
    };
    skipBlanks();
    if (i >= n || list.at(i) != QLatin1Char('('))
        return false;
    ++i;
    for (;;) {
        skipBlanks();
        if (i >= n || list.at(i) != QLatin1Char('\''))
            return false;
        ++i;
        QString value;
        for (;;) {
            if (i >= n)
                return false;
            const QChar c = list.at(i++);
            if (c != QLatin1Char('\'')) {
                value += c;
            } else if (i < n && list.at(i) == QLatin1Char('\'')) {
                value += c;
                ++i;
            } else {
                break;
            }
        }
        out << value;
        skipBlanks();
        if (i < n && list.at(i) == QLatin1Char(',')) {
            ++i;
            continue;
        }
        if (i < n && list.at(i) == QLatin1Char(')')) {
            ++i;
            skipBlanks();
            if (i != n)
                return false;
            *values = out;
            return true;
        }
        return false;
    }
}

QString placeholders(int n)
{
    QString s = QStringLiteral("(");
    for (int k = 0; k < n; ++k)
        s += k ? QStringLiteral(",?") : QStringLiteral("?");
    return s + QLatin1Char(')');
}

QString dateText(const QDate &d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }

} // namespace sqltext
