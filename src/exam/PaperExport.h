// Export of a paper to a document: the title, the questions under numbered
// type headings with the scoring of each type, a page break, and the
// answers with their explanations and key points.  The document is written
// into the user's documents folder and handed to the desktop.
#pragma once

#include "exam/ExamAnswers.h"
#include "exam/PaperQuestion.h"

#include <QString>
#include <QVector>

class TDM1;

namespace docwriter {
class TypedDocument;
}

namespace exam {

// "一、" to "九、" for the first nine headings, "--" from the tenth on.
QString SectionNumeral(int count);

// "[共40题，每题0.5分，总计20分]": the heading's scoring of a type.
QString sectionScoring(double questions, double perQuestion);

// The key line of an answer entry; empty for the types that have none
// (64, 74 to 77).
QString keyLine(int typeCode, const QString &key);

// The line naming a key point: its group's name, a blank, its title and
// "；", or the title and "；" alone when the group is not in the bank.
QString keyPointLine(const QString &groupName, bool groupFound, const QString &title);

// Types the whole paper (rows in the paper's order) into the document.
// Throws store::DbError when the bank cannot be read.
void typePaper(TDM1 &dm, const QString &title, const QVector<PaperQuestion> &rows, const TypeTable &types,
               docwriter::TypedDocument &doc);

// Where an export went.
struct ExportResult {
    bool ok = false;
    QString odtPath;
    QString pdfPath;      // set when the PDF was written
    QString openedPath;   // the file the desktop took
    QString error;        // why it failed
};

// The exam window's export: types the paper, writes it as OpenDocument
// Text into the export folder (documents folder, "Pellbrook"), named after
// the paper title and never over an earlier export, and opens it with the
// desktop's application; when the desktop has none for it, writes the same
// document as PDF beside it and opens that; when nothing opens either, a
// notice names where both files lie.  Any failure stops there and shows
// "导出试题发生错误，请退出后重试！" (caption "警告", warning icon).
ExportResult ExportPaperToWord(TDM1 &dm, const QString &title, const QVector<PaperQuestion> &rows,
                               const TypeTable &types);

} // namespace exam
