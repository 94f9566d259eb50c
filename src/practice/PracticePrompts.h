// Messages of the practice windows through the prompt seam, and the end of
// the program when the pictures it needs beside it cannot be read.
#pragma once

#include <QString>
#include <functional>

namespace practice {

// Picture pages of the program's message dialog.
enum DlgPicture { DlgNotice = 0, DlgWarning = 1, DlgError = 2 };

// The program's message dialog (ShowDlg): caption, text, button set
// (1 = one "确定" button), picture page and wording.  Returns the button.
int showDlg(const QString &caption, const QString &text, int kind, int picture, const QString &wording = QString());

// Ends the program after a refusal (missing pictures).  The default leaves
// every running event loop with exit code 1; tests install a recorder.
void endProgram();
void setEndProgramHook(std::function<void()> hook);

} // namespace practice
