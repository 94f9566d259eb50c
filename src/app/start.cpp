// TFrmStart: main window, menu movie and command dispatch.
#include "app/start.h"

#include "widgets/ModalGui.h"
#include "app/QuitCheck.h"
#include "widgets/BackupGui.h"
#include "platform/Seams.h"
#include "common/ShellState.h"
#include "app/Uabout.h"
#include "common/BackgroundMusic.h"
#include "platform/MusicPlayer.h"
#include "widgets/Uconfig.h"
#include "exam/UexamStart.h"
#include "keypoints/Laws.h"
#include "practice/Ukmmc.h"
#include "upgrade/Ustxz.h"
#include "records/UrecordsStart.h"
#include "platform/MenuPlayerWidget.h"
#include "store/dm.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QScreen>
#include <QSqlQuery>
#include <QVBoxLayout>
#include <cmath>
#include <memory>

bool IsSmallFonts()
{
    // Qt scales a high-dpi display itself and then reports 96 logical dpi
    // on it; the display's own resolution is that times the scale factor.
    QScreen *s = QApplication::primaryScreen();
    return s && std::lround(s->logicalDotsPerInchX() * s->devicePixelRatio()) == 96;
}

QString TFrmStart::screenModeFor(const QSize &screen)
{
    return (screen.width() == 800 || screen.height() == 600) ? QStringLiteral("800") : QStringLiteral("1024");
}

void TFrmStart::SetWaveVolume(int level)
{
    // The volume is the music synthesizer's gain, never the system mixer;
    // the level is kept for the player (see waveVolumeWord for the value).
    shell().WaveVolumeLevel = level < 1 ? 1 : (level > 16 ? 16 : level);
}

TFrmStart::TFrmStart(QWidget *parent) : QWidget(parent, Qt::FramelessWindowHint | Qt::Window)
{
    setObjectName(QStringLiteral("FrmStart"));
    setWindowTitle(QApplication::applicationName());
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    ShockwaveFlash1 = new MenuPlayerWidget(this);
    layout->addWidget(ShockwaveFlash1);
    ShockwaveFlash1->onCommand = [this](const QString &c, const QString &a) { ShockwaveFlash1FSCommand(c, a); };

    m_factories[MenuCommand::About] = [](QWidget *owner, const MenuCommand &) -> QDialog * { return new TFrmAbout(owner); };
    m_factories[MenuCommand::ChapterPractice] = [](QWidget *owner, const MenuCommand &) -> QDialog * { return new TFrmkmmc(owner); };
    m_factories[MenuCommand::PaperRecords] = [](QWidget *owner, const MenuCommand &) { return createPaperRecordsWindow(owner); };
    m_factories[MenuCommand::ExamSettings] = [](QWidget *owner, const MenuCommand &) { return createExamSettingsWindow(owner); };
    m_factories[MenuCommand::Upgrade] = [](QWidget *owner, const MenuCommand &) -> QDialog * { return new Tfrmstxz(owner); };
    m_factories[MenuCommand::KeyPointDirectory] = [](QWidget *owner, const MenuCommand &) -> QDialog * { return new TfrmLawsFaGui(owner); };
    m_factories[MenuCommand::StudyLog] = [](QWidget *owner, const MenuCommand &) { return createStudyLogWindow(owner); };
    m_factories[MenuCommand::StudyPlan] = [](QWidget *owner, const MenuCommand &) { return createStudyPlanWindow(owner); };
    m_factories[MenuCommand::ScoreChart] = [](QWidget *owner, const MenuCommand &) { return createScoreChartWindow(owner); };
    m_factories[MenuCommand::Settings] = [](QWidget *owner, const MenuCommand &c) -> QDialog * { return createSettingsWindow(owner, c.configMode); };
    mockExam = [](int subject) { mnks(subject); };
    MidiMediaPlayer = std::make_unique<MusicPlayer>();
    music::setPlayer(MidiMediaPlayer.get());
}

TFrmStart::~TFrmStart()
{
    if (music::player() == MidiMediaPlayer.get())
        music::setPlayer(nullptr);
}

void TFrmStart::PlayMusic(const QString &file, bool on) { ::PlayMusic(MidiMediaPlayer.get(), file, on); }

void TFrmStart::setWindowFactory(MenuCommand::Action action, WindowFactory factory) { m_factories[action] = std::move(factory); }

bool TFrmStart::FormCreate()
{
    if (!IsSmallFonts()) {
        seams::messageBox(QStringLiteral("提示"), QStringLiteral("推荐您在小字体下使用本软件，请在设置后重新运行！"),
                          seams::Prompt::Warning);
        return false;
    }
    QScreen *s = QApplication::primaryScreen();
    shell().ScreenMode = screenModeFor(s ? s->geometry().size() : QSize(1024, 768));
    if (shell().compactScreen())
        resize(800, 600);
    else
        resize(1024, 768);
    return true;
}

void TFrmStart::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TFrmStart::FormShow()
{
    if (QScreen *s = screen())
        setGeometry(s->geometry());
    ShellState &st = shell();
    st.MusicOn = true;
    SetWaveVolume(st.WaveVolumeLevel);
    if (st.CurSubject == 0)
        st.CurSubject = 1;
    if (DM1 && DM1->DbOpened) {
        try {
            loadTypeTimes(*DM1, st.CurSubject);
        } catch (const std::exception &e) {
            ui::showError(QString::fromStdString(e.what()));
        }
    }
    ShockwaveFlash1->play(seams::appDir() + QStringLiteral("pic/main.qml"));
    ShockwaveFlash1->setFocus();
}

void TFrmStart::ShockwaveFlash1FSCommand(const QString &command, const QString &args)
{
    dispatch(lookupMenuCommand(command));
    // Keys go back to the menu once a window or message box has closed.
    if (isVisible()) {
        activateWindow();
        ShockwaveFlash1->setFocus();
    }
}

void TFrmStart::dispatch(const MenuCommand &c)
{
    switch (c.action) {
    case MenuCommand::None:
        return;
    case MenuCommand::OpenPage:
        ui::openExternal(seams::appDir() + c.page);
        return;
    case MenuCommand::Quit:
        quitCommand();
        return;
    case MenuCommand::MockExam:
        if (mockExam) {
            try {
                mockExam(c.subject);
            } catch (const std::exception &e) {
                ui::normalCursor();
                ui::showError(QString::fromStdString(e.what()));
            }
        }
        return;
    case MenuCommand::ChapterPractice:
        shell().PracticeSubject = c.subject;
        break;
    case MenuCommand::Settings:
        shell().ConfigMode = c.configMode;
        break;
    default:
        break;
    }
    openWindow(c);
}

void TFrmStart::openWindow(const MenuCommand &c)
{
    auto it = m_factories.find(c.action);
    if (it == m_factories.end() || !it->second)
        return;   // a window the program does not have does nothing
    if (c.busyCursor)
        ui::busyCursor();
    std::unique_ptr<QDialog> w;
    try {
        w.reset(it->second(this, c));
        if (w) {
            if (c.releaseCursorBeforeShow)
                ui::normalCursor();
            ui::execModal(w.get());
        }
        ui::normalCursor();
    } catch (const std::exception &e) {
        ui::normalCursor();
        w.reset();
        ui::showError(QString::fromStdString(e.what()));
    }
}

void TFrmStart::quitCommand()
{
    // The day's copy of the bank is made on the way out.
    const auto leave = [this] {
        backupgui::dailyBackupOnQuit();
        close();
    };
    QuitCheck r;
    try {
        if (DM1)
            r = checkStudyPlan(*DM1);
    } catch (const std::exception &e) {
        ui::showError(QString::fromStdString(e.what()));
        return;
    }
    switch (r.outcome) {
    case QuitCheck::NoPlan:
        return;
    case QuitCheck::NotDone:
        if (seams::messageBox(QStringLiteral("提示"), QStringLiteral("还未完成今日学习计划，要退出吗？"), seams::Prompt::Question,
                              seams::Prompt::Ok | seams::Prompt::Cancel)
            == seams::Prompt::Ok)
            leave();
        return;
    case QuitCheck::Done:
        if (seams::messageBox(QStringLiteral("提示"), QStringLiteral("恭喜完成今日学习计划！"), seams::Prompt::Information)
            == seams::Prompt::Ok)
            leave();
        return;
    case QuitCheck::Exceeded:
        if (seams::messageBox(QStringLiteral("提示"), QStringLiteral("超额完成学习计划，要注意休息呦！"), seams::Prompt::Information)
            == seams::Prompt::Ok)
            leave();
        return;
    }
}

bool TFrmStart::FormCloseQuery()
{
    try {
        if (DM1)
            DM1->close();
    } catch (...) {
    }
    return true;
}

void TFrmStart::closeEvent(QCloseEvent *event)
{
    FormCloseQuery();
    event->accept();
}
