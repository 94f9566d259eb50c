// Reading, checking and saving the mock exam settings.
#include "exam/ExamSettings.h"

#include "store/dm.h"

#include <QSqlQuery>

namespace exam {

ExamSettings readExamSettings(TDM1 &dm)
{
    ExamSettings s;
    QSqlQuery q = dm.exec(QStringLiteral("select LeastMark, ExamTime from tab_plan order by rowid limit 1"));
    if (q.next()) {
        s.found = true;
        s.leastMark = q.value(0).toInt();
        s.examTime = q.value(1).toLongLong();
    }
    q.finish();
    return s;
}

LeastMarkCheck checkLeastMark(const QString &text, int totalScore)
{
    LeastMarkCheck c;
    c.text = text.isEmpty() ? QStringLiteral("0") : text;
    bool ok = false;
    const qlonglong v = c.text.toLongLong(&ok);
    if (ok && v > totalScore) {
        c.text = QString::number(totalScore);
        c.refused = true;
    }
    return c;
}

QString leastMarkRefusal() { return QStringLiteral("最低分数不能超过总分数！"); }

bool saveExamSettings(TDM1 &dm, const QString &leastMarkText, const QString &minutesText)
{
    bool okMark = false;
    bool okMinutes = false;
    const int leastMark = leastMarkText.trimmed().toInt(&okMark);
    const qlonglong minutes = minutesText.trimmed().toLongLong(&okMinutes);
    if (!okMark || !okMinutes || minutes < 0 || leastMark < 0)
        return false;
    try {
        QSqlQuery q = dm.exec(QStringLiteral("update tab_plan set LeastMark=?, ExamTime=? "
                                             "where rowid = (select rowid from tab_plan order by rowid limit 1)"),
                              {leastMark, minutes * 60});
        const bool written = q.numRowsAffected() == 1;
        q.finish();
        return written;
    } catch (const store::DbError &) {
        return false;
    }
}

} // namespace exam
