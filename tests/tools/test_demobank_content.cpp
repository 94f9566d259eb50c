// The shipped demo bank reads as a study book: no two questions share a
// body, every objective key agrees with the written rule it was made from,
// questions cite the key points of their own section, cases keep their own
// sub-questions, and a few items show tables, formulas and pictures.
#include "DemoBank.h"
#include "DemoBankItems.h"
#include "DemoBankItems1.h"
#include "DemoBankItems2.h"
#include "DemoBankItems3.h"
#include "DemoBankItems4.h"
#include "DemoBankItems5.h"

#include "platform/RichText.h"

#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <gtest/gtest.h>
#include <functional>
#include <memory>

namespace {

namespace it = demobank::items;

struct Row {
    QString id, section, key, body, jx, material;
    int type = 0;
    QByteArray bodyRtf, jxRtf;
    QStringList kps;   // ftids
};

// The demo bank, generated once, read whole.
struct Demo {
    QTemporaryDir dir;
    std::vector<Row> rows;
    QHash<QString, QString> kpTitle;   // ftid -> trimmed title
    std::vector<it::SectionItems> content;
    Demo()
    {
        const QString path = dir.filePath(QStringLiteral("demo.db"));
        demobank::generate(path);
        const QString name = QUuid::createUuid().toString();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path);
            EXPECT_TRUE(db.open());
            QSqlQuery q(db);
            EXPECT_TRUE(q.exec(QStringLiteral(
                "select a.A1, a.A10, a.A13, a.A2, e.A15, e.jx, m.A15, a.K3, a.K4, a.K5, a.K6, a.K7, a.K8, a.K9, a.K10, a.K11, a.K12 "
                "from tab_answ a join tab_exer e on e.A1 = a.A1 left join tab_title m on m.A1 = substr(a.A1, 1, 16) order by a.A1")))
                << q.lastError().text().toStdString();
            while (q.next()) {
                Row r;
                r.id = q.value(0).toString();
                r.section = q.value(1).toString();
                r.type = q.value(2).toInt();
                r.key = q.value(3).toString();
                r.bodyRtf = q.value(4).toByteArray();
                r.jxRtf = q.value(5).toByteArray();
                r.body = richtext::rtfToPlainText(r.bodyRtf);
                r.jx = r.jxRtf.isEmpty() ? QString() : richtext::rtfToPlainText(r.jxRtf);
                if (r.id.contains(QLatin1Char('-')))
                    r.material = richtext::rtfToPlainText(q.value(6).toByteArray());
                for (int k = 7; k <= 16; ++k)
                    if (!q.value(k).toString().isEmpty())
                        r.kps << q.value(k).toString();
                rows.push_back(r);
            }
            QSqlQuery k(db);
            EXPECT_TRUE(k.exec(QStringLiteral("select ftid, sn from tab_rule")));
            while (k.next())
                kpTitle.insert(k.value(0).toString(), k.value(1).toString().trimmed());
        }
        QSqlDatabase::removeDatabase(name);
        for (const char *text : {it::Part1Items, it::Part2Items, it::Part3Items, it::Part4Items, it::Part5Items})
            it::parseInto(content, text);
    }
    const it::SectionItems *itemsOf(const QString &section) const
    {
        for (const auto &s : content)
            if (s.code == section)
                return &s;
        return nullptr;
    }
};

const Demo &demo()
{
    static const std::unique_ptr<Demo> d = std::make_unique<Demo>();
    return *d;
}

// The stem and the option texts of an objective body.
struct Choice {
    QString stem;
    QStringList options;
};
Choice choiceOf(const QString &body)
{
    Choice c;
    for (const QString &line : body.split(QLatin1Char('\n'))) {
        if (line.size() > 3 && line.at(1) == u'.' && line.at(0) == QChar(char16_t(u'A' + c.options.size())))
            c.options << line.mid(3);
        else if (c.options.isEmpty())
            c.stem += line;
    }
    return c;
}
QString lettersWhere(const QStringList &options, const std::function<bool(const QString &)> &pick)
{
    QString key;
    for (int i = 0; i < options.size(); ++i)
        if (pick(options[i]))
            key += QChar(char16_t(u'A' + i));
    return key;
}

TEST(DemoBankContent, NoTwoQuestionsShareABodyOrAMaterial)
{
    QHash<QString, QString> bodies, materials;
    QStringList clashes;
    for (const Row &r : demo().rows) {
        if (bodies.contains(r.body))
            clashes << r.id + QStringLiteral(" = ") + bodies.value(r.body);
        bodies.insert(r.body, r.id);
        const QString materialId = r.id.left(16);
        if (!r.material.isEmpty() && materials.contains(r.material) && materials.value(r.material) != materialId)
            clashes << materialId + QStringLiteral(" material = ") + materials.value(r.material);
        if (!r.material.isEmpty())
            materials.insert(r.material, materialId);
    }
    EXPECT_EQ(int(demo().rows.size()), demobank::DemoQuestions);
    EXPECT_TRUE(clashes.isEmpty()) << clashes.mid(0, 8).join(QLatin1Char('\n')).toStdString();
}

// Other seeds shuffle other forms and figures into the bank; bodies stay apart.
TEST(DemoBankContent, BodiesStayApartUnderOtherSeeds)
{
    for (quint32 seed : {7u, 99u, 2027u}) {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("seeded.db"));
        demobank::Options o;
        o.seed = seed;
        demobank::generate(path, o);
        const QString name = QUuid::createUuid().toString();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
            db.setDatabaseName(path);
            ASSERT_TRUE(db.open());
            QSqlQuery q(db);
            ASSERT_TRUE(q.exec(QStringLiteral("select count(distinct A15), count(*) from tab_exer")) && q.next());
            EXPECT_EQ(q.value(0).toInt(), q.value(1).toInt()) << "seed " << seed;
            ASSERT_TRUE(q.exec(QStringLiteral("select count(distinct A15), count(*) from tab_title")) && q.next());
            EXPECT_EQ(q.value(0).toInt(), q.value(1).toInt()) << "seed " << seed;
        }
        QSqlDatabase::removeDatabase(name);
    }
}

// Every objective question made from a written rule: its key is the rule's
// answer, wherever the options were shuffled to.
TEST(DemoBankContent, KeysAgreeWithTheWrittenRules)
{
    int checked = 0;
    QStringList wrong;
    for (const Row &r : demo().rows) {
        const it::SectionItems *items = demo().itemsOf(r.section);
        if (!items || r.id.contains(QLatin1Char('-')) || r.type == 62 || r.type >= 74 || r.type == 64)
            continue;
        const Choice c = choiceOf(r.body);
        QString expected;
        bool known = false;
        if (r.type == 71) {
            const QString statement = c.stem.left(c.stem.indexOf(QStringLiteral("。（")));
            for (const it::Fact &f : items->facts) {
                if (statement == f.filled(f.answer))
                    expected = QStringLiteral("A"), known = true;
                for (const QString &w : f.wrong)
                    if (statement == f.filled(w))
                        expected = QStringLiteral("B"), known = true;
            }
            for (const it::Set &g : items->sets) {
                for (const QString &e : g.right)
                    if (statement == g.claimOf(e))
                        expected = QStringLiteral("A"), known = true;
                for (const QString &e : g.wrong)
                    if (statement == g.claimOf(e))
                        expected = QStringLiteral("B"), known = true;
            }
        }
        for (const it::Fact &f : items->facts)
            if (c.stem == f.stem)
                expected = lettersWhere(c.options, [&](const QString &o) { return o == f.answer; }), known = true;
        for (const it::Set &g : items->sets) {
            const QString lead = QStringLiteral("下列") + (g.lead.endsWith(u'中') ? g.lead : g.lead + QStringLiteral("中")) + QStringLiteral("，");
            for (const QString &tail : {QStringLiteral("的有（　　）。"), QStringLiteral("的是（　　）。")}) {
                if (c.stem == lead + g.pos + tail)
                    expected = lettersWhere(c.options, [&](const QString &o) { return g.right.contains(o); }), known = true;
                if (!g.neg.isEmpty() && c.stem == lead + g.neg + tail)
                    expected = lettersWhere(c.options, [&](const QString &o) { return g.wrong.contains(o); }), known = true;
            }
        }
        if (!known && c.stem.contains(QStringLiteral("的说法中")) + c.stem.contains(QStringLiteral("表述")) +
                              c.stem.contains(QStringLiteral("的理解中")) > 0) {
            // Statements of the section's rules, each stated rightly or not.
            const bool askWrong = c.stem.contains(QStringLiteral("错误"));
            expected = lettersWhere(c.options, [&](const QString &o) {
                bool right = false;
                for (const it::Fact &f : items->facts)
                    right |= (o == f.filled(f.answer));
                return right != askWrong;
            });
            known = true;
        }
        if (!known)
            continue;   // the rich items, checked below
        ++checked;
        if (expected != r.key || expected.isEmpty())
            wrong << QStringLiteral("%1 key %2, the rule gives %3").arg(r.id, r.key, expected);
    }
    EXPECT_GT(checked, 1000);
    EXPECT_TRUE(wrong.isEmpty()) << wrong.mid(0, 8).join(QLatin1Char('\n')).toStdString();
}

// A question cites key points of its own section's group only, and a
// question made from one rule cites that rule's key point.
TEST(DemoBankContent, QuestionsCiteTheKeyPointsOfWhatTheyAsk)
{
    QStringList wrong;
    int cited = 0;
    for (const Row &r : demo().rows) {
        const QString group = r.section.mid(1, 1) + r.section.mid(3, 1) + QStringLiteral("00") + r.section.mid(4, 2);
        for (const QString &kp : r.kps)
            if (kp.left(6) != group)
                wrong << r.id + QStringLiteral(" cites ") + kp + QStringLiteral(" outside ") + group;
        const it::SectionItems *items = demo().itemsOf(r.section);
        if (!items || r.kps.isEmpty() || r.type != 61)
            continue;
        const Choice c = choiceOf(r.body);
        for (const it::Fact &f : items->facts)
            if (c.stem == f.stem) {
                ++cited;
                if (demo().kpTitle.value(r.kps.value(0)) != items->keyPoints[size_t(f.kp)].title)
                    wrong << r.id + QStringLiteral(" cites ") + demo().kpTitle.value(r.kps.value(0));
            }
    }
    EXPECT_GT(cited, 100);
    EXPECT_TRUE(wrong.isEmpty()) << wrong.mid(0, 8).join(QLatin1Char('\n')).toStdString();
}

// A case keeps its own sub-questions, in order, under its own material;
// a comprehensive item asks about the figures of its material.
TEST(DemoBankContent, MaterialsAndTheirSubQuestionsBelongTogether)
{
    QStringList wrong;
    int cases = 0;
    for (const Row &r : demo().rows) {
        if (!r.id.contains(QLatin1Char('-')))
            continue;
        const int n = r.id.mid(17).toInt();
        if (r.type == 64) {
            const it::SectionItems *items = demo().itemsOf(r.section);
            bool found = false;
            for (const it::Case &c : items ? items->cases : std::vector<it::Case>{})
                if (r.material.endsWith(c.material))
                    found = n >= 1 && n <= int(c.questions.size()) && r.body.endsWith(c.questions[size_t(n - 1)].question);
            cases += n == 1;
            if (!found)
                wrong << r.id + QStringLiteral(": not a question of its case");
        } else if (r.type == 77) {
            if (!r.material.startsWith(QStringLiteral("【背景资料】")) || n < 1 || n > 2)
                wrong << r.id + QStringLiteral(": comprehensive item without its background or with a third question");
        }
    }
    EXPECT_GE(cases, 6);
    EXPECT_TRUE(wrong.isEmpty()) << wrong.mid(0, 8).join(QLatin1Char('\n')).toStdString();
}

TEST(DemoBankContent, RichItemsShowATableAFormulaAndPictures)
{
    struct Want {
        const char *what;
        std::function<bool(const Row &)> has;
    };
    auto tableRows = [](const QString &text) {
        int n = 0;
        for (const QString &line : text.split(QLatin1Char('\n')))
            n += line.count(QLatin1Char('\t')) >= 2;
        return n;
    };
    const Want wants[] = {
        {"a table of three rows or more in a body", [&](const Row &r) { return tableRows(r.body) >= 3; }},
        {"a formula line with subscripts in an explanation", [](const Row &r) { return r.jxRtf.contains("\\sub") && r.jx.contains(u'='); }},
        {"a picture in a body", [](const Row &r) { return r.bodyRtf.contains("\\pngblip") && r.body.contains(QChar(0xFFFC)); }},
        {"a picture in an explanation", [](const Row &r) { return r.jxRtf.contains("\\pngblip") && r.jx.contains(QChar(0xFFFC)); }},
    };
    for (const Want &w : wants) {
        const auto found = std::find_if(demo().rows.begin(), demo().rows.end(), w.has);
        ASSERT_NE(found, demo().rows.end()) << w.what;
        EXPECT_EQ(found->type, 61) << w.what;
        EXPECT_EQ(found->key.size(), 1) << w.what;
        EXPECT_FALSE(found->kps.isEmpty() && found->jx.isEmpty()) << w.what;
    }
}

// Written content that breaks a rule of the forms is refused with its line.
TEST(DemoBankContent, BrokenContentIsRefused)
{
    const QString kps = QStringLiteral("@ 010101\nK a\nK b\nK c\nK d\n");
    struct Case {
        const char *what;
        QString text;
        bool ok;
    };
    const Case cases[] = {
        {"a good fact", kps + QStringLiteral("F 1|甲是（　　）。|乙|丙|丁|戊|因为。"), true},
        {"a fact without a blank", kps + QStringLiteral("F 1|甲是乙。|乙|丙|丁|戊|因为。"), false},
        {"a fact with two distractors", kps + QStringLiteral("F 1|甲是（　　）。|乙|丙|丁|因为。"), false},
        {"a distractor equal to the answer", kps + QStringLiteral("F 1|甲是（　　）。|乙|乙|丁|戊|因为。"), false},
        {"a key point out of range", kps + QStringLiteral("F 4|甲是（　　）。|乙|丙|丁|戊|因为。"), false},
        {"a set with one wrong entry", kps + QStringLiteral("G 0|物|属于甲|不属于甲|%属于甲|a;b|c|因为。"), false},
        {"a set claim without %", kps + QStringLiteral("G 0|物|属于甲|不属于甲|属于甲|a;b|c;d|因为。"), false},
        {"a section with three key points", QStringLiteral("@ 010101\nK a\nK b\nK c\n"), false},
        {"a case question before its case", kps + QStringLiteral("Q 问？|答"), false},
    };
    for (const Case &c : cases) {
        std::vector<it::SectionItems> out;
        const QByteArray utf8 = c.text.toUtf8();
        if (c.ok)
            EXPECT_NO_THROW(it::parseInto(out, utf8.constData())) << c.what;
        else
            EXPECT_THROW(it::parseInto(out, utf8.constData()), it::ContentError) << c.what;
    }
}

TEST(DemoBankContent, SampleDrawsDistinctQuestionsBySeed)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("demo.db"));
    demobank::generate(path);
    auto ids = [&](quint32 seed) {
        QStringList out;
        for (const demobank::Question &q : demobank::sampleQuestions(path, 30, seed)) {
            out << q.id;
            EXPECT_FALSE(q.body.trimmed().isEmpty()) << q.id.toStdString();
            EXPECT_TRUE(demobank::describe(q).contains(q.key)) << q.id.toStdString();
        }
        return out;
    };
    const QStringList a = ids(3), again = ids(3), other = ids(4);
    EXPECT_EQ(a.size(), 30);
    EXPECT_EQ(QSet<QString>(a.begin(), a.end()).size(), 30);
    EXPECT_EQ(a, again);
    EXPECT_NE(a, other);
    EXPECT_EQ(int(demobank::sampleQuestions(path, 0, 1).size()), demobank::DemoQuestions);
}

} // namespace
