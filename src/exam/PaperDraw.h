// Drawing the questions of a mock paper: the fixed composition of each
// subject's paper, the candidate selection, the pseudo-random generator the
// draw uses, and the selection condition that names the drawn questions.
#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

namespace exam {

// One line of a subject's composition: from the candidates of this type
// whose chapter code starts with the prefix, draw this many questions.
struct DrawGroup {
    int typeCode;
    QString prefix;
    int count;
};

// The whole composition of a subject's paper, in the order it is listed
// (type by type, "01" before "05").  Empty outside 1..5.
QVector<DrawGroup> paperComposition(int subject);
// The lines of the composition for one type code, in their order.
QVector<DrawGroup> compositionOfType(int subject, int typeCode);

// The chapter part of the candidate selection, ending in " and" (the
// statement goes on with "(f1 <> 1)").  Empty outside 1..5.
QString candidateChapterCondition(int subject);
// "select * from tab_answ where " + the chapter part + " (f1 <> 1) order by E3":
// the subject's questions that are not voided (a NULL status is left out
// too), least practised first.
QString candidateSelection(int subject);

// The 32-bit linear congruential generator of the draw:
// seed <- seed * 134775813 + 1 (mod 2^32); a draw below m is the high 32
// bits of the 64-bit product seed * m.
class DrawRandom {
public:
    explicit DrawRandom(quint32 seed) : m_seed(seed) {}
    // A number in 0 .. m-1 (0 for m = 0).
    quint32 below(quint32 m)
    {
        m_seed = m_seed * 134775813u + 1u;
        return quint32((quint64(m_seed) * quint64(m)) >> 32);
    }
    quint32 seed() const { return m_seed; }

private:
    quint32 m_seed;
};

// The seed of one draw: the UTC milliseconds of the day from the clock.
quint32 drawSeedFromClock();

// k distinct row numbers (counted from 1) out of n, in the order drawn: each
// is a draw below n plus 1, drawn again while it repeats an earlier one.
// With fewer rows than wanted (n < k) every row is taken, 1 to n, so the
// draw always ends.
QVector<int> drawRows(DrawRandom &random, int n, int k);

// One candidate of the draw: a question of the subject not voided.
struct Candidate {
    QString id;        // A1
    QString chapter;   // A10
    int typeCode = 0;  // A13
};

// The condition that names the drawn questions:
// " a.A1='<last drawn>' or ... or a.A1='<first drawn>'"; empty for no id.
// Quotes inside an id are doubled so that it stays one literal.
QString selectionCondition(const QStringList &idsInDrawOrder);

// Draws count questions of the type from the candidates whose chapter code
// starts with prefix (letter case ignored, as the filter "a10 like 'p*'"
// compares), rows counted in the candidates' order, and returns the
// selection condition.  Empty when no candidate passes.
QString DrawQuestions(const QVector<Candidate> &candidates, int typeCode, int count, const QString &prefix,
                      DrawRandom &random);
// The same, reseeded from the clock as every draw is.
QString DrawQuestions(const QVector<Candidate> &candidates, int typeCode, int count, const QString &prefix);

} // namespace exam
