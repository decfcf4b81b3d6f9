// The HTML-to-text machine, case by case. Every input below is written here by
// hand; the expected texts were worked out from the machine's rules, not taken
// from its output. The real pages under tests/data/html are checked in
// HtmlPagesTest.cpp.

#include "text/HtmlConverter.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/CodePage.h"

namespace {

struct Case {
    const char* label;
    std::u32string body;  // what follows "<body>"
    std::u32string text;
};

std::u32string Body(const std::u32string& body) { return ConvertHtmlToText(U"<body>" + body); }

void ExpectAll(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(ToUtf8(Body(c.body)), ToUtf8(c.text));
    }
}

// The same input fed in pieces of the given sizes, round robin.
std::u32string ConvertInChunks(std::u32string_view html, const std::vector<std::size_t>& sizes) {
    std::u32string text;
    HtmlConverter converter([&](std::u32string_view piece) { text.append(piece); });
    std::size_t i = 0;
    for (std::size_t k = 0; i < html.size(); ++k) {
        const std::size_t size = std::min(sizes[k % sizes.size()], html.size() - i);
        converter.Feed(html.substr(i, size));
        i += size;
    }
    converter.Feed({});
    converter.Finish();
    return text;
}

TEST(HtmlConverter, OnlyTheBodyIsKept) {
    struct Document {
        const char* label;
        std::u32string html;
        std::u32string text;
    };
    const Document documents[] = {
        {"no body tag", U"<html><p>Hello &amp; bye</p></html>", U""},
        {"empty input", U"", U""},
        {"head and title skipped", U"<head><title>Title</title></head><body>Text", U"Text"},
        {"any letter case, any attributes", U"<BoDy class=\"x\"\nonload=\"f()\">Hi", U"Hi"},
        {"any tag beginning BODY", U"<bodyguard>x", U"x"},
        {"a second body tag is just a tag", U"<body>a<body>b", U"ab"},
        {"the character that breaks a match is not looked at again", U"<bo<body>x", U""},
        {"a later body tag is found", U"<bo><body>x", U"x"},
        {"blanks after the body tag skipped", U"<body>  \r\n\t Hello", U"Hello"},
        {"only ASCII letters match", U"<bОdy>x<body>y", U"y"},
    };
    for (const Document& d : documents) {
        SCOPED_TRACE(d.label);
        EXPECT_EQ(ToUtf8(ConvertHtmlToText(d.html)), ToUtf8(d.text));
    }
}

TEST(HtmlConverter, BlanksAndLineBreaks) {
    ExpectAll({
        {"two spaces, a TAB and a line break become one space", U"one  \t\ntwo", U"one two"},
        {"CR LF in text is a blank too", U"one\r\ntwo", U"one two"},
        {"other spaces are text", U"a\u00A0\u2003 \u3000b", U"a\u00A0\u2003 \u3000b"},
        {"paragraph gives one empty line", U"one<p>two", U"one\r\n\r\ntwo"},
        {"several paragraphs and headings in a row still give one",
         U"one<p><P><h1>Title</h1><p>\n<h2>two", U"one\r\n\r\nTitle\r\n\r\ntwo"},
        {"paragraph with attributes", U"a<p class=x>b", U"a\r\n\r\nb"},
        {"paragraph tag followed by a line break is not one", U"a<p\nclass=x>b", U"ab"},
        {"other tags beginning P give nothing", U"a<param>b<pre class=x>c", U"abc"},
        {"one break per line-break tag", U"a<br>b<BR/>c<br clear=all>d", U"a\r\nb\r\nc\r\nd"},
        {"closing tags give nothing", U"a</br>b</p>c</div>d</li>e", U"abcde"},
        {"closing heading gives an empty line", U"a</h3 >b", U"a\r\n\r\nb"},
        {"headings 1 to 6 only", U"a<h7>b<hr>c<h>d<h6>e", U"abcd\r\n\r\ne"},
        {"breaks at the very end are never written", U"text<br><br><p>\n", U"text"},
        {"breaks at the very start are", U"<br><br><br>text", U"\r\n\r\ntext"},
        {"blanks after a break tag are skipped", U"a<br>   b", U"a\r\nb"},
        {"a space written right after a break disappears", U"a<br>&#32;b", U"a\r\nb"},
        {"a space before a break stays", U"a <br>b", U"a \r\nb"},
        {"non-breaking space after a break starts the new line", U"a<br>&nbsp;b", U"a\r\n b"},
        {"list", U"x<ul><li>one<LI>two</ul>y", U"x\r\n\r\none\r\ntwoy"},
        {"ordered list and list head", U"<ol><lh>Head</lh></ol>", U"\r\n\r\nHead"},
        {"table cells and heads, not rows", U"<table><tr><th>a<td>b</td></tr></table>",
         U"\r\na\r\nb"},
        {"table head tag counts as a cell head", U"a<thead>b", U"a\r\nb"},
        {"div", U"a<div class=x>b</div>c", U"a\r\nbc"},
        {"definition gives a break and a TAB", U"<dl><dt>Term<dd>Def</dl>", U"Term\r\n\tDef"},
        {"link tag counts as a list item", U"a<link rel=x>b", U"a\r\nb"},
        {"other tags beginning D or L give nothing", U"a<del>b</del><label>c", U"abc"},
        {"one-letter tags hide nothing", U"<s>s</s><b>b</b><i>i</i><o>o</o><t>t</t><l>l",
         U"sbiotl"},
        {"an empty tag", U"a<>b", U"ab"},
        {"after a one-letter tag blanks are skipped", U"a<u> b", U"ab"},
        {"a lone < starts a tag that runs to the next >", U"a < b and c > d", U"a  d"},
        {"a tag of other letters is skipped", U"а<р>б", U"аб"},
    });
}

TEST(HtmlConverter, ScriptsAndComments) {
    ExpectAll({
        {"script content never reaches the text",
         U"a<script>if (x<y) document.write('<p>b</p>');</script>b", U"ab"},
        {"a tag beginning </S inside a script does not end it",
         U"<SCRIPT type=x>s = '</span>';</ScRiPt >b", U"b"},
        {"a </ right after < inside a script is missed", U"<script><</script>a</script>b", U"b"},
        {"style content is written", U"<style>p {color: red}</style>Text", U"p {color: red}Text"},
        {"other tags beginning S", U"a<span>b</span><strong>c<sc>d<scr>e", U"abcde"},
        {"comment", U"a<!-- hidden <p> text -->b", U"ab"},
        {"comment with dashes inside", U"a<!-- x - y -- z --->b", U"ab"},
        {"shortest comment", U"a<!-->b", U"ab"},
        {"one dash opens and closes", U"a<!- x ->b", U"ab"},
        {"declaration: <! and its first letter are dropped", U"<!DOCTYPE html>text",
         U"OCTYPE html>text"},
        {"empty declaration", U"a<!>b", U"ab"},
    });
}

TEST(HtmlConverter, NamedReferences) {
    ExpectAll({
        {"legacy names with or without semicolon", U"&amp;&lt;&gt;&quot;&reg;&copy &copy;",
         U"&<>\"\u00AE\u00A9 \u00A9"},
        {"the space after a name without semicolon stays, a later semicolon too", U"&copy 2004; x",
         U"\u00A9 2004; x"},
        {"other names need the semicolon", U"&mdash; &hellip; &mdash &hellip",
         U"\u2014 \u2026 &mdash &hellip"},
        {"names keep their letter case", U"&Dagger;&dagger;&Gt;&gt;&GT", U"\u2021\u2020\u226B>>"},
        {"the seven old names are found in any case", U"&CoPy; &Amp &NBSP;x &qUOt;&Reg",
         U"\u00A9 &  x \"\u00AE"},
        {"le and ge need the semicolon and their case", U"&le;&ge &GE;&lE", U"\u2264&ge &GE;&lE"},
        {"a named non-breaking space is a plain space, a numeric one is not",
         U"a&nbsp;b&NonBreakingSpace;c&#160;d", U"a b c\u00A0d"},
        {"two code points", U"&acE;&nvlt;", U"\u223E\u0333<\u20D2"},
        {"the longest legacy name that begins the letters", U"&notin; &notit; &copy2004 &ampere;",
         U"\u2209 \u00ACit; \u00A92004 &ere;"},
        {"digits belong to names", U"&frac12; &sup2x &there4;", U"\u00BD \u00B2x \u2234"},
        {"only one semicolon belongs to the name", U"&lt;;", U"<;"},
        {"the semicolon must follow at once", U"&lt ;", U"< ;"},
        {"unknown names are written back", U"&bogus; &mdashx; &zz", U"&bogus; &mdashx; &zz"},
        {"what ends an unknown name is read as text", U"&zz  b&zz<b>c&zz&amp;", U"&zz b&zzc&zz&"},
        {"what ends half an old name is written back as it stands", U"&co  b&am<b>c&nb&amp;&q\nx",
         U"&co  b&am<b>c&nb&amp;&q\nx"},
        {"the longest name", U"&CounterClockwiseContourIntegral;", U"\u2233"},
        {"letters past the longest name are text",
         U"&amp" + std::u32string(40, U'x') + U"; &" + std::u32string(40, U'y') + U";",
         U"&" + std::u32string(40, U'x') + U"; &" + std::u32string(40, U'y') + U";"},
        {"line feed and TAB by name", U"a&NewLine;b&Tab;c", U"a\r\nb\tc"},
        {"a name at the very end is decoded", U"x&copy", U"x\u00A9"},
        {"an unknown name at the very end is text", U"x&mdash", U"x&mdash"},
        {"half an old name at the very end is dropped", U"x&cop", U"x"},
        {"names in preformatted blocks", U"<pre>&lt;x&gt;&amp;;&bogus &hellip;</pre>",
         U"<x>&;&bogus \u2026"},
    });
}

TEST(HtmlConverter, NumericReferences) {
    ExpectAll({
        {"decimal and hex give the code point", U"&#1105;&#x451;&#X401;&#xa9;&#65;",
         U"\u0451\u0451\u0401\u00A9A"},
        {"beyond the first plane", U"&#x1F600;&#1114111;", U"\U0001F600\U0010FFFF"},
        {"0x80 to 0x9F are the Windows-1252 characters", U"&#150;&#x80;&#159;&#153;&#x8B;",
         U"\u2013\u20AC\u0178\u2122\u2039"},
        {"the five holes there stay as they are", U"&#129;&#x8D;&#143;&#144;&#x9D;",
         U"\u0081\u008D\u008F\u0090\u009D"},
        {"zero, surrogates and values past Unicode give U+FFFD",
         U"&#0;&#xD800;&#57343;&#x110000;&#2147483648;&#xFFFFFFFF;",
         U"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {"the value wraps at 2^32", U"&#4294967361;&#x100000041;&#4294967296;", U"AA\uFFFD"},
        {"without digits it is text", U"&#;&#x;&#xg;&#-1;", U"&#;&#x;&#xg;&#-1;"},
        {"without semicolon it is text", U"&#65 &#x41<b>x&#1105", U"&#65 &#x41<b>x"},
        {"a malformed one does not spoil the next", U"&#65x&#66;&#x4G&#x42;", U"&#65xB&#x4GB"},
        {"line feed is a break, carriage return is dropped", U"a&#10;b&#13;c", U"a\r\nbc"},
        {"its semicolon is taken once", U"&#65;;", U"A;"},
        {"written-back markup is cut at 64 characters", U"&#" + std::u32string(70, U'1') + U"-x",
         U"&#" + std::u32string(62, U'1') + U"x"},
        {"in preformatted blocks", U"<pre>&#x20AC;\n&#8364;</pre>", U"\u20AC\r\n\u20AC"},
    });
}

TEST(HtmlConverter, AmpersandsThatStartNothing) {
    ExpectAll({
        {"ampersand and a space, as in a company name", U"Smith & Sons", U"Smith & Sons"},
        {"ampersand right before a reference", U"&&amp;", U"&&"},
        {"several ampersands", U"a&&&b", U"a&&&b"},
        {"ampersand at a line break is written back with it", U"a &\nb", U"a &\nb"},
        {"a tag right after an ampersand is text", U"&<b>x", U"&<b>x"},
        {"a letter that is not ASCII", U"&ёж;", U"&ёж;"},
    });
}

TEST(HtmlConverter, PreformattedBlocks) {
    ExpectAll({
        {"three empty lines stay three", U"<pre>a\n\n\n\nb</pre>", U"a\r\n\r\n\r\n\r\nb"},
        {"spaces and TABs kept, CR dropped", U"<PRE>a  b\r\n\tc</PRE>", U"a  b\r\n\tc"},
        {"space at the start of a line kept", U"<pre>a\n  b</pre>", U"a\r\n  b"},
        {"only <PRE> exactly opens a block", U"<pre class=x>a\n  b</pre>", U"a b"},
        {"after the block breaks are capped again", U"<pre>a\n\n\n\n</pre>b", U"a\r\n\r\nb"},
        {"blanks after the block are skipped", U"<pre>a</pre>  b", U"ab"},
        {"closing tag with attributes", U"<pre>a</PRE foo>b", U"ab"},
        {"big-text tag is written back", U"<pre><big>x</big></pre>", U"<big>x"},
        {"link tag removed", U"<pre><a href=\"x\">y</a></pre>", U"y"},
        {"bold tag removed", U"<pre><b>x</b></pre>", U"x"},
        {"line-break tags are not capped", U"<pre>a<br><br><br>b</pre>", U"a\r\n\r\n\r\nb"},
        {"paragraph", U"<pre>a<p>b<p class=x>c</pre>", U"a\r\n\r\nb\r\n\r\nc"},
        {"near misses of PRE are written back", U"<pre><pr>x<prx<pre y</pre>", U"<pr>x<prx<pre y"},
        {"near misses of the closing tag", U"<pre>a</p>b</pa>c</pr>d</pre>", U"ab</pa>c</pr>d"},
        {"headings and rules", U"<pre>a<h1>b</h1>c<hr>d</pre>", U"a\r\n\r\nb\r\n\r\ncd"},
        {"other tags removed", U"<pre>a<>b<i>c</i></b>d</q>e</pre>", U"abcde"},
        {"comment removed", U"<pre>a<!-- x -->b</pre>", U"ab"},
        {"empty declaration written back", U"<pre>a<!>b</pre>", U"a<!>b"},
        {"declaration drops two characters", U"<pre>a<!xy</pre>", U"ay"},
        {"near misses keep letters that are not ASCII", U"<pre><pЯ<bЖ</pre>", U"<pЯ<bЖ"},
        {"scripts are not recognised inside", U"<pre>a<script>b</script>c</pre>", U"abc"},
        {"a nested <PRE> changes nothing", U"<pre>a<pre>\n b</pre>c", U"a\r\n bc"},
    });
}

TEST(HtmlConverter, AnyChunkingGivesTheSameText) {
    std::mt19937 random(1234);
    // Single characters, Cyrillic and beyond the first plane among them, and
    // pieces of references, so that random text meets every state.
    std::vector<std::u32string> pieces = {
        U"&amp",  U"&copy",  U"&notin",   U"&le",       U"&#x",  U"&#1", U"&acE",  U"&Co",
        U"<pre>", U"</pre>", U"<script>", U"</script>", U"<!--", U"-->", U"<body>"};
    for (const char32_t c : std::u32string_view(
             U"<>&;#!-/ \t\r\nabBdDeEhHiIlLmMnNoOpPqQrRsStTuUvVxXyY0123456789ёЖя\u00A0\U0001F600"))
        pieces.emplace_back(1, c);
    std::vector<std::u32string> inputs = {
        U"<body>a<pre>x\n\n<b>y</b><big>&amp;&#65;</pre>z<script>q</script>&copy;;<!-- c -->e",
    };
    for (int n = 0; n < 300; ++n) {
        std::u32string s = U"<body>";
        const std::size_t length = random() % 300;
        for (std::size_t i = 0; i < length; ++i) s += pieces[random() % pieces.size()];
        inputs.push_back(s);
    }
    const std::vector<std::vector<std::size_t>> chunkings = {{1}, {2}, {3}, {7}, {1, 5, 2, 64}};
    for (const std::u32string& input : inputs) {
        const std::u32string whole = ConvertHtmlToText(input);
        for (const auto& sizes : chunkings) {
            ASSERT_EQ(ToUtf8(ConvertInChunks(input, sizes)), ToUtf8(whole)) << ToUtf8(input);
        }
    }
}

TEST(HtmlConverter, LongTextReachesTheSinkInPiecesThatAddUp) {
    std::u32string html = U"<body>";
    for (int i = 0; i < 20000; ++i) html += U"<p>слово &amp; word<pre>\n\n x</pre>";
    std::vector<std::size_t> pieceSizes;
    std::u32string text;
    HtmlConverter converter([&](std::u32string_view piece) {
        pieceSizes.push_back(piece.size());
        text.append(piece);
    });
    converter.Feed(html);
    converter.Finish();
    EXPECT_TRUE(text == ConvertHtmlToText(html));
    EXPECT_GT(pieceSizes.size(), 3u);
    for (std::size_t size : pieceSizes) {
        EXPECT_GT(size, 0u);
        EXPECT_LE(size, 70u * 1024);
    }
}

TEST(HtmlConverter, ManyEmptyLinesInABlockAreWrittenInPieces) {
    const std::u32string html = U"<body><pre>" + std::u32string(300000, U'\n') + U"x";
    std::size_t largest = 0;
    std::u32string text;
    HtmlConverter converter([&](std::u32string_view piece) {
        largest = std::max(largest, piece.size());
        text.append(piece);
    });
    converter.Feed(html);
    converter.Finish();
    EXPECT_EQ(text.size(), 600001u);
    EXPECT_LE(largest, 70u * 1024);
}

TEST(HtmlConverter, EveryConversionStartsAfresh) {
    std::u32string text;
    HtmlConverter converter(text);
    // Ends inside a block, a comment and a script, with breaks pending.
    converter.Feed(U"<body><pre>a\n\n<script><!-- &#12");
    converter.Finish();
    EXPECT_EQ(ToUtf8(text), "a");
    text.clear();
    // Ends inside a name.
    converter.Feed(U"<body>b&nbs");
    converter.Finish();
    EXPECT_EQ(ToUtf8(text), "b");
    text.clear();
    converter.Feed(U"<p>no body yet<body>  b  c<br>");
    converter.Finish();
    EXPECT_EQ(ToUtf8(text), "b c");
}

}  // namespace
