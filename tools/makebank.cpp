// makebank: writes the demo question bank.
//
//   makebank --out PATH [--questions N] [--seed S] [--if-missing]
//            [--keypoint-groups G] [--keypoints K]
//   makebank --upgrade PATH --for BANK [--questions N] [--stamp SJBS]
//   makebank --sample N [--seed S] [--out PATH]
//
// --sample prints N questions drawn at random (by S) from the bank at PATH,
// or from a freshly made demo bank when no PATH is given, as a reader sees
// them: material, body, key, explanation and key points.
//
// The bank is written to PATH.tmp and renamed into place only when it is
// complete, so a failed run leaves no half bank behind.  With --if-missing
// an existing PATH is left alone: a bank that exists holds the user's study
// state.  With --upgrade it writes an upgrade file for the bank BANK
// instead (see UpgradeBank.h).
#include "DemoBank.h"
#include "UpgradeBank.h"

#include "store/DbError.h"

#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QCoreApplication>
#include <cstdio>

namespace {

int fail(const QString &text)
{
    std::fprintf(stderr, "makebank: %s\n", qPrintable(text));
    return 1;
}

int writeUpgrade(const QString &out, const QString &bank, const QString &questions, const QString &stamp)
{
    if (bank.isEmpty())
        return fail(QStringLiteral("--upgrade PATH wants --for BANK"));
    demobank::UpgradeOptions options;
    options.stamp = stamp;
    if (!questions.isEmpty()) {
        bool ok = false;
        options.questions = questions.toInt(&ok);
        if (!ok || options.questions < 0)
            return fail(QStringLiteral("--questions wants a number of 0 or more, not \"%1\"").arg(questions));
    }
    try {
        const demobank::UpgradeSummary s = demobank::writeUpgradeFile(out, bank, options);
        std::printf("makebank: upgrade %s (sjbs %s, cpbs %s): %d questions (%d materials), new chapter %s, "
                    "new section %s, %d sections, %d key points\n",
                    qPrintable(QDir::toNativeSeparators(out)), qPrintable(s.sjbs), qPrintable(s.cpbs), s.questions,
                    s.materials, qPrintable(s.newChapter), qPrintable(s.newSection), s.sections, s.keyPoints);
    } catch (const store::DbError &e) {
        return fail(e.text());
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    // No GUI application: the generator runs at build time, usually without
    // a display, and plain text needs no platform fonts (the rich text then
    // names the rich-edit default font rather than this machine's one).
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("makebank"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes the demo question bank."));
    parser.addHelpOption();
    const QCommandLineOption outOption(QStringLiteral("out"), QStringLiteral("Bank file to write."), QStringLiteral("PATH"));
    const QCommandLineOption questionsOption(QStringLiteral("questions"),
                                             QStringLiteral("Number of questions (default: the demo size)."),
                                             QStringLiteral("N"));
    const QCommandLineOption seedOption(QStringLiteral("seed"), QStringLiteral("Seed of the generator."), QStringLiteral("S"));
    const QCommandLineOption ifMissingOption(QStringLiteral("if-missing"), QStringLiteral("Do nothing when PATH exists."));
    const QCommandLineOption sampleOption(QStringLiteral("sample"), QStringLiteral("Print N random questions of the bank."),
                                          QStringLiteral("N"));
    const QCommandLineOption upgradeOption(QStringLiteral("upgrade"), QStringLiteral("Upgrade file to write."), QStringLiteral("PATH"));
    const QCommandLineOption forOption(QStringLiteral("for"), QStringLiteral("Bank the upgrade is made for."), QStringLiteral("BANK"));
    const QCommandLineOption stampOption(QStringLiteral("stamp"), QStringLiteral("Upgrade stamp (sjbs) of the file."), QStringLiteral("SJBS"));
    const QCommandLineOption groupsOption(QStringLiteral("keypoint-groups"),
                                          QStringLiteral("Key-point groups in all (default: as planned)."), QStringLiteral("G"));
    const QCommandLineOption keyPointsOption(QStringLiteral("keypoints"),
                                             QStringLiteral("Key points in all (default: as planned)."), QStringLiteral("K"));
    parser.addOptions({outOption, questionsOption, seedOption, ifMissingOption, upgradeOption, forOption, stampOption, groupsOption,
                       keyPointsOption, sampleOption});
    parser.process(app);

    if (parser.isSet(upgradeOption))
        return writeUpgrade(parser.value(upgradeOption), parser.value(forOption),
                            parser.isSet(questionsOption) ? parser.value(questionsOption) : QString(), parser.value(stampOption));

    if (parser.isSet(sampleOption)) {
        bool ok = false;
        const int n = parser.value(sampleOption).toInt(&ok);
        const quint32 seed = parser.isSet(seedOption) ? parser.value(seedOption).toUInt() : 1;
        if (!ok || n < 0)
            return fail(QStringLiteral("--sample wants a number of 0 or more, not \"%1\"").arg(parser.value(sampleOption)));
        QTemporaryDir dir;
        QString path = parser.value(outOption);
        try {
            if (path.isEmpty()) {
                path = dir.filePath(QStringLiteral("demo.db"));
                demobank::generate(path);
            }
            for (const demobank::Question &q : demobank::sampleQuestions(path, n, seed))
                std::printf("%s\n", demobank::describe(q).toUtf8().constData());
        } catch (const store::DbError &e) {
            return fail(e.text());
        } catch (const std::exception &e) {
            return fail(QString::fromLocal8Bit(e.what()));
        }
        return 0;
    }

    const QString out = parser.value(outOption);
    if (out.isEmpty())
        return fail(QStringLiteral("--out PATH is required"));
    demobank::Options options;
    if (parser.isSet(questionsOption)) {
        bool ok = false;
        options.questions = parser.value(questionsOption).toInt(&ok);
        if (!ok || options.questions < 0)
            return fail(QStringLiteral("--questions wants a number of 0 or more, not \"%1\"").arg(parser.value(questionsOption)));
    }
    for (const auto &[option, target] : {std::pair{&groupsOption, &options.keyPointGroups}, std::pair{&keyPointsOption, &options.keyPoints}}) {
        if (!parser.isSet(*option))
            continue;
        bool ok = false;
        *target = parser.value(*option).toInt(&ok);
        if (!ok || *target < 0)
            return fail(QStringLiteral("--%1 wants a number of 0 or more, not \"%2\"").arg(option->names().first(), parser.value(*option)));
    }
    if (parser.isSet(seedOption)) {
        bool ok = false;
        options.seed = parser.value(seedOption).toUInt(&ok);
        if (!ok)
            return fail(QStringLiteral("--seed wants an unsigned number, not \"%1\"").arg(parser.value(seedOption)));
    }

    QElapsedTimer timer;
    timer.start();
    demobank::Summary summary;
    try {
        if (demobank::writeBankFile(out, options, parser.isSet(ifMissingOption)) == demobank::WriteResult::LeftAlone) {
            std::printf("makebank: %s exists, left unchanged\n", qPrintable(QDir::toNativeSeparators(out)));
            return 0;
        }
        summary = demobank::summarize(out);
    } catch (const store::DbError &e) {
        return fail(e.text());
    } catch (const std::exception &e) {
        return fail(QString::fromLocal8Bit(e.what()));
    }

    std::printf("makebank: %s: %d questions (%d materials), %d chapters (%d sections), %d key points (%d groups), %.1f s\n",
                qPrintable(QDir::toNativeSeparators(out)), summary.questions, summary.materials, summary.chapters,
                summary.sections, summary.keyPoints, summary.keyPointGroups, double(timer.elapsed()) / 1000.0);
    return 0;
}
