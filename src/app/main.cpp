// Program entry: the start-up checks in order, then the menu.
#include "widgets/KeyboardGui.h"
#include "widgets/ModalGui.h"
#include "app/BankCommands.h"
#include "widgets/BackupGui.h"
#include "platform/Seams.h"
#include "widgets/Udlg.h"
#include "widgets/Uprogress.h"
#include "app/start.h"
#include "platform/MenuPlayerWidget.h"
#include "platform/QtLanguage.h"
#include "widgets/ThemeGui.h"
#include "platform/SingleInstance.h"
#include "store/dm.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QDateTime>
#include <QElapsedTimer>
#include <QQuickWidget>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

QElapsedTimer g_clock;
// Start-up stages, printed while the start-up probe is on.
void stage(const char *name)
{
    if (qEnvironmentVariableIsSet("PELLBROOK_STARTUP_PROBE"))
        std::fprintf(stderr, "stage %s: %lld ms\n", name, static_cast<long long>(g_clock.elapsed()));
}

// With PELLBROOK_STARTUP_PROBE set, the program prints the wall-clock time
// of the first painted menu and ends: the start-up timing script uses it.
class FirstPaintProbe : public QObject {
public:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QTimer::singleShot(0, [] {
                stage("first paint");
                std::printf("first-paint-epoch-ms: %lld\n", static_cast<long long>(QDateTime::currentMSecsSinceEpoch()));
                std::fflush(stdout);
                QApplication::exit(0);
            });
        }
        return QObject::eventFilter(o, e);
    }

private:
    bool m_done = false;
};

// The bank's copies from the command line: --backup FILE, --restore FILE,
// --list-backups.
struct BankOptions {
    QCommandLineOption backup{QStringLiteral("backup"), QStringLiteral("Write a checked copy of the bank to FILE."), QStringLiteral("FILE")};
    QCommandLineOption restore{QStringLiteral("restore"),
                               QStringLiteral("Replace the bank by FILE after checking it; the bank is backed up first."),
                               QStringLiteral("FILE")};
    QCommandLineOption list{QStringLiteral("list-backups"), QStringLiteral("List the bank's backups.")};
    explicit BankOptions(QCommandLineParser &parser) { parser.addOptions({backup, restore, list}); }
    // The exit code when one of them was given, else -1.
    int run(const QCommandLineParser &parser) const
    {
        if (parser.isSet(backup))
            return bankcommands::run(bankcommands::Command::Backup, parser.value(backup));
        if (parser.isSet(restore))
            return bankcommands::run(bankcommands::Command::Restore, parser.value(restore));
        if (parser.isSet(list))
            return bankcommands::run(bankcommands::Command::List, QString());
        return -1;
    }
};

// --version and --help answer on the terminal and end before any window
// system is touched, so they work without a display.  Returns the exit
// code when the program should end here, -1 to start it.
int answerOptions(int argc, char **argv)
{
    if (argc < 2)
        return -1;
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("pellbrook"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PELLBROOK_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Pellbrook: study program for a professional qualification examination."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const BankOptions bank(parser);
    // Other arguments (Qt's own, such as -platform) are left to the window
    // system.
    parser.parse(QCoreApplication::arguments());
    if (parser.isSet(version)) {
        std::printf("pellbrook %s\n", PELLBROOK_VERSION);
        return 0;
    }
    if (parser.isSet(help) || parser.isSet(QStringLiteral("help-all"))) {
        std::printf("%s", qPrintable(parser.helpText()));
        return 0;
    }
    return bank.run(parser);
}

} // namespace

int main(int argc, char **argv)
{
    g_clock.start();
    if (const int rc = answerOptions(argc, argv); rc >= 0)
        return rc;
    QApplication app(argc, argv);
    stage("application");
    // No display name: the desktop would append it to every window's
    // caption ("错误 — Velmora"); each window shows exactly its own.
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setQuitOnLastWindowClosed(true);
    // Every window shows the program's icon; the desktop matches the
    // running program to its menu entry by the entry's name.
    QIcon icon;
    for (const char *size : {"48", "256"})
        icon.addFile(QStringLiteral(":/icons/") + QLatin1String(size) + QStringLiteral(".png"));
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("io.github.pellbrook.Pellbrook"));
    platform::installQtTranslations();
    theme::apply();
    installRealPrompts();
    keys::installButtonKeys();

    // An installed program keeps the bank in the user's data folder and
    // brings the demo bank there on the first start; why that failed is
    // told on the terminal, the refusal below tells the user.
    if (const QString why = seams::provideBank(); !why.isEmpty())
        std::fprintf(stderr, "pellbrook: %s\n", qPrintable(why));
    installWorkWindow();

    SingleInstance instance(QApplication::applicationName());
    if (instance.ActivatePreviousInstance())
        return 0;

    stage("single instance");
    if (!MenuPlayerWidget::playerAvailable()) {
        seams::messageBox(QStringLiteral("提示"), QStringLiteral("请安装Flash6插件文件！"), seams::Prompt::Warning);
        return 0;
    }

    stage("player check");
    backupgui::watchForDamage();
    auto dm = std::make_unique<TDM1>();
    stage("bank");
    if (!dm->DbOpened) {
        dm.reset();
        seams::messageBox(QStringLiteral("错误"), QStringLiteral("无法连接数据库！"), seams::Prompt::Critical);
        return 0;
    }

    auto start = std::make_unique<TFrmStart>();
    FrmProgress();
    createFrmDlg();
    if (!start->FormCreate())
        return 0;

    QObject::connect(&instance, &SingleInstance::activationRequested, start.get(), [w = start.get()] {
        for (QWidget *top : QApplication::topLevelWidgets())
            if (top->isMinimized())
                top->showNormal();
        QWidget *front = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : w;
        front->raise();
        front->activateWindow();
    });

    FirstPaintProbe probe;
    if (qEnvironmentVariableIsSet("PELLBROOK_STARTUP_PROBE"))
        start->ShockwaveFlash1->installEventFilter(&probe);

    stage("windows");
    start->showFullScreen();
    stage("shown");
    const int rc = app.exec();
    start.reset();
    destroyFrmDlg();
    destroyFrmProgress();
    return rc;
}
