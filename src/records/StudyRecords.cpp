// Countdown, plan row, log totals and chart figures of the study records.
#include "records/StudyRecords.h"

#include "store/dm.h"

#include <QSqlQuery>
#include <cstdio>

namespace records {

CountdownView countdownView(qint64 days)
{
    CountdownView v;
    v.number = days < 1000 ? QString::number(days) : QStringLiteral("999");
    if (days < 0) {
        v.caption = QStringLiteral("考试已结束！");
    } else if (days == 0) {
        v.caption = QStringLiteral("祝考试成功！");
    } else {
        v.caption = QStringLiteral("距离考试还有");
        v.numberShown = true;
        v.colour = days > 7 ? CountdownView::Green : CountdownView::Red;
    }
    return v;
}

QColor countdownColour(CountdownView::Colour c)
{
    switch (c) {
    case CountdownView::Green:
        return QColor(100, 203, 37);
    case CountdownView::Red:
        return QColor(255, 0, 0);
    case CountdownView::Unchanged:
        break;
    }
    return QColor();
}

qint64 daysUntil(const QDate &today, const QDate &examDay) { return today.daysTo(examDay); }

std::optional<QDate> parseExamDate(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return std::nullopt;
    for (const char *format : {"yyyy-MM-dd", "yyyy-M-d"}) {
        const QDate d = QDate::fromString(t, QLatin1String(format));
        if (d.isValid())
            return d;
    }
    return std::nullopt;
}

StudyPlan readPlan(TDM1 &dm)
{
    StudyPlan p;
    dm.run(QStringLiteral("select PlanMark, PlanAmount, PlanTime, ExamDate from tab_plan order by rowid limit 1"), {},
           [&p](const QVariantList &row) {
               p.planMark = row.value(0).toInt();
               p.planAmount = row.value(1).toInt();
               p.planTime = row.value(2).toInt();
               p.examDate = row.value(3).toString();
           });
    return p;
}

void savePlan(TDM1 &dm, const StudyPlan &plan)
{
    DbTransaction t(dm);
    const QVariantList values = {plan.planAmount, plan.planTime, plan.examDate, plan.planMark};
    if (dm.scalar(QStringLiteral("select count(*) from tab_plan")).toLongLong() == 0)
        dm.run(QStringLiteral("insert into tab_plan (PlanAmount, PlanTime, ExamDate, PlanMark) values (?, ?, ?, ?)"), values);
    else
        dm.run(QStringLiteral("update tab_plan set PlanAmount=?, PlanTime=?, ExamDate=?, PlanMark=? "
                              "where rowid=(select min(rowid) from tab_plan)"),
               values);
    t.commit();
}

QString overallScore(qint64 given, qint64 wrong)
{
    if (given < 1)
        return QStringLiteral("0");
    char text[64];
    std::snprintf(text, sizeof text, "%2.2f", double(given - wrong) / double(given) * 100.0);
    return QString::fromLatin1(text);
}

LogTotals readLogTotals(TDM1 &dm)
{
    LogTotals t;
    dm.run(QStringLiteral("select sum(A2) as count_d1,sum(A3) as count_d2 from tab_rz "), {}, [&t](const QVariantList &row) {
        t.given = row.value(0).toLongLong();
        t.wrong = row.value(1).toLongLong();
    });
    t.score = overallScore(t.given, t.wrong);
    return t;
}

QString logGridSql() { return QStringLiteral("select A1, B1, B2, A2, A3, D1, A4 from tab_rz order by A1 desc"); }

QVector<ChapterFigures> readChapterFigures(TDM1 &dm)
{
    QVector<ChapterFigures> rows;
    dm.run(QStringLiteral("select C2, C3, C4, D1, D2 from tab_kmmc where C7='0'"), {}, [&rows](const QVariantList &row) {
        rows.push_back({row.value(0).toString(), row.value(1).toLongLong(), row.value(2).toLongLong(),
                        row.value(3).toLongLong(), row.value(4).toLongLong()});
    });
    return rows;
}

qint64 totalQuestions(TDM1 &dm)
{
    return dm.scalar(QStringLiteral("select sum(C3) as sumc3 from tab_kmmc where C7='0'")).toLongLong();
}

std::optional<qint64> progressPercent(qint64 questions, qint64 done)
{
    if (questions == 0)
        return std::nullopt;
    return done * 100 / questions;
}

QString chartTip(ChartKind kind, const ChapterFigures &c, qint64 allQuestions)
{
    switch (kind) {
    case ChartKind::Frequency:
        return QStringLiteral("%1\n已做题次：%2\n做错题次：%3").arg(c.name).arg(c.answers).arg(c.wrong);
    case ChartKind::Distribution: {
        const double share = allQuestions > 0 ? double(c.questions) * 100.0 / double(allQuestions) : 0.0;
        return QStringLiteral("%1\n习题：%2 道（%3%）").arg(c.name).arg(c.questions).arg(share, 0, 'f', 1);
    }
    case ChartKind::Progress:
        return QStringLiteral("%1\n进度：%2%（已做 %3 / %4 道）")
            .arg(c.name)
            .arg(progressPercent(c.questions, c.done).value_or(0))
            .arg(c.done)
            .arg(c.questions);
    }
    return c.name;
}

QString emptyChartNote(ChartKind kind)
{
    switch (kind) {
    case ChartKind::Frequency:
        return QStringLiteral("还没有答题记录，做过习题后这里会显示各章节的题次。");
    case ChartKind::Distribution:
        return QStringLiteral("题库中还没有习题。");
    case ChartKind::Progress:
        return QStringLiteral("还没有做过的习题，做过习题后这里会显示各章节的进度。");
    }
    return QString();
}

QString uprightTitle(const QString &title)
{
    QStringList lines;
    QString run;
    for (const QChar ch : title) {
        if (ch.isSpace()) {
            if (!run.isEmpty())
                lines << run, run.clear();
            continue;
        }
        if (ch.script() == QChar::Script_Han) {
            if (!run.isEmpty())
                lines << run, run.clear();
            lines << QString(ch);
        } else {
            run += ch;
        }
    }
    if (!run.isEmpty())
        lines << run;
    return lines.join(QLatin1Char('\n'));
}

QColor sliceColour(int index)
{
    const quint32 v = quint32(255 + 80000 * qint64(index)) & 0x00ffffffu;
    return QColor(int(v & 0xff), int((v >> 8) & 0xff), int((v >> 16) & 0xff));
}

} // namespace records
