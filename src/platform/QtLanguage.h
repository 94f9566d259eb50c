// Qt's own texts (file dialogs, standard buttons, text-box menus, calendar
// pop-ups, print dialogs) in the user's language.
#pragma once

#include <QLocale>
#include <QString>

class QTranslator;

namespace platform {

// Installs Qt's translation for `locale` from Qt's translations folder,
// trying qtbase_ and then the qt_ catalogue that names the others.  The
// program's own texts are Chinese, so when the user's language has no
// catalogue Qt speaks Chinese with them rather than a mixture.  Returns the
// translator installed (owned by the application), or nullptr when Qt's
// translations are missing.
QTranslator *installQtTranslations(const QLocale &locale = QLocale::system());

// The user's documents folder (their home when there is none): where file
// dialogs start, never the program's own folder.
QString documentsFolder();

} // namespace platform
