// Applying the program's look to the application.
#include "widgets/ThemeGui.h"

#include <QApplication>
#include <QColor>
#include <QFile>
#include <QFont>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QWidget>

static void loadThemeResource()
{
    // The sheet lives in the windows library, a static one: its resources
    // are registered by hand.
    Q_INIT_RESOURCE(theme);
}

namespace theme {

QColor heading() { return QColor(0x1d, 0x3c, 0x66); }
QColor panel() { return QColor(0x10, 0x23, 0x3f); }

void setRole(QWidget *w, const char *role)
{
    if (!w || w->property("role").toString() == QLatin1String(role))
        return;
    w->setProperty("role", QLatin1String(role));
    if (w->isVisible() || w->testAttribute(Qt::WA_WState_Polished)) {
        w->style()->unpolish(w);
        w->style()->polish(w);
        w->update();
    }
}

void apply()
{
    loadThemeResource();
    // One style on every desktop, so windows look alike under GNOME, KDE
    // and Xfce; the sheet then only adds the program's colours.
    if (QStyle *fusion = QStyleFactory::create(QStringLiteral("Fusion")))
        QApplication::setStyle(fusion);

    QFont f = QApplication::font();
    f.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"), f.family()});
    QApplication::setFont(f);

    QPalette p = QApplication::style()->standardPalette();
    p.setColor(QPalette::Window, QColor(0xe3, 0xee, 0xfb));
    p.setColor(QPalette::WindowText, heading());
    p.setColor(QPalette::Base, Qt::white);
    p.setColor(QPalette::AlternateBase, QColor(0xf1, 0xf6, 0xfd));
    p.setColor(QPalette::Button, QColor(0xee, 0xf4, 0xfc));
    p.setColor(QPalette::ButtonText, Qt::black);
    p.setColor(QPalette::Text, Qt::black);
    p.setColor(QPalette::Highlight, QColor(0x3d, 0x7e, 0xe0));
    p.setColor(QPalette::HighlightedText, Qt::white);
    p.setColor(QPalette::ToolTipBase, QColor(0xff, 0xfd, 0xf3));
    p.setColor(QPalette::ToolTipText, heading());
    p.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x80, 0x80, 0x80));
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x80, 0x80, 0x80));
    QApplication::setPalette(p);

    QFile sheet(QStringLiteral(":/theme/pellbrook.qss"));
    if (sheet.open(QIODevice::ReadOnly))
        qApp->setStyleSheet(QString::fromUtf8(sheet.readAll()));
    else
        qWarning("the program's style sheet is missing from its resources");
}

} // namespace theme
