// A small reader for the XML that question files are written in: elements,
// attributes, text, CDATA sections, comments and processing instructions,
// with the five predefined entities and character references.  A document
// type declaration, any other entity and nesting deeper than the limit are
// refused; nothing outside the text is ever read.  It reads a 10,000-question
// file several times faster than a general XML reader, and hands the root's
// children over one at a time, each with everything inside it.
#pragma once

#include <QString>
#include <QStringView>
#include <utility>
#include <vector>

namespace authoring {

struct XmlElement {
    QStringView name;   // points into the document's text
    std::vector<std::pair<QStringView, QString>> attrs;
    QString text;   // the element's own text; runs of blanks between elements are left out
    std::vector<XmlElement> children;
    int line = 0;   // where the start tag ends (1-based), for the root's children

    const XmlElement *child(QLatin1String n) const;
    QString attr(QLatin1String n) const;   // empty when absent
};

class XmlReader {
public:
    enum Failure { None, Malformed, DocumentType, Entity, TooDeep };

    XmlReader(QStringView text, int maxDepth);
    // Reads up to the root's start tag; false on a failure.
    bool readRoot();
    QStringView rootName() const { return m_rootName; }
    int rootLine() const { return m_rootLine; }
    // The root's next child element with all it holds; false at the root's
    // end (atEnd) or on a failure.  Text directly in the root is passed over.
    bool readChild(XmlElement &out);
    bool atEnd() const { return m_rootClosed; }
    // After the root: nothing but blanks, comments and processing
    // instructions; false on a failure.
    bool readEpilogue();

    Failure failure() const { return m_failure; }
    // What is wrong, in the reader's words: the entity's name for Entity,
    // the detail for Malformed.
    const QString &detail() const { return m_detail; }
    // The line of the failure, or of the position reached.
    int line();

private:
    bool fail(Failure f, const QString &detail);
    bool skipBlanks();
    bool skipMisc(bool prolog);   // comments, PIs, blanks (and the DTD check)
    bool readName(QStringView &name);
    bool readStartTag(XmlElement &e, bool &empty);
    bool readEndTag(QStringView name);
    bool readContent(XmlElement *e, int depth);   // e null: the root's own text is dropped
    bool readEntity(QString &into);
    bool readElement(XmlElement &e, int depth);
    int lineAt(qsizetype pos);

    const QChar *m_begin;
    const QChar *m_p;
    const QChar *m_end;
    int m_maxDepth;
    QStringView m_rootName;
    int m_rootLine = 0;
    bool m_rootClosed = false;
    Failure m_failure = None;
    QString m_detail;
    qsizetype m_linePos = 0;   // lines counted up to here
    int m_line = 1;
};

} // namespace authoring
