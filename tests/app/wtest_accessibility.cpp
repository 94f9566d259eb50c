// What a screen reader hears: every window of the program is opened the way
// the menu opens it (and its own child windows the way their buttons open
// them), on the demo bank with prompts recorded, and each visible control is
// looked up through Qt's accessibility layer.  A control a user can work or
// read must carry a name that says what it is; a bare value ("1200",
// "0:00:17") is no name.  The census per window is printed.
#include "DemoBank.h"
#include "app/start.h"
#include "common/ShellState.h"
#include "exam/UexamProgress.h"
#include "practice/AnswerAreaWidget.h"
#include "practice/Ulxxt.h"
#include "exam/Uexam.h"
#include "exam/UexamStart.h"
#include "platform/MenuPlayerWidget.h"
#include "store/dm.h"
#include "support/DemoProgram.h"
#include "support/TestBank.h"
#include "widgets/ModalGui.h"
#include "widgets/Udlg.h"
#include "widgets/Uprogress.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAbstractItemView>
#include <QApplication>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <functional>
#include <gtest/gtest.h>
#include <algorithm>
#include <map>

namespace {

// A name that says something: at least one letter (a Chinese character is
// one); digits, separators and colons alone are a value, not a name.
bool meaningful(const QString &s)
{
    for (QChar c : s)
        if (c.isLetter())
            return true;
    return false;
}

// Controls whose name matters, by the role Qt's bridge reports.
bool checkedRole(QAccessible::Role r)
{
    switch (r) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::Table:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::ProgressBar:
    case QAccessible::StaticText:
        return true;
    default:
        return false;
    }
}

// The pieces a composite control draws itself with (a spin box's edit, a
// combo box's list, a table's headers) speak through their owner.
bool partOfAnother(const QWidget *w)
{
    for (const QObject *p = w->parent(); p && p->isWidgetType(); p = p->parent()) {
        const auto *pw = static_cast<const QWidget *>(p);
        if (pw->isWindow())
            break;
        if (pw->inherits("QAbstractSpinBox") || pw->inherits("QComboBox") || pw->inherits("QAbstractItemView")
            || pw->inherits("QCalendarWidget"))
            return true;
    }
    return w->objectName().startsWith(QLatin1String("qt_"));
}

struct Census {
    int named = 0;
    QStringList nameless;
    QStringList untabbable;   // buttons and boxes the Tab key never reaches
    QStringList offChain;     // worked controls a walk of Tab presses passes by
    QStringList outOfOrder;   // buttons Tab reaches against the reading order
};

// The question boards (a hundred numbers) are worked by 上一题/下一题
// and stay off the Tab chain on purpose.
bool onQuestionBoard(const QWidget *w)
{
    for (const QWidget *p = w; p; p = p->parentWidget())
        if (p->objectName() == QLatin1String("fcBG_th"))
            return true;
    return false;
}

// The controls Tab walks through, from where the focus stands round to the
// first one again.  A control that keeps Tab for itself ends the walk.
QList<QWidget *> tabWalk(QWidget *window, QStringList &traps)
{
    window->activateWindow();
    QApplication::setActiveWindow(window);
    QList<QWidget *> seen;
    for (int i = 0; i < 300; ++i) {
        QWidget *f = QApplication::focusWidget();
        if (f && f->window() != window)
            f = nullptr;
        QTest::keyClick(f ? f : window, Qt::Key_Tab);
        QWidget *now = QApplication::focusWidget();
        if (!now || now->window() != window || seen.contains(now))
            break;
        if (now == f) {
            // A window with one stop comes round to it at once; any other
            // control that keeps the focus took Tab for itself.
            if (qobject_cast<QAbstractButton *>(now) && seen.isEmpty())
                seen << now;
            else
                traps << QStringLiteral("%1 keeps Tab").arg(now->objectName());
            break;
        }
        seen << now;
    }
    // The walk goes round from wherever the focus stood: it is told from
    // the stop nearest the window's top left corner.
    int first = 0;
    auto reading = [](QWidget *w) {
        const QPoint p = w->mapTo(w->window(), QPoint(0, 0));
        return std::make_pair(p.y(), p.x());
    };
    for (int i = 1; i < seen.size(); ++i)
        if (reading(seen[i]) < reading(seen[first]))
            first = i;
    std::rotate(seen.begin(), seen.begin() + first, seen.end());
    return seen;
}

// Reading order: a button that Tab reaches later lies neither wholly above
// an earlier one of its column nor wholly left of an earlier one of its row.
QStringList againstReadingOrder(const QList<QWidget *> &chain)
{
    QStringList out;
    QList<std::pair<QWidget *, QRect>> buttons;
    for (QWidget *w : chain)
        if (qobject_cast<QAbstractButton *>(w))
            buttons.push_back({w, QRect(w->mapToGlobal(QPoint(0, 0)), w->size())});
    for (int i = 0; i < buttons.size(); ++i)
        for (int j = i + 1; j < buttons.size(); ++j) {
            const QRect a = buttons[i].second, b = buttons[j].second;
            const bool sameColumn = a.left() < b.right() && b.left() < a.right();
            const bool sameRow = a.top() < b.bottom() && b.top() < a.bottom();
            if ((sameColumn && b.bottom() < a.top()) || (sameRow && b.right() < a.left()))
                out << QStringLiteral("%1 after %2").arg(buttons[j].first->objectName(), buttons[i].first->objectName());
        }
    return out;
}

Census takeCensus(QWidget *window)
{
    Census c;
    const QList<QWidget *> chain = tabWalk(window, c.offChain);
    c.outOfOrder = againstReadingOrder(chain);
    // A stop where nothing shows loses the user: the focus seems gone.
    for (QWidget *w : chain) {
        QRect shown(w->mapTo(window, QPoint(0, 0)), w->size());
        for (QWidget *p = w->parentWidget(); p && p != window; p = p->parentWidget())
            shown &= QRect(p->mapTo(window, QPoint(0, 0)), p->size());
        if (!shown.intersects(window->rect()))
            c.offChain << QStringLiteral("%1 takes the focus unseen").arg(w->objectName());
    }
    const QList<QWidget *> all = window->findChildren<QWidget *>();
    for (QWidget *w : all) {
        if (!w->isVisible() || w->window() != window || partOfAnother(w))
            continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        if (!iface || !checkedRole(iface->role()))
            continue;
        // A grid's columns are read by their headers, with rows or without.
        if (QAccessibleTableInterface *t = iface->tableInterface(); t && iface->role() == QAccessible::Table)
            for (int col = 0; col < t->columnCount(); ++col)
                if (!meaningful(t->columnDescription(col)))
                    c.nameless << QStringLiteral("%1 column %2 \"%3\"").arg(w->objectName()).arg(col).arg(t->columnDescription(col));
        const QAccessible::Role r = iface->role();
        // Of a group of radio buttons Tab reaches the checked one; the
        // arrows move within the group.
        if (auto *radio = qobject_cast<QRadioButton *>(w); radio && !radio->isChecked())
            continue;
        const bool worked = r == QAccessible::PushButton || r == QAccessible::CheckBox || r == QAccessible::RadioButton
                            || r == QAccessible::ComboBox || r == QAccessible::SpinBox
                            || (r == QAccessible::EditableText && !iface->state().readOnly);
        // (Qt moves a radio group's Tab stop to its checked button as the
        // focus enters the group: the walk decides for radio buttons.)
        if (worked && w->isEnabled() && !(w->focusPolicy() & Qt::TabFocus) && !onQuestionBoard(w) && !qobject_cast<QRadioButton *>(w))
            c.untabbable << QStringLiteral("%1 %2").arg(QString::fromLatin1(w->metaObject()->className()), w->objectName());
        else if (worked && w->isEnabled() && !onQuestionBoard(w) && !chain.contains(w)
                 && !(qobject_cast<QRadioButton *>(w) && std::any_of(chain.begin(), chain.end(), [w](QWidget *c) {
                          return qobject_cast<QRadioButton *>(c) && c->parentWidget() == w->parentWidget();
                      })))
            c.offChain << QStringLiteral("%1 %2").arg(QString::fromLatin1(w->metaObject()->className()), w->objectName());
        if (meaningful(iface->text(QAccessible::Name)))
            ++c.named;
        else
            c.nameless << QStringLiteral("%1 %2 \"%3\"")
                              .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(), iface->text(QAccessible::Name));
    }
    return c;
}

// The child windows each window opens, by the buttons that open them.
const std::map<QString, QStringList> &childOpeners()
{
    static const std::map<QString, QStringList> m = {
        {QStringLiteral("TFrmkmmc"), {QStringLiteral("SpeedButton1"), QStringLiteral("SpeedButton5")}},
        // An answered question opens its explanation: answer, leave, come back.
        {QStringLiteral("TFrmLxxt"),
         {QStringLiteral("fcBG_oneA"), QStringLiteral("epEfTrBtn2"), QStringLiteral("epEfTrBtn1"), QStringLiteral("epEfTrBtn4"),
          QStringLiteral("epEfTrBtn5"), QStringLiteral("epEfTrBtn9"), QStringLiteral("epEfTrBtn11")}},
        {QStringLiteral("TFrmRuleLxxt"),
         {QStringLiteral("fcBG_oneA"), QStringLiteral("epEfTrBtn2"), QStringLiteral("epEfTrBtn1"), QStringLiteral("epEfTrBtn4"),
          QStringLiteral("epEfTrBtn5"), QStringLiteral("epEfTrBtn9")}},
        {QStringLiteral("TfrmLawsFaGui"), {QStringLiteral("m_btnSelect"), QStringLiteral("m_btnQuestion")}},
        {QStringLiteral("TFrmCheck"), {QStringLiteral("epEfTrBtn1")}},
        {QStringLiteral("TFrmExam"), {QStringLiteral("epEfTrBtn5"), QStringLiteral("epEfTrBtn9")}},
        {QStringLiteral("TFrmInPut"), {QStringLiteral("BtnAddFg")}},
        {QStringLiteral("TfrmTedit"), {QStringLiteral("BtnAddFg")}},
    };
    return m;
}

// Stands each list of the window on an entry, and the chapter grid on a
// section (a six-digit code), so that the buttons have something to open.
void pickFirstEntries(QWidget *window)
{
    for (QAbstractItemView *v : window->findChildren<QAbstractItemView *>()) {
        QAbstractItemModel *m = v->model();
        if (!v->isVisible() || !m || m->rowCount() == 0)
            continue;
        // The key-point groups begin with a heading: the last row is a group.
        int pick = -1;
        for (int r = 0; r < m->rowCount() && pick < 0; ++r)
            for (int c = 0; c < m->columnCount(); ++c)
                if (QRegularExpression(QStringLiteral("^\\d{6}$")).match(m->index(r, c).data().toString()).hasMatch())
                    pick = r;
        if (pick < 0)
            pick = m->rowCount() - 1;
        v->setCurrentIndex(m->index(pick, 0));
    }
}

// The menu movie's entries are items of a Qt Quick scene, not widgets: they
// are reached through the accessibility tree itself.
void censusOfTree(QAccessibleInterface *iface, Census &c, int depth = 0)
{
    if (!iface || depth > 40 || iface->state().invisible)
        return;
    if (iface->role() == QAccessible::Button) {
        if (meaningful(iface->text(QAccessible::Name)))
            ++c.named;
        else
            c.nameless << QStringLiteral("menu entry \"%1\"").arg(iface->text(QAccessible::Name));
    }
    for (int i = 0; i < iface->childCount(); ++i)
        censusOfTree(iface->child(i), c, depth + 1);
}

struct Walk {
    std::map<QString, Census> byWindow;
    QStringList order;
    int depth = 0;

    void record(QWidget *w)
    {
        const QString key = QString::fromLatin1(w->metaObject()->className()) + QLatin1Char(' ') + w->windowTitle();
        Census c = takeCensus(w);
        if (!byWindow.count(key))
            order << key;
        Census &seen = byWindow[key];
        // A window seen twice (the explanation from practice and from the
        // exam) keeps the larger census, and every nameless control of both.
        seen.named = std::max(seen.named, c.named);
        for (const QString &n : c.nameless)
            if (!seen.nameless.contains(n))
                seen.nameless << n;
        for (const QString &n : c.untabbable)
            if (!seen.untabbable.contains(n))
                seen.untabbable << n;
        for (const QString &n : c.offChain)
            if (!seen.offChain.contains(n))
                seen.offChain << n;
        for (const QString &n : c.outOfOrder)
            if (!seen.outOfOrder.contains(n))
                seen.outOfOrder << n;
    }
    // The answer pages of all question types, the views of the directory:
    // every page of a stack is looked at, and the shown one put back.
    void recordEveryPage(QWidget *w)
    {
        for (QStackedWidget *st : w->findChildren<QStackedWidget *>()) {
            if (!st->isVisible())
                continue;
            const int shown = st->currentIndex();
            for (int i = 0; i < st->count(); ++i) {
                st->setCurrentIndex(i);
                QApplication::processEvents();
                record(w);
            }
            st->setCurrentIndex(shown);
        }
    }
    int visit(QDialog *d)
    {
        d->show();
        QApplication::processEvents();
        record(d);
        recordEveryPage(d);
        if (depth < 3) {
            ++depth;
            auto it = childOpeners().find(QString::fromLatin1(d->metaObject()->className()));
            if (it != childOpeners().end())
                for (const QString &name : it->second) {
                    // Buttons may live in the window or in a widget it embeds.
                    pickFirstEntries(d);
                    auto *b = d->findChild<QAbstractButton *>(name);
                    if (b && b->isEnabled())
                        b->click();
                    QApplication::processEvents();
                    record(d);   // a page the click turned to
                }
            --depth;
        }
        d->hide();
        return 0;
    }
};

} // namespace

TEST(Accessibility, EveryControlOfEveryWindowHasAName)
{
    DemoProgram program;
    Walk walk;
    ui::setModalHook([&walk](QDialog *d) { return walk.visit(d); });
    {
        TFrmStart start;
        start.show();
        start.FormShow();
        QApplication::processEvents();
        Census menu;
        censusOfTree(QAccessible::queryAccessibleInterface(start.ShockwaveFlash1), menu);
        walk.order << QStringLiteral("TFrmStart menu");
        walk.byWindow[QStringLiteral("TFrmStart menu")] = menu;
        // The menu offers every entry to a reader.
        EXPECT_GE(menu.named, 10);
        for (const QString &command : menuCommandStrings()) {
            if (command == QLatin1String("quit"))
                continue;
            shell().CurSubject = 1;
            start.ShockwaveFlash1FSCommand(command, QString());
        }
    }
    // The shared message dialog and waiting window.
    {
        TFrmDlg dlg;
        dlg.prepare(QStringLiteral("提示"), QStringLiteral("恭喜你，习题已做完！"), 0, 0, QStringLiteral("No"));
        dlg.show();
        walk.record(&dlg);
        TFrmProgress progress;
        progress.show();
        walk.record(&progress);
    }
    ui::setModalHook({});

    int nameless = 0, untabbable = 0, offChain = 0, outOfOrder = 0;
    for (const QString &key : walk.order) {
        const Census &c = walk.byWindow[key];
        std::printf("[census] %-40s named %3d  nameless %3lld\n", qPrintable(key), c.named, (long long)c.nameless.size());
        for (const QString &n : c.nameless)
            std::printf("[census]     nameless: %s\n", qPrintable(n));
        for (const QString &n : c.untabbable)
            std::printf("[census]     no Tab stop: %s\n", qPrintable(n));
        for (const QString &n : c.offChain)
            std::printf("[census]     Tab passes by: %s\n", qPrintable(n));
        for (const QString &n : c.outOfOrder)
            std::printf("[census]     Tab order against reading order: %s\n", qPrintable(n));
        nameless += int(c.nameless.size());
        untabbable += int(c.untabbable.size());
        offChain += int(c.offChain.size());
        outOfOrder += int(c.outOfOrder.size());
    }
    std::fflush(stdout);
    EXPECT_EQ(nameless, 0);
    EXPECT_EQ(untabbable, 0);
    EXPECT_EQ(offChain, 0);
    EXPECT_EQ(outOfOrder, 0);
    // The walk reached the windows behind the menu and behind their buttons,
    // the settings window ("music", "sztime", every "设置" button) included.
    for (const char *cls : {"TFrmkmmc ", "TFrmLxxt ", "TFrmExam ", "TFrmCheck ", "TfrmLawsFaGui ", "TFrmRuleLxxt ", "TfrmTedit ", "TFrmJx ", "TfrmAnswFagui ",
                            "TFrmBj ", "TFrmInPut ", "TFrmSelectFG ", "TFrmEset ", "TFrmplan ", "TFrmRz ", "Tfrmchart ",
                            "Tfrmstxz ", "TFrmAbout ", "TFrmConfig "}) {
        bool found = false;
        for (const QString &key : walk.order)
            found = found || key.startsWith(QLatin1String(cls));
        EXPECT_TRUE(found) << cls;
    }
}
