// Default implementations of the program's seams.
#include "platform/Seams.h"

#include "platform/AppFolders.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>

namespace seams {

namespace {
PromptHandler &handlerSlot()
{
    static PromptHandler h;
    return h;
}
const Clock *&clockSlot()
{
    static const Clock *c = nullptr;
    return c;
}
// The folders in use; an empty appDir means not decided yet.
appfolders::Folders &foldersSlot()
{
    static appfolders::Folders f;
    return f;
}
} // namespace

int prompt(const Prompt &p)
{
    return handlerSlot() ? handlerSlot()(p) : defaultAnswer(p);
}

int defaultAnswer(const Prompt &p)
{
    if (p.kind == Prompt::Kind::ShowDlg)
        return p.dlgKind == 1 ? 3 : 1;
    for (int b : {Prompt::Ok, Prompt::Yes, Prompt::No, Prompt::Cancel})
        if (p.buttons & b)
            return b;
    return Prompt::Ok;
}

int showDlg(const QString &caption, const QString &text, int kind, int page, const QString &wording)
{
    Prompt p;
    p.kind = Prompt::Kind::ShowDlg;
    p.caption = caption;
    p.text = text;
    p.dlgKind = kind;
    p.dlgPage = page;
    p.wording = wording;
    return prompt(p);
}

namespace {
std::function<void()> &endSlot()
{
    static std::function<void()> end;
    return end;
}
} // namespace

void endProgram()
{
    if (endSlot()) {
        endSlot()();
        return;
    }
    QCoreApplication::exit(1);
}

void setProgramEnd(std::function<void()> end) { endSlot() = std::move(end); }

void setPromptHandler(PromptHandler handler) { handlerSlot() = std::move(handler); }
PromptHandler promptHandler() { return handlerSlot(); }

int messageBox(const QString &caption, const QString &text, int icon, int buttons)
{
    Prompt p;
    p.kind = Prompt::Kind::MessageBox;
    p.caption = caption;
    p.text = text;
    p.icon = icon;
    p.buttons = buttons;
    return prompt(p);
}

namespace {
FileHandler &fileSlot()
{
    static FileHandler h;
    return h;
}
} // namespace

QString openFileName(const FileRequest &request) { return fileSlot() ? fileSlot()(request) : QString(); }
void setOpenFileHandler(FileHandler handler) { fileSlot() = std::move(handler); }
FileHandler openFileHandler() { return fileSlot(); }

namespace {
FileHandler &saveSlot()
{
    static FileHandler h;
    return h;
}
} // namespace

QString saveFileName(const FileRequest &request) { return saveSlot() ? saveSlot()(request) : QString(); }
void setSaveFileHandler(FileHandler handler) { saveSlot() = std::move(handler); }

QDate Clock::today() const { return QDate::currentDate(); }
QTime Clock::timeOfDay() const { return QTime::currentTime(); }
qint64 Clock::utcMsOfDay() const
{
    const QTime t = QDateTime::currentDateTimeUtc().time();
    return qint64(t.msecsSinceStartOfDay());
}

const Clock &clock()
{
    static const Clock systemClock;
    return clockSlot() ? *clockSlot() : systemClock;
}
void setClock(const Clock *c) { clockSlot() = c; }

namespace {
const appfolders::Folders &folders()
{
    appfolders::Folders &f = foldersSlot();
    if (f.appDir.isEmpty()) {
        if (QCoreApplication::instance())
            f = appfolders::decide(QCoreApplication::applicationDirPath(), appfolders::userDataDir(), appfolders::systemShareDirs());
        else
            setAppDir(QDir::currentPath());
    }
    return f;
}
} // namespace

QString appDir() { return folders().appDir; }
QString bankDir() { return folders().bankDir; }
QString bankPath() { return bankDir() + QStringLiteral("VORDANBANK01.db"); }
QString provideBank() { return appfolders::provideUserBank(folders()); }

void setAppDir(const QString &dir)
{
    QString d = QDir::fromNativeSeparators(dir);
    if (!d.isEmpty() && !d.endsWith(QLatin1Char('/')))
        d += QLatin1Char('/');
    // A folder given by hand holds its own bank in data/.
    foldersSlot() = appfolders::Folders{d, d.isEmpty() ? QString() : d + QStringLiteral("data/"), false};
}

} // namespace seams
