// Loading Qt's translations at start-up.
#include "platform/QtLanguage.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QStandardPaths>
#include <QTranslator>

namespace platform {

namespace {

QTranslator *loadCatalogue(const QLocale &locale, const QString &folder)
{
    auto *t = new QTranslator(QCoreApplication::instance());
    for (const char *name : {"qtbase", "qt"})
        if (t->load(locale, QLatin1String(name), QStringLiteral("_"), folder))
            return t;
    delete t;
    return nullptr;
}

} // namespace

QTranslator *installQtTranslations(const QLocale &locale)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    QTranslator *t = loadCatalogue(locale, folder);
    if (!t)
        t = loadCatalogue(QLocale(QLocale::Chinese, QLocale::China), folder);
    if (!t) {
        qWarning("Qt translations not found in %s", qPrintable(folder));
        return nullptr;
    }
    QCoreApplication::installTranslator(t);
    return t;
}

QString documentsFolder()
{
    const QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !docs.isEmpty() && QDir(docs).exists() ? docs : QDir::homePath();
}

} // namespace platform
