// Screens: opens every window of the program, offscreen, in both layouts
// (1024 x 768 and 800 x 600) and saves one picture of each, named after the
// window, for looking at the whole program after a change to its looks.
//
//   screens --appdir DIR --out DIR
//
// DIR holds the program's pic/, sound/, htm/ and data/VORDANBANK01.db (the
// demo bank); a few answers, two marked papers and their log days are added
// to that bank first.  tools/screens.sh prepares the folder and makes the
// contact sheet.
#include "app/start.h"
#include "common/ShellState.h"
#include "exam/ExamAnswers.h"
#include "exam/Marking.h"
#include "exam/PaperGeneration.h"
#include "keypoints/Laws.h"
#include "keypoints/details.h"
#include "platform/QtLanguage.h"
#include "practice/PracticeSelection.h"
#include "practice/Ukmmc.h"
#include "records/Uchart.h"
#include "platform/Seams.h"
#include "store/dm.h"
#include "widgets/FileDialogGui.h"
#include "widgets/ModalGui.h"
#include "widgets/ThemeGui.h"
#include "widgets/Udlg.h"
#include "widgets/Uprogress.h"

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTableView>
#include <QTableWidget>
#include <QTimer>
#include <cstdio>
#include <functional>
#include <map>

namespace {

QString g_out;
QString g_layout;        // "1024" or "800"
QString g_variant;       // set by an action just before it opens a window
QSet<QString> g_seen;    // windows taken in this layout

void settle(int ms = 120)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void save(QWidget *w, const QString &name)
{
    const QString file = QStringLiteral("%1/%2_%3.png").arg(g_out, name, g_layout);
    if (!w->grab().save(file))
        std::fprintf(stderr, "screens: cannot write %s\n", qPrintable(file));
    else
        std::printf("%s\n", qPrintable(file));
}

template <typename T = QAbstractButton>
T *child(QWidget *w, const char *name)
{
    return w->findChild<T *>(QLatin1String(name));
}

void click(QWidget *w, const char *name, const QString &variant = QString())
{
    if (auto *b = child(w, name)) {
        g_variant = variant;
        b->click();
        g_variant.clear();
        settle();
    } else {
        std::fprintf(stderr, "screens: no button %s in %s\n", name, w->metaObject()->className());
    }
}

void selectRow(QWidget *w, const char *grid, int row)
{
    if (auto *v = child<QTableView>(w, grid)) {
        v->setFocus();
        v->selectRow(row);
        v->setCurrentIndex(v->model()->index(row, 0));
        settle();
    }
}

// What is done in a window after its picture is taken: the buttons that
// open further windows, and further pictures of its other pages.
using Action = std::function<void(QDialog *, const QString &name)>;
std::map<QString, Action> actions()
{
    std::map<QString, Action> a;
    a[QStringLiteral("TFrmkmmc")] = [](QDialog *d, const QString &) {
        // The first row below a heading is a chapter to practise and to add to.
        auto *grid = child<QTableView>(d, "DBGrid1");
        for (int r = 0; grid && r < grid->model()->rowCount(); ++r)
            if (!practice::isHeadingCode(grid->model()->index(r, 0).data().toString())) {
                selectRow(d, "DBGrid1", r);
                break;
            }
        click(d, "SpeedButton5");
        if (auto *k = qobject_cast<TFrmkmmc *>(d))
            k->DBGrid1DblClick();
        settle();
    };
    const auto practice = [](QDialog *d, const QString &name) {
        click(d, "epEfTrBtn6", QString());   // the answer panel
        save(d, name + QStringLiteral("-answer"));
        click(d, "epEfTrBtn6");
        click(d, "epEfTrBtn4");
        click(d, "epEfTrBtn5");
        click(d, "epEfTrBtn9");
        click(d, "epEfTrBtn11");
    };
    a[QStringLiteral("TFrmLxxt")] = practice;
    a[QStringLiteral("TFrmRuleLxxt")] = practice;
    a[QStringLiteral("TFrmInPut")] = [](QDialog *d, const QString &) {
        click(d, "BtnAddFg");
        click(d, "epBtn_help", QStringLiteral("help"));
    };
    a[QStringLiteral("TfrmLawsFaGui")] = [](QDialog *d, const QString &name) {
        if (auto *l = qobject_cast<TfrmLawsFaGui *>(d)) {
            // The first group below a heading opens; a heading says so.
            for (int r = 0; r < l->m_grid->rowCount() && !l->detail(); ++r) {
                l->m_grid->setCurrentCell(r, 0);
                l->m_btnSelect->click();
            }
            settle();
            save(d, name + QStringLiteral("-detail"));
            if (l->detail())
                l->detail()->m_LBmenu->setCurrentRow(0);
            l->m_btnQuestion->click();
            settle();
        }
    };
    a[QStringLiteral("TFrmCheck")] = [](QDialog *d, const QString &) {
        // The oldest paper: marked, with answers right and wrong.
        if (auto *grid = child<QTableView>(d, "DBGrid1"))
            selectRow(d, "DBGrid1", grid->model()->rowCount() - 1);
        click(d, "SpeedButton2", QStringLiteral("review"));
    };
    a[QStringLiteral("TFrmExam")] = [](QDialog *d, const QString &name) {
        click(d, "epEfTrBtn6");
        save(d, name + QStringLiteral("-answer"));
        click(d, "epEfTrBtn6");
        // In review the explanation and key points open: the first question
        // that has key points shows them.
        auto *keyPoints = child(d, "epEfTrBtn9");
        for (int i = 0; i < 40 && keyPoints && !keyPoints->isEnabled(); ++i)
            click(d, "epEfTrBtn2");
        click(d, "epEfTrBtn4");
        click(d, "epEfTrBtn9");
    };
    a[QStringLiteral("Tfrmchart")] = [](QDialog *d, const QString &name) {
        if (auto *c = qobject_cast<Tfrmchart *>(d)) {
            c->typeItems->button(0)->click();
            settle(300);
            save(d, name + QStringLiteral("-pie"));
            c->typeItems->button(2)->click();
            settle(300);
            save(d, name + QStringLiteral("-progress"));
            c->typeItems->button(1)->click();
            settle();
        }
        click(d, "epFocusButton3", QStringLiteral("save"));
    };
    a[QStringLiteral("Tfrmstxz")] = [](QDialog *d, const QString &) { click(d, "SpeedButton1", QStringLiteral("open")); };
    return a;
}

// Every window opened through the modal helper: its picture, then its
// own openers; a window already taken in this layout is passed by.
int takeWindow(QDialog *d)
{
    static const auto acts = actions();
    QString name = QString::fromLatin1(d->metaObject()->className());
    if (name == QLatin1String("TFrmConfig"))
        name += shell().ConfigMode == 1 ? QStringLiteral("-times") : QStringLiteral("-music");
    else if (!g_variant.isEmpty())
        name += QLatin1Char('-') + g_variant;
    if (g_seen.contains(name))
        return 0;
    g_seen.insert(name);
    d->show();
    settle(250);
    save(d, name);
    const auto it = acts.find(QString::fromLatin1(d->metaObject()->className()));
    if (it != acts.end())
        it->second(d, name);
    d->hide();
    settle(30);
    return 0;
}

// Prompts are answered with their first button; the first message dialog
// and the first standard message box of a layout are taken as pictures.
int answerPrompt(const seams::Prompt &p)
{
    if (p.kind == seams::Prompt::Kind::ShowDlg) {
        if (!g_seen.contains(QStringLiteral("TFrmDlg"))) {
            g_seen.insert(QStringLiteral("TFrmDlg"));
            TFrmDlg *d = FrmDlg();
            d->prepare(p.caption, p.text, p.dlgKind, p.dlgPage, p.wording);
            d->show();
            settle();
            save(d, QStringLiteral("TFrmDlg"));
            d->hide();
        }
        return 1;
    }
    if (!g_seen.contains(QStringLiteral("QMessageBox"))) {
        g_seen.insert(QStringLiteral("QMessageBox"));
        QMessageBox box;
        prepareMessageBox(box, p);
        box.show();
        settle();
        save(&box, QStringLiteral("QMessageBox"));
    }
    if (p.buttons & seams::Prompt::Cancel)
        return seams::Prompt::Cancel;   // the quit check: the menu stays
    return (p.buttons & seams::Prompt::Ok) ? int(seams::Prompt::Ok) : int(seams::Prompt::Yes);
}

// A few answers, two marked papers and their log days, on days before the
// fixed today.
void addStudy(TDM1 &dm, seams::FixedClock &clock)
{
    const QDate today = clock.date;
    for (int back : {6, 3, 1}) {
        clock.date = today.addDays(-back);
        const exam::PaperState paper = exam::generatePaper(dm, 1);
        QVector<exam::PaperQuestion> rows = exam::LoadPaper(dm, paper);
        for (int i = 0; i < rows.size() - 15; ++i) {
            const QString key = rows[i].a2;
            const bool right = (i + back) % 4 != 0;
            const QString answer = right ? key : (key == QLatin1String("A") ? QStringLiteral("B") : QStringLiteral("A"));
            exam::recordPaperAnswer(dm, paper.tableName, rows[i], answer);
        }
        exam::MarkPaper(dm, 1, paper.tableName, QStringLiteral("1:%1:07").arg(20 + back * 5));
        dm.AddStudyTime(QStringLiteral("0:%1:30").arg(15 + back * 6));
    }
    clock.date = today;
}

void takeLayout(TFrmStart &start, const QString &layout, const QSize &size)
{
    g_layout = layout;
    g_seen.clear();
    shell().ScreenMode = layout;
    start.resize(size);
    start.show();
    settle(800);
    save(&start, QStringLiteral("TFrmStart"));
    // The waiting window, as papers and windows show it while they prepare.
    FrmProgress()->showStage(QStringLiteral("正在初始化数据..."));
    settle();
    save(FrmProgress(), QStringLiteral("TFrmProgress"));
    FrmProgress()->hide();
    for (const char *command : {"lx", "ksdg", "mnks", "cj", "szks", "szjh", "rz", "tj", "sj", "music", "sztime", "about"}) {
        start.ShockwaveFlash1FSCommand(QString::fromLatin1(command), QString());
        settle(50);
    }
    // The quit check asks with a standard message box.
    start.ShockwaveFlash1FSCommand(QStringLiteral("quit"), QString());
    start.hide();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    QApplication::setQuitOnLastWindowClosed(false);
    const QStringList args = QApplication::arguments();
    const qsizetype appIndex = args.indexOf(QStringLiteral("--appdir"));
    const qsizetype outIndex = args.indexOf(QStringLiteral("--out"));
    if (appIndex < 0 || outIndex < 0 || appIndex + 1 >= args.size() || outIndex + 1 >= args.size()) {
        std::fprintf(stderr, "usage: screens --appdir DIR --out DIR\n");
        return 2;
    }
    seams::setAppDir(QDir(args.at(appIndex + 1)).absolutePath() + QLatin1Char('/'));
    g_out = QDir(args.at(outIndex + 1)).absolutePath();
    QDir().mkpath(g_out);
    // Qt's own texts in the language of LANG, as the program loads them.
    platform::installQtTranslations();
    theme::apply();

    seams::FixedClock clock;
    clock.date = QDate(2026, 5, 20);
    clock.time = QTime(9, 30);
    clock.utcMs = 5400000;
    seams::setClock(&clock);

    TDM1 dm;
    if (!dm.DbOpened) {
        std::fprintf(stderr, "screens: the bank does not open: %s\n", qPrintable(dm.openError));
        return 1;
    }
    addStudy(dm, clock);

    seams::setPromptHandler(answerPrompt);
    installRealFileDialog();
    ui::setModalHook(takeWindow);
    ui::setOpenHook([](const QString &) {});
    seams::setProgramEnd([] {});
    createFrmDlg();
    {
        // One menu window for both layouts: closing it closes the bank.
        TFrmStart start;
        takeLayout(start, QStringLiteral("1024"), QSize(1024, 768));
        takeLayout(start, QStringLiteral("800"), QSize(800, 600));
    }
    ui::setModalHook(nullptr);
    seams::setPromptHandler(nullptr);
    destroyFrmDlg();
    return 0;
}
