// The demo question bank generator.
//
// Layout of the codes it writes:
//   chapters   "0" book, "01".."05" parts (one per edition), "0101" chapters,
//              "010101" sections, and the placeholder row "xx";
//   questions  section code + type code + 4-digit sequence ("010101610003");
//   materials  section code + type code + "CASE" + 4-digit sequence
//              ("05010364CASE0002"), their sub-questions the material id +
//              "-" + 2-digit number ("05010364CASE0002-03");
//   key points heading "1".."5" (one per part), heading part digit + chapter
//              digit ("11"), group heading + 4-digit sequence ("110002",
//              one group per section), key point group + 3 digits
//              ("110002004").
// Everything is drawn from one seeded generator, so a seed always gives the
// same bank.  All rows are written in one transaction with prepared
// statements; counters (C3, q) are the exact counts of what was written.
#include "DemoBank.h"

#include "DemoBankContent.h"
#include "platform/RichText.h"
#include "store/DbError.h"
#include "store/Schema.h"

#include <QAtomicInt>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <exception>
#include <map>
#include <memory>
#include <vector>

namespace demobank {

namespace {

namespace ct = content;

// ---------------------------------------------------------------- random

// SplitMix64: small, fast and the same on every platform and compiler (the
// standard distributions are not), which keeps banks reproducible.
class Rng {
public:
    explicit Rng(quint64 seed) : m_state(seed) {}
    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    int below(int n) { return n <= 1 ? 0 : int((next() >> 11) % quint64(n)); }
    int between(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool percent(int p) { return below(100) < p; }
    template <class T> void shuffle(std::vector<T> &v)
    {
        for (int i = int(v.size()) - 1; i > 0; --i)
            std::swap(v[i], v[below(i + 1)]);
    }
    // k distinct values drawn from the list, in random order.
    std::vector<int> sample(std::vector<int> from, int k)
    {
        shuffle(from);
        from.resize(std::min<size_t>(from.size(), size_t(std::max(k, 0))));
        return from;
    }
    std::vector<int> sample(int n, int k)
    {
        std::vector<int> all(n);
        for (int i = 0; i < n; ++i)
            all[i] = i;
        return sample(std::move(all), k);
    }

private:
    quint64 m_state;
};

QString u8(const char *s) { return QString::fromUtf8(s); }

QString chineseNumber(int n)
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

QString pad(int value, int width) { return QStringLiteral("%1").arg(value, width, 10, QLatin1Char('0')); }
QString letter(int i) { return QString(QChar(u'A' + i)); }
QString number(double v, int decimals) { return QString::number(v, 'f', decimals); }

// ----------------------------------------------------------- composition

// How many questions one paper draws per subject, type and part.
struct Draw {
    int subject, type, part, count;
};
constexpr Draw Composition[] = {
    {1, 61, 1, 25}, {1, 61, 5, 15}, {1, 65, 1, 9}, {1, 65, 5, 6},
    {1, 71, 1, 26}, {1, 71, 5, 14}, {1, 73, 1, 8}, {1, 73, 5, 7},
    {2, 61, 2, 35}, {2, 65, 2, 15}, {2, 71, 2, 15}, {2, 74, 2, 2},
    {3, 61, 3, 35}, {3, 65, 3, 15}, {3, 71, 3, 15}, {3, 74, 3, 2},
    {4, 62, 4, 10}, {4, 75, 4, 3}, {4, 76, 4, 1}, {4, 77, 4, 1},
    {5, 64, 5, 6},
};

struct TypeInfo {
    int code;
    const char *name;
    double score;     // B3
    double minutes;   // time
};
// Subjective names are the ones the authoring windows recognise ("简答",
// "计算", "论述", "综合", "案例分析"); the several-answers type 73 is
// called "配伍题" so that no objective type name contains one of them.
constexpr TypeInfo Types[] = {
    {61, "单项选择题", 1, 1},   {62, "单项选择题", 2, 1.5}, {64, "案例分析题", 15, 12},
    {65, "多项选择题", 2, 1.5}, {71, "判断题", 1, 0.5},     {73, "配伍题", 2, 2},
    {74, "简答题", 10, 8},      {75, "计算题", 10, 10},     {76, "论述题", 20, 15},
    {77, "综合题", 30, 15},
};

const TypeInfo &typeInfo(int code)
{
    for (const TypeInfo &t : Types)
        if (t.code == code)
            return t;
    return Types[0];
}

bool isSubjective(int type) { return type == 64 || (type >= 74 && type <= 77); }

// Share (percent) of a type's questions that come as sub-questions of a
// shared material, and the number of sub-questions per material.
struct MaterialShape {
    int share, minSubs, maxSubs;
};
MaterialShape materialShape(int type)
{
    switch (type) {
    case 64: return {100, 3, 5};
    case 73: return {40, 3, 4};
    case 75: return {40, 2, 2};   // capacity, then utilisation
    case 76: return {25, 2, 2};
    case 77: return {60, 2, 3};
    default: return {0, 0, 0};
    }
}

// ------------------------------------------------------------------ plan

struct Unit {
    int type;
    int subs;   // 0: an ordinary question; otherwise a material with this many sub-questions
};

struct KeyPoint {
    QString ftid;
    QString title;
    int term;
    int aspect;
    bool citable;
    int q = 0;
};

struct Section {
    QString code;   // 6 characters
    QString name;   // without "第n节"
    int part;       // 0-based
    int chapter;    // 0-based within the part
    int index;      // 0-based within the chapter
    std::vector<Unit> units;
    QString groupId;
    std::vector<KeyPoint> keyPoints;
    int groupQ = 0;
};

struct ChapterPlan {
    int firstSection = 0;
    int sectionCount = 0;
};

// Questions per (type, part) group: three times what a paper draws, plus a
// share of the rest of the wanted total in proportion to the draw (small
// groups get a little extra so that they are not all drawn every time).
std::vector<int> groupCounts(int total)
{
    const int n = int(std::size(Composition));
    std::vector<int> counts(n), weights(n);
    long long minimum = 0, weightSum = 0;
    for (int i = 0; i < n; ++i) {
        counts[i] = 3 * Composition[i].count;
        weights[i] = Composition[i].count + 2;
        minimum += counts[i];
        weightSum += weights[i];
    }
    const long long extra = std::max(0LL, total - minimum);
    std::vector<std::pair<long long, int>> remainders;
    long long given = 0;
    for (int i = 0; i < n; ++i) {
        const long long share = extra * weights[i];
        counts[i] += int(share / weightSum);
        given += share / weightSum;
        remainders.push_back({share % weightSum, i});
    }
    std::stable_sort(remainders.begin(), remainders.end(),
                     [](const auto &a, const auto &b) { return a.first > b.first; });
    for (long long k = 0; k < extra - given; ++k)
        ++counts[remainders[size_t(k)].second];
    return counts;
}

// ------------------------------------------------------------- the writer

class Generator {
public:
    Generator(QSqlDatabase &db, const Options &options)
        : m_db(db), m_rng(quint64(options.seed) * 0x100000001B3ull + 0x5EED),
          m_total(options.questions > 0 ? options.questions : DemoQuestions),
          m_wantedGroups(options.keyPointGroups), m_wantedKeyPoints(options.keyPoints)
    {
    }

    void run();

private:
    // planning
    void planSections();
    void planKeyPoints();
    // writing
    void writeSection(Section &s);
    void writeQuestion(const Section &s, const QString &id, int type, const QString &key, int options,
                       const QString &body, const QString &jx, int primaryTerm, int &xx);
    void writeChapters();
    void writeKeyPoints();
    void writeExtraKeyPoints();
    void writeSettings();
    QSqlQuery prepare(const QString &sql);
    void exec(QSqlQuery &q);
    void exec(const QString &sql, const QVariantList &binds);

    // text
    struct Text {
        QString body, jx, key;
        int options = 1;
    };
    const ct::ChapterText &chapterText(const Section &s) const { return ct::Parts[s.part].chapters[s.chapter]; }
    QString term(const Section &s, int t) const { return u8(chapterText(s).terms[t]); }
    int termCount(const Section &s) const { return int(chapterText(s).terms.size()); }
    int canon(const Section &s, int t, int poolSize, int salt) const
    {
        return (s.part * 37 + s.chapter * 11 + t * 5 + salt) % poolSize;
    }
    Text objective(const Section &s, int type, int t, const QString &prefix);
    Text trueFalse(const Section &s, int t);
    Text shortAnswer(const Section &s, int t);
    Text essay(const Section &s, int t, const QString &prefix);
    Text calculation(const QString &prefix, int kind, const std::vector<double> &data);
    std::vector<double> calculationData(int kind);
    QString calculationMaterial(int kind, const std::vector<double> &data);
    QString scenarioMaterial(const Section &s);
    QString incidentMaterial(const Section &s, QStringList &lapses);
    QStringList truePoints(const Section &s, int t, int n);
    QStringList keyPointsFor(const Section &s, int t);

    QSqlDatabase &m_db;
    Rng m_rng;
    int m_total;
    int m_wantedGroups, m_wantedKeyPoints;
    std::vector<Section> m_sections;
    std::vector<std::vector<ChapterPlan>> m_chapters;   // [part][chapter]
    QHash<QString, int> m_prefixCount;                  // questions per chapter code prefix
    QHash<QString, int> m_headingQ;                     // key-point heading id -> questions
    std::map<QString, KeyPoint *> m_keyPointById;
    QHash<QString, int> m_groupSection;                 // group id -> section index

    std::unique_ptr<QSqlQuery> m_insAnsw, m_insExer, m_insTitle;
};

QSqlQuery Generator::prepare(const QString &sql)
{
    QSqlQuery q(m_db);
    if (!q.prepare(sql))
        throw store::DbError(q.lastError().text());
    return q;
}

void Generator::exec(QSqlQuery &q)
{
    if (!q.exec())
        throw store::DbError(q.lastError().text());
}

void Generator::exec(const QString &sql, const QVariantList &binds)
{
    QSqlQuery q = prepare(sql);
    for (const QVariant &v : binds)
        q.addBindValue(v);
    exec(q);
}

// Sections per part follow the number of questions (about 30 a section, at
// most 99 per chapter); the named sections of the book come first, further
// ones repeat their topics as "（二）", "（三）" ....
void Generator::planSections()
{
    const std::vector<int> counts = groupCounts(m_total);
    const int partCount = int(ct::Parts.size());
    std::vector<int> partTotal(partCount, 0);
    for (size_t i = 0; i < counts.size(); ++i)
        partTotal[Composition[i].part - 1] += counts[i];

    m_chapters.assign(partCount, {});
    for (int p = 0; p < partCount; ++p) {
        const auto &chapters = ct::Parts[p].chapters;
        const int chapterCount = int(chapters.size());
        int named = 0;
        for (const auto &c : chapters)
            named += int(c.sections.size());
        const int wanted = std::min(chapterCount * 99, std::max(named, (partTotal[p] + 29) / 30));
        std::vector<int> perChapter(chapterCount);
        for (int c = 0; c < chapterCount; ++c)
            perChapter[c] = int(chapters[c].sections.size());
        for (int extra = wanted - named, c = 0; extra > 0; c = (c + 1) % chapterCount) {
            if (perChapter[c] < 99) {
                ++perChapter[c];
                --extra;
            }
        }
        m_chapters[p].resize(chapterCount);
        for (int c = 0; c < chapterCount; ++c) {
            m_chapters[p][c].firstSection = int(m_sections.size());
            m_chapters[p][c].sectionCount = perChapter[c];
            const int namedHere = int(chapters[c].sections.size());
            for (int k = 0; k < perChapter[c]; ++k) {
                Section s;
                s.part = p;
                s.chapter = c;
                s.index = k;
                s.code = pad(p + 1, 2) + pad(c + 1, 2) + pad(k + 1, 2);
                s.name = u8(chapters[c].sections[k % namedHere]);
                if (k >= namedHere)
                    s.name += u8("（") + chineseNumber(k / namedHere + 1) + u8("）");
                m_sections.push_back(s);
            }
        }
    }

    // The questions of each (type, part) group, as ordinary questions and
    // materials, spread evenly over the sections of the part.
    for (size_t g = 0; g < counts.size(); ++g) {
        const Draw &d = Composition[g];
        const MaterialShape shape = materialShape(d.type);
        std::vector<Unit> units;
        for (int remaining = counts[g]; remaining > 0;) {
            if (shape.share > 0 && remaining >= 2 && m_rng.percent(shape.share)) {
                int k = std::min(remaining, m_rng.between(shape.minSubs, shape.maxSubs));
                if (shape.share == 100 && remaining - k < shape.minSubs)
                    k = remaining;   // a case never ends with a lone sub-question
                units.push_back({d.type, k});
                remaining -= k;
            } else if (shape.share == 100) {
                units.push_back({d.type, remaining});
                remaining = 0;
            } else {
                units.push_back({d.type, 0});
                --remaining;
            }
        }
        std::vector<int> partSections;
        for (size_t i = 0; i < m_sections.size(); ++i)
            if (m_sections[i].part == d.part - 1)
                partSections.push_back(int(i));
        const long long S = static_cast<long long>(partSections.size()), U = static_cast<long long>(units.size());
        for (long long j = 0; j < U; ++j)
            m_sections[size_t(partSections[size_t(j * S / U)])].units.push_back(units[size_t(j)]);
    }
    for (Section &s : m_sections)
        std::stable_sort(s.units.begin(), s.units.end(), [](const Unit &a, const Unit &b) { return a.type < b.type; });
}

// One key-point group per section, 4 to 8 key points on the chapter's terms;
// now and then the last one is reading matter that no question cites.
void Generator::planKeyPoints()
{
    for (size_t i = 0; i < m_sections.size(); ++i) {
        Section &s = m_sections[i];
        s.groupId = QString::number(s.part + 1) + QString::number(s.chapter + 1) + pad(s.index + 1, 4);
        m_groupSection.insert(s.groupId, int(i));
        const int n = m_rng.between(4, 8);
        const int terms = termCount(s);
        const int aspects = int(ct::Aspects.size());
        QSet<int> used;
        const int start = m_rng.below(terms);
        for (int k = 0; k < n; ++k) {
            int t = (start + k) % terms, a = m_rng.below(aspects);
            while (used.contains(t * aspects + a))
                a = (a + 1) % aspects;
            used.insert(t * aspects + a);
            KeyPoint kp;
            kp.ftid = s.groupId + pad(k + 1, 3);
            kp.term = t;
            kp.aspect = a;
            kp.title = term(s, t) + u8("的") + u8(ct::Aspects[a]);
            // Titles are stored as fixed-width text now and then; readers trim them.
            if (m_rng.percent(30))
                kp.title += QString(std::max(2, 16 - int(kp.title.size())), QLatin1Char(' '));
            kp.citable = !(k == n - 1 && m_rng.percent(25));
            s.keyPoints.push_back(kp);
        }
    }
    for (Section &s : m_sections)
        for (KeyPoint &kp : s.keyPoints)
            m_keyPointById[kp.ftid] = &kp;
}

// 0 to 4 key points: mostly of the section's own group, the ones on the
// question's term first, sometimes one of a neighbouring section.
QStringList Generator::keyPointsFor(const Section &s, int t)
{
    static const int weights[] = {12, 35, 30, 15, 8};
    int roll = m_rng.below(100), n = 0;
    while (roll >= weights[n]) {
        roll -= weights[n];
        ++n;
    }
    std::vector<int> same, other;
    for (int k = 0; k < int(s.keyPoints.size()); ++k) {
        if (!s.keyPoints[size_t(k)].citable)
            continue;
        (s.keyPoints[size_t(k)].term == t ? same : other).push_back(k);
    }
    m_rng.shuffle(same);
    m_rng.shuffle(other);
    same.insert(same.end(), other.begin(), other.end());
    QStringList out;
    for (int k : same) {
        if (out.size() >= n)
            break;
        out << s.keyPoints[size_t(k)].ftid;
    }
    const ChapterPlan &cp = m_chapters[size_t(s.part)][size_t(s.chapter)];
    if (n > 0 && out.size() < 4 && cp.sectionCount > 1 && m_rng.percent(20)) {
        const int other = cp.firstSection + (s.index + 1 + m_rng.below(cp.sectionCount - 1)) % cp.sectionCount;
        std::vector<int> citable;
        const Section &o = m_sections[size_t(other)];
        for (int k = 0; k < int(o.keyPoints.size()); ++k)
            if (o.keyPoints[size_t(k)].citable)
                citable.push_back(k);
        if (!citable.empty())
            out << o.keyPoints[size_t(citable[size_t(m_rng.below(int(citable.size())))])].ftid;
    }
    return out;
}

// ------------------------------------------------------------ question text

QStringList Generator::truePoints(const Section &s, int t, int n)
{
    QStringList out;
    for (int i : m_rng.sample(8, n))   // the first eight predicates state the rules
        out << term(s, t) + u8(ct::Predicates[size_t(i)]);
    return out;
}

// Objective questions of one stem kind: the correct options are the term's
// canonical entry (single choice) or sensible entries of the pool; the
// distractors come from the same pool.
Generator::Text Generator::objective(const Section &s, int type, int t, const QString &prefix)
{
    enum Kind { Purpose, Basis, Party, Action, Statement, Period };
    const bool single = (type == 61 || type == 62);
    const Kind kind = Kind(m_rng.below(single ? 6 : 5));
    const QString tm = term(s, t);

    Text out;
    int keyCount = 1;
    if (single) {
        out.options = m_rng.percent(30) ? 5 : 4;
    } else if (type == 65) {
        out.options = m_rng.percent(80) ? 5 : 4;
        keyCount = m_rng.between(2, out.options - 1);
    } else {   // 73: any number of right options
        out.options = m_rng.percent(50) ? 5 : 4;
        keyCount = m_rng.between(1, out.options - 1);
    }

    const std::vector<const char *> *pool = nullptr;
    std::vector<int> right, wrong;
    auto split = [&](int goodCount) {   // entries [0, goodCount) are sensible, the rest are not
        std::vector<int> good, bad;
        for (int i = 0; i < int(pool->size()); ++i)
            (i < goodCount ? good : bad).push_back(i);
        keyCount = std::min(keyCount, goodCount);
        keyCount = std::max(keyCount, out.options - int(bad.size()));
        right = m_rng.sample(good, keyCount);
        wrong = m_rng.sample(bad, out.options - keyCount);
    };
    auto neutral = [&](int salt) {
        const int n = int(pool->size());
        std::vector<int> all = m_rng.sample(n, n);
        if (single) {
            const int c = canon(s, t, n, salt);
            all.erase(std::find(all.begin(), all.end(), c));
            all.insert(all.begin(), c);
        }
        right.assign(all.begin(), all.begin() + keyCount);
        wrong.assign(all.begin() + keyCount, all.begin() + out.options);
    };

    QString stem;
    switch (kind) {
    case Purpose:
        pool = &ct::Purposes;
        neutral(1);
        stem = single ? u8("%1的主要目的是（　　）。") : u8("%1的主要作用包括（　　）。");
        break;
    case Basis:
        pool = &ct::Bases;
        neutral(2);
        stem = single ? u8("开展%1有关工作时，首要的依据是（　　）。") : u8("开展%1有关工作时，应当考虑的因素有（　　）。");
        break;
    case Party:
        pool = &ct::Parties;
        neutral(3);
        stem = single ? u8("按照%2的有关规定，负责%1有关工作的是（　　）。") : u8("下列单位中，参与%1有关工作的有（　　）。");
        break;
    case Action:
        pool = &ct::Actions;
        split(3);   // sensible actions: verify, coordinate, record and report
        {
            // Actions 0, 1 and 6 are the sensible ones; the pool order puts them apart.
            static const int order[] = {0, 1, 6, 2, 3, 4, 5, 7};
            for (int &i : right)
                i = order[i];
            for (int &i : wrong)
                i = order[i];
        }
        stem = single ? u8("调度员在处理%1有关事项时，最恰当的做法是（　　）。") : u8("调度员在处理%1有关事项时，正确的做法有（　　）。");
        break;
    case Statement:
        pool = &ct::Predicates;
        split(8);
        stem = single ? u8("下列关于%1的表述中，正确的是（　　）。") : u8("下列关于%1的表述中，正确的有（　　）。");
        break;
    case Period:
        pool = &ct::Periods;
        neutral(4);
        stem = u8("%1的有关记录至少应当保存（　　）。");
        break;
    }
    stem = stem.contains(QLatin1String("%2")) ? stem.arg(tm, s.name) : stem.arg(tm);

    // Place the options: positions of the right ones become the key.
    std::vector<int> order = m_rng.sample(out.options, out.options);
    std::vector<int> entries(size_t(out.options));
    for (int i = 0; i < out.options; ++i) {
        const int slot = order[size_t(i)];
        entries[size_t(slot)] = i < keyCount ? right[size_t(i)] : wrong[size_t(i - keyCount)];
    }
    std::vector<int> keySlots(order.begin(), order.begin() + keyCount);
    std::sort(keySlots.begin(), keySlots.end());
    QString body = prefix + stem;
    for (int i = 0; i < out.options; ++i)
        body += u8("\n") + letter(i) + QStringLiteral(". ") + u8((*pool)[size_t(entries[size_t(i)])]);
    QStringList rightTexts;
    for (int slot : keySlots) {
        out.key += letter(slot);
        rightTexts << u8((*pool)[size_t(entries[size_t(slot)])]);
    }
    const QString joined = rightTexts.join(u8("、"));
    QString reason;
    switch (kind) {
    case Purpose: reason = u8("%1的主要目的在于%2。").arg(tm, joined); break;
    case Basis: reason = u8("开展%1有关工作时，应以%2为依据。").arg(tm, joined); break;
    case Party: reason = u8("%1有关工作由%2负责或参与。").arg(tm, joined); break;
    case Action: reason = u8("处理%1有关事项时，应当%2。").arg(tm, joined); break;
    case Statement: reason = u8("%1%2。").arg(tm, rightTexts.join(u8("；"))); break;
    case Period: reason = u8("按照规定，%1的有关记录至少保存%2。").arg(tm, joined); break;
    }
    out.body = body;
    out.jx = u8("【答案】%1\n【解析】本题考查“%2”的有关知识。%3其余选项不符合%4的有关要求。")
                 .arg(out.key, tm, reason, s.name);
    return out;
}

Generator::Text Generator::trueFalse(const Section &s, int t)
{
    const QString tm = term(s, t);
    Text out;
    out.options = 2;
    QString statement, truth;
    bool right = true;
    switch (m_rng.below(3)) {
    case 0: {
        const int p = m_rng.below(int(ct::Predicates.size()));
        right = p < 8;
        statement = tm + u8(ct::Predicates[size_t(p)]);
        truth = right ? statement : tm + u8(ct::Predicates[size_t(m_rng.below(8))]);
        break;
    }
    case 1: {
        const int c = canon(s, t, int(ct::Periods.size()), 4);
        const int said = m_rng.percent(50) ? c : m_rng.below(int(ct::Periods.size()));
        right = said == c;
        statement = u8("%1的有关记录至少应当保存%2").arg(tm, u8(ct::Periods[size_t(said)]));
        truth = u8("%1的有关记录至少应当保存%2").arg(tm, u8(ct::Periods[size_t(c)]));
        break;
    }
    default: {
        const int c = canon(s, t, int(ct::Parties.size()), 3);
        const int said = m_rng.percent(50) ? c : m_rng.below(int(ct::Parties.size()));
        right = said == c;
        statement = u8("%1有关工作由%2负责").arg(tm, u8(ct::Parties[size_t(said)]));
        truth = u8("%1有关工作由%2负责").arg(tm, u8(ct::Parties[size_t(c)]));
        break;
    }
    }
    out.key = right ? QStringLiteral("A") : QStringLiteral("B");
    out.body = statement + u8("。（　　）\nA. 对\nB. 错");
    out.jx = right ? u8("【答案】对\n【解析】%1。本题表述正确。").arg(truth)
                   : u8("【答案】错\n【解析】%1，本题表述错误。").arg(truth);
    return out;
}

Generator::Text Generator::shortAnswer(const Section &s, int t)
{
    const QString tm = term(s, t);
    Text out;
    switch (m_rng.below(3)) {
    case 0: out.body = u8("简述%1的%2。").arg(tm, u8(ct::Aspects[size_t(m_rng.below(int(ct::Aspects.size())))])); break;
    case 1: out.body = u8("简述在%1工作中做好%2的主要措施。").arg(s.name, tm); break;
    default: {
        const int other = (t + 1 + m_rng.below(termCount(s) - 1)) % termCount(s);
        out.body = u8("%1与%2有何联系与区别？请简要说明。").arg(tm, term(s, other));
    }
    }
    const QStringList points = truePoints(s, t, 3);
    out.jx = u8("【参考答案】\n（1）%1；\n（2）%2，以%3为目标；\n（3）%4。\n【评分说明】答出主要要点即可得分，表述不必与参考答案完全一致。")
                 .arg(points[0], points[1], u8(ct::Purposes[size_t(m_rng.below(int(ct::Purposes.size())))]), points[2]);
    return out;
}

Generator::Text Generator::essay(const Section &s, int t, const QString &prefix)
{
    const QString tm = term(s, t);
    const QString chapter = u8(chapterText(s).name);
    Text out;
    switch (m_rng.below(3)) {
    case 0: out.body = u8("试论述%1在%2工作中的地位和作用。").arg(tm, chapter); break;
    case 1: out.body = u8("结合港口生产实际，论述如何做好%1工作。").arg(tm); break;
    default: {
        const int other = (t + 1 + m_rng.below(termCount(s) - 1)) % termCount(s);
        out.body = u8("试论述%1与%2的关系，并说明调度工作中应当如何统筹兼顾。").arg(tm, term(s, other));
    }
    }
    out.body = prefix + out.body;
    const QStringList points = truePoints(s, t, 4);
    const std::vector<int> aims = m_rng.sample(int(ct::Purposes.size()), 2);
    out.jx = u8("【参考答案要点】\n一、%1；\n二、%2；\n三、%3，做到%4；\n四、%5，最终实现%6。\n"
                "【评分说明】论点明确、论据充分、条理清楚的，可酌情给分。")
                 .arg(points[0], points[1], points[2], u8(ct::Purposes[size_t(aims[0])]), points[3],
                      u8(ct::Purposes[size_t(aims[1])]));
    return out;
}

// Calculations of the dispatch practice; the numbers are drawn and the
// explanation carries the worked solution.
enum CalcKind { Capacity, Utilisation, TimeInPort, CraneRate, HandlingRatio, CalcKinds };

std::vector<double> Generator::calculationData(int kind)
{
    switch (kind) {
    case Capacity:   // berths, days, tonnes per call, hours per call
        return {double(m_rng.between(2, 6)), double(m_rng.between(300, 340)), double(m_rng.between(16, 80) * 500),
                double(m_rng.between(20, 60))};
    case Utilisation:   // days, occupied hours
        return {double(m_rng.between(28, 31)), double(m_rng.between(300, 700))};
    case TimeInPort:   // waiting, berthing, working, leaving hours
        return {double(m_rng.between(2, 30)), double(m_rng.between(1, 4)), double(m_rng.between(12, 60)),
                double(m_rng.between(1, 5))};
    case CraneRate:   // cranes, hours, tonnes
        return {double(m_rng.between(2, 5)), double(m_rng.between(8, 24)), double(m_rng.between(40, 160) * 100)};
    default:   // throughput, handling volume (10 000 t)
        return {double(m_rng.between(100, 900)), 0.0};
    }
}

QString Generator::calculationMaterial(int kind, const std::vector<double> &d)
{
    const QString port = u8(ct::Ports[size_t(m_rng.below(int(ct::Ports.size())))]);
    switch (kind) {
    case Capacity:
    case Utilisation:
        return u8("【背景资料】%1某港区有通用泊位%2个，泊位年营运天数为%3天。该港区到港船舶平均每艘次装卸货物%4吨，"
                  "平均每艘次占用泊位时间（含辅助作业时间）为%5小时。")
            .arg(port, number(d[0], 0), number(d[1], 0), number(d[2], 0), number(d[3], 0));
    case TimeInPort:
        return u8("【背景资料】%1某船本航次在港期间：锚地待泊%2小时，靠泊及准备%3小时，装卸作业%4小时，离泊及其他%5小时。")
            .arg(port, number(d[0], 0), number(d[1], 0), number(d[2], 0), number(d[3], 0));
    default:
        return u8("【背景资料】%1某码头作业线配备门座起重机%2台，某工班连续作业%3小时，共完成装卸%4吨。")
            .arg(port, number(d[0], 0), number(d[1], 0), number(d[2], 0));
    }
}

// One calculation.  With data of a material the body only asks; otherwise
// it states the data itself.
Generator::Text Generator::calculation(const QString &prefix, int kind, const std::vector<double> &d)
{
    Text out;
    const bool own = prefix.isEmpty();
    switch (kind) {
    case Capacity: {
        const double calls = d[1] * 24.0 / d[3];
        const double capacity = d[0] * std::floor(calls) * d[2] / 10000.0;
        out.body = own ? u8("某港区有通用泊位%1个，泊位年营运天数为%2天，到港船舶平均每艘次装卸货物%3吨，"
                            "平均每艘次占用泊位时间为%4小时（含辅助作业时间）。试计算该港区泊位的年通过能力。")
                             .arg(number(d[0], 0), number(d[1], 0), number(d[2], 0), number(d[3], 0))
                       : u8("试计算该港区泊位的年通过能力。");
        out.jx = u8("【解】单个泊位年可接纳船舶艘次 = %1×24÷%2 ≈ %3（艘次，取整）；\n"
                    "泊位年通过能力 = %4×%3×%5 = %6（万吨）。\n【答】该港区泊位年通过能力约为%6万吨。")
                     .arg(number(d[1], 0), number(d[3], 0), number(std::floor(calls), 0), number(d[0], 0),
                          number(d[2], 0), number(capacity, 2));
        break;
    }
    case Utilisation: {
        // With the capacity data: a month of 30 days with a share of the berth time occupied.
        const double days = own ? d[0] : 30.0;
        const double hours = own ? d[1] : double(m_rng.between(45, 90) * 720 / 100);
        const double rate = hours / (days * 24.0) * 100.0;
        out.body = own ? u8("某泊位统计期为%1天，期内船舶占用泊位时间合计%2小时。试计算该泊位在统计期内的泊位利用率。")
                             .arg(number(days, 0), number(hours, 0))
                       : u8("若某月（按30天计）该港区每个泊位平均被船舶占用%1小时，试计算该月的泊位利用率。")
                             .arg(number(hours, 0));
        out.jx = u8("【解】泊位利用率 = 占用泊位时间÷日历时间×100% = %1÷(%2×24)×100% ≈ %3%。\n【答】泊位利用率约为%3%。")
                     .arg(number(hours, 0), number(days, 0), number(rate, 2));
        break;
    }
    case TimeInPort: {
        const double total = d[0] + d[1] + d[2] + d[3];
        const double share = d[2] / total * 100.0;
        out.body = own ? u8("某船在港期间：锚地待泊%1小时，靠泊及准备%2小时，装卸作业%3小时，离泊及其他%4小时。"
                            "试计算该船的在港停时及装卸作业时间占在港停时的比例。")
                             .arg(number(d[0], 0), number(d[1], 0), number(d[2], 0), number(d[3], 0))
                       : u8("试计算该船的在港停时及装卸作业时间所占的比例。");
        out.jx = u8("【解】在港停时 = %1+%2+%3+%4 = %5（小时）；\n装卸作业时间比例 = %3÷%5×100% ≈ %6%。\n"
                    "【答】在港停时为%5小时，其中装卸作业时间约占%6%。")
                     .arg(number(d[0], 0), number(d[1], 0), number(d[2], 0), number(d[3], 0), number(total, 0),
                          number(share, 2));
        break;
    }
    case CraneRate: {
        const double rate = d[2] / (d[0] * d[1]);
        out.body = own ? u8("某作业线配备门座起重机%1台，连续作业%2小时，共完成装卸%3吨。试计算该作业线的台时效率。")
                             .arg(number(d[0], 0), number(d[1], 0), number(d[2], 0))
                       : u8("试计算该作业线的台时效率。");
        out.jx = u8("【解】台时效率 = 装卸吨数÷(起重机台数×作业小时) = %1÷(%2×%3) ≈ %4（吨/台时）。\n【答】台时效率约为%4吨/台时。")
                     .arg(number(d[2], 0), number(d[0], 0), number(d[1], 0), number(rate, 2));
        break;
    }
    default: {
        const double throughput = d[0];
        const double ratio = 1.0 + double(m_rng.between(10, 90)) / 100.0;
        const double handled = std::round(throughput * ratio);
        out.body = u8("某港某年完成货物吞吐量%1万吨，完成装卸操作量%2万吨。试计算该港的操作系数，并说明其含义。")
                       .arg(number(throughput, 0), number(handled, 0));
        out.jx = u8("【解】操作系数 = 操作量÷吞吐量 = %1÷%2 ≈ %3。\n"
                    "【答】操作系数约为%3，表示每吨货物在港平均经过%3次装卸操作；该值越接近1，说明直取作业比例越高。")
                     .arg(number(handled, 0), number(throughput, 0), number(handled / throughput, 2));
    }
    }
    out.body = prefix + out.body;
    return out;
}

QString Generator::scenarioMaterial(const Section &s)
{
    const QString port = u8(ct::Ports[size_t(m_rng.below(int(ct::Ports.size())))]);
    const QString ship = u8(ct::Ships[size_t(m_rng.below(int(ct::Ships.size())))]) + QString::number(m_rng.between(1, 28));
    const int eta = m_rng.between(0, 23);
    return u8("【材料】%1调度中心某日接到“%2”轮的进港靠泊申请。该船总长%3米，满载吃水%4米，载运%5%6吨，预计%7时抵达锚地。"
              "当日%8，港内%9号泊位正在作业，预计%10时完工。请根据材料，结合%11的有关知识回答下列问题。")
        .arg(port, ship, QString::number(m_rng.between(120, 290)), number(m_rng.between(80, 150) / 10.0, 1),
             u8(ct::Cargoes[size_t(m_rng.below(int(ct::Cargoes.size())))]), QString::number(m_rng.between(8, 90) * 1000),
             QString::number(eta), u8(ct::Weathers[size_t(m_rng.below(int(ct::Weathers.size())))]),
             QString::number(m_rng.between(1, 16)))
        .arg(QString::number((eta + m_rng.between(2, 10)) % 24), s.name);
}

QString Generator::incidentMaterial(const Section &s, QStringList &lapses)
{
    const QString port = u8(ct::Ports[size_t(m_rng.below(int(ct::Ports.size())))]);
    const QString ship = u8(ct::Ships[size_t(m_rng.below(int(ct::Ships.size())))]) + QString::number(m_rng.between(1, 28));
    const std::vector<int> picked = m_rng.sample(int(ct::Lapses.size()), 2);
    lapses = QStringList{u8(ct::Lapses[size_t(picked[0])]), u8(ct::Lapses[size_t(picked[1])])};
    return u8("【案例】%1%2号泊位，“%3”轮于某日%4时许%5。当时%6。事件发生后，现场人员立即报告港口调度中心，"
              "调度中心启动相应应急预案，协调有关单位开展处置，未造成人员伤亡。\n经初步调查：%7；%8。"
              "事后，港口经营人组织开展了调查，并对%9工作进行了检查。")
        .arg(port, QString::number(m_rng.between(1, 16)), ship, QString::number(m_rng.between(0, 23)),
             u8(ct::Incidents[size_t(m_rng.below(int(ct::Incidents.size())))]),
             u8(ct::Weathers[size_t(m_rng.below(int(ct::Weathers.size())))]), lapses[0], lapses[1])
        .arg(s.name);
}

// ------------------------------------------------------------------ writing

void Generator::writeQuestion(const Section &s, const QString &id, int type, const QString &key, int options,
                              const QString &body, const QString &jx, int primaryTerm, int &xx)
{
    const QStringList kps = keyPointsFor(s, primaryTerm);
    QSqlQuery &a = *m_insAnsw;
    a.bindValue(0, id);
    a.bindValue(1, key);
    a.bindValue(2, options);
    for (int k = 0; k < 10; ++k)
        a.bindValue(3 + k, k < kps.size() ? QVariant(kps[k]) : QVariant(QMetaType::fromType<QString>()));
    a.bindValue(13, s.code);
    a.bindValue(14, type);
    a.bindValue(15, ++xx);
    exec(a);

    QSqlQuery &e = *m_insExer;
    e.bindValue(0, id);
    e.bindValue(1, richtext::plainTextToRtf(body));
    e.bindValue(2, jx.isNull() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(richtext::plainTextToRtf(jx)));
    exec(e);

    for (int len : {1, 2, 4, 6})
        ++m_prefixCount[s.code.left(len)];
    QSet<QString> groups, headings;
    for (const QString &ftid : kps) {
        ++m_keyPointById.at(ftid)->q;
        groups.insert(ftid.left(6));
        headings.insert(ftid.left(1));
        headings.insert(ftid.left(2));
    }
    for (const QString &g : groups)
        ++m_sections[size_t(m_groupSection.value(g))].groupQ;
    for (const QString &h : headings)
        ++m_headingQ[h];
}

void Generator::writeSection(Section &s)
{
    QHash<int, int> ordinarySeq, materialSeq;
    int xx = 0;
    const int terms = termCount(s);
    auto withoutExplanationSometimes = [&](Text &t) {
        if (m_rng.percent(12))
            t.jx = QString();
    };
    auto subjective = [](Text &t) {
        t.key = QStringLiteral("1");
        t.options = 1;
    };
    for (const Unit &u : s.units) {
        const QString typeCode = QString::number(u.type);
        if (u.subs == 0) {
            const int seq = ++ordinarySeq[u.type];
            if (seq > 9999)
                throw store::DbError(QStringLiteral("demo bank: more than 9999 questions of one type in section ") + s.code);
            const QString id = s.code + typeCode + pad(seq, 4);
            const int t = m_rng.below(terms);
            Text text;
            switch (u.type) {
            case 61:
            case 62:
            case 65:
            case 73:
                text = objective(s, u.type, t, QString());
                withoutExplanationSometimes(text);
                break;
            case 71:
                text = trueFalse(s, t);
                withoutExplanationSometimes(text);
                break;
            case 74: text = shortAnswer(s, t); break;
            case 75: {
                const int kind = m_rng.below(CalcKinds);
                text = calculation(QString(), kind, calculationData(kind));
                break;
            }
            case 76: text = essay(s, t, QString()); break;
            default: {   // 77 or 64 standing alone: background, a calculation and a discussion
                const int kind = m_rng.percent(50) ? int(Capacity) : int(TimeInPort);
                const std::vector<double> d = calculationData(kind);
                const Text calc = calculation(QStringLiteral("1. "), kind, d);
                const Text discuss = essay(s, t, QStringLiteral("2. "));
                text.body = calculationMaterial(kind, d) + u8("\n问题：\n") + calc.body + QStringLiteral("\n") + discuss.body;
                text.jx = calc.jx + QStringLiteral("\n") + discuss.jx;
            }
            }
            if (isSubjective(u.type))
                subjective(text);
            writeQuestion(s, id, u.type, text.key, text.options, text.body, text.jx, t, xx);
            continue;
        }

        // A material and its sub-questions.
        const int seq = ++materialSeq[u.type];
        if (seq > 9999)
            throw store::DbError(QStringLiteral("demo bank: more than 9999 materials of one type in section ") + s.code);
        const QString materialId = s.code + typeCode + QStringLiteral("CASE") + pad(seq, 4);
        QString material;
        QStringList lapses;
        int calcKind = Capacity;
        std::vector<double> data;
        switch (u.type) {
        case 64: material = incidentMaterial(s, lapses); break;
        case 73: material = s.part == 4 ? incidentMaterial(s, lapses) : scenarioMaterial(s); break;
        case 75:
            data = calculationData(Capacity);
            material = calculationMaterial(Capacity, data);
            break;
        case 77:
            calcKind = std::vector<int>{Capacity, TimeInPort, CraneRate}[size_t(m_rng.below(3))];
            data = calculationData(calcKind);
            material = calculationMaterial(calcKind, data);
            break;
        default: material = scenarioMaterial(s); break;
        }
        m_insTitle->bindValue(0, materialId);
        m_insTitle->bindValue(1, richtext::plainTextToRtf(material));
        exec(*m_insTitle);

        const std::vector<int> caseQuestions = m_rng.sample(int(ct::CaseQuestions.size()), u.subs);
        for (int k = 0; k < u.subs; ++k) {
            const QString id = materialId + QLatin1Char('-') + pad(k + 1, 2);
            const QString prefix = u8("（") + QString::number(k + 1) + u8("）");
            const int t = m_rng.below(terms);
            Text text;
            switch (u.type) {
            case 73:
                text = objective(s, 73, t, prefix);
                withoutExplanationSometimes(text);
                break;
            case 75: text = calculation(prefix, k == 0 ? int(Capacity) : int(Utilisation), data); break;
            case 77:
                if (k == 0) {
                    text = calculation(prefix, calcKind, data);
                } else {
                    text = essay(s, t, prefix);
                    text.body = prefix + (k == 1 ? u8("结合背景资料，分析该码头在%1方面存在的问题。")
                                                 : u8("针对上述问题，提出改进%1工作的具体措施。"))
                                             .arg(term(s, t));
                }
                break;
            case 64: {
                const int cq = caseQuestions[size_t(k) % caseQuestions.size()];
                text.body = prefix + u8(ct::CaseQuestions[size_t(cq)]);
                const QStringList points = truePoints(s, t, 3);
                const QString parties = u8("%1、%2和%3").arg(u8(ct::Parties[0]), u8(ct::Parties[2]), u8(ct::Parties[3]));
                switch (cq) {
                case 0: text.jx = u8("【参考答案要点】（1）%1；（2）%2；（3）%3的有关要求未落实到位。").arg(lapses[0], lapses[1], term(s, t)); break;
                case 1: text.jx = u8("【参考答案要点】直接原因：%1。间接原因：%2；%3，相关管理制度执行不严。").arg(lapses[0], lapses[1], points[0]); break;
                case 2: text.jx = u8("【参考答案要点】现场人员应立即报告港口调度中心，调度中心按规定向海事管理机构和上级主管部门报告。"
                                     "报告内容包括：发生时间、地点、船舶名称、事件经过、人员伤亡及损失情况、已采取的措施等；"
                                     "情况紧急时先电话报告，随后及时补报书面材料。"); break;
                case 3: text.jx = u8("【参考答案要点】（1）%1；（2）%2；（3）%3；（4）加强人员培训和应急演练。").arg(points[0], points[1], points[2]); break;
                case 4: text.jx = u8("【参考答案要点】需要协调%1等单位：调度中心统一指挥，海事管理机构负责水上交通管制，引航机构协助船舶移泊。").arg(parties); break;
                default: text.jx = u8("【参考答案要点】预案启动及时，报告程序基本规范；但%1，%2。今后应当完善%3的有关内容，并定期组织演练。").arg(lapses[0], lapses[1], term(s, t)); break;
                }
                break;
            }
            default: text = essay(s, t, prefix); break;   // 76
            }
            if (isSubjective(u.type))
                subjective(text);
            writeQuestion(s, id, u.type, text.key, text.options, text.body, text.jx, t, xx);
        }
    }
}

// The chapter tree in the order of the book; every C3 is the number of
// questions written under the row's code, the counters start at 0.
void Generator::writeChapters()
{
    QSqlQuery q = prepare(QStringLiteral("insert into tab_kmmc (bh, C1, C1_1, C2, C3, C4, C6, C7, D1, D2, jx) "
                                         "values (?, ?, ?, ?, ?, 0, '0', ?, 0, 0, ?)"));
    int bh = 0;
    auto row = [&](const QString &code, const QString &hint, const QString &name, const QString &guide) {
        q.bindValue(0, ++bh);
        q.bindValue(1, code);
        q.bindValue(2, hint);
        q.bindValue(3, name);
        q.bindValue(4, m_prefixCount.value(code));
        q.bindValue(5, code.size() == 4 ? QStringLiteral("0") : QStringLiteral("1"));
        q.bindValue(6, guide.isEmpty() ? QVariant(QMetaType::fromType<QByteArray>()) : QVariant(richtext::plainTextToRtf(guide)));
        exec(q);
    };
    row(QStringLiteral("0"), u8(ct::BookHint), u8(ct::BookName), QString());
    for (int p = 0; p < int(ct::Parts.size()); ++p) {
        const ct::PartText &part = ct::Parts[size_t(p)];
        row(pad(p + 1, 2), u8(part.hint), u8("第") + chineseNumber(p + 1) + u8("篇 ") + u8(part.name), QString());
        for (int c = 0; c < int(part.chapters.size()); ++c) {
            const ct::ChapterText &ch = part.chapters[size_t(c)];
            const ChapterPlan &plan = m_chapters[size_t(p)][size_t(c)];
            const QString name = u8("第") + chineseNumber(c + 1) + u8("章 ") + u8(ch.name);
            const QString hint = u8("%1：本章共%2节，重点掌握%3、%4和%5。")
                                     .arg(name, QString::number(plan.sectionCount), u8(ch.terms[0]), u8(ch.terms[1]), u8(ch.terms[2]));
            QString guide;
            if (c % 3 != 2)
                guide = u8("【本章学习指导】\n本章介绍%1的基本知识，是%2的重要组成部分。\n"
                           "重点：%3、%4、%5。\n难点：%6与%7的区别和联系。\n"
                           "学习建议：先通读教材，再结合练习题巩固，建议安排%8学时。")
                            .arg(u8(ch.name), u8(part.name), u8(ch.terms[0]), u8(ch.terms[1]), u8(ch.terms[2]),
                                 u8(ch.terms[3]), u8(ch.terms[4]))
                            .arg(QString::number(4 + 2 * (c % 3)));
            row(pad(p + 1, 2) + pad(c + 1, 2), hint, name, guide);
            for (int k = 0; k < plan.sectionCount; ++k) {
                const Section &s = m_sections[size_t(plan.firstSection + k)];
                const std::vector<int> t = m_rng.sample(termCount(s), 2);
                row(s.code,
                    u8("本节重点：%1、%2。注意结合%3的有关规定理解。").arg(term(s, t[0]), term(s, t[1]), u8(ch.name)),
                    u8("第") + chineseNumber(k + 1) + u8("节 ") + s.name, QString());
            }
        }
    }
    // The placeholder row that the chapter window never lists.
    row(QStringLiteral("xx"), QString(), u8("（预留）"), QString());
}

// Key-point headings (one per part, one per chapter), the groups (one per
// section) and their key points; every q is the number of questions that
// cite it (a question citing two key points of one group counts once).
void Generator::writeKeyPoints()
{
    QSqlQuery g = prepare(QStringLiteral("insert into tab_fgmc (id, bh, n, q, q1, q2, q4) values (?, ?, ?, ?, 0, 0, 0)"));
    QSqlQuery r = prepare(QStringLiteral("insert into tab_rule (id, ftid, sn, n, q, q1, q2, q4) values (?, ?, ?, ?, ?, 0, 0, 0)"));
    int bh = 0;
    auto group = [&](const QString &id, const QString &name, int q) {
        g.bindValue(0, id);
        g.bindValue(1, ++bh);
        g.bindValue(2, name);
        g.bindValue(3, q);
        exec(g);
    };
    for (int p = 0; p < int(ct::Parts.size()); ++p) {
        const ct::PartText &part = ct::Parts[size_t(p)];
        const QString partId = QString::number(p + 1);
        group(partId, u8("第") + chineseNumber(p + 1) + u8("篇 ") + u8(part.name), m_headingQ.value(partId));
        for (int c = 0; c < int(part.chapters.size()); ++c) {
            const QString chapterId = partId + QString::number(c + 1);
            group(chapterId, u8("第") + chineseNumber(c + 1) + u8("章 ") + u8(part.chapters[size_t(c)].name),
                  m_headingQ.value(chapterId));
            const ChapterPlan &plan = m_chapters[size_t(p)][size_t(c)];
            for (int k = 0; k < plan.sectionCount; ++k) {
                const Section &s = m_sections[size_t(plan.firstSection + k)];
                group(s.groupId, s.name, s.groupQ);
                for (const KeyPoint &kp : s.keyPoints) {
                    const QStringList points = truePoints(s, kp.term, 2);
                    const QString text = u8("%1\n%2；%3。\n学习提示：掌握%4时，应注意其%5，把握%6这一要求。")
                                             .arg(kp.title.trimmed(), points[0], points[1], term(s, kp.term),
                                                  u8(ct::Aspects[size_t(kp.aspect)]),
                                                  u8(ct::Purposes[size_t(m_rng.below(int(ct::Purposes.size())))]));
                    r.bindValue(0, s.groupId);
                    r.bindValue(1, kp.ftid);
                    r.bindValue(2, kp.title);
                    r.bindValue(3, richtext::plainTextToRtf(text));
                    r.bindValue(4, kp.q);
                    exec(r);
                }
            }
        }
    }
}

// Reading-matter groups up to the wanted numbers of groups and key points:
// 6-character ids under the chapter headings (index 5001 onward, clear of
// the sections' own), listed after the planned groups; the first holds a
// twentieth of the added key points, the rest share the others evenly.
// No question cites them, so every counter is 0.
void Generator::writeExtraKeyPoints()
{
    int planned = 0;
    for (const Section &s : m_sections)
        planned += int(s.keyPoints.size());
    const int groups = std::max(0, m_wantedGroups - int(m_sections.size()));
    int points = std::max(0, m_wantedKeyPoints - planned);
    if (groups == 0)
        return;
    points = std::max(points, groups);   // every added group has a key point
    QStringList headings;
    for (int p = 0; p < int(ct::Parts.size()); ++p)
        for (int c = 0; c < int(ct::Parts[size_t(p)].chapters.size()); ++c)
            headings << QString::number(p + 1) + QString::number(c + 1);
    int bh = 0;
    {
        QSqlQuery q = prepare(QStringLiteral("select max(bh) from tab_fgmc"));
        exec(q);
        if (q.next())
            bh = q.value(0).toInt();
    }
    QSqlQuery g = prepare(QStringLiteral("insert into tab_fgmc (id, bh, n, q, q1, q2, q4) values (?, ?, ?, 0, 0, 0, 0)"));
    QSqlQuery r = prepare(QStringLiteral("insert into tab_rule (id, ftid, sn, n, q, q1, q2, q4) values (?, ?, ?, ?, 0, 0, 0, 0)"));
    const int largest = groups == 1 ? points : std::max(1, points / 20);
    const int rest = points - largest;
    for (int i = 0; i < groups; ++i) {
        const QString id = headings[i % headings.size()] + pad(5001 + i / int(headings.size()), 4);
        const QString name = u8("补充阅读 第%1组").arg(i + 1);
        g.bindValue(0, id);
        g.bindValue(1, ++bh);
        g.bindValue(2, name);
        exec(g);
        const int n = i == 0 ? largest : rest / (groups - 1) + (i - 1 < rest % (groups - 1) ? 1 : 0);
        for (int k = 0; k < n; ++k) {
            const QString title = u8("补充考点 %1-%2").arg(i + 1).arg(k + 1);
            r.bindValue(0, id);
            r.bindValue(1, id + pad(k + 1, 4));
            r.bindValue(2, title);
            r.bindValue(3, richtext::plainTextToRtf(title + u8("\n本考点为补充阅读内容，没有相应的习题。")));
            exec(r);
        }
    }
}

// Type tables (B2 = the numbers a paper draws), the settings row and the
// product stamp.
void Generator::writeSettings()
{
    for (int subject = 1; subject <= 5; ++subject) {
        std::map<int, int> drawn;
        for (const Draw &d : Composition)
            if (d.subject == subject)
                drawn[d.type] += d.count;
        QSqlQuery q = prepare(QStringLiteral("insert into tab_tx%1 (A1, B1, B2, B3, time) values (?, ?, ?, ?, ?)").arg(subject));
        for (const auto &[type, count] : drawn) {
            const TypeInfo &info = typeInfo(type);
            q.bindValue(0, type);
            q.bindValue(1, u8(info.name));
            q.bindValue(2, count);
            q.bindValue(3, info.score);
            q.bindValue(4, info.minutes);
            exec(q);
        }
    }
    exec(QStringLiteral("insert into tab_plan (LeastMark, ExamTime, PlanMark, PlanAmount, PlanTime, ExamDate) "
                        "values (?, ?, ?, ?, ?, ?)"),
         {60, 7200, 0, 50, 60, QStringLiteral("2027-06-19")});
    exec(QStringLiteral("insert into tab_sj (sjbs, cpbs) values (?, ?)"),
         {QStringLiteral("VELMORA-BASE-2026"), QString::fromLatin1(store::ProductStamp)});
}

void Generator::run()
{
    planSections();
    planKeyPoints();
    if (!m_db.transaction())
        throw store::DbError(m_db.lastError().text());
    m_insAnsw = std::make_unique<QSqlQuery>(prepare(QStringLiteral(
        "insert into tab_answ (A1, A2, A2_1, K3, K4, K5, K6, K7, K8, K9, K10, K11, K12, A10, A13, xx, "
        "A14, E1, E2, E2_1, E3, E4, F1, csbs, ecount) "
        "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, NULL, NULL, '', '', 0, 0, 0, '', 0)")));
    m_insExer = std::make_unique<QSqlQuery>(prepare(QStringLiteral("insert into tab_exer (A1, A15, jx) values (?, ?, ?)")));
    m_insTitle = std::make_unique<QSqlQuery>(prepare(QStringLiteral("insert into tab_title (A1, A15) values (?, ?)")));
    for (Section &s : m_sections)
        writeSection(s);
    m_insAnsw.reset();
    m_insExer.reset();
    m_insTitle.reset();
    writeChapters();
    writeKeyPoints();
    writeExtraKeyPoints();
    writeSettings();
    if (!m_db.commit())
        throw store::DbError(m_db.lastError().text());
}

QString connectionName()
{
    static QAtomicInt counter;
    return QStringLiteral("demobank-%1").arg(counter.fetchAndAddRelaxed(1));
}

// Opens an SQLite file on its own connection and closes it again, whatever
// happens inside.
template <class F> void withDatabase(const QString &path, const QString &options, F &&work)
{
    const QString name = connectionName();
    std::exception_ptr failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!options.isEmpty())
            db.setConnectOptions(options);
        if (!db.open()) {
            const QString err = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw store::DbError(err);
        }
        try {
            work(db);
        } catch (...) {
            failure = std::current_exception();
            if (db.isOpen())
                db.rollback();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace

void generate(const QString &path, const Options &options)
{
    if (QFileInfo::exists(path))
        throw store::DbError(QStringLiteral("%1 already exists").arg(path));
    try {
        withDatabase(path, QString(), [&](QSqlDatabase &db) {
            QSqlQuery pragma(db);
            pragma.exec(QStringLiteral("PRAGMA cache_size = -65536"));
            store::createSchema(db);
            Generator(db, options).run();
        });
    } catch (...) {
        // A bank that is not complete is no bank: nothing of it stays.
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-journal"));
        throw;
    }
}

WriteResult writeBankFile(const QString &path, const Options &options, bool ifMissing)
{
    if (ifMissing && QFileInfo::exists(path))
        return WriteResult::LeftAlone;
    auto removeIfPresent = [](const QString &file) {
        if (QFileInfo::exists(file) && !QFile::remove(file))
            throw store::DbError(QStringLiteral("cannot remove %1").arg(file));
    };
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        throw store::DbError(QStringLiteral("cannot create the folder of %1").arg(path));
    const QString tmp = path + QStringLiteral(".tmp");
    // Leftovers of an earlier run that died half-way.
    removeIfPresent(tmp);
    removeIfPresent(tmp + QStringLiteral("-journal"));
    generate(tmp, options);
    try {
        // The old bank's write-ahead log must never be applied to the new file.
        for (const char *suffix : {"-wal", "-shm", "-journal"})
            removeIfPresent(path + QLatin1String(suffix));
        // rename(2) replaces an existing file in one step.
        if (std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(path).constData()) != 0)
            throw store::DbError(QStringLiteral("cannot rename %1 to %2: %3")
                                     .arg(tmp, path, QString::fromLocal8Bit(std::strerror(errno))));
    } catch (...) {
        QFile::remove(tmp);
        throw;
    }
    return WriteResult::Written;
}

Summary summarize(const QString &path)
{
    if (!QFileInfo::exists(path))
        throw store::DbError(QStringLiteral("%1 does not exist").arg(path));
    Summary out;
    withDatabase(path, QStringLiteral("QSQLITE_OPEN_READONLY"), [&](QSqlDatabase &db) {
        auto count = [&](const QString &sql) {
            QSqlQuery q(db);
            if (!q.exec(sql) || !q.next())
                throw store::DbError(q.lastError().text());
            return q.value(0).toInt();
        };
        out.questions = count(QStringLiteral("select count(*) from tab_answ"));
        out.materials = count(QStringLiteral("select count(*) from tab_title"));
        out.chapters = count(QStringLiteral("select count(*) from tab_kmmc where length(C1) = 4"));
        out.sections = count(QStringLiteral("select count(*) from tab_kmmc where length(C1) = 6"));
        out.keyPointGroups = count(QStringLiteral("select count(*) from tab_fgmc where length(id) = 6"));
        out.keyPoints = count(QStringLiteral("select count(*) from tab_rule"));
    });
    return out;
}

} // namespace demobank
