// Aiken, the simplest quiz format: a question on one line, its options on
// the following lines ("A. text" or "A) text"), then "ANSWER: X"; one right
// answer per question, questions separated by blank lines or not at all.
#pragma once

#include "authoring/ImportModel.h"

namespace authoring {

ParsedFile parseAiken(const QString &text);

} // namespace authoring
