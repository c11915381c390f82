// Any bytes both ways through the codec. Decoding always gives UTF-8 that
// encodes back to bytes decoding the same; encoding never substitutes.

#include "Cp932.h"
#include "FuzzSupport.h"

using namespace tabulon;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string utf8 = Cp932ToUtf8(bytes);
    const Cp932Encoding back = Utf8ToCp932(utf8);
    if (utf8.find("\uFFFD") == std::string::npos) {
        fuzz::Check(back.ok(), "decoded text encodes");
        fuzz::Check(Cp932ToUtf8(back.bytes) == utf8, "decode, encode, decode is stable");
    }

    // The same bytes read as UTF-8: what encodes decodes to the input minus
    // the characters listed as unmappable.
    const Cp932Encoding encoded = Utf8ToCp932(bytes);
    if (encoded.ok()) {
        fuzz::Check(Cp932ToUtf8(encoded.bytes) == bytes, "encoding loses nothing it reports");
    }
    return 0;
}
