#include "QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

bool InstallQtTranslation(QCoreApplication& app, QTranslator& translator, const QLocale& locale) {
    if (locale.language() != QLocale::Japanese ||
        !translator.load(locale, u"qtbase"_s, u"_"_s,
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    return app.installTranslator(&translator);
}
