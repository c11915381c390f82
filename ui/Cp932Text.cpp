#include "Cp932Text.h"

#include "text/Cp932.h"

QString FromCp932(std::string_view cp932) {
    return QString::fromStdString(tabulon::Cp932ToUtf8(cp932));
}

QString EachCharacterOnce(const std::vector<char32_t>& characters) {
    QString once;
    for (const char32_t c : characters) {
        const QString one = QString::fromUcs4(&c, 1);
        if (!once.contains(one)) {
            once += one;
        }
    }
    return once;
}
