// The coloured progress bars and the raised look of the score charts.
#include "records/UchartParts.h"

#include <QBrush>
#include <QChart>
#include <QLinearGradient>
#include <QPainter>

QBrush chartBrush(const QColor &colour, bool raised)
{
    if (!raised)
        return QBrush(colour);
    QLinearGradient g(0, 0, 1, 1);
    g.setCoordinateMode(QGradient::ObjectBoundingMode);
    g.setColorAt(0, colour.lighter(170));
    g.setColorAt(0.45, colour);
    g.setColorAt(1, colour.darker(160));
    return QBrush(g);
}

ProgressBars::ProgressBars(QChart *chart, double barWidth) : QGraphicsObject(chart), m_chart(chart), m_barWidth(barWidth)
{
    connect(chart, &QChart::plotAreaChanged, this, [this] {
        prepareGeometryChange();
        update();
    });
}

void ProgressBars::setBars(const QVector<qint64> &values, const QVector<QColor> &colours)
{
    prepareGeometryChange();
    m_values = values;
    m_colours = colours;
    update();
}

void ProgressBars::setRaised(bool raised)
{
    m_raised = raised;
    update();
}

QRectF ProgressBars::barRect(int i) const
{
    const QPointF top = m_chart->mapToPosition(QPointF(i - m_barWidth / 2, double(m_values.value(i))));
    const QPointF bottom = m_chart->mapToPosition(QPointF(i + m_barWidth / 2, 0));
    return QRectF(top, bottom).normalized();
}

QRectF ProgressBars::boundingRect() const { return m_chart->plotArea(); }

void ProgressBars::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    painter->save();
    painter->setClipRect(m_chart->plotArea());
    for (int i = 0; i < m_values.size(); ++i) {
        const QRectF r = barRect(i);
        if (m_raised) {
            // A shadow to the lower right lifts the bar off the paper.
            painter->fillRect(r.translated(4, -3), QColor(0, 0, 0, 60));
        }
        painter->fillRect(r, chartBrush(m_colours.value(i), m_raised));
        painter->setPen(m_colours.value(i).darker(150));
        painter->drawRect(r);
    }
    painter->restore();
}

BarMarks::BarMarks(QChart *chart, double offset) : QGraphicsObject(chart), m_chart(chart), m_offset(offset)
{
    connect(chart, &QChart::plotAreaChanged, this, [this] {
        prepareGeometryChange();
        update();
    });
}

void BarMarks::setValues(const QVector<qint64> &values)
{
    prepareGeometryChange();
    m_values = values;
    update();
}

QRectF BarMarks::boundingRect() const { return m_chart->plotArea().adjusted(-20, -20, 20, 0); }

void BarMarks::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    painter->save();
    QFont f = painter->font();
    f.setPixelSize(11);
    painter->setFont(f);
    painter->setPen(Qt::black);
    const QFontMetrics fm(f);
    const QRectF area = boundingRect();
    // A mark that would run into the one drawn before it is left out: with
    // hundreds of chapters the bars are thinner than their figures.
    qreal freeFrom = area.left();
    for (int i = 0; i < m_values.size(); ++i) {
        const QPointF top = m_chart->mapToPosition(QPointF(i + m_offset, double(m_values.at(i))));
        const QString text = QString::number(m_values.at(i));
        const qreal w = fm.horizontalAdvance(text);
        const qreal left = top.x() - w / 2.0;
        if (left < freeFrom || left + w > area.right())
            continue;
        painter->drawText(QPointF(left, top.y() - 3), text);
        freeFrom = left + w + 2;
    }
    painter->restore();
}
