// Qt's own texts (file dialogs, standard buttons) in the user's language.
#include "platform/QtLanguage.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTranslator>
#include <gtest/gtest.h>

TEST(QtLanguage, QtSpeaksTheUsersLanguageOrChinese)
{
    struct Case {
        QLocale locale;
        const char *file, *save, *cancel;
    } cases[] = {
        {QLocale(QLocale::Chinese, QLocale::China), "qtbase_zh_CN.qm", "保存", "取消"},
        {QLocale(QLocale::German, QLocale::Germany), "qtbase_de.qm", "Speichern", "Abbrechen"},
        // No catalogue for the language: Chinese, like the program's own texts.
        {QLocale(QLocale::Swahili, QLocale::Kenya), "qtbase_zh_CN.qm", "保存", "取消"},
    };
    for (const Case &c : cases) {
        QTranslator *t = platform::installQtTranslations(c.locale);
        ASSERT_NE(t, nullptr) << "Qt's translations are not installed";
        EXPECT_EQ(QFileInfo(t->filePath()).fileName(), QLatin1String(c.file));
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Save"), QString::fromUtf8(c.save)) << c.file;
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString::fromUtf8(c.cancel)) << c.file;
        QCoreApplication::removeTranslator(t);
        delete t;
    }
}
