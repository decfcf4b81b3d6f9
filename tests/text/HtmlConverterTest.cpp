// The HTML-to-text machine, case by case. Every input below is written here by
// hand; the expected texts were worked out from the machine's rules, not taken
// from its output. The real pages under tests/data/html are checked in
// DocumentLoaderTest.cpp.

#include "text/HtmlConverter.h"

#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* label;
    std::string body;  // what follows "<body>"
    std::string text;
};

std::string Body(const std::string& body) { return ConvertHtmlToText("<body>" + body); }

void ExpectAll(const std::vector<Case>& cases) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(Body(c.body), c.text);
    }
}

// The same input fed in pieces of the given sizes, round robin.
std::string ConvertInChunks(std::string_view html, const std::vector<std::size_t>& sizes) {
    std::string text;
    std::size_t pieces = 0;
    HtmlConverter converter([&](std::string_view piece) {
        text.append(piece);
        ++pieces;
    });
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
        std::string html;
        std::string text;
    };
    const Document documents[] = {
        {"no body tag", "<html><p>Hello &amp; bye</p></html>", ""},
        {"empty input", "", ""},
        {"head and title skipped", "<head><title>Title</title></head><body>Text", "Text"},
        {"any letter case, any attributes", "<BoDy class=\"x\"\nonload=\"f()\">Hi", "Hi"},
        {"any tag beginning BODY", "<bodyguard>x", "x"},
        {"a second body tag is just a tag", "<body>a<body>b", "ab"},
        {"the byte that breaks a match is not looked at again", "<bo<body>x", ""},
        {"a later body tag is found", "<bo><body>x", "x"},
        {"blanks after the body tag skipped", "<body>  \r\n\t Hello", "Hello"},
    };
    for (const Document& d : documents) {
        SCOPED_TRACE(d.label);
        EXPECT_EQ(ConvertHtmlToText(d.html), d.text);
    }
}

TEST(HtmlConverter, BlanksAndLineBreaks) {
    ExpectAll({
        {"two spaces, a TAB and a line break become one space", "one  \t\ntwo", "one two"},
        {"CR LF in text is a blank too", "one\r\ntwo", "one two"},
        {"paragraph gives one empty line", "one<p>two", "one\r\n\r\ntwo"},
        {"several paragraphs and headings in a row still give one",
         "one<p><P><h1>Title</h1><p>\n<h2>two", "one\r\n\r\nTitle\r\n\r\ntwo"},
        {"paragraph with attributes", "a<p class=x>b", "a\r\n\r\nb"},
        {"paragraph tag followed by a line break is not one", "a<p\nclass=x>b", "ab"},
        {"other tags beginning P give nothing", "a<param>b<pre class=x>c", "abc"},
        {"one break per line-break tag", "a<br>b<BR/>c<br clear=all>d", "a\r\nb\r\nc\r\nd"},
        {"closing tags give nothing", "a</br>b</p>c</div>d</li>e", "abcde"},
        {"closing heading gives an empty line", "a</h3 >b", "a\r\n\r\nb"},
        {"headings 1 to 6 only", "a<h7>b<hr>c<h>d<h6>e", "abcd\r\n\r\ne"},
        {"breaks at the very end are never written", "text<br><br><p>\n", "text"},
        {"breaks at the very start are", "<br><br><br>text", "\r\n\r\ntext"},
        {"blanks after a break tag are skipped", "a<br>   b", "a\r\nb"},
        {"a space written right after a break disappears", "a<br>&#32;b", "a\r\nb"},
        {"a space before a break stays", "a <br>b", "a \r\nb"},
        {"non-breaking space after a break starts the new line", "a<br>&nbsp;b", "a\r\n b"},
        {"list", "x<ul><li>one<LI>two</ul>y", "x\r\n\r\none\r\ntwoy"},
        {"ordered list and list head", "<ol><lh>Head</lh></ol>", "\r\n\r\nHead"},
        {"table cells and heads, not rows", "<table><tr><th>a<td>b</td></tr></table>",
         "\r\na\r\nb"},
        {"table head tag counts as a cell head", "a<thead>b", "a\r\nb"},
        {"div", "a<div class=x>b</div>c", "a\r\nbc"},
        {"definition gives a break and a TAB", "<dl><dt>Term<dd>Def</dl>", "Term\r\n\tDef"},
        {"link tag counts as a list item", "a<link rel=x>b", "a\r\nb"},
        {"other tags beginning D or L give nothing", "a<del>b</del><label>c", "abc"},
        {"underlined text is kept", "a <u>under</u> b", "a under b"},
        {"one-letter tags hide nothing", "<s>s</s><b>b</b><i>i</i><o>o</o><t>t</t><l>l", "sbiotl"},
        {"an empty tag", "a<>b", "ab"},
        {"after a one-letter tag blanks are skipped", "a<u> b", "ab"},
        {"a lone < starts a tag that runs to the next >", "a < b and c > d", "a  d"},
    });
}

TEST(HtmlConverter, ScriptsAndComments) {
    ExpectAll({
        {"script content never reaches the text",
         "a<script>if (x<y) document.write('<p>b</p>');</script>b", "ab"},
        {"a tag beginning </S inside a script does not end it",
         "<SCRIPT type=x>s = '</span>';</ScRiPt >b", "b"},
        {"a </ right after < inside a script is missed", "<script><</script>a</script>b", "b"},
        {"style content is written", "<style>p {color: red}</style>Text", "p {color: red}Text"},
        {"other tags beginning S", "a<span>b</span><strong>c<sc>d<scr>e", "abcde"},
        {"comment", "a<!-- hidden <p> text -->b", "ab"},
        {"comment with dashes inside", "a<!-- x - y -- z --->b", "ab"},
        {"shortest comment", "a<!-->b", "ab"},
        {"one dash opens and closes", "a<!- x ->b", "ab"},
        {"declaration: <! and its first letter are dropped", "<!DOCTYPE html>text",
         "OCTYPE html>text"},
        {"empty declaration", "a<!>b", "ab"},
    });
}

TEST(HtmlConverter, CharacterReferences) {
    ExpectAll({
        {"copyright in any case, semicolon dropped", "&copy; &CoPy;", "\xA9 \xA9"},
        {"copyright then space keeps the space and a later semicolon", "&copy 2004; x",
         "\xA9 2004; x"},
        {"the seven names", "&amp;&lt;&gt;&reg;&quot;&nbsp;&copy;", "&<>\xAE\" \xA9"},
        {"names are decoded at their last letter", "&ampx &lty &quotz", "&x <y \"z"},
        {"less or equal, greater or equal", "&le;&GE;", "<=>="},
        {"only one semicolon belongs to the name", "&lt;;", "<;"},
        {"the semicolon must follow at once", "&lt ;", "< ;"},
        {"unknown names are written back", "&mdash; &hellip;", "&mdash; &hellip;"},
        {"a broken name is written back with the byte that broke it", "&am; &cop; &nb-",
         "&am; &cop; &nb-"},
        {"ampersand and a space, as in a company name", "Smith & Sons", "Smith & Sons"},
        {"ampersand right before a reference", "&&amp;", "&&"},
        {"several ampersands", "a&&&b", "a&&&b"},
        {"ampersand at a line break is written back with it", "a &\nb", "a &\nb"},
        {"a tag right after an ampersand is text", "&<b>x", "&<b>x"},
        {"numeric", "&#169;&#65;",
         "\xA9"
         "A"},
        {"numeric takes the low 8 bits", "&#1025;", std::string("\x01", 1)},
        {"numeric zero is written back", "&#0;&#;", "&#0;&#;"},
        {"numeric line feed is a break", "a&#10;b", "a\r\nb"},
        {"numeric carriage return is dropped", "a&#13;b", "ab"},
        {"a malformed numeric does not spoil the next", "&#65x&#66;", "&#65xB"},
        {"numeric without semicolon before a tag", "&#12<b>x", "&#12<b>x"},
        {"numeric wraps at 2^32", "&#4294967361;", "A"},
        {"numeric wrapping to zero is written back", "&#4294967296;", "&#4294967296;"},
        {"numeric read as negative is written back", "&#2147483648;", "&#2147483648;"},
        {"largest positive", "&#2147483647;", "\xFF"},
        {"a numeric reference is not a name: its semicolon is taken", "&#65;;", "A;"},
        {"written-back markup is cut at 64 characters", "&#" + std::string(70, '0') + ";x",
         "&#" + std::string(62, '0') + "x"},
    });
}

TEST(HtmlConverter, PreformattedBlocks) {
    ExpectAll({
        {"three empty lines stay three", "<pre>a\n\n\n\nb</pre>", "a\r\n\r\n\r\n\r\nb"},
        {"spaces and TABs kept, CR dropped", "<PRE>a  b\r\n\tc</PRE>", "a  b\r\n\tc"},
        {"space at the start of a line kept", "<pre>a\n  b</pre>", "a\r\n  b"},
        {"only <PRE> exactly opens a block", "<pre class=x>a\n  b</pre>", "a b"},
        {"after the block breaks are capped again", "<pre>a\n\n\n\n</pre>b", "a\r\n\r\nb"},
        {"blanks after the block are skipped", "<pre>a</pre>  b", "ab"},
        {"closing tag with attributes", "<pre>a</PRE foo>b", "ab"},
        {"big-text tag is written back", "<pre><big>x</big></pre>", "<big>x"},
        {"link tag removed", "<pre><a href=\"x\">y</a></pre>", "y"},
        {"bold tag removed", "<pre><b>x</b></pre>", "x"},
        {"line-break tags are not capped", "<pre>a<br><br><br>b</pre>", "a\r\n\r\n\r\nb"},
        {"paragraph", "<pre>a<p>b<p class=x>c</pre>", "a\r\n\r\nb\r\n\r\nc"},
        {"near misses of PRE are written back", "<pre><pr>x<prx<pre y</pre>", "<pr>x<prx<pre y"},
        {"near misses of the closing tag", "<pre>a</p>b</pa>c</pr>d</pre>", "ab</pa>c</pr>d"},
        {"headings and rules", "<pre>a<h1>b</h1>c<hr>d</pre>", "a\r\n\r\nb\r\n\r\ncd"},
        {"other tags removed", "<pre>a<>b<i>c</i></b>d</q>e</pre>", "abcde"},
        {"comment removed", "<pre>a<!-- x -->b</pre>", "ab"},
        {"empty declaration written back", "<pre>a<!>b</pre>", "a<!>b"},
        {"declaration drops two bytes", "<pre>a<!xy</pre>", "ay"},
        {"references", "<pre>&lt;x&gt;&amp;;&#65;&bogus</pre>", "<x>&;A&bogus"},
        {"scripts are not recognised inside", "<pre>a<script>b</script>c</pre>", "abc"},
        {"a nested <PRE> changes nothing", "<pre>a<pre>\n b</pre>c", "a\r\n bc"},
    });
}

TEST(HtmlConverter, AnyChunkingGivesTheSameText) {
    std::mt19937 random(1234);
    const std::string alphabet =
        "<>&;#!-/ \t\r\nabBdDeEhHiIlLmMnNoOpPqQrRsStTuUvVyY0123456789\xE0\xFF";
    std::vector<std::string> inputs = {
        "<body>a<pre>x\n\n<b>y</b><big>&amp;&#65;</pre>z<script>q</script>&copy;;<!-- c -->e",
    };
    for (int n = 0; n < 200; ++n) {
        std::string s = "<body>";
        const std::size_t length = random() % 400;
        for (std::size_t i = 0; i < length; ++i) s += alphabet[random() % alphabet.size()];
        inputs.push_back(s);
    }
    const std::vector<std::vector<std::size_t>> chunkings = {{1}, {2}, {3}, {7}, {1, 5, 2, 64}};
    for (const std::string& input : inputs) {
        const std::string whole = ConvertHtmlToText(input);
        for (const auto& sizes : chunkings) {
            ASSERT_EQ(ConvertInChunks(input, sizes), whole) << input;
        }
    }
}

TEST(HtmlConverter, LongTextReachesTheSinkInPiecesThatAddUp) {
    std::string html = "<body>";
    for (int i = 0; i < 20000; ++i) html += "<p>word &amp; word<pre>\n\n x</pre>";
    std::vector<std::size_t> pieceSizes;
    std::string text;
    HtmlConverter converter([&](std::string_view piece) {
        pieceSizes.push_back(piece.size());
        text.append(piece);
    });
    converter.Feed(html);
    converter.Finish();
    EXPECT_EQ(text, ConvertHtmlToText(html));
    EXPECT_GT(pieceSizes.size(), 3u);
    for (std::size_t size : pieceSizes) EXPECT_LE(size, 70u * 1024);
}

TEST(HtmlConverter, ManyEmptyLinesInABlockAreWrittenInPieces) {
    const std::string html = "<body><pre>" + std::string(300000, '\n') + "x";
    std::size_t largest = 0;
    std::string text;
    HtmlConverter converter([&](std::string_view piece) {
        largest = std::max(largest, piece.size());
        text.append(piece);
    });
    converter.Feed(html);
    converter.Finish();
    EXPECT_EQ(text.size(), 600001u);
    EXPECT_LE(largest, 70u * 1024);
}

TEST(HtmlConverter, EveryConversionStartsAfresh) {
    std::string text;
    HtmlConverter converter(text);
    // Ends inside a block, a comment and a script, with breaks pending.
    converter.Feed("<body><pre>a\n\n<script><!-- &#12");
    converter.Finish();
    EXPECT_EQ(text, "a");
    text.clear();
    converter.Feed("<p>no body yet<body>  b  c<br>");
    converter.Finish();
    EXPECT_EQ(text, "b c");
}

}  // namespace
