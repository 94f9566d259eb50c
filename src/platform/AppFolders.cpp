// The decision where the program's read-only files and its bank live, and
// the first-start copy of the demo bank into the user's data folder.
#include "platform/AppFolders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace appfolders {

namespace {

const QString BankName = QStringLiteral("VORDANBANK01.db");

QString withSlash(QString d)
{
    d = QDir::fromNativeSeparators(d);
    if (!d.endsWith(QLatin1Char('/')))
        d += QLatin1Char('/');
    return d;
}

// A folder holds the program's read-only files when its menu is there.
bool holdsProgramFiles(const QString &dir)
{
    return QFileInfo::exists(withSlash(dir) + QStringLiteral("pic/main.qml"));
}

} // namespace

Folders decide(const QString &exeDir, const QString &userDataDir, const QStringList &shareDirs)
{
    Folders f;
    const QString beside = withSlash(exeDir);
    if (holdsProgramFiles(beside)) {
        f.appDir = beside;
        // The bank folder beside the program, or the program folder itself
        // while data/ is still to be made, must be writable by this user.
        const QFileInfo data(beside + QStringLiteral("data"));
        const bool writable = data.exists() ? data.isDir() && data.isWritable() : QFileInfo(beside).isWritable();
        if (writable) {
            f.bankDir = beside + QStringLiteral("data/");
            return f;
        }
    } else {
        // Installed: PREFIX/bin/pellbrook finds PREFIX/share/pellbrook
        // first, whatever the prefix, then the system's data folders.
        QStringList candidates{QDir::cleanPath(beside + QStringLiteral("../share/pellbrook"))};
        for (const QString &s : shareDirs)
            candidates << withSlash(s) + QStringLiteral("pellbrook");
        f.appDir = beside;
        for (const QString &c : candidates)
            if (holdsProgramFiles(c)) {
                f.appDir = withSlash(c);
                break;
            }
    }
    f.bankDir = withSlash(userDataDir) + QStringLiteral("data/");
    f.userBank = true;
    return f;
}

QString userDataDir()
{
    // AppDataLocation is GenericDataLocation + "/" + the application name;
    // the running program is named after its window title, so the folder
    // is named here, once, after the program itself.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Pellbrook");
}

QStringList systemShareDirs()
{
    return QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation);
}

QString provideUserBank(const Folders &f)
{
    if (!f.userBank)
        return {};
    if (!QDir().mkpath(f.bankDir))
        return QStringLiteral("cannot make the bank folder ") + f.bankDir;
    const QString bank = f.bankDir + BankName;
    if (QFileInfo::exists(bank))
        return {};
    const QString shipped = f.appDir + QStringLiteral("data/") + BankName;
    if (!QFileInfo(shipped).isFile())
        return QStringLiteral("no demo bank at ") + shipped;
    // Copied under a name of this process and then renamed: a start that
    // ends half way leaves no half bank, two first starts do not share a
    // copy, and rename never replaces a bank that appeared meanwhile.
    const QString part = bank + QStringLiteral(".part") + QString::number(QCoreApplication::applicationPid());
    if (!QFile::copy(shipped, part))
        return QStringLiteral("cannot copy ") + shipped + QStringLiteral(" to ") + part;
    // The shipped file is read-only; the user's copy is theirs alone.
    QFile::setPermissions(part, QFile::ReadOwner | QFile::WriteOwner);
    if (!QFile::rename(part, bank)) {
        QFile::remove(part);
        if (!QFileInfo::exists(bank))
            return QStringLiteral("cannot place the bank at ") + bank;
    }
    return {};
}

} // namespace appfolders
