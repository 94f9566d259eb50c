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

// Reads back a list written by valueList(): "('a','b''c')" gives a, b'c.
// False for any other text.
bool parseValueList(const QString &list, QStringList *values);

// "(?,?,?)" with n placeholders (n >= 1).
QString placeholders(int n);

// The stored form of a date (yyyy-MM-dd).
QString dateText(const QDate &d);

} // namespace sqltext
