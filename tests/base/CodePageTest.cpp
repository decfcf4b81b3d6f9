#include "base/CodePage.h"

#include <gtest/gtest.h>
#include <iconv.h>

namespace {

// The code point glibc's iconv gives for one byte, or nothing when iconv
// leaves the byte undefined.
std::optional<char32_t> IconvDecode(const char* codePage, unsigned char byte) {
    iconv_t cd = iconv_open("UTF-32LE", codePage);
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    char in[1] = {static_cast<char>(byte)};
    unsigned char out[4] = {};
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t inLeft = 1, outLeft = 4;
    const std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (result == static_cast<std::size_t>(-1) || outLeft != 0) return std::nullopt;
    return char32_t{out[0]} | char32_t{out[1]} << 8 | char32_t{out[2]} << 16;
}

TEST(CodePage, EveryByteMatchesIconvAndRoundTrips) {
    int undefined = 0;
    for (unsigned byte = 0; byte < 256; ++byte) {
        SCOPED_TRACE("byte " + std::to_string(byte));
        const std::string one(1, static_cast<char>(byte));
        const char32_t c = Cp1251ToUnicode(one)[0];
        if (const auto expected = IconvDecode("CP1251", static_cast<unsigned char>(byte))) {
            EXPECT_EQ(c, *expected);
        } else {
            EXPECT_EQ(c, byte);  // the C1 control of the same number
            ++undefined;
        }
        EXPECT_EQ(UnicodeToCp1251(std::u32string(1, c)), one);
    }
    EXPECT_EQ(undefined, 1);  // 0x98
}

TEST(CodePage, Cp1251ThroughUnicodeKeepsAll256Bytes) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    const std::u32string unicode = Cp1251ToUnicode(all);
    EXPECT_TRUE(FitsCp1251(unicode));
    EXPECT_EQ(UnicodeToCp1251(unicode), all);
}

TEST(CodePage, CharactersTheCodePageLacksBecomeQuestionMarks) {
    struct Case {
        const char* label;
        std::u32string text;
        std::string expected;
    };
    const Case cases[] = {
        {"russian", U"Ёж и ёлка", "\xA8\xE6 \xE8 \xB8\xEB\xEA\xE0"},
        {"greek and cjk", U"αβ中", "???"},
        {"emoji is one character", U"a\U0001F600b", "a?b"},
        {"accents", U"Café naïve", "Caf? na?ve"},
        {"a lone surrogate value", std::u32string(U"a") + char32_t(0xD800), "a?"},
        {"beyond unicode", std::u32string(1, char32_t(0x110000)), "?"},
        {"dashes, quotes, euro, numero", U"«—»€№", "\xAB\x97\xBB\x88\xB9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(UnicodeToCp1251(c.text), c.expected);
        EXPECT_EQ(FitsCp1251(c.text), c.expected.find('?') == std::string::npos);
    }
}

}  // namespace
