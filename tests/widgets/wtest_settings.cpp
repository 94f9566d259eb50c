// The settings window driven through its controls: the two layouts, the
// answer times stored on closing and used by the next practice, a failing
// write, and the background music switch and tune list with a player that
// renders into a file.
#include "common/BackgroundMusic.h"
#include "common/ShellState.h"
#include "app/start.h"
#include "exam/UexamLinks.h"
#include "platform/MusicPlayer.h"
#include "practice/PracticeFixtures.h"
#include "practice/PracticeSelection.h"
#include "practice/Ulxxt.h"
#include "support/WavLevel.h"
#include "widgets/OnOffSwitchWidget.h"
#include "widgets/Uconfig.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using practicefixtures::ModalHookGuard;

namespace {

class SettingsWindow : public ::testing::Test {
protected:
    TestBank b;
    PromptRecorder prompts;
    void SetUp() override { shell() = ShellState(); }
    void TearDown() override { shell() = ShellState(); }

    void addTypes(int subject, int count, double minutes = 1.0)
    {
        for (int i = 0; i < count; ++i)
            b.run(QStringLiteral("insert into tab_tx%1 (A1, B1, B2, B3, time) values (?, ?, 10, 1, ?)").arg(subject),
                  {61 + i, QStringLiteral("题型%1 ").arg(i + 1), minutes});
    }
    QDoubleSpinBox *box(TFrmConfig &w, int n)
    {
        return w.findChild<QDoubleSpinBox *>(QStringLiteral("Currencyedit%1").arg(n));
    }
    QList<QLabel *> rowLabels(TFrmConfig &w, int top)
    {
        QList<QLabel *> out;
        for (QLabel *l : w.ScrollBox1->widget()->findChildren<QLabel *>())
            if (l->y() == top)
                out << l;
        std::sort(out.begin(), out.end(), [](QLabel *a, QLabel *b) { return a->x() < b->x(); });
        return out;
    }
    void type(QDoubleSpinBox *box, const QString &text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    double storedTime(int subject, int code)
    {
        return b.value(QStringLiteral("select time from tab_tx%1 where A1=?").arg(subject), {code}).toDouble();
    }
};

void sendClose(QWidget *w)
{
    QCloseEvent e;
    QApplication::sendEvent(w, &e);
}

} // namespace

TEST_F(SettingsWindow, MusicLayout)
{
    shell().MusicOn = false;
    std::unique_ptr<TFrmConfig> w(createSettingsWindow(nullptr, 0));
    w->show();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("系统设置"));
    EXPECT_TRUE(w->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(w->size(), QSize(364, 100));
    EXPECT_TRUE(w->RxSwitch1->isOn());   // on whatever MusicOn says
    EXPECT_EQ(shell().CurSubject, 1);
    EXPECT_EQ(w->FlatComboBox1->currentIndex(), -1);
    QStringList items;
    for (int i = 0; i < w->FlatComboBox1->count(); ++i)
        items << w->FlatComboBox1->itemText(i);
    EXPECT_EQ(items, (QStringList{QStringLiteral("乐曲01"), QStringLiteral("乐曲02"), QStringLiteral("乐曲03"),
                                  QStringLiteral("乐曲04"), QStringLiteral("乐曲05"), QStringLiteral("乐曲06")}));
    struct Place {
        QWidget *w;
        QPoint at;
    } places[] = {{w->Label1, {16, 24}}, {w->RxSwitch1, {96, 18}}, {w->Label5, {16, 60}},
                  {w->FlatComboBox1, {93, 58}}, {w->epFocusButton3, {270, 23}}};
    for (const Place &p : places) {
        EXPECT_EQ(p.w->pos(), p.at) << p.w->objectName().toStdString();
        EXPECT_TRUE(p.w->isVisible()) << p.w->objectName().toStdString();
        EXPECT_LT(p.w->geometry().bottom(), 100);
    }
    EXPECT_EQ(w->FlatComboBox1->width(), 248);
    EXPECT_EQ(w->epFocusButton3->size(), QSize(71, 26));
    EXPECT_EQ(w->Label1->text(), QStringLiteral("背景音乐"));
    EXPECT_EQ(w->Label5->text(), QStringLiteral("声音列表"));
    // The answer times lie below the window's edge and nothing is made.
    EXPECT_GE(w->Label4->y(), 100);
    EXPECT_EQ(w->rowCount(), 0);
    EXPECT_TRUE(w->RxSwitch1->hasPictures() || !QFile::exists(seams::appDir() + QStringLiteral("pic/switch_on.png")));
}

TEST_F(SettingsWindow, AnswerTimeLayoutHasOneRowPerTypeOfTheCurrentSubject)
{
    addTypes(1, 8);
    addTypes(4, 3, 2.5);
    struct Case {
        int curSubject;
        int rows;
        double minutes;
    } cases[] = {{0, 8, 1.0}, {4, 3, 2.5}};
    for (const Case &c : cases) {
        shell().CurSubject = c.curSubject;
        std::unique_ptr<TFrmConfig> w(createSettingsWindow(nullptr, 1));
        w->show();
        EXPECT_EQ(w->size(), QSize(364, 170));
        for (QWidget *hidden : {static_cast<QWidget *>(w->Label1), static_cast<QWidget *>(w->Label5),
                                static_cast<QWidget *>(w->RxSwitch1), static_cast<QWidget *>(w->FlatComboBox1)})
            EXPECT_FALSE(hidden->isVisible()) << hidden->objectName().toStdString();
        EXPECT_EQ(w->Label4->pos(), QPoint(8, 4));
        EXPECT_EQ(w->Label4->text(), QStringLiteral("答题时间设置"));
        EXPECT_EQ(w->ScrollBox1->geometry(), QRect(9, 22, 345, 110));
        EXPECT_EQ(w->epFocusButton3->pos(), QPoint(280, 137));
        ASSERT_EQ(w->rowCount(), c.rows);
        for (int n = 1; n <= c.rows; ++n) {
            QDoubleSpinBox *e = box(*w, n);
            ASSERT_TRUE(e) << n;
            EXPECT_EQ(e->geometry(), QRect(100, (n - 1) * 20 + 5, 40, 20));
            EXPECT_TRUE(e->isVisibleTo(w.get())) << n;
            EXPECT_EQ(e->property("tag").toInt(), 60 + n);
            EXPECT_DOUBLE_EQ(e->value(), c.minutes);
            EXPECT_EQ(e->decimals(), 1);
            EXPECT_DOUBLE_EQ(e->minimum(), 0.1);
            EXPECT_DOUBLE_EQ(e->maximum(), 30.0);
            const QList<QLabel *> labels = rowLabels(*w, (n - 1) * 20 + 8);
            ASSERT_EQ(labels.size(), 2);
            EXPECT_EQ(labels[0]->x(), 16);
            EXPECT_EQ(labels[0]->text(), QStringLiteral("题型%1").arg(n));   // trimmed
            EXPECT_EQ(labels[1]->x(), 150);
            EXPECT_EQ(labels[1]->text(), QStringLiteral("分钟"));
            EXPECT_TRUE(labels[0]->isVisibleTo(w.get()) && labels[1]->isVisibleTo(w.get())) << n;
        }
        EXPECT_FALSE(box(*w, c.rows + 1));
        if (c.rows == 8) {
            // The eighth row lies below the visible part until the box scrolls.
            QDoubleSpinBox *eighth = box(*w, 8);
            EXPECT_EQ(eighth->y(), 145);
            QScrollBar *bar = w->ScrollBox1->verticalScrollBar();
            ASSERT_GT(bar->maximum(), 0);
            const QRect viewport = w->ScrollBox1->viewport()->rect();
            auto inView = [&] {
                return viewport.contains(QRect(eighth->mapTo(w->ScrollBox1->viewport(), QPoint(0, 0)), eighth->size()));
            };
            EXPECT_FALSE(inView());
            bar->setValue(bar->maximum());
            EXPECT_TRUE(inView());
        }
        sendClose(w.get());
    }
}

TEST_F(SettingsWindow, StoredTimesTimeTheNextPractice)
{
    practicefixtures::writePictures(b.dir());
    practicefixtures::addTypes(b, 1.0);   // 61 单项选择题 first
    practicefixtures::addSection(b, 3);
    shell().ScreenMode = QStringLiteral("1024");
    shell().PracticeSubject = 1;
    b.dm().setChapterRow(QStringLiteral("100101"));

    // Both ways out of the window store: the 关闭 button and the title bar.
    struct Road {
        const char *name;
        const char *typed;
        double stored;
        int interval;
        bool refused;   // not a number of 0.1 to 30: the previous value stays
    } roads[] = {{"button", "2.5", 2.5, 1500, false}, {"title bar", "0.1", 0.1, 60, false},
                 {"button", "2,5", 0.1, 60, true}, {"title bar", "31", 0.1, 60, true}, {"button", "1e9", 0.1, 60, true}};
    for (const Road &road : roads) {
        SCOPED_TRACE(road.typed);
        TFrmStart start;
        bool closed = false;
        {
            ModalHookGuard hook([&](QDialog *d) {
                auto *w = qobject_cast<TFrmConfig *>(d);
                if (!w)
                    return 0;
                w->show();
                type(box(*w, 1), QString::fromLatin1(road.typed));
                // Escape means nothing here.
                QTest::keyClick(w, Qt::Key_Escape);
                EXPECT_TRUE(w->isVisible());
                auto leave = [&] {
                    if (QByteArray(road.name) == "button")
                        QTest::mouseClick(w->epFocusButton3, Qt::LeftButton);
                    else
                        sendClose(w);
                };
                leave();
                if (road.refused) {
                    // The window stays to show the previous value and the range.
                    EXPECT_TRUE(w->isVisible());
                    EXPECT_EQ(prompts.lastText(), QStringLiteral("请输入0.1到30之间的数字！"));
                    EXPECT_EQ(box(*w, 1)->text(), QStringLiteral("0.1"));
                    prompts.prompts.clear();
                    leave();
                }
                closed = !w->isVisible();
                return 0;
            });
            start.ShockwaveFlash1FSCommand(QStringLiteral("sztime"), QString());
        }
        EXPECT_TRUE(closed) << road.name;
        EXPECT_TRUE(prompts.prompts.isEmpty()) << road.name;
        EXPECT_DOUBLE_EQ(storedTime(1, 61), road.stored) << road.name;
        EXPECT_DOUBLE_EQ(storedTime(1, 65), 1.0);   // written unchanged
        ASSERT_EQ(shell().TypeCodes.size(), 6);
        EXPECT_EQ(shell().TypeCodes[0], 61);
        EXPECT_EQ(shell().TypeTimes[0], road.interval);
        EXPECT_EQ(shell().TypeTimes[2], 600);

        // A practice started afterwards times its first question (type 61)
        // with the new value; its 设置 button opens the music settings.
        shell().PracticeSql = practice::practiceSql(practice::PracticeKind::New, QStringLiteral("100101"));
        TFrmLxxt p;
        ASSERT_TRUE(p.LoadQuestionList());
        p.show();
        EXPECT_EQ(p.Timer1->interval(), road.interval) << road.name;
        QStringList opened;
        ModalHookGuard hook([&](QDialog *d) {
            opened << QStringLiteral("%1 %2").arg(d->windowTitle()).arg(shell().ConfigMode);
            return 0;
        });
        QTest::mouseClick(p.epEfTrBtn8, Qt::LeftButton);
        examlinks::showSettings(nullptr);   // the exam window's and paper records' button
        EXPECT_EQ(opened, (QStringList{QStringLiteral("系统设置 0"), QStringLiteral("系统设置 0")}));
        p.Timer1->stop();
        sendClose(&p);
    }
}

TEST_F(SettingsWindow, AFailingWriteSaysSoAndKeepsTheRowsBefore)
{
    addTypes(1, 3);
    b.run(QStringLiteral("create trigger refuse before update on tab_tx1 when new.A1=62 "
                         "begin select raise(abort, 'locked'); end"));
    shell().TypeTimes = {9, 9, 9};
    shell().TypeCodes = {1, 2, 3};
    std::unique_ptr<TFrmConfig> w(createSettingsWindow(nullptr, 1));
    w->show();
    for (int n = 1; n <= 3; ++n)
        type(box(*w, n), QStringLiteral("%1").arg(n + 1));
    QTest::mouseClick(w->epFocusButton3, Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    ASSERT_EQ(prompts.prompts.size(), 1);
    const seams::Prompt &p = prompts.prompts[0];
    EXPECT_EQ(p.kind, seams::Prompt::Kind::ShowDlg);
    EXPECT_EQ(p.caption, QStringLiteral("错误"));
    EXPECT_EQ(p.text, QStringLiteral("保存设置失败！"));
    EXPECT_EQ(p.dlgKind, 1);
    EXPECT_EQ(p.dlgPage, 2);
    EXPECT_EQ(p.wording, QStringLiteral("No"));
    EXPECT_DOUBLE_EQ(storedTime(1, 61), 2.0);
    EXPECT_DOUBLE_EQ(storedTime(1, 62), 1.0);
    EXPECT_DOUBLE_EQ(storedTime(1, 63), 1.0);   // not reached
    EXPECT_EQ(shell().TypeTimes, (QVector<int>{1200, 9, 9}));
    EXPECT_EQ(shell().TypeCodes, (QVector<int>{61, 2, 3}));
}

namespace {

// The music tests: the tunes beside the program and a player installed for
// the settings window.
class SettingsMusic : public SettingsWindow {
protected:
    QTemporaryDir out;
    std::unique_ptr<MusicPlayer> player;
    void SetUp() override
    {
        SettingsWindow::SetUp();
        QDir().mkpath(b.dir() + QStringLiteral("sound"));
        for (int n = 1; n <= 6; ++n) {
            const QString name = QStringLiteral("乐曲%1.mid").arg(n, 2, 10, QLatin1Char('0'));
            QFile::copy(QStringLiteral(PELLBROOK_SOURCE_DIR "/sound/") + name, b.dir() + QStringLiteral("sound/") + name);
        }
    }
    void TearDown() override
    {
        music::setPlayer(nullptr);
        player.reset();
        SettingsWindow::TearDown();
    }
    QString wav() const { return out.filePath(QStringLiteral("music.wav")); }
    // A player that writes what it plays into a WAV file.
    void renderingPlayer()
    {
        player = std::make_unique<MusicPlayer>(MusicPlayer::Output{QStringLiteral("file"), wav()});
        music::setPlayer(player.get());
    }
    // Lets the music play a while, then ends the player so the file is complete.
    WavLevel listen()
    {
        player->flush();
        QTest::qWait(1500);
        music::setPlayer(nullptr);
        player.reset();
        return readWavLevel(wav());
    }
    QString tune(int n) const { return b.dir() + QStringLiteral("sound/乐曲%1.mid").arg(n, 2, 10, QLatin1Char('0')); }
    void flip(TFrmConfig &w) { QTest::mouseClick(w.RxSwitch1, Qt::LeftButton); }
    QStringList texts() const
    {
        QStringList t;
        for (const seams::Prompt &p : prompts.prompts)
            t << p.text;
        return t;
    }
};

} // namespace

TEST_F(SettingsMusic, WithoutAudioOutputSaysThereIsNoSoundCard)
{
    struct Case {
        const char *name;
        bool player;
    } cases[] = {{"no player", false}, {"output cannot open", true}};
    for (const Case &c : cases) {
        prompts.prompts.clear();
        if (c.player) {
            player = std::make_unique<MusicPlayer>(
                MusicPlayer::Output{QStringLiteral("file"), out.filePath(QStringLiteral("missing/folder/x.wav"))});
            music::setPlayer(player.get());
        }
        std::unique_ptr<TFrmConfig> w(createSettingsWindow(nullptr, 0));
        w->show();
        flip(*w);   // off
        EXPECT_FALSE(shell().MusicOn);
        flip(*w);   // on
        EXPECT_TRUE(shell().MusicOn);
        EXPECT_EQ(shell().MusicFile, tune(1));
        w->FlatComboBox1->setCurrentIndex(2);
        EXPECT_EQ(shell().MusicFile, tune(3));
        EXPECT_EQ(texts(), QStringList(3, QStringLiteral("没发现声卡！"))) << c.name;
        for (const seams::Prompt &p : prompts.prompts) {
            EXPECT_EQ(p.kind, seams::Prompt::Kind::ShowDlg);
            EXPECT_EQ(p.caption, QStringLiteral("提示"));
            EXPECT_EQ(p.dlgKind, 1);
            EXPECT_EQ(p.dlgPage, 1);
            EXPECT_EQ(p.wording, QStringLiteral("NO"));
        }
        if (player) {
            EXPECT_EQ(player->currentFile(), QString());
        }
        sendClose(w.get());
        music::setPlayer(nullptr);
        player.reset();
    }
}

TEST_F(SettingsMusic, SwitchOnWithoutATunePlaysTheFirst)
{
    renderingPlayer();
    std::unique_ptr<TFrmConfig> w(createSettingsWindow(nullptr, 0));
    w->show();
    EXPECT_EQ(player->currentFile(), QString());   // nothing plays on opening
    flip(*w);   // off: closes the closed player
    EXPECT_EQ(shell().MusicFile, QString());
    flip(*w);   // on
    EXPECT_EQ(shell().MusicFile, tune(1));
    EXPECT_EQ(player->currentFile(), tune(1));
    EXPECT_TRUE(prompts.prompts.isEmpty()) << texts().join(QLatin1Char(' ')).toStdString();
    sendClose(w.get());
    const WavLevel l = listen();   // the music goes on after the window closed
    ASSERT_TRUE(l.ok);
    EXPECT_GT(l.seconds, 0.5);
    EXPECT_GT(l.peak, 1000);
    EXPECT_GT(l.rmsDb, -45);
}

TEST_F(SettingsMusic, ATuneChosenPlaysWithTheSwitchOnAndStopsItWhenOff)
{
    renderingPlayer();
    std::unique_ptr<TFrmConfig> w(createSettingsWindow(nullptr, 0));
    w->show();
    w->FlatComboBox1->setCurrentIndex(2);
    EXPECT_EQ(shell().MusicFile, tune(3));
    EXPECT_EQ(player->currentFile(), tune(3));
    flip(*w);   // off
    EXPECT_EQ(player->currentFile(), QString());
    w->FlatComboBox1->setCurrentIndex(4);   // chosen while off: stays quiet
    EXPECT_EQ(shell().MusicFile, tune(5));
    EXPECT_EQ(player->currentFile(), QString());
    flip(*w);   // on again with 乐曲05 shown
    EXPECT_EQ(player->currentFile(), tune(5));
    w->FlatComboBox1->setCurrentIndex(2);
    EXPECT_EQ(player->currentFile(), tune(3));
    EXPECT_TRUE(prompts.prompts.isEmpty());
    sendClose(w.get());
    const WavLevel l = listen();
    ASSERT_TRUE(l.ok);
    EXPECT_GT(l.peak, 1000);
    EXPECT_GT(l.rmsDb, -45);
}

TEST_F(SettingsMusic, AMissingTuneCannotBePlayed)
{
    renderingPlayer();
    QFile::remove(tune(4));
    std::unique_ptr<TFrmConfig> w(createSettingsWindow(nullptr, 0));
    w->show();
    w->FlatComboBox1->setCurrentIndex(1);
    EXPECT_EQ(player->currentFile(), tune(2));
    w->FlatComboBox1->setCurrentIndex(3);
    EXPECT_EQ(texts(), QStringList{QStringLiteral("无法播放背景音乐！")});
    EXPECT_EQ(prompts.prompts.value(0).dlgPage, 1);
    EXPECT_EQ(player->currentFile(), QString());   // what played before has stopped
    sendClose(w.get());
}
