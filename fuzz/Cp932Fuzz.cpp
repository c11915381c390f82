// Any bytes both ways through the codec. Decoding always gives UTF-8 that
// encodes back to bytes decoding the same; encoding never substitutes.

#include <string>
#include <utility>

#include "FuzzSupport.h"
#include "text/Cp932.h"

using namespace tabulon;

namespace {

constexpr std::pair<std::string_view, std::string_view> kLinuxForms[] = {
    {"\u301C", "\uFF5E"}, {"\u2016", "\u2225"}, {"\u2212", "\uFF0D"}, {"\u00A2", "\uFFE0"},
    {"\u00A3", "\uFFE1"}, {"\u00AC", "\uFFE2"}, {"\u2014", "\u2015"},
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string utf8 = Cp932ToUtf8(bytes);
    const Cp932Encoding back = Utf8ToCp932(utf8);
    if (utf8.find("\uFFFD") == std::string::npos) {
        fuzz::Check(back.ok(), "decoded text encodes");
        fuzz::Check(Cp932ToUtf8(back.bytes) == utf8, "decode, encode, decode is stable");
    }

    // The same bytes read as UTF-8: what encodes decodes to the input, the
    // seven characters Linux writes in their JIS forms in Microsoft's forms.
    const Cp932Encoding encoded = Utf8ToCp932(bytes);
    if (encoded.ok()) {
        std::string expected(bytes);
        for (const auto& [jis, microsoft] : kLinuxForms) {
            for (size_t at = expected.find(jis); at != std::string::npos;
                 at = expected.find(jis, at + microsoft.size())) {
                expected.replace(at, jis.size(), microsoft);
            }
        }
        fuzz::Check(Cp932ToUtf8(encoded.bytes) == expected, "encoding loses nothing it reports");
    }
    return 0;
}
