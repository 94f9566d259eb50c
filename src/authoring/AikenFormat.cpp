// Reading Aiken question files.
#include "authoring/AikenFormat.h"

#include <QRegularExpression>

namespace authoring {

ParsedFile parseAiken(const QString &text)
{
    ParsedFile out;
    // An option is a capital letter, then "." or ")" and a blank, as the
    // format has it; Chinese files also write "A.甲", "A、甲" and "A）甲".
    // "A.I. is ..." is no option: the mark is followed by a Latin letter.
    static const QRegularExpression optionRe(
        QStringLiteral("^([A-Z])\\s*(?:[.)](?:\\s+|(?=[^\\x{0}-\\x{7F}])|$)|[．、）]\\s*)(.*)$"));
    static const QRegularExpression answerRe(QStringLiteral("^ANSWER\\s*[:：]\\s*(.*)$"));
    const QStringList lines = text.split(u'\n');
    ImportedQuestion q;
    bool open = false;
    auto fail = [&](int line, const QString &why) {
        out.problems.append({line, why});
        q = ImportedQuestion();
        open = false;
    };
    for (int i = 0; i < lines.size(); ++i) {
        const QString t = lines[i].trimmed();
        const int line = i + 1;
        if (t.isEmpty())
            continue;
        if (const auto a = answerRe.match(t); a.hasMatch()) {
            if (!open)
                fail(line, QStringLiteral("“ANSWER:”前面没有试题。"));
            else if (q.options.isEmpty())
                fail(q.line, QStringLiteral("试题没有选项。"));
            else {
                q.answer = a.captured(1).trimmed();
                q.kind = ImportKind::Single;
                out.questions.append(std::move(q));
                q = ImportedQuestion();
                open = false;
            }
            continue;
        }
        const auto o = optionRe.match(t);
        if (open && o.hasMatch() && o.captured(1) == optionLetter(int(q.options.size()))) {
            q.options << o.captured(2).trimmed();
            continue;
        }
        if (open && !q.options.isEmpty()) {
            fail(q.line, QStringLiteral("试题没有“ANSWER:”行。"));
        }
        if (!open) {
            q.line = line;
            q.body = t;
            open = true;
        } else {
            // A question running over several lines before its options.
            q.body += u'\n' + t;
        }
    }
    if (open)
        out.problems.append({q.line, QStringLiteral("试题没有“ANSWER:”行。")});
    return out;
}

} // namespace authoring
