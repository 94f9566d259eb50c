// Small text helpers of the demo bank and its upgrade files: UTF-8
// literals, zero-padded numbers in ids, and the Chinese numerals of the
// book's headings ("第十二章").
#pragma once

#include <QString>

namespace demobank {

inline QString u8(const char *s) { return QString::fromUtf8(s); }

inline QString pad(int value, int width) { return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0')); }

// 1..99 as the headings write them: 一, 十, 十二, 二十, 二十三.
inline QString chineseNumber(int n)
{
    static const char *const digits[] = {"零", "一", "二", "三", "四", "五", "六", "七", "八", "九"};
    if (n < 10)
        return u8(digits[n]);
    const int tens = n / 10, ones = n % 10;
    QString s = (tens == 1 ? QString() : u8(digits[tens])) + u8("十");
    if (ones)
        s += u8(digits[ones]);
    return s;
}

} // namespace demobank
