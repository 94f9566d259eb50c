// A field of one row that a small window works on directly: the
// explanation window shows one, the note window edits one.  Practice hands
// the content row's jx or the question row's A14, the exam its paper row.
#pragma once

#include <QString>
#include <QVariant>

class TDM1;

namespace practice {

struct FieldBinding {
    QString table;      // tab_exer, tab_answ, tab_exam<N>
    QString keyField;   // A1
    QString key;        // the row's id
    QString field;      // jx, A14

    // Table and field names must be plain identifiers: they are written
    // into the statement, the key is bound.
    bool isValid() const;
    // Reads the field (throws store::DbError; an invalid binding or a
    // missing row gives a null value).
    QVariant read(TDM1 &dm) const;
    // Writes the field of the row.
    void write(TDM1 &dm, const QVariant &value) const;
};

} // namespace practice
