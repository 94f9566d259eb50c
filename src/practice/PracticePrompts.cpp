// Messages of the practice windows and the end of the program.
#include "practice/PracticePrompts.h"

#include "app/Seams.h"

#include <QCoreApplication>

namespace practice {

namespace {
std::function<void()> &endHook()
{
    static std::function<void()> h;
    return h;
}
} // namespace

int showDlg(const QString &caption, const QString &text, int kind, int picture, const QString &wording)
{
    seams::Prompt p;
    p.kind = seams::Prompt::Kind::ShowDlg;
    p.caption = caption;
    p.text = text;
    p.dlgKind = kind;
    p.dlgPage = picture;
    p.wording = wording;
    return seams::prompt(p);
}

void endProgram()
{
    if (endHook()) {
        endHook()();
        return;
    }
    QCoreApplication::exit(1);
}

void setEndProgramHook(std::function<void()> hook) { endHook() = std::move(hook); }

} // namespace practice
