// The bank beside a writable program folder, else in the user's data folder, where the demo
// bank is copied once and never over a bank that is there.
#include "platform/AppFolders.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QByteArray file(const QString &path, const QByteArray &put = {}, int mode = 0644)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (!put.isEmpty() && f.open(QIODevice::WriteOnly)) { f.write(put); f.close(); ::chmod(QFile::encodeName(path).constData(), mode); }
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
} // namespace

TEST(AppFolders, BankBesideAWritableProgramFolderElseInTheUsersFolder)
{
    QTemporaryDir t;
    const QString r = t.path() + QLatin1Char('/'), user = QStringLiteral("/home/u/Pellbrook");
    for (const char *d : {"build", "ro", "prefix/share/pellbrook", "usr/share/pellbrook"})
        file(r + QLatin1String(d) + QStringLiteral("/pic/main.qml"), "x");
    ::chmod(QFile::encodeName(t.path()).constData(), 0755);
    ::chmod(QFile::encodeName(r + QStringLiteral("build")).constData(), 0777);
    ::chmod(QFile::encodeName(r + QStringLiteral("ro")).constData(), 0555);
    // exe folder, the files' folder found, the bank's folder (null: the user's)
    const char *cases[][3] = {{"build", "build/", "build/data/"}, {"ro", "ro/", nullptr},
                              {"prefix/bin", "prefix/share/pellbrook/", nullptr}, {"prefix", "usr/share/pellbrook/", nullptr}};
    for (const auto &c : cases) {
        EXPECT_EXIT(   // as "nobody": root may write anywhere
            {
                if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
                    std::_Exit(3);
                const appfolders::Folders f = appfolders::decide(r + QLatin1String(c[0]), user, {r + QStringLiteral("usr/share")});
                const QString bank = c[2] ? r + QLatin1String(c[2]) : user + QStringLiteral("/data/");
                std::_Exit(f.appDir == r + QLatin1String(c[1]) && f.bankDir == bank && f.userBank == !c[2] ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "")
            << c[0];
    }
    ::chmod(QFile::encodeName(r + QStringLiteral("ro")).constData(), 0755);
}

TEST(AppFolders, TheDemoBankIsCopiedOnceAndNeverOverABank)
{
    QTemporaryDir t;
    const QString share = t.path() + QStringLiteral("/share/");
    file(share + QStringLiteral("data/VORDANBANK01.db"), "demo", 0444);
    const appfolders::Folders f{share, t.path() + QStringLiteral("/user/data/"), true};
    const QString bank = f.bankDir + QStringLiteral("VORDANBANK01.db");
    EXPECT_EQ(appfolders::provideUserBank(f), QString());
    EXPECT_EQ(file(bank), QByteArray("demo"));
    EXPECT_TRUE(QFileInfo(bank).permissions() & QFile::WriteOwner);
    file(bank, "study");   // later starts keep the user's study
    EXPECT_EQ(appfolders::provideUserBank(f), QString());
    EXPECT_EQ(file(bank), QByteArray("study"));
}
