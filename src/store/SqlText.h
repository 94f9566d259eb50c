// The one place where values become SQL text: quoted literals, value lists
// and the date text that the bank stores.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

namespace sqltext {

// A text as an SQL string literal, embedded quotes doubled: O'Brien -> 'O''Brien'.
QString quoted(const QString &value);

// A parenthesised list of quoted literals: ("a","b") -> ('a','b').  An empty
// list gives "('')" so that "x in ()" is never produced.
QString valueList(const QStringList &values);

// The stored form of a date (yyyy-MM-dd).
QString dateText(const QDate &d);

} // namespace sqltext
