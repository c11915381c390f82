#include "QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

bool InstallQtTranslation(QCoreApplication& app, QTranslator& translator) {
    return translator.load(QLocale(QLocale::Japanese), u"qtbase"_s, u"_"_s,
                           QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
           app.installTranslator(&translator);
}
