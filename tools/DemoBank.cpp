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
// The questions come from the items written for each section
// (DemoBankItems*.h): a rule gives a single choice and true/false
// statements, a class gives choices of what belongs to it, the rules of a
// section together give "which statement is right" items, and cases and
// written questions are used as they stand; the calculations part works
// its items out from drawn figures.  The demo bank takes every form at most
// once; scaled banks practise the forms again.
// Everything is drawn from one seeded generator, so a seed always gives the
// same bank.  All rows are written in one transaction with prepared
// statements; counters (C3, q) are the exact counts of what was written.
#include "DemoBank.h"

#include "BankFile.h"
#include "DemoBankContent.h"
#include "DemoBankText.h"
#include "DemoBankItems.h"
#include "DemoBankItems1.h"
#include "DemoBankItems2.h"
#include "DemoBankItems3.h"
#include "DemoBankItems4.h"
#include "DemoBankItems5.h"
#include "DemoBankRich.h"
#include "platform/RichText.h"
#include "store/DbError.h"
#include "store/Schema.h"

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
    template <class V> void shuffle(V &v)
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
    case 77: return {60, 2, 2};   // a calculation, then what its result means
    default: return {0, 0, 0};
    }
}

// ------------------------------------------------------------------ plan

struct Unit {
    int type;
    int subs;        // 0: an ordinary question; otherwise a material with this many sub-questions
    int item = -1;   // the written case of a case material
};

struct KeyPoint {
    QString ftid;
    QString title;
    QString text;
    int q = 0;
};

// One question as written into the bank: its body and explanation as plain
// text (or as ready rich text), its key and the key points it is about
// (indices into its section's key points).
struct Text {
    QString body, jx, key;
    int options = 1;
    std::vector<int> kps;
    QByteArray bodyRtf, jxRtf;
};

// The written items of a section, put into question form, by the question
// types they serve.
enum Pool { SinglePool, MultiPool, JudgePool, WrittenPool, PoolCount };
int poolOf(int type)
{
    switch (type) {
    case 61:
    case 62: return SinglePool;
    case 65:
    case 73: return MultiPool;
    case 71: return JudgePool;
    case 74:
    case 76: return WrittenPool;
    default: return -1;
    }
}

struct Section {
    QString code;   // 6 characters
    QString name;   // without "第n节"
    int part;       // 0-based
    int chapter;    // 0-based within the part
    int index;      // 0-based within the chapter
    std::vector<Unit> units;
    const items::SectionItems *content = nullptr;   // the written items of its topic
    std::vector<Text> pools[PoolCount];
    int reserved[PoolCount] = {};                    // questions the plan takes from each pool
    int taken[PoolCount] = {};                       // questions written from each pool
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
    void placeUnits(const Draw &d, std::vector<Unit> units);
    std::vector<Unit> caseUnits(const Draw &d, int count);
    void planKeyPoints();
    // writing
    void writeSection(Section &s);
    void writeQuestion(const Section &s, const QString &id, int type, const Text &text, int &xx);
    void writeChapters();
    void writeKeyPoints();
    void writeExtraKeyPoints();
    void writeSettings();
    QSqlQuery prepare(const QString &sql);
    void exec(QSqlQuery &q);
    void exec(const QString &sql, const QVariantList &binds);

    // question forms of the written items
    void formItems(Section &s);
    void addRichItems(const Section &s, std::vector<Text> &single);
    const ct::ChapterText &chapterText(const Section &s) const { return ct::Parts[size_t(s.part)].chapters[size_t(s.chapter)]; }
    Text fromPool(Section &s, int pool);
    Text choiceOf(const QString &stem, QStringList right, QStringList wrong, int options, const QString &why,
                  std::vector<int> kps);
    Text judgement(const QString &statement, bool right, const QString &truth, const QString &why, std::vector<int> kps);
    Text statements(const Section &s, bool multi, int variant);
    Text written(const items::Written &w, const QString &prefix);
    QStringList keyPointsFor(const Section &s, const Text &text);
    // calculations
    int calcKindOf(const Section &s) const;
    Text calculation(const QString &prefix, int kind, const std::vector<double> &data);
    Text numericChoice(const Section &s, int kind);
    Text discussion(const QString &prefix, int kind, const std::vector<double> &data);
    std::vector<double> calculationData(int kind);
    QString calculationMaterial(int kind, const std::vector<double> &data);

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
    QHash<QString, items::SectionItems> m_items;        // written items by section code
    QSet<QString> m_bodies;                             // bodies written so far

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
                // A further section of a topic practises the items of its topic again.
                const auto found = m_items.constFind(pad(p + 1, 2) + pad(c + 1, 2) + pad(k % namedHere + 1, 2));
                s.content = found == m_items.cend() ? nullptr : &found.value();
                m_sections.push_back(s);
            }
        }
    }

    for (Section &s : m_sections)
        formItems(s);

    // The questions of each (type, part) group, as ordinary questions and
    // materials, spread over the sections of the part that have items for them.
    for (size_t g = 0; g < counts.size(); ++g) {
        const Draw &d = Composition[g];
        if (d.type == 64) {
            placeUnits(d, caseUnits(d, counts[g]));
            continue;
        }
        const MaterialShape shape = materialShape(d.type);
        std::vector<Unit> units;
        for (int remaining = counts[g]; remaining > 0;) {
            if (shape.share > 0 && remaining >= 2 && m_rng.percent(shape.share)) {
                const int k = std::min(remaining, m_rng.between(shape.minSubs, shape.maxSubs));
                units.push_back({d.type, k});
                remaining -= k;
            } else {
                units.push_back({d.type, 0});
                --remaining;
            }
        }
        placeUnits(d, std::move(units));
    }
    for (Section &s : m_sections)
        std::stable_sort(s.units.begin(), s.units.end(), [](const Unit &a, const Unit &b) { return a.type < b.type; });
}

// Deals the units out to the part's sections in turn, skipping a section
// whose items of the type are all taken while another still has some; a
// case goes to the section it was written for.  Types made by calculation
// have no limit.  When every section is used up (scaled banks) the turn
// goes on and items are practised again.
void Generator::placeUnits(const Draw &d, std::vector<Unit> units)
{
    std::vector<int> partSections;
    for (size_t i = 0; i < m_sections.size(); ++i)
        if (m_sections[i].part == d.part - 1)
            partSections.push_back(int(i));
    const int pool = poolOf(d.type);
    const bool limited = pool >= 0 && d.type != 62;
    const size_t n = partSections.size();
    size_t turn = 0;
    for (const Unit &u : units) {
        if (u.item >= 0) {
            m_sections[size_t(u.item >> 8)].units.push_back(u);
            continue;
        }
        size_t pick = turn % n;
        if (limited) {
            for (size_t k = 0; k < n; ++k) {
                const Section &s = m_sections[size_t(partSections[(turn + k) % n])];
                if (s.reserved[pool] < int(s.pools[pool].size())) {
                    pick = (turn + k) % n;
                    break;
                }
            }
        }
        Section &s = m_sections[size_t(partSections[pick])];
        if (pool >= 0)
            ++s.reserved[pool];
        s.units.push_back(u);
        turn = pick + 1;
    }
}

// The written cases of the part in turn, each with its own sub-questions
// (as many as the count leaves room for; never a case of one question
// while another could take it).  The unit's item is section << 8 | case.
std::vector<Unit> Generator::caseUnits(const Draw &d, int count)
{
    std::vector<std::pair<int, int>> cases;   // section, case
    for (size_t i = 0; i < m_sections.size(); ++i) {
        const Section &s = m_sections[i];
        if (s.part == d.part - 1 && s.content && s.index < int(ct::Parts[size_t(s.part)].chapters[size_t(s.chapter)].sections.size()))
            for (int c = 0; c < int(s.content->cases.size()); ++c)
                cases.push_back({int(i), c});
    }
    if (cases.empty())
        throw items::ContentError("demo bank content: no case for type 64");
    std::vector<Unit> out;
    for (int remaining = count, k = 0; remaining > 0; ++k) {
        const auto [section, c] = cases[size_t(k) % cases.size()];
        const int subs = int(m_sections[size_t(section)].content->cases[size_t(c)].questions.size());
        int take = std::min(subs, remaining);
        if (remaining - take == 1 && take > 2)
            --take;
        out.push_back({d.type, take, section << 8 | c});
        remaining -= take;
    }
    return out;
}

// One key-point group per section, its key points those of the section's
// topic; a key point without a text of its own is explained by the rules of
// its items.
void Generator::planKeyPoints()
{
    for (size_t i = 0; i < m_sections.size(); ++i) {
        Section &s = m_sections[i];
        s.groupId = QString::number(s.part + 1) + QString::number(s.chapter + 1) + pad(s.index + 1, 4);
        m_groupSection.insert(s.groupId, int(i));
        if (!s.content)
            throw items::ContentError("demo bank content: no items for section " + s.code.toStdString());
        for (int k = 0; k < int(s.content->keyPoints.size()); ++k) {
            const items::KeyPointText &written = s.content->keyPoints[size_t(k)];
            KeyPoint kp;
            kp.ftid = s.groupId + pad(k + 1, 3);
            kp.title = written.title;
            QStringList rules;
            if (!written.text.isEmpty())
                rules << written.text;
            for (const items::Fact &f : s.content->facts)
                if (f.kp == k)
                    rules << f.filled(f.answer) + u8("。") + (f.why.isEmpty() ? QString() : f.why);
            for (const items::Set &g : s.content->sets)
                if (g.kp == k && !g.why.isEmpty())
                    rules << g.why;
            kp.text = kp.title + u8("\n") + rules.join(u8("\n"));
            // Titles are stored as fixed-width text now and then; readers trim them.
            if (m_rng.percent(30))
                kp.title += QString(std::max(2, 16 - int(kp.title.size())), QLatin1Char(' '));
            s.keyPoints.push_back(kp);
        }
    }
    for (Section &s : m_sections)
        for (KeyPoint &kp : s.keyPoints)
            m_keyPointById[kp.ftid] = &kp;
}

// The key points of the item; now and then a question lists none (as user
// questions often do).
QStringList Generator::keyPointsFor(const Section &s, const Text &text)
{
    QStringList out;
    if (m_rng.percent(8))
        return out;
    for (int k : text.kps)
        if (k >= 0 && k < int(s.keyPoints.size()) && !out.contains(s.keyPoints[size_t(k)].ftid) && out.size() < 4)
            out << s.keyPoints[size_t(k)].ftid;
    return out;
}

// ------------------------------------------------------------ question forms

// A choice: the right entries and distractors shuffled into options A, B ...
// (as many as wanted and available); the key lists the right ones in order.
Text Generator::choiceOf(const QString &stem, QStringList right, QStringList wrong, int options, const QString &why,
                         std::vector<int> kps)
{
    Text out;
    out.kps = std::move(kps);
    out.options = std::min<int>(options, int(right.size() + wrong.size()));
    std::vector<std::pair<QString, bool>> entries;
    for (const QString &r : right)
        entries.push_back({r, true});
    for (int i = 0; int(entries.size()) < out.options && i < int(wrong.size()); ++i)
        entries.push_back({wrong[i], false});
    m_rng.shuffle(entries);
    out.body = stem;
    QStringList rightLetters;
    for (int i = 0; i < int(entries.size()); ++i) {
        out.body += u8("\n") + letter(i) + QStringLiteral(". ") + entries[size_t(i)].first;
        if (entries[size_t(i)].second)
            out.key += letter(i);
    }
    out.options = int(entries.size());
    out.jx = u8("【答案】%1\n【解析】%2").arg(out.key, why);
    return out;
}

Text Generator::judgement(const QString &statement, bool right, const QString &truth, const QString &why,
                          std::vector<int> kps)
{
    Text out;
    out.kps = std::move(kps);
    out.options = 2;
    out.key = right ? QStringLiteral("A") : QStringLiteral("B");
    out.body = statement + u8("。（　　）\nA. 对\nB. 错");
    if (right)
        out.jx = u8("【答案】对\n【解析】%1").arg(why.isEmpty() ? truth + u8("。") : why);
    else if (truth.isEmpty())
        out.jx = u8("【答案】错\n【解析】%1").arg(why);
    else
        out.jx = u8("【答案】错\n【解析】正确的说法是：%1。%2").arg(truth, why);
    return out;
}

// "Which statement about the section is right / wrong": each option is a
// rule of the section, stated rightly or with one of its distractors.
Text Generator::statements(const Section &s, bool multi, int variant)
{
    const std::vector<items::Fact> &facts = s.content->facts;
    const int n = std::min<int>(multi ? 5 : 4, int(facts.size()));
    std::vector<int> picked = m_rng.sample(int(facts.size()), n);
    if (!multi) {
        // Each single-choice variant turns on another rule of the section.
        const int decisive = (variant + s.index) % int(facts.size());
        const auto at = std::find(picked.begin(), picked.end(), decisive);
        if (at == picked.end())
            picked[0] = decisive;
        else
            std::iter_swap(picked.begin(), at);
        // The decisive rule is the one right statement, or the one wrong one.
        if (variant % 2 == 1)
            std::iter_swap(picked.begin(), picked.end() - 1);
    }
    static const char *const heads[] = {"下列关于%1的说法中，%2的%3（　　）。", "关于%1，下列表述%2的%3（　　）。",
                                        "下列有关%1的表述中，%2的%3（　　）。", "下列对%1的理解中，%2的%3（　　）。"};
    // Single choice: one right statement (variant 0) or one wrong one (variant 1).
    const bool askWrong = !multi && variant % 2 == 1;
    const int trueCount = multi ? m_rng.between(2, n - 1) : askWrong ? n - 1 : 1;
    std::vector<std::pair<QString, bool>> entries;
    QStringList corrections;
    std::vector<int> kps;
    for (int i = 0; i < n; ++i) {
        const items::Fact &f = facts[size_t(picked[size_t(i)])];
        const bool stated = i < trueCount;
        kps.push_back(f.kp);
        entries.push_back({stated ? f.filled(f.answer) : f.filled(f.wrong[size_t(m_rng.below(int(f.wrong.size())))]), stated});
    }
    m_rng.shuffle(entries);
    Text out;
    out.kps = kps;
    out.options = n;
    const bool keyIsTrue = !askWrong;
    // Single choices ask right and wrong under each heading in turn.
    out.body = u8(heads[size_t(multi ? variant : variant / 2) % std::size(heads)])
                   .arg(s.name, keyIsTrue ? u8("正确") : u8("错误"), multi ? u8("有") : u8("是"));
    for (int i = 0; i < n; ++i) {
        out.body += u8("\n") + letter(i) + QStringLiteral(". ") + entries[size_t(i)].first;
        if (entries[size_t(i)].second == keyIsTrue)
            out.key += letter(i);
    }
    for (int i = 0; i < n; ++i) {
        if (entries[size_t(i)].second)
            continue;
        // The fact whose wrong form this option is.
        for (int k : picked) {
            const items::Fact &f = facts[size_t(k)];
            for (const QString &w : f.wrong)
                if (f.filled(w) == entries[size_t(i)].first)
                    corrections << u8("%1项错误，%2。").arg(letter(i), f.filled(f.answer));
        }
    }
    corrections.removeDuplicates();
    out.jx = u8("【答案】%1\n【解析】%2其余各项表述正确。").arg(out.key, corrections.join(QString()));
    return out;
}

Text Generator::written(const items::Written &w, const QString &prefix)
{
    Text out;
    out.kps = {w.kp};
    out.body = prefix + w.question;
    QStringList lines;
    for (int i = 0; i < int(w.points.size()); ++i)
        lines << u8("（") + QString::number(i + 1) + u8("）") + w.points[size_t(i)] + (i + 1 < int(w.points.size()) ? u8("；") : u8("。"));
    out.jx = u8("【参考答案】\n") + lines.join(u8("\n")) + u8("\n【评分说明】答出主要要点即可得分，表述不必与参考答案完全一致。");
    return out;
}

// Every form the section's written items give, pool by pool, in an order
// that mixes the kinds; a pool is drawn from the front.
void Generator::formItems(Section &s)
{
    if (!s.content)
        return;
    const items::SectionItems &c = *s.content;
    auto leadOf = [](const items::Set &g) { return g.lead.endsWith(u'中') ? g.lead : g.lead + u8("中"); };
    std::vector<Text> single, multi, judge, writtenOnes;
    // A rule's second statement (right where the first was wrong, or the
    // other way round) comes only after every rule has had one.
    std::vector<Text> judgeAgain;
    for (const items::Fact &f : c.facts) {
        single.push_back(choiceOf(f.stem, {f.answer}, f.wrong, m_rng.percent(30) ? 5 : 4, f.why, {f.kp}));
        Text stated = judgement(f.filled(f.answer), true, f.filled(f.answer), f.why, {f.kp});
        Text misstated = judgement(f.filled(f.wrong[size_t(m_rng.below(int(f.wrong.size())))]), false, f.filled(f.answer), f.why, {f.kp});
        if (m_rng.percent(50))
            std::swap(stated, misstated);
        judge.push_back(stated);
        judgeAgain.push_back(misstated);
    }
    for (const items::Set &g : c.sets) {
        const QString lead = u8("下列") + leadOf(g) + u8("，");
        QStringList right = g.right, wrong = g.wrong;
        m_rng.shuffle(right);
        m_rng.shuffle(wrong);
        if (wrong.size() >= 3)
            single.push_back(choiceOf(lead + g.pos + u8("的是（　　）。"), {right[0]}, wrong, 4, g.why, {g.kp}));
        if (!g.neg.isEmpty() && right.size() >= 3)
            single.push_back(choiceOf(lead + g.neg + u8("的是（　　）。"), {wrong[0]}, right, 4, g.why, {g.kp}));
        const int k = std::min<int>(int(right.size()), m_rng.between(2, 4));
        multi.push_back(choiceOf(lead + g.pos + u8("的有（　　）。"), right.mid(0, k), wrong, m_rng.percent(70) ? 5 : 4, g.why, {g.kp}));
        if (!g.neg.isEmpty() && wrong.size() >= 2 && right.size() >= 2)
            multi.push_back(choiceOf(lead + g.neg + u8("的有（　　）。"), wrong.mid(0, std::min<int>(int(wrong.size()), 3)), right,
                                     m_rng.percent(50) ? 5 : 4, g.why, {g.kp}));
        for (const QString &r : g.right)
            judge.push_back(judgement(g.claimOf(r), true, g.claimOf(r), g.why, {g.kp}));
        for (const QString &w : g.wrong) {
            QString truth = g.claimOf(w);
            truth = truth.contains(g.pos) && !g.neg.isEmpty() ? truth.replace(g.pos, g.neg) : QString();
            judge.push_back(judgement(g.claimOf(w), false, truth, g.why, {g.kp}));
        }
    }
    if (c.facts.size() >= 4) {
        for (int v = 0; v < 6; ++v)
            single.push_back(statements(s, false, v));
        for (int v = 0; v < 4; ++v)
            multi.push_back(statements(s, true, v));
    }
    for (const items::Written &w : c.written)
        writtenOnes.push_back(written(w, QString()));
    addRichItems(s, single);
    // Keep the first of equal bodies (two forms can meet when a set is small).
    for (auto *list : {&single, &multi, &judge, &writtenOnes}) {
        QSet<QString> seen;
        std::vector<Text> kept;
        for (Text &t : *list)
            if (!seen.contains(t.body)) {
                seen.insert(t.body);
                kept.push_back(std::move(t));
            }
        *list = std::move(kept);
    }
    m_rng.shuffle(single);
    m_rng.shuffle(multi);
    m_rng.shuffle(judge);
    m_rng.shuffle(judgeAgain);
    judge.insert(judge.end(), judgeAgain.begin(), judgeAgain.end());
    // The items that show what rich text can do always come first.
    std::stable_partition(single.begin(), single.end(), [](const Text &t) { return !t.bodyRtf.isEmpty() || !t.jxRtf.isEmpty(); });
    s.pools[SinglePool] = std::move(single);
    s.pools[MultiPool] = std::move(multi);
    s.pools[JudgePool] = std::move(judge);
    s.pools[WrittenPool] = std::move(writtenOnes);
}

// The next item of a pool; a pool used up starts again (scaled banks only:
// the demo bank's plan never takes more than a section has).
Text Generator::fromPool(Section &s, int pool)
{
    const std::vector<Text> &p = s.pools[pool];
    return p[size_t(s.taken[pool]++) % p.size()];
}

// Calculations of the dispatch practice; the numbers are drawn and the
// explanation carries the worked solution.
enum CalcKind { Capacity, Utilisation, TimeInPort, CraneRate, HandlingRatio, Waiting, CalcKinds };

// The calculation a section of the calculations part practises.
int Generator::calcKindOf(const Section &s) const
{
    static const int bySection[] = {Capacity, Utilisation, TimeInPort, Waiting, HandlingRatio, CraneRate};
    return bySection[size_t(s.chapter * 2 + s.index % 2) % std::size(bySection)];
}

std::vector<double> Generator::calculationData(int kind)
{
    switch (kind) {
    case Capacity:   // berths, days, tonnes per call, hours per call
        return {double(m_rng.between(2, 6)), double(m_rng.between(300, 340)), double(m_rng.between(16, 80) * 500),
                double(m_rng.between(20, 60))};
    case Utilisation:   // days, occupied hours
        return {double(m_rng.between(28, 31)), double(m_rng.between(300, 700))};
    case TimeInPort:   // waiting, berthing, working, leaving hours
    case Waiting:
        return {double(m_rng.between(2, 30)), double(m_rng.between(1, 4)), double(m_rng.between(12, 60)),
                double(m_rng.between(1, 5))};
    case CraneRate:   // cranes, hours, tonnes
        return {double(m_rng.between(2, 5)), double(m_rng.between(8, 24)), double(m_rng.between(40, 160) * 100)};
    default: {   // throughput, handling volume (10 000 t)
        const double throughput = double(m_rng.between(100, 900));
        return {throughput, std::round(throughput * (1.0 + double(m_rng.between(10, 90)) / 100.0))};
    }
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
    case HandlingRatio:
        return u8("【背景资料】%1某年完成货物吞吐量%2万吨，完成装卸操作量%3万吨，其中车船直取作业量较上年有所下降。")
            .arg(port, number(d[0], 0), number(d[1], 0));
    case TimeInPort:
    case Waiting:
        return u8("【背景资料】%1某船本航次在港期间：锚地待泊%2小时，靠泊及准备%3小时，装卸作业%4小时，离泊及其他%5小时。")
            .arg(port, number(d[0], 0), number(d[1], 0), number(d[2], 0), number(d[3], 0));
    default:
        return u8("【背景资料】%1某码头作业线配备门座起重机%2台，某工班连续作业%3小时，共完成装卸%4吨。")
            .arg(port, number(d[0], 0), number(d[1], 0), number(d[2], 0));
    }
}

// One calculation.  With data of a material the body only asks; otherwise
// it states the data itself.
Text Generator::calculation(const QString &prefix, int kind, const std::vector<double> &d)
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
                       : u8("试计算该港区%1个泊位的年通过能力（每艘次装卸%2吨）。").arg(number(d[0], 0), number(d[2], 0));
        out.jx = u8("【解】单个泊位年可接纳船舶艘次 = %1×24÷%2 ≈ %3（艘次，取整）；\n"
                    "泊位年通过能力 = %4×%3×%5÷10000 = %6（万吨）。\n【答】该港区泊位年通过能力约为%6万吨。")
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
                       : u8("试计算该船的在港停时及装卸作业%1小时所占的比例。").arg(number(d[2], 0));
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
                       : u8("试计算该作业线完成%1吨装卸的台时效率。").arg(number(d[2], 0));
        out.jx = u8("【解】台时效率 = 装卸吨数÷(起重机台数×作业小时) = %1÷(%2×%3) ≈ %4（吨/台时）。\n【答】台时效率约为%4吨/台时。")
                     .arg(number(d[2], 0), number(d[0], 0), number(d[1], 0), number(rate, 2));
        break;
    }
    case Waiting: {
        const double total = d[0] + d[1] + d[2] + d[3];
        out.body = own ? u8("某船在港期间：锚地待泊%1小时，靠泊及准备%2小时，装卸作业%3小时，离泊及其他%4小时。"
                            "试计算该船的待泊时间占在港停时的比例。")
                             .arg(number(d[0], 0), number(d[1], 0), number(d[2], 0), number(d[3], 0))
                       : u8("试计算该船的待泊时间占在港停时的比例。");
        out.jx = u8("【解】在港停时 = %1+%2+%3+%4 = %5（小时）；\n待泊时间比例 = %1÷%5×100% ≈ %6%。\n"
                    "【答】待泊时间约占在港停时的%6%，比例越高，说明泊位越紧张或船舶到港越集中。")
                     .arg(number(d[0], 0), number(d[1], 0), number(d[2], 0), number(d[3], 0), number(total, 0),
                          number(d[0] / total * 100.0, 2));
        break;
    }
    default: {
        const double throughput = d[0];
        const double handled = d[1];
        out.body = own ? u8("某港某年完成货物吞吐量%1万吨，完成装卸操作量%2万吨。试计算该港的操作系数，并说明其含义。")
                             .arg(number(throughput, 0), number(handled, 0))
                       : u8("试计算该港的操作系数，并说明其含义。");
        out.jx = u8("【解】操作系数 = 操作量÷吞吐量 = %1÷%2 ≈ %3。\n"
                    "【答】操作系数约为%3，表示每吨货物在港平均经过%3次装卸操作；该值越接近1，说明直取作业比例越高。")
                     .arg(number(handled, 0), number(throughput, 0), number(handled / throughput, 2));
    }
    }
    out.body = prefix + out.body;
    return out;
}

// A calculation asked as a single choice: the distractors are the results
// of the usual slips (a factor forgotten, the wrong base of a share).
Text Generator::numericChoice(const Section &s, int kind)
{
    const std::vector<double> d = calculationData(kind);
    QString stem, unit, why;
    double right = 0;
    std::vector<double> slips;
    int decimals = 2;
    switch (kind) {
    case Capacity: {
        const double calls = std::floor(d[1] * 24.0 / d[3]);
        right = d[0] * calls * d[2] / 10000.0;
        slips = {calls * d[2] / 10000.0, d[0] * std::floor(d[1] / d[3]) * d[2] / 10000.0, d[0] * calls * d[2] / 10000.0 * 24.0 / 20.0};
        stem = u8("某港区有通用泊位%1个，泊位年营运天数为%2天，到港船舶平均每艘次装卸货物%3吨，平均每艘次占用泊位%4小时（含辅助作业时间），"
                  "则该港区泊位的年通过能力约为（　　）。")
                   .arg(number(d[0], 0), number(d[1], 0), number(d[2], 0), number(d[3], 0));
        unit = u8("万吨");
        why = u8("单个泊位年可接纳艘次 = %1×24÷%2 ≈ %3（取整）；年通过能力 = 泊位数×艘次×每艘次装卸量 = %4×%3×%5÷10000 ≈ %6万吨。")
                  .arg(number(d[1], 0), number(d[3], 0), number(calls, 0), number(d[0], 0), number(d[2], 0), number(right, 2));
        break;
    }
    case Utilisation: {
        const double days = d[0], hours = d[1];
        right = hours / (days * 24.0) * 100.0;
        slips = {hours / ((days - 1) * 24.0) * 100.0, hours / (days * 16.0) * 100.0, 100.0 - right};
        stem = u8("某泊位统计期为%1天，期内船舶占用泊位时间合计%2小时，则该泊位在统计期内的泊位利用率约为（　　）。")
                   .arg(number(days, 0), number(hours, 0));
        unit = QStringLiteral("%");
        why = u8("泊位利用率 = 占用泊位时间÷(统计期天数×24)×100% = %1÷(%2×24)×100% ≈ %3%。分母是日历时间，不是作业班次时间。")
                  .arg(number(hours, 0), number(days, 0), number(right, 2));
        break;
    }
    case TimeInPort:
    case Waiting: {
        const double total = d[0] + d[1] + d[2] + d[3];
        const QString data = u8("某船在港期间：锚地待泊%1小时，靠泊及准备%2小时，装卸作业%3小时，离泊及其他%4小时，")
                                 .arg(number(d[0], 0), number(d[1], 0), number(d[2], 0), number(d[3], 0));
        if (kind == TimeInPort) {
            right = total;
            slips = {total - d[0], d[2], total - d[3]};
            decimals = 0;
            stem = data + u8("则该船的在港停时为（　　）。");
            unit = u8("小时");
            why = u8("在港停时是船舶从抵港到离港的全部时间，包括待泊时间：%1+%2+%3+%4 = %5小时。")
                      .arg(number(d[0], 0), number(d[1], 0), number(d[2], 0), number(d[3], 0), number(total, 0));
        } else {
            right = d[0] / total * 100.0;
            slips = {d[0] / d[2] * 100.0, d[0] / (total - d[0]) * 100.0, (total - d[0]) / total * 100.0};
            stem = data + u8("则该船待泊时间占在港停时的比例约为（　　）。");
            unit = QStringLiteral("%");
            why = u8("在港停时 = %1小时；待泊时间比例 = %2÷%1×100% ≈ %3%。比例的基数是在港停时，不是装卸作业时间。")
                      .arg(number(total, 0), number(d[0], 0), number(right, 2));
        }
        break;
    }
    case CraneRate:
        right = d[2] / (d[0] * d[1]);
        slips = {d[2] / d[1], d[2] / d[0], d[2] / (d[0] * d[1] * 2.0)};
        stem = u8("某作业线配备门座起重机%1台，连续作业%2小时，共完成装卸%3吨，则该作业线的台时效率约为（　　）。")
                   .arg(number(d[0], 0), number(d[1], 0), number(d[2], 0));
        unit = u8("吨/台时");
        why = u8("台时效率 = 装卸吨数÷(起重机台数×作业小时) = %1÷(%2×%3) ≈ %4吨/台时。").arg(number(d[2], 0), number(d[0], 0), number(d[1], 0), number(right, 2));
        break;
    default:
        right = d[1] / d[0];
        slips = {d[0] / d[1], d[1] / d[0] - 1.0, d[1] / d[0] + 1.0};
        stem = u8("某港某年完成货物吞吐量%1万吨，完成装卸操作量%2万吨，则该港的操作系数约为（　　）。").arg(number(d[0], 0), number(d[1], 0));
        why = u8("操作系数 = 操作量÷吞吐量 = %1÷%2 ≈ %3，表示每吨货物在港平均经过的装卸操作次数，不会小于1。")
                  .arg(number(d[1], 0), number(d[0], 0), number(right, 2));
    }
    QStringList wrong;
    const QString rightText = number(right, decimals) + unit;
    for (double v : slips) {
        QString t = number(v, decimals) + unit;
        for (double f = 1.08; wrong.contains(t) || t == rightText; f += 0.07)
            t = number(right * f, decimals) + unit;
        wrong << t;
    }
    Text out = choiceOf(stem, {rightText}, wrong, 4, why, {0});
    out.kps = {0, s.keyPoints.size() > 3 ? 3 : 0};
    return out;
}

// The second question of a comprehensive item: what the result of the
// first one means for the port, worked out from the same figures.
Text Generator::discussion(const QString &prefix, int kind, const std::vector<double> &d)
{
    Text out;
    switch (kind) {
    case Capacity: {
        const double calls = std::floor(d[1] * 24.0 / d[3]);
        const double perBerth = calls * d[2] / 10000.0;
        const double capacity = d[0] * perBerth;
        const double forecast = std::round(capacity * double(m_rng.between(80, 140)) / 100.0);
        const int needed = int(std::ceil(forecast / perBerth - 1e-9));
        out.body = prefix + u8("若该港区下一年度预测需完成货物吞吐量%1万吨，现有泊位能否满足需要？如不能，至少需要多少个同类泊位？").arg(number(forecast, 0));
        out.jx = needed <= int(d[0])
                     ? u8("【参考答案】现有%1个泊位的年通过能力约为%2万吨，不小于预测吞吐量%3万吨，能够满足需要；"
                          "但泊位负荷较高时船舶待泊增多，应做好泊位计划和集疏运衔接。")
                           .arg(number(d[0], 0), number(capacity, 2), number(forecast, 0))
                     : u8("【参考答案】现有泊位年通过能力约为%1万吨，小于预测吞吐量%2万吨，不能满足需要。"
                          "单个泊位年通过能力约为%3万吨，%2÷%3 ≈ %4，取整后至少需要%5个同类泊位，即还需增加%6个；"
                          "在新泊位建成前，可通过缩短辅助作业时间、提高装卸效率来挖掘现有泊位能力。")
                           .arg(number(capacity, 2), number(forecast, 0), number(perBerth, 2), number(forecast / perBerth, 2))
                           .arg(needed)
                           .arg(needed - int(d[0]));
        break;
    }
    case TimeInPort: {
        const double total = d[0] + d[1] + d[2] + d[3];
        out.body = prefix + u8("结合该船待泊%1小时、装卸作业%2小时的情况，指出其在港时间中可以压缩的主要部分，并提出缩短船舶在港停时的措施。")
                                .arg(number(d[0], 0), number(d[2], 0));
        out.jx = u8("【参考答案】装卸作业%1小时占在港停时的%2%，其余%3小时为待泊和辅助时间，其中锚地待泊%4小时（占%5%）是可以压缩的主要部分。"
                    "措施：（1）根据船舶预计抵港时间提前编制泊位计划，减少待泊；（2）做好货源、机械和劳力的准备，船舶靠泊即开工；"
                    "（3）合理配置作业线，提高装卸效率；（4）协调引航、拖轮和联检，缩短靠离泊及辅助作业时间。")
                     .arg(number(d[2], 0), number(d[2] / total * 100.0, 2), number(total - d[2], 0), number(d[0], 0),
                          number(d[0] / total * 100.0, 2));
        break;
    }
    default: {   // CraneRate
        const double rate = d[2] / (d[0] * d[1]);
        const double quota = std::round(rate * double(m_rng.between(90, 125)) / 100.0 / 5.0) * 5.0;
        const double done = rate / quota * 100.0;
        out.body = prefix + u8("若该港门座起重机的台时效率定额为%1吨/台时，计算该作业线的定额完成率，并说明提高台时效率的途径。").arg(number(quota, 0));
        out.jx = u8("【参考答案】定额完成率 = 实际台时效率÷定额×100% = %1÷%2×100% ≈ %3%，%4。"
                    "提高台时效率的途径：合理安排作业线和工班，减少机械等车、等货的时间；做好舱口和货位的准备；加强机械保养，减少故障停机；提高司机操作熟练程度。")
                     .arg(number(rate, 2), number(quota, 0), number(done, 2), done >= 100.0 ? u8("已完成定额") : u8("未完成定额"));
    }
    }
    out.kps = {3};
    return out;
}

// ------------------------------------------------------------------ writing

void Generator::writeQuestion(const Section &s, const QString &id, int type, const Text &text, int &xx)
{
    m_bodies.insert(text.body);
    const QStringList kps = keyPointsFor(s, text);
    QSqlQuery &a = *m_insAnsw;
    a.bindValue(0, id);
    a.bindValue(1, text.key);
    a.bindValue(2, text.options);
    for (int k = 0; k < 10; ++k)
        a.bindValue(3 + k, k < kps.size() ? QVariant(kps[k]) : QVariant(QMetaType::fromType<QString>()));
    a.bindValue(13, s.code);
    a.bindValue(14, type);
    a.bindValue(15, ++xx);
    exec(a);

    QSqlQuery &e = *m_insExer;
    e.bindValue(0, id);
    e.bindValue(1, !text.bodyRtf.isEmpty() ? text.bodyRtf : richtext::plainTextToRtf(text.body));
    e.bindValue(2, !text.jxRtf.isEmpty() ? QVariant(text.jxRtf)
                   : text.jx.isNull()   ? QVariant(QMetaType::fromType<QByteArray>())
                                        : QVariant(richtext::plainTextToRtf(text.jx)));
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
    auto withoutExplanationSometimes = [&](Text &t) {
        if (m_rng.percent(12) && t.jxRtf.isEmpty())
            t.jx = QString();
    };
    auto subjective = [](Text &t) {
        t.key = QStringLiteral("1");
        t.options = 1;
    };
    // A calculation whose figures happen to repeat an earlier body is drawn again.
    auto fresh = [&](auto make) {
        Text t = make();
        for (int tries = 0; m_bodies.contains(t.body) && tries < 50; ++tries)
            t = make();
        return t;
    };
    const int kind = calcKindOf(s);
    for (const Unit &u : s.units) {
        const QString typeCode = QString::number(u.type);
        if (u.subs == 0) {
            const int seq = ++ordinarySeq[u.type];
            if (seq > 9999)
                throw store::DbError(QStringLiteral("demo bank: more than 9999 questions of one type in section ") + s.code);
            const QString id = s.code + typeCode + pad(seq, 4);
            Text text;
            const int pool = poolOf(u.type);
            if (u.type == 62) {
                text = fresh([&] { return numericChoice(s, kind); });
            } else if (u.type == 75) {
                text = fresh([&] {
                    Text t = calculation(QString(), kind, calculationData(kind));
                    t.kps = {0};
                    return t;
                });
            } else if (u.type == 77 || u.type == 64) {
                // Standing alone: background, a calculation and what it means.
                const int k = kind == Utilisation ? int(Capacity) : kind == Waiting ? int(TimeInPort) : kind == HandlingRatio ? int(CraneRate) : kind;
                text = fresh([&] {
                    const std::vector<double> d = calculationData(k);
                    const Text calc = calculation(QStringLiteral("1. "), k, d);
                    const Text discuss = discussion(QStringLiteral("2. "), k, d);
                    Text t;
                    t.body = calculationMaterial(k, d) + u8("\n问题：\n") + calc.body + QStringLiteral("\n") + discuss.body;
                    t.jx = calc.jx + QStringLiteral("\n") + discuss.jx;
                    t.kps = k == kind ? std::vector<int>{0, 3} : std::vector<int>{3};
                    return t;
                });
            } else if (pool >= 0 && !s.pools[pool].empty()) {
                text = fromPool(s, pool);
            } else {
                throw items::ContentError("demo bank content: no items of type " + std::to_string(u.type) + " for section " +
                                          s.code.toStdString());
            }
            if (isSubjective(u.type))
                subjective(text);
            else
                withoutExplanationSometimes(text);
            writeQuestion(s, id, u.type, text, xx);
            continue;
        }

        // A material and its sub-questions.
        const int seq = ++materialSeq[u.type];
        if (seq > 9999)
            throw store::DbError(QStringLiteral("demo bank: more than 9999 materials of one type in section ") + s.code);
        const QString materialId = s.code + typeCode + QStringLiteral("CASE") + pad(seq, 4);
        std::vector<Text> subs;
        QString material;
        if (u.type == 64) {
            const items::Case &c = s.content->cases[size_t(u.item & 0xFF)];
            material = u8("【案例】") + c.material;
            for (int k = 0; k < u.subs; ++k) {
                const items::CaseQuestion &q = c.questions[size_t(k)];
                Text t = written({c.kp, q.question, q.points}, u8("（") + QString::number(k + 1) + u8("）"));
                t.jx.replace(u8("【参考答案】"), u8("【参考答案要点】"));
                subs.push_back(t);
            }
        } else {   // 77: a calculation, then what its result means
            const int k = kind == Utilisation ? int(Capacity) : kind == Waiting ? int(TimeInPort) : kind == HandlingRatio ? int(CraneRate) : kind;
            std::vector<double> data;
            for (int tries = 0; tries < 50; ++tries) {
                data = calculationData(k);
                material = calculationMaterial(k, data);
                subs = {calculation(u8("（1）"), k, data), discussion(u8("（2）"), k, data)};
                if (!m_bodies.contains(material) && !m_bodies.contains(subs[0].body) && !m_bodies.contains(subs[1].body))
                    break;
            }
            m_bodies.insert(material);
            subs[0].kps = {k == kind ? 0 : 3};
        }
        m_insTitle->bindValue(0, materialId);
        m_insTitle->bindValue(1, richtext::plainTextToRtf(material));
        exec(*m_insTitle);
        for (int k = 0; k < int(subs.size()); ++k) {
            Text &text = subs[size_t(k)];
            subjective(text);
            writeQuestion(s, materialId + QLatin1Char('-') + pad(k + 1, 2), u.type, text, xx);
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
                row(s.code,
                    u8("本节重点：%1、%2。注意结合%3的有关规定理解。")
                        .arg(s.keyPoints[0].title.trimmed(), s.keyPoints[1].title.trimmed(), u8(ch.name)),
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
                    r.bindValue(0, s.groupId);
                    r.bindValue(1, kp.ftid);
                    r.bindValue(2, kp.title);
                    r.bindValue(3, richtext::plainTextToRtf(kp.text));
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

// The rich items (a table, a formula line, pictures) join the single
// choices of the sections they belong to.
void Generator::addRichItems(const Section &s, std::vector<Text> &single)
{
    if (s.index >= int(chapterText(s).sections.size()))
        return;   // the first section of a topic only
    for (const rich::Item &r : rich::itemsFor(s.code)) {
        Text t;
        t.body = r.plainBody;
        t.bodyRtf = r.body;
        t.jxRtf = r.jx;
        t.jx = r.plainJx;
        t.key = r.key;
        t.options = r.options;
        t.kps = {r.kp};
        single.insert(single.begin(), t);
    }
}

void Generator::run()
{
    std::vector<items::SectionItems> all;
    for (const char *text : {items::Part1Items, items::Part2Items, items::Part3Items, items::Part4Items, items::Part5Items})
        items::parseInto(all, text);
    for (items::SectionItems &s : all) {
        if (m_items.contains(s.code))
            throw items::ContentError("demo bank content: section " + s.code.toStdString() + " written twice");
        m_items.insert(s.code, std::move(s));
    }
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

std::vector<Question> sampleQuestions(const QString &path, int count, quint32 seed)
{
    if (!QFileInfo::exists(path))
        throw store::DbError(QStringLiteral("%1 does not exist").arg(path));
    std::vector<Question> out;
    withDatabase(path, QStringLiteral("QSQLITE_OPEN_READONLY"), [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        if (!q.exec(QStringLiteral(
                "select a.A1, coalesce(t.B1, a.A13), coalesce(k.C2, a.A10), m.A15, e.A15, a.A2, e.jx, "
                "a.K3, a.K4, a.K5, a.K6, a.K7, a.K8, a.K9, a.K10, a.K11, a.K12 "
                "from tab_answ a join tab_exer e on e.A1 = a.A1 left join tab_kmmc k on k.C1 = a.A10 "
                "left join tab_title m on m.A1 = substr(a.A1, 1, 16) and instr(a.A1, '-') > 0 "
                "left join (select A1, min(B1) as B1 from (select A1, B1 from tab_tx1 union all select A1, B1 from tab_tx2 "
                "union all select A1, B1 from tab_tx3 union all select A1, B1 from tab_tx4 union all select A1, B1 from tab_tx5) "
                "group by A1) t on t.A1 = a.A13 order by a.A1")))
            throw store::DbError(q.lastError().text());
        QHash<QString, QString> titles;
        QSqlQuery r(db);
        if (!r.exec(QStringLiteral("select ftid, sn from tab_rule")))
            throw store::DbError(r.lastError().text());
        while (r.next())
            titles.insert(r.value(0).toString(), r.value(1).toString().trimmed());
        while (q.next()) {
            Question x;
            x.id = q.value(0).toString();
            x.type = q.value(1).toString();
            x.section = q.value(2).toString();
            if (!q.value(3).isNull())
                x.material = richtext::rtfToPlainText(q.value(3).toByteArray());
            x.body = richtext::rtfToPlainText(q.value(4).toByteArray());
            x.key = q.value(5).toString();
            if (!q.value(6).isNull())
                x.explanation = richtext::rtfToPlainText(q.value(6).toByteArray());
            for (int k = 7; k <= 16; ++k)
                if (!q.value(k).toString().isEmpty())
                    x.keyPoints << titles.value(q.value(k).toString(), q.value(k).toString());
            out.push_back(x);
        }
    });
    if (count > 0 && count < int(out.size())) {
        Rng rng(quint64(seed) * 0x9E3779B97F4A7C15ull + 1);
        std::vector<int> picked = rng.sample(int(out.size()), count);
        std::sort(picked.begin(), picked.end());
        std::vector<Question> some;
        for (int i : picked)
            some.push_back(out[size_t(i)]);
        out = std::move(some);
    }
    return out;
}

QString describe(const Question &q)
{
    QString s = QStringLiteral("== %1  %2  %3\n").arg(q.id, q.type, q.section);
    if (!q.material.isEmpty())
        s += q.material + QStringLiteral("\n");
    s += q.body + QStringLiteral("\n") + QString::fromUtf8("【键】") + q.key + QStringLiteral("\n");
    if (!q.explanation.isEmpty())
        s += q.explanation + QStringLiteral("\n");
    s += QString::fromUtf8("【考点】") + (q.keyPoints.isEmpty() ? QString::fromUtf8("（无）") : q.keyPoints.join(QString::fromUtf8("；"))) + QStringLiteral("\n");
    return s;
}

} // namespace demobank
