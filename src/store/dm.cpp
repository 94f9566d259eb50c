// The data module: opening the bank and counting judged answers.
#include "store/dm.h"

#include "platform/Seams.h"
#include "store/LongWork.h"
#include "store/Schema.h"
#include "store/SqlText.h"

#include <QFileInfo>
#include <QSqlDriver>
#include <sqlite3.h>
#include <QSqlError>
#include <QUrl>
#include <QUuid>
#include <stdexcept>

TDM1 *DM1 = nullptr;

namespace {

QString engineText(const QSqlError &e)
{
    const QString d = e.databaseText();
    return d.isEmpty() ? e.text() : d;
}

// While long work lets the screen paint from inside one of its statements,
// the connection is in the middle of that statement: whatever the painting
// might set off is refused rather than run on it.
void refuseInsideLongWork()
{
    if (store::LongWork::insideStatement())
        throw store::DbError(QStringLiteral("the bank is busy with long work"));
}

} // namespace

TDM1::TDM1()
{
    AppDir = seams::appDir();
    m_bankPath = seams::bankPath();
    m_connection = QStringLiteral("bank-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    DM1 = this;

    // The bank is opened read-write but never created: an SQLite URI with
    // mode=rw fails on a missing file instead of making an empty one.
    if (!QFileInfo(m_bankPath).isFile()) {
        openError = QStringLiteral("missing file: ") + m_bankPath;
        return;
    }
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        db.setDatabaseName(QUrl::fromLocalFile(m_bankPath).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        if (!db.open()) {
            openError = engineText(db.lastError());
            return;
        }
    }
    // A refused bank is closed again here, with no handle left on it.
    openError = prepareBank();
    if (!openError.isEmpty()) {
        close();
        return;
    }
    DbOpened = true;
}

namespace {

// Runs one statement on the engine and returns the first column of its
// first row as text; an error comes back in *error with the engine's text.
QString engineValue(sqlite3 *h, const char *sql, QString *error)
{
    sqlite3_stmt *stmt = nullptr;
    QString out;
    if (sqlite3_prepare_v2(h, sql, -1, &stmt, nullptr) == SQLITE_OK) {
        const int rc = sqlite3_step(stmt);
        if (rc == SQLITE_ROW)
            out = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
        else if (rc != SQLITE_DONE)
            *error = QString::fromUtf8(sqlite3_errmsg(h));
    } else {
        *error = QString::fromUtf8(sqlite3_errmsg(h));
    }
    sqlite3_finalize(stmt);
    return out;
}

// How long opening waits for a bank another process holds.
constexpr int OpeningBusyMs = 1000;
constexpr int WorkingBusyMs = 5000;

} // namespace

QString TDM1::prepareBank()
{
    sqlite3 *h = nullptr;
    try {
        h = handle();
    } catch (const store::DbError &e) {
        return e.text();
    }
    sqlite3_busy_timeout(h, OpeningBusyMs);
    QString error;
    // The engine opens a file it may not write read-only without saying
    // so; every answer would then be lost.
    if (sqlite3_db_readonly(h, "main") != 0)
        return QStringLiteral("the bank cannot be written");
    // Nothing in the file changes until it has shown itself to be a bank
    // of this program with every table the program uses.
    const QString version = engineValue(h, "PRAGMA user_version", &error);
    if (!error.isEmpty())
        return error;
    if (version.toInt() != store::SchemaVersion)
        return QStringLiteral("schema version %1, expected %2").arg(version).arg(store::SchemaVersion);
    QStringList present;
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(h, "select name from sqlite_master where type='table'", -1, &stmt, nullptr) != SQLITE_OK)
        return QString::fromUtf8(sqlite3_errmsg(h));
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
        present << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0))).toLower();
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        return QString::fromUtf8(sqlite3_errmsg(h));
    for (const QString &t : store::shippedTables())
        if (!present.contains(t.toLower()))
            return QStringLiteral("not a question bank: no table ") + t;

    // The bank is this process's alone while it is open: no second copy of
    // the program, nor anything else, can write it underneath.
    if (engineValue(h, "PRAGMA locking_mode=EXCLUSIVE", &error) != QLatin1String("exclusive") || !error.isEmpty())
        return error.isEmpty() ? QStringLiteral("the bank cannot be held") : error;
    const QString journal = engineValue(h, "PRAGMA journal_mode=WAL", &error);
    if (!error.isEmpty())
        return error;
    if (journal.compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return QStringLiteral("journal mode stays %1: the bank's folder cannot be written").arg(journal);
    engineValue(h, "PRAGMA synchronous=NORMAL", &error);
    if (!error.isEmpty())
        return error;
    // A write that is rolled back proves the bank can take the answers and
    // takes the hold on it.  The write sets the schema version to what it
    // is: a change of the schema itself, rolled back, would make the engine
    // throw away the schema it has read and parse every table definition
    // again (thousands with the kept papers).
    const QByteArray probe = QByteArrayLiteral("PRAGMA user_version = ") + QByteArray::number(store::SchemaVersion);
    for (const char *sql : {"BEGIN IMMEDIATE", probe.constData()}) {
        if (sqlite3_exec(h, sql, nullptr, nullptr, nullptr) != SQLITE_OK) {
            error = QString::fromUtf8(sqlite3_errmsg(h));
            if (sqlite3_get_autocommit(h) == 0)
                sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr);
            return error;
        }
    }
    if (sqlite3_exec(h, "ROLLBACK", nullptr, nullptr, nullptr) != SQLITE_OK)
        return QString::fromUtf8(sqlite3_errmsg(h));
    // A bank made by an earlier build of the program gets today's indexes.
    try {
        QSqlDatabase d = db();
        store::refreshIndexes(d);
    } catch (const store::DbError &e) {
        return e.text();
    }
    sqlite3_busy_timeout(h, WorkingBusyMs);
    return QString();
}

TDM1::~TDM1()
{
    close();
    if (DM1 == this)
        DM1 = nullptr;
}

QSqlDatabase TDM1::db() const { return QSqlDatabase::database(m_connection, false); }

void TDM1::close()
{
    try {
        m_prepared.clear();
        for (sqlite3_stmt *s : std::as_const(m_statements))
            sqlite3_finalize(s);
        m_statements.clear();
        m_handle = nullptr;
        if (QSqlDatabase::contains(m_connection)) {
            {
                QSqlDatabase d = QSqlDatabase::database(m_connection, false);
                if (d.isOpen())
                    d.close();
            }
            QSqlDatabase::removeDatabase(m_connection);
        }
    } catch (...) {
    }
    DbOpened = false;
}

QSqlQuery TDM1::exec(const QString &sql, const QVariantList &binds)
{
    refuseInsideLongWork();
    auto it = m_prepared.find(sql);
    if (it == m_prepared.end()) {
        auto q = std::make_shared<QSqlQuery>(db());
        if (!q->prepare(sql))
            throw store::DbError(engineText(q->lastError()));
        it = m_prepared.insert(sql, q);
    }
    QSqlQuery &q = **it;
    q.finish();
    for (int i = 0; i < binds.size(); ++i)
        q.bindValue(i, binds.at(i));
    if (!q.exec())
        throw store::DbError(engineText(q.lastError()));
    // The caller gets a handle on the cached statement itself (a copy
    // shares it), so the next call with the same text prepares nothing.
    // Qt marks copying as deprecated for that very sharing; here it is
    // what is wanted.
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    return q;
    QT_WARNING_POP
}

sqlite3 *TDM1::handle()
{
    refuseInsideLongWork();
    if (!m_handle) {
        m_handle = store::handleOf(db());
        if (!m_handle)
            throw store::DbError(QStringLiteral("the bank is not open"));
    }
    return m_handle;
}

sqlite3_stmt *TDM1::statement(const QString &sql)
{
    auto it = m_statements.constFind(sql);
    if (it != m_statements.constEnd())
        return *it;
    sqlite3_stmt *stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(handle(), text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK) {
        const QString err = QString::fromUtf8(sqlite3_errmsg(handle()));
        sqlite3_finalize(stmt);
        throw store::DbError(err);
    }
    m_statements.insert(sql, stmt);
    return stmt;
}

void TDM1::step(sqlite3_stmt *stmt, const QVariantList &binds, const std::function<void(const QVariantList &)> *onRow)
{
    for (int i = 0; i < binds.size(); ++i) {
        const QVariant &v = binds.at(i);
        int rc = SQLITE_OK;
        if (v.isNull()) {
            rc = sqlite3_bind_null(stmt, i + 1);
        } else {
            switch (v.typeId()) {
            case QMetaType::Int:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::Bool:
                rc = sqlite3_bind_int64(stmt, i + 1, v.toLongLong());
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                rc = sqlite3_bind_double(stmt, i + 1, v.toDouble());
                break;
            case QMetaType::QByteArray: {
                const QByteArray b = v.toByteArray();
                rc = sqlite3_bind_blob(stmt, i + 1, b.constData(), int(b.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                const QString s = v.toString();
                rc = sqlite3_bind_text16(stmt, i + 1, s.utf16(), int(s.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
                break;
            }
            }
        }
        if (rc != SQLITE_OK) {
            sqlite3_reset(stmt);
            throw store::DbError(QString::fromUtf8(sqlite3_errmsg(handle())));
        }
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        if (!onRow)
            continue;
        QVariantList row;
        for (int c = 0, n = sqlite3_column_count(stmt); c < n; ++c) {
            switch (sqlite3_column_type(stmt, c)) {
            case SQLITE_NULL: row << QVariant(); break;
            case SQLITE_INTEGER: row << QVariant(qlonglong(sqlite3_column_int64(stmt, c))); break;
            case SQLITE_FLOAT: row << QVariant(sqlite3_column_double(stmt, c)); break;
            default:
                row << QVariant(QString(reinterpret_cast<const QChar *>(sqlite3_column_text16(stmt, c)),
                                        sqlite3_column_bytes16(stmt, c) / int(sizeof(QChar))));
            }
        }
        (*onRow)(row);
    }
    const QString err = rc == SQLITE_DONE ? QString() : QString::fromUtf8(sqlite3_errmsg(handle()));
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (!err.isEmpty())
        throw store::DbError(err);
}

void TDM1::run(const QString &sql, const QVariantList &binds) { step(statement(sql), binds, nullptr); }

void TDM1::run(const QString &sql, const QVariantList &binds, const std::function<void(const QVariantList &)> &onRow)
{
    step(statement(sql), binds, &onRow);
}

void TDM1::runText(const QString &sql)
{
    sqlite3_stmt *stmt = nullptr;
    const QByteArray text = sql.toUtf8();
    if (sqlite3_prepare_v2(handle(), text.constData(), int(text.size()), &stmt, nullptr) != SQLITE_OK) {
        const QString err = QString::fromUtf8(sqlite3_errmsg(handle()));
        sqlite3_finalize(stmt);
        throw store::DbError(err);
    }
    std::unique_ptr<sqlite3_stmt, int (*)(sqlite3_stmt *)> guard(stmt, sqlite3_finalize);
    step(stmt, {}, nullptr);
}

QSqlQuery TDM1::execText(const QString &sql)
{
    refuseInsideLongWork();
    QSqlQuery q(db());
    if (!q.exec(sql))
        throw store::DbError(engineText(q.lastError()));
    return q;
}

QVariant TDM1::scalar(const QString &sql, const QVariantList &binds)
{
    QSqlQuery q = exec(sql, binds);
    QVariant v;
    if (q.next())
        v = q.value(0);
    q.finish();
    return v;
}

void TDM1::begin()
{
    if (m_depth++ == 0) {
        m_failed = false;
        if (!db().transaction()) {
            m_depth = 0;
            throw store::DbError(engineText(db().lastError()));
        }
    }
}

void TDM1::commit() { commit({}); }

void TDM1::commit(const std::function<bool()> &engineCommit)
{
    if (m_depth <= 0)
        return;
    if (--m_depth > 0)
        return;
    if (m_failed) {
        db().rollback();
        throw store::DbError(QStringLiteral("an inner step failed; nothing was stored"));
    }
    // Statements still holding read cursors would block the commit.
    for (auto &q : m_prepared)
        q->finish();
    if (engineCommit) {
        if (!engineCommit()) {
            const QString err = QString::fromUtf8(sqlite3_errmsg(handle()));
            db().rollback();
            throw store::DbError(err);
        }
        return;
    }
    if (!db().commit()) {
        const QString err = engineText(db().lastError());
        db().rollback();
        throw store::DbError(err);
    }
}

void TDM1::rollback()
{
    if (m_depth <= 0)
        return;
    if (--m_depth > 0) {
        m_failed = true;
        return;
    }
    for (auto &q : m_prepared)
        q->finish();
    db().rollback();
}

void TDM1::LogAnswerToday(int firstToday, int wrong, int previouslyWrong)
{
    const int w = wrong == 2 ? 1 : 0;
    int b1 = 0;
    int b2 = 0;
    if (firstToday == 2) {
        b1 = 1;
        b2 = w;
    } else if (previouslyWrong == 1 && wrong == 2) {
        b2 = 1;
    } else if (previouslyWrong == 2 && wrong == 1) {
        b2 = -1;
    }
    // A new day's row starts from this answer alone; an existing row is
    // raised by the deltas worked out above.  A right answer stores 0, not
    // NULL, in A3 and B2.
    run(QStringLiteral("insert into tab_rz (A1,A2,A3,B1,B2) values (?,1,?,1,?) "
                        "on conflict(A1) do update set A2=A2+1, A3=A3+?, B1=B1+?, B2=B2+?"),
         {sqltext::dateText(seams::clock().today()), w, w, w, b1, b2});
}

void TDM1::CountChapterAnswer(const QString &chapterCode, int firstEver, int wrong)
{
    // The code itself and then each prefix one character shorter, down to
    // one character; a short code pads the list with empty texts, which
    // match no row.  Prefixes without a row are skipped by the engine.
    QVariantList b{firstEver == 2 ? 1 : 0, wrong == 2 ? 1 : 0};
    for (int cut = 0; cut < 6; ++cut)
        b << (cut < chapterCode.size() ? QVariant(chapterCode.left(chapterCode.size() - cut)) : QVariant(QString()));
    run(QStringLiteral("update tab_kmmc set C4=C4+?, D1=D1+1, D2=D2+? where C1 in (?,?,?,?,?,?) and C1<>''"), b);
    // The chapter table ends on the shortest code it touched, as walking
    // the prefixes from the longest down leaves it.  (A RETURNING clause
    // would say the same, but makes the engine build a temporary table on
    // every answer.)
    QString lastCode;
    QString lastHint;
    bool any = false;
    b.remove(0, 2);
    run(QStringLiteral("select C1, C1_1 from tab_kmmc where C1 in (?,?,?,?,?,?) and C1<>'' order by length(C1), bh limit 1"),
        b, [&](const QVariantList &row) {
            lastCode = row.at(0).toString();
            lastHint = row.at(1).toString();
            any = true;
        });
    if (any) {
        m_currentChapter = lastCode;
        ChapterCaption = lastHint;
    }
}

void TDM1::CountKeyPointAnswer(const QString &keyPointList, const QString &groupList, const QString &headingList,
                               int firstEver, int wrong)
{
    // The lists arrive as SQL value lists.  Lists in the program's own
    // form are read back and their values bound to a statement prepared
    // once per list length; any other text is run as it stands.
    auto statementFor = [](const QString &head, const QString &list, QVariantList *binds) {
        QStringList values;
        if (!sqltext::parseValueList(list, &values))
            return head + list;
        for (const QString &v : values)
            *binds << v;
        return head + sqltext::placeholders(int(values.size()));
    };
    auto raise = [&](const char *field) {
        const QString f = QLatin1String(field);
        const std::pair<QString, const QString *> parts[] = {
            {QStringLiteral("update tab_rule set ") + f + QLatin1Char('=') + f + QStringLiteral("+1 where ftid in "), &keyPointList},
            {QStringLiteral("update tab_fgmc set ") + f + QLatin1Char('=') + f + QStringLiteral("+1 where id in "), &groupList},
            {QStringLiteral("update tab_fgmc set ") + f + QLatin1Char('=') + f + QStringLiteral("+1 where id in "), &headingList},
        };
        for (const auto &[head, list] : parts) {
            QVariantList binds;
            const QString sql = statementFor(head, *list, &binds);
            if (binds.isEmpty())
                runText(sql);
            else
                run(sql, binds);
        }
    };
    raise("q2");
    if (firstEver == 2)
        raise("q1");
    if (wrong == 2)
        raise("q4");
}

static QString accuracyText(qint64 answers, qint64 wrong)
{
    if (answers <= 0)
        return QStringLiteral("0");
    return QString::asprintf("%2.2f", double(answers - wrong) / double(answers) * 100.0);
}

void TDM1::AddStudyTime(const QString &elapsed)
{
    DbTransaction tx(*this);
    const QString today = sqltext::dateText(seams::clock().today());
    QSqlQuery q = exec(QStringLiteral("select A2, A3, D1 from tab_rz where A1=?"), {today});
    if (q.next()) {
        const qint64 a2 = q.value(0).toLongLong();
        const qint64 a3 = q.value(1).toLongLong();
        const QString d1 = q.value(2).toString();
        q.finish();
        const qint64 total = TimeToSeconds(d1) + TimeToSeconds(elapsed);
        const qint64 hours = total / 3600;
        const qint64 minutes = (total - 3600 * hours) / 60;
        const qint64 seconds = total - 3600 * hours - 60 * minutes;
        auto two = [](qint64 n) { return (n < 10 ? QStringLiteral("0") : QString()) + QString::number(n); };
        const QString joined = two(hours) + QLatin1Char(':') + two(minutes) + QLatin1Char(':') + two(seconds);
        exec(QStringLiteral("update tab_rz set A4=?, D1=? where A1=?"), {accuracyText(a2, a3), joined, today});
    } else {
        q.finish();
    }
    // Every chapter's overall score is refreshed, not only those after the
    // chapter table's current row: a stale score would be plainly wrong.
    QSqlQuery rows = exec(QStringLiteral("select rowid, D1, D2, C6 from tab_kmmc"));
    QVector<QPair<qint64, QString>> changes;
    while (rows.next()) {
        const QString c6 = accuracyText(rows.value(1).toLongLong(), rows.value(2).toLongLong());
        if (rows.value(3).isNull() || rows.value(3).toString() != c6)
            changes.append({rows.value(0).toLongLong(), c6});
    }
    rows.finish();
    for (const auto &c : changes)
        exec(QStringLiteral("update tab_kmmc set C6=? where rowid=?"), {c.second, c.first});
    tx.commit();
}

qint64 TDM1::TimeToSeconds(const QString &text)
{
    auto toInt = [](const QString &part) {
        bool ok = false;
        const qint64 v = part.trimmed().toLongLong(&ok, 10);
        if (!ok)
            throw std::invalid_argument(QString(QLatin1Char(0x27) + part + QStringLiteral("' is not a valid integer value")).toStdString());
        return v;
    };
    QString rest = text;
    qint64 total = 0;
    int taken = 0;
    while (rest.contains(QLatin1Char(':'))) {
        const qsizetype at = rest.indexOf(QLatin1Char(':'));
        const QString part = rest.left(at);
        rest = rest.mid(at + 1);
        ++taken;
        if (taken == 1) {
            total += toInt(part) * 3600;
        } else if (taken == 2) {
            total += toInt(part) * 60;
        } else {
            rest.clear();
            break;
        }
    }
    if (taken == 2)
        total += toInt(rest.left(2));
    return total;
}

void TDM1::setChapterRow(const QString &code)
{
    m_currentChapter = code;
    const QVariant hint = scalar(QStringLiteral("select C1_1 from tab_kmmc where C1=? order by bh limit 1"), {code});
    ChapterCaption = hint.toString();
}

void TDM1::setTypeTable(int subject) { m_typeTable = QStringLiteral("tab_tx") + QString::number(subject); }
