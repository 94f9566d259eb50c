// A temporary program folder with its own bank, built from the schema, for
// tests: AppDir points at it while the object lives, and a fixed clock is
// installed.
#pragma once

#include "platform/Seams.h"
#include "support/QtPrinters.h"
#include "store/dm.h"

#include <QTemporaryDir>
#include <QVariantList>
#include <memory>

// The tab_answ row of a fixture question (K3.. from keyPoints, E2 and E2_1
// empty, F1 0) as one insert statement and its values; banks and upgrade
// files write it alike.
struct AnswerRowInsert {
    QString sql;
    QVariantList binds;
};
AnswerRowInsert answerRowInsert(const QString &id, const QString &key, int options, const QString &chapter, int type,
                                const QStringList &keyPoints);

class TestBank {
public:
    // Creates folder, data/VORDANBANK01.db (schema only) and opens TDM1.
    explicit TestBank(const QDate &today = QDate(2026, 3, 10));
    ~TestBank();

    TDM1 &dm() { return *m_dm; }
    QString dir() const { return m_dir.path() + QLatin1Char('/'); }
    seams::FixedClock &clock() { return m_clock; }

    // Runs SQL on the bank (fails the test with the engine's text on error).
    void run(const QString &sql, const QVariantList &binds = {});
    QVariant value(const QString &sql, const QVariantList &binds = {});
    QVariantList row(const QString &sql, const QVariantList &binds = {});

    // Small fixtures.
    void addChapter(const QString &code, const QString &name = QString(), const QString &hint = QString());
    void addQuestion(const QString &id, const QString &key, int type, const QString &chapter,
                     const QStringList &keyPoints = {}, int options = 4);
    void addKeyPoint(const QString &ftid);   // with its group and heading rows

private:
    QTemporaryDir m_dir;
    seams::FixedClock m_clock;
    std::unique_ptr<TDM1> m_dm;
};

// Records every prompt and answers with scripted buttons.
class PromptRecorder {
public:
    PromptRecorder();
    ~PromptRecorder();
    QList<seams::Prompt> prompts;
    QList<int> answers;   // consumed in order; when empty the default answer
    int defaultAnswer = -1;  // -1: the first offered answer
    QString lastText() const { return prompts.isEmpty() ? QString() : prompts.last().text; }

private:
    seams::PromptHandler m_previous;
};
