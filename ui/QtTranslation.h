#pragma once
// Qt's own Japanese texts for the standard dialogs (file, font) and the
// buttons Qt draws itself. The window's own texts are Japanese whatever the
// user's locale, so Qt's are too: no English file dialog in a Japanese window.

class QCoreApplication;
class QTranslator;

// Loads Qt's Japanese translation into `translator` and installs it; returns
// whether it was found (without it, Qt's texts stay English).
bool InstallQtTranslation(QCoreApplication& app, QTranslator& translator);
