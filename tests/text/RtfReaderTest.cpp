#include "TestText.h"
#include "text/RtfReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <span>
#include <string>
#include <vector>

#include "base/CodePage.h"
#include "text/TextDecoding.h"

// The edge cases are written here by hand. The samples under tests/data/rtf
// come from LibreOffice 7.4 and pandoc 2.17 (Debian 12) and from files written
// by hand in the style of WordPad and Word; tests/data/rtf/README.md says how
// each was made. Each sample has the text we expect (<name>.txt, UTF-8 with CR
// LF) and LibreOffice's own text export of it (<name>.lo.txt) as an independent
// second reading. Expected texts are written in UTF-8 here and compared in
// UTF-8, so that a failure shows readable text.

namespace {

std::u32string U32(std::string_view utf8) { return DecodeCharset(utf8, "UTF-8").value(); }

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Sample(const std::string& name) {
    return ReadFile(std::string(LMN_TEST_DATA) + "/rtf/" + name);
}

const CharFormat& FormatAt(const RtfDocument& doc, std::size_t position) {
    const auto it = std::find_if(doc.runs.begin(), doc.runs.end(), [&](const TextRun& run) {
        return position >= run.start && position < run.start + run.length;
    });
    EXPECT_NE(it, doc.runs.end()) << "no run at " << position;
    static const CharFormat kNone;
    return it == doc.runs.end() ? kNone : it->format;
}

const CharFormat& FormatOf(const RtfDocument& doc, std::string_view utf8) {
    const auto position = doc.text.find(U32(utf8));
    EXPECT_NE(position, std::u32string::npos) << utf8;
    return FormatAt(doc, position == std::u32string::npos ? 0 : position);
}

// The format of the run holding each text.
struct FormatExpect {
    const char* text;
    bool bold, italic, underline;
    int halfPoints;
    std::optional<std::uint32_t> color;
    const char* face;
};

void ExpectFormats(const RtfDocument& doc, std::span<const FormatExpect> expected) {
    for (const FormatExpect& e : expected) {
        SCOPED_TRACE(e.text);
        const CharFormat& f = FormatOf(doc, e.text);
        EXPECT_EQ(f.bold, e.bold);
        EXPECT_EQ(f.italic, e.italic);
        EXPECT_EQ(f.underline, e.underline);
        EXPECT_EQ(f.halfPoints, e.halfPoints);
        EXPECT_EQ(f.color, e.color);
        EXPECT_EQ(ToUtf8(f.face), e.face);
    }
}

// Runs cover the text in order, and neighbours differ: the shape the text pane
// relies on.
void ExpectRunsWellFormed(const RtfDocument& doc) {
    if (doc.plainText) {
        EXPECT_TRUE(doc.runs.empty());
        return;
    }
    std::size_t next = 0;
    for (std::size_t i = 0; i < doc.runs.size(); ++i) {
        EXPECT_EQ(doc.runs[i].start, next) << "run " << i;
        EXPECT_GT(doc.runs[i].length, 0u) << "run " << i;
        if (i > 0) {
            EXPECT_NE(doc.runs[i].format, doc.runs[i - 1].format) << "run " << i;
        }
        next = doc.runs[i].start + doc.runs[i].length;
    }
    EXPECT_EQ(next, doc.text.size());
}

RtfDocument ReadInChunks(std::string_view bytes, std::mt19937& random, std::size_t maxChunk) {
    RtfReader reader;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t size = std::uniform_int_distribution<std::size_t>(0, maxChunk)(random);
        reader.Feed(bytes.substr(at, size));
        at += std::min(size, bytes.size() - at);
    }
    return reader.Finish();
}

void ExpectSameDocument(const RtfDocument& a, const RtfDocument& b) {
    EXPECT_EQ(a.text, b.text);
    EXPECT_EQ(a.runs, b.runs);
    EXPECT_EQ(a.plainText, b.plainText);
    EXPECT_EQ(a.truncated, b.truncated);
}

struct TextCase {
    const char* name;
    std::string rtf;
    std::string expectedUtf8;
};

std::string Nested(std::size_t depth, const std::string& inner) {
    return std::string(depth, '{') + inner + std::string(depth, '}');
}

const std::vector<TextCase>& TextCases() {
    static const std::vector<TextCase> cases = {
        // Breaks and characters named by control words.
        {"paragraphs", R"({\rtf1 one\par two\par})", "one\r\ntwo\r\n"},
        {"line_page_section_row", R"({\rtf1 a\line b\page c\sect d\row e})",
         "a\r\nb\r\nc\r\nd\r\ne"},
        {"backslash_newline_is_par", "{\\rtf1 a\\\nb\\\rc}", "a\r\nb\r\nc"},
        {"tab_word_and_raw_tab", "{\\rtf1 a\\tab b\tc}", "a\tb\tc"},
        {"cells_tab_between_not_after", R"({\rtf1 a\cell b\cell\row c\cell\cell d\cell\row})",
         "a\tb\r\nc\t\td\r\n"},
        {"nested_cells", R"({\rtf1 x\nestcell y\nestcell{\nonesttables\par}\nestrow z})",
         "x\ty\r\nz"},
        {"dashes_quotes_bullet",
         R"({\rtf1 \emdash\endash\lquote\rquote\ldblquote\rdblquote\bullet\emspace\enspace\qmspace.})",
         "—–‘’“”•   ."},
        {"nbsp_optional_and_nonbreaking_hyphen", R"({\rtf1 10\~km pere\-nos a\_b})",
         "10\u00A0km perenos a-b"},
        {"escaped_braces_and_backslash", R"({\rtf1 \{x\}\\})", "{x}\\"},
        {"raw_line_breaks_are_ignored", "{\\rtf1 a\r\nb\nc\rd}", "abcd"},

        // Control word syntax.
        {"one_space_delimiter_consumed", R"({\rtf1\b  two})", " two"},
        {"word_ends_at_non_letter", R"({\rtf1 a\par\par;})", "a\r\n\r\n;"},
        {"number_ends_at_letter", R"({\rtf1 \b0x})", "x"},
        {"hyphen_without_digits_is_text", R"({\rtf1 a\b-c})", "a-c"},
        {"negative_number_is_parameter", R"({\rtf1 a\fs-20 b})", "ab"},
        {"word_longer_than_32_letters_ignored",
         R"({\rtf1 a\parparparparparparparparparparparparpar b})", "ab"},
        {"runaway_number_clamped", R"({\rtf1 a\fs99999999999999999999999999 b})", "ab"},
        {"unknown_symbol_ignored", R"({\rtf1 a\|\:\@b})", "ab"},

        // Code pages of \'hh and raw 8-bit bytes.
        {"ansicpg1251", R"({\rtf1\ansi\ansicpg1251 \'cf\'f0\'e8\'e2\'e5\'f2})", "Привет"},
        {"raw_8bit_byte_in_1251", "{\\rtf1\\ansi\\ansicpg1251 \xcf\xf0\xe8}", "При"},
        {"default_is_1252", R"({\rtf1\ansi \'e9\'93x\'94})", "é“x”"},
        {"ansicpg0_is_1252", R"({\rtf1\ansi\ansicpg0 \'e9\'93})", "é“"},
        {"unknown_code_page_keeps_ascii", R"({\rtf1\ansi\ansicpg12345 a\'e1\'93})",
         "a\uFFFD\uFFFD"},
        {"unknown_font_charset_keeps_ascii",
         R"({\rtf1\ansi{\fonttbl{\f0\fcharset99 A;}}\f0 a\'e1})", "a\uFFFD"},
        {"mac_without_ansicpg", R"({\rtf1\mac a\'8a})", "aä"},
        {"pc_and_pca", R"({\rtf1\pc \'e1{\pca\'9b}})", "ßø"},
        {"font_charset_beats_ansicpg",
         R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fcharset204 A;}{\f1\fcharset0 B;}{\f2\fcharset238 C;}}\f0\'e9\f1\'e9\f2\'ec\'a7})",
         "йéě§"},
        {"default_charset_falls_to_ansicpg",
         R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0\fcharset1 A;}}\f0\'e9})", "й"},
        {"font_cpg", R"({\rtf1\ansi{\fonttbl{\f0\cpg1251 A;}}\f0\'e9})", "й"},
        {"font_cpg0_keeps_charset", R"({\rtf1\ansi{\fonttbl{\f0\fcharset204\cpg0 A;}}\f0\'e9})",
         "й"},
        {"deff_and_plain",
         R"({\rtf1\ansi\deff1{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset204 B;}}\'e9\f0\'e9\plain\'e9})",
         "йéй"},
        {"unknown_font_uses_document_page",
         R"({\rtf1\ansi\ansicpg1251{\fonttbl{\f0\fcharset0 A;}}\f7\'e9})", "й"},
        {"symbol_font",
         R"({\rtf1{\fonttbl{\f3\fcharset2 Symbol;}}{\f3\'b7 a1\'a5\'bd}{\f3\u-3913?})",
         "• α1∞\uFFFD•"},
        {"cut_hex_at_end", R"({\rtf1 a\'c)", "a"},
        {"bad_hex_digit_dropped", R"({\rtf1 a\'4gb\'zz})", "agbzz"},

        // Double-byte code pages: a character's bytes are decoded together,
        // whether escaped, raw or both.
        {"shift_jis_escaped", R"({\rtf1\ansi\ansicpg932 a\'82\'a0\'82\'a2b})", "aあいb"},
        {"shift_jis_raw", "{\\rtf1\\ansi\\ansicpg932 a\x82\xa0\x82\xa2 b}", "aあい b"},
        {"shift_jis_lead_escaped_trail_raw", "{\\rtf1\\ansi\\ansicpg932 \\'93\xfa}", "日"},
        {"trail_byte_is_a_letter", R"({\rtf1\ansi\ansicpg932 \'83\'41\'83A})", "アア"},
        {"trail_byte_is_a_backslash", R"({\rtf1\ansi\ansicpg932 \'95\'5c\'95\\})", "表表"},
        {"single_byte_katakana_among_pairs", R"({\rtf1\ansi\ansicpg932 \'b1\'82\'a0\'b2})", "ｱあｲ"},
        {"gbk_font", R"({\rtf1\ansi{\fonttbl{\f0\fcharset134 S;}}\f0 \'c4\'e3\'ba\'c3})", "你好"},
        {"big5_font", R"({\rtf1\ansi{\fonttbl{\f0\fcharset136 M;}}\f0 \'a4\'a4\'a4\'e5})", "中文"},
        {"korean_font", R"({\rtf1\ansi{\fonttbl{\f0\fcharset129 B;}}\f0 \'c7\'d1\'b1\'b9})",
         "한국"},
        {"utf8_code_page", R"({\rtf1\ansi\ansicpg65001 \'d0\'9f\'f0\'9f\'98\'80})", "П😀"},
        {"gb18030_four_bytes", R"({\rtf1\ansi\ansicpg54936 \'81\'30\'d3\'30\'94\'39\'fc\'36})",
         "ђ😀"},
        {"lead_byte_cut_by_break", R"({\rtf1\ansi\ansicpg932 \'82\par x})", "\uFFFD\r\nx"},
        {"lead_byte_cut_by_unicode", R"({\rtf1\ansi\ansicpg932\uc0 \'82\u1055 x})", "\uFFFDПx"},
        {"lead_byte_at_end", R"({\rtf1\ansi\ansicpg932 \'82)", "\uFFFD"},
        {"pair_inside_a_group", R"({\rtf1\ansi\ansicpg932 {\b\'82\'a0}\'82\'a2})", "あい"},
        {"font_switch_mid_paragraph",
         R"({\rtf1\ansi\ansicpg1252{\fonttbl{\f0\fcharset0 Arial;}{\f1\fcharset128 Mincho;}{\f2\fcharset204 Arial Cyr;}}\f0 caf\'e9 \f1\'93\'fa\'96\'7b\f2 \'e4\'e0\f0 \'e9\par})",
         "café 日本даé\r\n"},
        // Bytes read before a font change are decoded in the font they came in.
        {"font_switch_between_lead_and_trail",
         R"({\rtf1\ansi{\fonttbl{\f0\fcharset0 A;}{\f1\fcharset128 M;}}\f1\'93\f0\'fa})",
         "\uFFFDú"},
        {"fallback_of_double_byte_character",
         R"({\rtf1\ansi\ansicpg932\uc2 \u26085\'93\'fa\u26412\'96\'7b.})", "日本."},

        // \uN and its fallback.
        {"unicode_with_fallback", R"({\rtf1\uc1\u1055?\u1088\'f0x})", "Прx"},
        {"unicode_default_uc1", R"({\rtf1 \u1055?})", "П"},
        {"uc0_keeps_everything", R"({\rtf1\uc0\u1055 x})", "Пx"},
        {"uc2_skips_two", R"({\rtf1\uc2\u1055\'cf\'cfx})", "Пx"},
        {"uc_is_group_scoped", R"({\rtf1{\uc2\u1055 ab}\u1055 ab})", "ППb"},
        {"fallback_stops_at_group_edge", R"({\rtf1{\uc5\u1055 a}b{\u1055}c})", "ПbПc"},
        {"fallback_counts_control_word", R"({\rtf1\u1055\par x})", "Пx"},
        {"fallback_counts_hex", R"({\rtf1\u1055\'cf x})", "П x"},
        {"negative_uc_is_zero", R"({\rtf1\uc-1\u1055?})", "П?"},
        {"huge_uc_ends_at_group", R"({\rtf1{\uc99999999999\u1055 abc\par def}g})", "Пg"},
        {"negative_u_is_upper_half", R"({\rtf1\u-200?\u-4?})", "Ｘ\uFFFC"},
        {"u_minus_32768", R"({\rtf1 a\u-32768?b})", "a耀b"},
        {"u_out_of_range", R"({\rtf1 a\u-40000?\u70000?b})", "a\uFFFD\uFFFDb"},
        {"u_without_number_ignored", R"({\rtf1 a\u b})", "ab"},
        {"surrogate_pair_is_one_char", R"({\rtf1 a\u-10179?\u-8704?b})", "a😀b"},
        {"surrogate_pair_without_fallback", R"({\rtf1\uc0 a\u55357\u56832 b})", "a😀b"},
        {"surrogate_pair_across_groups", R"({\rtf1 {\u-10179?}{\b\u-8704?}})", "😀"},
        {"lone_surrogates", R"({\rtf1 a\u-10179?b\u-8704?c\u-10179?})", "a\uFFFDb\uFFFDc\uFFFD"},
        {"low_before_high", R"({\rtf1 \u-8704?\u-10179?})", "\uFFFD\uFFFD"},
        {"two_highs_then_low", R"({\rtf1 \u-10179?\u-10179?\u-8704?})", "\uFFFD😀"},
        {"high_cut_by_break", R"({\rtf1 \u-10179?\par\u-8704?})", "\uFFFD\r\n\uFFFD"},
        {"high_cut_by_byte", R"({\rtf1\uc0 \u-10179 x\u-8704 })", "\uFFFDx\uFFFD"},
        {"high_then_cell", R"({\rtf1 a\cell\u-10179?\cell b})", "a\t\uFFFD\tb"},
        {"control_code_points_dropped", R"({\rtf1 a\u0?\u7?\u9?b})", "a\tb"},
        {"unicode_at_end_of_input", R"({\rtf1 a\u1055)", "aП"},

        // \binN.
        {"binary_data_skipped", "{\\rtf1 a\\bin4 }{\\\\ b}", "a b"},
        {"binary_without_space", "{\\rtf1 a\\bin2xyb}", "ab"},
        {"huge_binary_eats_the_rest", R"({\rtf1 a\bin2147483647 xyz})", "a"},
        {"runaway_binary_clamped", R"({\rtf1 a\bin99999999999999 xyz})", "a"},
        {"negative_binary_is_nothing", R"({\rtf1 a\bin-5 xyz})", "axyz"},
        {"binary_inside_fallback", "{\\rtf1 \\u1055\\bin2 }{x}", "Пx"},
        {"binary_in_skipped_group", "{\\rtf1 a{\\pict\\bin3 }}}}b}", "ab"},

        // Destinations.
        {"skipped_destinations",
         R"({\rtf1 a{\info{\title T}{\author A}}{\*\foo F}{\header H}{\footerl F}{\pict 0102}{\stylesheet{\s0 Normal;}}{\*\listtable L}{\listoverridetable O}{\footnote N}{\*\bkmkstart B}{\bkmkend B}{\xe X}{\tc C}{\annotation Q}b})",
         "ab"},
        {"field_result_kept_instruction_skipped",
         R"({\rtf1 a{\field{\*\fldinst HYPERLINK "x"}{\fldrslt R}}{\field{\fldinst PAGE}{\fldrslt 1}}b})",
         "aR1b"},
        {"object_result_kept", R"({\rtf1 a{\object\objemb{\*\objdata 01}{\result R}}{\object x}b})",
         "aRb"},
        {"upr_takes_ud", R"({\rtf1 a{\upr{A}{\*\ud{U}}}b})", "aUb"},
        {"upr_ud_without_star", R"({\rtf1 {\upr{A}{\ud{U}}}})", "U"},
        {"upr_in_skipped_info", R"({\rtf1 {\info{\upr{\title A}{\*\ud{\title U}}}}x})", "x"},
        {"star_before_known_word_skips", R"({\rtf1 a{\*\b x}b})", "ab"},
        {"star_cleared_by_text", R"({\rtf1 a{\* x}b})", "a xb"},
        {"unknown_plain_destination_kept", R"({\rtf1 a{\frobnicate x}b})", "axb"},
        {"hidden_text", R"({\rtf1 a\v hidden\v0 b{\v c}d})", "abd"},
        {"plain_ends_hidden", R"({\rtf1 \v a\plain b})", "b"},
        {"list_text_kept", R"({\rtf1{\listtext\pard\plain \u8226\'95\tab}item\par})",
         "•\titem\r\n"},

        // Damaged structure.
        {"missing_closing_braces", R"({\rtf1 {\b a{\i b)", "ab"},
        {"text_after_root_ignored", R"({\rtf1 a}b{c})", "a"},
        {"extra_closing_brace_ends_document", R"({\rtf1 a}}b)", "a"},
        {"word_at_end_of_input", R"({\rtf1 a\par)", "a\r\n"},
        {"hyphen_at_end_of_input", R"({\rtf1 a\b-)", "a-"},
        {"deep_nesting_flattened", "{\\rtf1 " + Nested(5000, "x") + "y}", "xy"},
        {"only_signature", "{\\rtf", ""},
    };
    return cases;
}

TEST(RtfReader, Text) {
    for (const TextCase& c : TextCases()) {
        SCOPED_TRACE(c.name);
        const RtfDocument doc = ReadRtf(c.rtf);
        EXPECT_EQ(ToUtf8(doc.text), c.expectedUtf8);
        EXPECT_FALSE(doc.plainText);
        EXPECT_FALSE(doc.truncated);
        ExpectRunsWellFormed(doc);
    }
}

// Every code page the reader knows decodes its own bytes, named by \ansicpg
// and by a font's \cpg. The expected characters come from Python's codecs,
// not from the converters the reader uses.
TEST(RtfReader, CodePages) {
    struct Case {
        int codePage;
        const char* bytes;
        const char* expected;
    };
    const Case cases[] = {
        {437, R"(\'c1\'c8\'e1)", "┴╚ß"},
        {737, R"(\'c1\'c8\'e1)", "┴╚ά"},
        {775, R"(\'c1\'c8\'e1)", "┴╚ß"},
        {850, R"(\'c1\'c8\'e1)", "┴╚ß"},
        {852, R"(\'c1\'c8\'e1)", "┴╚ß"},
        {855, R"(\'c1\'c8\'e1)", "┴╚р"},
        {857, R"(\'c1\'c8\'e1)", "┴╚ß"},
        {860, R"(\'c1\'c8\'e1)", "┴╚ß"},
        {861, R"(\'c1\'c8\'e1)", "┴╚ß"},
        {862, R"(\'c1\'c8\'e1)", "┴╚ß"},
        {863, R"(\'c1\'c8\'e1)", "┴╚ß"},
        {864, R"(\'c1\'c8\'e1)", "ﺀﺑﻓ"},
        {865, R"(\'c1\'c8\'e1)", "┴╚ß"},
        {866, R"(\'c1\'c8\'e1)", "┴╚с"},
        {869, R"(\'c1\'c8\'e1)", "┴╚η"},
        {874, R"(\'c1\'c8\'e1)", "มศแ"},
        {1250, R"(\'c1\'c8\'e1)", "ÁČá"},
        {1251, R"(\'c1\'c8\'e1)", "БИб"},
        {1252, R"(\'c1\'c8\'e1)", "ÁÈá"},
        {1253, R"(\'c1\'c8\'e1)", "ΑΘα"},
        {1254, R"(\'c1\'c8\'e1)", "ÁÈá"},
        {1255, R"(\'c1\'c8\'e1)", "ֱָב"},
        {1256, R"(\'c1\'c8\'e1)", "ءبل"},
        {1257, R"(\'c1\'c8\'e1)", "ĮČį"},
        {1258, R"(\'c1\'c8\'e1)", "ÁÈá"},
        {10000, R"(\'c1\'c8\'e1)", "¡»·"},
        {10006, R"(\'c1\'c8\'e1)", "Ν»α"},
        {10007, R"(\'c1\'c8\'e1)", "Ѕ»б"},
        {10029, R"(\'c1\'c8\'e1)", "Ń»Š"},
        {10081, R"(\'c1\'c8\'e1)", "¡»·"},
        {20866, R"(\'c1\'c8\'e1)", "ахА"},
        {21866, R"(\'c1\'c8\'e1)", "ахА"},
        {28591, R"(\'c1\'c8\'e1)", "ÁÈá"},
        {28592, R"(\'c1\'c8\'e1)", "ÁČá"},
        {28593, R"(\'c1\'c8\'e1)", "ÁÈá"},
        {28594, R"(\'c1\'c8\'e1)", "ÁČá"},
        {28595, R"(\'c1\'c8\'e1)", "СШс"},
        {28596, R"(\'c1\'c8\'e1)", "ءبف"},
        {28597, R"(\'c1\'c8\'e1)", "ΑΘα"},
        {28598, R"(\'e1\'ea\'a4)", "בך¤"},
        {28599, R"(\'c1\'c8\'e1)", "ÁÈá"},
        {28603, R"(\'c1\'c8\'e1)", "ĮČį"},
        {28605, R"(\'c1\'c8\'e1)", "ÁÈá"},
        {932, R"(\'93\'fa\'96\'7b\'8c\'ea\'b6\'c5)", "日本語ｶﾅ"},
        {936, R"(\'bc\'f2\'cc\'e5\'d6\'d0\'ce\'c4)", "简体中文"},
        {949, R"(\'c7\'d1\'b1\'b9\'be\'ee)", "한국어"},
        {950, R"(\'c1\'63\'c5\'e9\'a4\'a4\'a4\'e5)", "繁體中文"},
        {10001, R"(\'93\'fa\'96\'7b)", "日本"},
        {10002, R"(\'a4\'a4\'a4\'e5)", "中文"},
        {10003, R"(\'c7\'d1\'b1\'b9)", "한국"},
        {10008, R"(\'d6\'d0\'ce\'c4)", "中文"},
        {20932, R"(\'c6\'fc\'cb\'dc)", "日本"},
        {51932, R"(\'c6\'fc\'cb\'dc)", "日本"},
        {51936, R"(\'d6\'d0\'ce\'c4)", "中文"},
        {51949, R"(\'c7\'d1\'b1\'b9)", "한국"},
        {54936, R"(\'d6\'d0\'ce\'c4\'81\'30\'d3\'30)", "中文ђ"},
        {65001, R"(\'d0\'9f\'d1\'80\'e6\'97\'a5\'f0\'9f\'98\'80)", "Пр日😀"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codePage);
        const std::string number = std::to_string(c.codePage);
        EXPECT_EQ(ToUtf8(ReadRtf("{\\rtf1\\ansi\\ansicpg" + number + " " + c.bytes + "}").text),
                  c.expected);
        EXPECT_EQ(ToUtf8(ReadRtf("{\\rtf1\\ansi{\\fonttbl{\\f0\\cpg" + number + " F;}}\\f0 " +
                                 c.bytes + "}")
                             .text),
                  c.expected);
    }
}

TEST(RtfReader, FontCharsets) {
    struct Case {
        int fcharset;
        const char* bytes;
        const char* expected;
    };
    const Case cases[] = {
        {0, R"(\'e9)", "é"},        {77, R"(\'8a)", "ä"},       {78, R"(\'82\'a0)", "あ"},
        {85, R"(\'e1)", "α"},       {89, R"(\'8f)", "П"},       {128, R"(\'93\'fa)", "日"},
        {129, R"(\'c7\'d1)", "한"}, {134, R"(\'d6\'d0)", "中"}, {136, R"(\'a4\'a4)", "中"},
        {161, R"(\'e1)", "α"},      {162, R"(\'f0)", "ğ"},      {163, R"(\'c3)", "Ă"},
        {177, R"(\'e0)", "א"},      {178, R"(\'c7)", "ا"},      {186, R"(\'e0)", "ą"},
        {204, R"(\'cf)", "П"},      {222, R"(\'a1)", "ก"},      {238, R"(\'ec)", "ě"},
        {254, R"(\'e1)", "ß"},      {255, R"(\'9b)", "ø"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.fcharset);
        const std::string rtf = "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset" +
                                std::to_string(c.fcharset) + " F;}}\\f0 " + c.bytes + "}";
        EXPECT_EQ(ToUtf8(ReadRtf(rtf).text), c.expected);
    }
}

TEST(RtfReader, NotRtfIsPlainText) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string expected;
    };
    const Case cases[] = {
        {"empty", "", ""},
        {"text_in_windows_1251", "hello\r\n\xcf\xf0\xe8\n", "hello\r\nПри\n"},
        {"cut_signature", "{\\rt", "{\\rt"},
        {"leading_blank", " {\\rtf1 a}", " {\\rtf1 a}"},
        {"wrong_case", "{\\RTF1 a}", "{\\RTF1 a}"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RtfDocument doc = ReadRtf(c.bytes);
        EXPECT_TRUE(doc.plainText);
        EXPECT_EQ(ToUtf8(doc.text), c.expected);
        EXPECT_TRUE(doc.runs.empty());
    }
}

TEST(RtfReader, TextIsCutAtTheLimit) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string expected;
        bool truncated;
    };
    const Case cases[] = {
        {"exactly_full", R"({\rtf1 abcdefgh})", "abcdefgh", false},
        {"one_more", R"({\rtf1 abcdefghi})", "abcdefgh", true},
        // A break that no longer fits whole is left out.
        {"break_at_limit", R"({\rtf1 abcdefg\par x})", "abcdefg", true},
        {"break_fits", R"({\rtf1 abcdef\par})", "abcdef\r\n", false},
        {"pending_cell_tab", R"({\rtf1 abcdefgh\cell x})", "abcdefgh", true},
        {"plain_text", "plain text", "plain te", true},
        {"plain_text_counts_characters", "\xcf\xf0\xe8\xe2\xe5\xf2, \xec\xe8\xf0", "Привет, ",
         true},
        // The limit counts characters, not bytes, and never cuts one.
        {"double_byte", R"({\rtf1\ansi\ansicpg932 abcdef\'82\'a0\'82\'a2})", "abcdefあい", false},
        {"double_byte_cut", R"({\rtf1\ansi\ansicpg932 abcdefg\'82\'a0\'82\'a2})", "abcdefgあ",
         true},
        {"surrogate_pair", R"({\rtf1 abcdefg\u-10179?\u-8704?})", "abcdefg😀", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::size_t chunk : {1u, 1000u}) {
            RtfReader reader(8);
            for (std::size_t at = 0; at < c.bytes.size(); at += chunk) {
                reader.Feed(std::string_view(c.bytes).substr(at, chunk));
            }
            const RtfDocument doc = reader.Finish();
            EXPECT_EQ(ToUtf8(doc.text), c.expected);
            EXPECT_EQ(doc.truncated, c.truncated);
            ExpectRunsWellFormed(doc);
        }
    }
    // The default limit is the text control's.
    const RtfDocument doc = ReadRtf(std::string(kMaxTextLength + 1, 'a'));
    EXPECT_EQ(doc.text.size(), kMaxTextLength);
    EXPECT_TRUE(doc.truncated);
}

TEST(RtfReader, Formatting) {
    const RtfDocument doc = ReadRtf(
        R"({\rtf1\ansi\ansicpg1251\deff0{\fonttbl{\f0\fswiss\fcharset204 Arial;}{\f1\fnil Courier New;}})"
        R"({\colortbl;\red255\green0\blue0;\red0\green128\blue255;}\fs20 )"
        R"(start {\b bold\b0 off\b1 again} {\i ital} )"
        R"({\ul under\ulnone plainA\uldb double\ul0 plainB\ulc1 plainC} )"
        R"({\fs36 big}{\fs0 zero}{\fs100000 huge} {\cf1 red}{\cf2 blue}{\cf0 auto}{\cf9 missing})"
        R"({\cf1\plain reset} {\f1 mono}{\f9 nofont}})");
    ExpectRunsWellFormed(doc);
    const FormatExpect expected[] = {
        {"start", false, false, false, 20, {}, "Arial"},
        {"bold", true, false, false, 20, {}, "Arial"},
        {"off", false, false, false, 20, {}, "Arial"},
        {"again", true, false, false, 20, {}, "Arial"},
        {"ital", false, true, false, 20, {}, "Arial"},
        {"under", false, false, true, 20, {}, "Arial"},
        {"plainA", false, false, false, 20, {}, "Arial"},
        {"double", false, false, true, 20, {}, "Arial"},
        {"plainB", false, false, false, 20, {}, "Arial"},
        // \ulc is the underline's colour, not underline.
        {"plainC", false, false, false, 20, {}, "Arial"},
        {"big", false, false, false, 36, {}, "Arial"},
        {"zero", false, false, false, 24, {}, "Arial"},
        {"huge", false, false, false, 3276, {}, "Arial"},
        {"red", false, false, false, 20, 0x0000FF, "Arial"},
        {"blue", false, false, false, 20, 0xFF8000, "Arial"},
        {"auto", false, false, false, 20, {}, "Arial"},
        {"missing", false, false, false, 20, {}, "Arial"},
        {"reset", false, false, false, 24, {}, "Arial"},
        {"mono", false, false, false, 20, {}, "Courier New"},
        {"nofont", false, false, false, 20, {}, ""},
    };
    ExpectFormats(doc, expected);
}

TEST(RtfReader, FontAndColorTables) {
    struct Case {
        const char* name;
        std::string rtf;
        std::string face;
        std::optional<std::uint32_t> color;
    };
    const Case cases[] = {
        {"entries_without_groups",
         R"({\rtf1{\fonttbl\f0\fswiss Helvetica;\f1\fmodern Courier;}\f1 1})",
         "Courier",
         {}},
        {"name_closed_by_group_end",
         R"({\rtf1{\fonttbl{\f0 Arial}{\f1 Times}}\f1 1})",
         "Times",
         {}},
        {"name_in_font_code_page",
         R"({\rtf1\ansi{\fonttbl{\f0\fcharset204 \'d8\'f0\'e8\'f4\'f2;}}\f0 1})",
         "Шрифт",
         {}},
        {"name_in_unicode", R"({\rtf1{\fonttbl{\f0 \u1064?\u1088?;}}\f0 1})", "Шр", {}},
        {"starred_parts_of_entry",
         R"({\rtf1{\fonttbl{\f0\froman{\*\panose 02020603050405020304}Times New Roman{\*\falt Times};}}\f0 1})",
         "Times New Roman",
         {}},
        {"name_trimmed_and_rest_ignored",
         R"({\rtf1{\fonttbl{\f0   Arial  ; junk}}\f0 1})",
         "Arial",
         {}},
        {"symbol_font_name_plain",
         R"({\rtf1{\fonttbl{\f3\fcharset2 Symbol;}}\f3 1})",
         "Symbol",
         {}},
        {"name_in_double_byte_code_page",
         R"({\rtf1\ansi{\fonttbl{\f0\fcharset128 \'82\'6c\'82\'72 \'96\'be\'92\'a9;}}\f0 1})",
         "ＭＳ 明朝",
         {}},
        {"name_in_document_code_page",
         R"({\rtf1\ansi\ansicpg936{\fonttbl{\f0 \'cb\'ce\'cc\'e5;}}\f0 1})",
         "宋体",
         {}},
        {"name_bytes_then_unicode",
         R"({\rtf1\ansi{\fonttbl{\f0\fcharset128 \'82\'6c\u1064?\'82\'72;}}\f0 1})",
         "ＭШＳ",
         {}},
        {"name_with_lone_surrogate", R"({\rtf1{\fonttbl{\f0 A\u-10179?B;}}\f0 1})", "A\uFFFDB", {}},
        {"upr_in_font_table",
         R"({\rtf1{\fonttbl{\upr{\f0\fcharset204 \'d8;}{\*\ud{\f0\fcharset204 \u1064?\u1088?;}}}}\f0 1})",
         "Шр",
         {}},
        {"later_definition_wins", R"({\rtf1{\fonttbl{\f0 A;}{\f0 B;}}\f0 1})", "B", {}},
        {"first_colour_explicit", R"({\rtf1{\colortbl\red1\green2\blue3;}\cf0 1})", "", 0x030201},
        {"colour_without_final_semicolon", R"({\rtf1{\colortbl;\red0\green0\blue255}\cf1 1})", "",
         0xFF0000},
        {"colour_components_clamped", R"({\rtf1{\colortbl;\red999\green-4\blue0;}\cf1 1})", "",
         0x0000FF},
        {"second_colour_table_replaces",
         R"({\rtf1{\colortbl;\red9;}{\colortbl\red1;}\cf1 1})",
         "",
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RtfDocument doc = ReadRtf(c.rtf);
        ASSERT_EQ(ToUtf8(doc.text), "1");
        ASSERT_EQ(doc.runs.size(), 1u);
        EXPECT_EQ(ToUtf8(doc.runs[0].format.face), c.face);
        EXPECT_EQ(doc.runs[0].format.color, c.color);
    }
}

TEST(RtfReader, EqualNeighboursShareOneRun) {
    std::string rtf = "{\\rtf1 ";
    for (int i = 0; i < 1000; ++i) rtf += "{\\b x}{\\b\\i0 y}\\b0 z\\par ";
    rtf += "}";
    const RtfDocument doc = ReadRtf(rtf);
    ExpectRunsWellFormed(doc);
    // Bold "xy" and plain "z\r\n" alternate: 2000 runs, not 5000.
    EXPECT_EQ(doc.runs.size(), 2000u);
}

TEST(RtfReader, DeepNestingKeepsStateOfTheDeepestGroup) {
    const std::size_t deep = RtfReader::kMaxGroupDepth + 500;
    const RtfDocument doc = ReadRtf("{\\rtf1 " + Nested(deep, "\\b x{\\i y}z") + "w}");
    ASSERT_EQ(ToUtf8(doc.text), "xyzw");
    // Beyond the limit a group no longer restores what it changed, until the
    // deepest real group ends.
    EXPECT_TRUE(FormatAt(doc, 0).bold);
    EXPECT_TRUE(FormatAt(doc, 2).italic);
    EXPECT_FALSE(FormatAt(doc, 3).bold);
    EXPECT_FALSE(FormatAt(doc, 3).italic);
}

struct SampleCase {
    const char* name;
    // LibreOffice's text export differs where we choose otherwise; each
    // difference is named here and in tests/data/rtf/README.md.
    std::vector<std::pair<std::string, std::string>> libreOfficeDifferences;
};

const std::vector<SampleCase>& SampleCases() {
    static const std::vector<SampleCase> cases = {
        {"libreoffice-html", {}},
        {"libreoffice-cjk", {}},
        {"wordpad-cjk", {}},
        {"libreoffice-features",
         {{"пе\u00ADренос", "перенос"}, {"Скрытое:НЕВИДИМО", "Скрытое:"}, {"здесь1", "здесь"}}},
        {"pandoc", {}},
        {"wordpad", {}},
        {"word",
         {{"пере\u00ADнос", "перенос"},
          {"дефис\u2011неразрывный", "дефис-неразрывный"},
          {" СКРЫТО", ""},
          {"сноска1", "сноска"}}},
    };
    return cases;
}

std::string WithoutBlanks(std::string text) {
    std::erase_if(text, [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
    return text;
}

TEST(RtfReader, Samples) {
    for (const SampleCase& c : SampleCases()) {
        SCOPED_TRACE(c.name);
        const std::string name = c.name;
        const RtfDocument doc = ReadRtf(Sample(name + ".rtf"));
        EXPECT_FALSE(doc.plainText);
        EXPECT_FALSE(doc.truncated);
        EXPECT_EQ(ToUtf8(doc.text), Sample(name + ".txt"));
        ExpectRunsWellFormed(doc);

        // LibreOffice lays out lists and tables with other blanks; the
        // characters must be the same.
        std::string libreOffice = Sample(name + ".lo.txt");
        const std::string_view bom = "\xEF\xBB\xBF";
        if (libreOffice.starts_with(bom)) libreOffice.erase(0, bom.size());
        for (const auto& [theirs, ours] : c.libreOfficeDifferences) {
            const auto at = libreOffice.find(theirs);
            ASSERT_NE(at, std::string::npos) << theirs;
            libreOffice.replace(at, theirs.size(), ours);
        }
        EXPECT_EQ(WithoutBlanks(ToUtf8(doc.text)), WithoutBlanks(libreOffice));
    }
}

TEST(RtfReader, SampleFormatting) {
    const RtfDocument wordPad = ReadRtf(Sample("wordpad.rtf"));
    const FormatExpect wordPadRuns[] = {
        {"Документ", false, false, false, 20, {}, "Arial CYR"},
        {"жирный", true, false, false, 20, {}, "Arial CYR"},
        {"курсив", false, true, false, 20, {}, "Arial CYR"},
        {"подчёркнутый", false, false, true, 20, {}, "Arial CYR"},
        {"красный", false, false, false, 20, 0x0000FF, "Arial CYR"},
        {"крупный", false, false, false, 28, {}, "Arial CYR"},
        {"Другой шрифт", false, false, false, 20, {}, "Times New Roman CYR"},
        {"Courier", false, false, false, 20, {}, "Courier New"},
        {"•", false, false, false, 20, {}, "Symbol"},
    };
    ExpectFormats(wordPad, wordPadRuns);
    const RtfDocument word = ReadRtf(Sample("word.rtf"));
    EXPECT_EQ(ToUtf8(FormatOf(word, "Глава").face), "Arial Cyr");
    EXPECT_TRUE(FormatOf(word, "Глава").bold);
    EXPECT_EQ(FormatOf(word, "Глава").halfPoints, 32);
    EXPECT_EQ(FormatOf(word, "Красный 14").color, 0x0000FF);
    EXPECT_EQ(FormatOf(word, "Красный 14").halfPoints, 28);
    EXPECT_EQ(ToUtf8(FormatOf(word, "особый").face), "Шрифт");
    EXPECT_TRUE(FormatOf(word, "пример").underline);
    EXPECT_EQ(FormatOf(word, "пример").color, 0xFF0000);

    // Face names in double-byte code pages reach the font system whole.
    const RtfDocument cjk = ReadRtf(Sample("wordpad-cjk.rtf"));
    EXPECT_EQ(ToUtf8(FormatOf(cjk, "日本語").face), "ＭＳ Ｐゴシック");
    EXPECT_EQ(ToUtf8(FormatOf(cjk, "简体").face), "宋体");
    EXPECT_EQ(ToUtf8(FormatOf(cjk, "繁體").face), "新細明體");
    EXPECT_EQ(ToUtf8(FormatOf(cjk, "Русский").face), "Arial CYR");
    EXPECT_TRUE(FormatOf(cjk, "ここ").bold);
    EXPECT_FALSE(FormatOf(cjk, "赤").bold);
    EXPECT_EQ(FormatOf(cjk, "赤").color, 0x0000FF);
    EXPECT_EQ(ToUtf8(FormatOf(cjk, "café").face), "Arial");
}

// Whatever the cuts, chunked reading gives the whole reading's document.
TEST(RtfReader, ChunkedFeedingMatchesWhole) {
    std::vector<std::pair<std::string, std::string>> inputs;
    for (const TextCase& c : TextCases()) inputs.emplace_back(c.name, c.rtf);
    for (const SampleCase& c : SampleCases()) {
        inputs.emplace_back(c.name, Sample(std::string(c.name) + ".rtf"));
    }
    inputs.emplace_back("plain", "not rtf at all\r\n");
    std::mt19937 random(20240305);
    for (const auto& [name, bytes] : inputs) {
        SCOPED_TRACE(name);
        const RtfDocument whole = ReadRtf(bytes);
        for (const std::size_t maxChunk : {1u, 3u, 17u, 400u}) {
            ExpectSameDocument(ReadInChunks(bytes, random, maxChunk), whole);
        }
    }
}

TEST(RtfReader, FinishReadiesTheReaderForAnotherDocument) {
    RtfReader reader;
    reader.Feed("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 A;}}\\b \\'e9");
    const RtfDocument first = reader.Finish();
    reader.Feed("{\\rtf1 \\'e9}");
    const RtfDocument second = reader.Finish();
    EXPECT_EQ(ToUtf8(first.text), "й");
    EXPECT_EQ(ToUtf8(second.text), "é");
    ExpectSameDocument(second, ReadRtf("{\\rtf1 \\'e9}"));
}

}  // namespace
