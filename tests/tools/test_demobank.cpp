// The demo bank must follow every rule of the bank's data that the program
// relies on: exact counters, drawable papers, keys in their encoding,
// materials for sub-questions, key-point lists without gaps.  Each rule is
// checked on the demo bank, on a scaled bank and on the smallest bank.
#include "DemoBank.h"

#include "store/DbError.h"
#include "store/Schema.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QUuid>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <memory>

namespace {

// What one mock paper draws per subject, type and part.
struct PaperDraw {
    int subject, type;
    const char *part;
    int count;
};
const PaperDraw PaperDraws[] = {
    {1, 61, "01", 25}, {1, 61, "05", 15}, {1, 65, "01", 9}, {1, 65, "05", 6},
    {1, 71, "01", 26}, {1, 71, "05", 14}, {1, 73, "01", 8}, {1, 73, "05", 7},
    {2, 61, "02", 35}, {2, 65, "02", 15}, {2, 71, "02", 15}, {2, 74, "02", 2},
    {3, 61, "03", 35}, {3, 65, "03", 15}, {3, 71, "03", 15}, {3, 74, "03", 2},
    {4, 62, "04", 10}, {4, 75, "04", 3}, {4, 76, "04", 1}, {4, 77, "04", 1},
    {5, 64, "05", 6},
};
const int PaperSize[] = {0, 110, 67, 67, 15, 6};
constexpr int MinimumBank = 3 * (110 + 67 + 67 + 15 + 6);

bool isSubjective(int type) { return type == 64 || (type >= 74 && type <= 77); }

// The bank file on a read-only connection of its own.
class Bank {
public:
    explicit Bank(const QString &path) : m_name(QUuid::createUuid().toString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        EXPECT_TRUE(db.open()) << db.lastError().text().toStdString();
    }
    ~Bank()
    {
        QSqlDatabase::database(m_name).close();
        QSqlDatabase::removeDatabase(m_name);
    }
    std::vector<QVariantList> rows(const QString &sql, const QVariantList &binds = {}) const
    {
        QSqlQuery q(QSqlDatabase::database(m_name));
        std::vector<QVariantList> out;
        if (!q.prepare(sql)) {
            ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
            return out;
        }
        for (const QVariant &b : binds)
            q.addBindValue(b);
        if (!q.exec()) {
            ADD_FAILURE() << sql.toStdString() << ": " << q.lastError().text().toStdString();
            return out;
        }
        while (q.next()) {
            QVariantList r;
            for (int i = 0; i < q.record().count(); ++i)
                r << q.value(i);
            out.push_back(r);
        }
        return out;
    }
    QVariant value(const QString &sql, const QVariantList &binds = {}) const
    {
        const auto r = rows(sql, binds);
        return r.empty() || r.front().isEmpty() ? QVariant() : r.front().front();
    }

private:
    QString m_name;
};

// Collects rule violations so that one failure lists the first few cases.
struct Violations {
    QStringList items;
    void add(const QString &s) { items << s; }
    std::string report() const { return items.mid(0, 8).join(QLatin1String("\n")).toStdString(); }
};

enum class BankKind { Demo, Scaled, Smallest };

struct Generated {
    QTemporaryDir dir;
    std::map<BankKind, QString> paths;
};

Generated &generated()
{
    static Generated g;
    return g;
}

QString bankFor(BankKind kind)
{
    Generated &g = generated();
    if (g.paths.count(kind) == 0) {
        demobank::Options o;
        o.questions = kind == BankKind::Scaled ? 5000 : kind == BankKind::Smallest ? 1 : 0;
        const QString path = g.dir.filePath(QStringLiteral("bank%1.db").arg(int(kind)));
        demobank::generate(path, o);
        g.paths[kind] = path;
    }
    return g.paths[kind];
}

class DemoBankRules : public ::testing::TestWithParam<BankKind> {
protected:
    void SetUp() override { bank = std::make_unique<Bank>(bankFor(GetParam())); }
    std::unique_ptr<Bank> bank;
};

TEST_P(DemoBankRules, SchemaStampsAndSettings)
{
    EXPECT_EQ(bank->value(QStringLiteral("PRAGMA user_version")).toInt(), store::SchemaVersion);
    EXPECT_EQ(bank->value(QStringLiteral("select count(*) from tab_sj where cpbs = ? and sjbs <> ''"),
                          {QString::fromLatin1(store::ProductStamp)}).toInt(), 1);
    const auto plan = bank->rows(QStringLiteral("select LeastMark, ExamTime, PlanMark, PlanAmount, PlanTime, ExamDate from tab_plan"));
    ASSERT_EQ(plan.size(), 1u);
    EXPECT_EQ(plan[0][1].toInt(), 7200);
    EXPECT_EQ(plan[0][2].toInt(), 0);
    EXPECT_GT(plan[0][3].toInt(), 0);
    EXPECT_GT(plan[0][4].toInt(), 0);
    const QDate examDate = QDate::fromString(plan[0][5].toString(), QStringLiteral("yyyy-MM-dd"));
    EXPECT_TRUE(examDate.isValid()) << plan[0][5].toString().toStdString();
    EXPECT_GT(examDate, QDate(2026, 12, 31));
    // The minimum mark must be reachable on every subject's paper (total =
    // sum of B2 x B3, each rounded half to even as the program does).
    for (int s = 1; s <= 5; ++s) {
        double total = 0;
        for (const auto &r : bank->rows(QStringLiteral("select B2, B3 from tab_tx%1").arg(s)))
            total += std::nearbyint(r[0].toDouble()) * std::nearbyint(r[1].toDouble());
        EXPECT_LE(plan[0][0].toInt(), total) << "subject " << s;
    }
}

TEST_P(DemoBankRules, ChapterTreeCountsAndOrder)
{
    QHash<QString, int> real;
    for (const auto &r : bank->rows(QStringLiteral("select A10 from tab_answ"))) {
        const QString a10 = r[0].toString();
        for (int len = 1; len <= a10.size(); ++len)
            ++real[a10.left(len)];
    }
    const auto rows = bank->rows(QStringLiteral("select bh, C1, C1_1, C2, C3, C4, C6, C7, D1, D2, length(jx) from tab_kmmc order by bh"));
    Violations v;
    QStringList treeOrder;
    QSet<QString> codes;
    int placeholders = 0, guides = 0;
    QVariant lastBh;
    for (const auto &r : rows) {
        const QString code = r[1].toString();
        if (lastBh.isValid() && r[0].toInt() <= lastBh.toInt())
            v.add(QStringLiteral("bh not increasing at ") + code);
        lastBh = r[0];
        if (r[4].toInt() != real.value(code))
            v.add(QStringLiteral("%1: C3 %2, questions %3").arg(code).arg(r[4].toInt()).arg(real.value(code)));
        if (r[5].toInt() != 0 || r[8].toInt() != 0 || r[9].toInt() != 0)
            v.add(code + QStringLiteral(": counters not 0"));
        if (!r[6].isNull() && r[6].toString() != QLatin1String("") && r[6].toString() != QLatin1String("0"))
            v.add(code + QStringLiteral(": C6 ") + r[6].toString());
        if (code == QLatin1String("xx")) {
            ++placeholders;
            continue;
        }
        codes.insert(code);
        treeOrder << code;
        if (code.size() != 1 && code.size() != 2 && code.size() != 4 && code.size() != 6)
            v.add(code + QStringLiteral(": length"));
        if ((r[7].toString() == QLatin1String("0")) != (code.size() == 4))
            v.add(code + QStringLiteral(": C7 ") + r[7].toString());
        if (r[2].toString().trimmed().isEmpty() || r[3].toString().trimmed().isEmpty())
            v.add(code + QStringLiteral(": name or hint empty"));
        if (r[10].toInt() > 0)
            ++guides;
    }
    EXPECT_EQ(placeholders, 1);
    EXPECT_GT(guides, 0) << "no chapter carries an explanation guide";
    // Codes are prefix-hierarchical with fixed widths, so tree order is
    // their text order, and every code's parent row exists.
    QStringList sorted = treeOrder;
    sorted.sort();
    EXPECT_EQ(treeOrder, sorted);
    EXPECT_EQ(codes.size(), treeOrder.size()) << "duplicate chapter codes";
    EXPECT_EQ(treeOrder.value(0), QStringLiteral("0")) << "the book heading comes first";
    EXPECT_EQ(std::count_if(treeOrder.cbegin(), treeOrder.cend(), [](const QString &c) { return c.size() == 1; }), 1);
    for (const char *part : {"01", "02", "03", "04", "05"})
        EXPECT_TRUE(codes.contains(QLatin1String(part))) << part;
    for (const QString &code : codes) {
        const int parent = code.size() == 6 ? 4 : code.size() == 4 ? 2 : code.size() == 2 ? 1 : 0;
        if (parent && !codes.contains(code.left(parent)))
            v.add(code + QStringLiteral(": no parent row"));
    }
    for (auto it = real.cbegin(); it != real.cend(); ++it)
        if (it.key().size() == 6 && !codes.contains(it.key()))
            v.add(it.key() + QStringLiteral(": questions in a section without a row"));
    EXPECT_TRUE(v.items.isEmpty()) << v.report();
}

TEST_P(DemoBankRules, EveryPaperCanBeDrawnThreeTimesOver)
{
    // The paper's own selection: candidates of the subject, then per type
    // and part "A13=t and a10 like 'p*' and f1<>1".
    for (const PaperDraw &d : PaperDraws) {
        const int n = bank->value(QStringLiteral("select count(*) from tab_answ where A13 = ? and A10 like ? and f1 <> 1"),
                                  {d.type, QString::fromLatin1(d.part) + QLatin1Char('%')}).toInt();
        EXPECT_GE(n, 3 * d.count) << "subject " << d.subject << " type " << d.type << " part " << d.part;
    }
    // No question lies outside the composition: every (type, part) group of
    // the bank is drawn by some paper.
    for (const auto &r : bank->rows(QStringLiteral("select distinct A13, substr(A10,1,2) from tab_answ"))) {
        bool listed = false;
        for (const PaperDraw &d : PaperDraws)
            listed |= (d.type == r[0].toInt() && r[1].toString() == QLatin1String(d.part));
        EXPECT_TRUE(listed) << "type " << r[0].toInt() << " in part " << r[1].toString().toStdString();
    }
}

TEST_P(DemoBankRules, TypeTablesCarryThePaperComposition)
{
    static const char *const subjectiveNames[] = {"简答", "主观", "论述", "案例分析", "名词解释", "查找错误", "综合", "计算"};
    for (int s = 1; s <= 5; ++s) {
        std::map<int, int> expected;
        for (const PaperDraw &d : PaperDraws)
            if (d.subject == s)
                expected[d.type] += d.count;
        std::map<int, int> actual;
        int sum = 0;
        for (const auto &r : bank->rows(QStringLiteral("select A1, B1, B2, B3, time from tab_tx%1 order by A1").arg(s))) {
            const int type = r[0].toInt();
            const QString name = r[1].toString();
            actual[type] = r[2].toInt();
            sum += r[2].toInt();
            bool recognisedSubjective = false;
            for (const char *word : subjectiveNames)
                recognisedSubjective |= name.contains(QString::fromUtf8(word));
            EXPECT_EQ(recognisedSubjective, isSubjective(type)) << "subject " << s << " type " << type << " " << name.toStdString();
            EXPECT_GT(r[3].toDouble(), 0) << "B3 of " << type;
            EXPECT_GE(r[4].toDouble(), 0.5) << "time of " << type;
            EXPECT_LE(r[4].toDouble(), 15.0) << "time of " << type;
        }
        EXPECT_EQ(actual, expected) << "subject " << s;
        EXPECT_EQ(sum, PaperSize[s]) << "subject " << s;
    }
}

// Why a key does not fit its type, or empty.
QString keyProblem(int type, const QString &key, int options)
{
    if (isSubjective(type))
        return key == QLatin1String("1") && options == 1 ? QString() : QStringLiteral("subjective wants 1/1");
    if (type == 71)
        return (key == QLatin1String("A") || key == QLatin1String("B")) && options == 2 ? QString() : QStringLiteral("true/false");
    if (options < 2 || options > 6)
        return QStringLiteral("option count");
    for (int i = 0; i < key.size(); ++i) {
        const int letter = key[i].unicode() - u'A';
        if (letter < 0 || letter >= options)
            return QStringLiteral("letter outside the options");
        if (i > 0 && key[i] <= key[i - 1])
            return QStringLiteral("letters not in option order");
    }
    switch (type) {
    case 61:
    case 62: return key.size() == 1 && (options == 4 || options == 5) ? QString() : QStringLiteral("single choice");
    case 65: return key.size() >= 2 ? QString() : QStringLiteral("multiple choice wants 2+ letters");
    case 73: return key.size() >= 1 ? QString() : QStringLiteral("empty key");
    default: return QStringLiteral("unknown type");
    }
}

TEST_P(DemoBankRules, KeysFitTheirType)
{
    Violations v;
    for (const auto &r : bank->rows(QStringLiteral("select A1, A13, A2, A2_1 from tab_answ"))) {
        const QString problem = keyProblem(r[1].toInt(), r[2].toString(), r[3].toInt());
        if (!problem.isEmpty())
            v.add(QStringLiteral("%1 type %2 key %3/%4: %5").arg(r[0].toString()).arg(r[1].toInt()).arg(r[2].toString()).arg(r[3].toInt()).arg(problem));
    }
    EXPECT_TRUE(v.items.isEmpty()) << v.report();
}

TEST_P(DemoBankRules, IdsBodiesAndMaterials)
{
    Violations v;
    const int questions = bank->value(QStringLiteral("select count(*) from tab_answ")).toInt();
    EXPECT_EQ(bank->value(QStringLiteral("select count(distinct upper(A1)) from tab_answ")).toInt(), questions);
    EXPECT_EQ(bank->value(QStringLiteral("select count(*) from tab_exer e join tab_answ a on a.A1 = e.A1")).toInt(), questions);
    EXPECT_EQ(bank->value(QStringLiteral("select count(*) from tab_exer")).toInt(), questions);
    QSet<QString> materials;
    for (const auto &r : bank->rows(QStringLiteral("select A1, substr(A15,1,5) from tab_title"))) {
        materials.insert(r[0].toString());
        if (r[0].toString().size() != 16 || r[1].toByteArray() != "{\\rtf")
            v.add(r[0].toString() + QStringLiteral(": material id or text"));
    }
    QSet<QString> usedMaterials;
    int withoutExplanation = 0;
    for (const auto &r : bank->rows(QStringLiteral(
             "select a.A1, substr(e.A15,1,5), substr(e.jx,1,5), e.jx is null from tab_answ a join tab_exer e on a.A1 = e.A1"))) {
        const QString id = r[0].toString();
        if (id.contains(QLatin1Char('-'))) {
            if (id.size() > 20 || !materials.contains(id.left(16)))
                v.add(id + QStringLiteral(": sub-question without its material"));
            usedMaterials.insert(id.left(16));
        } else if (id.size() != 12) {
            v.add(id + QStringLiteral(": ordinary id not 12 characters"));
        }
        if (r[1].toByteArray() != "{\\rtf")
            v.add(id + QStringLiteral(": body is not RTF"));
        if (r[3].toBool())
            ++withoutExplanation;
        else if (r[2].toByteArray() != "{\\rtf")
            v.add(id + QStringLiteral(": explanation is not RTF"));
    }
    EXPECT_EQ(usedMaterials, materials) << "a material without sub-questions";
    EXPECT_GT(withoutExplanation, 0);
    EXPECT_LT(withoutExplanation, questions / 5) << "most questions have an explanation";
    // Order numbers run 1..n within each section.
    for (const auto &r : bank->rows(QStringLiteral(
             "select A10, count(*), count(distinct xx), min(xx), max(xx) from tab_answ group by A10"))) {
        if (r[1] != r[2] || r[3].toInt() != 1 || r[4].toInt() != r[1].toInt())
            v.add(r[0].toString() + QStringLiteral(": xx not 1..n"));
    }
    EXPECT_TRUE(v.items.isEmpty()) << v.report();
}

TEST_P(DemoBankRules, StudyStateStartsEmpty)
{
    // Every selection tests f1<>1 and (E2 = '' or E2 is null); counters must
    // count from 0, never from NULL.
    EXPECT_EQ(bank->value(QStringLiteral(
                  "select count(*) from tab_answ where F1 is not 0 or E2 is not '' or E2_1 is not '' or E3 is not 0 "
                  "or E4 is not 0 or ecount is not 0 or csbs is not '' or A14 is not null or E1 is not null")).toInt(), 0);
    EXPECT_EQ(bank->value(QStringLiteral(
                  "select count(*) from tab_rule where q1 is not 0 or q2 is not 0 or q4 is not 0 or q is null")).toInt(), 0);
    EXPECT_EQ(bank->value(QStringLiteral(
                  "select count(*) from tab_fgmc where q1 is not 0 or q2 is not 0 or q4 is not 0 or q is null")).toInt(), 0);
}

TEST_P(DemoBankRules, KeyPointListsAndCountsAreExact)
{
    QHash<QString, int> ruleQ, groupQ;
    Violations v;
    const auto keyPoints = bank->rows(QStringLiteral("select id, ftid, sn, substr(n,1,5), q from tab_rule order by id, ftid"));
    QSet<QString> ftids;
    for (const auto &r : keyPoints)
        ftids.insert(r[1].toString());
    int cited = 0;
    for (const auto &r : bank->rows(QStringLiteral("select A1, K3, K4, K5, K6, K7, K8, K9, K10, K11, K12 from tab_answ"))) {
        QStringList list;
        bool ended = false;
        for (int k = 1; k <= 10; ++k) {
            const QString kp = r[k].toString();
            if (kp.isEmpty()) {
                ended = true;
                continue;
            }
            if (ended)
                v.add(r[0].toString() + QStringLiteral(": gap in K3..K12"));
            if (list.contains(kp))
                v.add(r[0].toString() + QStringLiteral(": key point listed twice"));
            if (!ftids.contains(kp))
                v.add(r[0].toString() + QStringLiteral(": unknown key point ") + kp);
            list << kp;
        }
        if (list.size() > 4)
            v.add(r[0].toString() + QStringLiteral(": more than 4 key points"));
        cited += list.isEmpty() ? 0 : 1;
        QSet<QString> attached;   // a question counts once per group and heading
        for (const QString &kp : list) {
            ++ruleQ[kp];
            attached << kp.left(6) << kp.left(2) << kp.left(1);
        }
        for (const QString &g : attached)
            ++groupQ[g];
    }
    EXPECT_GT(cited, 0);

    QSet<QString> groups;
    const auto groupRows = bank->rows(QStringLiteral("select id, q, n from tab_fgmc order by bh"));
    QStringList groupOrder;
    for (const auto &r : groupRows) {
        const QString id = r[0].toString();
        groups.insert(id);
        groupOrder << id;
        if (id.size() != 1 && id.size() != 2 && id.size() != 6)
            v.add(id + QStringLiteral(": group id length"));
        if (r[1].toInt() != groupQ.value(id))
            v.add(QStringLiteral("group %1: q %2, questions %3").arg(id).arg(r[1].toInt()).arg(groupQ.value(id)));
        if (r[2].toString().trimmed().isEmpty())
            v.add(id + QStringLiteral(": no name"));
    }
    QStringList sorted = groupOrder;
    sorted.sort();
    EXPECT_EQ(groupOrder, sorted) << "directory order is not the tree order";

    QHash<QString, QSet<QString>> titles;
    for (const auto &r : keyPoints) {
        const QString group = r[0].toString(), ftid = r[1].toString(), title = r[2].toString();
        if (ftid.size() < 8 || ftid.size() > 12 || ftid.left(6) != group)
            v.add(ftid + QStringLiteral(": id does not name its group"));
        if (!groups.contains(group) || !groups.contains(ftid.left(2)) || !groups.contains(ftid.left(1)))
            v.add(ftid + QStringLiteral(": group or heading row missing"));
        // The directory finds a key point by its trimmed title within the
        // group and cuts list entries at "(".
        const QString trimmed = title.trimmed();
        if (trimmed.isEmpty() || trimmed.contains(QLatin1Char('(')) || titles[group].contains(trimmed))
            v.add(ftid + QStringLiteral(": title empty, with \"(\" or not unique: ") + title);
        titles[group].insert(trimmed);
        if (r[3].toByteArray() != "{\\rtf")
            v.add(ftid + QStringLiteral(": text is not RTF"));
        if (r[4].toInt() != ruleQ.value(ftid))
            v.add(QStringLiteral("%1: q %2, questions %3").arg(ftid).arg(r[4].toInt()).arg(ruleQ.value(ftid)));
    }
    EXPECT_TRUE(v.items.isEmpty()) << v.report();
}

TEST_P(DemoBankRules, KeyPointsBelongToTheQuestionsPart)
{
    // Key point "1..." belongs to part "01", "5..." to part "05" and so on.
    QStringList outside;
    for (int k = 3; k <= 12; ++k)
        outside << QStringLiteral("(K%1 <> '' and substr(K%1,1,1) <> substr(A10,2,1))").arg(k);
    EXPECT_EQ(bank->value(QStringLiteral("select count(*) from tab_answ where ") + outside.join(QLatin1String(" or "))).toInt(), 0);
}

INSTANTIATE_TEST_SUITE_P(Banks, DemoBankRules,
                         ::testing::Values(BankKind::Demo, BankKind::Scaled, BankKind::Smallest),
                         [](const ::testing::TestParamInfo<BankKind> &info) {
                             return info.param == BankKind::Demo ? "Demo" : info.param == BankKind::Scaled ? "Scaled5000" : "Smallest";
                         });

QStringList dump(const QString &path)
{
    Bank b(path);
    QStringList out;
    for (const QString &sql : {QStringLiteral("select * from tab_answ order by A1"), QStringLiteral("select * from tab_exer order by A1"),
                               QStringLiteral("select * from tab_title order by A1"), QStringLiteral("select * from tab_rule order by ftid")}) {
        for (const auto &r : b.rows(sql)) {
            QStringList cells;
            for (const QVariant &c : r)
                cells << (c.isNull() ? QStringLiteral("<null>") : QString::fromLatin1(c.toByteArray().toHex()));
            out << cells.join(QLatin1Char('|'));
        }
    }
    return out;
}

TEST(DemoBank, SameSeedSameBankOtherSeedOtherBank)
{
    QTemporaryDir dir;
    demobank::Options other;
    other.seed = 7;
    demobank::generate(dir.filePath(QStringLiteral("again.db")));
    demobank::generate(dir.filePath(QStringLiteral("other.db")), other);
    const QStringList first = dump(bankFor(BankKind::Demo));
    ASSERT_FALSE(first.isEmpty());
    EXPECT_TRUE(first == dump(dir.filePath(QStringLiteral("again.db"))));
    EXPECT_FALSE(first == dump(dir.filePath(QStringLiteral("other.db"))));
}

TEST(DemoBank, SizeFollowsTheWantedNumber)
{
    struct Case {
        BankKind kind;
        int questions;
    };
    for (const Case &c : {Case{BankKind::Demo, demobank::DemoQuestions}, Case{BankKind::Scaled, 5000},
                          Case{BankKind::Smallest, MinimumBank}}) {
        const demobank::Summary s = demobank::summarize(bankFor(c.kind));
        EXPECT_EQ(s.questions, c.questions);
        EXPECT_GT(s.materials, 0);
        EXPECT_GE(s.sections, s.chapters);
        EXPECT_GE(s.keyPoints, 4 * s.keyPointGroups);
    }
    // Scaling adds sections and key points, never chapters (the chart shows chapters).
    EXPECT_EQ(demobank::summarize(bankFor(BankKind::Scaled)).chapters, demobank::summarize(bankFor(BankKind::Demo)).chapters);
    EXPECT_GT(demobank::summarize(bankFor(BankKind::Scaled)).sections, demobank::summarize(bankFor(BankKind::Demo)).sections);
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(DemoBank, BankFileIsReplacedWholeOrNotAtAll)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data/VORDANBANK01.db"));
    demobank::Options small;
    small.questions = 1;

    // A missing folder is created, a leftover .tmp of a dead run replaced.
    ASSERT_TRUE(QDir().mkpath(dir.filePath(QStringLiteral("data"))));
    QFile stale(path + QStringLiteral(".tmp"));
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.write("half a bank");
    stale.close();
    EXPECT_EQ(demobank::writeBankFile(path, small), demobank::WriteResult::Written);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".tmp")));
    EXPECT_EQ(demobank::summarize(path).questions, MinimumBank);

    // An existing bank holds study state: --if-missing leaves it byte for byte.
    const QByteArray before = readAll(path);
    EXPECT_EQ(demobank::writeBankFile(path, {}, true), demobank::WriteResult::LeftAlone);
    EXPECT_EQ(readAll(path), before);

    // Replacing it drops the old bank's write-ahead log with it.
    QFile wal(path + QStringLiteral("-wal"));
    ASSERT_TRUE(wal.open(QIODevice::WriteOnly));
    wal.write("old log");
    wal.close();
    EXPECT_EQ(demobank::writeBankFile(path), demobank::WriteResult::Written);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral("-wal")));
    EXPECT_EQ(demobank::summarize(path).questions, demobank::DemoQuestions);

    // generate() itself never writes over a file.
    EXPECT_THROW(demobank::generate(path), store::DbError);
    EXPECT_EQ(demobank::summarize(path).questions, demobank::DemoQuestions);
}

TEST(DemoBank, FailedWriteLeavesNothingBehind)
{
    QTemporaryDir dir;
    // A folder where the bank should go: the bank is built, the rename fails.
    const QString path = dir.filePath(QStringLiteral("taken"));
    ASSERT_TRUE(QDir().mkpath(path));
    demobank::Options small;
    small.questions = 1;
    EXPECT_THROW(demobank::writeBankFile(path, small), store::DbError);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".tmp")));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".tmp-journal")));
    EXPECT_TRUE(QFileInfo(path).isDir());
}

} // namespace
