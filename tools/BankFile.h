// Opening an SQLite file on a connection of its own for the bank tools.
#pragma once

#include "store/DbError.h"

#include <QAtomicInt>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <exception>

namespace demobank {

// Opens the file at path (with the driver's connect options, if any), runs
// work(db) and closes the connection again whatever happens inside; a
// failure inside rolls back an open transaction and travels on.
template <class F> void withDatabase(const QString &path, const QString &options, F &&work)
{
    static QAtomicInt counter;
    const QString name = QStringLiteral("bankfile-%1").arg(counter.fetchAndAddRelaxed(1));
    std::exception_ptr failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!options.isEmpty())
            db.setConnectOptions(options);
        if (!db.open()) {
            const QString err = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw store::DbError(err);
        }
        try {
            work(db);
        } catch (...) {
            failure = std::current_exception();
            if (db.isOpen())
                db.rollback();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace demobank
