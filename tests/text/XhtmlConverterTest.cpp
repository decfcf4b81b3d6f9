// The HTML-to-text machine in its XHTML mode, as e-books need it; the same
// inputs in the HTML mode show what the mode changes.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "base/CodePage.h"
#include "text/HtmlConverter.h"

namespace {

std::u32string Convert(std::u32string_view body, HtmlConverter::Options options) {
    std::u32string text;
    HtmlConverter converter(text, options);
    converter.Feed(U"<?xml version=\"1.0\"?><html><head><title>T</title></head><body>");
    converter.Feed(body);
    converter.Finish();
    return text;
}

// The same through a sink, fed in pieces of 7 characters.
std::u32string ConvertInPieces(std::u32string_view body, HtmlConverter::Options options) {
    const std::u32string html = U"<body>" + std::u32string(body);
    std::u32string text;
    HtmlConverter converter([&](std::u32string_view piece) { text.append(piece); }, options);
    for (std::size_t at = 0; at < html.size(); at += 7)
        converter.Feed(std::u32string_view(html).substr(at, 7));
    converter.Finish();
    return text;
}

TEST(XhtmlConverter, MarkupOfXhtml) {
    struct Case {
        const char* label;
        std::u32string body;
        std::u32string xhtml;
        std::u32string html;  // unchanged behaviour of the HTML mode
    };
    const std::vector<Case> cases = {
        {"CDATA as it stands", U"a <![CDATA[x < y && <b>z</b>]]> b", U"a x < y && <b>z</b> b",
         U"a CDATA[x z]]> b"},
        {"CDATA blanks collapse", U"<p><![CDATA[ one \n\t two ]]></p>", U"one two",
         U"\r\n\r\nCDATA[ one two ]]>"},
        {"CDATA brackets", U"<![CDATA[a]b]]c]]]>!", U"a]b]]c]!", U"CDATA[a]b]]c]]]>!"},
        {"CDATA empty", U"a<![CDATA[]]>b", U"ab", U"aCDATA[]]>b"},
        {"CDATA in pre", U"<pre><![CDATA[ a\n  b ]]></pre>", U" a\r\n  b", U"CDATA[ a\r\n  b ]]>"},
        {"not CDATA", U"a<![CDAT x]>b", U"a x]>b", U"aCDAT x]>b"},
        {"empty paragraphs", U"one<p/>two<p />three", U"one\r\ntwo\r\nthree",
         U"onetwo\r\n\r\nthree"},
        {"paragraph attributes after a line end", U"one<p\nclass=\"x\">two", U"one\r\ntwo",
         U"onetwo"},
        {"blanks before a break", U"one &nbsp;<p>two &nbsp;<br/>three", U"one\r\ntwo\r\nthree",
         U"one  \r\n\r\ntwo  \r\nthree"},
        {"paragraphs one break apart", U"<p>one</p>\n<p>two</p>", U"one\r\ntwo",
         U"\r\n\r\none \r\n\r\ntwo"},
        {"self-closed breaks", U"one<br/>two<br />three", U"one\r\ntwo\r\nthree",
         U"one\r\ntwo\r\nthree"},
        {"self-closed script", U"one<script src=\"a.js\"/>two", U"onetwo", U"one"},
        {"script with a slash inside", U"one<script>if (a/b) x();</script>two", U"onetwo",
         U"onetwo"},
        {"blanks after inline tags", U"word<span> next</span><u> u</u><del> d</del><sup> s</sup>",
         U"word next u d s", U"wordnextuds"},
        {"no break after blanks at the start", U"<b> </b><p>x", U"x", U" \r\n\r\nx"},
        {"apostrophe", U"it&apos;s", U"it's", U"it's"},
        {"heading", U"<h1>Head</h1><p>text</p>", U"Head\r\ntext", U"\r\n\r\nHead\r\n\r\ntext"},
        {"blank before a block left open", U"> <pre>", U"> ", U"> "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(ToUtf8(Convert(c.body, {.xhtml = true})), ToUtf8(c.xhtml));
        EXPECT_EQ(ToUtf8(Convert(c.body, {})), ToUtf8(c.html));
        EXPECT_EQ(ToUtf8(ConvertInPieces(c.body, {.xhtml = true})), ToUtf8(c.xhtml));
    }
}

TEST(XhtmlConverter, TextBeforeTheBodyIsDropped) {
    EXPECT_EQ(ToUtf8(Convert(U"", {.xhtml = true})), "");
    std::u32string text;
    HtmlConverter converter(text, {.xhtml = true});
    converter.Feed(U"<html><head><title>No body</title></head><p>lost</p></html>");
    converter.Finish();
    EXPECT_EQ(ToUtf8(text), "");
}

TEST(XhtmlConverter, HeadingSpans) {
    struct Case {
        const char* label;
        std::u32string body;
        std::vector<HtmlConverter::Span> spans;
    };
    const std::vector<Case> cases = {
        {"two headings", U"<h1>Ab</h1><p>c</p><h2 id='x'>D</h2>", {{0, 2}, {5, 8}}},
        {"unclosed at the end", U"x<h3>Ab", {{1, 5}}},
        {"next heading closes", U"<h1>A<h2>B</h2>", {{0, 1}, {1, 4}}},
        {"close without open", U"a</h1>b", {}},
        {"empty heading among blanks", U"a <h1></h1> <h2>B</h2>", {{1, 1}, {1, 4}}},
        {"not headings", U"<hr/><head>a</head><html>", {}},
        {"in pre", U"<pre>a<h1>B</h1>c</pre>", {{1, 6}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<HtmlConverter::Span> spans;
        const std::u32string text = Convert(c.body, {.xhtml = true, .headings = &spans});
        EXPECT_EQ(spans, c.spans) << ToUtf8(text);
    }
}

TEST(XhtmlConverter, HeadingSpansCountWhatTheSinkWasGiven) {
    // Positions run on across the sink's pieces.
    const std::u32string filler(100000, U'x');
    std::size_t length = 0;
    std::vector<HtmlConverter::Span> spans;
    HtmlConverter converter([&](std::u32string_view piece) { length += piece.size(); },
                            {.xhtml = true, .headings = &spans});
    converter.Feed(U"<body>" + filler + U"<h1>A</h1>" + filler);
    converter.Finish();
    EXPECT_EQ(length, 200005u);
    const std::vector<HtmlConverter::Span> expected = {{100000, 100003}};
    EXPECT_EQ(spans, expected);
}

}  // namespace
