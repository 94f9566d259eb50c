// Authoring rules on a temporary bank: numbering user questions, the rows
// and counters a new question writes, the picker's limits and merge, and
// the save of an edited question.
#include "authoring/QuestionEdit.h"
#include "authoring/QuestionEntry.h"
#include "keypoints/KeyPointPicking.h"
#include "platform/RichText.h"
#include "support/TestBank.h"

#include <gtest/gtest.h>

using namespace authoring;
using namespace keypoints;

namespace {

// A bank with chapters 1 > 10 > 1001 > 100101 and 100102, types 61 and 74,
// and key points of groups 010101 and 010102 (heading 01).
struct AuthoringBank : TestBank {
    AuthoringBank()
    {
        for (const char *c : {"1", "10", "1001", "100101", "100102", "2", "20", "2001"})
            addChapter(QString::fromLatin1(c));
        for (const char *k : {"0101010001", "0101010002", "0101020001"})
            addKeyPoint(QString::fromLatin1(k));
        // The heading of one character that entry raises.
        run(QStringLiteral("insert into tab_fgmc (id, n) values ('0', '总类')"));
        run(QStringLiteral("insert into tab_tx1 (A1, B1) values (74, '简答'), (61, '单项选择题')"));
    }
    int c3(const QString &code) { return value(QStringLiteral("select C3 from tab_kmmc where C1=?"), {code}).toInt(); }
    int groupQ(const QString &id) { return value(QStringLiteral("select q from tab_fgmc where id=?"), {id}).toInt(); }
    int ruleQ(const QString &ftid) { return value(QStringLiteral("select q from tab_rule where ftid=?"), {ftid}).toInt(); }
    int count(const QString &table) { return value(QStringLiteral("select count(*) from ") + table).toInt(); }
};

NewQuestion question(const QString &chapter, const QStringList &keyPoints = {})
{
    NewQuestion q;
    q.chapter = chapter;
    q.optionText = QStringLiteral("4");
    q.optionCount = 4;
    q.typeCode = QStringLiteral("61");
    q.answer = QStringLiteral("B");
    q.body = richtext::plainTextToRtf(QStringLiteral("题目"));
    q.keyPoints = keyPoints;
    return q;
}

} // namespace

TEST(QuestionEntry, SequenceNumbersFollowTheLargestUserId)
{
    struct Case {
        const char *name;
        QStringList existing;
        int next;
        const char *text;
    } cases[] = {
        {"first user question", {QStringLiteral("s01")}, 1, "00001"},
        {"999 keeps two leading zeros", {QStringLiteral("US100101614") + "00998"}, 999, "00999"},
        {"1000 has none", {QStringLiteral("US100101614") + "00999"}, 1000, "1000"},
        {"any chapter or type beginning with U counts",
         {QStringLiteral("US100101614") + "00007", QStringLiteral("US2001745") + "00042", QStringLiteral("UX9") + "0041",
          QStringLiteral("X00000099")},
         43, "00043"},
        {"four-digit numbers go on", {QStringLiteral("US1001016141234")}, 1235, "1235"},
        {"ids compare without regard to case", {QStringLiteral("us1001016140050")}, 51, "00051"},
    };
    for (const Case &c : cases) {
        AuthoringBank b;
        for (const QString &id : c.existing)
            b.addQuestion(id, QStringLiteral("A"), 61, QStringLiteral("100101"));
        EXPECT_EQ(nextSequenceNumber(b.dm()), c.next) << c.name;
        EXPECT_EQ(sequenceText(c.next), QString::fromLatin1(c.text)) << c.name;
    }
}

TEST(QuestionEntry, AboveNineThousandNineHundredNinetyNineNothingIsWritten)
{
    AuthoringBank b;
    b.addQuestion(QStringLiteral("US1001016149999"), QStringLiteral("A"), 61, QStringLiteral("100101"));
    const EntryOutcome out = saveNewQuestion(b.dm(), question(QStringLiteral("100101")));
    EXPECT_EQ(out.result, EntryOutcome::TooMany);
    EXPECT_EQ(b.count(QStringLiteral("tab_answ")), 1);
    EXPECT_EQ(b.count(QStringLiteral("tab_exer")), 1);
    EXPECT_EQ(b.c3(QStringLiteral("100101")), 0);
}

TEST(QuestionEntry, SavedRowsAndCounters)
{
    struct Case {
        const char *name;
        QString chapter;
        QStringList keyPoints;
        bool explanation;   // explanation given (else blank: no jx)
        QString id;
        QMap<QString, int> chapters;   // C3 after the save
        QMap<QString, int> groups;     // tab_fgmc.q after
        QMap<QString, int> rules;      // tab_rule.q after
    } cases[] = {
        {"no key points: no k field, no key-point counter",
         QStringLiteral("100101"), {}, false, QStringLiteral("US100101614") + "00001",
         {{"100101", 1}, {"1001", 1}, {"10", 1}, {"1", 1}, {"100102", 0}, {"2", 0}},
         {{"010101", 0}, {"01", 0}, {"0", 0}},
         {{"0101010001", 0}}},
        {"a chapter of four characters is raised once",
         QStringLiteral("2001"), {}, true, QStringLiteral("US2001614") + "00001",
         {{"2001", 1}, {"20", 1}, {"2", 1}, {"1", 0}},
         {},
         {}},
        {"two key points of one group raise it once",
         QStringLiteral("100102"), {QStringLiteral("0101010001"), QStringLiteral("0101010002")}, true,
         QStringLiteral("US100102614") + "00001",
         {{"100102", 1}, {"100101", 0}, {"1001", 1}},
         {{"010101", 1}, {"010102", 0}, {"0", 1}, {"01", 0}},
         {{"0101010001", 1}, {"0101010002", 1}, {"0101020001", 0}}},
    };
    for (const Case &c : cases) {
        AuthoringBank b;
        NewQuestion q = question(c.chapter, c.keyPoints);
        q.hasExplanation = c.explanation;
        q.explanation = richtext::plainTextToRtf(QStringLiteral("解析"));
        const BoundStatement insert = answInsert(c.id, q);
        EXPECT_EQ(insert.sql.contains(QStringLiteral(",k")), !c.keyPoints.isEmpty()) << c.name;
        const EntryOutcome out = saveNewQuestion(b.dm(), q);
        ASSERT_EQ(out.result, EntryOutcome::Saved) << c.name << out.error.toStdString();
        EXPECT_EQ(out.id, c.id) << c.name;
        const QVariantList row = b.row(QStringLiteral("select A2, A2_1, A10, A13, F1, K3, K4, K5 from tab_answ where A1=?"), {c.id});
        ASSERT_EQ(row.size(), 8) << c.name;
        EXPECT_EQ(row.mid(0, 5), (QVariantList{QStringLiteral("B"), qlonglong(4), c.chapter, qlonglong(61), qlonglong(2)})) << c.name;
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(row.at(5 + k).toString(), c.keyPoints.value(k)) << c.name << " k" << k + 3;
        const QVariantList exer = b.row(QStringLiteral("select A15, jx is null from tab_exer where A1=?"), {c.id});
        ASSERT_EQ(exer.size(), 2) << c.name;
        EXPECT_EQ(richtext::rtfToPlainText(exer.at(0).toByteArray()).trimmed(), QStringLiteral("题目")) << c.name;
        EXPECT_EQ(exer.at(1).toInt(), c.explanation ? 0 : 1) << c.name;
        for (auto it = c.chapters.begin(); it != c.chapters.end(); ++it)
            EXPECT_EQ(b.c3(it.key()), it.value()) << c.name << " chapter " << it.key().toStdString();
        for (auto it = c.groups.begin(); it != c.groups.end(); ++it)
            EXPECT_EQ(b.groupQ(it.key()), it.value()) << c.name << " group " << it.key().toStdString();
        for (auto it = c.rules.begin(); it != c.rules.end(); ++it)
            EXPECT_EQ(b.ruleQ(it.key()), it.value()) << c.name << " key point " << it.key().toStdString();
    }
}

TEST(QuestionEntry, SubjectiveQuestionStoresTheSpinBoxText)
{
    AuthoringBank b;
    NewQuestion q = question(QStringLiteral("100101"));
    q.typeCode = QStringLiteral("74");
    q.optionText = QStringLiteral("1");
    q.optionCount = 1;
    q.answer = QStringLiteral("1");
    const EntryOutcome out = saveNewQuestion(b.dm(), q);
    ASSERT_EQ(out.result, EntryOutcome::Saved);
    EXPECT_EQ(out.id, QStringLiteral("US100101741") + "00001");
    EXPECT_EQ(b.row(QStringLiteral("select A2, A2_1, A13 from tab_answ where A1=?"), {out.id}),
              (QVariantList{QStringLiteral("1"), qlonglong(1), qlonglong(74)}));
    EXPECT_TRUE(isSubjectiveType(QStringLiteral("案例分析")));
    EXPECT_FALSE(isSubjectiveType(QStringLiteral("单项选择题")));
}

// An answer key that no press of the option buttons could give is refused
// with the program's message; subjective keys stay "1".
TEST(QuestionEntry, AnswerKeysTheAnswerPagesCanGive)
{
    const struct {
        const char *answer;
        int options, type;
        bool subjective;
        const char *refusal;   // "" when the key is taken
    } cases[] = {
        {"C", 3, 61, false, ""},
        {"D", 3, 61, false, "试题答案只能使用A到C的字母！"},
        {"F", 3, 65, false, "试题答案只能使用A到C的字母！"},
        {"AD", 4, 61, false, "单选题的答案只能是一个字母！"},
        {"ACD", 4, 65, false, ""},
        {"A1", 4, 65, false, "试题答案只能使用A到D的字母！"},
        {"BG", 7, 73, false, "试题答案只能使用A到F的字母！"},
        {"B", 2, 71, false, ""},
        {"C", 5, 71, false, "判断题的答案只能是A（对）或B（错）！"},
        {"1", 1, 61, true, ""},
        {"", 4, 61, false, "请填写试题答案！"},
        {"  ", 1, 74, true, "请填写试题答案！"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(answerRefusal(QString::fromUtf8(c.answer), c.options, c.type, c.subjective), QString::fromUtf8(c.refusal))
            << c.answer << " options " << c.options << " type " << c.type;
}

TEST(QuestionEntry, AFailingStepStoresNothing)
{
    AuthoringBank b;
    // The last counter update of the save fails.
    b.run(QStringLiteral("create trigger no_heading before update on tab_fgmc when old.id='0' "
                         "begin select raise(abort, 'heading locked'); end"));
    const EntryOutcome out = saveNewQuestion(b.dm(), question(QStringLiteral("100101"), {QStringLiteral("0101010001")}));
    EXPECT_EQ(out.result, EntryOutcome::Failed);
    EXPECT_TRUE(out.error.contains(QStringLiteral("heading locked"))) << out.error.toStdString();
    EXPECT_EQ(b.count(QStringLiteral("tab_answ")), 0);
    EXPECT_EQ(b.count(QStringLiteral("tab_exer")), 0);
    EXPECT_EQ(b.c3(QStringLiteral("100101")), 0);
    EXPECT_EQ(b.ruleQ(QStringLiteral("0101010001")), 0);
    EXPECT_EQ(b.groupQ(QStringLiteral("010101")), 0);
}

TEST(KeyPointPicker, LimitsWhenConfirming)
{
    struct Case {
        int existing, ticked;
        const char *refusal;   // empty: accepted
    } cases[] = {
        {5, 2, ""},
        {5, 3, "对应考点最多不能超过7条，已有考点5条！"},
        {0, 7, ""},
        {0, 8, "对应考点最多不能超过7条，已有考点0条！"},
        {9, 0, "请选择对应考点，退出请按关闭按钮！"},
        {0, 0, "请选择对应考点，退出请按关闭按钮！"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(pickerRefusal(c.existing, c.ticked), QString::fromUtf8(c.refusal)) << c.existing << "+" << c.ticked;
}

TEST(KeyPointPicker, MergeAddsOnlyWhatIsNotListed)
{
    const QVector<PickerEntry> entries{{QStringLiteral("k1"), QStringLiteral("一")},
                                       {QStringLiteral("k2"), QStringLiteral("二")},
                                       {QStringLiteral("k3"), QStringLiteral("三")}};
    struct Case {
        const char *name;
        QStringList listed;
        QVector<bool> picked;
        QStringList ids, entries;
    } cases[] = {
        {"nothing picked", {}, {false, false, false}, {}, {}},
        {"picked in list order", {}, {true, false, true}, {"k1", "k3"}, {"组[一]", "组[三]"}},
        {"a listed key point with a new one adds the new one once",
         {QStringLiteral("k2")}, {false, true, true}, {"k2", "k3"}, {"旧", "组[三]"}},
    };
    for (const Case &c : cases) {
        PickedKeyPoints list;
        for (const QString &id : c.listed) {
            list.ids << id;
            list.entries << QStringLiteral("旧");
        }
        mergePickedKeyPoints(list, QStringLiteral("组"), entries, c.picked);
        EXPECT_EQ(list.ids, c.ids) << c.name;
        EXPECT_EQ(list.entries, c.entries) << c.name;
    }
}

TEST(KeyPointPicker, GroupsOfSixAndTwoCharactersAreOffered)
{
    AuthoringBank b;
    QStringList codes;
    for (const PickerGroup &g : loadPickerGroups(b.dm()))
        codes << g.code;
    codes.sort();
    EXPECT_EQ(codes, (QStringList{"01", "010101", "010102"}));
    b.run(QStringLiteral("insert into tab_rule (id, ftid, sn) values ('01', '01x', '标题  ')"));
    const QVector<PickerEntry> e = loadPickerEntries(b.dm(), QStringLiteral("01"));
    ASSERT_EQ(e.size(), 1);
    EXPECT_EQ(e.first().ftid, QStringLiteral("01x"));
    EXPECT_EQ(e.first().title, QStringLiteral("标题"));
    EXPECT_EQ(pickerHelpText().split(QLatin1Char('\n')).size(), 21);
}

TEST(QuestionEdit, SaveStoresFieldsAndRecountsKeyPoints)
{
    const QString k1 = QStringLiteral("0101010001"), k2 = QStringLiteral("0101010002"), k3 = QStringLiteral("0101020001");
    struct Case {
        const char *name;
        QStringList stored;    // K3..K7 as stored (empty = gap)
        QStringList listed;    // after the edit
        QStringList fields;    // K3..K12 after the save
        QMap<QString, int> q;  // tab_rule.q after the save (another question lists k1 and k3)
        QStringList third = {};   // K3.. of a third question, when there is one
    } cases[] = {
        {"k3 and k5 move up to k3 and k4", {k1, "", k2}, {k1, k2},
         {k1, k2, "", "", "", "", "", "", "", ""}, {{k1, 2}, {k2, 1}, {k3, 7}}},
        {"all removed: fields emptied, the removed key points counted down",
         {k1, k2}, {}, {"", "", "", "", "", "", "", "", "", ""}, {{k1, 1}, {k2, 0}, {k3, 7}}},
        {"a key point added is counted exactly", {k2}, {k2, k3},
         {k2, k3, "", "", "", "", "", "", "", ""}, {{k1, 7}, {k2, 1}, {k3, 2}}},
        {"a question naming a key point in K3 and again in K12 counts once", {k1}, {k1, k2},
         {k1, k2, "", "", "", "", "", "", "", ""}, {{k1, 2}, {k2, 2}, {k3, 7}}, {k2, "", "", "", "", "", "", "", "", k2}},
    };
    for (const Case &c : cases) {
        AuthoringBank b;
        b.addQuestion(QStringLiteral("q1"), QStringLiteral("A"), 61, QStringLiteral("100101"), c.stored);
        b.addQuestion(QStringLiteral("other"), QStringLiteral("A"), 61, QStringLiteral("100101"), {k1, k3});
        if (!c.third.isEmpty())
            b.addQuestion(QStringLiteral("third"), QStringLiteral("A"), 61, QStringLiteral("100102"), c.third);
        // Counts that only an exact recount puts right.
        b.run(QStringLiteral("update tab_rule set q=7"));
        b.run(QStringLiteral("update tab_fgmc set q=5"));
        EditedQuestion q;
        ASSERT_TRUE(loadEditedQuestion(b.dm(), QStringLiteral("q1"), q)) << c.name;
        const QStringList before = q.keyPoints;
        q.keyPoints = c.listed;
        q.answer = QStringLiteral("CD");
        q.optionCount = 5;
        q.type = 74;
        q.body = richtext::plainTextToRtf(QStringLiteral("新的题目"));
        q.hasExplanation = false;
        EXPECT_EQ(saveEditedQuestion(b.dm(), q, before), 1) << c.name;
        const QVariantList row = b.row(QStringLiteral("select K3,K4,K5,K6,K7,K8,K9,K10,K11,K12,A2,A2_1,A13,ecount from tab_answ where A1='q1'"));
        ASSERT_EQ(row.size(), 14) << c.name;
        QStringList fields;
        for (int i = 0; i < 10; ++i)
            fields << row.at(i).toString();
        EXPECT_EQ(fields, c.fields) << c.name;
        EXPECT_EQ(row.mid(10), (QVariantList{QStringLiteral("CD"), qlonglong(5), qlonglong(74), qlonglong(1)})) << c.name;
        for (auto it = c.q.begin(); it != c.q.end(); ++it)
            EXPECT_EQ(b.ruleQ(it.key()), it.value()) << c.name << " " << it.key().toStdString();
        EXPECT_EQ(b.groupQ(QStringLiteral("010101")), 5) << c.name;
        EXPECT_EQ(richtext::rtfToPlainText(b.value(QStringLiteral("select A15 from tab_exer where A1='q1'")).toByteArray()).trimmed(),
                  QStringLiteral("新的题目"))
            << c.name;
    }
}

TEST(QuestionEdit, EverySaveRaisesTheEditCountAndAFailureChangesNothing)
{
    AuthoringBank b;
    const QString k1 = QStringLiteral("0101010001");
    b.addQuestion(QStringLiteral("C000000000000001-1"), QStringLiteral("A"), 61, QStringLiteral("100101"), {k1});
    b.run(QStringLiteral("insert into tab_title (A1, A15) values ('C000000000000001', ?)"), {richtext::plainTextToRtf(QStringLiteral("材料"))});
    EditedQuestion q;
    ASSERT_TRUE(loadEditedQuestion(b.dm(), QStringLiteral("C000000000000001-1"), q));
    EXPECT_TRUE(q.isSubQuestion);
    EXPECT_EQ(richtext::rtfToPlainText(q.material).trimmed(), QStringLiteral("材料"));
    const QStringList before = q.keyPoints;
    q.material = richtext::plainTextToRtf(QStringLiteral("新材料"));
    EXPECT_EQ(saveEditedQuestion(b.dm(), q, before), 1);
    EXPECT_EQ(saveEditedQuestion(b.dm(), q, before), 2);
    EXPECT_EQ(richtext::rtfToPlainText(b.value(QStringLiteral("select A15 from tab_title")).toByteArray()).trimmed(), QStringLiteral("新材料"));

    // The recount, the last step, fails: the answer, the edit count and the
    // material stay as they were.
    b.run(QStringLiteral("create trigger no_recount before update on tab_rule begin select raise(abort, 'rule locked'); end"));
    q.answer = QStringLiteral("D");
    q.material = richtext::plainTextToRtf(QStringLiteral("不应保存"));
    try {
        saveEditedQuestion(b.dm(), q, before);
        ADD_FAILURE() << "the save did not fail";
    } catch (const store::DbError &e) {
        EXPECT_TRUE(e.text().contains(QStringLiteral("rule locked"))) << e.text().toStdString();
    }
    EXPECT_EQ(b.row(QStringLiteral("select A2, ecount from tab_answ")), (QVariantList{QStringLiteral("A"), qlonglong(2)}));
    EXPECT_EQ(richtext::rtfToPlainText(b.value(QStringLiteral("select A15 from tab_title")).toByteArray()).trimmed(), QStringLiteral("新材料"));
}

TEST(QuestionEdit, ListedKeyPointsJoinGroupNameAndTitle)
{
    AuthoringBank b;
    const PickedKeyPoints list = listedKeyPoints(b.dm(), {QStringLiteral("0101020001"), QStringLiteral("0101010001")});
    EXPECT_EQ(list.ids, (QStringList{"0101020001", "0101010001"}));
    EXPECT_EQ(list.entries, (QStringList{QStringLiteral("组 010102考点 0101020001"), QStringLiteral("组 010101考点 0101010001")}));
}
