// Program entry: the start-up checks in order, then the menu.
#include "app/ModalGui.h"
#include "app/Seams.h"
#include "app/Udlg.h"
#include "app/Uprogress.h"
#include "app/start.h"
#include "platform/MenuPlayerWidget.h"
#include "platform/SingleInstance.h"
#include "store/dm.h"

#include <QApplication>
#include <QDateTime>
#include <QQuickWidget>
#include <QTimer>
#include <cstdio>
#include <memory>

namespace {

// With PELLBROOK_STARTUP_PROBE set, the program prints the wall-clock time
// of the first painted menu and ends: the start-up timing script uses it.
class FirstPaintProbe : public QObject {
public:
    bool eventFilter(QObject *o, QEvent *e) override
    {
        if (e->type() == QEvent::Paint && !m_done) {
            m_done = true;
            QTimer::singleShot(0, [] {
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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setApplicationDisplayName(QStringLiteral("Velmora"));
    QApplication::setQuitOnLastWindowClosed(true);
    installRealPrompts();

    SingleInstance instance(QApplication::applicationName());
    if (instance.ActivatePreviousInstance())
        return 0;

    if (!MenuPlayerWidget::playerAvailable()) {
        seams::messageBox(QStringLiteral("提示"), QStringLiteral("请安装Flash6插件文件！"), seams::Prompt::Warning);
        return 0;
    }

    auto dm = std::make_unique<TDM1>();
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

    start->showFullScreen();
    const int rc = app.exec();
    start.reset();
    destroyFrmDlg();
    destroyFrmProgress();
    return rc;
}
