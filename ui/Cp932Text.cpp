#include "Cp932Text.h"

#include "text/Cp932.h"

QString FromCp932(std::string_view cp932) {
    // Straight into UTF-16, which is what Qt holds: every cp932 character is
    // one unit, and a string never has more characters than bytes.
    const tabulon::Cp932Tables& tables = tabulon::Cp932TablesOnce();
    QString text(static_cast<qsizetype>(cp932.size()), Qt::Uninitialized);
    QChar* w = text.data();
    const auto* p = reinterpret_cast<const unsigned char*>(cp932.data());
    const auto* end = p + cp932.size();
    while (p < end) {
        const tabulon::UnicodeRead read = tabulon::ReadCp932(p, end, tables);
        *w++ = QChar(static_cast<char16_t>(read.c));
        p += read.length;
    }
    text.truncate(w - text.data());
    return text;
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
