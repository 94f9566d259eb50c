// Modal opening of child windows, the general error display and the cursor.
#include "widgets/ModalGui.h"

#include "platform/Seams.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QTimer>
#include <algorithm>
#include <QUrl>

namespace ui {

namespace {
ModalHook &hookSlot()
{
    static ModalHook h;
    return h;
}
} // namespace

namespace {

// Without a window manager to hand it on, the keyboard focus would stay
// with a closed window: the window that opened it takes it back.
void giveFocusBack(QWidget *opener, QDialog *dialog)
{
    if (opener && opener != dialog && opener->isVisible())
        opener->activateWindow();
}

} // namespace

int execModal(QDialog *dialog)
{
    QPointer<QWidget> opener = QApplication::activeWindow();
    if (hookSlot()) {
        const int result = hookSlot()(dialog);
        giveFocusBack(opener, dialog);
        return result;
    }
    // Windows open centred on the screen unless they placed themselves.
    // Some windows choose their size for the screen mode as they show, so
    // the centring runs once the window is up.
    if (!dialog->testAttribute(Qt::WA_Moved)) {
        QTimer::singleShot(0, dialog, [dialog] {
            QScreen *s = dialog->screen() ? dialog->screen() : QGuiApplication::primaryScreen();
            if (!s || dialog->testAttribute(Qt::WA_Moved))
                return;
            const QRect area = s->availableGeometry();
            QRect r(QPoint(0, 0), dialog->frameGeometry().size());
            r.moveCenter(area.center());
            dialog->move(std::max(r.left(), area.left()), std::max(r.top(), area.top()));
        });
    }
    return runModal(dialog);
}

int runModal(QDialog *dialog)
{
    QPointer<QWidget> opener = QApplication::activeWindow();
    const int result = dialog->exec();
    giveFocusBack(opener, dialog);
    return result;
}

void setModalHook(ModalHook hook) { hookSlot() = std::move(hook); }
ModalHook modalHook() { return hookSlot(); }

namespace {

// Swallows Escape on its way to the dialog's own handler, which would
// reject (close) the window.
class EscapeSwallower : public QObject {
public:
    using QObject::QObject;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape) {
            event->accept();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

void keepOpenOnEscape(QDialog *dialog) { dialog->installEventFilter(new EscapeSwallower(dialog)); }

void showError(const QString &text)
{
    seams::messageBox(QApplication::applicationName(), text, seams::Prompt::Critical, seams::Prompt::Ok);
}

namespace {
std::function<void(const QString &)> &openSlot()
{
    static std::function<void(const QString &)> h;
    return h;
}
} // namespace

void openExternal(const QString &path)
{
    if (openSlot()) {
        openSlot()(path);
        return;
    }
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void setOpenHook(std::function<void(const QString &)> hook) { openSlot() = std::move(hook); }

void busyCursor()
{
    if (!QApplication::overrideCursor())
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void normalCursor()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

} // namespace ui
