#include "text/RtfCharset.h"

#include <algorithm>

#include "text/TextDecoding.h"

namespace {

struct KnownCodePage {
    int number;
    std::string_view converter;  // ICU's name for it
    bool multiByte;
};

// Sorted by number. The Mac CJK code pages have no converter of their own in
// ICU; the encodings they extend read them all but for a few Apple symbols.
constexpr KnownCodePage kCodePages[] = {
    {437, "ibm-437", false},
    {737, "ibm-737", false},
    {775, "ibm-775", false},
    {850, "ibm-850", false},
    {852, "ibm-852", false},
    {855, "ibm-855", false},
    {857, "ibm-857", false},
    {860, "ibm-860", false},
    {861, "ibm-861", false},
    {862, "ibm-862", false},
    {863, "ibm-863", false},
    {864, "ibm-864", false},
    {865, "ibm-865", false},
    {866, "ibm-866", false},
    {869, "ibm-869", false},
    {874, "windows-874", false},
    {932, "windows-932", true},
    {936, "windows-936", true},
    {949, "windows-949", true},
    {950, "windows-950", true},
    {1250, "windows-1250", false},
    {1251, "windows-1251", false},
    {1252, "windows-1252", false},
    {1253, "windows-1253", false},
    {1254, "windows-1254", false},
    {1255, "windows-1255", false},
    {1256, "windows-1256", false},
    {1257, "windows-1257", false},
    {1258, "windows-1258", false},
    {10000, "macintosh", false},
    {10001, "Shift_JIS", true},
    {10002, "Big5", true},
    {10003, "EUC-KR", true},
    {10006, "x-mac-greek", false},
    {10007, "x-mac-cyrillic", false},
    {10008, "GB2312", true},
    {10029, "x-mac-centraleurroman", false},
    {10081, "x-mac-turkish", false},
    {20127, "US-ASCII", false},
    {20866, "KOI8-R", false},
    {20932, "EUC-JP", true},
    {21866, "KOI8-U", false},
    {28591, "ISO-8859-1", false},
    {28592, "ISO-8859-2", false},
    {28593, "ISO-8859-3", false},
    {28594, "ISO-8859-4", false},
    {28595, "ISO-8859-5", false},
    {28596, "ISO-8859-6", false},
    {28597, "ISO-8859-7", false},
    {28598, "ISO-8859-8", false},
    {28599, "ISO-8859-9", false},
    {28603, "ISO-8859-13", false},
    {28605, "ISO-8859-15", false},
    {51932, "EUC-JP", true},
    {51936, "GB2312", true},
    {51949, "EUC-KR", true},
    {54936, "GB18030", true},
    {65001, "UTF-8", true},
};

// Some of ICU's converters substitute U+001A (SUB), not U+FFFD, for a byte
// sequence they cannot read. Control characters never reach the decoders, so
// a SUB is always such a substitute.
char32_t Substituted(char32_t c) { return c == 0x1A ? kReplacementCharacter : c; }

const KnownCodePage* FindCodePage(int number) {
    const auto it = std::lower_bound(
        std::begin(kCodePages), std::end(kCodePages), number,
        [](const KnownCodePage& page, int wanted) { return page.number < wanted; });
    return it != std::end(kCodePages) && it->number == number ? &*it : nullptr;
}

// The Symbol font's glyphs by byte (Adobe's Symbol encoding): Greek letters
// and mathematical signs. The asterisk and minus operators stay the ASCII
// signs they look like; glyph pieces for building large brackets and the
// Apple logo have no character and stay U+FFFD.
// clang-format off
char32_t DecodeSymbol(unsigned char byte) {
    constexpr std::string_view kSameAsAscii = " !#%&()*+,-./0123456789:;<=>?[]_{|}";
    if (byte < 0x80 && kSameAsAscii.find(static_cast<char>(byte)) != std::string_view::npos) {
        return byte;
    }
    // 0x41..0x5A and 0x61..0x7A.
    constexpr std::u32string_view kUpperGreek = U"ΑΒΧΔΕΦΓΗΙϑΚΛΜΝΟΠΘΡΣΤΥςΩΞΨΖ";
    constexpr std::u32string_view kLowerGreek = U"αβχδεφγηιϕκλμνοπθρστυϖωξψζ";
    if (byte >= 0x41 && byte <= 0x5A) return kUpperGreek[byte - 0x41];
    if (byte >= 0x61 && byte <= 0x7A) return kLowerGreek[byte - 0x61];
    // 0xA0..0xFF.
    constexpr std::u32string_view kUpperHalf =
        U"€ϒ′≤⁄∞ƒ♣♦♥♠↔←↑→↓°±″≥×∝∂•÷≠≡≈…\uFFFD\uFFFD↵"
        U"ℵℑℜ℘⊗⊕∅∩∪⊃⊇⊄⊂⊆∈∉∠∇®©™∏√⋅¬∧∨⇔⇐⇑⇒⇓"
        U"◊〈®©™∑\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"
        U"\uFFFD〉∫\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD";
    static_assert(kUpperHalf.size() == 0x60);
    switch (byte) {
        case 0x22: return 0x2200;  // for all
        case 0x24: return 0x2203;  // there exists
        case 0x27: return 0x220B;  // contains as member
        case 0x40: return 0x2245;  // approximately equal to
        case 0x5C: return 0x2234;  // therefore
        case 0x5E: return 0x22A5;  // up tack
        case 0x7E: return 0x223C;  // tilde operator
        default: break;
    }
    if (byte >= 0xA0) return kUpperHalf[byte - 0xA0];
    return kReplacementCharacter;
}
// clang-format on

}  // namespace

// clang-format off
std::optional<int> CodePageOfFontCharset(int fcharset) {
    switch (fcharset) {
        case 0: return 1252;
        case 1: return std::nullopt;
        case 2: return kSymbolCodePage;
        case 77: return 10000;
        case 78: return 10001;
        case 79: return 10003;
        case 80: return 10008;
        case 81: return 10002;
        case 85: return 10006;
        case 86: return 10081;
        case 88: return 10029;
        case 89: return 10007;
        case 128: return 932;
        case 129: return 949;
        case 134: return 936;
        case 136: return 950;
        case 161: return 1253;
        case 162: return 1254;
        case 163: return 1258;
        case 177: return 1255;
        case 178: case 179: case 180: return 1256;
        case 181: return 1255;
        case 186: return 1257;
        case 204: return 1251;
        case 222: return 874;
        case 238: return 1250;
        case 254: return 437;
        case 255: return 850;
        default: return kUnknownCodePage;
    }
}
// clang-format on

std::optional<int> CodePageOfNumber(int codePage) {
    if (codePage == 0) return std::nullopt;
    if (codePage == kSymbolCodePage || FindCodePage(codePage) != nullptr) return codePage;
    return kUnknownCodePage;
}

RtfCharset::RtfCharset(int codePage) : number_(codePage) {
    for (unsigned b = 0; b < 256; ++b) {
        bytes_[b] = b < 0x80 ? char32_t{b} : kReplacementCharacter;
    }
    if (codePage == kSymbolCodePage) {
        for (unsigned b = 0; b < 256; ++b) bytes_[b] = DecodeSymbol(static_cast<unsigned char>(b));
        return;
    }
    const KnownCodePage* known = FindCodePage(codePage);
    if (known == nullptr) {
        number_ = kUnknownCodePage;
        return;
    }
    if (known->multiByte) {
        // Without a converter the code page is one we cannot read.
        if (!DecodeCharset({}, known->converter)) {
            number_ = kUnknownCodePage;
            return;
        }
        multiByte_ = true;
        converter_ = known->converter;
        return;
    }
    std::string all(256, '\0');
    for (unsigned b = 0; b < 256; ++b) all[b] = static_cast<char>(b);
    const auto decoded = DecodeCharset(all, known->converter);
    if (!decoded || decoded->size() != all.size()) {
        number_ = kUnknownCodePage;
        return;
    }
    for (unsigned b = 0x20; b < 256; ++b) bytes_[b] = Substituted((*decoded)[b]);
}

void RtfCharset::Decode(std::string_view bytes, std::u32string& out) const {
    if (!multiByte_) {
        for (const char byte : bytes) out.push_back(Decode(static_cast<unsigned char>(byte)));
        return;
    }
    if (const auto decoded = DecodeCharset(bytes, converter_)) {
        for (const char32_t c : *decoded) out.push_back(Substituted(c));
        return;
    }
    for (const char byte : bytes) out.push_back(Decode(static_cast<unsigned char>(byte)));
}
