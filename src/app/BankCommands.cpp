// The bank's copies from the command line.
#include "app/BankCommands.h"

#include "common/BankRestore.h"
#include "platform/Seams.h"
#include "store/BankBackup.h"
#include "store/dm.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <memory>

namespace bankcommands {

namespace {

void say(std::FILE *f, const QString &text)
{
    std::fprintf(f, "%s\n", text.toUtf8().constData());
    std::fflush(f);
}

int list(const QString &bankPath, std::FILE *out)
{
    const QList<bankbackup::Entry> all = bankbackup::findBackups(bankbackup::backupDir(bankPath));
    if (all.isEmpty())
        say(out, QStringLiteral("没有备份。"));
    for (const bankbackup::Entry &e : all) {
        const bankbackup::Summary s = bankbackup::summarize(e.path);
        say(out, QStringLiteral("%1  %2  %3  %4  %5")
                     .arg(e.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), e.reason.leftJustified(7))
                     .arg(s.error.isEmpty() ? QString::number(s.questions) : QStringLiteral("?"), 8)
                     .arg(s.error.isEmpty() ? QString::number(s.answers) : QStringLiteral("?"), 8)
                     .arg(e.path));
    }
    return 0;
}

} // namespace

int run(Command command, const QString &file, std::FILE *out, std::FILE *err)
{
    const QString bankPath = seams::bankPath();
    if (command == Command::List)
        return list(bankPath, out);

    // A running program holds this lock for as long as it runs.
    QLockFile lock(seams::bankDir() + QStringLiteral("pellbrook.lock"));
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0) && lock.error() == QLockFile::LockFailedError) {
        say(err, QStringLiteral("pellbrook: 程序正在运行，题库由它使用；请先退出程序再试。"));
        return 2;
    }
    auto dm = std::make_unique<TDM1>();
    if (!dm->DbOpened) {
        say(err, QStringLiteral("pellbrook: 无法连接数据库！(%1)").arg(dm->openError));
        return dm->openError.contains(QLatin1String("locked")) ? 2 : 1;
    }
    const QString path = QFileInfo(file).absoluteFilePath();
    if (command == Command::Backup) {
        const bankbackup::Outcome r = bankbackup::copyChecked(dm->handle(), path);
        if (!r.ok) {
            say(err, QStringLiteral("pellbrook: 备份失败：%1").arg(r.error));
            return 1;
        }
        say(out, QStringLiteral("备份成功：%1").arg(r.path));
        return 0;
    }
    // Restore: the file is checked before anything is written, and the bank
    // as it is now is copied first.
    if (const QString why = bankbackup::checkBankFile(path); !why.isEmpty()) {
        say(err, QStringLiteral("pellbrook: 不是本软件完好的题库文件，题库未改动：%1").arg(why));
        return 1;
    }
    const bankbackup::Outcome r = bankrestore::restoreBank(*dm, path);
    if (!r.ok) {
        say(err, QStringLiteral("pellbrook: 恢复失败，题库未改动：%1").arg(r.error));
        return 1;
    }
    say(out, QStringLiteral("恢复成功！"));
    return 0;
}

} // namespace bankcommands
