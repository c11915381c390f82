#pragma once
// Qt's own Japanese texts for the standard dialogs (file, font) and the
// buttons Qt draws itself, loaded when the user's locale is Japanese.

class QCoreApplication;
class QLocale;
class QTranslator;

// Loads Qt's translation for `locale` into `translator` and installs it;
// returns whether one was found. Other locales keep Qt's English.
bool InstallQtTranslation(QCoreApplication& app, QTranslator& translator, const QLocale& locale);
