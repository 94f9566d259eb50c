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

QString dateText(const QDate &d) { return d.toString(QStringLiteral("yyyy-MM-dd")); }

} // namespace sqltext
