// The on/off switch of the settings window.
#include "widgets/OnOffSwitchWidget.h"

#include "platform/Seams.h"

#include <QPainter>

OnOffSwitch::OnOffSwitch(QWidget *parent) : QAbstractButton(parent)
{
    setCheckable(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    m_on.load(seams::appDir() + QStringLiteral("pic/switch_on.png"));
    m_off.load(seams::appDir() + QStringLiteral("pic/switch_off.png"));
    resize(sizeHint());
    // clicked() comes from the user only (mouse, keyboard, click()), never
    // from setChecked().
    connect(this, &QAbstractButton::clicked, this, [this](bool on) {
        if (on)
            Q_EMIT switchedOn();
        else
            Q_EMIT switchedOff();
    });
}

void OnOffSwitch::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (hasPictures()) {
        p.drawPixmap(rect(), isOn() ? m_on : m_off);
    } else {
        const QRectF track = QRectF(rect()).adjusted(1, 1, -1, -1);
        p.setPen(QColor(0x7f, 0xa6, 0xb8));
        p.setBrush(isOn() ? QColor(0x2f, 0x94, 0x5e) : QColor(0xc8, 0xd2, 0xd8));
        p.drawRoundedRect(track, track.height() / 2, track.height() / 2);
        const qreal d = track.height() - 4;
        const qreal x = isOn() ? track.right() - 2 - d : track.left() + 2;
        p.setBrush(Qt::white);
        p.drawEllipse(QRectF(x, track.top() + 2, d, d));
    }
    if (hasFocus()) {
        p.setPen(QPen(QColor(0x1d, 0x5f, 0x8a), 1, Qt::DotLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}
