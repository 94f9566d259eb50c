// The small dialog windows' placing and face.
#include "widgets/UsmallWindow.h"

#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

namespace smallwindow {

void centreOnScreen(QWidget *window)
{
    if (QScreen *s = QApplication::primaryScreen())
        window->move(s->geometry().center() - QPoint(window->width() / 2, window->height() / 2));
}

void paintFace(QWidget *window)
{
    QPainter p(window);
    QLinearGradient g(0, 0, 0, window->height());
    g.setColorAt(0, QColor(0xf4, 0xf8, 0xfd));
    g.setColorAt(1, QColor(0xdc, 0xe7, 0xf5));
    p.fillRect(window->rect(), g);
    p.fillRect(QRect(0, 0, window->width(), 25), QColor(0x2a, 0x5c, 0xa8));
    p.setPen(QColor(0x1d, 0x5f, 0x8a));
    p.drawRect(window->rect().adjusted(0, 0, -1, -1));
}

} // namespace smallwindow
