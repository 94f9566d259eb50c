// Modal opening of child windows, the general error display and the cursor.
#include "app/ModalGui.h"

#include "app/Seams.h"

#include <QApplication>
#include <QDialog>

namespace ui {

namespace {
ModalHook &hookSlot()
{
    static ModalHook h;
    return h;
}
} // namespace

int execModal(QDialog *dialog)
{
    if (hookSlot())
        return hookSlot()(dialog);
    return dialog->exec();
}

void setModalHook(ModalHook hook) { hookSlot() = std::move(hook); }
ModalHook modalHook() { return hookSlot(); }

void showError(const QString &text)
{
    seams::messageBox(QApplication::applicationName(), text, seams::Prompt::Critical, seams::Prompt::Ok);
}

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
