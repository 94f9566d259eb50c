// GIFT, the plain-text question format of Moodle: questions separated by
// blank lines, "::title::", "// comments", "$CATEGORY:", answers in braces
// ("=" right, "~" wrong, "~%50%" partly right, "#" feedback, "####" general
// feedback), {T}/{F} true/false, "a -> b" matching, {} essay, and the
// escapes \~ \= \# \{ \} \: \\ \n.
#pragma once

#include "authoring/ImportModel.h"

namespace authoring {

// Key points and the bank's type code travel as comment tags before a
// question, "// [tag:KP-0101010001] [tag:TX-73]", which other readers skip.
ParsedFile parseGift(const QString &text);
QString writeGift(const QVector<ImportedQuestion> &questions);

// GIFT escaping of a text (the characters ~ = # { } : and backslash, and
// line ends as \n).
QString giftEscape(const QString &text);

} // namespace authoring
