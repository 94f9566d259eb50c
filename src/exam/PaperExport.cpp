// The paper typed into a document line by line, and the export that writes
// it and hands it to the desktop.
#include "exam/PaperExport.h"

#include "platform/DocumentWriter.h"
#include "platform/Seams.h"
#include "store/dm.h"

#include <QDir>
#include <QSet>
#include <QSqlQuery>

namespace exam {

namespace {

// The stored rich text of the first column of the statement's first row;
// empty when there is no row.
QByteArray richTextOf(TDM1 &dm, const QString &sql, const QString &id)
{
    QSqlQuery q = dm.exec(sql, {id});
    const QByteArray text = q.next() ? q.value(0).toByteArray() : QByteArray();
    q.finish();
    return text;
}

void typeQuestion(TDM1 &dm, const PaperQuestion &r, int number, docwriter::TypedDocument &doc)
{
    if (r.isSubQuestion()) {
        doc.pasteRichText(richTextOf(dm, QStringLiteral("select a15 from tab_title where a1=?"), r.a1.left(16)));
        doc.typeParagraph();
    }
    doc.typeText(QString::number(number) + QStringLiteral("、"));
    doc.pasteRichText(richTextOf(dm, QStringLiteral("select a15 from tab_exer where a1=?"), r.a1));
    doc.typeParagraph();
}

void typeKeyPoint(TDM1 &dm, const QString &id, docwriter::TypedDocument &doc)
{
    QString title;
    QByteArray text;
    {
        QSqlQuery q = dm.exec(QStringLiteral("select sn, n from tab_rule where ftid=?"), {id});
        if (q.next()) {
            title = q.value(0).toString();
            text = q.value(1).toByteArray();
        }
        q.finish();
    }
    // A key point's group is the row named by the first six characters of
    // its id.
    QSqlQuery g = dm.exec(QStringLiteral("select n from tab_fgmc where id=?"), {id.left(6)});
    const bool found = g.next();
    const QString group = found ? g.value(0).toString() : QString();
    g.finish();
    doc.typeText(keyPointLine(group, found, title));
    doc.typeParagraph();
    doc.pasteRichText(text);
    doc.typeParagraph();
}

void typeAnswer(TDM1 &dm, const PaperQuestion &r, int number, docwriter::TypedDocument &doc)
{
    doc.typeText(QStringLiteral("第") + QString::number(number) + QStringLiteral("题"));
    doc.typeParagraph();
    const QString key = keyLine(r.a13, r.a2);
    if (!key.isEmpty()) {
        doc.typeText(key);
        doc.typeParagraph();
    }
    if (r.hasJx) {
        doc.typeText(QStringLiteral("试题解析："));
        doc.typeParagraph();
        doc.pasteRichText(r.jx);
        doc.typeParagraph();
    }
    // An empty K3 means no key points, whether the bank stored NULL or an
    // empty text.
    if (r.hasKeyPoints()) {
        doc.typeText(QStringLiteral("考点："));
        doc.typeParagraph();
        // An empty entry is skipped; those after it are still written.
        for (const QString &k : r.k) {
            const QString id = k.trimmed();
            if (!id.isEmpty())
                typeKeyPoint(dm, id, doc);
        }
    }
}

void showExportFailure()
{
    seams::messageBox(QStringLiteral("警告"), QStringLiteral("导出试题发生错误，请退出后重试！"), seams::Prompt::Warning);
}

// The export worked; only the desktop has nothing to show it with.
void showWhereSaved(const QStringList &files)
{
    QStringList shown;
    for (const QString &f : files)
        shown << QDir::toNativeSeparators(f);
    seams::messageBox(QStringLiteral("提示"), QStringLiteral("没有找到可以打开试卷的程序，试卷已保存为：\n") + shown.join(QLatin1Char('\n')),
                      seams::Prompt::Information);
}

} // namespace

QString SectionNumeral(int count)
{
    static const QStringList numerals{QStringLiteral("一、"), QStringLiteral("二、"), QStringLiteral("三、"),
                                      QStringLiteral("四、"), QStringLiteral("五、"), QStringLiteral("六、"),
                                      QStringLiteral("七、"), QStringLiteral("八、"), QStringLiteral("九、")};
    return count >= 1 && count <= numerals.size() ? numerals.at(count - 1) : QStringLiteral("--");
}

QString sectionScoring(double questions, double perQuestion)
{
    return QStringLiteral("[共") + generalNumber(questions) + QStringLiteral("题，每题") + generalNumber(perQuestion)
           + QStringLiteral("分，总计") + generalNumber(questions * perQuestion) + QStringLiteral("分]");
}

QString keyLine(int typeCode, const QString &key)
{
    switch (typeCode) {
    case 61:
    case 62:
    case 65:
    case 73:
        return QStringLiteral("试题答案：") + key;
    case 71:
        if (key == QLatin1String("A"))
            return QStringLiteral("试题答案：正确");
        if (key == QLatin1String("B"))
            return QStringLiteral("试题答案：错误");
        return QStringLiteral("试题答案：") + key;
    default:
        return QString();
    }
}

QString keyPointLine(const QString &groupName, bool groupFound, const QString &title)
{
    // Titles may carry trailing blanks in the bank.
    QString sn = title;
    while (!sn.isEmpty() && sn.back().isSpace())
        sn.chop(1);
    return groupFound ? groupName + QLatin1Char(' ') + sn + QStringLiteral("；") : sn + QStringLiteral("；");
}

void typePaper(TDM1 &dm, const QString &title, const QVector<PaperQuestion> &rows, const TypeTable &types,
               docwriter::TypedDocument &doc)
{
    doc.document().setMetaInformation(QTextDocument::DocumentTitle, title);
    doc.typeText(title);
    for (int i = 0; i < 3; ++i)
        doc.typeParagraph();

    QSet<int> headed;
    for (int i = 0; i < rows.size(); ++i) {
        const PaperQuestion &r = rows.at(i);
        if (!headed.contains(r.a13)) {
            headed.insert(r.a13);
            const auto type = types.constFind(r.a13);
            const bool known = type != types.constEnd();
            doc.typeText(SectionNumeral(int(headed.size())) + (known ? type->name : QStringLiteral("未知题型"))
                             + sectionScoring(known ? type->b2 : 0, known ? type->b3 : 0));
            doc.typeParagraph();
        }
        typeQuestion(dm, r, i + 1, doc);
    }

    doc.insertPageBreak();
    doc.typeText(QStringLiteral("答案："));
    for (int i = 0; i < 3; ++i)
        doc.typeParagraph();
    for (int i = 0; i < rows.size(); ++i)
        typeAnswer(dm, rows.at(i), i + 1, doc);
}

ExportResult ExportPaperToWord(TDM1 &dm, const QString &title, const QVector<PaperQuestion> &rows,
                               const TypeTable &types)
{
    ExportResult out;
    try {
        docwriter::TypedDocument doc;
        typePaper(dm, title, rows, types, doc);
        const QString base = docwriter::unusedBasePath(docwriter::exportFolder(), docwriter::safeFileName(title),
                                                       {QStringLiteral(".odt"), QStringLiteral(".pdf")});
        out.odtPath = base + QStringLiteral(".odt");
        docwriter::writeOdt(doc.document(), out.odtPath);
        if (docwriter::openDocument(out.odtPath)) {
            out.openedPath = out.odtPath;
        } else {
            // Many desktops read PDF but have no word processor.
            out.pdfPath = base + QStringLiteral(".pdf");
            docwriter::writePdf(doc.document(), out.pdfPath);
            if (docwriter::openDocument(out.pdfPath))
                out.openedPath = out.pdfPath;
            else
                showWhereSaved({out.odtPath, out.pdfPath});
        }
    } catch (const std::exception &e) {
        out.error = QString::fromUtf8(e.what());
        qWarning("paper export: %s", e.what());
        showExportFailure();
        return out;
    }
    out.ok = true;
    return out;
}

} // namespace exam
