// Entry of the window tests: a widget application on the offscreen platform.
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
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
