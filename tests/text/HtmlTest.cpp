#include <random>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "TestText.h"
#include "base/CodePage.h"
#include "text/HtmlCharset.h"
#include "text/HtmlConverter.h"

namespace {

// Empty: no declaration.
TEST(HtmlCharset, Declarations) {
    const std::string filler(1000, 'x');
    const std::pair<std::string, std::string> cases[] = {
        {"<meta charset=koi8-r>", "koi8-r"},
        {"<meta charset = \"ibm866\" >", "ibm866"},
        {"<meta/charset=cp1251>", "cp1251"},
        {"<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">",
         "windows-1251"},
        {"<Meta CONTENT='text/html;CHARSET=cp866' HTTP-EQUIV=content-type>", "cp866"},
        {"<meta http-equiv=content-type content=\"text/html; charset=utf-8; x=y\">", "utf-8"},
        {"<meta http-equiv=Content-Type content=\"text/html; charset='koi8-r'\">", "koi8-r"},
        {"<meta http-equiv=Content-Type content=\"text/html; charset=koi8-r\" charset=utf-8>",
         "utf-8"},
        {"<meta charset=koi8-r><meta charset=utf-8>", "koi8-r"},
        {"<meta charset=\"\"><meta charset=koi8-r>", "koi8-r"},
        {"<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<html>", "windows-1251"},
        {"<?xml version='1.0' encoding='utf-8'?><html><meta charset=koi8-r>", "koi8-r"},
        {filler + "<meta name=a content=\"" + std::string(100, 'y') + "\" charset=koi8-r>",
         "koi8-r"},
        {"", ""},
        {"<!--> <meta charset=koi8-r> -->", ""},
        {"<a title=\"<meta charset=koi8-r>\">x</a>", ""},
        {"<metadata charset=koi8-r>", ""},
        {"<meta content=\"text/html; charset=koi8-r\">", ""},
        {"<meta http-equiv=Content-Type content=text/html>", ""},
        {"<meta http-equiv=Content-Type content=\"text/html; charset='koi8-r\">", ""},
        {"<html><body>" + std::string(1100, 'x') + "<meta charset=koi8-r>", ""},
        {"<!--" + std::string(1100, 'x') + "--><meta charset=koi8-r>", ""},
        {" <?xml version=\"1.0\" encoding=\"koi8-r\"?>", ""},
        {"<meta http-equiv=content-type content=\"text/html; charset:koi8-r\">", ""},
    };
    for (const auto& [bytes, charset] : cases)
        EXPECT_EQ(DeclaredHtmlCharset(bytes).value_or(""), charset) << bytes;
}

// The same input fed in pieces of the given sizes, round robin, through a sink.
std::u32string ConvertInChunks(std::u32string_view html, const std::vector<std::size_t>& sizes,
                               HtmlConverter::Options options = {}) {
    std::u32string text;
    HtmlConverter converter([&](std::u32string_view piece) { text.append(piece); }, options);
    for (std::size_t i = 0, k = 0; i < html.size(); i += sizes[k++ % sizes.size()])
        converter.Feed(html.substr(i, sizes[k % sizes.size()]));
    converter.Feed({});
    converter.Finish();
    return text;
}

TEST(HtmlConverter, OnlyTheBodyIsKeptAndBecomesText) {
    const std::pair<std::u32string, std::u32string> cases[] = {
        {U"<html><p>Hello &amp; bye</p></html>", U""},
        {U"<BoDy class=\"x\"\nonload=\"f()\">Hi", U"Hi"},
        {U"<bodyguard>x", U"x"},
        {U"<bo<body>x", U""},
        {U"<body>  \r\n\t Hello", U"Hello"},
        {U"<bОdy>x<body>y", U"y"},
    };
    for (const auto& [html, text] : cases) EXPECT_EQ(ToUtf8(ConvertHtmlToText(html)), ToUtf8(text));
    // What follows "<body>".
    const std::pair<std::u32string, std::u32string> bodies[] = {
        {U"one<p>two", U"one\r\n\r\ntwo"},
        {U"one<p><P><h1>Title</h1><p>\n<h2>two", U"one\r\n\r\nTitle\r\n\r\ntwo"},
        {U"a<p\nclass=x>b", U"ab"},
        {U"a<br>b<BR/>c<br clear=all>d", U"a\r\nb\r\nc\r\nd"},
        {U"a</br>b</p>c</div>d</li>e", U"abcde"},
        {U"a<h7>b<hr>c<h>d<h6>e", U"abcd\r\n\r\ne"},
        {U"text<br><br><p>\n", U"text"},
        {U"<br><br><br>text", U"\r\n\r\ntext"},
        {U"a<br>&nbsp;b", U"a\r\n b"},
        {U"x<ul><li>one<LI>two</ul>y", U"x\r\n\r\none\r\ntwoy"},
        {U"<table><tr><th>a<td>b</td></tr></table>", U"\r\na\r\nb"},
        {U"a<div class=x>b</div>c", U"a\r\nbc"},
        {U"<dl><dt>Term<dd>Def</dl>", U"Term\r\n\tDef"},
        {U"<s>s</s><b>b</b><i>i</i><o>o</o><t>t</t><l>l", U"sbiotl"},
        {U"a < b and c > d", U"a  d"},
        {U"<SCRIPT type=x>s = '</span>';</ScRiPt >b", U"b"},
        {U"<script><</script>a</script>b", U"b"},
        {U"<style>p {color: red}</style>Text", U"p {color: red}Text"},
        {U"a<!-- x - y -- z --->b", U"ab"},
        {U"<!DOCTYPE html>text", U"OCTYPE html>text"},
        {U"a<!>b", U"ab"},
        {U"&amp;&lt;&gt;&quot;&reg;&copy &copy;", U"&<>\"\u00AE\u00A9 \u00A9"},
        {U"&mdash; &hellip; &mdash &hellip", U"\u2014 \u2026 &mdash &hellip"},
        {U"&CoPy; &Amp &NBSP;x &qUOt;&Reg", U"\u00A9 &  x \"\u00AE"},
        {U"a&nbsp;b&NonBreakingSpace;c&#160;d", U"a b c\u00A0d"},
        {U"&acE;&nvlt;", U"\u223E\u0333<\u20D2"},
        {U"&notin; &notit; &copy2004 &ampere;", U"\u2209 \u00ACit; \u00A92004 &ere;"},
        {U"&bogus; &mdashx; &zz", U"&bogus; &mdashx; &zz"},
        {U"&co  b&am<b>c&nb&amp;&q\nx", U"&co  b&am<b>c&nb&amp;&q\nx"},
        {U"&amp" + std::u32string(40, U'x') + U"; &" + std::u32string(40, U'y') + U";",
         U"&" + std::u32string(40, U'x') + U"; &" + std::u32string(40, U'y') + U";"},
        {U"a&NewLine;b&Tab;c", U"a\r\nb\tc"},
        {U"x&copy", U"x\u00A9"},
        {U"x&cop", U"x"},
        {U"<pre>&lt;x&gt;&amp;;&bogus &hellip;</pre>", U"<x>&;&bogus \u2026"},
        {U"&#150;&#x80;&#159;&#153;&#x8B;", U"\u2013\u20AC\u0178\u2122\u2039"},
        {U"&#129;&#x8D;&#143;&#144;&#x9D;", U"\u0081\u008D\u008F\u0090\u009D"},
        {U"&#0;&#xD800;&#57343;&#x110000;&#2147483648;&#xFFFFFFFF;",
         U"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
        {U"&#4294967361;&#x100000041;&#4294967296;", U"AA\uFFFD"},
        {U"&#;&#x;&#xg;&#-1;", U"&#;&#x;&#xg;&#-1;"},
        {U"&#65 &#x41<b>x&#1105", U"&#65 &#x41<b>x"},
        {U"a&#10;b&#13;c", U"a\r\nbc"},
        {U"&#" + std::u32string(70, U'1') + U"-x", U"&#" + std::u32string(62, U'1') + U"x"},
        {U"a &\nb", U"a &\nb"},
        {U"&<b>x", U"&<b>x"},
        {U"<pre>a\n\n\n\nb</pre>", U"a\r\n\r\n\r\n\r\nb"},
        {U"<PRE>a  b\r\n\tc</PRE>", U"a  b\r\n\tc"},
        {U"<pre class=x>a\n  b</pre>", U"a b"},
        {U"<pre>a\n\n\n\n</pre>b", U"a\r\n\r\nb"},
        {U"<pre>a<p>b<p class=x>c</pre>", U"a\r\n\r\nb\r\n\r\nc"},
        {U"<pre><pr>x<prx<pre y</pre>", U"<pr>x<prx<pre y"},
        {U"<pre>a</p>b</pa>c</pr>d</pre>", U"ab</pa>c</pr>d"},
        {U"<pre>a<h1>b</h1>c<hr>d</pre>", U"a\r\n\r\nb\r\n\r\ncd"},
        {U"<pre>a<>b<i>c</i></b>d</q>e</pre>", U"abcde"},
        {U"<pre>a<!xy</pre>", U"ay"},
        {U"<pre>a<pre>\n b</pre>c", U"a\r\n bc"},
    };
    for (const auto& [body, text] : bodies)
        EXPECT_EQ(ToUtf8(ConvertHtmlToText(U"<body>" + body)), ToUtf8(text)) << ToUtf8(body);
}

TEST(HtmlConverter, AnyChunkingGivesTheSameText) {
    std::mt19937 random(1234);
    // Single characters and pieces of references, so that random text meets every state.
    std::vector<std::u32string> pieces = {
        U"&amp",  U"&copy",  U"&notin",   U"&le",       U"&#x",  U"&#1", U"&acE",  U"&Co",
        U"<pre>", U"</pre>", U"<script>", U"</script>", U"<!--", U"-->", U"<body>"};
    for (const char32_t c : std::u32string_view(
             U"<>&;#!-/ \t\r\nabBdDeEhHiIlLmMnNoOpPqQrRsStTuUvVxXyY0123456789ёЖя\u00A0\U0001F600"))
        pieces.emplace_back(1, c);
    for (int n = 0; n < 300; ++n) {
        std::u32string input = U"<body>";
        for (std::size_t i = random() % 300; i > 0; --i) input += pieces[random() % pieces.size()];
        const std::u32string whole = ConvertHtmlToText(input);
        for (const auto& sizes : {std::vector<std::size_t>{1}, {2}, {3}, {7}, {1, 5, 2, 64}})
            ASSERT_EQ(ToUtf8(ConvertInChunks(input, sizes)), ToUtf8(whole)) << ToUtf8(input);
    }
}

// Long text reaches the sink in pieces of at most 70 KB; every conversion starts afresh.
TEST(HtmlConverter, PiecesAndFreshStarts) {
    std::u32string words = U"<body>";
    for (int i = 0; i < 20000; ++i) words += U"<p>слово &amp; word<pre>\n\n x</pre>";
    const std::u32string lines = U"<body><pre>" + std::u32string(300000, U'\n') + U"x";
    for (const std::u32string& html : {words, lines}) {
        std::vector<std::size_t> sizes;
        std::u32string text;
        HtmlConverter converter([&](std::u32string_view piece) {
            sizes.push_back(piece.size());
            text.append(piece);
        });
        converter.Feed(html);
        converter.Finish();
        EXPECT_TRUE(text == ConvertHtmlToText(html) && sizes.size() > 3);
        for (std::size_t size : sizes) EXPECT_TRUE(size > 0 && size <= 70u * 1024) << size;
    }
    std::u32string text;
    HtmlConverter converter(text);
    for (const auto& [html, expected] : {std::pair{U"<body><pre>a\n\n<script><!-- &#12", "a"},
                                         {U"<body>b&nbs", "b"},
                                         {U"<p>no body<body>  b  c<br>", "b c"}}) {
        text.clear();
        converter.Feed(html);
        converter.Finish();
        EXPECT_EQ(ToUtf8(text), expected);
    }
}

// XHTML mode, as e-books need it; the same inputs in the HTML mode show what the mode changes.
std::u32string Convert(std::u32string_view body, HtmlConverter::Options options) {
    std::u32string text;
    HtmlConverter converter(text, options);
    converter.Feed(U"<?xml version=\"1.0\"?><html><head><title>T</title></head><body>");
    converter.Feed(body);
    converter.Finish();
    return text;
}

TEST(XhtmlConverter, MarkupOfXhtmlAndHeadingSpans) {
    const std::tuple<std::u32string, std::u32string, std::u32string> cases[] = {
        {U"a <![CDATA[x < y && <b>z</b>]]> b", U"a x < y && <b>z</b> b", U"a CDATA[x z]]> b"},
        {U"<p><![CDATA[ one \n\t two ]]></p>", U"one two", U"\r\n\r\nCDATA[ one two ]]>"},
        {U"<![CDATA[a]b]]c]]]>!", U"a]b]]c]!", U"CDATA[a]b]]c]]]>!"},
        {U"<pre><![CDATA[ a\n  b ]]></pre>", U" a\r\n  b", U"CDATA[ a\r\n  b ]]>"},
        {U"a<![CDAT x]>b", U"a x]>b", U"aCDAT x]>b"},
        {U"one<p/>two<p />three", U"one\r\ntwo\r\nthree", U"onetwo\r\n\r\nthree"},
        {U"one<p\nclass=\"x\">two", U"one\r\ntwo", U"onetwo"},
        {U"one &nbsp;<p>two &nbsp;<br/>three", U"one\r\ntwo\r\nthree",
         U"one  \r\n\r\ntwo  \r\nthree"},
        {U"<p>one</p>\n<p>two</p>", U"one\r\ntwo", U"\r\n\r\none \r\n\r\ntwo"},
        {U"one<script src=\"a.js\"/>two", U"onetwo", U"one"},
        {U"word<span> next</span><u> u</u><del> d</del><sup> s</sup>", U"word next u d s",
         U"wordnextuds"},
        {U"<b> </b><p>x", U"x", U" \r\n\r\nx"},
        {U"<h1>Head</h1><p>text</p>", U"Head\r\ntext", U"\r\n\r\nHead\r\n\r\ntext"},
        {U"> <pre>", U"> ", U"> "},
        // Note references stand apart from their words; a plain link is text.
        {U"Savannah<a epub:type=\"noteref\" href=\"n.xhtml#n1\">1</a>, then<sup><a href='#n2'> "
         U"[2]</a></sup>word"
         U" <a href=\"#x\">plain</a><sup>3</sup><a\nrole=\"doc-noteref\"></a>.<sup><a href=\"#b\" "
         U"role=\"doc-backlink\">4</a></sup>",
         U"Savannah [1], then [2] word plain3.4", U"Savannah1, then [2]word plain3.4"},
        // Definition lists are blocks.
        {U"11 October 2011<dl><dt>This version</dt><dd><p>first</p></dd></dl>after",
         U"11 October 2011\r\nThis version\r\nfirst\r\nafter",
         U"11 October 2011This version\r\n\t\r\n\r\nfirstafter"},
    };
    for (const auto& [body, xhtml, html] : cases) {
        SCOPED_TRACE(ToUtf8(body));
        EXPECT_EQ(ToUtf8(Convert(body, {.xhtml = true})), ToUtf8(xhtml));
        EXPECT_EQ(ToUtf8(Convert(body, {})), ToUtf8(html));
        EXPECT_EQ(ToUtf8(ConvertInChunks(U"<body>" + body, {7}, {.xhtml = true})), ToUtf8(xhtml));
    }
    EXPECT_EQ(ToUtf8(ConvertInChunks(U"<html><head><title>x</title></head><p>lost</p>", {99},
                                     {.xhtml = true})),
              "");
    // Heading spans, as the outline takes them.
    const std::pair<std::u32string, std::vector<HtmlConverter::Span>> headings[] = {
        {U"<h1>Ab</h1><p>c</p><h2 id='x'>D</h2>", {{0, 2, 1}, {5, 8, 2}}},
        {U"<h1>A<h2>B</h2>", {{0, 1, 1}, {1, 4, 2}}},
        {U"a</h1>b", {}},
        {U"a <h1></h1> <h2>B</h2>", {{1, 1, 1}, {1, 4, 2}}},
        {U"<hr/><head>a</head><html>", {}},
        {U"<pre>a<h1>B</h1>c</pre>", {{1, 6, 1}}},
    };
    for (const auto& [body, expected] : headings) {
        std::vector<HtmlConverter::Span> spans;
        Convert(body, {.xhtml = true, .headings = &spans});
        EXPECT_EQ(spans, expected) << ToUtf8(body);
    }
    // Positions run on across the sink's pieces.
    const std::u32string filler(100000, U'x');
    std::vector<HtmlConverter::Span> spans;
    ConvertInChunks(U"<body>" + filler + U"<h1>A</h1>" + filler, {300000},
                    {.xhtml = true, .headings = &spans});
    EXPECT_EQ(spans, (std::vector<HtmlConverter::Span>{{100000, 100003, 1}}));
}

TEST(HtmlConverter, HeadingsMakeTheOutline) {
    const std::pair<std::u32string, std::string> cases[] = {
        {U"<h2>A\n b</h2><p>x</p><h3>C<br>D</h3>t<h2>E</h2>", "1:A b@4|2:C D@16|1:E@29"},
        {U"<h1>A</h1><h6> F </h6><h4></h4><h3>T</h3>", "1:A@4|3:F@9|2:T@15"},
        {U"x<pre>y<h5>P</h5>", "1:P@6"},
    };
    for (const auto& [body, outline] : cases) {
        std::vector<Heading> headings;
        ConvertHtmlToText(U"<body>" + body, &headings);
        EXPECT_EQ(OutlineString(headings), outline) << ToUtf8(body);
    }
}

}  // namespace
