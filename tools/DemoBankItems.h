// Written items of the demo bank, section by section, and the reader of the
// compact text in which the content files (DemoBankItems1.h ...) hold them.
//
// The text is one record a line; "#" starts a comment line.  Fields are
// separated by "|", list entries by ";" (both ASCII: Chinese text uses the
// full-width "；" and "｜" and never clashes).
//
//   @ 010101                        the section the following lines belong to
//   K title[|text]                  a key point of the section (at least four);
//                                   without text, its text is made of the rules
//                                   of its items
//   F kp|stem|answer|w1|w2|w3|why   one rule as a sentence whose blank "（　　）"
//                                   the answer fills; the distractors fill it wrongly
//   G kp|lead|pos|neg|claim|r1;r2|w1;w2|why
//                                   a class of things: "下列<lead>中，<pos>的有",
//                                   <neg> the negated predicate (may be empty),
//                                   <claim> a statement with "%" for one entry;
//                                   r.. belong to the class, w.. do not
//   W kp|question|p1；p2；p3        a written question (short answer or essay)
//                                   with the points of its reference answer
//   C kp|material                   a case: one situation ...
//   Q question|p1;p2                ... and each of its sub-questions
//
// kp is the 0-based index of the section's key point that the item is about.
#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>
#include <string>
#include <vector>

namespace demobank::items {

inline const QString Blank = QStringLiteral("（　　）");

struct Fact {
    int kp = 0;
    QString stem, answer;
    QStringList wrong;
    QString why;
    // The sentence with the blank filled.
    QString filled(const QString &with) const
    {
        QString s = stem;
        s.replace(Blank, with);
        if (s.endsWith(u'。'))
            s.chop(1);
        return s;
    }
};

struct Set {
    int kp = 0;
    QString lead, pos, neg, claim;
    QStringList right, wrong;
    QString why;
    QString claimOf(const QString &entry) const
    {
        QString s = claim;
        s.replace(QLatin1Char('%'), entry);
        return s;
    }
};

struct Written {
    int kp = 0;
    QString question;
    QStringList points;
};

struct CaseQuestion {
    QString question;
    QStringList points;
};

struct Case {
    int kp = 0;
    QString material;
    std::vector<CaseQuestion> questions;
};

struct KeyPointText {
    QString title, text;
};

struct SectionItems {
    QString code;
    std::vector<KeyPointText> keyPoints;
    std::vector<Fact> facts;
    std::vector<Set> sets;
    std::vector<Written> written;
    std::vector<Case> cases;
};

class ContentError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline void parseInto(std::vector<SectionItems> &out, const char *utf8)
{
    const QStringList lines = QString::fromUtf8(utf8).split(QLatin1Char('\n'));
    auto fail = [](const QString &line, const char *why) {
        throw ContentError(std::string("demo bank content: ") + why + ": " + line.toStdString());
    };
    auto list = [](const QString &field) {
        QStringList l = field.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &s : l)
            s = s.trimmed();
        return l;
    };
    // Points of an answer may also be written apart by the full-width "；".
    auto points = [&](QString field) {
        field.replace(QStringLiteral("；"), QStringLiteral(";"));
        return list(field);
    };
    for (const QString &raw : lines) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QChar tag = line.at(0);
        const QStringList f = line.mid(1).trimmed().split(QLatin1Char('|'));
        if (tag == u'@') {
            out.push_back({});
            out.back().code = f.value(0).trimmed();
            if (out.back().code.size() != 6)
                fail(line, "section code");
            continue;
        }
        if (out.empty())
            fail(line, "record before the first section");
        SectionItems &s = out.back();
        auto kpOf = [&](const QString &field) {
            bool ok = false;
            const int kp = field.toInt(&ok);
            if (!ok || kp < 0 || kp >= int(s.keyPoints.size()))
                fail(line, "key point index");
            return kp;
        };
        switch (tag.unicode()) {
        case u'K':
            if (f.value(0).trimmed().isEmpty() || f.value(0).contains(QLatin1Char('(')))
                fail(line, "key point title");
            s.keyPoints.push_back({f.value(0).trimmed(), f.value(1).trimmed()});
            break;
        case u'F': {
            if (f.size() < 6)
                fail(line, "fact wants a key point, a stem, an answer, distractors and a reason");
            QStringList wrong;
            for (int i = 3; i + 1 < int(f.size()); ++i)
                wrong << f[i].trimmed();
            Fact x{kpOf(f[0]), f[1].trimmed(), f[2].trimmed(), wrong, f.back().trimmed()};
            if (x.stem.count(Blank) != 1 || x.wrong.size() < 3 || x.answer.isEmpty() || x.wrong.contains(x.answer))
                fail(line, "fact wants one blank, an answer and three distractors");
            s.facts.push_back(x);
            break;
        }
        case u'G': {
            if (f.size() != 8)
                fail(line, "set wants 8 fields");
            // A predicate may be written with its "的有" / "的是"; the forms add their own.
            auto predicate = [](QString p) {
                p = p.trimmed();
                if (p.endsWith(QStringLiteral("的有")) || p.endsWith(QStringLiteral("的是")))
                    p.chop(2);
                return p;
            };
            Set x{kpOf(f[0]), f[1].trimmed(), predicate(f[2]), predicate(f[3]), f[4].trimmed(), list(f[5]), list(f[6]), f[7].trimmed()};
            if (x.right.size() < 2 || x.wrong.size() < 2 || !x.claim.contains(QLatin1Char('%')))
                fail(line, "set wants two entries of each side and a claim with %");
            s.sets.push_back(x);
            break;
        }
        case u'W':
            if (f.size() != 3 || points(f[2]).size() < 2)
                fail(line, "written question wants 3 fields and two points");
            s.written.push_back({kpOf(f[0]), f[1].trimmed(), points(f[2])});
            break;
        case u'C':
            if (f.size() != 2)
                fail(line, "case wants 2 fields");
            s.cases.push_back({kpOf(f[0]), f[1].trimmed(), {}});
            break;
        case u'Q':
            if (s.cases.empty() || f.size() != 2 || points(f[1]).isEmpty())
                fail(line, "case question without its case or points");
            s.cases.back().questions.push_back({f[0].trimmed(), points(f[1])});
            break;
        default: fail(line, "unknown record");
        }
    }
    for (const SectionItems &s : out)
        if (s.keyPoints.size() < 4)
            throw ContentError("demo bank content: section " + s.code.toStdString() + " has fewer than four key points");
}

} // namespace demobank::items
