// Exporting user questions.
#include "authoring/QuestionExport.h"

#include "authoring/GiftFormat.h"
#include "authoring/ImportText.h"
#include "authoring/MoodleXmlFormat.h"
#include "common/CommonRoutines.h"
#include "store/dm.h"

#include <QSaveFile>
#include <QSqlQuery>

namespace authoring {

namespace {

ImportKind kindOf(int typeCode, const QString &answer, int optionCount)
{
    switch (TypeToPage(typeCode)) {
    case 0: return ImportKind::Single;
    case 1:
    case 5: return ImportKind::Multiple;
    case 3: return ImportKind::TrueFalse;
    case 4: return ImportKind::Subjective;
    default: break;
    }
    if (optionCount <= 1)
        return ImportKind::Subjective;
    return answer.size() > 1 ? ImportKind::Multiple : ImportKind::Single;
}

} // namespace

QVector<ImportedQuestion> loadUserQuestions(TDM1 &dm, const QString &chapter)
{
    QVector<ImportedQuestion> out;
    QSqlQuery r = dm.exec(QStringLiteral("select a.A1, a.A2, a.A2_1, a.A13, e.A15, e.jx, a.K3, a.K4, a.K5, a.K6, a.K7, a.K8, "
                                         "a.K9, a.K10, a.K11, a.K12 from tab_answ a join tab_exer e on e.A1 = a.A1 "
                                         "where substr(a.A10, 1, length(?)) = ? and a.A1 like 'US%' order by a.rowid"),
                          {chapter, chapter});
    while (r.next()) {
        ImportedQuestion q;
        q.title = r.value(0).toString();
        q.answer = r.value(1).toString();
        const int options = r.value(2).toInt();
        q.typeCode = r.value(3).toString();
        q.kind = kindOf(q.typeCode.toInt(), q.answer, options);
        const QString plain = storedPlainText(r.value(4).toByteArray()).trimmed();
        q.body = plain;
        if ((q.kind == ImportKind::Single || q.kind == ImportKind::Multiple) && !splitOptions(plain, options, q.body, q.options))
            for (int i = 0; i < options; ++i)
                q.options << optionLetter(i);   // the body does not list its options
        if (!r.value(5).isNull())
            q.explanation = storedPlainText(r.value(5).toByteArray()).trimmed();
        for (int k = 6; k < 16; ++k) {
            const QString id = r.value(k).toString().trimmed();
            if (id.isEmpty())
                break;
            q.keyPoints << id;
        }
        out.append(q);
    }
    r.finish();
    return out;
}

int exportUserQuestions(TDM1 &dm, const QString &chapter, ImportFormat format, const QString &path, QString &error)
{
    const QVector<ImportedQuestion> questions = loadUserQuestions(dm, chapter);
    const QString text = format == ImportFormat::MoodleXml ? writeMoodleXml(questions) : writeGift(questions);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text.toUtf8()) < 0 || !f.commit()) {
        error = f.errorString();
        return -1;
    }
    return int(questions.size());
}

} // namespace authoring
