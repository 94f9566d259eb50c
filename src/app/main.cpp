// Program entry: the start-up checks in order, then the menu.
#include "widgets/ModalGui.h"
#include "platform/Seams.h"
#include "widgets/Udlg.h"
#include "widgets/Uprogress.h"
#include "app/start.h"
#include "platform/MenuPlayerWidget.h"
#include "platform/SingleInstance.h"
#include "store/dm.h"

#include <QApplication>
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

} // namespace

int main(int argc, char **argv)
{
    g_clock.start();
    QApplication app(argc, argv);
    stage("application");
    // No display name: the desktop would append it to every window's
    // caption ("错误 — Velmora"); each window shows exactly its own.
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setQuitOnLastWindowClosed(true);
    installRealPrompts();
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
