// Decoding file bytes, case by case. The byte strings are written out by hand
// from the code page tables and the Unicode standard's table of well-formed
// UTF-8 (and its practice of one U+FFFD per maximal ill-formed subpart).

#include "text/TextDecoding.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using namespace std::string_literals;

constexpr char32_t R = kReplacementCharacter;

// A text plainly UTF-8: thirty-three Russian letters, two bytes each.
const std::string kRussianUtf8 = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя";
const std::u32string kRussian = U"абвгдеёжзийклмнопрстуфхцчшщъыьэюя";

template <typename String>
String Repeated(const String& s, int times) {
    String out;
    for (int i = 0; i < times; ++i) out += s;
    return out;
}

TEST(TextDecoding, ByteOrderMarkDecidesAndIsDropped) {
    struct Case {
        const char* label;
        std::string bytes;
        const char* charset;
        std::u32string text;
    };
    const Case cases[] = {
        {"UTF-8",
         "\xEF\xBB\xBF"
         "A\xD0\xB6",
         "UTF-8", U"Aж"},
        {"UTF-16LE",
         "\xFF\xFE"
         "A\0\x36\x04"s,
         "UTF-16LE", U"Aж"},
        {"UTF-16BE",
         "\xFE\xFF"
         "\0A\x04\x36"s,
         "UTF-16BE", U"Aж"},
        {"UTF-32LE, not UTF-16LE",
         "\xFF\xFE\0\0"
         "A\0\0\0"s,
         "UTF-32LE", U"A"},
        {"UTF-32BE",
         "\0\0\xFE\xFF"
         "\0\0\0A"s,
         "UTF-32BE", U"A"},
        {"mark alone", "\xFF\xFE", "UTF-16LE", U""},
        {"UTF-16LE mark then U+0000 reads as UTF-32LE", "\xFF\xFE\0\0"s, "UTF-32LE", U""},
        {"a mark only counts at the start", "A\xEF\xBB\xBF", "UTF-8", U"A\uFEFF"},
        {"mark wins over windows-1251 bytes", "\xEF\xBB\xBF\xCF\xF0", "UTF-8", {R, R}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(DetectDocumentCharset(c.bytes), c.charset);
        EXPECT_EQ(DecodeDocumentText(c.bytes), c.text);
    }
}

TEST(TextDecoding, IllFormedUtf8BecomesOneReplacementPerMaximalSubpart) {
    struct Case {
        const char* label;
        std::string bytes;
        std::u32string text;
    };
    const Case cases[] = {
        {"well-formed four bytes", "\xF0\x9F\x98\x80", U"\U0001F600"},
        {"cut two-byte at end", "\xD0", {R}},
        {"cut three-byte at end", "\xE2\x82", {R}},
        {"cut four-byte at end", "\xF0\x9F\x98", {R}},
        {"cut sequence mid-text",
         "\xE2\x82"
         "A",
         {R, U'A'}},
        {"cut four-byte mid-text",
         "\xF0\x9F\x98"
         "A",
         {R, U'A'}},
        {"overlong slash, two bytes", "\xC0\xAF", {R, R}},
        {"overlong slash, three bytes", "\xE0\x80\xAF", {R, R, R}},
        {"overlong four bytes", "\xF0\x8F\xBF\xBF", {R, R, R, R}},
        {"encoded surrogate", "\xED\xA0\x80", {R, R, R}},
        {"above U+10FFFF", "\xF4\x90\x80\x80", {R, R, R, R}},
        {"lead byte F5",
         "\xF5\x80"
         "A",
         {R, R, U'A'}},
        {"lone continuation",
         "\x80"
         "xy",
         {R, U'x', U'y'}},
        {"lead then ASCII",
         "\xD0"
         "A\xD0\xB6",
         {R, U'A', U'ж'}},
        {"byte FF", "\xFF", {R}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        // Inside a text that is plainly UTF-8, so the file is judged UTF-8 and
        // what follows the bad bytes is kept.
        const std::string bytes = Repeated(kRussianUtf8, 4) + c.bytes + "!";
        EXPECT_EQ(DetectDocumentCharset(bytes), "UTF-8");
        EXPECT_EQ(DecodeDocumentText(bytes), Repeated(kRussian, 4) + c.text + U"!");
        EXPECT_EQ(DecodeCharset(c.bytes, "utf8"), c.text);
    }
}

TEST(TextDecoding, WhatCountsAsUtf8) {
    struct Case {
        const char* label;
        std::string bytes;
        bool utf8;
    };
    const Case cases[] = {
        {"empty", "", true},
        {"ASCII", "plain text\r\n", true},
        {"cut after a size limit", kRussianUtf8 + "\xD1", true},
        {"cut four-byte after ASCII", "abc\xF0\x9F\x98", true},
        {"one stray byte in a long text", kRussianUtf8 + "\xFF" + kRussianUtf8, true},
        {"stray byte with few characters around", "\xE2\x82\xAC \xE9t\xE9", false},
        {"never a lead byte, at the end", "abc\xC0", false},
        {"F5 at the end", "abc\xF5", false},
        {"Russian in windows-1251", "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0!", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(DetectDocumentCharset(c.bytes) == "UTF-8", c.utf8);
    }
}

TEST(TextDecoding, Utf16And32EdgeCases) {
    struct Case {
        const char* label;
        std::string bytes;  // with the mark
        std::u32string text;
    };
    const Case cases[] = {
        {"16LE surrogate pair", "\xFF\xFE\x3D\xD8\x00\xDE"s, U"\U0001F600"},
        {"16BE surrogate pair", "\xFE\xFF\xD8\x3D\xDE\x00"s, U"\U0001F600"},
        {"16LE lead then letter",
         "\xFF\xFE\x3D\xD8"
         "A\0"s,
         {R, U'A'}},
        {"16LE lone trail",
         "\xFF\xFE\x00\xDE"
         "A\0"s,
         {R, U'A'}},
        {"16LE two leads then trail", "\xFF\xFE\x3D\xD8\x3D\xD8\x00\xDE"s, {R, U'\U0001F600'}},
        {"16LE lead at the end",
         "\xFF\xFE"
         "A\0\x3D\xD8"s,
         {U'A', R}},
        {"16LE odd byte at the end",
         "\xFF\xFE"
         "A\0B"s,
         {U'A', R}},
        {"16BE odd byte at the end", "\xFE\xFF\0AB"s, {U'A', R}},
        {"32LE above U+10FFFF",
         "\xFF\xFE\0\0"
         "\0\0\x11\0"
         "A\0\0\0"s,
         {R, U'A'}},
        {"32LE surrogate value",
         "\xFF\xFE\0\0"
         "\0\xD8\0\0"s,
         {R}},
        {"32BE supplementary",
         "\0\0\xFE\xFF"
         "\0\x01\xF6\0"s,
         U"\U0001F600"},
        {"32BE three bytes left over",
         "\0\0\xFE\xFF"
         "\0\0\0A\0\0\0"s,
         {U'A', R}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(DecodeDocumentText(c.bytes), c.text);
    }
}

TEST(TextDecoding, CodePageSamples) {
    struct Case {
        const char* charset;
        std::string bytes;
        std::u32string text;
    };
    const Case cases[] = {
        {"windows-1251", "\xCF\xF0\xE8\xE2\xE5\xF2 \xA8\xB8\xDF\xFF", U"Привет ЁёЯя"},
        {"KOI8-R", "\xF0\xD2\xC9\xD7\xC5\xD4 \xB3\xA3\xF1\xD1", U"Привет ЁёЯя"},
        {"IBM866", "\x8F\xE0\xA8\xA2\xA5\xE2 \xF0\xF1\x9F\xEF", U"Привет ЁёЯя"},
        {"ISO-8859-5", "\xBF\xE0\xD8\xD2\xD5\xE2 \xA1\xF1\xCF\xEF", U"Привет ЁёЯя"},
        {"x-mac-cyrillic", "\x8F\xF0\xE8\xE2\xE5\xF2 \xDD\xDE\x9F\xDF", U"Привет ЁёЯя"},
        {"windows-1252",
         "Gr\xFC\xDF"
         "e \x80 \x9C\x93\x94",
         U"Grüße € œ“”"},
        {"UTF-16LE", "\x1F\x04\x40\x04"s, U"Пр"},
        {"Shift_JIS", "\x93\xFA\x96\x7B", U"日本"},
        {"GBK", "\xD6\xD0\xCE\xC4", U"中文"},
        // Bytes no character is given to: U+FFFD, never ICU's U+001A, nor the
        // C1 controls ICU fills the holes of the code pages with.
        {"windows-1251", "a\x98z", {U'a', R, U'z'}},
        {"windows-1252", "a\x81\x8D\x8F\x90\x9Dz", {U'a', R, R, R, R, R, U'z'}},
        {"ISO-8859-5", "a\x80\x9Fz", {U'a', R, R, U'z'}},
        {"ISO-8859-6", "a\xA1z", {U'a', R, U'z'}},
        {"US-ASCII", "a\xE9z", {U'a', R, U'z'}},
        {"Shift_JIS", "a\x80\xA0z", {U'a', R, R, U'z'}},
        {"EUC-KR",
         "\xA1"
         "A",
         {R, U'A'}},
        {"Shift_JIS", "\x93\xFA\x81", U"日\uFFFD"},
        // Written in UTF-16 they are characters like any other.
        {"UTF-16BE", "\0\x98"s, U"\u0098"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.charset);
        EXPECT_EQ(DecodeCharset(c.bytes, c.charset), c.text);
    }
}

TEST(TextDecoding, UnknownCharsetNamesGiveNothing) {
    for (const std::string& name : {"no-such-charset"s, ""s, "UTF-8\0x"s, std::string(200, 'a')}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(DecodeCharset("abc", name), std::nullopt);
    }
}

TEST(TextDecoding, MaxLengthCountsCharacters) {
    struct Case {
        const char* label;
        std::string bytes;
        std::string declared;
        std::u32string whole;
    };
    const Case cases[] = {
        {"ASCII", std::string(100, 'x'), "", std::u32string(100, U'x')},
        {"Russian UTF-8", kRussianUtf8 + kRussianUtf8, "", kRussian + kRussian},
        {"supplementary",
         "\xF0\x9F\x98\x80"
         "a\xF0\x9F\x98\x80"
         "b",
         "", U"\U0001F600a\U0001F600b"},
        {"declared windows-1251", "\xCF\xF0\xE8\xE2\xE5\xF2, \xEC\xE8\xF0!", "windows-1251",
         U"Привет, мир!"},
        {"UTF-16LE pairs",
         "\xFF\xFE\x3D\xD8\x00\xDE"
         "a\0\x3D\xD8\x00\xDE"s,
         "", U"\U0001F600a\U0001F600"},
        {"declared Shift_JIS",
         "\x93\xFA\x96\x7B"
         "ab",
         "Shift_JIS", U"日本ab"},
    };
    for (const Case& c : cases) {
        for (const std::size_t max : {0UL, 1UL, 3UL, c.whole.size(), c.whole.size() + 10}) {
            SCOPED_TRACE(std::string(c.label) + ", at most " + std::to_string(max));
            EXPECT_EQ(DecodeDocumentText(c.bytes, max, c.declared), c.whole.substr(0, max));
        }
    }
    // Only the part that can be kept is looked at: past it, bytes that are not
    // UTF-8 do not turn the kept ASCII start into something else.
    const std::string long1251 = std::string(4000, 'a') + "\xCF\xF0\xE8\xE2\xE5\xF2";
    EXPECT_NE(DetectDocumentCharset(long1251), "UTF-8");
    EXPECT_EQ(DecodeDocumentText(long1251, 1000), std::u32string(1000, U'a'));
}

TEST(TextDecoding, DeclaredCharsetComesAfterTheMarkAndBeforeDetection) {
    struct Case {
        const char* label;
        std::string bytes;
        std::string declared;
        std::u32string text;
    };
    const Case cases[] = {
        {"mark beats declaration", "\xEF\xBB\xBF\xD0\x9F", "windows-1251", U"П"},
        {"UTF-16 mark beats declaration", "\xFF\xFE\x1F\x04"s, "KOI8-R", U"П"},
        {"declaration beats the UTF-8 guess", "\xD0\x9F", "windows-1251", U"Рџ"},
        {"declared KOI8-R", "\xF0\xD2\xC9\xD7\xC5\xD4", "koi8-r", U"Привет"},
        {"alias", "\xF0\xD2\xC9\xD7\xC5\xD4", "cskoi8r", U"Привет"},
        {"unknown name: detection", "\xD0\x9F", "no-such-charset", U"П"},
        {"UTF-16 declared without mark: detection", "abc", "UTF-16LE", U"abc"},
        {"ISO-8859-1 read as windows-1252", "\x93quoted\x94", "ISO-8859-1", U"“quoted”"},
        {"US-ASCII read as windows-1252", "caf\xE9", "ascii", U"café"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(DecodeDocumentText(c.bytes, kWholeText, c.declared), c.text);
    }
}

TEST(TextDecoding, LongInputsAcrossConversionPieces) {
    // Pieces of the ICU conversion end at fixed offsets; characters that
    // straddle them must come out whole.
    std::string koi8;
    std::u32string koi8Text;
    std::string utf16 = "\xFF\xFE";
    std::u32string utf16Text;
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
