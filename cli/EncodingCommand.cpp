#include <array>
#include <cstdio>
#include <string>
#include <utility>

#include "CliCommands.h"
#include "files/TableFile.h"

namespace tabulon::cli {

namespace {

constexpr std::array<std::pair<TextEncoding, std::string_view>, 5> kNames = {{
    {TextEncoding::ShiftJis, "cp932"},
    {TextEncoding::Utf8, "utf-8"},
    {TextEncoding::Utf8Bom, "utf-8-bom"},
    {TextEncoding::Utf16Le, "utf-16le"},
    {TextEncoding::Utf16Be, "utf-16be"},
}};

}  // namespace

std::string_view EncodingOptionName(TextEncoding encoding) {
    for (const auto& [value, name] : kNames) {
        if (value == encoding) return name;
    }
    return {};
}

std::optional<TextEncoding> EncodingForOutput(std::string_view name) {
    for (const auto& [value, known] : kNames) {
        if (known == name && value != TextEncoding::Utf16Le && value != TextEncoding::Utf16Be) {
            return value;
        }
    }
    return std::nullopt;
}

int RunEncoding(const Args& args) {
    if (args.size() != 1) {
        throw UsageError("encoding FILE");
    }
    const TextEncoding encoding = DetectFileEncoding(FullPath(args[0]));
    std::printf("%s\n", std::string(EncodingOptionName(encoding)).c_str());
    return kExitOk;
}

}  // namespace tabulon::cli
