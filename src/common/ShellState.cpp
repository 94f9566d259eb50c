// The one instance of the shell-wide state and its small helpers.
#include "common/ShellState.h"

#include "store/dm.h"

#include <QSqlQuery>
#include <cmath>

ShellState &shell()
{
    static ShellState s;
    return s;
}

int ShellState::typeTime(int typeCode) const
{
    for (int i = 0; i < TypeCodes.size() && i < TypeTimes.size(); ++i)
        if (TypeCodes.at(i) == typeCode)
            return TypeTimes.at(i);
    return 600;
}

QString editionTitle(int subject)
{
    static const char *titles[] = {"Almerin", "Brastow", "Corvale", "Dunmire", "Estwick"};
    if (subject < 1 || subject > 5)
        return QString();
    return QString::fromLatin1(titles[subject - 1]);
}

int typeTimeInterval(double minutes)
{
    // The stored minutes are decimal fractions such as 1.2345; a tiny
    // tolerance keeps 1.2345 x 600 = 740.7 from becoming 740.69999.
    return int(std::trunc(minutes * 600.0 + 1e-9));
}

void loadTypeTimes(TDM1 &dm, int subject)
{
    ShellState &st = shell();
    QVector<int> times, codes;
    QSqlQuery q = dm.execText(QStringLiteral("select * from tab_tx") + QString::number(subject));
    while (q.next()) {
        times << typeTimeInterval(q.value(QStringLiteral("time")).toDouble());
        codes << q.value(QStringLiteral("A1")).toInt();
    }
    if (!codes.isEmpty()) {
        st.TypeTimes = times;
        st.TypeCodes = codes;
    }
}
