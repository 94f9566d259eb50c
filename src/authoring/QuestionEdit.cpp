// Reading and saving an edited question.
#include "authoring/QuestionEdit.h"

#include "keypoints/KeyPointRules.h"
#include "store/DbError.h"
#include "store/dm.h"

#include <QSqlQuery>

namespace authoring {

Ttx storedType(TDM1 &dm, int code)
{
    const QString text = QString::number(code);
    for (int subject = 1; subject <= 5; ++subject) {
        const QVariant name = dm.scalar(QStringLiteral("select B1 from tab_tx%1 where A1=?").arg(subject), {code});
        if (name.isValid() && !name.toString().trimmed().isEmpty())
            return {text, name.toString()};
    }
    return {text, text};
}

bool loadEditedQuestion(TDM1 &dm, const QString &id, EditedQuestion &out)
{
    out = EditedQuestion();
    {
        QSqlQuery q = dm.exec(QStringLiteral("select a1,a2,a2_1,a13,k3,k4,k5,k6,k7,k8,k9,k10,k11,k12,ecount from tab_answ where a1=?"),
                              {id});
        if (!q.next()) {
            q.finish();
            return false;
        }
        out.id = q.value(0).toString();
        out.answer = q.value(1).toString();
        out.optionCount = q.value(2).toInt();
        out.type = q.value(3).toInt();
        for (int k = 0; k < 10; ++k) {
            const QString v = q.value(4 + k).toString();
            if (!v.isEmpty())
                out.keyPoints << v;
        }
        out.editCount = q.value(14).toInt();
        q.finish();
    }
    {
        QSqlQuery q = dm.exec(QStringLiteral("select a15, jx from tab_exer where a1=?"), {id});
        if (q.next()) {
            out.body = q.value(0).toByteArray();
            out.hasExplanation = !q.value(1).isNull();
            out.explanation = q.value(1).toByteArray();
        }
        q.finish();
    }
    out.isSubQuestion = id.contains(QLatin1Char('-'));
    if (out.isSubQuestion)
        out.material = dm.scalar(QStringLiteral("select A15 from tab_title where A1=?"), {id.left(16)}).toByteArray();
    return true;
}

keypoints::PickedKeyPoints listedKeyPoints(TDM1 &dm, const QStringList &ids)
{
    keypoints::PickedKeyPoints list;
    for (const QString &id : ids) {
        QString title, group;
        {
            QSqlQuery q = dm.exec(QStringLiteral("select sn, id from tab_rule where ftid=?"), {id});
            if (q.next()) {
                title = q.value(0).toString();
                group = q.value(1).toString();
            }
            q.finish();
        }
        while (title.endsWith(QLatin1Char(' ')))
            title.chop(1);
        const QString name = dm.scalar(QStringLiteral("select n from tab_fgmc where id=?"), {group}).toString();
        list.ids << id;
        list.entries << name + title;
    }
    return list;
}

int saveEditedQuestion(TDM1 &dm, const EditedQuestion &q, const QStringList &before)
{
    DbTransaction tx(dm);
    dm.run(QStringLiteral("update tab_exer set a15=?, jx=? where a1=?"),
           {q.body, q.hasExplanation ? QVariant(q.explanation) : QVariant(), q.id});
    QVariantList binds{q.optionCount, q.answer, q.type};
    for (int k = 0; k < 10; ++k)
        binds << (k < q.keyPoints.size() ? q.keyPoints.at(k) : QString());
    binds << q.id;
    dm.run(QStringLiteral("update tab_answ set a2_1=?, a2=?, a13=?, k3=?, k4=?, k5=?, k6=?, k7=?, k8=?, k9=?, k10=?, "
                          "k11=?, k12=?, ecount=ecount+1 where a1=?"),
           binds);
    if (q.isSubQuestion)
        dm.run(QStringLiteral("update tab_title set A15=? where A1=?"), {q.material, q.id.left(16)});
    QStringList recount = before;
    for (const QString &k : q.keyPoints)
        if (!recount.contains(k))
            recount << k;
    // Each key point's questions are counted through the key-point
    // indexes: only the questions that cite it are touched.
    const QString countSql = keypoints::citingCountSql();
    for (const QString &k : std::as_const(recount)) {
        qint64 count = 0;
        dm.run(countSql, {k}, [&count](const QVariantList &row) { count = row.value(0).toLongLong(); });
        dm.run(QStringLiteral("update tab_rule set q=? where ftid=?"), {count, k});
    }
    const int edits = dm.scalar(QStringLiteral("select ecount from tab_answ where a1=?"), {q.id}).toInt();
    tx.commit();
    return edits;
}

} // namespace authoring
