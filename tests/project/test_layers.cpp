// The source folders are floors: a file includes only files of its own
// floor or of floors below it, and no two files (a unit is a .h with its
// .cpp) include each other round a circle.  The floors, bottom up:
//   platform  stand-ins for desktop facilities and the seams (clock, prompts, AppDir)
//   store     schema and the data module
//   common    shared logic: shell-wide state, common routines, clock texts
//   widgets   shared windows: message dialog, waiting window, modal helper, picture buttons
//   practice exam keypoints authoring records upgrade   the features
//   app       program entry, start window and menu dispatch, About
#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QStringList>

#include <functional>

namespace {

const QMap<QString, int> &floors()
{
    static const QMap<QString, int> f{
        {"platform", 0}, {"store", 1}, {"common", 2}, {"widgets", 3},
        {"practice", 4}, {"exam", 4}, {"keypoints", 4}, {"authoring", 4},
        {"records", 4}, {"upgrade", 4}, {"app", 5},
    };
    return f;
}

// A file's path below src/ ("exam/Uexam.cpp") and the project includes it
// names ("exam/Uexam.h").
using SourceTree = QMap<QString, QStringList>;

QString folderOf(const QString &path) { return path.section('/', 0, 0); }
QString unitOf(const QString &path)
{
    const QString folder = folderOf(path);
    return folder + '/' + QFileInfo(path).completeBaseName();
}

// Every breach of the floors, one line each naming the file and the include.
QStringList layerBreaches(const SourceTree &tree)
{
    QStringList out;
    for (auto it = tree.begin(); it != tree.end(); ++it) {
        const QString from = folderOf(it.key());
        if (!floors().contains(from)) {
            out << QStringLiteral("%1: folder '%2' has no floor").arg(it.key(), from);
            continue;
        }
        for (const QString &inc : it.value()) {
            const QString to = folderOf(inc);
            if (!inc.contains('/') || !floors().contains(to)) {
                out << QStringLiteral("%1: includes \"%2\", which is in no floor").arg(it.key(), inc);
                continue;
            }
            if (floors()[to] > floors()[from])
                out << QStringLiteral("%1: includes \"%2\", which climbs from %3 to %4")
                           .arg(it.key(), inc, from, to);
        }
    }
    // Circles between units: a depth-first walk; an include that reaches a
    // unit still on the walk's path closes a circle.
    QMap<QString, QList<QPair<QString, QString>>> edges; // unit -> (unit, file: include)
    for (auto it = tree.begin(); it != tree.end(); ++it)
        for (const QString &inc : it.value()) {
            const QString a = unitOf(it.key()), b = unitOf(inc);
            if (a != b)
                edges[a].append({b, QStringLiteral("%1: includes \"%2\"").arg(it.key(), inc)});
        }
    QSet<QString> done, onPath;
    QStringList path;
    std::function<void(const QString &)> walk = [&](const QString &u) {
        onPath.insert(u);
        path << u;
        for (const auto &[next, where] : edges.value(u)) {
            if (onPath.contains(next)) {
                const QStringList ring = path.mid(path.indexOf(next)) << next;
                out << QStringLiteral("%1, which closes the circle %2").arg(where, ring.join(" -> "));
            } else if (!done.contains(next)) {
                walk(next);
            }
        }
        path.removeLast();
        onPath.remove(u);
        done.insert(u);
    };
    for (const QString &u : edges.keys())
        if (!done.contains(u))
            walk(u);
    return out;
}

SourceTree readSourceTree(const QString &srcDir)
{
    static const QRegularExpression include(QStringLiteral(R"re(^\s*#\s*include\s*"([^"]+)")re"));
    SourceTree tree;
    QDirIterator it(srcDir, {"*.h", "*.cpp"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly))
            continue;
        QStringList incs;
        for (const QByteArray &line : f.readAll().split('\n')) {
            const auto m = include.match(QString::fromUtf8(line));
            if (m.hasMatch() && !m.captured(1).endsWith(".moc"))
                incs << m.captured(1);
        }
        tree.insert(QDir(srcDir).relativeFilePath(file), incs);
    }
    return tree;
}

} // namespace

TEST(Layers, SourceTreeKeepsItsFloors)
{
    const SourceTree tree = readSourceTree(QStringLiteral(PELLBROOK_SOURCE_DIR "/src"));
    ASSERT_GT(tree.size(), 50);
    const QStringList breaches = layerBreaches(tree);
    EXPECT_TRUE(breaches.isEmpty()) << breaches.join('\n').toStdString();
}

TEST(Layers, BreachesAreNamed)
{
    struct Case {
        const char *name;
        SourceTree tree;
        QStringList expected;
    };
    const QList<Case> cases{
        {"downward includes and a feature using another feature",
         {{"exam/Uexam.cpp", {"exam/Uexam.h", "practice/AnswerLogic.h", "widgets/Udlg.h", "store/dm.h"}},
          {"practice/AnswerLogic.cpp", {"practice/AnswerLogic.h", "platform/Seams.h"}}},
         {}},
        {"the store reaching up for a shell routine",
         {{"store/dm.cpp", {"store/dm.h", "common/ShellState.h"}}},
         {"store/dm.cpp: includes \"common/ShellState.h\", which climbs from store to common"}},
        {"a feature including the program's top",
         {{"practice/Ulxxt.cpp", {"app/start.h"}}},
         {"practice/Ulxxt.cpp: includes \"app/start.h\", which climbs from practice to app"}},
        {"a folder without a floor, an include outside every floor",
         {{"misc/X.cpp", {}}, {"exam/Y.cpp", {"Y.h"}}},
         {"exam/Y.cpp: includes \"Y.h\", which is in no floor", "misc/X.cpp: folder 'misc' has no floor"}},
        {"three files round a circle",
         {{"exam/A.cpp", {"exam/A.h", "exam/B.h"}}, {"exam/B.cpp", {"exam/C.h"}}, {"exam/C.cpp", {"exam/A.h"}}},
         {"exam/C.cpp: includes \"exam/A.h\", which closes the circle exam/A -> exam/B -> exam/C -> exam/A"}},
        {"two feature folders including each other's units",
         {{"practice/P.cpp", {"keypoints/K.h"}}, {"keypoints/K.cpp", {"practice/P.h"}}},
         {"practice/P.cpp: includes \"keypoints/K.h\", which closes the circle keypoints/K -> practice/P -> keypoints/K"}},
    };
    for (const Case &c : cases) {
        QStringList got = layerBreaches(c.tree);
        got.sort();
        QStringList want = c.expected;
        want.sort();
        EXPECT_EQ(got, want) << c.name;
    }
}
