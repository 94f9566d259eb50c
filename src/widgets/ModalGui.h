// Opening child windows.  Every window of the program is a QDialog shown
// modally by its opener and released afterwards; going through execModal()
// lets tests see which window would open and drive it without a nested
// event loop blocking the test.
#pragma once

#include <QString>
#include <functional>

class QDialog;

namespace ui {

// Called instead of QDialog::exec() while installed; returns the result the
// opener sees.  The hook may show the dialog, drive it and close it.
using ModalHook = std::function<int(QDialog *)>;

// Shows the dialog modally (or hands it to the hook) and returns its result.
int execModal(QDialog *dialog);
void setModalHook(ModalHook hook);
// The dialog's own modal loop, without the hook; afterwards the window that
// was active takes the keyboard focus back.
int runModal(QDialog *dialog);
ModalHook modalHook();

// Escape has no meaning in the program's windows: they close by their
// buttons (and the title-bar close) only.  Installed by each window.
void keepOpenOnEscape(QDialog *dialog);

// The application's general error display: a message box with the error's
// text.  The program carries on afterwards.
void showError(const QString &text);

// Opens a page or document beside the program with the desktop's viewer;
// failures are ignored.  Tests install a hook that records the path.
void openExternal(const QString &path);
void setOpenHook(std::function<void(const QString &)> hook);

// Wait-cursor helpers: the hourglass while a window prepares itself.
void busyCursor();
void normalCursor();

} // namespace ui
