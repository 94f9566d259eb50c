// A checked copy of the 100,000-question bank: the page copy on the
// program's own connection, stepped in slices with the waiting window
// painting, against its floor, the same engine backup stepped in one go on
// a plain connection to a copy of the bank; then the check of the copy and
// the longest gap between paints of the waiting window.
#include "BenchBank.h"

#include "store/BankBackup.h"
#include "common/BankRestore.h"
#include "store/dm.h"
#include "upgrade/Ustxz.h"
#include "widgets/BackupGui.h"
#include "widgets/Uprogress.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QRadioButton>
#include <QTreeWidget>
#include <cstdio>
#include <sqlite3.h>

namespace {

// The floor: one backup_step(-1) from a plain connection to a file.
double floorCopyMs(const QString &source, const QString &target)
{
    QFile::remove(target);
    sqlite3 *src = nullptr, *dst = nullptr;
    sqlite3_open_v2(QFile::encodeName(source).constData(), &src, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_open_v2(QFile::encodeName(target).constData(), &dst, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    // As the program's copy, the commit does not wait for the disk (the
    // program puts the file on the disk after its check).
    sqlite3_exec(dst, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    QElapsedTimer t;
    t.start();
    sqlite3_backup *b = sqlite3_backup_init(dst, "main", src, "main");
    const int rc = sqlite3_backup_step(b, -1);
    sqlite3_backup_finish(b);
    const double ms = benchMsSince(t);
    sqlite3_close(dst);
    sqlite3_close(src);
    if (rc != SQLITE_DONE)
        std::fprintf(stderr, "floor backup failed: %s\n", sqlite3_errstr(rc));
    return ms;
}

// The check of a copy by the engine's full and quick checks.
double checkMs(const QString &path, const char *sql)
{
    sqlite3 *h = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &h, SQLITE_OPEN_READONLY, nullptr);
    QElapsedTimer t;
    t.start();
    sqlite3_exec(h, sql, nullptr, nullptr, nullptr);
    const double ms = benchMsSince(t);
    sqlite3_close(h);
    return ms;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int questions = benchQuestions(argc, argv, 100000);
    BenchBank bank(questions);
    benchCopyPictures(bank);
    TDM1 &dm = bank.dm();
    // The floor reads a copy of the bank made by the program itself.
    const QString plain = bank.dir() + QStringLiteral("plain.db");
    bankbackup::copyChecked(dm.handle(), plain);

    std::vector<double> ours, floor, check, total;
    const int runs = benchRounds(7);
    for (int i = 0; i < runs; ++i) {
        FrmProgress()->showStage(QStringLiteral("正在备份题库，请等待..."));
        QFile::remove(bank.dir() + QStringLiteral("ours.db"));
        QElapsedTimer t;
        t.start();
        const bankbackup::Outcome r =
            bankbackup::copyChecked(dm.handle(), bank.dir() + QStringLiteral("ours.db"), [](int, int) {
                FrmProgress()->repaint();
                QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            });
        total.push_back(benchMsSince(t));
        FrmProgress()->hide();
        if (!r.ok) {
            std::fprintf(stderr, "backup failed: %s\n", qPrintable(r.error));
            return 1;
        }
        ours.push_back(double(r.copyMs));
        check.push_back(double(r.checkMs));
        floor.push_back(floorCopyMs(plain, bank.dir() + QStringLiteral("floor.db")));
    }
    // The program's own road: the daily copy under the waiting window.
    double gap = 0;
    for (int i = 0; i < 3; ++i) {
        for (const bankbackup::Entry &e : bankbackup::findBackups(bankbackup::backupDir(dm.bankPath())))
            QFile::remove(e.path);
        backupgui::backUp(QStringLiteral("daily"));
        gap = std::max(gap, double(backupgui::longestPaintGapMs()));
    }
    // Going back to the copy just made, as the upgrade window does: a few
    // rounds, since a restore ends in writes whose flush to disk the rest
    // of the machine moves.  Each round also keeps the bank it replaces.
    const QList<bankbackup::Entry> made = bankbackup::findBackups(bankbackup::backupDir(dm.bankPath()));
    std::vector<double> restores;
    double restoreGap = 0;
    bool restored = !made.isEmpty();
    for (int i = 0, rounds = benchRounds(3); restored && i < rounds; ++i) {
        QElapsedTimer rt;
        rt.start();
        restored = backupgui::restoreFrom(made.first().path);
        restores.push_back(benchMsSince(rt));
        restoreGap = std::max(restoreGap, double(backupgui::longestPaintGapMs()));
    }
    const double restoreMs = benchMedian(restores);
    // What the user waits for with ten copies in the folder: the restore
    // page of the upgrade window listing them, and finding the copy that
    // the damage offer names.
    const QString dir = bankbackup::backupDir(dm.bankPath());
    const QList<bankbackup::Entry> present = bankbackup::findBackups(dir);
    for (int i = int(present.size()); i < 10 && !present.isEmpty(); ++i)
        QFile::copy(present.first().path,
                    dir + bankbackup::backupName(present.first().when.addSecs(-3600 * i), QStringLiteral("daily")));
    Tfrmstxz page;
    page.show();
    QElapsedTimer pt;
    pt.start();
    page.RadioGroup1Item1->click();
    const double pageMs = benchMsSince(pt);
    const double pageGap = double(backupgui::longestPaintGapMs());
    const int listed = page.ListBackups->topLevelItemCount();
    // The damage offer checks the copies under the waiting window.
    FrmProgress()->showStage(QStringLiteral("正在查找完好的备份，请等待..."));
    pt.restart();
    QElapsedTimer sincePaint;
    sincePaint.start();
    double newestGap = 0;
    const QString newest = bankrestore::newestGoodBackup(dm.bankPath(), [&](int, int) {
        if (sincePaint.elapsed() < 30)
            return;
        newestGap = std::max(newestGap, double(sincePaint.elapsed()));
        FrmProgress()->repaint();
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        sincePaint.restart();
    });
    const double newestMs = benchMsSince(pt);
    newestGap = std::max(newestGap, double(sincePaint.elapsed()));
    FrmProgress()->hide();
    std::printf("bank MB: %.1f (questions %d)\n", QFile(dm.bankPath()).size() / 1048576.0, questions);
    std::printf("backup ms: %.1f\n", benchMedian(ours));
    std::printf("floor backup ms: %.1f\n", benchMedian(floor));
    std::printf("backup ratio: %.2f\n", benchPairedRatio(ours, floor));
    std::printf("integrity-check ms: %.1f\n", benchMedian(check));
    std::printf("quick-check ms: %.1f\n", checkMs(plain, "PRAGMA quick_check"));
    std::printf("checked backup ms: %.1f\n", benchMedian(total));
    std::printf("longest paint gap ms: %.1f\n", gap);
    std::printf("restore ms: %.1f (median of %zu; %s)\n", restoreMs, restores.size(), restored ? "restored" : "FAILED");
    std::printf("restore longest paint gap ms: %.1f\n", restoreGap);
    std::printf("restore page ms: %.1f (%d copies listed)\n", pageMs, listed);
    std::printf("restore page longest paint gap ms: %.1f\n", pageGap);
    std::printf("newest good backup ms: %.1f (%s)\n", newestMs, newest.isEmpty() ? "none" : "found");
    std::printf("newest good backup longest paint gap ms: %.1f\n", newestGap);
    destroyFrmProgress();
    return restored && !newest.isEmpty() ? 0 : 1;
}
