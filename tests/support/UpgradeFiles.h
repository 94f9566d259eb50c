// Upgrade files for tests: an SQLite file with the bank's schema, its
// stamps, and whatever rows and changes of shape a test wants.
#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVariantList>

class TestBank;

class UpgradeFile {
public:
    // Creates the file (which must not exist) with the schema and, unless
    // both are null, one tab_sj row.
    UpgradeFile(const QString &path, const QString &sjbs, const QString &cpbs);
    ~UpgradeFile();   // closes the file
    UpgradeFile(const UpgradeFile &) = delete;
    UpgradeFile &operator=(const UpgradeFile &) = delete;

    QString path() const { return m_path; }
    void run(const QString &sql, const QVariantList &binds = {});

    // Rows, counters given as the file brings them.
    void addChapter(const QString &code, int c3, double bh = 1000);
    void addQuestion(const QString &id, int type, const QString &chapter, const QStringList &keyPoints = {},
                     const QString &key = QStringLiteral("A"));
    void addGroup(const QString &id, int q);
    void addKeyPoint(const QString &ftid, int q);
    void addMaterial(const QString &id, const QByteArray &body);

    // Rebuilds a table with its columns in reverse order (rows kept).
    void reverseColumns(const QString &table);
    // Rebuilds a table without one column (rows kept).
    void dropColumn(const QString &table, const QString &column);
    // Rebuilds a table with every column untyped and unconstrained, so that
    // rows the bank would refuse can be written.
    void loosen(const QString &table);
    void close();

private:
    void rebuild(const QString &table, const QStringList &columns, bool typed);
    QString m_path;
    QString m_connection;
};

// The SHA-256 of the bank file once its write-ahead log is folded in.
QByteArray bankDigest(TestBank &bank);
