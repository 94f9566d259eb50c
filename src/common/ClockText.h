// The text of the program's count-up clocks (practice and exam): whole
// seconds as h:mm:ss with the hours not padded, 3723 -> 1:02:03.
#pragma once

#include <QString>

QString clockText(qint64 seconds);
