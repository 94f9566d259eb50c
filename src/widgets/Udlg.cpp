// TFrmDlg: the program's message dialog.
#include "widgets/Udlg.h"
#include "widgets/ThemeGui.h"

#include "platform/Seams.h"
#include "widgets/FileDialogGui.h"
#include "widgets/ModalGui.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QStyle>
#include <cstdio>

namespace {

TFrmDlg *g_dlg = nullptr;

QPixmap picture(const QString &name)
{
    return QPixmap(seams::appDir() + QStringLiteral("pic/") + name);
}

QLabel *iconPage(const QString &caption, const QString &file, QStyle::StandardPixmap fallback)
{
    auto *l = new QLabel;
    l->setAccessibleName(caption);
    QPixmap pm = picture(file);
    if (pm.isNull())
        pm = QApplication::style()->standardIcon(fallback).pixmap(32, 32);
    l->setPixmap(pm.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    return l;
}

QPushButton *button(QWidget *parent, const char *name, int x, int result, QDialog *dlg)
{
    auto *b = new QPushButton(parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(x, 80, 73, 25);
    QObject::connect(b, &QPushButton::clicked, dlg, [dlg, result] { dlg->done(result); });
    return b;
}

} // namespace

TFrmDlg::TFrmDlg(QWidget *parent) : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog)
{
    setObjectName(QStringLiteral("FrmDlg"));
    setWindowTitle(QStringLiteral("提示框"));
    setFixedSize(399, 110);
    m_createdWidth = 399;
    setModal(true);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 0, 380, 25);
    theme::setRole(Label1, "title");
    QFont italic = Label1->font();
    italic.setItalic(true);
    Label1->setFont(italic);

    epNoteBook1 = new QStackedWidget(this);
    epNoteBook1->setObjectName(QStringLiteral("epNoteBook1"));
    epNoteBook1->setGeometry(8, 32, 32, 32);
    epNoteBook1->addWidget(iconPage(QStringLiteral("提示"), QStringLiteral("dlg_info.png"), QStyle::SP_MessageBoxInformation));
    epNoteBook1->addWidget(iconPage(QStringLiteral("警告"), QStringLiteral("dlg_warn.png"), QStyle::SP_MessageBoxWarning));
    epNoteBook1->addWidget(iconPage(QStringLiteral("错误"), QStringLiteral("dlg_error.png"), QStyle::SP_MessageBoxCritical));

    fcLabel1 = new QLabel(this);
    fcLabel1->setObjectName(QStringLiteral("fcLabel1"));
    fcLabel1->setGeometry(56, 36, 335, 36);
    fcLabel1->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fcLabel1->setWordWrap(true);

    fcShapeBtn1 = button(this, "fcShapeBtn1", 64, 1, this);
    fcShapeBtn3 = button(this, "fcShapeBtn3", 160, 3, this);
    fcShapeBtn2 = button(this, "fcShapeBtn2", 256, 2, this);
}

void TFrmDlg::prepare(const QString &caption, const QString &message, int kind, int page, const QString &wording)
{
    setFixedWidth(m_createdWidth);
    setWindowTitle(caption);
    Label1->setText(caption);
    fcLabel1->setText(message);
    switch (kind) {
    case 0:
        fcShapeBtn1->show(); fcShapeBtn3->hide(); fcShapeBtn2->show();
        break;
    case 1:
        fcShapeBtn1->hide(); fcShapeBtn3->show(); fcShapeBtn2->hide();
        break;
    case 2:
        fcShapeBtn1->show(); fcShapeBtn3->show(); fcShapeBtn2->show();
        break;
    case 3:
        fcShapeBtn1->show(); fcShapeBtn3->hide(); fcShapeBtn2->hide();
        setFixedWidth(200);
        break;
    default:
        break;   // the buttons stay as the previous call left them
    }
    if (page >= 0 && page < epNoteBook1->count())
        epNoteBook1->setCurrentIndex(page);
    if (wording == QLatin1String("Exam")) {
        fcShapeBtn1->setText(QStringLiteral("确定"));
        fcShapeBtn2->setText(QStringLiteral("作废"));
        fcShapeBtn3->setText(QStringLiteral("取消"));
    } else {
        fcShapeBtn1->setText(QStringLiteral("确定"));
        fcShapeBtn2->setText(QStringLiteral("取消"));
        fcShapeBtn3->setText(QStringLiteral("确定"));
    }
    // The message stays readable in the narrow dialog.
    fcLabel1->setFixedWidth(width() - 64);
    for (QPushButton *b : {fcShapeBtn1, fcShapeBtn3, fcShapeBtn2})
        if (b->isVisibleTo(this)) {
            b->setDefault(true);
            b->setFocus();
            break;
        }
    if (QScreen *s = QApplication::primaryScreen())
        move(s->geometry().center() - QPoint(width() / 2, height() / 2));
}

void TFrmDlg::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QPixmap bg = picture(QStringLiteral("dlgbg.bmp"));
    if (!bg.isNull()) {
        p.drawPixmap(rect(), bg);
    } else {
        p.fillRect(rect(), QColor(0xf4, 0xf8, 0xfb));
        p.fillRect(QRect(0, 0, width(), 25), QColor(0x2f, 0x7f, 0xb3));
    }
    p.setPen(QColor(0x1d, 0x5f, 0x8a));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void TFrmDlg::keyPressEvent(QKeyEvent *event)
{
    // No close box: Escape presses the visible button that reads "取消",
    // or the only button there is.  It never presses "作废", which would
    // throw a paper away.
    if (event->key() == Qt::Key_Escape) {
        QList<QPushButton *> visible;
        for (QPushButton *b : {fcShapeBtn1, fcShapeBtn3, fcShapeBtn2})
            if (b->isVisibleTo(this))
                visible << b;
        for (QPushButton *b : visible)
            if (b->text() == QStringLiteral("取消")) {
                b->click();
                return;
            }
        if (visible.size() == 1)
            visible.first()->click();
        return;
    }
    QDialog::keyPressEvent(event);
}

TFrmDlg *FrmDlg()
{
    if (!g_dlg)
        createFrmDlg();
    return g_dlg;
}

void createFrmDlg()
{
    if (!g_dlg)
        g_dlg = new TFrmDlg;
}

void destroyFrmDlg()
{
    delete g_dlg;
    g_dlg = nullptr;
}

int ShowDlg(const QString &caption, const QString &message, int kind, int page, const QString &wording)
{
    return seams::showDlg(caption, message, kind, page, wording);
}

namespace {

// The prompt's button flags and the message box's standard buttons.
const std::pair<int, QMessageBox::StandardButton> ButtonMap[] = {
    {seams::Prompt::Ok, QMessageBox::Ok}, {seams::Prompt::Cancel, QMessageBox::Cancel},
    {seams::Prompt::Yes, QMessageBox::Yes}, {seams::Prompt::No, QMessageBox::No}};

} // namespace

void prepareMessageBox(QMessageBox &box, const seams::Prompt &p)
{
    box.setWindowTitle(p.caption);
    box.setText(p.text);
    switch (p.icon) {
    case seams::Prompt::Information: box.setIcon(QMessageBox::Information); break;
    case seams::Prompt::Warning: box.setIcon(QMessageBox::Warning); break;
    case seams::Prompt::Critical: box.setIcon(QMessageBox::Critical); break;
    case seams::Prompt::Question: box.setIcon(QMessageBox::Question); break;
    default: break;
    }
    QMessageBox::StandardButtons buttons;
    for (auto [flag, sb] : ButtonMap)
        if (p.buttons & flag)
            buttons |= sb;
    box.setStandardButtons(buttons ? buttons : QMessageBox::Ok);
    // The message dialog's own pictures (its notice picture for a question) in place
    // of the style's icons: both kinds of message look alike.  The box keeps
    // its kind (screen readers announce it), only its picture changes.
    const char *file = p.icon == seams::Prompt::Information || p.icon == seams::Prompt::Question ? "dlg_info.png"
                       : p.icon == seams::Prompt::Warning   ? "dlg_warn.png"
                       : p.icon == seams::Prompt::Critical  ? "dlg_error.png"
                                                            : nullptr;
    const QPixmap own = file ? picture(QLatin1String(file)) : QPixmap();
    if (auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgboxex_icon_label")); label && !own.isNull())
        label->setPixmap(own.scaled(32, 32, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    if (box.button(QMessageBox::Ok))
        box.button(QMessageBox::Ok)->setText(QStringLiteral("确定"));
    if (box.button(QMessageBox::Cancel))
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("取消"));
}

namespace {

int showForReal(const seams::Prompt &p)
{
    if (qEnvironmentVariableIsSet("PELLBROOK_TRACE_PROMPTS"))
        std::fprintf(stderr, "prompt: [%s] %s\n", p.caption.toUtf8().constData(), p.text.toUtf8().constData());
    if (p.kind == seams::Prompt::Kind::ShowDlg) {
        TFrmDlg *d = FrmDlg();
        d->prepare(p.caption, p.text, p.dlgKind, p.dlgPage, p.wording);
        return ui::runModal(d);
    }
    QMessageBox box;
    prepareMessageBox(box, p);
    const int r = ui::runModal(&box);
    for (auto [flag, sb] : ButtonMap)
        if (r == sb)
            return flag;
    return (p.buttons & seams::Prompt::Cancel) ? int(seams::Prompt::Cancel) : int(seams::Prompt::Ok);
}

} // namespace

void installRealPrompts()
{
    seams::setPromptHandler(showForReal);
    installRealFileDialog();
}
