// The practice window's turning dial.
#include "practice/PracticeAnimationWidget.h"

#include <QPainter>

PracticeAnimation::PracticeAnimation(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Animate1"));
    setFixedSize(44, 44);
    m_timer.setInterval(120);
    QObject::connect(&m_timer, &QTimer::timeout, this, [this] {
        m_angle = (m_angle + 15) % 360;
        update();
    });
}

void PracticeAnimation::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(3, 3, -3, -3);
    QRadialGradient g(r.center(), r.width() / 2);
    g.setColorAt(0, QColor(0xff, 0xff, 0xff));
    g.setColorAt(1, QColor(0xb9, 0xd3, 0xf3));
    p.setBrush(g);
    p.setPen(QPen(QColor(0x2a, 0x5c, 0xa8), 2));
    p.drawEllipse(r);
    p.translate(r.center());
    for (int i = 0; i < 12; ++i) {
        p.save();
        p.rotate(i * 30);
        p.setPen(QPen(QColor(0x2a, 0x5c, 0xa8), i % 3 ? 1 : 2));
        p.drawLine(QPointF(0, -r.height() / 2 + 3), QPointF(0, -r.height() / 2 + 7));
        p.restore();
    }
    p.rotate(m_angle);
    p.setPen(QPen(QColor(0xd0, 0x3a, 0x2f), 2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(0, 0), QPointF(0, -r.height() / 2 + 8));
    p.setBrush(QColor(0xd0, 0x3a, 0x2f));
    p.drawEllipse(QPointF(0, 0), 2.5, 2.5);
}
