#include "text/RtfReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "RunChecks.h"
#include "TestText.h"

// Samples: tests/data/rtf/<name>.rtf with the expected text in <name>.txt (UTF-8, CR LF).

namespace {

std::string Sample(const std::string& name) {
    std::ifstream in(std::string(LMN_TEST_DATA) + "/rtf/" + name, std::ios::binary);
    EXPECT_TRUE(in.good()) << name;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The run holding each text: "b", "i", "u" for bold, italic, underline; size, colour, face.
struct FormatExpect {
    const char* text;
    std::string flags;
    int halfPoints;
    std::optional<std::uint32_t> color;
    const char* face;
};

void ExpectFormats(const RtfDocument& doc, std::initializer_list<FormatExpect> expected) {
    for (const FormatExpect& e : expected) {
        SCOPED_TRACE(e.text);
        const std::size_t at = doc.text.View().find(FromUtf8(e.text));
        const auto run = std::find_if(doc.runs.begin(), doc.runs.end(), [&](const TextRun& run) {
            return at >= run.start && at < run.start + run.length;
        });
        ASSERT_NE(run, doc.runs.end());
        const CharFormat& f = run->format;
        const std::string flags =
            std::string(f.bold ? "b" : "") + (f.italic ? "i" : "") + (f.underline ? "u" : "");
        EXPECT_EQ((std::tuple{flags, f.halfPoints, f.color, f.face}),
                  (std::tuple{e.flags, e.halfPoints, e.color, e.face}));
    }
}

// Runs cover the text in order and neighbours differ: the shape the text pane relies on.
void ExpectRunsWellFormed(const RtfDocument& doc) {
    if (doc.plainText) {
        EXPECT_TRUE(doc.runs.empty());
        return;
    }
    ExpectRunsTileTheText(doc.runs, doc.text.size());
}

std::string Nested(std::size_t depth, const std::string& inner) {
    return std::string(depth, '{') + inner + std::string(depth, '}');
}

// Every code page, by \ansicpg and by a font's \cpg, and every font charset (from Python's codecs).
TEST(RtfReader, CodePagesAndCharsets) {
    struct Case {
        int number;
        const char* bytes;  // empty: \'c1\'c8\'e1
        const char* expected;
    };
    // clang-format off
    const Case codePages[] = {
        {437, "", "┴╚ß"}, {737, "", "┴╚ά"}, {852, "", "┴╚ß"}, {855, "", "┴╚р"}, {864, "", "ﺀﺑﻓ"},
        {866, "", "┴╚с"}, {869, "", "┴╚η"}, {874, "", "มศแ"}, {1250, "", "ÁČá"},
        {1251, "", "БИб"}, {1252, "", "ÁÈá"}, {1253, "", "ΑΘα"}, {1255, "", "ֱָב"},
        {1256, "", "ءبل"}, {1257, "", "ĮČį"}, {1258, "", "ÁÈá"}, {10000, "", "¡»·"},
        {10006, "", "Ν»α"}, {10007, "", "Ѕ»б"}, {10029, "", "Ń»Š"}, {10081, "", "¡»·"},
        {20866, "", "ахА"}, {21866, "", "ахА"}, {28591, "", "ÁÈá"}, {28592, "", "ÁČá"},
        {28594, "", "ÁČá"}, {28595, "", "СШс"}, {28596, "", "ءبف"}, {28597, "", "ΑΘα"},
        {28598, R"(\'e1\'ea\'a4)", "בך¤"}, {28603, "", "ĮČį"},
        {932, R"(\'93\'fa\'96\'7b\'8c\'ea\'b6\'c5)", "日本語ｶﾅ"},
        {936, R"(\'bc\'f2\'cc\'e5\'d6\'d0\'ce\'c4)", "简体中文"},
        {949, R"(\'c7\'d1\'b1\'b9\'be\'ee)", "한국어"},
        {950, R"(\'c1\'63\'c5\'e9\'a4\'a4\'a4\'e5)", "繁體中文"},
        {10001, R"(\'93\'fa\'96\'7b)", "日本"}, {10002, R"(\'a4\'a4\'a4\'e5)", "中文"},
        {10003, R"(\'c7\'d1\'b1\'b9)", "한국"}, {10008, R"(\'d6\'d0\'ce\'c4)", "中文"},
        {20932, R"(\'c6\'fc\'cb\'dc)", "日本"}, {51932, R"(\'c6\'fc\'cb\'dc)", "日本"},
        {51936, R"(\'d6\'d0\'ce\'c4)", "中文"}, {51949, R"(\'c7\'d1\'b1\'b9)", "한국"},
        {54936, R"(\'d6\'d0\'ce\'c4\'81\'30\'d3\'30)", "中文ђ"},
        {65001, R"(\'d0\'9f\'d1\'80\'e6\'97\'a5\'f0\'9f\'98\'80)", "Пр日😀"},
    };
    // clang-format on
    for (const Case& c : codePages) {
        SCOPED_TRACE(c.number);
        const std::string number = std::to_string(c.number);
        const std::string bytes = *c.bytes ? c.bytes : R"(\'c1\'c8\'e1)";
        for (const std::string& head :
             {"\\ansicpg" + number, "{\\fonttbl{\\f0\\cpg" + number + " F;}}\\f0"})
            EXPECT_EQ(ToUtf8(ReadRtf("{\\rtf1\\ansi" + head + " " + bytes + "}").text.ToString()),
                      c.expected);
    }
    const Case charsets[] = {
        {0, R"(\'e9)", "é"},        {77, R"(\'8a)", "ä"},       {78, R"(\'82\'a0)", "あ"},
        {85, R"(\'e1)", "α"},       {89, R"(\'8f)", "П"},       {128, R"(\'93\'fa)", "日"},
        {129, R"(\'c7\'d1)", "한"}, {134, R"(\'d6\'d0)", "中"}, {136, R"(\'a4\'a4)", "中"},
        {161, R"(\'e1)", "α"},      {162, R"(\'f0)", "ğ"},      {163, R"(\'c3)", "Ă"},
        {177, R"(\'e0)", "א"},      {178, R"(\'c7)", "ا"},      {186, R"(\'e0)", "ą"},
        {204, R"(\'cf)", "П"},      {222, R"(\'a1)", "ก"},      {238, R"(\'ec)", "ě"},
        {254, R"(\'e1)", "ß"},      {255, R"(\'9b)", "ø"},
    };
    for (const Case& c : charsets) {
        SCOPED_TRACE(c.number);
        const std::string rtf = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset" +
                                std::to_string(c.number) + " F;}}\\f0 " + c.bytes + "}";
        EXPECT_EQ(ToUtf8(ReadRtf(rtf).text.ToString()), c.expected);
    }
}

// The limit counts characters, never cutting one; bytes not starting "{\rtf" are plain text.
TEST(RtfReader, TextIsCutAtTheLimit) {
    const std::tuple<std::string, std::string, bool> cases[] = {
        {R"({\rtf1 abcdefgh})", "abcdefgh", false},
        {R"({\rtf1 abcdefghi})", "abcdefgh", true},
        {R"({\rtf1 abcdefg\par x})", "abcdefg", true},  // a break that no longer fits whole
        {R"({\rtf1 abcdef\par})", "abcdef\r\n", false},
        {R"({\rtf1 abcdefgh\cell x})", "abcdefgh", true},
        {"plain text", "plain te", true},
        {"\xcf\xf0\xe8\xe2\xe5\xf2, \xec\xe8\xf0", "Привет, ", true},
        {R"({\rtf1\ansi\ansicpg932 abcdef\'82\'a0\'82\'a2})", "abcdefあい", false},
        {R"({\rtf1\ansi\ansicpg932 abcdefg\'82\'a0\'82\'a2})", "abcdefgあ", true},
        {R"({\rtf1 abcdefg\u-10179?\u-8704?})", "abcdefg😀", false},
        {"", "", false},
        {"{\\rt", "{\\rt", false},
        {" {\\rtf1}", " {\\rtf1}", false},
        {"{\\RTF1 a", "{\\RTF1 a", false},
        {"hi\r\n\xcf\xf0\xe8\n", "hi\r\nПри\n", false},
    };
    for (const auto& [bytes, expected, truncated] : cases) {
        SCOPED_TRACE(bytes);
        for (const std::size_t chunk : {1u, 1000u}) {
            RtfReader reader(8);
            for (std::size_t at = 0; at < bytes.size(); at += chunk)
                reader.Feed(std::string_view(bytes).substr(at, chunk));
            const RtfDocument doc = reader.Finish();
            EXPECT_EQ(ToUtf8(doc.text.ToString()), expected);
            EXPECT_EQ(doc.truncated, truncated);
            EXPECT_EQ(doc.plainText, !bytes.starts_with("{\\rtf"));
            ExpectRunsWellFormed(doc);
        }
    }
    const RtfDocument doc = ReadRtf(std::string(kMaxTextLength + 1, 'a'));
    EXPECT_EQ(doc.text.size(), kMaxTextLength);
}

TEST(RtfReader, FormattingAndFontAndColorTables) {
    const RtfDocument doc = ReadRtf(
        R"({\rtf1\ansi\ansicpg1251\deff0{\fonttbl{\f0\fswiss\fcharset204 Arial;}{\f1\fnil Courier New;}})"
        R"({\colortbl;\red255\green0\blue0;\red0\green128\blue255;}\fs20 )"
        R"(start {\b bold\b0 off\b1 again} {\i ital} )"
        R"({\ul under\ulnone plainA\uldb double\ul0 plainB\ulc1 plainC} )"
        R"({\fs36 big}{\fs0 zero}{\fs100000 huge} {\cf1 red}{\cf2 blue}{\cf0 auto}{\cf9 missing})"
        R"({\cf1\plain reset} {\f1 mono}{\f9 nofont}})");
    ExpectRunsWellFormed(doc);
    const char* a = "Arial";
    // clang-format off
    ExpectFormats(doc, {
        {"start", "", 20, {}, a}, {"bold", "b", 20, {}, a}, {"off", "", 20, {}, a},
        {"again", "b", 20, {}, a}, {"ital", "i", 20, {}, a}, {"under", "u", 20, {}, a},
        {"plainA", "", 20, {}, a}, {"double", "u", 20, {}, a}, {"plainB", "", 20, {}, a},
        {"plainC", "", 20, {}, a}, {"big", "", 36, {}, a}, {"zero", "", 24, {}, a},
        {"huge", "", 3276, {}, a}, {"auto", "", 20, {}, a}, {"red", "", 20, 0x0000FF, a},
        {"blue", "", 20, 0xFF8000, a}, {"missing", "", 20, {}, a}, {"reset", "", 24, {}, a},
        {"mono", "", 20, {}, "Courier New"}, {"nofont", "", 20, {}, ""}});
    // clang-format on
    // Each row's RTF follows "{\rtf1" and is followed by " 1}".
    const std::tuple<std::string, std::string, std::optional<std::uint32_t>> cases[] = {
        {R"({\fonttbl\f0\fswiss Helvetica;\f1\fmodern Courier;}\f1)", "Courier", {}},
        {R"({\fonttbl{\f0 Arial}{\f1 Times}}\f1)", "Times", {}},
        {R"(\ansi{\fonttbl{\f0\fcharset204 \'d8\'f0\'e8\'f4\'f2;}}\f0)", "Шрифт", {}},
        {R"({\fonttbl{\f0 \u1064?\u1088?;}}\f0)", "Шр", {}},
        {R"({\fonttbl{\f0\froman{\*\panose 0203}Times New Roman{\*\falt Times};}}\f0)",
         "Times New Roman",
         {}},
        {R"({\fonttbl{\f0   Arial  ; junk}}\f0)", "Arial", {}},
        {R"(\ansi\ansicpg936{\fonttbl{\f0 \'cb\'ce\'cc\'e5;}}\f0)", "宋体", {}},
        {R"(\ansi{\fonttbl{\f0\fcharset128 \'82\'6c\u1064?\'82\'72;}}\f0)", "ＭШＳ", {}},
        {R"({\fonttbl{\f0 A\u-10179?B;}}\f0)", "A\uFFFDB", {}},
        {R"({\fonttbl{\upr{\f0\fcharset204 \'d8;}{\*\ud{\f0\fcharset204 \u1064?\u1088?;}}}}\f0)",
         "Шр",
         {}},
        {R"({\fonttbl{\f0 A;}{\f0 B;}}\f0)", "B", {}},
        {"{\\fonttbl{\\f0 " + std::string(300, 'N') + ";}}\\f0", std::string(255, 'N'), {}},
        {R"({\colortbl\red1\green2\blue3;}\cf0)", "", 0x030201},
        {R"({\colortbl;\red0\green0\blue255}\cf1)", "", 0xFF0000},
        {R"({\colortbl;\red999\green-4\blue0;}\cf1)", "", 0x0000FF},
        {R"({\colortbl;\red9;}{\colortbl\red1;}\cf1)", "", {}},
    };
    for (const auto& [rtf, face, color] : cases) {
        SCOPED_TRACE(rtf);
        const RtfDocument one = ReadRtf("{\\rtf1" + rtf + " 1}");
        ASSERT_EQ(ToUtf8(one.text.ToString()), "1");
        ASSERT_EQ(one.runs.size(), 1u);
        EXPECT_EQ(one.runs[0].format.face, face);
        EXPECT_EQ(one.runs[0].format.color, color);
    }
}

TEST(RtfReader, RunsMergeAndDeepGroupsKeepTheDeepestState) {
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 1000; ++i) rtf += "{\\b x}{\\b\\i0 y}\\b0 z\\par ";
    const RtfDocument merged = ReadRtf(rtf + "}");
    ExpectRunsWellFormed(merged);
    EXPECT_EQ(merged.runs.size(), 2000u);  // bold "xy" and plain "z\r\n"
    // Groups beyond the depth limit do not restore what they changed.
    const std::size_t deep = RtfReader::kMaxGroupDepth + 500;
    const RtfDocument doc = ReadRtf("{\\rtf1 " + Nested(deep, "\\b x{\\i y}z") + "w}");
    ASSERT_EQ(ToUtf8(doc.text.ToString()), "xyzw");
    ExpectFormats(doc, {{"x", "b", 24, {}, ""}, {"y", "bi", 24, {}, ""}, {"w", "", 24, {}, ""}});
}

// Headings: "level:title@position|..." from \outlinelevel, directly or by a style of the
// stylesheet.
TEST(RtfReader, OutlineLevelsMakeTheOutline) {
    const std::string styles =
        R"({\stylesheet{\ql Normal;}{\s1\outlinelevel0 Big;}{\s2\sbasedon0\outlinelevel1 Custom;}{\s3 Heading 3;})"
        R"({\s4\sbasedon3 Derived;}{\s5\outlinelevel9 heading 1;}{\*\cs6\outlinelevel0 Char;}{\s7 \'e7\'e0\'e3\'ee\'eb\'ee\'e2\'ee\'ea 2;}})";
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {R"(\pard\outlinelevel0 Chapter\par\pard Body\par\pard\outlinelevel1  Section  one \par x\pard\outlinelevel9 y\par)",
         "1:Chapter@0|2:Section one@15"},
        {styles + R"(\pard\s1 One\par\pard\s2 Two\par\pard\s3 Three\par\pard\s4 Four\par\pard Plain\par\s5 Body\par)",
         "1:One@0|2:Two@5|3:Three@10|3:Four@17"},
        {"\\ansicpg1251" + styles + R"(\pard\s7 \'c3\'eb\'e0\'e2\'e0\par\s6 x\par{\s1\outlinelevel9 No\par}\s1 Yes\par)", "2:Глава@0|1:Yes@14"},
        {styles + R"(text\par\pard\s1\page\par\page Title\line Next\par\pard\s1 \par\pard x\cell{\s1 Cell\cell}\row)",
         "1:Title Next@12|1:Cell@29"},
    };
    for (const auto& [rtf, outline] : cases) {
        SCOPED_TRACE(rtf);
        std::string placed;
        for (const Heading& h : ReadRtf("{\\rtf1" + rtf + "}").outline)
            placed += (placed.empty() ? "" : "|") + std::to_string(h.level) + ":" + ToUtf8(h.title) + "@" + std::to_string(h.position);
        EXPECT_EQ(placed, outline);
    }
    // clang-format on
}

// Random chunks give the whole reading's document; one reader, so Finish readies it for the next.
TEST(RtfReader, TextWholeAndInChunks) {
    // Each row's RTF follows "{\rtf1".
    std::vector<std::pair<std::string, std::string>> inputs = {
        {R"( one\par two\par})", "one\r\ntwo\r\n"},
        {R"( a\line b\page c\sect d\row e})", "a\r\nb\r\nc\r\nd\r\ne"},
        {" a\\\nb\\\rc}", "a\r\nb\r\nc"},
        {" a\\tab b\tc}", "a\tb\tc"},
        {R"( a\cell b\cell\row c\cell\cell d\cell\row})", "a\tb\r\nc\t\td\r\n"},
        {R"( x\nestcell y\nestcell{\nonesttables\par}\nestrow z})", "x\ty\r\nz"},
        {R"( \emdash\endash\lquote\rquote\ldblquote\rdblquote\bullet\emspace\enspace\qmspace.})",
         "—–‘’“”•   ."},
        {R"( \{x\}\\})", "{x}\\"},
        {" a\r\nb\nc\rd}", "abcd"},
        {R"(\b  two})", " two"},
        {R"( a\b-c})", "a-c"},
        {R"( a\parparparparparparparparparparparparpar b})", "ab"},
        {R"( a\fs99999999999999999999999999 b})", "ab"},
        {"\\ansi\\ansicpg1251 \xcf\xf0\xe8}", "При"},
        {R"(\ansi \'e9\'93x\'94})", "é“x”"},
        {R"(\ansi\ansicpg12345 a\'e1\'93})", "a\uFFFD\uFFFD"},
        {R"(\mac a\'8a})", "aä"},
        {R"(\pc \'e1{\pca\'9b}})", "ßø"},
        {R"(\ansi\ansicpg1251{\fonttbl{\f0\fcharset1 A;}}\f0\'e9})", "й"},
        {R"(\ansi\deff1{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset204 B;}}\'e9\f0\'e9\plain\'e9})",
         "йéй"},
        {R"({\fonttbl{\f3\fcharset2 Symbol;}}{\f3\'b7 a1\'a5\'bd}{\f3\u-3913?})", "• α1∞\uFFFD•"},
        {R"( a\'c)", "a"},
        {R"( a\'4gb\'zz})", "agbzz"},
        {"\\ansi\\ansicpg932 \\'93\xfa}", "日"},
        {R"(\ansi\ansicpg932 \'95\'5c\'95\\})", "表表"},
        {R"(\ansi\ansicpg932 \'82\par x})", "\uFFFD\r\nx"},
        {R"(\ansi\ansicpg932\uc0 \'82\u1055 x})", "\uFFFDПx"},
        {R"(\ansi\ansicpg932 \'82)", "\uFFFD"},
        {R"(\ansi\ansicpg932 {\b\'82\'a0}\'82\'a2})", "あい"},
        {R"(\ansi{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset128 M;}}\f1\'93\f0\'fa})", "\uFFFDú"},
        {R"(\ansi\ansicpg932\uc2 \u26085\'93\'fa\u26412\'96\'7b.})", "日本."},
        {R"(\uc1\u1055?\u1088\'f0x})", "Прx"},
        {R"({\uc2\u1055 ab}\u1055 ab})", "ППb"},
        {R"({\uc5\u1055 a}b{\u1055}c})", "ПbПc"},
        {R"(\u1055\par x})", "Пx"},
        {R"(\uc-1\u1055?})", "П?"},
        {R"({\uc99999999999\u1055 abc\par def}g})", "Пg"},
        {R"(\u-200?\u-4?})", "Ｘ\uFFFC"},
        {R"( a\u-40000?\u70000?b})", "a\uFFFD\uFFFDb"},
        {R"( a\u-10179?\u-8704?b})", "a😀b"},
        {R"( {\u-10179?}{\b\u-8704?}})", "😀"},
        {R"( a\u-10179?b\u-8704?c\u-10179?})", "a\uFFFDb\uFFFDc\uFFFD"},
        {R"( \u-10179?\u-10179?\u-8704?})", "\uFFFD😀"},
        {R"( a\u0?\u7?\u9?b})", "a\tb"},
        {R"( a\u1055)", "aП"},
        {" a\\bin4 }{\\\\ b}", "a b"},
        {R"( a\bin2147483647 xyz})", "a"},
        {R"( a\bin-5 xyz})", "axyz"},
        {" \\u1055\\bin2 }{x}", "Пx"},
        {" a{\\pict\\bin3 }}}}b}", "ab"},
        {R"( a{\info{\title T}{\author A}}{\*\foo F}{\header H}{\footerl F}{\pict 0102}{\stylesheet{\s0 Normal;}}{\*\listtable L}{\listoverridetable O}{\footnote N}{\*\bkmkstart B}{\bkmkend B}{\xe X}{\tc C}{\annotation Q}b})",
         "ab"},
        {R"( a{\field{\*\fldinst HYPERLINK "x"}{\fldrslt R}}{\field{\fldinst PAGE}{\fldrslt 1}}b})",
         "aR1b"},
        {R"( a{\object\objemb{\*\objdata 01}{\result R}}{\object x}b})", "aRb"},
        {R"( a{\upr{A}{\*\ud{U}}}b})", "aUb"},
        {R"( a{\*\b x}b})", "ab"},
        {R"( a{\* x}b})", "a xb"},
        {R"( a{\frobnicate x}b})", "axb"},
        {R"( a\v hidden\v0 b{\v c}d})", "abd"},
        {R"({\listtext\pard\plain \u8226\'95\tab}item\par})", "•\titem\r\n"},
        {R"( {\b a{\i b)", "ab"},
        {R"( a}b{c})", "a"},
        {R"( a\par)", "a\r\n"},
        {" " + Nested(5000, "x") + "y}", "xy"},
    };
    for (auto& [rtf, expected] : inputs) rtf = "{\\rtf1" + rtf;
    for (const std::string name : {"libreoffice-html", "libreoffice-cjk", "wordpad-cjk",
                                   "libreoffice-features", "pandoc", "wordpad", "word"})
        inputs.emplace_back(Sample(name + ".rtf"), Sample(name + ".txt"));
    std::mt19937 random(20240305);
    RtfReader reader;
    for (const auto& [bytes, expected] : inputs) {
        SCOPED_TRACE(bytes.substr(0, 200));
        const RtfDocument whole = ReadRtf(bytes);
        EXPECT_EQ(ToUtf8(whole.text.ToString()), expected);
        EXPECT_FALSE(whole.plainText || whole.truncated);
        ExpectRunsWellFormed(whole);
        for (const std::size_t maxChunk : {1u, 3u, 17u, 400u}) {
            for (std::size_t at = 0; at < bytes.size();) {
                const std::size_t size = random() % (maxChunk + 1);
                reader.Feed(std::string_view(bytes).substr(at, size));
                at += std::min(size, bytes.size() - at);
            }
            const RtfDocument doc = reader.Finish();
            EXPECT_EQ(
                std::tie(doc.text, doc.runs, doc.outline, doc.plainText, doc.truncated),
                std::tie(whole.text, whole.runs, whole.outline, whole.plainText, whole.truncated));
        }
    }
    EXPECT_FALSE(ReadRtf("{\\rtf").plainText);
}

}  // namespace
