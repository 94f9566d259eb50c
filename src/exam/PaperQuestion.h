// One row of a paper table (tab_exam<N>): a copy of a question's key, study
// state and explanation taken when the paper was drawn, plus the answer
// given in this paper (E2_1).
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace exam {

struct PaperQuestion {
    QString a1;          // question id
    QString a2;          // key
    int a2_1 = 0;        // number of options
    QStringList k;       // K3..K12, ten entries (a null QString for NULL)
    QString a10;         // chapter code
    int a13 = 0;         // type code
    QString a14;         // the note written in this paper
    QString e1;          // date of the last counted answer
    QString e2;          // last answer ever counted
    QString e2_1;        // the answer given in this paper
    int e3 = 0;
    int e4 = 0;
    QByteArray jx;       // explanation (rich text)
    bool hasJx = false;  // jx is not NULL
    QString csbs;
    int f1 = 0;          // 1 voided, 2 added by the user

    // K3 is neither null nor blank: the question has key points.
    bool hasKeyPoints() const { return !k.isEmpty() && !k.first().trimmed().isEmpty(); }
    // K3, K4, ... up to the first empty or NULL one.
    QStringList keyPoints() const
    {
        QStringList out;
        for (const QString &id : k) {
            if (id.isEmpty())
                break;
            out.append(id);
        }
        return out;
    }
    // A sub-question of a shared material (its id contains "-").
    bool isSubQuestion() const { return a1.contains(QLatin1Char('-')); }
};

} // namespace exam
