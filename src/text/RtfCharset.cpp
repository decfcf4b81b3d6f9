#include "text/RtfCharset.h"

#include <string_view>

#include "base/CodePage.h"

namespace {

constexpr char32_t kUnknown = 0xFFFD;

// The Symbol font's characters that Windows-1251 also has. Its letters are
// Greek, so they are not taken as Latin.
// clang-format off
char32_t DecodeSymbol(unsigned char byte) {
    constexpr std::string_view kSameAsAscii = " !#%&()+,./0123456789:;<=>?[]_{|}";
    if (byte < 0x80 && kSameAsAscii.find(static_cast<char>(byte)) != std::string_view::npos) {
        return byte;
    }
    switch (byte) {
        case 0x2A: return '*';     // asterisk operator
        case 0x2D: return '-';     // minus sign
        case 0xA0: return 0x20AC;  // euro sign
        case 0xB0: return 0x00B0;  // degree sign
        case 0xB1: return 0x00B1;  // plus-minus sign
        case 0xB7: return 0x2022;  // bullet, the mark of Word's bulleted lists
        case 0xBC: return 0x2026;  // horizontal ellipsis
        case 0xD2: case 0xE2: return 0x00AE;  // registered sign, serif and sans-serif
        case 0xD3: case 0xE3: return 0x00A9;  // copyright sign
        case 0xD4: case 0xE4: return 0x2122;  // trade mark sign
        default: return kUnknown;
    }
}
// clang-format on

}  // namespace

std::optional<RtfCharset> CharsetOfFontCharset(int fcharset) {
    switch (fcharset) {
        case 0:
            return RtfCharset::Windows1252;
        case 1:
            return std::nullopt;
        case 2:
            return RtfCharset::Symbol;
        case 204:
            return RtfCharset::Windows1251;
        case 238:
            return RtfCharset::Windows1250;
        default:
            return RtfCharset::Unsupported;
    }
}

std::optional<RtfCharset> CharsetOfCodePage(int codePage) {
    switch (codePage) {
        case 0:
            return std::nullopt;
        case 1251:
            return RtfCharset::Windows1251;
        case 1252:
            return RtfCharset::Windows1252;
        case 1250:
            return RtfCharset::Windows1250;
        default:
            return RtfCharset::Unsupported;
    }
}

char32_t DecodeRtfByte(RtfCharset charset, unsigned char byte) {
    switch (charset) {
        case RtfCharset::Windows1251:
            return ByteToUnicode(CodePage::Windows1251, byte);
        case RtfCharset::Windows1252:
            return ByteToUnicode(CodePage::Windows1252, byte);
        case RtfCharset::Windows1250:
            return ByteToUnicode(CodePage::Windows1250, byte);
        case RtfCharset::Symbol:
            return DecodeSymbol(byte);
        case RtfCharset::Unsupported:
            return byte < 0x80 ? char32_t{byte} : kUnknown;
    }
    return kUnknown;
}
