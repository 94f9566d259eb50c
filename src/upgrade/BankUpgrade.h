// Merging an upgrade file into the question bank.  An upgrade file is an
// SQLite file with the bank's schema: tab_sj names its upgrade stamp and
// the product it is meant for, and its chapters, questions, key points and
// their groups are appended to the bank's, once, in one transaction.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <functional>

class TDM1;

namespace upgrade {

// What the upgrade file said, for the messages and for tests.
enum class Outcome {
    NoPath,           // the path box is empty
    CannotOpen,       // not an SQLite file (or empty, truncated, of a newer schema)
    EngineError,      // the engine refused a read of the file (no tab_sj ...)
    ForeignProduct,   // its product stamp is not one the bank accepts
    AlreadyApplied,   // its upgrade stamp is already in the bank
    MergeFailed,      // a merge step failed; nothing of it stays
    Merged,
};

struct Result {
    Outcome outcome = Outcome::NoPath;
    // The engine's own text when the engine refused something.
    QString engineText;
    QString sjbs;
    QString cpbs;
};

// The prompt that reports an outcome through ShowDlg (kind 1, wording "NO").
struct Message {
    QString caption;
    QString text;
    int page = 0;
};
// EngineError has no message of its own: its text is the engine's.
Message messageFor(Outcome outcome);

// The second connection (ADOCn2): the upgrade file opened read-only.  It is
// never created when missing.  Closing is safe at any time.
class UpgradeConnection {
public:
    UpgradeConnection();
    ~UpgradeConnection();
    UpgradeConnection(const UpgradeConnection &) = delete;
    UpgradeConnection &operator=(const UpgradeConnection &) = delete;

    // Disconnects first when connected.  False (with the reason) when the
    // file is not an SQLite database this program can read.
    bool open(const QString &path, QString *why);
    void close();
    bool isOpen() const;
    QSqlDatabase db() const;

private:
    QString m_name;
};

// Checks the upgrade file at path and merges it into the bank.  Reports
// nothing itself: the caller shows messageFor(result.outcome).  When the
// file has passed its checks, beforeMerge (if given) runs just before the
// merge, to back the bank up; when it returns false nothing is merged
// (MergeFailed).
Result importUpgrade(TDM1 &dm, UpgradeConnection &cn2, const QString &path,
                     const std::function<bool()> &beforeMerge = {});

// The statements of the merge on the bank's connection with the file
// attached as alias.  The append of one table names the bank's columns.
QString appendStatement(const QString &table, const QStringList &columns, const QString &alias);
// The counter raises, run in order after the appends.  They bind ?1, ?2
// and ?3 to the largest rowid that tab_kmmc, tab_rule and tab_fgmc had
// before the appends, so only the bank's own rows are raised.
QStringList counterRaiseStatements(const QString &alias);

// The waiting window's text while the merge appends a table (any other step:
// an empty table name).
QString mergeStage(const QString &table);

// The tables appended from an upgrade file, in the order they are merged.
// tab_title (materials of sub-questions) follows them when the file has it.
QStringList mergedTables();

} // namespace upgrade
