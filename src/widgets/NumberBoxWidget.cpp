// The words of a number box's range.
#include "widgets/NumberBoxWidget.h"

namespace numberbox {

QString wholeRangeText(int minimum, int maximum)
{
    return QStringLiteral("请输入%1到%2之间的整数！").arg(minimum).arg(maximum);
}

QString decimalRangeText(double minimum, double maximum)
{
    return QStringLiteral("请输入%1到%2之间的数字！").arg(QString::number(minimum), QString::number(maximum));
}

} // namespace numberbox
