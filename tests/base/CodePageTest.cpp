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
    struct Page {
        const char* iconvName;
        CodePage page;
    };
    for (const Page& p :
         {Page{"CP1251", CodePage::Windows1251}, Page{"CP1252", CodePage::Windows1252},
          Page{"CP1250", CodePage::Windows1250}}) {
        int undefined = 0;
        for (unsigned byte = 0; byte < 256; ++byte) {
            SCOPED_TRACE(std::string(p.iconvName) + " byte " + std::to_string(byte));
            const char16_t unit = ByteToUnicode(p.page, static_cast<unsigned char>(byte));
            if (const auto expected = IconvDecode(p.iconvName, static_cast<unsigned char>(byte))) {
                EXPECT_EQ(char32_t{unit}, *expected);
            } else {
                EXPECT_EQ(char32_t{unit}, byte);  // the C1 control of the same number
                ++undefined;
            }
            EXPECT_EQ(static_cast<unsigned char>(UnicodeToByte(p.page, unit)), byte);
        }
        EXPECT_LE(undefined, 5) << p.iconvName;
    }
}

TEST(CodePage, Cp1251ThroughUtf16AndUtf8KeepsAll256Bytes) {
    std::string all;
    for (int b = 0; b < 256; ++b) all.push_back(static_cast<char>(b));
    EXPECT_EQ(Utf16ToCp1251(Cp1251ToUtf16(all)), all);
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all);
}

TEST(CodePage, CharactersTheCodePageLacksBecomeQuestionMarks) {
    struct Case {
        const char* label;
        std::u16string utf16;
        std::string expected;
    };
    const Case cases[] = {
        {"russian", u"Ёж и ёлка", "\xA8\xE6 \xE8 \xB8\xEB\xEA\xE0"},
        {"greek and cjk", u"αβ中", "???"},
        {"emoji is one character", u"a\U0001F600b", "a?b"},
        {"lone high surrogate", std::u16string(u"a") + char16_t(0xD800) + u"b", "a?b"},
        {"lone low surrogate", std::u16string(1, char16_t(0xDC00)), "?"},
        {"dashes and quotes", u"«—»", "\xAB\x97\xBB"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Utf16ToCp1251(c.utf16), c.expected);
    }
    EXPECT_EQ(Utf8ToCp1251("\xE2\x82\xAC \xF0\x9F\x98\x80"), "\x88 ?");
}

TEST(CodePage, DocumentsAreUtf8OnlyWithAMarkOrAMultiByteSequence) {
    struct Case {
        const char* label;
        std::string bytes;
        bool utf8;
        std::string text;
    };
    const Case cases[] = {
        {"ascii only stays as it is", "plain text", false, "plain text"},
        {"windows-1251 bytes", "\xCF\xF0\xE8\xE2\xE5\xF2", false, "\xCF\xF0\xE8\xE2\xE5\xF2"},
        {"utf-8 russian", "Привет", true, "\xCF\xF0\xE8\xE2\xE5\xF2"},
        {"mark then ascii", "\xEF\xBB\xBFHi", true, "Hi"},
        {"mark alone", "\xEF\xBB\xBF", true, ""},
        {"truncated sequence", "abc\xD0", false, "abc\xD0"},
        {"overlong slash", "\xC0\xAF", false, "\xC0\xAF"},
        {"encoded surrogate", "\xED\xA0\x80", false, "\xED\xA0\x80"},
        {"valid then invalid", "Я\xFF", false, "\xD0\xAF\xFF"},
        {"empty", "", false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(IsUtf8Document(c.bytes), c.utf8);
        EXPECT_EQ(DocumentBytesToCp1251(c.bytes), c.text);
    }
}

}  // namespace
