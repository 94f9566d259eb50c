// Entry of the window tests: a widget application on the offscreen platform,
// wearing the program's look.
#include "widgets/KeyboardGui.h"
#include "widgets/ThemeGui.h"
#include "widgets/BackupGui.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qgetenv("QT_QPA_PLATFORM").isEmpty())
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Reports of a damaged bank are heard from the first connection on, as
    // in the program.
    backupgui::watchForDamage();
    QApplication app(argc, argv);
    // As the program does: Enter presses a focused button.
    keys::installButtonKeys();
    theme::apply();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
