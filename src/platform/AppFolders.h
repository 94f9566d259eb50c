// Where the program's files live.  Two folders matter:
//
// - AppDir, the folder of the read-only files (pic/, sound/, htm/ and the
//   shipped demo bank data/VORDANBANK01.db): the program's own folder when
//   those files are beside the executable (the build folder, a copied
//   program folder), else the installed share folder: PREFIX/share/pellbrook
//   next to PREFIX/bin, or "pellbrook" in the system's data folders.
// - The bank folder (data/, holding VORDANBANK01.db, the single-instance
//   lock and data/backup/): beside the program, AppDir + "data/", when the
//   files were found beside the executable and that folder can be written
//   (so a run from the build folder keeps its bank there).  An installed
//   program, or a program folder the user cannot write, keeps the bank in
//   the user's data folder instead: the AppDataLocation of a program named
//   Pellbrook, ~/.local/share/Pellbrook/data/ on Linux.  There the shipped
//   demo bank is copied on the first start, never over an existing bank.
#pragma once

#include <QString>

namespace appfolders {

struct Folders {
    QString appDir;      // read-only files, trailing '/'
    QString bankDir;     // the bank's folder, trailing '/'
    bool userBank = false;   // the bank lives in the user's data folder
};

// Decides both folders for an executable in exeDir.  userDataDir is the
// user's data folder of the program (without "data/"); shareDirs are the
// system's data folders searched for an installed "pellbrook" folder.
Folders decide(const QString &exeDir, const QString &userDataDir, const QStringList &shareDirs);

// The user's data folder of the program and the system's data folders.
QString userDataDir();
QStringList systemShareDirs();

// Makes the user's bank folder and, when it holds no bank yet, copies the
// shipped demo bank from AppDir + "data/" into it (owner-writable, never
// over an existing bank).  Does nothing for a bank beside the program.
// Returns an empty text, or why the folder or the copy failed.
QString provideUserBank(const Folders &f);

} // namespace appfolders
