// The flat push button.
#include "widgets/UflatButton.h"

#include <QPushButton>

QPushButton *flatButton(QWidget *parent, const char *objectName, const QString &caption)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(objectName));
    b->setAutoDefault(false);
    // Reached by Tab, not taken by a mouse click.
    b->setFocusPolicy(Qt::TabFocus);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}
