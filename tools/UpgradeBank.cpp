// Upgrade files for a demo bank.
//
// The upgrade goes into the bank's first part ("01"): a new chapter after
// its last one, with sections of its own, and a new section after the last
// section of the part's first chapter.  Ids follow the bank's layout
// (section + type + 4-digit sequence; materials section + "73CASE" + 4
// digits, their sub-questions + "-" + 2 digits).  Key points come in a new
// group under a new heading and in the group that the first chapter's
// questions cite.  Every counter the file brings (C3, q) is the exact count
// of its own questions; the bank's rows are raised when the file is merged.
// The new rows' bh lie between the rows they follow and the next ones, so
// the chapter window and the key-point directory list them in place.
#include "UpgradeBank.h"

#include "BankFile.h"
#include "DemoBankContent.h"
#include "DemoBankText.h"
#include "platform/RichText.h"
#include "store/DbError.h"
#include "store/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <algorithm>
#include <cstdio>
#include <sqlite3.h>
#include <vector>

namespace demobank {

namespace {

QString letters(int n) { return QStringLiteral("ABCDEF").left(n); }

const char *const Topics[] = {"智能调度系统", "船舶交通服务", "绿色港口建设", "港口数据管理", "自动化码头作业"};
const char *const Aspects[] = {"的基本概念", "的主要功能", "的管理要求", "的操作流程", "的安全要求", "的发展趋势"};

class Query {
public:
    explicit Query(const QSqlDatabase &db) : m_q(db) {}
    Query &prepare(const QString &sql)
    {
        if (!m_q.prepare(sql))
            throw store::DbError(m_q.lastError().text() + QStringLiteral(": ") + sql);
        return *this;
    }
    Query &exec(const QVariantList &binds = {})
    {
        for (int i = 0; i < binds.size(); ++i)
            m_q.bindValue(i, binds.at(i));
        if (!m_q.exec())
            throw store::DbError(m_q.lastError().text());
        return *this;
    }
    QVariant first()
    {
        const QVariant v = m_q.next() ? m_q.value(0) : QVariant();
        m_q.finish();
        return v;
    }
    QStringList column()
    {
        QStringList out;
        while (m_q.next())
            out << m_q.value(0).toString();
        return out;
    }

private:
    QSqlQuery m_q;
};

QVariant scalar(const QSqlDatabase &db, const QString &sql, const QVariantList &binds = {})
{
    return Query(db).prepare(sql).exec(binds).first();
}

// What the upgrade needs to know of the bank it is made for.
struct BankFacts {
    QString cpbs;
    QString part;              // "01"
    int newChapterNumber = 0;  // within the part
    QString firstChapter;      // the first chapter with room for a section ("0101")
    QString newSection;        // inside firstChapter; empty when no chapter has room
    double chapterBhLo = 0, chapterBhHi = 1;   // after the part's last row
    double sectionBhLo = 0, sectionBhHi = 1;   // after firstChapter's last row
    std::vector<int> types;
    QString existingGroup;      // cited by firstChapter's questions
    QStringList existingKeyPoints;
    int nextKeyPointNumber = 1; // in existingGroup
    QString headingDigit;       // first character of the part's key points
    QString newHeading, newGroup;
    double groupBhLo = 0, groupBhHi = 1;
};

// The bh range after the last row whose code starts with prefix.
void bhAfter(const QSqlDatabase &db, const QString &table, const QString &codeColumn, const QString &prefix, double *lo, double *hi)
{
    *lo = scalar(db, QStringLiteral("select max(bh) from %1 where substr(%2,1,%3)=? ").arg(table, codeColumn).arg(prefix.size()), {prefix})
              .toDouble();
    const QVariant next = scalar(db, QStringLiteral("select min(bh) from %1 where bh > ?").arg(table), {*lo});
    *hi = next.isNull() ? *lo + 1 : next.toDouble();
}

BankFacts readBank(const QSqlDatabase &db)
{
    BankFacts f;
    f.cpbs = scalar(db, QStringLiteral("select cpbs from tab_sj where cpbs=?"), {QString::fromLatin1(store::ProductStamp)}).toString();
    if (f.cpbs.isEmpty())
        f.cpbs = scalar(db, QStringLiteral("select cpbs from tab_sj where cpbs<>'' order by rowid limit 1")).toString();
    if (f.cpbs.isEmpty())
        throw store::DbError(QStringLiteral("the bank names no product stamp in tab_sj"));
    f.part = scalar(db, QStringLiteral("select C1 from tab_kmmc where length(C1)=2 and C1<>'xx' order by bh limit 1")).toString();
    if (f.part.isEmpty())
        throw store::DbError(QStringLiteral("the bank has no part (two-character chapter code)"));
    const QStringList chapters = Query(db)
                                     .prepare(QStringLiteral("select C1 from tab_kmmc where length(C1)=4 and substr(C1,1,2)=? order by C1"))
                                     .exec({f.part})
                                     .column();
    if (chapters.isEmpty())
        throw store::DbError(QStringLiteral("part %1 has no chapter").arg(f.part));
    f.newChapterNumber = chapters.last().mid(2).toInt() + 1;
    if (f.newChapterNumber > 99)
        throw store::DbError(QStringLiteral("part %1 has no free chapter number").arg(f.part));
    // The new section goes into the part's first chapter that has room.
    int sectionNumber = 0;
    for (const QString &c : chapters) {
        const QString last =
            scalar(db, QStringLiteral("select max(C1) from tab_kmmc where length(C1)=6 and substr(C1,1,4)=?"), {c}).toString();
        const int next = last.isEmpty() ? 1 : last.mid(4).toInt() + 1;
        if (next <= 99) {
            f.firstChapter = c;
            sectionNumber = next;
            break;
        }
    }
    // A part whose chapters are all full gets no new section in an old
    // chapter; its questions all go into the new chapter.
    if (f.firstChapter.isEmpty())
        f.firstChapter = chapters.first();
    else
        f.newSection = f.firstChapter + pad(sectionNumber, 2);
    bhAfter(db, QStringLiteral("tab_kmmc"), QStringLiteral("C1"), f.part, &f.chapterBhLo, &f.chapterBhHi);
    bhAfter(db, QStringLiteral("tab_kmmc"), QStringLiteral("C1"), f.firstChapter, &f.sectionBhLo, &f.sectionBhHi);

    for (const QString &t : Query(db).prepare(QStringLiteral("select A1 from tab_tx1 where B2 > 0 order by A1")).exec().column())
        if (QList<int>{61, 62, 65, 71, 73}.contains(t.toInt()))
            f.types.push_back(t.toInt());
    if (f.types.empty())
        f.types = {61, 65, 71, 73};

    f.existingGroup = scalar(db, QStringLiteral("select substr(K3,1,6) from tab_answ where substr(A10,1,4)=? and K3<>'' "
                                                "order by A10, xx, A1 limit 1"),
                             {f.firstChapter})
                          .toString();
    if (f.existingGroup.size() != 6)
        throw store::DbError(QStringLiteral("no key point is cited in chapter %1").arg(f.firstChapter));
    f.existingKeyPoints =
        Query(db).prepare(QStringLiteral("select ftid from tab_rule where id=? order by ftid")).exec({f.existingGroup}).column();
    int last = 0;
    for (const QString &k : std::as_const(f.existingKeyPoints))
        last = std::max(last, k.mid(6).toInt());
    f.nextKeyPointNumber = last + 1;
    f.headingDigit = f.existingGroup.left(1);

    const QSet<QString> ids = [&] {
        const QStringList all = Query(db).prepare(QStringLiteral("select id from tab_fgmc")).exec().column();
        return QSet<QString>(all.begin(), all.end());
    }();
    QStringList candidates;
    if (f.newChapterNumber <= 9)
        candidates << f.headingDigit + QString::number(f.newChapterNumber);
    for (QChar c : QStringLiteral("123456789ABCDEFGHJKLMNPQRSTUVWXYZ"))
        candidates << f.headingDigit + c;
    for (const QString &c : std::as_const(candidates))
        if (!ids.contains(c) && !ids.contains(c + QStringLiteral("0001"))) {
            f.newHeading = c;
            break;
        }
    if (f.newHeading.isEmpty())
        throw store::DbError(QStringLiteral("no free key-point heading under %1").arg(f.headingDigit));
    f.newGroup = f.newHeading + QStringLiteral("0001");
    bhAfter(db, QStringLiteral("tab_fgmc"), QStringLiteral("id"), f.headingDigit, &f.groupBhLo, &f.groupBhHi);
    return f;
}

struct KeyPointRow {
    QString group, ftid, title, text;
    int q = 0;
};

class UpgradeWriter {
public:
    UpgradeWriter(QSqlDatabase &db, const BankFacts &facts, int questions) : m_db(db), m_f(facts), m_total(questions) {}
    UpgradeSummary run(const QString &sjbs);

private:
    struct SectionPlan {
        QString code, name;
        int questions;
        bool inNewChapter;
    };
    void writeSection(const SectionPlan &s, int sectionIndex);
    void writeQuestion(const SectionPlan &s, const QString &id, int type, const QString &key, int options, const QString &body,
                       const QString &jx, const QStringList &keyPoints, int &xx);
    QStringList citeFor(const SectionPlan &s, int n);
    QString term(int n) const
    {
        const auto &chapters = content::Parts[0].chapters;
        const auto &c = chapters[size_t(n / 6) % chapters.size()];
        return u8(c.terms[size_t(n) % c.terms.size()]);
    }

    QSqlDatabase &m_db;
    const BankFacts &m_f;
    int m_total;
    std::vector<KeyPointRow> m_newGroupPoints, m_oldGroupPoints;
    QHash<QString, int> m_c3;            // chapter code -> questions of the file
    QHash<QString, int> m_keyPointQ;     // new key point -> questions citing it
    int m_newGroupQ = 0;                 // questions citing the new group
    int m_questions = 0, m_materials = 0;
    Query *m_answ = nullptr, *m_exer = nullptr, *m_title = nullptr;
};

QStringList UpgradeWriter::citeFor(const SectionPlan &s, int n)
{
    QStringList out;
    if (s.inNewChapter) {
        out << m_newGroupPoints[size_t(n) % m_newGroupPoints.size()].ftid;
        if (n % 3 == 0)
            out << m_newGroupPoints[size_t(n + 1) % m_newGroupPoints.size()].ftid;
    } else {
        out << m_oldGroupPoints[size_t(n) % m_oldGroupPoints.size()].ftid;
    }
    // Without a new section in an old chapter the new key points of the old
    // group are cited from the new chapter.
    if (s.inNewChapter && m_f.newSection.isEmpty() && n % 5 == 0)
        out << m_oldGroupPoints[size_t(n / 5) % m_oldGroupPoints.size()].ftid;
    // Every other question also cites a key point the bank already has.
    if (n % 2 == 0 && !m_f.existingKeyPoints.isEmpty())
        out << m_f.existingKeyPoints[n % m_f.existingKeyPoints.size()];
    out.removeDuplicates();
    return out;
}

void UpgradeWriter::writeQuestion(const SectionPlan &s, const QString &id, int type, const QString &key, int options,
                                  const QString &body, const QString &jx, const QStringList &keyPoints, int &xx)
{
    QVariantList b{id, key, options};
    for (int k = 0; k < 10; ++k)
        b << (k < keyPoints.size() ? QVariant(keyPoints[k]) : QVariant(QString()));
    b << s.code << type << ++xx;
    m_answ->exec(b);
    m_exer->exec({id, richtext::plainTextToRtf(body), richtext::plainTextToRtf(jx)});
    ++m_questions;
    for (int len : {6, 4})
        ++m_c3[s.code.left(len)];
    bool citesNewGroup = false;
    for (const QString &k : keyPoints) {
        if (m_keyPointQ.contains(k))
            ++m_keyPointQ[k];
        citesNewGroup = citesNewGroup || k.startsWith(m_f.newGroup);
    }
    if (citesNewGroup)
        ++m_newGroupQ;
}

void UpgradeWriter::writeSection(const SectionPlan &s, int sectionIndex)
{
    QHash<int, int> seq;
    int xx = 0;
    int written = 0;
    for (int n = 0; written < s.questions; ++n) {
        const int type = m_f.types[size_t(n) % m_f.types.size()];
        const int t = sectionIndex * 7 + n;
        const QString tm = term(t);
        const QString jx = u8("【解析】本题考查%1的有关规定，属于本次升级新增内容。").arg(tm);
        if (type == 73) {
            // A material with up to three sub-questions.
            const int subs = std::min(3, s.questions - written);
            const QString materialId = s.code + QStringLiteral("73CASE") + pad(++seq[73], 4);
            m_title->exec({materialId, richtext::plainTextToRtf(u8("【背景资料】某港口调度中心围绕%1开展专项检查，发现部分作业环节"
                                                                    "未按规定执行，调度员%2。请根据资料回答下列问题。")
                                                                     .arg(tm, n % 2 ? u8("及时报告并调整了作业计划")
                                                                                    : u8("未及时记录调度日志")))});
            ++m_materials;
            for (int k = 0; k < subs; ++k) {
                const QString body = u8("（%1）针对背景资料中%2的情况，调度中心应当采取的措施是（　　）。\n"
                                        "A．立即核实并报告\nB．补记调度日志\nC．暂停相关作业\nD．不作处理")
                                         .arg(k + 1)
                                         .arg(tm);
                const QString key = QStringList{QStringLiteral("A"), QStringLiteral("AB"), QStringLiteral("ABC")}[k % 3];
                writeQuestion(s, materialId + QLatin1Char('-') + pad(k + 1, 2), 73, key, 4, body, jx, citeFor(s, n + k), xx);
            }
            written += subs;
            continue;
        }
        const QString id = s.code + QString::number(type) + pad(++seq[type], 4);
        if (type == 71) {
            const bool right = n % 3 != 1;
            const QString body = right ? u8("（升级）%1属于港航调度员必须掌握的内容。").arg(tm)
                                       : u8("（升级）%1只由船方负责，与港口调度无关。").arg(tm);
            writeQuestion(s, id, 71, right ? QStringLiteral("A") : QStringLiteral("B"), 2, body, jx, citeFor(s, n), xx);
        } else if (type == 65) {
            const QString body = u8("（升级）%1的工作要求包括（　　）。\nA．按规定如实记录\nB．及时报告调度中心\n"
                                    "C．遵守安全作业规程\nD．由个人随意决定\nE．与相关单位协调配合")
                                     .arg(tm);
            writeQuestion(s, id, 65, n % 2 ? QStringLiteral("ABC") : QStringLiteral("ABCE"), 5, body, jx, citeFor(s, n), xx);
        } else {
            const int right = n % 4;
            QStringList options{u8("可以不作要求"), u8("仅由船方负责"), u8("与调度工作无关"), u8("可以事后补办")};
            options.insert(right, u8("应当按规定执行"));
            options = options.mid(0, 4);
            QString body = u8("（升级）关于%1，下列说法正确的是（　　）。").arg(tm);
            for (int k = 0; k < 4; ++k)
                body += u8("\n%1．%2%3").arg(QChar(u'A' + k)).arg(tm, options[k]);
            writeQuestion(s, id, type, letters(right + 1).right(1), 4, body, jx, citeFor(s, n), xx);
        }
        ++written;
    }
}

UpgradeSummary UpgradeWriter::run(const QString &sjbs)
{
    UpgradeSummary out;
    out.sjbs = sjbs;
    out.cpbs = m_f.cpbs;
    const QString newChapter = m_f.part + pad(m_f.newChapterNumber, 2);
    out.newChapter = newChapter;
    out.newSection = m_f.newSection;

    // Key points: six in the new group, three more in the existing one.
    const QString chapterName = u8("第") + chineseNumber(m_f.newChapterNumber) + u8("章 港航调度新技术");
    for (int k = 0; k < 6; ++k)
        m_newGroupPoints.push_back({m_f.newGroup, m_f.newGroup + pad(k + 1, 3),
                                    u8(Topics[k % 5]) + u8(Aspects[k]) + QStringLiteral("  "),
                                    u8("%1%2\n学习提示：结合港口实际理解%3。").arg(u8(Topics[k % 5]), u8(Aspects[k]), term(k)), 0});
    for (int k = 0; k < 3; ++k)
        m_oldGroupPoints.push_back({m_f.existingGroup, m_f.existingGroup + pad(m_f.nextKeyPointNumber + k, 3),
                                    u8("调度规范更新") + u8(Aspects[k + 2]),
                                    u8("调度规范更新%1\n学习提示：注意新旧规定的区别。").arg(u8(Aspects[k + 2])), 0});
    for (const auto *list : {&m_newGroupPoints, &m_oldGroupPoints})
        for (const KeyPointRow &k : *list)
            m_keyPointQ.insert(k.ftid, 0);

    // Sections: about 400 questions each in the new chapter (at least two),
    // a quarter of the questions in the new section of the old chapter.
    const int oldShare = m_f.newSection.isEmpty() ? 0 : std::max(4, m_total / 4);
    const int newTotal = m_total - oldShare;
    const int newSections = std::clamp(newTotal / 400, 2, 98);
    std::vector<SectionPlan> plans;
    if (oldShare)
        plans.push_back({m_f.newSection, u8("第") + chineseNumber(m_f.newSection.mid(4).toInt()) + u8("节 调度规范更新"), oldShare, false});
    for (int k = 0; k < newSections; ++k) {
        const int n = newTotal / newSections + (k < newTotal % newSections ? 1 : 0);
        QString name = u8(Topics[k % 5]);
        if (k >= 5)
            name += u8("（") + chineseNumber(k / 5 + 1) + u8("）");
        plans.push_back({newChapter + pad(k + 1, 2), u8("第") + chineseNumber(k + 1) + u8("节 ") + name, n, true});
    }

    if (!m_db.transaction())
        throw store::DbError(m_db.lastError().text());
    Query answ(m_db), exer(m_db), title(m_db);
    answ.prepare(QStringLiteral("insert into tab_answ (A1, A2, A2_1, K3, K4, K5, K6, K7, K8, K9, K10, K11, K12, A10, A13, xx, "
                                "A14, E1, E2, E2_1, E3, E4, F1, csbs, ecount) "
                                "values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, NULL, NULL, '', '', 0, 0, 0, '', 0)"));
    exer.prepare(QStringLiteral("insert into tab_exer (A1, A15, jx) values (?, ?, ?)"));
    title.prepare(QStringLiteral("insert into tab_title (A1, A15) values (?, ?)"));
    m_answ = &answ;
    m_exer = &exer;
    m_title = &title;
    for (size_t i = 0; i < plans.size(); ++i)
        writeSection(plans[i], int(i));

    Query kmmc(m_db);
    kmmc.prepare(QStringLiteral("insert into tab_kmmc (bh, C1, C1_1, C2, C3, C4, C6, C7, D1, D2) values (?, ?, ?, ?, ?, 0, '0', ?, 0, 0)"));
    const double chapterStep = (m_f.chapterBhHi - m_f.chapterBhLo) / double(newSections + 2);
    kmmc.exec({m_f.chapterBhLo + chapterStep, newChapter, chapterName + u8("：本章为升级新增内容，共%1节。").arg(newSections),
               chapterName, m_c3.value(newChapter), QStringLiteral("0")});
    int newIndex = 0;
    for (size_t i = 0; i < plans.size(); ++i) {
        const SectionPlan &s = plans[i];
        // When the first chapter is also the part's last, its new section
        // goes before the new chapter.
        const double oldSectionBh = m_f.sectionBhLo == m_f.chapterBhLo ? m_f.chapterBhLo + chapterStep / 2
                                                                       : (m_f.sectionBhLo + m_f.sectionBhHi) / 2;
        const double bh = s.inNewChapter ? m_f.chapterBhLo + chapterStep * double(2 + newIndex++) : oldSectionBh;
        kmmc.exec({bh, s.code, u8("本节为升级新增内容：%1。").arg(s.name.section(QLatin1Char(' '), 1)), s.name, m_c3.value(s.code),
                   QStringLiteral("1")});
    }

    Query fgmc(m_db), rule(m_db);
    fgmc.prepare(QStringLiteral("insert into tab_fgmc (id, bh, n, q, q1, q2, q4) values (?, ?, ?, ?, 0, 0, 0)"));
    const double groupStep = (m_f.groupBhHi - m_f.groupBhLo) / 3;
    fgmc.exec({m_f.newHeading, m_f.groupBhLo + groupStep, chapterName, m_newGroupQ});
    fgmc.exec({m_f.newGroup, m_f.groupBhLo + 2 * groupStep, u8("港航调度新技术"), m_newGroupQ});
    rule.prepare(QStringLiteral("insert into tab_rule (id, ftid, sn, n, q, q1, q2, q4) values (?, ?, ?, ?, ?, 0, 0, 0)"));
    for (const auto *list : {&m_newGroupPoints, &m_oldGroupPoints})
        for (const KeyPointRow &k : *list)
            rule.exec({k.group, k.ftid, k.title, richtext::plainTextToRtf(k.text), m_keyPointQ.value(k.ftid)});

    Query(m_db).prepare(QStringLiteral("insert into tab_sj (sjbs, cpbs) values (?, ?)")).exec({sjbs, m_f.cpbs});
    if (!m_db.commit())
        throw store::DbError(m_db.lastError().text());

    out.sections = int(plans.size());
    out.questions = m_questions;
    out.materials = m_materials;
    out.keyPoints = int(m_newGroupPoints.size() + m_oldGroupPoints.size());
    return out;
}

// The running program holds its bank locked for as long as it is open
// (exclusive locking), so a reader waits out its busy timeout and gets
// "database is locked".  When the bank cannot be read, a short look with
// the engine's own calls tells that case apart and names it in plain words.
void refuseBankInUse(const QString &bankPath)
{
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(QFile::encodeName(bankPath).constData(), &db, SQLITE_OPEN_READONLY, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_busy_timeout(db, 500);
        rc = sqlite3_exec(db, "select count(*) from sqlite_master", nullptr, nullptr, nullptr);
    }
    sqlite3_close(db);
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
        throw store::DbError(QStringLiteral("the bank %1 is in use by the running program; quit the program first, "
                                            "then make the upgrade again")
                                 .arg(QDir::toNativeSeparators(bankPath)));
}

} // namespace

UpgradeSummary writeUpgradeFile(const QString &path, const QString &bankPath, const UpgradeOptions &options)
{
    if (!QFileInfo(bankPath).isFile())
        throw store::DbError(QStringLiteral("%1 does not exist").arg(bankPath));
    const int questions = options.questions > 0 ? std::max(12, options.questions) : DemoUpgradeQuestions;
    const QString sjbs = !options.stamp.isEmpty() ? options.stamp
                         : options.questions > 0 ? QStringLiteral("VELMORA-UPG-2027-Q%1").arg(questions)
                                                 : QStringLiteral("VELMORA-UPG-2027-01");
    BankFacts facts;
    try {
        withDatabase(bankPath, QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=500"),
                     [&](QSqlDatabase &db) { facts = readBank(db); });
    } catch (const store::DbError &) {
        refuseBankInUse(bankPath);
        throw;
    }

    const QString tmp = path + QStringLiteral(".tmp");
    QFile::remove(tmp);
    QFile::remove(tmp + QStringLiteral("-journal"));
    UpgradeSummary out;
    try {
        withDatabase(tmp, QString(), [&](QSqlDatabase &db) {
            store::createSchema(db);
            out = UpgradeWriter(db, facts, questions).run(sjbs);
        });
        QFile::remove(path);
        if (std::rename(QFile::encodeName(tmp).constData(), QFile::encodeName(path).constData()) != 0)
            throw store::DbError(QStringLiteral("cannot rename %1 to %2").arg(tmp, path));
    } catch (...) {
        QFile::remove(tmp);
        QFile::remove(tmp + QStringLiteral("-journal"));
        throw;
    }
    return out;
}

} // namespace demobank
