// The demo bank's items in rich text: a tide table in a body, a formula line
// with subscripts and a drawn tide curve in an explanation, a drawn buoy in
// a body.  Pictures are drawn here (shapes only, no fonts, so the generator
// runs without a display).
#pragma once

#include "DemoBankText.h"
#include "platform/RichText.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>
#include <cmath>
#include <vector>

namespace demobank::rich {

struct Item {
    QByteArray body, jx;     // RTF
    QString plainBody, plainJx;
    QString key;
    int options = 4;
    int kp = 0;              // index of the section's key point
};

// A document written piece by piece.
class Writer {
public:
    Writer() : m_cursor(&m_doc) {}
    Writer &text(const QString &t, bool bold = false)
    {
        QTextCharFormat f;
        f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
        m_cursor.insertText(t, f);
        return *this;
    }
    Writer &sub(const QString &t)
    {
        QTextCharFormat f;
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        m_cursor.insertText(t, f);
        return *this;
    }
    Writer &line() { m_cursor.insertBlock(); return *this; }
    // A table as the bank's rich text can hold one: a row a paragraph,
    // cells apart by tabs, the heading row bold.
    Writer &table(const std::vector<QStringList> &rows)
    {
        for (size_t r = 0; r < rows.size(); ++r) {
            text(rows[r].join(QLatin1Char('\t')), r == 0);
            line();
        }
        return *this;
    }
    Writer &picture(const QString &name, const QImage &image)
    {
        m_doc.addResource(QTextDocument::ImageResource, QUrl(name), image);
        QTextImageFormat f;
        f.setName(name);
        f.setWidth(image.width());
        f.setHeight(image.height());
        m_cursor.insertImage(f);
        return *this;
    }
    QByteArray rtf() const { return richtext::toRtf(m_doc); }
    QString plain() const { return m_doc.toPlainText(); }

private:
    QTextDocument m_doc;
    QTextCursor m_cursor;
};

// A semidiurnal tide over one day, with the lowest tide height a ship needs
// (a dashed line) and the hours it may pass (shaded).
inline QImage tideCurve(double high, double need)
{
    QImage img(300, 140, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF plot(20, 10, 270, 115);
    auto at = [&](double hour, double h) {
        return QPointF(plot.left() + hour / 24.0 * plot.width(), plot.bottom() - h / (high + 0.6) * plot.height());
    };
    auto height = [&](double hour) { return high / 2.0 + high / 2.0 * std::cos((hour - 8.4) / 12.42 * 2.0 * M_PI); };
    QPainterPath curve, window;
    for (int i = 0; i <= 240; ++i) {
        const double hour = i / 10.0, h = height(hour);
        i == 0 ? curve.moveTo(at(hour, h)) : curve.lineTo(at(hour, h));
        if (h >= need) {
            QPainterPath bar;
            bar.addRect(QRectF(at(hour, h), at(hour + 0.1, 0)).normalized());
            window = window.united(bar);
        }
    }
    p.fillPath(window, QColor(190, 220, 245));
    p.setPen(QPen(Qt::black, 1));
    p.drawLine(at(0, 0), at(24, 0));
    p.drawLine(at(0, 0), at(0, high + 0.5));
    for (int hour = 0; hour <= 24; hour += 6)
        p.drawLine(at(hour, 0), at(hour, 0) + QPointF(0, 4));
    p.setPen(QPen(QColor(20, 60, 160), 2));
    p.drawPath(curve);
    p.setPen(QPen(QColor(200, 30, 30), 1.5, Qt::DashLine));
    p.drawLine(at(0, need), at(24, need));
    return img;
}

// A pillar buoy with the topmark and colours of a north cardinal mark: two
// black cones pointing up, black above yellow.
inline QImage northCardinalBuoy()
{
    QImage img(120, 170, QImage::Format_RGB32);
    img.fill(QColor(225, 238, 250));
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(0, 140, 120, 30), QColor(70, 120, 180));   // water
    auto cone = [&](double top) {
        QPolygonF c;
        c << QPointF(60, top) << QPointF(46, top + 22) << QPointF(74, top + 22);
        p.setBrush(Qt::black);
        p.drawPolygon(c);
    };
    cone(8);
    cone(34);
    p.fillRect(QRectF(58, 56, 4, 14), Qt::black);                  // mast
    p.fillRect(QRectF(42, 70, 36, 36), Qt::black);                 // body: black above
    p.fillRect(QRectF(42, 106, 36, 34), QColor(240, 200, 0));      // ... yellow below
    QPolygonF foot;
    foot << QPointF(30, 140) << QPointF(90, 140) << QPointF(82, 152) << QPointF(38, 152);
    p.setBrush(QColor(240, 200, 0));
    p.drawPolygon(foot);
    return img;
}

inline std::vector<Item> itemsFor(const QString &sectionCode)
{
    std::vector<Item> out;
    if (sectionCode == QLatin1String("030102")) {
        // Tide table in the body; formula and tide curve in the explanation.
        Writer body;
        body.text(u8("某港某日潮汐预报如下表（潮高从理论最低潮面起算）：")).line();
        body.table({{u8("潮汐"), u8("时间"), u8("潮高（米）")},
                    {u8("低潮"), QStringLiteral("02:10"), QStringLiteral("0.6")},
                    {u8("高潮"), QStringLiteral("08:25"), QStringLiteral("3.4")},
                    {u8("低潮"), QStringLiteral("14:40"), QStringLiteral("0.8")},
                    {u8("高潮"), QStringLiteral("20:50"), QStringLiteral("3.2")}});
        body.text(u8("某船满载吃水10.5米，要求富余水深不小于0.8米，进港航道海图水深为9.5米。该船乘潮通过航道所需的最低潮高为（　　）。")).line();
        body.text(u8("A. 1.0米")).line().text(u8("B. 1.8米")).line().text(u8("C. 2.6米")).line().text(u8("D. 3.4米"));
        Writer jx;
        jx.text(u8("【答案】B")).line().text(u8("【解析】乘潮所需潮高：")).line();
        jx.text(QStringLiteral("h")).sub(u8("需")).text(QStringLiteral(" = T + Z")).sub(u8("富")).text(QStringLiteral(" − D")).sub(u8("图"))
            .text(QStringLiteral(" = 10.5 + 0.8 − 9.5 = 1.8")).text(u8("（米）")).line();
        jx.text(u8("式中T为船舶吃水，Z")).sub(u8("富")).text(u8("为富余水深，D")).sub(u8("图")).text(u8("为海图水深。"))
            .text(u8("由预报可知，潮高在上午高潮（08:25）和晚间高潮（20:50）前后各有一段时间高于1.8米（图中阴影部分），船舶应安排在这两个时段内通过航道。")).line();
        jx.picture(QStringLiteral("demobank://tide-curve"), tideCurve(3.4, 1.8));
        out.push_back({body.rtf(), jx.rtf(), body.plain(), jx.plain(), QStringLiteral("B"), 4, 1});
    } else if (sectionCode == QLatin1String("030401")) {
        // A drawn buoy in the body.
        Writer body;
        body.text(u8("下图为某浮标的顶标和标身涂色，该浮标是（　　）。")).line();
        body.picture(QStringLiteral("demobank://north-cardinal"), northCardinalBuoy()).line();
        body.text(u8("A. 北方位标")).line().text(u8("B. 南方位标")).line().text(u8("C. 东方位标")).line().text(u8("D. 西方位标"));
        Writer jx;
        jx.text(u8("【答案】A")).line();
        jx.text(u8("【解析】方位标志以顶标两个黑色圆锥的朝向区分：北方位标锥尖均向上，标身上黑下黄；南方位标锥尖均向下，标身上黄下黑；"
                   "东方位标两锥底相对（上锥尖向上、下锥尖向下），标身黑色带黄色横带；西方位标两锥尖相对，标身黄色带黑色横带。"
                   "北方位标设在危险物的北侧，船舶应在其北侧通过。"));
        out.push_back({body.rtf(), jx.rtf(), body.plain(), jx.plain(), QStringLiteral("A"), 4, 1});
    }
    return out;
}

} // namespace demobank::rich
