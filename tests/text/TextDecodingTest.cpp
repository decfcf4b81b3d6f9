// One U+FFFD per maximal ill-formed subpart of UTF-8, as the Unicode standard's table has it.
#include "text/TextDecoding.h"

#include <string>

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;
constexpr char32_t R = kReplacementCharacter;

// Thirty-three Russian letters, two bytes each in UTF-8: a text plainly UTF-8.
const std::string kRussianUtf8 = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя";
const std::u32string kRussian = U"абвгдеёжзийклмнопрстуфхцчшщъыьэюя";

TEST(TextDecoding, ByteOrderMarkDecidesAndIsDropped) {
    const std::tuple<std::string, std::string, std::u32string> cases[] = {
        {"\xEF\xBB\xBF\x41\xD0\xB6", "UTF-8", U"Aж"},
        {"\xFF\xFE\x41\0\x36\x04"s, "UTF-16LE", U"Aж"},
        {"\xFE\xFF\0A\x04\x36"s, "UTF-16BE", U"Aж"},
        {"\xFF\xFE\0\0A\0\0\0"s, "UTF-32LE", U"A"},
        {"\0\0\xFE\xFF\0\0\0A"s, "UTF-32BE", U"A"},
        {"\xFF\xFE", "UTF-16LE", U""},
        {"\xFF\xFE\0\0"s, "UTF-32LE", U""},
        {"A\xEF\xBB\xBF", "UTF-8", U"A\uFEFF"},
        {"\xEF\xBB\xBF\xCF\xF0", "UTF-8", {R, R}},  // the mark wins over Windows-1251 bytes
        // UTF-8 with one stray byte among many letters; not with few, nor a never-leading byte.
        {"", "UTF-8", U""},
        {kRussianUtf8 + "\xD1", "UTF-8", kRussian + R},
        {"abc\xF0\x9F\x98", "UTF-8", U"abc\uFFFD"},
        {kRussianUtf8 + "\xFF" + kRussianUtf8, "UTF-8", kRussian + R + kRussian},
        {"\xE2\x82\xAC \xE9t\xE9", "", U""},
        {"abc\xC0", "", U""},
        {"\xCF\xF0\xE8\xE2\xE5\xF2!", "", U""},  // "": anything but UTF-8
    };
    for (const auto& [bytes, charset, text] : cases) {
        SCOPED_TRACE(bytes);
        if (charset.empty()) EXPECT_NE(DetectDocumentCharset(bytes), "UTF-8");
        if (charset.empty()) continue;
        EXPECT_EQ(DetectDocumentCharset(bytes), charset);
        EXPECT_EQ(DecodeDocumentText(bytes), text);
    }
}

TEST(TextDecoding, IllFormedUtf8BecomesOneReplacementPerMaximalSubpart) {
    const std::pair<std::string, std::u32string> cases[] = {
        {"\xF0\x9F\x98\x80", U"\U0001F600"},
        {"\xD0", {R}},
        {"\xF0\x9F\x98", {R}},
        {"\xE2\x82\x41", {R, U'A'}},
        {"\xC0\xAF", {R, R}},
        {"\xE0\x80\xAF", {R, R, R}},
        {"\xF0\x8F\xBF\xBF", {R, R, R, R}},
        {"\xED\xA0\x80", {R, R, R}},
        {"\xF4\x90\x80\x80", {R, R, R, R}},
        {"\xF5\x80\x41", {R, R, U'A'}},
        {"\x80xy", {R, U'x', U'y'}},
        {"\xFF", {R}},
    };
    for (const auto& [bytes, text] : cases) {
        SCOPED_TRACE(bytes);
        // Inside a text plainly UTF-8, so the file is judged UTF-8 and what follows is kept.
        const std::string file =
            kRussianUtf8 + kRussianUtf8 + kRussianUtf8 + kRussianUtf8 + bytes + "!";
        EXPECT_EQ(DetectDocumentCharset(file), "UTF-8");
        EXPECT_EQ(DecodeDocumentText(file),
                  kRussian + kRussian + kRussian + kRussian + text + U"!");
        EXPECT_EQ(DecodeCharset(bytes, "utf8"), text);
    }
}

TEST(TextDecoding, CharsetsAndTheirEdges) {
    const std::tuple<std::string, std::string, std::u32string> cases[] = {
        {"windows-1251", "\xCF\xF0\xE8\xE2\xE5\xF2 \xA8\xB8\xDF\xFF", U"Привет ЁёЯя"},
        {"KOI8-R", "\xF0\xD2\xC9\xD7\xC5\xD4 \xB3\xA3\xF1\xD1", U"Привет ЁёЯя"},
        {"ISO-8859-5", "\xBF\xE0\xD8\xD2\xD5\xE2 \xA1\xF1\xCF\xEF", U"Привет ЁёЯя"},
        {"windows-1252", "Gr\xFC\xDF\x65 \x80 \x9C\x93\x94", U"Grüße € œ“”"},
        {"Shift_JIS", "\x93\xFA\x96\x7B", U"日本"},
        {"GBK", "\xD6\xD0\xCE\xC4", U"中文"},
        // Holes of the code pages: U+FFFD, never ICU's U+001A or C1 controls (fine in UTF-16).
        {"windows-1251", "a\x98z", {U'a', R, U'z'}},
        {"ISO-8859-6", "a\xA1z", {U'a', R, U'z'}},
        {"windows-1252", "a\x81\x8D\x8F\x90\x9Dz", {U'a', R, R, R, R, R, U'z'}},
        {"ISO-8859-5", "a\x80\x9Fz", {U'a', R, R, U'z'}},
        {"US-ASCII", "a\xE9z", {U'a', R, U'z'}},
        {"Shift_JIS", "a\x80\xA0z", {U'a', R, R, U'z'}},
        {"EUC-KR", "\xA1\x41", {R, U'A'}},
        {"Shift_JIS", "\x93\xFA\x81", U"日\uFFFD"},
        {"UTF-16BE", "\0\x98"s, U"\u0098"},
        {"UTF-16LE", "\x3D\xD8\x00\xDE"s, U"\U0001F600"},
        {"UTF-16BE", "\xD8\x3D\xDE\x00"s, U"\U0001F600"},
        {"UTF-16LE", "\x3D\xD8\x41\0"s, {R, U'A'}},
        {"UTF-16LE", "\x00\xDE\x41\0"s, {R, U'A'}},
        {"UTF-16LE", "\x3D\xD8\x3D\xD8\x00\xDE"s, {R, U'\U0001F600'}},
        {"UTF-16LE", "A\0\x3D\xD8"s, {U'A', R}},
        {"UTF-16LE", "A\0B"s, {U'A', R}},
        {"UTF-16BE", "\0AB"s, {U'A', R}},
        {"UTF-32LE",
         "\0\0\x11\0"
         "A\0\0\0"s,
         {R, U'A'}},
        {"UTF-32LE", "\0\xD8\0\0"s, {R}},
        {"UTF-32BE", "\0\x01\xF6\0"s, U"\U0001F600"},
        {"UTF-32BE", "\0\0\0A\0\0\0"s, {U'A', R}},
    };
    for (const auto& [charset, bytes, text] : cases)
        EXPECT_EQ(DecodeCharset(bytes, charset), text) << charset << " " << bytes;
    for (const std::string& name : {"no-such-charset"s, ""s, "UTF-8\0x"s, std::string(200, 'a')})
        EXPECT_EQ(DecodeCharset("abc", name), std::nullopt) << name;
}

// A declared charset comes after the mark and before detection; the limit counts characters.
TEST(TextDecoding, DeclaredCharsetAndMaxLength) {
    const std::string privet = "\xF0\xD2\xC9\xD7\xC5\xD4";
    const std::tuple<std::string, std::string, std::u32string> cases[] = {
        {"\xEF\xBB\xBF\xD0\x9F", "windows-1251", U"П"},
        {"\xFF\xFE\x1F\x04"s, "KOI8-R", U"П"},
        {"\xD0\x9F", "windows-1251", U"Рџ"},
        {privet, "koi8-r", U"Привет"},
        {"\xD0\x9F", "no-such-charset", U"П"},
        {"abc", "UTF-16LE", U"abc"},
        {"abc", "UTF-32BE", U"abc"},
        {"abc", "utf-16", U"abc"},
        {"\x93q\x94", "ISO-8859-1", U"“q”"},
        {"caf\xE9", "ascii", U"café"},
        {std::string(100, 'x'), "", std::u32string(100, U'x')},
        {kRussianUtf8 + kRussianUtf8, "", kRussian + kRussian},
        {"\xF0\x9F\x98\x80\x61\xF0\x9F\x98\x80\x62", "", U"\U0001F600a\U0001F600b"},
        {"\xFF\xFE\x3D\xD8\x00\xDE\x61\0\x3D\xD8\x00\xDE"s, "", U"\U0001F600a\U0001F600"},
        {"\x93\xFA\x96\x7B\x61\x62", "Shift_JIS", U"日本ab"},
    };
    for (const auto& [bytes, declared, whole] : cases) {
        EXPECT_EQ(DecodeDocumentText(bytes, kWholeText, declared), whole) << declared;
        for (const std::size_t max : {0UL, 1UL, 3UL, whole.size(), whole.size() + 10})
            EXPECT_EQ(DecodeDocumentText(bytes, max, declared), whole.substr(0, max)) << max;
    }
    // Bytes past the part that can be kept do not change how the kept start is read.
    const std::string long1251 = std::string(4000, 'a') + "\xCF\xF0\xE8\xE2\xE5\xF2";
    EXPECT_NE(DetectDocumentCharset(long1251), "UTF-8");
    EXPECT_EQ(DecodeDocumentText(long1251, 1000), std::u32string(1000, U'a'));
    // Characters that straddle the fixed ends of the ICU conversion's pieces come out whole.
    std::string koi8, utf16 = "\xFF\xFE";
    std::u32string koi8Text, utf16Text;
    for (int i = 0; i < 50000; ++i) {
        koi8 += "\xF0\xD2\xC9 ";
        koi8Text += U"При ";
        utf16 += i % 3 == 0 ? "\x3D\xD8\x00\xDE"s : "\x1F\x04"s;
        utf16Text += i % 3 == 0 ? U'\U0001F600' : U'П';
    }
    EXPECT_EQ(DecodeCharset(koi8, "KOI8-R"), koi8Text);
    EXPECT_EQ(DecodeDocumentText(utf16), utf16Text);
    utf16.pop_back();
    utf16Text.back() = R;
    EXPECT_EQ(DecodeDocumentText(utf16), utf16Text);
}

}  // namespace
