#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

// The program's texts in the user's language. The source texts are English;
// each other language is a translation compiled into the program as
// ":/i18n/kestrix_<language>.qm" (made from translations/kestrix_<language>.ts).

// Of the user's languages in order of preference (QLocale::uiLanguages, which
// follows LANGUAGE, then LC_ALL, LC_MESSAGES and LANG), the first that is
// shipped; empty when English comes first or none is shipped. A regional
// variant takes its language's translation ("de-AT" gives "de"); "C" and
// names that are no language are passed over.
QString chosenLanguage(const QStringList &uiLanguages, const QStringList &shipped);

// The languages shipped, such as "de" and "fr".
QStringList shippedLanguages();

// Installs the program's translation for the locale and Qt's own for the same
// language (standard dialogs' buttons, the command-line parser's help texts);
// with English or an unshipped language nothing is installed and every text
// stays as written. Call once, after the application object exists. Given
// contexts, only the program's texts of these are translated (Qt's all).
void installTranslations(const QLocale &locale = QLocale::system(), const QStringList &contexts = {});
