// TFrmProgress: a small borderless waiting window.
#include "widgets/Uprogress.h"
#include "widgets/ThemeGui.h"

#include "platform/Seams.h"
#include "store/LongWork.h"

#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>

namespace {
TFrmProgress *g_progress = nullptr;
}

TFrmProgress::TFrmProgress(QWidget *parent) : QDialog(parent, Qt::FramelessWindowHint | Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("FrmProgress"));
    setWindowTitle(QStringLiteral("进度条"));
    setFixedSize(358, 63);
    setCursor(Qt::WaitCursor);
    Label1 = new QLabel(QStringLiteral("请等待..."), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(16, 24, 330, 20);
    theme::setRole(Label1, "notice");
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(16, 48, 326, 8);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
}

void TFrmProgress::showStage(const QString &text)
{
    if (QScreen *s = QApplication::primaryScreen())
        move(s->geometry().center() - QPoint(width() / 2, height() / 2));
    show();
    Label1->setText(text);
    ProgressBar1->hide();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFrmProgress::showProgress(const QString &text, int percent)
{
    if (!isVisible()) {
        if (QScreen *s = QApplication::primaryScreen())
            move(s->geometry().center() - QPoint(width() / 2, height() / 2));
        show();
    }
    Label1->setText(text);
    ProgressBar1->setValue(qBound(0, percent, 100));
    ProgressBar1->show();
    repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFrmProgress::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QPixmap bg(seams::appDir() + QStringLiteral("pic/progressbg.bmp"));
    if (!bg.isNull())
        p.drawPixmap(rect(), bg);
    else
        p.fillRect(rect(), QColor(0xf4, 0xf8, 0xfb));
    p.setPen(QColor(0x1d, 0x5f, 0x8a));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

TFrmProgress *FrmProgress()
{
    if (!g_progress)
        g_progress = new TFrmProgress;
    return g_progress;
}

void installWorkWindow()
{
    store::setWorkHook([](const QString &stage, int percent) {
        if (percent < 0) {
            if (g_progress) {
                g_progress->ProgressBar1->hide();
                g_progress->hide();
            }
            return;
        }
        FrmProgress()->showProgress(stage, percent);
    });
}

void destroyFrmProgress()
{
    delete g_progress;
    g_progress = nullptr;
}
