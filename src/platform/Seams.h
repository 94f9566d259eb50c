// Replaceable seams between the program and the outside world: prompts,
// the clock and the program folder.  The program installs the real ones at
// start-up; tests install recorders so that windows run headless.
#pragma once

#include <QDate>
#include <QString>
#include <QTime>
#include <functional>

namespace seams {

// One request to show a message to the user, either through the program's
// own message dialog (ShowDlg) or through a standard message box.
struct Prompt {
    enum class Kind { ShowDlg, MessageBox };
    enum Icon { NoIcon = 0, Information, Warning, Critical, Question };
    // Standard buttons, combinable; the answer is one of them.
    enum Button { Ok = 0x1, Cancel = 0x2, Yes = 0x4, No = 0x8 };

    Kind kind = Kind::MessageBox;
    QString caption;
    QString text;
    // MessageBox: icon and button flags.
    int icon = NoIcon;
    int buttons = Ok;
    // ShowDlg: button set (0..3), picture page (0..2) and wording.
    int dlgKind = 1;
    int dlgPage = 0;
    QString wording;
};

using PromptHandler = std::function<int(const Prompt &)>;

// Shows the prompt through the installed handler and returns its answer:
// ShowDlg's modal result (1, 2 or 3) or the MessageBox button pressed.
// With no handler installed the first offered answer is returned.
int prompt(const Prompt &p);
void setPromptHandler(PromptHandler handler);
// The answer given when no handler is installed: the first offered button.
int defaultAnswer(const Prompt &p);
PromptHandler promptHandler();

// Shorthands for the two kinds of prompt.
int messageBox(const QString &caption, const QString &text, int icon, int buttons = Prompt::Ok);

// The program's own message dialog: caption, text, button set (0..3),
// picture page (0 notice, 1 warning, 2 error) and wording ("Exam" for the
// exam's three-way question).  Returns the button pressed (1, 2 or 3).
enum DlgPicture { DlgNotice = 0, DlgWarning = 1, DlgError = 2 };
int showDlg(const QString &caption, const QString &text, int kind, int page, const QString &wording = QString());

// Ends the program after a failure it cannot survive (a paper that cannot
// be opened, pictures missing beside the program): every running event
// loop, the modal ones included, returns.  Tests install a recorder.
void endProgram();
void setProgramEnd(std::function<void()> end);

// Asks the user for a file to open.  The filter is written as the windows
// give it, pairs of a name and its patterns joined by "|":
// "升级文件(*.db)|*.db|所有文件(*.*)|*.*".  Returns the chosen path, or an
// empty text when the user cancels.  With no handler installed nothing is
// chosen; the program installs the real dialog and tests a scripted one.
struct FileRequest {
    QString caption;
    QString folder;
    QString filter;
};
using FileHandler = std::function<QString(const FileRequest &)>;
QString openFileName(const FileRequest &request);
void setOpenFileHandler(FileHandler handler);
FileHandler openFileHandler();
// Asks the user where to save a file, the same way; empty when cancelled
// or when no handler is installed (nothing is then written).
QString saveFileName(const FileRequest &request);
void setSaveFileHandler(FileHandler handler);

// The clock that every date, time of day and draw seed comes from.
struct Clock {
    virtual ~Clock() = default;
    virtual QDate today() const;
    virtual QTime timeOfDay() const;
    // Milliseconds since midnight, UTC: the seed of the paper draw.
    virtual qint64 utcMsOfDay() const;
};
const Clock &clock();
// Installs a clock; nullptr restores the system clock.  The caller keeps
// ownership and must keep it alive while installed.
void setClock(const Clock *c);

// A fixed clock for tests and tools.
struct FixedClock : Clock {
    QDate date;
    QTime time;
    qint64 utcMs = 0;
    QDate today() const override { return date; }
    QTime timeOfDay() const override { return time; }
    qint64 utcMsOfDay() const override { return utcMs; }
};

// The program folder with a trailing separator: where pic/, sound/, htm/
// and the shipped demo bank are found.  Decided once at the first call
// (see platform/AppFolders.h): the folder of the executable when they are
// beside it, else the installed share folder.  Tests point it at a
// temporary folder, whose data/ then holds the bank.
QString appDir();
void setAppDir(const QString &dir);

// The folder of the bank with a trailing separator: the single-instance
// lock and data/backup/ live here too.  AppDir + "data/" beside a writable
// program folder (and whenever a test set AppDir), else the user's data
// folder.
QString bankDir();
// The bank file, bankDir() + "VORDANBANK01.db".
QString bankPath();
// Makes the user's bank folder and copies the shipped demo bank into it on
// the first start; nothing for a bank beside the program.  Returns an empty
// text or why it failed.
QString provideBank();

} // namespace seams
