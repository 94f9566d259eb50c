// makeart: draws the pictures that live in the program's pic/ folder.
//
//   makeart <folder>
//
// writes into <folder>:
//   vloxup.bmp vloxdw.bmp vloxyes.bmp vloxno.bmp vloxover.bmp
//   vloxdw_r.bmp vloxdw_w.bmp           question cells, 36 x 28
//   vloxtxup.bmp vloxtxdw.bmp           question-type cells, 84 x 26
//   dlg_info.png dlg_warn.png dlg_error.png   message-dialog icons, 32 x 32
//   dlgbg.bmp (399 x 110)  progressbg.bmp (358 x 63)
//   bg_kmmc_1024.png (935 x 611)  bg_kmmc_800.png (761 x 480)
//   bg_main.png (1024 x 768)
//   bg_rz_1024.png (934 x 611)  bg_rz_800.png (760 x 480)  bg_plan.png (460 x 250)
//   switch_on.png switch_off.png        the settings' on/off switch, 60 x 24
//
// Everything is drawn with shapes only (no fonts), so the output is the same
// on every machine.  The windows draw the question number or the type name
// on top of a cell, so a cell keeps its centre plain and light: its state
// shows in a coloured top band, a small corner mark and the frame.
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>

namespace {

// The blue/teal palette shared by all pictures.
const QColor kInk(0x1d, 0x5f, 0x8a);
const QColor kTeal(0x17, 0x87, 0x9a);
const QColor kTealDark(0x11, 0x5e, 0x6d);
const QColor kBlue(0x2c, 0x69, 0xad);
const QColor kGreen(0x2f, 0x94, 0x5e);
const QColor kRed(0xc2, 0x4e, 0x45);
const QColor kAmber(0xe8, 0xa3, 0x2c);

enum class Mark { None, Tick, Cross, Dot };

struct CellStyle {
    QColor top;      // fill at the top edge
    QColor bottom;   // fill at the bottom edge
    QColor frame;
    QColor band;     // state band along the top; invalid for none
    Mark mark;
    bool pressed;
};

bool save(const QImage &img, const QString &folder, const QString &name)
{
    const QString path = QDir(folder).filePath(name);
    const bool bmp = name.endsWith(QLatin1String(".bmp"));
    // Bitmaps are plain 24-bit pictures; the icons keep their transparency.
    const QImage out = bmp ? img.convertToFormat(QImage::Format_RGB888) : img;
    if (!out.save(path)) {
        std::fprintf(stderr, "makeart: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s %dx%d\n", qPrintable(path), img.width(), img.height());
    return true;
}

void drawMark(QPainter &p, Mark mark, const QRectF &box, const QColor &color)
{
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(color, 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    switch (mark) {
    case Mark::Tick: {
        QPainterPath path;
        path.moveTo(box.left(), box.top() + box.height() * 0.55);
        path.lineTo(box.left() + box.width() * 0.38, box.bottom());
        path.lineTo(box.right(), box.top());
        p.drawPath(path);
        break;
    }
    case Mark::Cross:
        p.drawLine(box.topLeft(), box.bottomRight());
        p.drawLine(box.topRight(), box.bottomLeft());
        break;
    case Mark::Dot:
        p.setPen(Qt::NoPen);
        p.setBrush(color);
        p.drawEllipse(box.center(), box.width() / 2.6, box.height() / 2.6);
        break;
    case Mark::None:
        break;
    }
    p.restore();
}

// A cell: square corners (so it sits on any background), a bevel that shows
// whether it is up or down, a light centre for the number drawn on top.
QImage cell(int w, int h, const CellStyle &s)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient fill(0, 0, 0, h);
    fill.setColorAt(0, s.top);
    fill.setColorAt(1, s.bottom);
    p.fillRect(img.rect(), fill);

    const int band = s.band.isValid() ? 3 : 0;
    if (band)
        p.fillRect(QRect(1, 1, w - 2, band), s.band);

    if (!s.pressed) {
        // Raised: light inner edge top-left, soft shade bottom-right.
        p.setPen(QColor(255, 255, 255, 200));
        p.drawLine(1, 1 + band, w - 2, 1 + band);
        p.drawLine(1, 1 + band, 1, h - 2);
        p.setPen(QColor(0, 40, 70, 45));
        p.drawLine(2, h - 2, w - 2, h - 2);
        p.drawLine(w - 2, 2 + band, w - 2, h - 2);
        p.setPen(s.frame);
        p.drawRect(0, 0, w - 1, h - 1);
    } else {
        // Sunk and selected: inner shadow top-left and a double frame.
        p.setPen(QColor(0, 40, 70, 70));
        p.drawLine(2, 2 + band, w - 3, 2 + band);
        p.drawLine(2, 2 + band, 2, h - 3);
        p.setPen(QColor(0, 40, 70, 30));
        p.drawLine(3, 3 + band, w - 3, 3 + band);
        p.drawLine(3, 3 + band, 3, h - 3);
        p.setPen(s.frame);
        p.drawRect(0, 0, w - 1, h - 1);
        p.drawRect(1, 1, w - 3, h - 3);
    }

    if (s.mark != Mark::None) {
        // Tucked into the corner, clear of a three-digit number.
        const qreal m = 5;
        drawMark(p, s.mark, QRectF(w - m - 3.5, h - m - 3.5, m, m), s.band.isValid() ? s.band.darker(115) : s.frame);
    }
    return img;
}

QImage icon(const QColor &base, int kind)
{
    const int n = 32;
    QImage img(n, n, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);

    QLinearGradient g(0, 2, 0, 30);
    g.setColorAt(0, base.lighter(125));
    g.setColorAt(1, base.darker(112));
    p.setBrush(g);
    p.setPen(QPen(base.darker(135), 1));
    if (kind == 1) {
        // Warning: a rounded triangle.
        QPainterPath tri;
        tri.moveTo(16, 2.5);
        tri.lineTo(30, 28.5);
        tri.lineTo(2, 28.5);
        tri.closeSubpath();
        QPainterPathStroker round;
        round.setWidth(3);
        round.setJoinStyle(Qt::RoundJoin);
        p.drawPath(tri.united(round.createStroke(tri)).simplified());
    } else {
        p.drawEllipse(QRectF(1.5, 1.5, 29, 29));
    }
    // A soft shine on the upper half.
    QLinearGradient shine(0, 2, 0, 16);
    shine.setColorAt(0, QColor(255, 255, 255, 90));
    shine.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shine);
    if (kind != 1)
        p.drawEllipse(QRectF(5, 3, 22, 13));

    const QColor glyph = kind == 1 ? QColor(0x4a, 0x32, 0x08) : QColor(Qt::white);
    p.setBrush(glyph);
    if (kind == 0) {          // notice: "i"
        p.drawEllipse(QRectF(13.8, 6.5, 4.4, 4.4));
        p.drawRoundedRect(QRectF(14, 13, 4, 12.5), 1.6, 1.6);
    } else if (kind == 1) {   // warning: "!"
        p.drawRoundedRect(QRectF(14.3, 10, 3.4, 10.5), 1.5, 1.5);
        p.drawEllipse(QRectF(14.1, 22.2, 3.8, 3.8));
    } else {                  // error: a cross
        QPen pen(glyph, 3.6, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.drawLine(QPointF(10.5, 10.5), QPointF(21.5, 21.5));
        p.drawLine(QPointF(21.5, 10.5), QPointF(10.5, 21.5));
    }
    return img;
}

// Vertical light body with a coloured title strip; the dialog is also shown
// 200 wide, so nothing in it depends on the horizontal position.
QImage dialogBackground(int w, int h, int strip, int footerTop)
{
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient body(0, strip, 0, h);
    body.setColorAt(0, QColor(0xf8, 0xfb, 0xfd));
    body.setColorAt(1, QColor(0xe7, 0xf0, 0xf5));
    p.fillRect(img.rect(), body);

    if (strip > 0) {
        QLinearGradient title(0, 0, 0, strip);
        title.setColorAt(0, QColor(0x2f, 0x8b, 0xbf));
        title.setColorAt(1, QColor(0x1b, 0x63, 0x91));
        p.fillRect(QRect(0, 0, w, strip), title);
        p.setPen(QColor(255, 255, 255, 90));
        p.drawLine(0, 0, w - 1, 0);
        p.setPen(QColor(0x13, 0x4c, 0x70));
        p.drawLine(0, strip - 1, w - 1, strip - 1);
        p.setPen(QColor(0x4f, 0xc0, 0xc8));
        p.drawLine(0, strip, w - 1, strip);
    }
    if (footerTop > 0) {
        QLinearGradient foot(0, footerTop, 0, h);
        foot.setColorAt(0, QColor(0xe4, 0xee, 0xf3));
        foot.setColorAt(1, QColor(0xd8, 0xe6, 0xed));
        p.fillRect(QRect(0, footerTop, w, h - footerTop), foot);
        p.setPen(QColor(0xc3, 0xd6, 0xe0));
        p.drawLine(0, footerTop, w - 1, footerTop);
        p.setPen(QColor(255, 255, 255));
        p.drawLine(0, footerTop + 1, w - 1, footerTop + 1);
    }
    return img;
}

QImage progressBackground()
{
    const int w = 358, h = 63;
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    QLinearGradient body(0, 0, 0, h);
    body.setColorAt(0, QColor(0xfa, 0xfc, 0xfd));
    body.setColorAt(1, QColor(0xe5, 0xef, 0xf4));
    p.fillRect(img.rect(), body);
    QLinearGradient top(0, 0, w, 0);
    top.setColorAt(0, kTeal);
    top.setColorAt(1, kBlue);
    p.fillRect(QRect(0, 0, w, 5), top);
    // A row of soft dots along the bottom, like a progress trail.
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 12; ++i) {
        QColor c = kTeal;
        c.setAlpha(40 + i * 15);
        p.setBrush(c);
        p.drawEllipse(QPointF(w - 120 + i * 9.5, h - 10), 2.6, 2.6);
    }
    return img;
}

// A calm window background: light gradient, a title band, soft circles and
// faint ruled lines like a notebook page.
QImage windowBackground(int w, int h, int band)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient body(0, 0, 0, h);
    body.setColorAt(0, QColor(0xf3, 0xf8, 0xfa));
    body.setColorAt(1, QColor(0xdc, 0xea, 0xf0));
    p.fillRect(img.rect(), body);

    p.setPen(QPen(QColor(0x9c, 0xc2, 0xd0, 45), 1));
    for (int y = band + 28; y < h - 8; y += 28)
        p.drawLine(QPointF(0, y + 0.5), QPointF(w, y + 0.5));

    p.setPen(Qt::NoPen);
    const struct { qreal x, y, r; int a; QColor c; } spots[] = {
        {0.92, 0.88, 0.34, 38, kTeal},
        {0.80, 1.02, 0.22, 30, kBlue},
        {0.05, 0.95, 0.18, 26, kTeal},
    };
    for (const auto &s : spots) {
        QRadialGradient g(QPointF(s.x * w, s.y * h), s.r * h);
        QColor c0 = s.c, c1 = s.c;
        c0.setAlpha(s.a);
        c1.setAlpha(0);
        g.setColorAt(0, c0);
        g.setColorAt(1, c1);
        p.setBrush(g);
        p.drawEllipse(QPointF(s.x * w, s.y * h), s.r * h, s.r * h);
    }

    if (band > 0) {
        QLinearGradient title(0, 0, w, 0);
        title.setColorAt(0, QColor(0x14, 0x6f, 0x86));
        title.setColorAt(1, QColor(0x23, 0x5f, 0x9e));
        p.fillRect(QRect(0, 0, w, band), title);
        QLinearGradient gloss(0, 0, 0, band);
        gloss.setColorAt(0, QColor(255, 255, 255, 40));
        gloss.setColorAt(1, QColor(255, 255, 255, 0));
        p.fillRect(QRect(0, 0, w, band), gloss);
        // Soft rings on the right of the band.
        p.save();
        p.setClipRect(QRect(0, 0, w, band));
        p.setBrush(Qt::NoBrush);
        for (int i = 0; i < 4; ++i) {
            p.setPen(QPen(QColor(255, 255, 255, 28 - i * 5), 2));
            p.drawEllipse(QPointF(w - band * 1.2, band * 0.2), band * (0.6 + i * 0.35), band * (0.6 + i * 0.35));
        }
        p.restore();
        p.setPen(QPen(QColor(0x4f, 0xc0, 0xc8), 2));
        p.drawLine(QPointF(0, band + 1), QPointF(w, band + 1));
    }
    p.end();
    return img.convertToFormat(QImage::Format_RGB32);
}

} // namespace

// The two positions of an on/off switch: a rounded track with a knob at
// the right (on, green, a bar mark) or at the left (off, grey, a ring mark).
QImage toggleSwitch(bool on)
{
    const int w = 60, h = 24;
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF track(0.5, 0.5, w - 1, h - 1);
    QLinearGradient g(0, 0, 0, h);
    g.setColorAt(0, on ? kGreen.lighter(125) : QColor(0xd9, 0xe1, 0xe6));
    g.setColorAt(1, on ? kGreen : QColor(0xb4, 0xc0, 0xc8));
    p.setPen(QPen(on ? kGreen.darker(130) : QColor(0x8a, 0x9a, 0xa5), 1));
    p.setBrush(g);
    p.drawRoundedRect(track, h / 2.0 - 0.5, h / 2.0 - 0.5);

    // The mark on the free half of the track.
    p.setBrush(Qt::NoBrush);
    if (on) {
        p.setPen(QPen(QColor(255, 255, 255, 230), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(19, 7), QPointF(19, 17));
    } else {
        p.setPen(QPen(QColor(0x6b, 0x7b, 0x86), 2));
        p.drawEllipse(QPointF(w - 19, h / 2.0), 4.5, 4.5);
    }

    // The knob, lit from above.
    const qreal d = h - 5;
    const QRectF knob(on ? w - 2.5 - d : 2.5, 2.5, d, d);
    QRadialGradient k(knob.center() - QPointF(d / 5, d / 4), d * 0.75);
    k.setColorAt(0, Qt::white);
    k.setColorAt(1, QColor(0xdf, 0xe6, 0xea));
    p.setPen(QPen(QColor(0, 0, 0, 70), 1));
    p.setBrush(k);
    p.drawEllipse(knob);
    p.end();
    return img;
}

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: makeart <folder>\n");
        return 2;
    }
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "makeart: cannot create %s\n", argv[1]);
        return 1;
    }

    const QColor neutralFrame(0x7f, 0xa6, 0xb8);
    const QColor none;   // no state band
    const int cw = 36, ch = 28;
    struct Item { const char *name; QImage img; } items[] = {
        {"vloxup.bmp",   cell(cw, ch, {QColor(0xfb, 0xfd, 0xfe), QColor(0xe2, 0xed, 0xf2), neutralFrame, none, Mark::None, false})},
        {"vloxdw.bmp",   cell(cw, ch, {QColor(0xd3, 0xe5, 0xee), QColor(0xe8, 0xf1, 0xf5), kInk, none, Mark::None, true})},
        {"vloxyes.bmp",  cell(cw, ch, {QColor(0xf3, 0xfb, 0xf5), QColor(0xd4, 0xee, 0xdc), QColor(0x6d, 0xb0, 0x86), kGreen, Mark::Tick, false})},
        {"vloxdw_r.bmp", cell(cw, ch, {QColor(0xc4, 0xe6, 0xcf), QColor(0xdc, 0xf1, 0xe3), kGreen.darker(120), kGreen, Mark::Tick, true})},
        {"vloxno.bmp",   cell(cw, ch, {QColor(0xfe, 0xf4, 0xf3), QColor(0xf6, 0xd9, 0xd6), QColor(0xcf, 0x86, 0x80), kRed, Mark::Cross, false})},
        {"vloxdw_w.bmp", cell(cw, ch, {QColor(0xf1, 0xcb, 0xc7), QColor(0xf8, 0xe0, 0xdd), kRed.darker(120), kRed, Mark::Cross, true})},
        {"vloxover.bmp", cell(cw, ch, {QColor(0xf2, 0xf8, 0xfe), QColor(0xd3, 0xe5, 0xf6), QColor(0x6f, 0x9c, 0xcc), kBlue, Mark::Dot, false})},
        {"vloxtxup.bmp", cell(84, 26, {QColor(0xf4, 0xfb, 0xfb), QColor(0xd5, 0xeb, 0xee), QColor(0x6a, 0xa8, 0xb3), kTeal, Mark::None, false})},
        {"vloxtxdw.bmp", cell(84, 26, {QColor(0xbf, 0xe1, 0xe7), QColor(0xd8, 0xee, 0xf1), kTealDark, kTealDark, Mark::None, true})},
        {"dlg_info.png",  icon(QColor(0x2f, 0x80, 0xc6), 0)},
        {"dlg_warn.png",  icon(kAmber, 1)},
        {"dlg_error.png", icon(kRed, 2)},
        {"dlgbg.bmp",      dialogBackground(399, 110, 25, 74)},
        {"progressbg.bmp", progressBackground()},
        {"bg_kmmc_1024.png", windowBackground(935, 611, 52)},
        {"bg_kmmc_800.png",  windowBackground(761, 480, 44)},
        {"bg_main.png",      windowBackground(1024, 768, 0)},
        {"bg_rz_1024.png",   windowBackground(934, 611, 52)},
        {"bg_rz_800.png",    windowBackground(760, 480, 52)},
        {"bg_plan.png",      windowBackground(460, 250, 0)},
        {"switch_on.png",    toggleSwitch(true)},
        {"switch_off.png",   toggleSwitch(false)},
    };
    bool ok = true;
    for (const Item &it : items)
        ok = save(it.img, folder, QString::fromLatin1(it.name)) && ok;
    return ok ? 0 : 1;
}
