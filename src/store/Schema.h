// The question bank's schema: every table of the bank with its columns and
// indexes.  The program itself never creates a bank; the schema is used by
// the bank generator, by tests, and to check a bank's version on opening.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

namespace store {

// Stored in PRAGMA user_version.  A bank with another version is refused.
constexpr int SchemaVersion = 1;

// The product stamp that tab_sj of every bank of this program carries.
inline constexpr const char *ProductStamp = "PELLBROOK-VELMORA-2026";

// CREATE statements of all shipped tables and indexes, in order.
QStringList schemaStatements();

// The columns of each shipped table, in their stored order (lower case
// names as the schema writes them).
QStringList tableColumns(const QString &table);
QStringList shippedTables();

// Brings the indexes of an opened bank to the program's: an index that is
// missing is created and one whose definition differs is made anew, in one
// transaction (tables and rows are untouched).  Throws DbError with the
// engine's text.
void refreshIndexes(QSqlDatabase &db);

// Creates every table and index in an empty database and sets the schema
// version, in one transaction.  Throws DbError with the engine's text.
void createSchema(QSqlDatabase &db);

} // namespace store
