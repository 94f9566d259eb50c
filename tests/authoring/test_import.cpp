// Importing question files into a chapter: samples of every format written
// by hand from the formats' descriptions, the rules of entry, bad files,
// the save with its ids and counters, duplicates and the export round trip.
#include "authoring/AikenFormat.h"
#include "authoring/CsvFormat.h"
#include "authoring/GiftFormat.h"
#include "authoring/ImportText.h"
#include "authoring/MoodleXmlFormat.h"
#include "authoring/QuestionExport.h"
#include "authoring/QuestionImport.h"
#include "platform/RichText.h"
#include "support/TestBank.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QStringEncoder>
#include <QTextDocument>
#include <QUrl>
#include <gtest/gtest.h>

using namespace authoring;

namespace {

struct ImportBank : TestBank {
    ImportBank()
    {
        for (const char *c : {"1", "10", "1001", "100101", "100102"})
            addChapter(QString::fromLatin1(c));
        for (const char *k : {"0101010001", "0101010002"})
            addKeyPoint(QString::fromLatin1(k));
        run(QStringLiteral("insert into tab_fgmc (id, n) values ('0', '总类')"));
        run(QStringLiteral("insert into tab_tx1 (A1, B1) values (61, '单选'), (65, '多选'), (71, '判断'), (73, '配伍'), (74, '简答')"));
    }
    int count(const QString &sql) { return value(sql).toInt(); }
    ImportPreview preview(const ParsedFile &f, const QString &chapter = QStringLiteral("100101"))
    {
        return previewImport(dm(), f, chapter, importTypes(loadTypeTable(dm(), 1)));
    }
};

// Short description of a parsed question: kind/answer/options|body|explanation|key points|category.
QString brief(const ImportedQuestion &q)
{
    static const char *kinds[] = {"S", "M", "TF", "SUBJ"};
    return QStringLiteral("%1/%2/%3|%4|%5|%6|%7")
        .arg(QString::fromLatin1(kinds[int(q.kind)]), q.answer, q.options.join(u';'), q.body, q.explanation,
             q.keyPoints.join(u' '), q.category);
}

const char *const Gift = R"(// a comment line
$CATEGORY: $course$/法规/第一章

// [tag:KP-0101010001] [tag:TX-73]
::Q1::下列哪项正确\{不含括号\}? {
  =甲 a\=b #对的
  ~乙 \~ 波浪
  ~丙 \# 井号 \: 冒号
  ####因为甲\nyes
}

::Q2::多选题 {~%50%一 ~%50%二 ~%-100%三}

地球是圆的。{TRUE}

太阳从西边升起。{F#错}

::M::配对 {
  =中国 -> 北京
  =日本 -> 东京
  =法国 -> 巴黎
}

[html]<p>论述<b>题</b></p><script>alert(1)</script>{}

1加1等于{#2}

没有右括号 {=a ~b
)";

// Text without braces is a description; with an "=" answer the weights of
// "~" answers are partial credit, without one they make the right answers.
const char *const GiftChoices = R"(这一段只是说明，没有答案部分。

部分给分 {=对 ~%50%半对 ~错}

两个都对 {~%50%甲 ~%-50%乙 ~%50%丙}

两个等号 {=一 =二 ~三}
)";

const char *const MoodleXml = R"(<?xml version="1.0" encoding="UTF-8"?>
<quiz>
  <question type="category"><category><text>$course$/top/第二章</text></category></question>
  <question type="description"><name><text>说明</text></name><questiontext format="html"><text>只是说明</text></questiontext></question>
  <question type="multichoice">
    <name><text>单选</text></name>
    <questiontext format="html"><text><![CDATA[<p>看图<img src="@@PLUGINFILE@@/a%20b.png"> 选&amp;一</p>]]></text>
      <file name="a b.png" path="/" encoding="base64">PNGDATA</file></questiontext>
    <generalfeedback format="html"><text><![CDATA[<p>解析</p>]]></text></generalfeedback>
    <single>true</single>
    <answer fraction="0" format="html"><text><![CDATA[<p>错一</p>]]></text></answer>
    <answer fraction="100" format="html"><text><![CDATA[<p>对</p>]]></text></answer>
    <tags><tag><text>KP-0101010002</text></tag></tags>
  </question>
  <question type="multichoice">
    <questiontext format="plain_text"><text>多&#x4E2A;</text><!-- 注释 --></questiontext>
    <single>false</single>
    <answer fraction="50"><text>一</text></answer><answer fraction="-100"><text>二</text></answer>
    <answer fraction="50"><text>三</text></answer>
  </question>
  <question type="truefalse"><questiontext format="plain_text"><text>对吗</text></questiontext>
    <answer fraction="0"><text>true</text></answer><answer fraction="100"><text>false</text></answer></question>
  <question type="matching"><questiontext format="plain_text"><text>配</text></questiontext>
    <subquestion format="plain_text"><text>一</text><answer><text>1</text></answer></subquestion>
    <subquestion format="plain_text"><text>二</text><answer><text>2</text></answer></subquestion>
    <subquestion format="plain_text"><text></text><answer><text>3</text></answer></subquestion>
  </question>
  <question type="essay"><questiontext format="plain_text"><text>谈谈</text></questiontext></question>
  <question type="shortanswer"><questiontext format="plain_text"><text>短答</text></questiontext></question>
  <question type="multichoice"><questiontext format="plain_text"><text>部分</text></questiontext>
    <single>true</single><shuffleanswers>1</shuffleanswers>
    <answer fraction="50" format="plain_text"><text>半</text><feedback><text>差一点</text></feedback></answer>
    <answer fraction="100" format="plain_text"><text>全</text></answer></question>
  <question type="match"><questiontext format="plain_text"><text>旧</text></questiontext>
    <subquestion><text>甲</text><answer><text>乙</text></answer></subquestion>
    <subquestion><text></text><answer><text>丙</text></answer></subquestion></question>
</quiz>
)";

const char *const Aiken = "水的化学式是？\nA. H2O\nB) CO2\nC. NaCl\nANSWER: A\n\n"
                          "两行的\n题目\nA. 甲\nB. 乙\nANSWER: B\n\n没有答案\nA. 甲\nB. 乙\n\n下一题\nA. x\nB. y\nANSWER: C\n"
                          "A.I. 的问题\nA.I. 在第二行\nA.人工\nB）智能\nANSWER: A\n";

const char *const Csv = "编号,题目,A,B,C,D,答案,题型,解析,考点\n"
                        "X1,\"带,逗号\"\"引号\"\"\",甲,乙,丙,,B,单选,解,0101010001;0101010002\n"
                        "X2,\"跨\n行\",甲,乙,丙,丁,ACD,,,\n"
                        "X3,判断,,,,,对,判断,,\n"
                        "X4,论述,,,,,,主观,,\n"
                        "X5,怪题,甲,乙,,,A,火星题,,\n";

} // namespace

TEST(QuestionImport, ReadsEveryKindOfEachFormat)
{
    QString xml = QString::fromUtf8(MoodleXml);
    QImage pic(2, 2, QImage::Format_RGB32);
    pic.fill(Qt::red);
    QByteArray png;
    QBuffer buf(&png);
    pic.save(&buf, "PNG");
    xml.replace(QStringLiteral("PNGDATA"), QString::fromLatin1(png.toBase64()));
    struct Case {
        const char *name;
        ParsedFile file;
        QStringList questions;     // brief() of each
        QList<int> problemLines;   // lines of the problems
        int skipped;
    } cases[] = {
        {"GIFT", parseGift(QString::fromUtf8(Gift)),
         {QStringLiteral("S/A/甲 a=b;乙 ~ 波浪;丙 # 井号 : 冒号|下列哪项正确{不含括号}?|因为甲\nyes|0101010001|$course$/法规/第一章"),
          QStringLiteral("M/AB/一;二;三|多选题|||$course$/法规/第一章"),
          QStringLiteral("TF/A/对;错|地球是圆的。|||$course$/法规/第一章"),
          QStringLiteral("TF/B/对;错|太阳从西边升起。|||$course$/法规/第一章"),
          QStringLiteral("S/A/北京;东京;巴黎|配对\n中国|||$course$/法规/第一章"),
          QStringLiteral("S/B/北京;东京;巴黎|配对\n日本|||$course$/法规/第一章"),
          QStringLiteral("S/C/北京;东京;巴黎|配对\n法国|||$course$/法规/第一章"),
          QStringLiteral("SUBJ/1/|<p>论述<b>题</b></p><script>alert(1)</script>|||$course$/法规/第一章")},
         {26, 28},
         1},
        {"Moodle XML", parseMoodleXml(xml),
         {QStringLiteral("S/B/<p>错一</p>;<p>对</p>|<p>看图<img src=\"@@PLUGINFILE@@/a%20b.png\"> 选&amp;一</p>|<p>解析</p>|0101010002|$course$/top/第二章"),
          QStringLiteral("M/AC/一;二;三|多个|||$course$/top/第二章"),
          QStringLiteral("TF/B/对;错|对吗|||$course$/top/第二章"),
          QStringLiteral("S/A/1;2;3|配\n一|||$course$/top/第二章"),
          QStringLiteral("S/B/1;2;3|配\n二|||$course$/top/第二章"),
          QStringLiteral("SUBJ/1/|谈谈|||$course$/top/第二章"),
          QStringLiteral("S/B/半;全|部分|||$course$/top/第二章"),
          QStringLiteral("S/A/乙;丙|旧\n甲|||$course$/top/第二章")},
         {29},
         2},
        {"Aiken", parseAiken(QString::fromUtf8(Aiken)),
         {QStringLiteral("S/A/H2O;CO2;NaCl|水的化学式是？|||"), QStringLiteral("S/B/甲;乙|两行的\n题目|||"),
          QStringLiteral("S/C/x;y|下一题|||"), QStringLiteral("S/A/人工;智能|A.I. 的问题\nA.I. 在第二行|||")},
         {13},
         0},
        {"CSV", parseCsv(QString::fromUtf8(Csv)),
         {QStringLiteral("S/B/甲;乙;丙|带,逗号\"引号\"|解|0101010001 0101010002|"), QStringLiteral("M/ACD/甲;乙;丙;丁|跨\n行|||"),
          QStringLiteral("TF/A/对;错|判断|||"), QStringLiteral("SUBJ/1/|论述|||")},
         {7},
         0},
        {"GIFT choices as Moodle reads them", parseGift(QString::fromUtf8(GiftChoices)),
         {QStringLiteral("S/A/对;半对;错|部分给分|||"), QStringLiteral("M/AC/甲;乙;丙|两个都对|||"),
          QStringLiteral("S/AB/一;二;三|两个等号|||")},
         {},
         1},
    };
    for (const Case &c : cases) {
        EXPECT_TRUE(c.file.refusal.isEmpty()) << c.name << c.file.refusal.toStdString();
        QStringList got;
        for (const ImportedQuestion &q : c.file.questions)
            got << brief(q);
        EXPECT_EQ(got, c.questions) << c.name;
        QList<int> lines;
        for (const ImportProblem &p : c.file.problems)
            lines << p.line;
        EXPECT_EQ(lines, c.problemLines) << c.name;
        EXPECT_EQ(c.file.skipped, c.skipped) << c.name;
    }
    // The embedded picture is stored with the body, the script only as text.
    ImportBank b;
    const ImportPreview xp = b.preview(cases[1].file);
    ASSERT_FALSE(xp.ready.isEmpty());
    EXPECT_TRUE(xp.ready[0].q.body.contains("\\pngblip"));
    const ImportPreview gp = b.preview(cases[0].file);
    EXPECT_TRUE(richtext::rtfToPlainText(gp.ready.last().q.body).contains(QStringLiteral("<script>alert(1)</script>")));
    EXPECT_EQ(gp.ready[0].q.typeCode, QStringLiteral("73"));   // the type named by its tag
}

TEST(QuestionImport, RulesOfEntry)
{
    struct Case {
        ImportKind kind;
        int options;
        const char *answer;
        int keyPoints;
        const char *problem;   // empty: good
        const char *stored;    // answer after the check
    } cases[] = {
        {ImportKind::Single, 4, "c", 0, "", "C"},
        {ImportKind::Single, 4, "AC", 0, "单选题只能有一个答案，这里是“AC”。", ""},
        {ImportKind::Single, 4, "E", 0, "答案“E”不在4个选项A～D之内。", ""},
        {ImportKind::Multiple, 7, "GCA", 0, "", "ACG"},
        {ImportKind::Multiple, 8, "A", 0, "选项有8个，最多7个。", ""},
        {ImportKind::Multiple, 3, "AA", 0, "答案“AA”不在3个选项A～C之内。", ""},
        {ImportKind::Single, 1, "A", 0, "选择题至少要有两个选项。", ""},
        {ImportKind::Single, 3, "", 0, "试题没有正确答案。", ""},
        {ImportKind::TrueFalse, 2, "C", 0, "判断题的答案只能是A（对）或B（错）。", ""},
        {ImportKind::Subjective, 0, "", 11, "考点有11个，最多10个。", ""},
        {ImportKind::Subjective, 0, "", 10, "", "1"},
    };
    for (const Case &c : cases) {
        ImportedQuestion q;
        q.kind = c.kind;
        q.body = QStringLiteral("题");
        for (int i = 0; i < c.options; ++i)
            q.options << QStringLiteral("选项");
        q.answer = QString::fromLatin1(c.answer);
        for (int i = 0; i < c.keyPoints; ++i)
            q.keyPoints << QString::number(i);
        EXPECT_EQ(checkQuestion(q), QString::fromUtf8(c.problem)) << c.answer;
        if (!*c.problem) {
            EXPECT_EQ(q.answer, QString::fromLatin1(c.stored)) << c.answer;
        }
    }
}

TEST(QuestionImport, BadFilesAreRefusedAndTheBankStaysAsItWas)
{
    ImportBank b;
    QStringEncoder gb("GB18030");
    const QByteArray gbCsv = gb.encode(QStringLiteral("题目,A,B,答案\n中文题,甲,乙,A\n"));
    struct Case {
        const char *name;
        QByteArray bytes;
        const char *suffix;
        const char *refusal;   // part of the refusal; empty: read
    } cases[] = {
        {"binary", QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "gift", "不是文本文件"},
        {"GB18030 CSV is read", gbCsv, "csv", ""},
        {"control bytes without NUL", "题目,A,B,答案\n\x01\x02\x1b,甲,乙,A\n", "csv", "不是文本文件"},
        {"Aiken with a full-width colon is read", "中文题\nA、甲\nB、乙\nANSWER：A\n", "txt", ""},
        {"neither UTF-8 nor GB18030", QByteArray("\x81\x30\xff\xff abc"), "csv", "GB18030"},
        {"malformed XML", "<quiz><question type=\"essay\"></quiz>", "xml", "XML 格式错误"},
        {"external entity", "<?xml version=\"1.0\"?><!DOCTYPE quiz [<!ENTITY x SYSTEM \"file:///etc/passwd\">]><quiz>&x;</quiz>",
         "xml", "DOCTYPE"},
        {"undeclared entity", "<quiz><question type=\"essay\"><questiontext><text>&x;</text></questiontext></question></quiz>",
         "xml", "XML"},
        {"deep nesting", "<quiz><question type=\"essay\">" + QByteArray("<a>").repeated(200) + QByteArray("</a>").repeated(200)
                             + "</question></quiz>",
         "xml", "嵌套过深"},
        {"not a quiz", "<html><body>x</body></html>", "xml", "没有<quiz>"},
        {"content after the root", "<quiz></quiz><quiz></quiz>", "xml", "XML 格式错误"},
        {"unended CDATA", "<quiz><question type=\"essay\"><questiontext><text><![CDATA[x</text>", "xml", "XML 格式错误"},
        {"no header", "甲,乙\n", "csv", "列名"},
    };
    for (const Case &c : cases) {
        const QString path = b.dir() + QStringLiteral("in.") + QLatin1String(c.suffix);
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(c.bytes);
        f.close();
        const ParsedFile pf = readQuestionFile(path);
        if (*c.refusal)
            EXPECT_TRUE(pf.refusal.contains(QString::fromUtf8(c.refusal))) << c.name << ": " << pf.refusal.toStdString();
        else
            EXPECT_EQ(pf.questions.value(0).body, QStringLiteral("中文题")) << c.name << pf.refusal.toStdString();
        EXPECT_EQ(b.preview(pf).canSave(), !*c.refusal) << c.name;
    }
    // Over 100 MB: refused from its size, before anything is read.
    QFile big(b.dir() + QStringLiteral("big.gift"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(MaxImportFileBytes + 1));
    big.close();
    EXPECT_TRUE(readImportFile(big.fileName()).refusal.contains(QStringLiteral("100MB")));
    EXPECT_EQ(b.count(QStringLiteral("select count(*) from tab_answ")), 0);
}

TEST(QuestionImport, SavesAsEntryDoesInOneTransactionAndOnlyOnce)
{
    ImportBank b;
    b.addQuestion(QStringLiteral("US1001016100041"), QStringLiteral("A"), 61, QStringLiteral("100102"));
    const ParsedFile file = parseGift(QString::fromUtf8(Gift));
    ImportPreview p = b.preview(file);
    ASSERT_TRUE(p.canSave()) << p.refusal.toStdString();
    EXPECT_EQ(p.countsByType, (QMap<QString, int>{{QStringLiteral("单选"), 3}, {QStringLiteral("多选"), 1},
                                                   {QStringLiteral("判断"), 2}, {QStringLiteral("配伍"), 1},
                                                   {QStringLiteral("简答"), 1}}));
    // A failing write, and a cancel from the progress, leave everything as it was.
    b.run(QStringLiteral("create trigger boom before insert on tab_exer when new.A1 like '%00045' "
                         "begin select raise(abort, 'disk full'); end"));
    ImportOutcome out = saveImport(b.dm(), p);
    EXPECT_EQ(out.result, ImportOutcome::Failed);
    EXPECT_TRUE(out.error.contains(QStringLiteral("disk full")));
    b.run(QStringLiteral("drop trigger boom"));
    out = saveImport(b.dm(), p, [](int done, int) { return done == 0 ? false : true; });
    EXPECT_EQ(out.result, ImportOutcome::Cancelled);
    EXPECT_EQ(b.count(QStringLiteral("select count(*) from tab_answ")), 1);
    EXPECT_EQ(b.count(QStringLiteral("select C3 from tab_kmmc where C1='1'")), 0);

    out = saveImport(b.dm(), p);
    ASSERT_EQ(out.result, ImportOutcome::Saved) << out.error.toStdString();
    EXPECT_EQ(out.saved, 8);
    // Numbered after the largest user id, with entry's id, rows and counters.
    EXPECT_EQ(b.row(QStringLiteral("select A1, A2, A2_1, A10, A13, F1, K3 from tab_answ where A10 = '100101' order by rowid limit 1")),
              (QVariantList{QStringLiteral("US100101733") + "00042", QStringLiteral("A"), QStringLiteral("3"),
                            QStringLiteral("100101"), qlonglong(73), qlonglong(2), QStringLiteral("0101010001")}));
    EXPECT_EQ(b.value(QStringLiteral("select max(A1) from tab_answ where A13 = 74")).toString(),
              QStringLiteral("US100101741") + "00049");
    for (const char *c : {"100101", "1001", "10", "1"})
        EXPECT_EQ(b.count(QStringLiteral("select C3 from tab_kmmc where C1='%1'").arg(QLatin1String(c))), 8) << c;
    EXPECT_EQ(b.count(QStringLiteral("select q from tab_rule where ftid='0101010001'")), 1);
    EXPECT_EQ(b.count(QStringLiteral("select q from tab_fgmc where id='0'")), 1);
    EXPECT_EQ(b.count(QStringLiteral("select count(*) from tab_exer where jx is not null")), 1);

    // The second time everything is already there.
    p = b.preview(file);
    EXPECT_EQ(p.alreadyThere, 8);
    EXPECT_TRUE(p.ready.isEmpty());
    // A CSV id that is a question id of the bank is already there too.
    p = b.preview(parseCsv(QStringLiteral("id,题目,A,B,答案\nUS1001016100041,新题,甲,乙,A\n")));
    EXPECT_EQ(p.alreadyThere, 1);
    // Past the last number nothing is saved.
    b.addQuestion(QStringLiteral("US1001016109995"), QStringLiteral("A"), 61, QStringLiteral("100102"));
    p = b.preview(parseGift(QStringLiteral("新{~a =b}\n\n再{~a =b ~c}\n\n又{T}\n\n还{F}\n\n多{}\n")));
    EXPECT_TRUE(p.refusal.contains(QStringLiteral("9999"))) << p.refusal.toStdString();
}

TEST(QuestionImport, WritesTheRowsAndCountersEntryWrites)
{
    // Every shape the save prepares statements for (key points, explanation),
    // with empty texts that must stay empty, not NULL.
    ImportBank byEntry, byImport;
    ImportPreview p;
    for (int keyPoints : {0, 2})
        for (int explanation : {0, 1, 2}) {   // none, an empty one, a text
            NewQuestion q{QStringLiteral("100101"), QStringLiteral("4"), 4, QStringLiteral("61"),
                          keyPoints ? QStringLiteral("C") : QString(), plainRtf(QStringLiteral("题%1").arg(keyPoints)),
                          explanation == 2 ? plainRtf(QStringLiteral("解")) : QByteArray(), explanation > 0, {}};
            for (int k = 0; k < keyPoints; ++k)
                q.keyPoints << QStringLiteral("010101000%1").arg(k + 1);
            ASSERT_EQ(saveNewQuestion(byEntry.dm(), q).result, EntryOutcome::Saved);
            p.ready.append({0, q});
        }
    ASSERT_EQ(saveImport(byImport.dm(), p).saved, 6);
    auto dump = [](ImportBank &b) {
        QStringList rows;
        for (const char *sql : {"select * from tab_answ order by rowid", "select *, typeof(jx) from tab_exer order by rowid",
                                "select C1, C3 from tab_kmmc order by C1", "select ftid, q from tab_rule order by ftid",
                                "select id, q from tab_fgmc order by id"})
            b.dm().run(QString::fromLatin1(sql), {}, [&](const QVariantList &r) {
                QStringList cells;
                for (const QVariant &v : r)
                    cells << (v.isNull() ? QStringLiteral("NULL") : v.toString());
                rows << cells.join(u'|');
            });
        return rows;
    };
    EXPECT_EQ(dump(byImport), dump(byEntry));
}

TEST(QuestionImport, ExportThenImportIntoAFreshBankGivesTheSameQuestions)
{
    ImportBank from;
    ImportedQuestion subjective;
    subjective.kind = ImportKind::Subjective;
    subjective.body = QStringLiteral("论述：{大括号} ~波浪 = 等号 # 井号 : 冒号 \\ 斜杠\n第二行");
    subjective.explanation = QStringLiteral("要点 <b>不是标签</b> & 符号");
    ParsedFile in = parseGift(QString::fromUtf8(Gift));
    in.questions.resize(7);   // the HTML essay carries markup that plain export does not
    in.questions << subjective;
    in.problems.clear();
    ASSERT_EQ(saveImport(from.dm(), from.preview(in)).saved, 8);
    auto snapshot = [](ImportBank &b) {
        QStringList rows;
        b.dm().run(QStringLiteral("select a.A2, a.A2_1, a.A13, a.K3, a.K4, e.A15, e.jx from tab_answ a join tab_exer e "
                                  "on e.A1 = a.A1 order by a.rowid"),
                   {}, [&](const QVariantList &r) {
                       rows << QStringList{r[0].toString(), r[1].toString(), r[2].toString(), r[3].toString(), r[4].toString(),
                                           richtext::rtfToPlainText(r[5].toByteArray()),
                                           r[6].isNull() ? QStringLiteral("null") : richtext::rtfToPlainText(r[6].toByteArray())}
                                   .join(u'|');
                   });
        return rows;
    };
    for (ImportFormat f : {ImportFormat::Gift, ImportFormat::MoodleXml}) {
        QString error;
        const QString path = from.dir() + (f == ImportFormat::Gift ? QStringLiteral("out.gift") : QStringLiteral("out.xml"));
        ASSERT_EQ(exportUserQuestions(from.dm(), QStringLiteral("1001"), f, path, error), 8) << error.toStdString();
        ImportBank to;
        const ImportPreview p = to.preview(readQuestionFile(path));
        EXPECT_TRUE(p.problems.isEmpty()) << problemLine(p.problems.value(0)).toStdString();
        ASSERT_EQ(saveImport(to.dm(), p).saved, 8);
        EXPECT_EQ(snapshot(to), snapshot(from)) << path.toStdString();
    }
}

TEST(QuestionImport, PlainTextBecomesTheSameRichTextAsTheDocumentWrites)
{
    const QString cases[] = {QString(), QStringLiteral("x"), QStringLiteral("中文 and ASCII"), QStringLiteral("{a}\\b\tc"),
                             QStringLiteral("one\n\ntwo\n"), QStringLiteral("A. 甲\nB. 乙"), QStringLiteral("nbsp\u00a0soft\u00ad-\u2011"),
                             QStringLiteral("line\u2028sep"), QStringLiteral("emoji 😀 and é ü ½"), QStringLiteral("ctrl\x01\x1f end"),
                             QStringLiteral("€ — “引号” ①"), QStringLiteral("\\par ok")};
    // The quick reading of stored rich text tells questions apart as the
    // document does, formatted text and pictures included.
    QTextDocument doc;
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("p.png")), QImage(3, 3, QImage::Format_RGB32));
    doc.setHtml(QStringLiteral("<p style='color:red'><b>粗</b> <i>x</i> {\\}<img src='p.png'> ½€</p><ul><li>项</li></ul>"));
    QList<QByteArray> stored{richtext::toRtf(doc)};
    for (const QString &s : cases) {
        EXPECT_EQ(plainRtf(s), richtext::plainTextToRtf(s)) << s.toStdString();
        stored << plainRtf(s);
    }
    for (const QByteArray &rtf : stored)
        EXPECT_EQ(duplicateKey(storedVisibleText(rtf), {}), duplicateKey(richtext::rtfToPlainText(rtf), {})) << rtf.toStdString();
}
