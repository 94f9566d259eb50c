// The upgrade window driven like a user: opened by the menu's "sj", a file
// picked with the folder button and merged, a second attempt refused, and
// every way out disconnecting the upgrade file.
#include "support/TestBank.h"
#include "support/UpgradeFiles.h"
#include "app/start.h"
#include "store/BankBackup.h"
#include "store/Schema.h"
#include "upgrade/Ustxz.h"
#include "widgets/FileDialogGui.h"
#include "widgets/ModalGui.h"

#include <QCloseEvent>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

const QString Product = QString::fromLatin1(store::ProductStamp);

struct UpgradeEnv {
    TestBank b;
    PromptRecorder prompts;
    QList<seams::FileRequest> asked;
    QString answer;   // what the file dialog picks

    UpgradeEnv()
    {
        b.run(QStringLiteral("insert into tab_sj (sjbs, cpbs) values ('VELMORA-BASE', ?)"), {Product});
        for (const char *c : {"1", "10", "1001"})
            b.addChapter(QString::fromLatin1(c));
        seams::setOpenFileHandler([this](const seams::FileRequest &r) {
            asked << r;
            return answer;
        });
    }
    ~UpgradeEnv()
    {
        seams::setOpenFileHandler(nullptr);
        ui::setModalHook(nullptr);
    }
    QString makeUpgrade(const QString &name, bool withStamps = true)
    {
        const QString p = b.dir() + name;
        UpgradeFile f(p, withStamps ? QStringLiteral("UPG-W1") : QString(), withStamps ? Product : QString());
        f.addChapter(QStringLiteral("100101"), 1);
        f.addQuestion(QStringLiteral("W1"), 61, QStringLiteral("100101"));
        if (!withStamps)
            f.run(QStringLiteral("drop table tab_sj"));
        return p;
    }
    seams::Prompt last() const { return prompts.prompts.isEmpty() ? seams::Prompt() : prompts.prompts.last(); }
};

void click(QAbstractButton *b) { QTest::mouseClick(b, Qt::LeftButton); }

} // namespace

TEST(UpgradeWindow, MenuOpensItAndThePickedFileMergesOnce)
{
    UpgradeEnv env;
    env.answer = env.makeUpgrade(QStringLiteral("升级 文件's.db"));
    TFrmStart start;
    bool drove = false;
    ui::setModalHook([&](QDialog *d) {
        auto *w = qobject_cast<Tfrmstxz *>(d);
        EXPECT_NE(w, nullptr);
        if (!w)
            return 0;
        drove = true;
        w->show();
        EXPECT_EQ(w->windowTitle(), QStringLiteral("题库升级"));
        EXPECT_EQ(w->Label1->text(), QStringLiteral("建议先下载升级题库，然后选择本地升级！"));
        EXPECT_EQ(w->RadioGroup1->title(), QStringLiteral("选择升级方式"));
        EXPECT_EQ(w->RadioGroup1Item0->text(), QStringLiteral("本地升级"));
        EXPECT_TRUE(w->RadioGroup1Item0->isChecked());
        EXPECT_EQ(w->epFocusButton1->text(), QStringLiteral("开始升级"));
        EXPECT_EQ(w->epFocusButton3->text(), QStringLiteral("关闭"));

        click(w->SpeedButton1);
        EXPECT_EQ(env.asked.size(), 1);
        if (!env.asked.isEmpty()) {
            EXPECT_EQ(env.asked.first().filter, QStringLiteral("升级文件(*.db)|*.db|所有文件(*.*)|*.*"));
        }
        EXPECT_EQ(QDir::fromNativeSeparators(w->Edit1->text()), env.answer);

        click(w->epFocusButton1);
        EXPECT_EQ(env.last().kind, seams::Prompt::Kind::ShowDlg);
        EXPECT_EQ(env.last().caption, QStringLiteral("提示"));
        EXPECT_EQ(env.last().text, QStringLiteral("升级成功！"));
        EXPECT_EQ(env.last().dlgKind, 1);
        EXPECT_EQ(env.last().dlgPage, 0);
        EXPECT_EQ(env.last().wording, QStringLiteral("NO"));
        EXPECT_TRUE(w->ADOCn2().isOpen());
        EXPECT_EQ(env.b.value(QStringLiteral("select C3 from tab_kmmc where C1='1001'")).toInt(), 1);

        // The bank was copied just before the merge; a refused file makes no copy.
        const QString copies = bankbackup::backupDir(env.b.dm().bankPath());
        const QList<bankbackup::Entry> made = bankbackup::findBackups(copies);
        EXPECT_EQ(made.size(), 1);
        if (!made.isEmpty()) {
            EXPECT_EQ(made.first().reason, QStringLiteral("upgrade"));
            EXPECT_EQ(bankbackup::summarize(made.first().path).questions, 0);   // the bank before the merge
        }

        click(w->epFocusButton1);
        EXPECT_EQ(env.last().text, QStringLiteral("您已升级过了！"));
        EXPECT_EQ(env.last().dlgPage, 1);
        EXPECT_EQ(bankbackup::findBackups(copies).size(), 1);
        EXPECT_EQ(env.b.value(QStringLiteral("select count(*) from tab_answ")).toInt(), 1);

        // The title bar's close takes the 关闭 road: the file is let go.
        QCloseEvent close;
        QCoreApplication::sendEvent(w, &close);
        EXPECT_FALSE(w->ADOCn2().isOpen());
        EXPECT_FALSE(w->isVisible());
        return w->result();
    });
    start.ShockwaveFlash1FSCommand(QStringLiteral("sj"), QString());
    EXPECT_TRUE(drove);
    EXPECT_EQ(env.prompts.prompts.size(), 2);
}

TEST(UpgradeWindow, EmptyPathCancelledPickAndEscapeKeepTheWindow)
{
    UpgradeEnv env;
    Tfrmstxz w;
    w.show();
    w.Edit1->setText(QStringLiteral("   "));
    click(w.epFocusButton1);
    ASSERT_EQ(env.prompts.prompts.size(), 1);
    EXPECT_EQ(env.last().caption, QStringLiteral("提示"));
    EXPECT_EQ(env.last().text, QStringLiteral("请点击文件夹按钮选择升级文件！"));
    EXPECT_EQ(env.last().dlgPage, 1);
    EXPECT_FALSE(w.ADOCn2().isOpen());

    // A cancelled dialog leaves the path box as it was.
    w.Edit1->setText(QStringLiteral("/keep/this.db"));
    env.answer.clear();
    click(w.SpeedButton1);
    EXPECT_EQ(env.asked.size(), 1);
    EXPECT_EQ(w.Edit1->text(), QStringLiteral("/keep/this.db"));

    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_TRUE(w.isVisible());
    click(w.epFocusButton3);
    EXPECT_FALSE(w.isVisible());
}

TEST(UpgradeWindow, AFileWithoutStampsShowsTheEngineTextAndCloseDisconnects)
{
    UpgradeEnv env;
    Tfrmstxz w;
    w.show();
    w.Edit1->setText(env.makeUpgrade(QStringLiteral("nostamps.db"), false));
    click(w.epFocusButton1);
    ASSERT_EQ(env.prompts.prompts.size(), 1);
    EXPECT_EQ(env.last().kind, seams::Prompt::Kind::MessageBox);
    EXPECT_TRUE(env.last().text.contains(QStringLiteral("no such table: tab_sj"))) << env.last().text.toStdString();
    EXPECT_TRUE(w.ADOCn2().isOpen());
    click(w.epFocusButton3);
    EXPECT_FALSE(w.ADOCn2().isOpen());
    EXPECT_EQ(env.b.value(QStringLiteral("select count(*) from tab_answ")).toInt(), 0);
}

// The real dialog reads its patterns from the names of the filter.
TEST(UpgradeWindow, FilterPairsBecomeTheDialogsFilter)
{
    const struct {
        const char *pairs, *dialog;
    } rows[] = {
        {"升级文件(*.db)|*.db|所有文件(*.*)|*.*", "升级文件(*.db);;所有文件(*.*)"},
        {"Text|*.txt;*.md", "Text (*.txt *.md)"},
        {"Odd|*.a|Dangling", "Odd (*.a)"},
    };
    for (const auto &r : rows)
        EXPECT_EQ(dialogFilter(QString::fromUtf8(r.pairs)), QString::fromUtf8(r.dialog)) << r.pairs;
}
