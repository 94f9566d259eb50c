// Painted backgrounds and title strips of the borderless practice windows.
#include "widgets/Ubackdrop.h"

#include <QApplication>
#include <QEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

namespace backdrop {

void paint(QWidget *window, QPainter &p, const QString &title)
{
    const QRect r = window->rect();
    QLinearGradient bg(r.topLeft(), r.bottomRight());
    bg.setColorAt(0.0, QColor(0xf4, 0xf8, 0xfe));
    bg.setColorAt(0.55, QColor(0xe3, 0xee, 0xfb));
    bg.setColorAt(1.0, QColor(0xcf, 0xe0, 0xf5));
    p.fillRect(r, bg);

    const QRect strip(0, 0, r.width(), StripHeight);
    QLinearGradient sg(strip.topLeft(), strip.bottomLeft());
    sg.setColorAt(0.0, QColor(0x3b, 0x74, 0xc4));
    sg.setColorAt(1.0, QColor(0x1f, 0x4d, 0x8f));
    p.fillRect(strip, sg);
    // A light sheen along the strip's lower edge.
    p.setPen(QColor(0x8d, 0xb4, 0xe8));
    p.drawLine(strip.bottomLeft(), strip.bottomRight());

    QFont f = window->font();
    f.setPointSize(12);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(strip.adjusted(14, 0, -14, 0), Qt::AlignVCenter | Qt::AlignLeft, title);

    p.setPen(QPen(QColor(0x1f, 0x4d, 0x8f), 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(r.adjusted(1, 1, -1, -1));
}

void paint(QWidget *window, QPainter &p, const QString &title, const QPixmap &picture, int stripHeight)
{
    if (picture.isNull()) {
        paint(window, p, title);
        return;
    }
    p.drawPixmap(window->rect(), picture);
    QFont f = window->font();
    f.setPointSize(13);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, window->width(), stripHeight).adjusted(16, 0, -16, 0), Qt::AlignVCenter | Qt::AlignLeft, title);
}

StripDragger::StripDragger(QWidget *window) : QObject(window), m_window(window) { window->installEventFilter(this); }

bool StripDragger::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto *e = static_cast<QMouseEvent *>(event);
        if (e->button() == Qt::LeftButton && e->position().y() < StripHeight) {
            m_dragging = true;
            m_grab = e->globalPosition().toPoint() - m_window->frameGeometry().topLeft();
            return true;
        }
        break;
    }
    case QEvent::MouseMove:
        if (m_dragging) {
            m_window->move(static_cast<QMouseEvent *>(event)->globalPosition().toPoint() - m_grab);
            return true;
        }
        break;
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        break;
    default:
        break;
    }
    return false;
}

QFont windowFont(bool compact)
{
    QFont f = QApplication::font();
    f.setPointSize(compact ? 9 : 10);
    return f;
}

QFont questionFont(bool compact)
{
    QFont f = QApplication::font();
    f.setPointSize(compact ? 11 : 12);
    return f;
}

} // namespace backdrop
