// The coloured progress bars and the raised look of the score charts.
#include "records/UchartParts.h"

#include "records/StudyRecords.h"

#include <QBrush>
#include <QChart>
#include <QFontMetricsF>
#include <QLegend>
#include <QLegendMarker>
#include <QLinearGradient>
#include <QPainter>
#include <QGraphicsLayout>
#include <QTimer>

#include <algorithm>

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
    // Over the bars: a figure wider than its bar runs onto the next one.
    setZValue(10);
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
    const qreal plotTop = m_chart->plotArea().top();
    // An empty chart shows its note, not a row of zeros.
    if (std::all_of(m_values.begin(), m_values.end(), [](qint64 v) { return v == 0; })) {
        painter->restore();
        return;
    }
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
        // A mark with no room above its bar stands at the top inside it.
        if (top.y() - 3 - fm.ascent() < plotTop) {
            painter->setPen(Qt::white);
            painter->drawText(QPointF(left, top.y() + fm.ascent() + 2), text);
            painter->setPen(Qt::black);
        } else {
            painter->drawText(QPointF(left, top.y() - 3), text);
        }
        freeFrom = left + w + 2;
    }
    painter->restore();
}

namespace {

constexpr qreal Swatch = 12;     // the colour square of a legend entry
constexpr qreal EntryGap = 14;   // between entries of a row
constexpr qreal Pad = 6;

} // namespace

PieLegend::PieLegend(QChart *chart) : QGraphicsObject(chart), m_chart(chart)
{
    m_font = chart->legend()->font();
    m_font.setPixelSize(12);
    // Laid out again once the chart has its new size: a legend resized
    // while the chart lays itself out would keep its old room.
    connect(chart, &QChart::geometryChanged, this, [this] { QTimer::singleShot(0, this, [this] { relayout(); }); });
    connect(chart->legend(), &QGraphicsWidget::geometryChanged, this, [this] { update(); });
}

void PieLegend::setEntries(const QStringList &names, const QVector<QColor> &colours)
{
    m_names = names;
    m_colours = colours;
    // The chart's own markers give up their room to the entries here.
    const auto markers = m_chart->legend()->markers();
    for (QLegendMarker *m : markers)
        m->setVisible(false);
    relayout();
}

QRectF PieLegend::entryRect(int i) const
{
    if (!m_chart->legend()->isVisible() || i < 0 || i >= m_rects.size())
        return QRectF();
    return m_rects.at(i).translated(m_chart->legend()->geometry().topLeft());
}

void PieLegend::relayout()
{
    prepareGeometryChange();
    m_rects.clear();
    QLegend *legend = m_chart->legend();
    const QFontMetricsF fm(m_font);
    const qreal line = qMax(fm.height(), Swatch) + 4;
    const QRectF area = m_chart->rect().marginsRemoved(QMarginsF(m_chart->margins()));
    auto entryWidth = [&](int i) { return Swatch + 4 + fm.horizontalAdvance(m_names.at(i)); };
    const Qt::Alignment a = legend->alignment();
    m_rects.resize(m_names.size());
    QSizeF room(0, 0);
    if (a == Qt::AlignTop || a == Qt::AlignBottom) {
        // Rows as wide as the chart, each centred.
        QVector<QVector<int>> rows(1);
        qreal used = 0;
        for (int i = 0; i < m_names.size(); ++i) {
            const qreal w = entryWidth(i);
            if (!rows.last().isEmpty() && used + EntryGap + w > area.width() - 2 * Pad)
                rows.append(QVector<int>()), used = 0;
            used += (rows.last().isEmpty() ? 0 : EntryGap) + w;
            rows.last() << i;
        }
        qreal y = Pad;
        for (const QVector<int> &row : rows) {
            qreal width = 0;
            for (int i : row)
                width += entryWidth(i) + (i == row.first() ? 0 : EntryGap);
            qreal x = (area.width() - width) / 2;
            for (int i : row) {
                m_rects[i] = QRectF(x, y, entryWidth(i), line);
                x += entryWidth(i) + EntryGap;
            }
            y += line;
        }
        room = QSizeF(0, m_names.isEmpty() ? 0 : y + Pad);
    } else {
        // Columns beside the pie, as many as the chart's height needs.
        const qreal height = area.height() - QFontMetricsF(m_chart->titleFont()).height() - 4 * Pad;
        const int perColumn = qMax(1, int(height / line));
        const int columns = (int(m_names.size()) + perColumn - 1) / perColumn;
        QVector<qreal> widths(columns, 0);
        for (int i = 0; i < m_names.size(); ++i)
            widths[i / perColumn] = qMax(widths[i / perColumn], entryWidth(i));
        qreal x = Pad;
        for (int c = 0; c < columns; ++c) {
            for (int r = 0; r < perColumn && c * perColumn + r < m_names.size(); ++r) {
                const int i = c * perColumn + r;
                m_rects[i] = QRectF(x, Pad + r * line, entryWidth(i), line);
            }
            x += widths[c] + EntryGap;
        }
        room = QSizeF(m_names.isEmpty() ? 0 : x, 0);
    }
    // The chart's own legend, its markers hidden, keeps this room for the
    // entries and stands where the user put it.
    legend->setMinimumSize(room);
    if (QGraphicsLayout *l = m_chart->layout())
        l->invalidate();
    update();
}

QRectF PieLegend::boundingRect() const { return m_chart->rect(); }

void PieLegend::paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *)
{
    if (!m_chart->legend()->isVisible())
        return;
    painter->save();
    painter->setFont(m_font);
    const QFontMetricsF fm(m_font);
    for (int i = 0; i < m_rects.size(); ++i) {
        const QRectF r = entryRect(i);
        const QRectF swatch(r.left(), r.center().y() - Swatch / 2, Swatch, Swatch);
        painter->fillRect(swatch, m_colours.value(i));
        painter->setPen(m_colours.value(i).darker(160));
        painter->drawRect(swatch);
        painter->setPen(m_chart->legend()->labelColor());
        painter->drawText(QRectF(swatch.right() + 4, r.top(), r.width() - Swatch - 4, r.height()),
                          Qt::AlignLeft | Qt::AlignVCenter, m_names.at(i));
    }
    painter->restore();
}

UprightAxisTitle::UprightAxisTitle(QChart *chart, const QString &title)
    : QGraphicsSimpleTextItem(records::uprightTitle(title), chart), m_chart(chart)
{
    QFont f = chart->titleFont();
    f.setPixelSize(13);
    f.setBold(true);
    setFont(f);
    QMargins m = chart->margins();
    m.setLeft(m.left() + int(boundingRect().width()) + 8);
    chart->setMargins(m);
    QObject::connect(chart, &QChart::plotAreaChanged, chart, [this] { place(); });
    place();
}

void UprightAxisTitle::place()
{
    const QRectF plot = m_chart->plotArea();
    const QRectF own = boundingRect();
    setPos(m_chart->rect().left() + 8, plot.center().y() - own.height() / 2);
}

ChartNote::ChartNote(QChart *chart) : QGraphicsSimpleTextItem(chart), m_chart(chart)
{
    QFont f = chart->titleFont();
    f.setPixelSize(14);
    f.setBold(false);
    setFont(f);
    setBrush(QColor(0x1d, 0x3c, 0x66));
    setZValue(10);
    QObject::connect(chart, &QChart::plotAreaChanged, chart, [this] { place(); });
    hide();
}

void ChartNote::setNote(const QString &text)
{
    setText(text);
    setVisible(!text.isEmpty());
    place();
}

void ChartNote::place()
{
    const QRectF plot = m_chart->plotArea();
    const QRectF own = boundingRect();
    setPos(plot.center().x() - own.width() / 2, plot.center().y() - own.height() / 2);
}
