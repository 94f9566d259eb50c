// The settings window.
#include "widgets/Uconfig.h"

#include "common/ShellState.h"

void openSettings(QWidget *owner, int mode)
{
    // The window itself comes with the settings work; until then the
    // buttons only record the mode they ask for.
    shell().ConfigMode = mode;
}
