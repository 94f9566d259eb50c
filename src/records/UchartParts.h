// Pieces of the score chart window: the coloured progress bars drawn under
// the progress series (one colour per chapter), the marks, the pie's
// legend, upright axis titles, the note of an empty chart and the chart look.
#pragma once

#include <QColor>
#include <QFont>
#include <QGraphicsObject>
#include <QGraphicsSimpleTextItem>
#include <QStringList>
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

// The pie's legend: each chapter's name beside its colour, in rows when the
// legend stands above or below the pie and in a column beside it.  The
// chart's own legend keeps the choices (shown or not, where) and gives up
// its room: with many chapters it would cut every name to nothing.  The
// pie is laid out in what room is left.
class PieLegend : public QGraphicsObject {
public:
    explicit PieLegend(QChart *chart);
    void setEntries(const QStringList &names, const QVector<QColor> &colours);
    const QStringList &names() const { return m_names; }
    // Lays the entries out again after a change of the chart's legend.
    void relayout();
    // Where entry i stands, in the chart's coordinates (empty when hidden).
    QRectF entryRect(int i) const;

    QRectF boundingRect() const override;
    void paint(QPainter *painter, const QStyleOptionGraphicsItem *, QWidget *) override;

private:
    QChart *m_chart;
    QStringList m_names;
    QVector<QColor> m_colours;
    QVector<QRectF> m_rects;
    QFont m_font;
};

// An axis title drawn upright beside a vertical axis ("题" over "次"), in
// room the chart leaves on its left; the axis keeps its title text with
// its own drawing switched off.
class UprightAxisTitle : public QGraphicsSimpleTextItem {
public:
    UprightAxisTitle(QChart *chart, const QString &title);

private:
    void place();
    QChart *m_chart;
};

// The line a chart shows over its empty plot when there is nothing to draw.
class ChartNote : public QGraphicsSimpleTextItem {
public:
    explicit ChartNote(QChart *chart);
    // Shows the line, or hides it when empty.
    void setNote(const QString &text);

private:
    void place();
    QChart *m_chart;
};
