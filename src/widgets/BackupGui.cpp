// The bank's copies as the user meets them.
#include "widgets/BackupGui.h"

#include "common/BankRestore.h"
#include "platform/Seams.h"
#include "store/BankDamage.h"
#include "store/dm.h"
#include "widgets/Uprogress.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <cstdio>
#include <memory>

namespace backupgui {

namespace {

qint64 g_longestGap = 0;
bool g_busy = false;   // a copy or a restore is running, or the offer is open

const QString DamagedText = QStringLiteral("题库文件已损坏，其中部分内容已无法读取。为保护您的学习记录，程序不再向它写入。");

// The waiting window with a stage text, painted again after every slice
// that ends more than a few frames after the last paint.
class Waiting {
public:
    explicit Waiting(const QString &stage)
    {
        g_longestGap = 0;
        FrmProgress()->showStage(stage);
        m_sincePaint.start();
    }
    ~Waiting() { FrmProgress()->hide(); }
    bankbackup::Progress progress()
    {
        return [this](int, int) {
            if (paint())
                QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        };
    }
    // Repaints the window when a few frames have passed since it last
    // painted; true when it did.
    bool paint()
    {
        if (m_sincePaint.elapsed() < 30)
            return false;
        g_longestGap = std::max(g_longestGap, m_sincePaint.elapsed());
        FrmProgress()->repaint();
        m_sincePaint.restart();
        return true;
    }
    void done() { g_longestGap = std::max(g_longestGap, m_sincePaint.elapsed()); }

private:
    QElapsedTimer m_sincePaint;
};

} // namespace

qint64 longestPaintGapMs() { return g_longestGap; }

QList<bankbackup::Summary> summarizeCopies(const QList<bankbackup::Entry> &copies)
{
    // A still window for 50 ms goes unseen; after that the waiting window
    // covers the rest.
    constexpr qint64 Blink = 50;
    QStringList paths;
    for (const bankbackup::Entry &e : copies)
        paths << e.path;
    QElapsedTimer clock;
    clock.start();
    std::unique_ptr<Waiting> w;
    qint64 beforeWindow = 0;
    const QList<bankbackup::Summary> out = bankbackup::summarizeAll(paths, [&](int, int) {
        if (!w && clock.elapsed() >= Blink) {
            beforeWindow = clock.elapsed();
            w = std::make_unique<Waiting>(QStringLiteral("正在读取备份，请等待..."));
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
        if (w && w->paint())
            QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    // The waiting window measured the gaps between its paints; the stretch
    // before it came up (or the whole count, when it never did) is one more.
    const bool shown = w != nullptr;
    if (shown) {
        w->done();
        w.reset();
    }
    g_longestGap = shown ? std::max(g_longestGap, beforeWindow) : clock.elapsed();
    return out;
}

bool backUp(const QString &reason)
{
    if (!DM1 || !DM1->DbOpened || g_busy)
        return false;
    bankbackup::Outcome r;
    {
        g_busy = true;
        Waiting w(QStringLiteral("正在备份题库，请等待..."));
        r = bankbackup::makeBackup(DM1->handle(), DM1->bankPath(), reason, bankrestore::now(), w.progress());
        w.done();
        g_busy = false;
    }
    if (r.ok)
        return true;
    if (r.skipped) {
        seams::showDlg(QStringLiteral("提示"), QStringLiteral("磁盘剩余空间不足题库的两倍，本次未备份题库。"), 1, seams::DlgWarning,
                       QStringLiteral("NO"));
        return true;
    }
    if (r.damaged) {
        bankDamaged(r.error);
        return false;
    }
    seams::showDlg(QStringLiteral("错误"), QStringLiteral("备份题库失败：") + r.error, 1, seams::DlgError, QStringLiteral("NO"));
    return false;
}

void dailyBackupOnQuit()
{
    if (!DM1 || !DM1->DbOpened)
        return;
    const QString dir = bankbackup::backupDir(DM1->bankPath());
    if (bankrestore::dailyDue(bankbackup::findBackups(dir), seams::clock().today()))
        backUp(QString::fromLatin1(bankbackup::Daily));
}

bool restoreFrom(const QString &path)
{
    if (!DM1 || !DM1->DbOpened)
        return false;
    bankbackup::Outcome r;
    {
        const bool wasBusy = g_busy;
        g_busy = true;
        Waiting w(QStringLiteral("正在恢复题库，请等待..."));
        try {
            r = bankrestore::restoreBank(*DM1, path, w.progress(), [&w] { w.paint(); });
        } catch (const std::exception &e) {
            r.error = QString::fromStdString(e.what());
        }
        w.done();
        g_busy = wasBusy;
    }
    if (r.ok) {
        seams::showDlg(QStringLiteral("提示"), QStringLiteral("恢复成功！"), 1, seams::DlgNotice, QStringLiteral("NO"));
        return true;
    }
    if (r.refused) {
        seams::showDlg(QStringLiteral("提示"), QStringLiteral("所选文件不是本软件完好的题库，题库未改动。"), 1, seams::DlgWarning,
                       QStringLiteral("NO"));
        return false;
    }
    seams::showDlg(QStringLiteral("错误"), QStringLiteral("恢复失败，题库未改动：") + r.error, 1, seams::DlgError,
                   QStringLiteral("NO"));
    return false;
}

void bankDamaged(const QString &problems)
{
    if (!DM1 || !DM1->DbOpened)
        return;
    bankdamage::setReadOnly(DM1->handle(), true);
    std::fprintf(stderr, "pellbrook: the bank is damaged: %s\n", qPrintable(problems));
    // The copies are checked under the waiting window, which keeps painting.
    QString good;
    {
        Waiting w(QStringLiteral("正在查找完好的备份，请等待..."));
        good = bankrestore::newestGoodBackup(DM1->bankPath(), w.progress());
        w.done();
    }
    if (good.isEmpty()) {
        seams::messageBox(QStringLiteral("错误"), DamagedText + QStringLiteral("\n没有可用的完好备份。"), seams::Prompt::Critical);
        return;
    }
    QString when;
    for (const bankbackup::Entry &e : bankbackup::findBackups(bankbackup::backupDir(DM1->bankPath())))
        if (e.path == good)
            when = e.when.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const int answer = seams::messageBox(
        QStringLiteral("错误"), DamagedText + QStringLiteral("\n要从最新的完好备份（%1）恢复吗？").arg(when),
        seams::Prompt::Critical, seams::Prompt::Yes | seams::Prompt::No);
    if (answer == seams::Prompt::Yes)
        restoreFrom(good);
}

void watchForDamage()
{
    bankdamage::watch([] {
        if (!DM1 || !DM1->DbOpened || g_busy || bankdamage::isReadOnly(DM1->handle()))
            return;
        const QString problems = bankdamage::check(DM1->handle());
        if (!problems.isEmpty()) {
            g_busy = true;
            bankDamaged(problems);
            g_busy = false;
        }
    });
}

} // namespace backupgui
