// The data module: the one connection to the question bank, the shared
// state that windows hand to each other through it, and the routines that
// count every judged answer into the study log, the chapters and the key
// points.
#pragma once

#include "store/DbError.h"

#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>

struct sqlite3;
struct sqlite3_stmt;

class TDM1 {
public:
    // Opens the bank, seams::bankPath(): AppDir + "data/VORDANBANK01.db"
    // beside a writable program folder, else in the user's data folder.
    // Never creates it: a missing
    // file, a file that is not an SQLite database, a bank of another
    // schema version or lacking a table, and a bank that cannot be written
    // (the file or its folder) leave DbOpened false and the file as it was.
    // Nothing is shown here.
    TDM1();
    ~TDM1();
    TDM1(const TDM1 &) = delete;
    TDM1 &operator=(const TDM1 &) = delete;

    bool DbOpened = false;
    // Why the bank did not open (engine text), for diagnostics only.
    QString openError;

    QString AppDir;   // program folder with a trailing separator
    QString bankPath() const { return m_bankPath; }
    QSqlDatabase db() const;

    // Runs one statement with bound values; throws DbError with the
    // engine's text.  Statements given as fixed text are prepared once and
    // reused.
    QSqlQuery exec(const QString &sql, const QVariantList &binds = {});
    // The same for a statement whose text varies (value lists); not cached.
    QSqlQuery execText(const QString &sql);
    // Runs a statement without a result set (an update, insert or delete)
    // straight on the engine: the judged-answer path writes through here.
    // Fixed texts are prepared once; throws DbError with the engine's text.
    void run(const QString &sql, const QVariantList &binds = {});
    // The same for a statement whose text varies (value lists): prepared,
    // run and released.
    void runText(const QString &sql);
    // Runs a statement and hands each result row to onRow (column values
    // in order).
    void run(const QString &sql, const QVariantList &binds, const std::function<void(const QVariantList &)> &onRow);

    // Runs a query and returns the first column of its first row (invalid
    // when there is none).
    QVariant scalar(const QString &sql, const QVariantList &binds = {});

    // --- counting routines (codes: 2 = yes, 1 = no) ---
    void LogAnswerToday(int firstToday, int wrong, int previouslyWrong);
    void CountChapterAnswer(const QString &chapterCode, int firstEver, int wrong);
    void CountKeyPointAnswer(const QString &keyPointList, const QString &groupList, const QString &headingList,
                             int firstEver, int wrong);
    void AddStudyTime(const QString &elapsed);
    // Parses h:m:s text to seconds; throws std::invalid_argument on a part
    // that is not a decimal integer.
    static qint64 TimeToSeconds(const QString &text);

    // --- shared state held by the data module ---
    // Hint text (C1_1) of the chapter row the chapter table stands on.
    QString ChapterCaption;
    QString currentChapter() const { return m_currentChapter; }
    // Moves the chapter table to the row of the code (Cn1DS_kmmcDataChange).
    void setChapterRow(const QString &code);
    // The question-type table the windows currently work with (tab_tx<s>).
    QString typeTable() const { return m_typeTable; }
    void setTypeTable(int subject);

    // Transactions may nest: only the outermost commits or rolls back.
    void begin();
    void commit();
    // The same, with the engine's COMMIT run by `engineCommit` (true when
    // it went through): long work runs it on a thread of its own.
    void commit(const std::function<bool()> &engineCommit);
    void rollback();
    bool inTransaction() const { return m_depth > 0; }

    // The engine's own handle of the connection, for code that steps large
    // result sets without the driver's per-row copies.
    sqlite3 *handle();

    // Closes the connection (errors swallowed).
    void close();

private:
    // Checks that the open file is a writable bank of this program with
    // every table, then switches it to WAL; the engine's text on refusal.
    QString prepareBank();
    QString m_connection;
    QString m_bankPath;
    QString m_currentChapter;
    QString m_typeTable = QStringLiteral("tab_tx1");
    sqlite3_stmt *statement(const QString &sql);
    void step(sqlite3_stmt *stmt, const QVariantList &binds, const std::function<void(const QVariantList &)> *onRow);
    QHash<QString, std::shared_ptr<QSqlQuery>> m_prepared;
    QHash<QString, sqlite3_stmt *> m_statements;
    sqlite3 *m_handle = nullptr;
    int m_depth = 0;
    bool m_failed = false;
};

// The program's one data module (set while one exists).
extern TDM1 *DM1;

// Commits on commit(), rolls back when left without it.
class DbTransaction {
public:
    explicit DbTransaction(TDM1 &dm) : m_dm(dm) { m_dm.begin(); }
    ~DbTransaction()
    {
        if (!m_done) {
            try {
                m_dm.rollback();
            } catch (...) {
            }
        }
    }
    void commit()
    {
        m_done = true;
        m_dm.commit();
    }
    void commit(const std::function<bool()> &engineCommit)
    {
        m_done = true;
        m_dm.commit(engineCommit);
    }

private:
    TDM1 &m_dm;
    bool m_done = false;
};
