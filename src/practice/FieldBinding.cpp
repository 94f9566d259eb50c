// Reading and writing one field of one row for the explanation and note windows.
#include "practice/FieldBinding.h"

#include "store/DbError.h"
#include "store/dm.h"

#include <QRegularExpression>
#include <QSqlQuery>

namespace practice {

namespace {
bool isIdentifier(const QString &s)
{
    static const QRegularExpression re(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return re.match(s).hasMatch();
}
} // namespace

bool FieldBinding::isValid() const { return isIdentifier(table) && isIdentifier(keyField) && isIdentifier(field); }

QVariant FieldBinding::read(TDM1 &dm) const
{
    if (!isValid())
        return QVariant();
    QSqlQuery q = dm.exec(QStringLiteral("select ") + field + QStringLiteral(" from ") + table + QStringLiteral(" where ")
                              + keyField + QStringLiteral("=?"),
                          {key});
    QVariant v;
    if (q.next())
        v = q.value(0);
    q.finish();
    return v;
}

void FieldBinding::write(TDM1 &dm, const QVariant &value) const
{
    if (!isValid())
        throw store::DbError(QStringLiteral("invalid field binding"));
    QSqlQuery q = dm.exec(QStringLiteral("update ") + table + QStringLiteral(" set ") + field + QStringLiteral("=? where ")
                              + keyField + QStringLiteral("=?"),
                          {value, key});
    q.finish();
}

} // namespace practice
