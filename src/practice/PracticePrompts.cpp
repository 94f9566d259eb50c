// Messages of the practice windows and the end of the program.
#include "practice/PracticePrompts.h"

#include "app/Seams.h"


namespace practice {

int showDlg(const QString &caption, const QString &text, int kind, int picture, const QString &wording)
{
    return seams::showDlg(caption, text, kind, picture, wording);
}

void endProgram() { seams::endProgram(); }

void setEndProgramHook(std::function<void()> hook) { seams::setProgramEnd(std::move(hook)); }

} // namespace practice
