// The answer sheet's cells and the pause cover's scrolling text.
#include "exam/UexamSheet.h"

#include "exam/ExamClock.h"

#include <QPainter>
#include <QTimer>

// --- answer sheet cell -----------------------------------------------------

ExamSheetCell::ExamSheetCell(int number, QWidget *parent) : QToolButton(parent), m_number(number)
{
    setObjectName(QStringLiteral("fcBG_th%1").arg(number));
    setText(QString::number(number));
    setCheckable(true);
    setFocusPolicy(Qt::NoFocus);
    setCursor(Qt::PointingHandCursor);
}

void ExamSheetCell::setPictures(const QPixmap &released, const QPixmap &pressed)
{
    m_released = released;
    m_pressed = pressed;
    update();
}

void ExamSheetCell::setReleasedPicture(const QPixmap &released)
{
    m_released = released;
    update();
}

QSize ExamSheetCell::sizeHint() const { return m_size; }

void ExamSheetCell::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const bool down = isChecked() || isDown();
    const QPixmap &pic = down ? m_pressed : m_released;
    if (!pic.isNull())
        p.drawPixmap(rect(), pic);
    p.setFont(numberFont());
    p.setPen(isEnabled() ? QColor(0x12, 0x2a, 0x4a) : QColor(128, 128, 128));
    p.drawText(numberRect(), Qt::AlignCenter, text());
}

QRect ExamSheetCell::markRect() const
{
    // In the 36 x 28 pictures the mark fills x 26..34, y 18..26.
    const int left = width() * 26 / 36, top = height() * 17 / 28;
    return QRect(left, top, width() - left, height() - top);
}

QRect ExamSheetCell::numberRect() const { return QRect(1, height() / 7, markRect().left() - 1, height() - height() / 7 - 1); }

QFont ExamSheetCell::numberFont() const
{
    QFont f = font();
    f.setBold(true);
    // Three digits in a small cell take a smaller size than one or two.
    const int room = numberRect().width();
    for (int size = qMax(9, height() / 2 - 1); size >= 7; --size) {
        f.setPixelSize(size);
        if (QFontMetrics(f).horizontalAdvance(text()) <= room)
            break;
    }
    return f;
}

// --- pause cover -------------------------------------------------------------

PauseScrollText::PauseScrollText(QWidget *parent) : QWidget(parent), m_lines(exam::pauseCoverLines())
{
    setObjectName(QStringLiteral("ScrollText1"));
    m_timer = new QTimer(this);
    m_timer->setInterval(40);
    connect(m_timer, &QTimer::timeout, this, [this] {
        ++m_offset;
        update();
    });
}

void PauseScrollText::startScrolling()
{
    // The first lines are in view at once, a third of the way down.
    m_offset = height() * 2 / 3;
    m_timer->start();
}

void PauseScrollText::stopScrolling() { m_timer->stop(); }
bool PauseScrollText::isScrolling() const { return m_timer->isActive(); }

void PauseScrollText::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(0x1d, 0x3c, 0x66));
    g.setColorAt(1, QColor(0x0e, 0x22, 0x40));
    p.fillRect(rect(), g);
    QFont f = font();
    f.setPixelSize(20);
    f.setBold(true);
    p.setFont(f);
    const int lineHeight = 34;
    const int block = lineHeight * int(m_lines.size());
    // The lines enter from the bottom edge and leave at the top, then come
    // round again.
    const int cycle = block + height();
    const int top = height() - (m_offset % qMax(1, cycle));
    for (int i = 0; i < m_lines.size(); ++i) {
        const QRect r(0, top + i * lineHeight, width(), lineHeight);
        p.setPen(i == 2 ? QColor(0xff, 0xd8, 0x6b) : QColor(0xe8, 0xf0, 0xff));
        p.drawText(r, Qt::AlignCenter, m_lines.at(i));
    }
}
