// Pieces of the score chart window: the coloured progress bars drawn under
// the progress series (one colour per chapter), and the chart look.
#pragma once

#include <QColor>
#include <QGraphicsObject>
#include <QVector>

class QChart;

// Draws bar i of the progress chart in its chapter's colour, at the place
// the chart gives to category i, under the series' own (transparent) bars
// that carry the marks.
class ProgressBars : public QGraphicsObject {
public:
    ProgressBars(QChart *chart, double barWidth);
    void setBars(const QVector<qint64> &values, const QVector<QColor> &colours);
    void setRaised(bool raised);
    const QVector<QColor> &colours() const { return m_colours; }
    // The rectangle of bar i in the chart's coordinates.
    QRectF barRect(int i) const;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override;

private:
    QChart *m_chart;
    double m_barWidth;
    QVector<qint64> m_values;
    QVector<QColor> m_colours;
    bool m_raised = true;
};

// The marks (values) over one bar set of a bar chart: category i's bar
// stands `offset` category widths off the category's middle.  Drawn here
// rather than by the chart, which would make a text item per bar.
class BarMarks : public QGraphicsObject {
public:
    BarMarks(QChart *chart, double offset);
    void setValues(const QVector<qint64> &values);
    const QVector<qint64> &values() const { return m_values; }

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override;

private:
    QChart *m_chart;
    double m_offset;
    QVector<qint64> m_values;
};

// The brush of a bar or slice: flat, or shaded from light to the colour.
QBrush chartBrush(const QColor &colour, bool raised);
