// Board buttons painted from their pictures.
#include "widgets/PictureButtonWidget.h"

#include <QPainter>
#include <QPen>

PictureButton::PictureButton(const QString &text, QWidget *parent) : QAbstractButton(parent)
{
    setText(text);
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void PictureButton::setUpPicture(const QPixmap &p, int kind)
{
    m_up = p;
    m_upKind = kind;
    update();
}

void PictureButton::setDownPicture(const QPixmap &p, int kind)
{
    m_down = p;
    m_downKind = kind;
    update();
}

QSize PictureButton::sizeHint() const { return QSize(34, 28); }

void PictureButton::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
    const QPixmap &pic = isChecked() ? m_down : m_up;
    if (!pic.isNull()) {
        p.drawPixmap(rect(), pic);
    } else {
        p.fillRect(rect(), isChecked() ? QColor(0x9d, 0xbd, 0xe8) : QColor(0xf2, 0xf6, 0xfc));
        p.setPen(QColor(0x7a, 0x9c, 0xc6));
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    if (!isEnabled()) {
        p.fillRect(rect(), QColor(255, 255, 255, 150));
        p.setPen(QColor(128, 128, 128));
    } else {
        p.setPen(isChecked() ? QColor(0x10, 0x10, 0x10) : QColor(0x1d, 0x3c, 0x66));
    }
    QFont f = font();
    f.setBold(true);
    p.setFont(f);
    p.drawText(rect(), Qt::AlignCenter, text());
    if (hasFocus()) {
        // Reached by Tab: the focus must show over the picture, checked or
        // not.  The down picture's own dark frame is close to the focus
        // blue, so the frame is the amber the sheet keeps for focus on
        // coloured faces, with the blue just inside it.
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(0xf2, 0xb3, 0x3d), 2));
        p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
        p.setPen(QPen(QColor(0x1f, 0x6f, 0xd0), 1));
        p.drawRect(rect().adjusted(2, 2, -3, -3));
    }
}
