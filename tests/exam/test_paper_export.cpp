// Export of a paper to a document: the layout line by line on a generated
// paper and on a hand-made one that has every kind of entry, the written
// ODT and PDF, and the roads of handing the file to the desktop.
#include "ExamFixture.h"

#include "exam/PaperExport.h"
#include "exam/PaperGeneration.h"
#include "platform/DocumentWriter.h"
#include "platform/DocumentChecks.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace exam;
using namespace docchecks;

namespace {

PaperQuestion question(const QString &id, int type, const QString &key, const QStringList &keyPoints = {})
{
    PaperQuestion q;
    q.a1 = id;
    q.a13 = type;
    q.a2 = key;
    q.k = keyPoints;
    return q;
}

// A generated 110-question paper of subject 1.
struct GeneratedPaper {
    TestBank b;
    PaperState paper;
    QVector<PaperQuestion> rows;
    TypeTable types;
    GeneratedPaper()
    {
        examfixture::fillSubject(b, 1);
        paper = generatePaper(b.dm(), 1);
        rows = LoadPaper(b.dm(), paper);
        types = readTypeTable(b.dm());
    }
};

} // namespace

TEST(PaperExport, NumeralsScoringKeysAndKeyPointLines)
{
    EXPECT_EQ(SectionNumeral(1), QStringLiteral("一、"));
    EXPECT_EQ(SectionNumeral(4), QStringLiteral("四、"));
    EXPECT_EQ(SectionNumeral(9), QStringLiteral("九、"));
    EXPECT_EQ(SectionNumeral(10), QStringLiteral("--"));
    EXPECT_EQ(SectionNumeral(11), QStringLiteral("--"));

    EXPECT_EQ(sectionScoring(40, 0.5), QStringLiteral("[共40题，每题0.5分，总计20分]"));
    EXPECT_EQ(sectionScoring(3, 0.1), QStringLiteral("[共3题，每题0.1分，总计0.3分]"));
    EXPECT_EQ(sectionScoring(0, 0), QStringLiteral("[共0题，每题0分，总计0分]"));

    const struct {
        int type;
        const char *key;
        const char *line;
    } keys[] = {
        {61, "C", "试题答案：C"},     {62, "A", "试题答案：A"},     {65, "ACD", "试题答案：ACD"},
        {73, "BE", "试题答案：BE"},   {71, "A", "试题答案：正确"},  {71, "B", "试题答案：错误"},
        {71, "C", "试题答案：C"},     {64, "X", ""},              {74, "1", ""},
        {75, "1", ""},              {76, "0", ""},              {77, "1", ""},
    };
    for (const auto &c : keys)
        EXPECT_EQ(keyLine(c.type, QString::fromUtf8(c.key)), QString::fromUtf8(c.line)) << c.type << c.key;

    EXPECT_EQ(keyPointLine(QStringLiteral("组名"), true, QStringLiteral("考点一  ")), QStringLiteral("组名 考点一；"));
    EXPECT_EQ(keyPointLine(QString(), false, QStringLiteral("考点一 ")), QStringLiteral("考点一；"));
}

TEST(PaperExport, GeneratedPaperHasFourSectionsAndEveryQuestionTwice)
{
    GeneratedPaper g;
    ASSERT_EQ(g.rows.size(), 110);
    docwriter::TypedDocument doc;
    typePaper(g.b.dm(), g.paper.title, g.rows, g.types, doc);
    const QStringList lines = blockTexts(doc.document());

    EXPECT_EQ(lines.mid(0, 3), (QStringList{g.paper.title, QString(), QString()}));
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^([一二三四五六七八九]、|--)"))),
              (QStringList{QStringLiteral("一、单项选择题[共40题，每题0.5分，总计20分]"),
                           QStringLiteral("二、多项选择题[共15题，每题1分，总计15分]"),
                           QStringLiteral("三、判断题[共40题，每题0.5分，总计20分]"),
                           QStringLiteral("四、综合分析题[共15题，每题2分，总计30分]")}));
    QStringList bodies, entries;
    for (int i = 1; i <= 110; ++i) {
        bodies << QString::number(i) + QStringLiteral("、body");
        entries << QStringLiteral("第%1题").arg(i);
    }
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^\\d+、"))), bodies);
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^第\\d+题$"))), entries);

    // The answers start on a page of their own, after the last question.
    const int answers = int(lines.indexOf(QStringLiteral("答案：")));
    ASSERT_GT(answers, int(lines.indexOf(QStringLiteral("110、body"))));
    EXPECT_EQ(lines.mid(answers, 4), (QStringList{QStringLiteral("答案："), QString(), QString(), QStringLiteral("第1题")}));
    EXPECT_EQ(doc.document().findBlockByNumber(answers).blockFormat().pageBreakPolicy(),
              QTextFormat::PageBreak_AlwaysBefore);
    // Every fixture key is "A": true/false questions read 正确.
    EXPECT_EQ(lines.count(QStringLiteral("试题答案：正确")), 40);
    EXPECT_EQ(lines.count(QStringLiteral("试题答案：A")), 70);
}

TEST(PaperExport, EveryKindOfEntryLineByLine)
{
    TestBank b;
    b.run(QStringLiteral("insert into tab_tx1 (A1,B1,B2,B3,time) values (61,'单项选择题',2,0.5,1),"
                         "(71,'判断题',2,1,1),(74,'主观题',1,1.5,1)"));
    b.dm().setTypeTable(1);
    b.run(QStringLiteral("insert into tab_title (A1, A15) values ('0161000000000001', ?)"), {rtf(QStringLiteral("共用材料"), true)});
    const struct {
        const char *id;
        QByteArray body;
    } bodies[] = {
        {"0161000000000001-1", rtf(QStringLiteral("第一小题"))},
        {"0161000000000001-2", rtf(QStringLiteral("第二小题"))},
        {"US0101017140001", QStringLiteral("用户判断题").toUtf8()},   // a user question: no material
        {"017100000001", QByteArray()},                                 // an empty body
        {"0574000000001", rtf(QStringLiteral("自评题"))},
        // 0564000000001 has no row at all
    };
    for (const auto &q : bodies)
        b.run(QStringLiteral("insert into tab_exer (A1, A15) values (?, ?)"), {QString::fromLatin1(q.id), q.body});
    b.addKeyPoint(QStringLiteral("010101000001"));
    b.run(QStringLiteral("update tab_rule set sn='考点一  ', n=? where ftid='010101000001'"), {rtf(QStringLiteral("考点正文一"))});
    // A key point whose group is not in the bank.
    b.run(QStringLiteral("insert into tab_rule (id, ftid, sn, n) values ('990101', '990101000001', '考点二', ?)"),
          {rtf(QStringLiteral("考点正文二"))});

    QVector<PaperQuestion> rows{
        question(QStringLiteral("0161000000000001-1"), 61, QStringLiteral("C")),
        question(QStringLiteral("0161000000000001-2"), 61, QStringLiteral("D"),
                 {QStringLiteral("010101000001"), QStringLiteral(" "), QStringLiteral("990101000001"), QString()}),
        question(QStringLiteral("US0101017140001"), 71, QStringLiteral("B")),
        question(QStringLiteral("017100000001"), 71, QStringLiteral("A")),
        question(QStringLiteral("0574000000001"), 74, QStringLiteral("1"), {QStringLiteral("010101000001")}),
        // An empty first key point: no key-point lines, not even the heading.
        question(QStringLiteral("0564000000001"), 64, QStringLiteral("X"), {QStringLiteral(""), QStringLiteral("010101000001")}),
    };
    rows[1].hasJx = true;
    rows[1].jx = rtf(QStringLiteral("解析二"));
    rows[4].hasJx = true;
    rows[4].jx = QStringLiteral("自评解析").toUtf8();
    rows[5].hasJx = true;   // an explanation that is empty, not NULL

    docwriter::TypedDocument doc;
    typePaper(b.dm(), QStringLiteral("2026年03月10日Almerin[1]"), rows, readTypeTable(b.dm()), doc);
    const QStringList expected{
        QStringLiteral("2026年03月10日Almerin[1]"), QString(), QString(),
        QStringLiteral("一、单项选择题[共2题，每题0.5分，总计1分]"),
        QStringLiteral("共用材料"), QStringLiteral("1、第一小题"),
        QStringLiteral("共用材料"), QStringLiteral("2、第二小题"),
        QStringLiteral("二、判断题[共2题，每题1分，总计2分]"),
        QStringLiteral("3、用户判断题"), QStringLiteral("4、"),
        QStringLiteral("三、主观题[共1题，每题1.5分，总计1.5分]"), QStringLiteral("5、自评题"),
        QStringLiteral("四、未知题型[共0题，每题0分，总计0分]"), QStringLiteral("6、"),
        QStringLiteral("答案："), QString(), QString(),
        QStringLiteral("第1题"), QStringLiteral("试题答案：C"),
        QStringLiteral("第2题"), QStringLiteral("试题答案：D"), QStringLiteral("试题解析："), QStringLiteral("解析二"),
        QStringLiteral("考点："), QStringLiteral("组 010101 考点一；"), QStringLiteral("考点正文一"),
        QStringLiteral("考点二；"), QStringLiteral("考点正文二"),
        QStringLiteral("第3题"), QStringLiteral("试题答案：错误"),
        QStringLiteral("第4题"), QStringLiteral("试题答案：正确"),
        QStringLiteral("第5题"), QStringLiteral("试题解析："), QStringLiteral("自评解析"),
        QStringLiteral("考点："), QStringLiteral("组 010101 考点一；"), QStringLiteral("考点正文一"),
        QStringLiteral("第6题"), QStringLiteral("试题解析："), QString(),
        QString(),
    };
    EXPECT_EQ(blockTexts(doc.document()), expected);

    // The material keeps its bold; the number typed after it does not take it.
    const QTextBlock material = doc.document().findBlockByNumber(4);
    EXPECT_EQ(material.begin().fragment().charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(material.next().begin().fragment().text(), QStringLiteral("1、"));
    EXPECT_EQ(material.next().begin().fragment().charFormat().fontWeight(), QFont::Normal);
}

TEST(PaperExport, TenTypesAndAPictureInABody)
{
    TestBank b;
    QVector<PaperQuestion> rows;
    for (int type = 1; type <= 11; ++type) {
        const QString id = QStringLiteral("Q%1").arg(type, 2, 10, QLatin1Char('0'));
        b.run(QStringLiteral("insert into tab_exer (A1, A15) values (?, ?)"),
              {id, type == 10 ? pictureRtf(QStringLiteral("看图"), Qt::darkCyan) : rtf(QStringLiteral("题"))});
        rows << question(id, type, QStringLiteral("A"));
    }
    docwriter::TypedDocument doc;
    typePaper(b.dm(), QStringLiteral("T"), rows, {}, doc);
    const QStringList lines = blockTexts(doc.document());
    const QStringList headings = lines.filter(QStringLiteral("未知题型"));
    ASSERT_EQ(headings.size(), 11);
    EXPECT_TRUE(headings.at(8).startsWith(QStringLiteral("九、")));
    EXPECT_TRUE(headings.at(9).startsWith(QStringLiteral("--未知题型")));
    EXPECT_TRUE(headings.at(10).startsWith(QStringLiteral("--未知题型")));
    EXPECT_TRUE(lines.contains(QStringLiteral("10、看图\uFFFC")));
    EXPECT_EQ(pictureColours(doc.document()), QList<QRgb>{QColor(Qt::darkCyan).rgb()});
}

TEST(PaperExport, WrittenOdtAndPdfHoldThePaper)
{
    GeneratedPaper g;
    docwriter::TypedDocument doc;
    typePaper(g.b.dm(), g.paper.title, g.rows, g.types, doc);
    QTemporaryDir dir;
    const QString odt = dir.filePath(QStringLiteral("paper.odt"));
    const QString pdf = dir.filePath(QStringLiteral("paper.pdf"));
    docwriter::writeOdt(doc.document(), odt);
    EXPECT_EQ(tool(QStringLiteral("unzip"), {QStringLiteral("-p"), odt, QStringLiteral("mimetype")}),
              QStringLiteral("application/vnd.oasis.opendocument.text"));
    const QString content = tool(QStringLiteral("unzip"), {QStringLiteral("-p"), odt, QStringLiteral("content.xml")});
    EXPECT_TRUE(content.contains(g.paper.title));
    EXPECT_TRUE(content.contains(QStringLiteral("一、单项选择题[共40题，每题0.5分，总计20分]")));
    EXPECT_TRUE(content.contains(QStringLiteral("fo:break-before=\"page\"")));

    const int pages = docwriter::writePdf(doc.document(), pdf);
    const QStringList text = pdfPages(pdf);
    ASSERT_EQ(text.size(), pages);
    EXPECT_TRUE(text.first().contains(g.paper.title));
    // "答案：" heads the first page after the questions ("试题答案：" comes
    // later).
    int answerPage = -1;
    for (int i = 0; i < text.size() && answerPage < 0; ++i)
        if (text.at(i).contains(QStringLiteral("答案：")))
            answerPage = i;
    ASSERT_GT(answerPage, 0);
    EXPECT_TRUE(text.at(answerPage).trimmed().startsWith(QStringLiteral("答案：")));
    EXPECT_TRUE(text.at(answerPage - 1).contains(QStringLiteral("110、body")));
}

// The paper is written into the documents folder, below a folder named
// for the program, and handed to the desktop; when nothing opens it, a
// notice names where it lies.  Real failures keep the failure text.
TEST(PaperExport, HandsTheDocumentToTheDesktopOrSaysItFailed)
{
    enum Said { Nothing, WhereSaved, Failed };
    const struct {
        const char *name;
        bool odtOpens;
        bool pdfOpens;
        bool bankBroken;
        bool folderBlocked;   // a file stands where the export folder should be
        const char *opened;   // extension of the file opened, "" for none
        bool pdfWritten;
        Said said;
    } cases[] = {
        {"word processor", true, true, false, false, "odt", false, Nothing},
        {"PDF viewer only", false, true, false, false, "pdf", true, Nothing},
        {"nothing opens", false, false, false, false, "", true, WhereSaved},
        {"bank unreadable", true, true, true, false, "", false, Failed},
        {"folder not writable", true, true, false, true, "", false, Failed},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        GeneratedPaper g;
        QTemporaryDir docs;   // the documents folder of this case
        docwriter::setDocumentsFolder(docs.path());
        const QString exports = docs.path() + QStringLiteral("/Pellbrook");
        PromptRecorder prompts;
        QStringList asked;
        docwriter::setOpener([&](const QString &path) {
            asked << path;
            return path.endsWith(QStringLiteral(".odt")) ? c.odtOpens : c.pdfOpens;
        });
        if (c.bankBroken)
            g.b.run(QStringLiteral("drop table tab_exer"));
        if (c.folderBlocked) {
            QFile block(exports);
            ASSERT_TRUE(block.open(QIODevice::WriteOnly));
        }
        const ExportResult r = ExportPaperToWord(g.b.dm(), g.paper.title, g.rows, g.types);

        EXPECT_EQ(r.ok, c.said != Failed);
        EXPECT_EQ(QFileInfo(r.openedPath).suffix(), QString::fromLatin1(c.opened));
        if (c.said != Failed) {
            EXPECT_EQ(r.odtPath, exports + QLatin1Char('/') + g.paper.title + QStringLiteral(".odt"));
            EXPECT_GT(QFileInfo(r.odtPath).size(), 0);
            EXPECT_EQ(asked.first(), r.odtPath);
        } else {
            EXPECT_TRUE(asked.isEmpty());
        }
        EXPECT_EQ(QFileInfo::exists(exports + QLatin1Char('/') + g.paper.title + QStringLiteral(".pdf")), c.pdfWritten);
        if (c.said == Nothing) {
            EXPECT_TRUE(prompts.prompts.isEmpty());
            // Another export of the paper never overwrites this one.
            EXPECT_EQ(ExportPaperToWord(g.b.dm(), g.paper.title, g.rows, g.types).odtPath, r.odtPath.chopped(4) + QStringLiteral(" (2).odt"));
        }
        docwriter::setOpener({});
        docwriter::setDocumentsFolder(QString());
        if (c.said == Nothing)
            continue;
        ASSERT_EQ(prompts.prompts.size(), 1);
        const seams::Prompt &p = prompts.prompts.first();
        EXPECT_EQ(p.kind, seams::Prompt::Kind::MessageBox);
        const bool notice = c.said == WhereSaved;
        EXPECT_EQ(p.caption, notice ? QStringLiteral("提示") : QStringLiteral("警告"));
        EXPECT_EQ(p.icon, notice ? seams::Prompt::Information : seams::Prompt::Warning);
        EXPECT_TRUE(p.text.contains(notice ? QDir::toNativeSeparators(r.odtPath) : QStringLiteral("导出试题发生错误，请退出后重试！")))
            << p.text.toStdString();
    }
}
