// Reading a question file for import: its size, whether it is text at all,
// its encoding, and which of the formats it is written in.
#include "authoring/AikenFormat.h"
#include "authoring/CsvFormat.h"
#include "authoring/GiftFormat.h"
#include "authoring/MoodleXmlFormat.h"
#include "authoring/QuestionImport.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include <algorithm>

namespace authoring {

ImportText decodeImportBytes(const QByteArray &bytes)
{
    ImportText out;
    QByteArrayView data(bytes);
    const auto bom = QStringConverter::encodingForData(data);
    const bool bomless = !bom;
    if (bom) {
        QStringDecoder d(*bom, QStringConverter::Flag::Stateless);
        out.text = d.decode(data);
        if (d.hasError())
            out.refusal = QStringLiteral("文件的编码有错误，不能导入。");
    } else {
        // Text files hold no NUL bytes; pictures, archives and programs do.
        if (data.contains('\0')) {
            out.refusal = QStringLiteral("这不是文本文件，不能导入。");
            return out;
        }
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        out.text = utf8.decode(data);
        if (utf8.hasError()) {
            // Files saved by Chinese Windows programs: GB18030 (a superset
            // of GBK) decodes every valid byte sequence of those.
            QStringDecoder gb("GB18030", QStringConverter::Flag::Stateless);
            out.text = gb.isValid() ? gb.decode(data) : QString();
            if (!gb.isValid() || gb.hasError())
                out.refusal = QStringLiteral("文件既不是 UTF-8 也不是 GB18030 编码，不能导入。");
        }
    }
    if (out.refusal.isEmpty()) {
        // Control characters other than tabs and line ends mark a binary file
        // that happened to decode.  Without a byte-order mark they are the
        // very bytes below 0x20 (UTF-8 and GB18030 use none of those inside
        // a character), found quicker in the bytes than in the text.
        auto control = [](auto c) { return c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f'; };
        const bool binary = bomless ? std::any_of(data.begin(), data.end(), [&](char b) { return control(uchar(b)); })
                                    : std::any_of(out.text.cbegin(), out.text.cend(),
                                                  [&](QChar c) { return control(c.unicode()); });
        if (binary)
            out.refusal = QStringLiteral("这不是文本文件，不能导入。");
    }
    if (!out.refusal.isEmpty())
        out.text.clear();
    else if (out.text.startsWith(QChar(0xFEFF)))
        out.text.remove(0, 1);
    return out;
}

ImportText readImportFile(const QString &path)
{
    ImportText out;
    QFileInfo info(path);
    if (!info.isFile()) {
        out.refusal = QStringLiteral("找不到文件：") + path;
        return out;
    }
    if (info.size() > MaxImportFileBytes) {
        out.refusal = QStringLiteral("文件超过100MB，不能导入。");
        return out;
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        out.refusal = QStringLiteral("文件打不开：") + f.errorString();
        return out;
    }
    // The limit again on what is read: the file may have grown meanwhile.
    const QByteArray bytes = f.read(MaxImportFileBytes + 1);
    if (bytes.size() > MaxImportFileBytes) {
        out.refusal = QStringLiteral("文件超过100MB，不能导入。");
        return out;
    }
    return decodeImportBytes(bytes);
}

ImportFormat detectFormat(const QString &path, const QString &text)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("xml"))
        return ImportFormat::MoodleXml;
    if (suffix == QLatin1String("csv"))
        return ImportFormat::Csv;
    if (suffix == QLatin1String("gift"))
        return ImportFormat::Gift;
    const QString head = text.left(4096).trimmed();
    if (head.startsWith(QLatin1String("<?xml")) || head.startsWith(QLatin1String("<quiz")))
        return ImportFormat::MoodleXml;
    static const QRegularExpression aikenAnswer(QStringLiteral("^ANSWER\\s*[:：]\\s*[A-Z]\\s*$"),
                                                QRegularExpression::MultilineOption);
    if (aikenAnswer.match(text).hasMatch() && !text.contains(u'{'))
        return ImportFormat::Aiken;
    if (text.contains(u'{'))
        return ImportFormat::Gift;
    return ImportFormat::Unknown;
}

ParsedFile parseImport(ImportFormat format, const QString &text)
{
    switch (format) {
    case ImportFormat::Gift: return parseGift(text);
    case ImportFormat::MoodleXml: return parseMoodleXml(text);
    case ImportFormat::Aiken: return parseAiken(text);
    case ImportFormat::Csv: return parseCsv(text);
    case ImportFormat::Unknown: break;
    }
    ParsedFile out;
    out.refusal = QStringLiteral("看不出文件的格式（GIFT、Moodle XML、Aiken 或 CSV）。");
    return out;
}

ParsedFile readQuestionFile(const QString &path)
{
    const ImportText t = readImportFile(path);
    if (!t.refusal.isEmpty()) {
        ParsedFile out;
        out.refusal = t.refusal;
        return out;
    }
    return parseImport(detectFormat(path, t.text), t.text);
}

void addMatchingQuestions(const ImportedQuestion &stem, const QVector<QPair<QString, QString>> &pairs, ParsedFile &out)
{
    QStringList answers;
    for (const auto &p : pairs)
        if (!answers.contains(p.second))
            answers << p.second;
    int premises = 0;
    for (const auto &p : pairs)
        if (!p.first.trimmed().isEmpty())
            ++premises;
    if (premises == 0) {
        out.problems.append({stem.line, QStringLiteral("配对题没有配对。")});
        return;
    }
    if (premises > MaxMatchingPairs || answers.size() > MaxMatchingPairs) {
        out.problems.append({stem.line, QStringLiteral("配对题有%1对、%2个答案，答题页最多%3个选项。")
                                            .arg(premises)
                                            .arg(answers.size())
                                            .arg(MaxMatchingPairs)});
        return;
    }
    for (const auto &p : pairs) {
        if (p.first.trimmed().isEmpty())
            continue;   // a distractor: only an option
        ImportedQuestion q = stem;
        q.kind = ImportKind::Single;
        q.typeCode.clear();
        const QString sep = stem.format == TextFormat::Html ? QStringLiteral("<br/>") : QStringLiteral("\n");
        q.body = stem.body + sep + p.first;
        q.options = answers;
        q.answer = optionLetter(int(answers.indexOf(p.second)));
        out.questions.append(std::move(q));
    }
}

} // namespace authoring
