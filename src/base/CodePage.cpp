#include "base/CodePage.h"

#include <array>
#include <memory>

namespace {

using UpperHalf = std::array<char16_t, 128>;

// Bytes 0x80..0xFF of each code page. A byte the code page leaves undefined
// maps to the C1 control with the same number, as Windows converts it, so
// every byte survives a round trip through Unicode.
constexpr UpperHalf kWindows1251 = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// Byte for every BMP code point; 0 marks one the code page lacks (U+0000 is
// handled before the table is consulted).
using ReverseTable = std::array<unsigned char, 0x10000>;

std::unique_ptr<ReverseTable> BuildReverse(const UpperHalf& upper) {
    auto table = std::make_unique<ReverseTable>();
    table->fill(0);
    for (unsigned b = 0; b < 0x80; ++b) (*table)[b] = static_cast<unsigned char>(b);
    for (unsigned b = 0; b < 0x80; ++b) (*table)[upper[b]] = static_cast<unsigned char>(0x80 + b);
    return table;
}

const ReverseTable& Reverse() {
    static const auto table = BuildReverse(kWindows1251);
    return *table;
}

}  // namespace

std::optional<unsigned char> Cp1251Byte(char32_t codePoint) {
    if (codePoint == 0) return 0;
    if (codePoint > 0xFFFF) return std::nullopt;
    const unsigned char byte = Reverse()[codePoint];
    if (byte == 0) return std::nullopt;
    return byte;
}

bool FitsCp1251(std::u32string_view text) {
    for (const char32_t c : text) {
        if (!Cp1251Byte(c)) return false;
    }
    return true;
}

std::u32string Cp1251ToUnicode(std::string_view cp1251) {
    std::u32string out(cp1251.size(), U'\0');
    for (std::size_t i = 0; i < cp1251.size(); ++i) {
        const auto byte = static_cast<unsigned char>(cp1251[i]);
        out[i] = byte < 0x80 ? char32_t{byte} : char32_t{kWindows1251[byte - 0x80u]};
    }
    return out;
}

std::string UnicodeToCp1251(std::u32string_view text) {
    std::string out(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        out[i] = static_cast<char>(Cp1251Byte(text[i]).value_or('?'));
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t codePoint) {
    if ((codePoint >= 0xD800 && codePoint <= 0xDFFF) || codePoint > 0x10FFFF) codePoint = 0xFFFD;
    if (codePoint < 0x80) {
        out.push_back(static_cast<char>(codePoint));
    } else if (codePoint < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (codePoint >> 6)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else if (codePoint < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (codePoint >> 12)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (codePoint >> 18)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (codePoint & 0x3F)));
    }
}

std::string ToUtf8(std::u32string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char32_t c : text) AppendUtf8(out, c);
    return out;
}
