// Any bytes as a text file: detected and decoded whole and cut short, and
// decoded in a charset the first byte chooses. Nothing may crash, and the text
// must hold only Unicode scalar values.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>

#include "text/TextDecoding.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckScalarValues(const std::u32string& text) {
    for (char32_t c : text) Check(c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF));
}

constexpr const char* kCharsets[] = {
    "UTF-8",        "UTF-16LE",  "UTF-16BE", "UTF-32LE",   "UTF-32BE",
    "windows-1251", "KOI8-R",    "IBM866",   "ISO-8859-5", "x-mac-cyrillic",
    "windows-1252", "Shift_JIS", "GBK",      "EUC-KR",     "ISO-2022-JP",
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::string charset = DetectDocumentCharset(bytes);
    const std::u32string whole = DecodeDocumentText(bytes).ToString();
    CheckScalarValues(whole);
    // Every byte gives at most one character.
    Check(whole.size() <= size);
    // The detected charset is one ICU opens, and it is what the text was read in.
    const std::optional<std::u32string> direct = DecodeCharset(bytes, charset);
    Check(direct.has_value());

    if (!bytes.empty()) {
        // Cut short, the text is a beginning of the whole text when the cut
        // does not change the charset.
        const std::size_t max = static_cast<unsigned char>(bytes[0]) % 64;
        const std::u32string cut = DecodeDocumentText(bytes, max).ToString();
        Check(cut.size() <= max);
        if (DetectDocumentCharset(bytes.substr(0, max * 4)) == charset) {
            Check(whole.substr(0, cut.size()) == cut);
        }

        const char* chosen = kCharsets[static_cast<unsigned char>(bytes[0]) % std::size(kCharsets)];
        const std::string_view rest = bytes.substr(1);
        const std::optional<std::u32string> decoded = DecodeCharset(rest, chosen);
        Check(decoded.has_value());
        CheckScalarValues(*decoded);
        const std::optional<std::u32string> decodedCut = DecodeCharset(rest, chosen, max);
        Check(decodedCut.has_value() && decodedCut->size() <= max);
        Check(decoded->substr(0, decodedCut->size()) == *decodedCut);
        // Declared, it is used unless a mark says otherwise.
        CheckScalarValues(DecodeDocumentText(rest, kWholeText, chosen).ToString());
    }
    return 0;
}
