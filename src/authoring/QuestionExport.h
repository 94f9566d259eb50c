// Writing the user's own questions of a chapter (ids beginning with "US")
// to a GIFT or Moodle XML file, so that another copy of the program, or a
// quiz program that reads those formats, can take them in: the body's
// option lines become the options, the key points and the bank's type code
// travel as tags.
#pragma once

#include "authoring/ImportModel.h"
#include "authoring/QuestionImport.h"

class TDM1;

namespace authoring {

// The chapter's user questions (the chapter and its sections) in the order
// they were saved.
QVector<ImportedQuestion> loadUserQuestions(TDM1 &dm, const QString &chapter);

// Writes them in the format (GIFT or Moodle XML) as UTF-8; returns the
// number written, or -1 with the reason in error.
int exportUserQuestions(TDM1 &dm, const QString &chapter, ImportFormat format, const QString &path, QString &error);

} // namespace authoring
