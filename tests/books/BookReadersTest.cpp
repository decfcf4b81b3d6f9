#include <gtest/gtest.h>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "MemoryZip.h"
#include "RunChecks.h"
#include "TempFolder.h"
#include "TestText.h"
#include "books/BookLoader.h"
#include "books/DocxReader.h"
#include "books/EpubPackage.h"
#include "books/EpubReader.h"
#include "books/Fb2Reader.h"
#include "books/LineEndHyphen.h"
#include "books/ListNumbering.h"
#include "books/OdtReader.h"
#include "books/PdfReader.h"

namespace {

using Reader = LoadedText (*)(std::string_view, const BookLimits&, const BookProgress&);
const std::string kData = LMN_TEST_DATA "/books/";

std::string Sample(const std::string& name) {
    std::ostringstream bytes;
    bytes << std::ifstream(kData + name, std::ios::binary).rdbuf();
    return bytes.str();
}
std::string Bars(std::u32string_view text) {  // UTF-8, a "|" for each paragraph break
    std::string utf8 = ToUtf8(text);
    for (std::size_t at; (at = utf8.find("\r\n")) != std::string::npos;) utf8.replace(at, 2, "|");
    return utf8;
}

// Runs cover the text from 0 without gaps, neighbours differ; breaks are whole
// CR LF pairs; no other control character but tab.
void ExpectWellFormed(const LoadedText& book) {
    if (!book.runs.empty()) {
        ExpectRunsTileTheText(book.runs, book.text.size());
    }
    for (std::size_t i = 0; i < book.text.size(); ++i) {
        const char32_t c = book.text[i];
        if (c == '\r') {
            ASSERT_TRUE(i + 1 < book.text.size() && book.text[i + 1] == '\n');
        }
        if (c == '\n') {
            ASSERT_TRUE(i > 0 && book.text[i - 1] == '\r');
        }
        ASSERT_TRUE(c >= 0x20 || c == '\t' || c == '\r' || c == '\n') << i;
    }
    // Headings in order, each at the start of a paragraph.
    for (std::size_t i = 0; i < book.outline.size(); ++i) {
        const std::size_t at = book.outline[i].position;
        EXPECT_TRUE(at < book.text.size() && (at == 0 || book.text[at - 1] == '\n') &&
                    (i == 0 || at >= book.outline[i - 1].position) && book.outline[i].level > 0);
    }
}

// The outline as "level:title@position|...".
std::string Headings(const LoadedText& book) {
    std::string out;
    for (const Heading& h : book.outline)
        out += (out.empty() ? "" : "|") + std::to_string(h.level) + ":" + ToUtf8(h.title) + "@" +
               std::to_string(h.position);
    return out;
}

// Bold and italic of the first and last character of each piece of text:
// "piece=b|piece=i|piece=" for bold, italic, neither.
void ExpectLooks(const LoadedText& book, const std::string& looks) {
    for (std::size_t from = 0, to; from < looks.size(); from = to + 1) {
        to = std::min(looks.find('|', from), looks.size());
        const std::string look = looks.substr(from, to - from);
        const std::size_t equals = look.rfind('=');
        const std::u32string piece = FromUtf8(look.substr(0, equals));
        const std::size_t at = book.text.View().find(piece);
        ASSERT_NE(at, std::u32string::npos) << look;
        for (const std::size_t i : {at, at + piece.size() - 1}) {
            const auto run = std::find_if(
                book.runs.begin(), book.runs.end(),
                [&](const TextRun& r) { return i >= r.start && i < r.start + r.length; });
            const CharFormat format = run == book.runs.end() ? CharFormat{} : run->format;
            EXPECT_EQ(std::string(format.bold ? "b" : "") + (format.italic ? "i" : ""),
                      look.substr(equals + 1))
                << look;
        }
    }
}

const char* const kContainer =
    R"(<?xml version="1.0"?><container version="1.0" xmlns="urn:oasis:names:tc:opendocument:xmlns:container">)"
    R"(<rootfiles><rootfile full-path="OEBPS/content.opf" media-type="application/oebps-package+xml"/>)"
    R"(</rootfiles></container>)";

// clang-format off
std::string Chapter(std::string_view body) {
    return R"(<?xml version="1.0" encoding="UTF-8"?><html xmlns="http://www.w3.org/1999/xhtml"><head><title>t</title></head><body>)" + std::string(body) + "</body></html>";
}
std::string Item(const char* id, const char* href, const char* extra = "") {
    return std::string("<item id=\"") + id + "\" href=\"" + href + "\" media-type=\"application/xhtml+xml\"" + extra + "/>";
}
const std::string kAbc = Item("a", "a.xhtml") + Item("b", "b.xhtml") + Item("c", "c.xhtml");

MemoryZipEntry Package(std::string_view manifest, std::string_view spine) {
    return {"OEBPS/content.opf", R"(<?xml version="1.0" encoding="UTF-8"?><package xmlns="http://www.idpf.org/2007/opf" version="3.0">)"
            R"(<metadata xmlns:dc="http://purl.org/dc/elements/1.1/"><dc:title>T</dc:title></metadata><manifest>)" + std::string(manifest) +
            "</manifest><spine>" + std::string(spine) + "</spine></package>"};
}

// An EPUB of the chapters "One", "Two", "Three", changed: an entry with no
// data is left out, one of a known name replaced, any other added.
std::string Epub(std::vector<MemoryZipEntry> changes = {}) {
    std::vector<MemoryZipEntry> entries = {
        {"mimetype", "application/epub+zip", true},
        {"META-INF/container.xml", kContainer},
        Package(kAbc, R"(<itemref idref="a"/><itemref idref="b"/><itemref idref="c"/>)"),
        {"OEBPS/a.xhtml", Chapter("<p>One</p>")},
        {"OEBPS/b.xhtml", Chapter("<p>Two</p>")},
        {"OEBPS/c.xhtml", Chapter("<p>Three</p>")}};
    for (MemoryZipEntry& change : changes) {
        const auto same = std::find_if(entries.begin(), entries.end(), [&](const MemoryZipEntry& e) { return e.name == change.name; });
        if (same == entries.end()) entries.push_back(std::move(change));
        else if (change.data.empty()) entries.erase(same);
        else *same = std::move(change);
    }
    return MakeMemoryZip(entries);
}

MemoryZipEntry Encryption(std::string_view uri, std::string_view algorithm) {
    return {"META-INF/encryption.xml", R"(<encryption xmlns="urn:oasis:names:tc:opendocument:xmlns:container" xmlns:enc="http://www.w3.org/2001/04/xmlenc#">)"
            R"(<enc:EncryptedData><enc:EncryptionMethod Algorithm=")" + std::string(algorithm) + R"("/><enc:CipherData><enc:CipherReference URI=")" +
            std::string(uri) + R"("/></enc:CipherData></enc:EncryptedData></encryption>)"};
}
std::string SmallFb2(std::string_view declaration, std::string_view paragraph) {
    return std::string(declaration) + "<FictionBook><description><title-info><book-title>Book</book-title></title-info></description><body><section><p>" +
           std::string(paragraph) + "</p></section></body></FictionBook>";
}
// clang-format on

// Entities that would expand to a billion characters.
std::string Laughs(const std::string& root, const std::string& body) {
    std::string xml = "<?xml version=\"1.0\"?><!DOCTYPE " + root + " [<!ENTITY l0 \"lol\">";
    for (int i = 1; i <= 9; ++i) {
        xml += "<!ENTITY l" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) xml += "&l" + std::to_string(i - 1) + ";";
        xml += "\">";
    }
    return xml + "<!ENTITY loop \"&loop;\">]>" + body;
}

constexpr const char* kW =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";
const std::string kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";

// The main part found through the package relationships, the notes and
// styles through the main part's, in folders of their own.
std::string HandDocx() {
    const std::string document =
        std::string("<w:document ") + kW + "><w:body>" +
        R"(<w:p><w:pPr><w:outlineLvl w:val="0"/></w:pPr><w:r><w:t>Outline heading</w:t></w:r></w:p>
<w:p><w:pPr><w:pStyle w:val="MyQuote"/></w:pPr><w:r><w:t xml:space="preserve">Quoted </w:t></w:r><w:r><w:rPr><w:i w:val="0"/></w:rPr><w:t>upright</w:t></w:r></w:p>
<w:p><w:r><w:rPr><w:rStyle w:val="MyStrong"/></w:rPr><w:t>strong</w:t></w:r><w:r><w:t xml:space="preserve"> kept</w:t></w:r><w:r><w:rPr><w:vanish/></w:rPr><w:t>hidden</w:t></w:r><w:r><w:rPr><w:vanish w:val="0"/></w:rPr><w:t xml:space="preserve"> shown</w:t></w:r><w:del><w:r><w:delText>gone</w:delText></w:r></w:del><w:ins><w:r><w:t xml:space="preserve"> added</w:t></w:r></w:ins><w:r><w:tab/><w:t>after tab</w:t><w:br/><w:t>next line</w:t></w:r><w:r><w:endnoteReference w:id="5"/></w:r><w:r><w:footnoteReference w:id="3"/></w:r><w:r><w:footnoteReference w:id="3"/></w:r></w:p>
<w:tbl><w:tr><w:tc><w:p><w:r><w:t>a1</w:t></w:r></w:p><w:p><w:r><w:t>a2</w:t></w:r></w:p></w:tc><w:sdt><w:sdtContent><w:tc><w:p><w:r><w:t>s1</w:t></w:r></w:p></w:tc></w:sdtContent></w:sdt><w:tc><w:tbl><w:tr><w:tc><w:p><w:r><w:t>n1</w:t></w:r></w:p></w:tc><w:tc><w:p><w:r><w:t>n2</w:t></w:r></w:p></w:tc></w:tr></w:tbl></w:tc><w:tc/></w:tr></w:tbl>
<w:p><w:r><w:drawing><w:t>not shown</w:t></w:drawing><w:instrText>PAGE</w:instrText><w:t>end &amp; &unknown;</w:t></w:r></w:p>
</w:body></w:document>)";
    const std::string styles =
        std::string("<w:styles ") + kW + ">" +
        R"(<w:style w:type="paragraph" w:styleId="MyQuote"><w:rPr><w:i/></w:rPr></w:style>
<w:style w:type="character" w:styleId="StrongBase"><w:rPr><w:b/></w:rPr></w:style>
<w:style w:type="character" w:styleId="MyStrong"><w:basedOn w:val="StrongBase"/></w:style>
<w:style w:type="character" w:styleId="Loop"><w:basedOn w:val="Loop"/></w:style></w:styles>)";
    const std::string footnotes =
        std::string("<w:footnotes ") + kW + ">" +
        R"(<w:footnote w:type="separator" w:id="-1"><w:p><w:r><w:separator/></w:r></w:p></w:footnote>
<w:footnote w:id="4"><w:p><w:r><w:t>never cited</w:t></w:r></w:p></w:footnote>
<w:footnote w:id="5"><w:p><w:r><w:t>same id as the endnote</w:t></w:r></w:p></w:footnote>
<w:footnote w:id="3"><w:p><w:r><w:footnoteRef/></w:r><w:r><w:t xml:space="preserve"> foot</w:t></w:r></w:p></w:footnote></w:footnotes>)";
    const std::string endnotes =
        std::string("<w:endnotes ") + kW + ">" +
        R"(<w:endnote w:id="5"><w:p><w:r><w:endnoteRef/></w:r><w:r><w:t xml:space="preserve"> end-note text</w:t></w:r></w:p></w:endnote></w:endnotes>)";
    const auto rel = [](const char* type, const char* target) {
        return std::string("<Relationship Id=\"") + type + "\" Type=\"" + kRel + type +
               "\" Target=\"" + target + "\"/>";
    };
    const char* const rels =
        "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">";
    return MakeMemoryZip(
        {{"_rels/.rels", rels + rel("officeDocument", "/doc/main.xml") + "</Relationships>"},
         {"doc/_rels/main.xml.rels", rels + rel("footnotes", "notes/fn.xml") +
                                         rel("endnotes", "notes/en.xml") + rel("styles", "st.xml") +
                                         "</Relationships>"},
         {"doc/main.xml", document},
         {"doc/st.xml", styles},
         {"doc/notes/fn.xml", footnotes},
         {"doc/notes/en.xml", endnotes},
         {"word/document.xml", "<w:document/>"}});
}

const std::string kOdtNs =
    R"(xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0")";

std::string HandOdt() {
    const std::string content =
        "<office:document-content " + kOdtNs + ">" + R"(<office:automatic-styles>
 <style:style style:name="T1" style:family="text" style:parent-style-name="Strong"/>
 <style:style style:name="T2" style:family="text"><style:text-properties fo:font-style="italic"/></style:style>
 <style:style style:name="P1" style:family="paragraph"><style:text-properties fo:font-weight="bold"/></style:style>
 <style:style style:name="P2" style:family="paragraph"><style:text-properties fo:font-weight="800"/></style:style>
 <style:style style:name="P3" style:family="paragraph" style:parent-style-name="Plain"/>
</office:automatic-styles>
<office:body><office:text>
<text:sequence-decls><text:sequence-decl text:name="Figure"/></text:sequence-decls>
<text:tracked-changes><text:changed-region><text:deletion><text:p>gone</text:p></text:deletion></text:changed-region></text:tracked-changes>
<text:h text:outline-level="1">Heading <text:span text:style-name="T2">slanted</text:span></text:h>
<text:p>a<text:s text:c="3"/>b <text:tab/>c
   d <text:span text:style-name="T1">strong</text:span><draw:frame><draw:text-box><text:p>boxed</text:p></draw:text-box></draw:frame><office:annotation><text:p>comment</text:p></office:annotation></text:p>
<text:p text:style-name="P1">bold paragraph</text:p><text:p text:style-name="P2">heavy</text:p><text:p text:style-name="P3">plain</text:p>
<text:p text:style-name="Outlined">styled heading</text:p><text:p text:style-name="Title">title</text:p>
<text:p text:style-name="C2">sixteen</text:p><text:p text:style-name="C1">seventeen</text:p>
<text:list>stray<text:list-item><text:p>one</text:p><text:list><text:list-item><text:p>nested</text:p></text:list-item></text:list></text:list-item></text:list>
<table:table><table:table-row><table:table-cell table:number-columns-spanned="2"><text:p>wide</text:p></table:table-cell><table:covered-table-cell/><table:table-cell><text:p>x</text:p><text:p>y</text:p></table:table-cell></table:table-row></table:table>
<text:p>Note<text:note text:note-class="endnote"><text:note-citation>i</text:note-citation><text:note-body><text:p>endnote</text:p></text:note-body></text:note> and<text:note text:note-class="footnote"><text:note-citation>1</text:note-citation><text:note-body><text:p><text:s/>foot</text:p><text:p>second</text:p></text:note-body></text:note>.</text:p>
</office:text></office:body></office:document-content>)";
    std::string styles = "<office:document-styles " + kOdtNs + ">" + R"(<office:styles>
<style:style style:name="Strong" style:family="text"><style:text-properties fo:font-weight="700"/></style:style>
<style:style style:name="Plain" style:family="paragraph"/>
<style:style style:name="Outlined" style:family="paragraph" style:default-outline-level="2"/>
<style:style style:name="Title" style:family="paragraph"/>)";
    // A chain of styles is followed 16 deep: C2 reaches the bold C17, C1 does not.
    for (int i = 1; i < 17; ++i)
        styles += "<style:style style:name=\"C" + std::to_string(i) +
                  "\" style:family=\"paragraph\" style:parent-style-name=\"C" +
                  std::to_string(i + 1) + "\"/>";
    styles +=
        R"(<style:style style:name="C17" style:family="paragraph"><style:text-properties fo:font-weight="bold"/></style:style>)"
        "</office:styles></office:document-styles>";
    const std::string meta = "<office:document-meta " + kOdtNs +
                             "><office:meta><dc:creator>Last Editor</dc:creator><dc:title> "
                             "Заголовок\n  книги </dc:title></office:meta></office:document-meta>";
    return MakeMemoryZip({{"content.xml", content}, {"styles.xml", styles}, {"meta.xml", meta}});
}

// clang-format off
// Lists numbered through word/numbering.xml: levels, restarts, an override,
// Word's symbol-font bullet, a style chain's list and a paragraph's numId 0.
std::string ListDocx() {
    const auto p = [](const std::string& properties, const char* text) { return "<w:p><w:pPr>" + properties + "</w:pPr><w:r><w:t>" + text + "</w:t></w:r></w:p>"; };
    const auto num = [](const char* id, const char* level) { return std::string("<w:numPr><w:ilvl w:val=\"") + level + "\"/><w:numId w:val=\"" + id + "\"/></w:numPr>"; };
    const auto lvl = [](int level, const char* format, const char* text, const char* extra = "") { return "<w:lvl w:ilvl=\"" + std::to_string(level) + "\"><w:numFmt w:val=\"" + format + "\"/><w:lvlText w:val=\"" + text + "\"/>" + extra + "</w:lvl>"; };
    const std::string style = "<w:pStyle w:val=\"MyList\"/>";
    const auto s = [](const char* id) { return std::string("<w:pStyle w:val=\"") + id + "\"/>"; };
    const std::string body = p(s("Heading1") + num("1", "0"), "One") + p(s("H2") + num("1", "1"), "Sub") + p(num("1", "1"), "Sub2") + p(num("1", "2") + "<w:outlineLvl w:val=\"2\"/>", "Deep") +
        p(s("Chain") + num("1", "0"), "Two") + p(num("1", "1"), "Sub3") + p(num("2", "0"), "Dot") + p(num("2", "1"), "Circle") + p(s("Body") + num("3", "0"), "Five") + p(style, "R1") +
        p(style + "<w:numPr><w:ilvl w:val=\"1\"/></w:numPr>", "N") + p(style, "R2") + p(style + "<w:numPr><w:ilvl w:val=\"1\"/></w:numPr>", "N2") +
        p(style + "<w:numPr><w:numId w:val=\"0\"/></w:numPr>", "Plain") + p(s("Title") + num("9", "0"), "Unknown");
    const std::string numbering = std::string("<w:numbering ") + kW + "><w:abstractNum w:abstractNumId=\"10\">" + lvl(0, "decimal", "%1.") + lvl(1, "lowerLetter", "%2.") +
        lvl(2, "lowerRoman", "%1.%2.%3.") + "</w:abstractNum><w:abstractNum w:abstractNumId=\"20\">" + lvl(0, "bullet", "\xEF\x82\xB7") + lvl(1, "bullet", "o") +
        "</w:abstractNum><w:abstractNum w:abstractNumId=\"30\">" + lvl(0, "upperRoman", "%1)") + lvl(1, "decimal", "%2", "<w:lvlRestart w:val=\"0\"/>") + "</w:abstractNum>" +
        "<w:num w:numId=\"1\"><w:abstractNumId w:val=\"10\"/></w:num><w:num w:numId=\"2\"><w:abstractNumId w:val=\"20\"/></w:num><w:num w:numId=\"3\"><w:abstractNumId w:val=\"10\"/>"
        "<w:lvlOverride w:ilvl=\"0\"><w:startOverride w:val=\"5\"/></w:lvlOverride></w:num><w:num w:numId=\"4\"><w:abstractNumId w:val=\"30\"/></w:num></w:numbering>";
    const std::string styles = std::string("<w:styles ") + kW + "><w:style w:styleId=\"Base\"><w:pPr><w:numPr><w:numId w:val=\"4\"/></w:numPr></w:pPr></w:style>"
        "<w:style w:styleId=\"MyList\"><w:basedOn w:val=\"Base\"/></w:style><w:style w:styleId=\"Heading1\"/><w:style w:styleId=\"H2\"><w:name w:val=\"heading 2\"/></w:style>"
        "<w:style w:styleId=\"Outlined\"><w:pPr><w:outlineLvl w:val=\"1\"/></w:pPr></w:style><w:style w:styleId=\"Chain\"><w:basedOn w:val=\"Outlined\"/></w:style>"
        "<w:style w:styleId=\"Body\"><w:basedOn w:val=\"Heading1\"/><w:pPr><w:outlineLvl w:val=\"9\"/></w:pPr></w:style><w:style w:styleId=\"Title\"/></w:styles>";
    return MakeMemoryZip({{"word/document.xml", std::string("<w:document ") + kW + "><w:body>" + body + "</w:body></w:document>"}, {"word/numbering.xml", numbering}, {"word/styles.xml", styles}});
}

// Lists of ODT: nesting gives the level; a start value, a header, an item that
// only nests, numbering that goes on from the list before and one that starts again.
std::string ListOdt() {
    const auto item = [](const std::string& inner, const char* attributes = "") { return std::string("<text:list-item") + attributes + ">" + inner + "</text:list-item>"; };
    const auto p = [](const char* text) { return std::string("<text:p>") + text + "</text:p>"; };
    const auto list = [](const std::string& items, const char* attributes = "") { return std::string("<text:list") + attributes + ">" + items + "</text:list>"; };
    const std::string content = "<office:document-content " + kOdtNs + "><office:automatic-styles><text:list-style style:name=\"L1\">"
        R"x(<text:list-level-style-number text:level="1" style:num-format="1" style:num-suffix="."/><text:list-level-style-number text:level="2" style:num-format="a" style:num-suffix=")"/>)x"
        R"x(<text:list-level-style-number text:level="3" style:num-format="I" text:display-levels="3" style:num-prefix="(" style:num-suffix=")"/></text:list-style>)x"
        R"(<text:list-style style:name="B"><text:list-level-style-bullet text:level="1" text:bullet-char="–" style:num-suffix="."/><text:list-level-style-bullet text:level="2" text:bullet-char="&#xF0B7;"/></text:list-style>)"
        "</office:automatic-styles><office:body><office:text>" +
        list(item(p("One")) + item(p("Two") + list(item(p("Sub")) + item(p("Sub2") + list(item("<text:h text:outline-level=\"3\">Deep</text:h>"))))) + item(p("Seven") + p("more"), " text:start-value=\"7\"") +
             "<text:list-header><text:h>Header</text:h></text:list-header>" + item(list(item(p("Inner")))), " text:style-name=\"L1\"") + p("Between") +
        list(item(p("Eight")), " text:style-name=\"L1\" text:continue-numbering=\"true\"") + list(item(p("Again")), " text:style-name=\"L1\"") +
        list(item(p("Dash") + list(item(p("Symbol")))), " text:style-name=\"B\"") + "</office:text></office:body></office:document-content>";
    return MakeMemoryZip({{"content.xml", content}});
}
// clang-format on

TEST(BookReaders, SamplesGiveTheirTextLooksAndMetadata) {
    // clang-format off
    const std::string office = "Две страны=b|Первая глава=b|Chapter Two=b|первый=i|жирным=b|Это =|Apple=";
    const std::string fb2 = "Зимний вечер=b|Глава первая=b|* * *=b|Стихи=b|Месяц=b|Январь=|чудесный=i|друг прелестный=b|Мороз=|Примечания=b";
    const std::string pdf = "Глава первая. Город=b|Стихотворение=b|Chapter Two. Tables=b|Это первый абзац=|Мороз и солнце=|Апельсин=";
    const std::string epub = "Зимний вечер=b";
    // clang-format on
    const char *const twoCountries = "Две страны — Two Countries",
                      *const winter = "Зимний вечер и другие страницы";
    // clang-format off
    const std::tuple<const char*, const char*, const char*, const char*, const std::string*> rows[] = {
        {"pandoc-epub3.epub", "pandoc-epub.txt", "Анна Петрова, John Smith", winter, &epub},
        {"pandoc-epub2.epub", "pandoc-epub.txt", "Анна Петрова, John Smith", winter, &epub},
        // LibreOffice writes headings as styled paragraphs, both authors in one creator.
        {"libreoffice.epub", "libreoffice.txt", "Анна Петрова; John Smith", winter, nullptr},
        {"hand-1251.fb2", "hand-1251.txt", "Антон Павлович Чехов, Jane Doe", "Зимний вечер", &fb2},
        {"hand-1251.fb2.zip", "hand-1251.txt", "Антон Павлович Чехов, Jane Doe", "Зимний вечер", &fb2},
        {"pandoc.fb2", "pandoc.fb2.txt", "Мария Иванова, John Smith", twoCountries, nullptr},
        {"pandoc.docx", "office.txt", "Мария Иванова, John Smith", twoCountries, &office},
        {"pandoc.odt", "office.txt", "Мария Иванова, John Smith", twoCountries, &office},
        {"libreoffice.odt", "office.txt", "Мария Иванова, John Smith", twoCountries, &office},
        {"libreoffice.docx", "libreoffice.docx.txt", "Мария Иванова, John Smith", twoCountries, &office},
        {"sample.pdf", "sample.pdf.txt", "Анна Иванова", "Образцы текста", &pdf},
    };
    // clang-format on
    // Each through the loader, its kind taken from its name as the program takes it.
    for (const auto& [file, expected, author, title, looks] : rows) {
        SCOPED_TRACE(file);
        const std::optional<DocumentKind> kind = DocumentKindFromPath(kData + file);
        ASSERT_TRUE(kind && IsBookKind(*kind));
        const LoadedText book = LoadAnyDocument(kData + file, *kind, {});
        ASSERT_EQ(book.error, LoadError::None);
        std::string text = ToUtf8(book.text.ToString());
        if (file == std::string("sample.pdf"))
            std::erase(text, '\r');  // one paragraph a line, to be checked by eye
        EXPECT_EQ(text, Sample(expected));
        EXPECT_EQ(ToUtf8(book.author), author);
        EXPECT_EQ(ToUtf8(book.title), title);
        ExpectWellFormed(book);
        if (looks) ExpectLooks(book, *looks);
    }
}

// What a load gives: the text, "|" for a break, and " ~N%" for damage after N % of the file;
// or "!" and the error.
std::string Outcome(const LoadedText& book) {
    const char* const errors[] = {"",        "OpenFailed", "TooLarge", "BookTooLarge",
                                  "Damaged", "Encrypted",  "NoText",   "Cancelled"};
    if (book.error != LoadError::None)
        return std::string("!") + errors[static_cast<int>(book.error)];
    const std::optional<int> damage = book.damagedAtPercent;
    return Bars(book.text.ToString()) + (damage ? " ~" + std::to_string(*damage) + "%" : "");
}

TEST(BookReaders, BuiltBooksGiveTheirTextOrSayWhatIsWrong) {
    const std::string epub = Epub(), docx = Sample("pandoc.docx"), body = "Съешь же ещё";
    const std::string aes = "http://www.w3.org/2001/04/xmlenc#aes128-cbc";
    const std::string encryptedManifest =
        R"(<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"><manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"><manifest:encryption-data manifest:checksum-type="SHA1/1K" manifest:checksum="x"><manifest:algorithm manifest:algorithm-name="Blowfish CFB"/></manifest:encryption-data></manifest:file-entry></manifest:manifest>)";
    std::string deep = "<FictionBook><body><section><p>Начало</p>";
    for (int i = 0; i < 100000; ++i) deep += "<section>";
    for (int i = 0; i < 100000; ++i) deep += i ? "</section>" : "<p>глубоко</p></section>";
    deep += "<p>Конец</p></section></body></FictionBook>";
    std::string utf16 = "\xFF\xFE";
    for (char32_t c : FromUtf8(SmallFb2(R"(<?xml version="1.0" encoding="UTF-16"?>)", body)))
        utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    const std::string docxLaughs =
        Laughs("w:document",
               std::string("<w:document ") + kW +
                   "><w:body><w:p><w:r><w:t>a &l9; b</w:t></w:r></w:p></w:body></w:document>");
    const std::string fb2Laughs = Laughs(
        "FictionBook",
        "<FictionBook><body><p>Смех &l9; и &loop; и &undefined; конец</p></body></FictionBook>");
    struct Row {
        Reader read;
        std::string bytes, outcome, outline = {};
    };
    // clang-format off
    const Row rows[] = {
        // EPUB: headings, the spine's order without navigation, NCX or non-linear
        // parts, paths relative and percent-decoded, missing parts skipped.
        {ReadEpub, Epub({{"OEBPS/a.xhtml", Chapter("<h1>Title <i>x</i></h1>\n<p>Body</p><h2 class=\"s\">Sub</h2>")}}), "Title x|Body|Sub|Two|Three", "1:Title x@0|2:Sub@15"},
        {ReadEpub, Epub({Package(kAbc, R"(<itemref idref="c"/><itemref idref="a"/><itemref idref="b"/>)")}), "Three|One|Two"},
        {ReadEpub, Epub({Package(Item("nav", "nav.xhtml", " properties=\"scripted nav\"") + R"(<item id="ncx" href="toc.ncx" media-type="application/x-dtbncx+xml"/>)" + kAbc,
                                 R"(<itemref idref="nav"/><itemref idref="ncx"/><itemref idref="a"/><itemref idref="b" linear="no"/><itemref idref="c" linear="yes"/>)"),
                         {"OEBPS/nav.xhtml", Chapter("<nav>Contents</nav>")}, {"OEBPS/toc.ncx", "<ncx>Contents</ncx>"}}), "One|Three"},
        {ReadEpub, Epub({Package(Item("a", "a.xhtml") + Item("b", "Text/../../Other%20Folder/%D0%B3%D0%BB.xhtml#top"), R"(<itemref idref="a"/><itemref idref="b"/>)"),
                         {"Other Folder/гл.xhtml", Chapter("<p>Глава</p>")}}), "One|Глава"},
        {ReadEpub, Epub({{"OEBPS/b.xhtml", ""}}), "One|Three"},
        {ReadEpub, Epub({Package(Item("a", "a.xhtml"), R"(<itemref idref="x"/><itemref idref="a"/>)")}), "One"},
        // Each chapter in its own encoding, UTF-8 when it declares none.
        {ReadEpub, Epub({{"OEBPS/b.xhtml", "<?xml version='1.0' encoding='windows-1251'?><html><body><p>\xC4\xE2\xE0</p></body></html>"},
                         {"OEBPS/c.xhtml", "<html><body><p>Три &apos;3&apos;</p></body></html>"}}), "One|Два|Три '3'"},
        // Encrypted fonts and pictures do not matter, chapters and passwords do.
        {ReadEpub, Epub({Encryption("OEBPS/fonts/a.otf", "http://www.idpf.org/2008/embedding")}), "One|Two|Three"},
        {ReadEpub, Epub({Encryption("OEBPS/%62.xhtml", aes)}), "!Encrypted"},
        {ReadEpub, Epub({{"OEBPS/c.xhtml", Chapter("<p>Three</p>"), false, "secret"}}), "!Encrypted"},
        {ReadEpub, Epub({{"META-INF/container.xml", kContainer, false, "secret"}}), "!Encrypted"},
        {ReadEpub, "", "!Damaged"}, {ReadEpub, "<html><body>text</body></html>", "!Damaged"},
        {ReadEpub, epub.substr(0, epub.size() / 2), "!Damaged"}, {ReadEpub, epub.substr(0, epub.size() - 10), "!Damaged"},
        {ReadEpub, Epub({{"META-INF/container.xml", ""}}), "!Damaged"},
        {ReadEpub, Epub({{"OEBPS/content.opf", ""}}), "!Damaged"},
        {ReadEpub, Epub({{"OEBPS/a.xhtml", ""}, {"OEBPS/b.xhtml", ""}, {"OEBPS/c.xhtml", ""}}), "!Damaged"},
        {ReadEpub, Epub({{"OEBPS/a.xhtml", Chapter("<img src='1.jpg'/>")}, {"OEBPS/b.xhtml", Chapter(" ")}, {"OEBPS/c.xhtml", Chapter("")}}), "!NoText"},
        {ReadEpub, Epub({Package(R"(<item id="p" href="p.jpg" media-type="image/jpeg"/>)", R"(<itemref idref="p"/>)"), {"OEBPS/p.jpg", "\xFF\xD8"}}), "!NoText"},
        // Note references stand apart from their words; other links are text.
        {ReadEpub, Epub({{"OEBPS/a.xhtml", Chapter(R"(<p>Savannah<a epub:type="noteref" href="n.xhtml#n1">1</a>, then<sup><a href="#n2">[2]</a></sup>and <a href="#x">a link</a>.</p>)")}}),
         "Savannah [1], then [2] and a link.|Two|Three"},
        // FB2 in the encoding it declares or marks.
        {ReadFb2, SmallFb2("", body) + "</x><", body},  // broken after the end: whole
        {ReadFb2, "\xEF\xBB\xBF" + SmallFb2("", body), body},
        {ReadFb2, SmallFb2(R"(<?xml version="1.0" encoding="windows-1251"?>)", "\xD1\xFA\xE5\xF8\xFC \xE6\xE5 \xE5\xF9\xB8"), body},
        {ReadFb2, SmallFb2("<?xml version='1.0' encoding='KOI8-R'?>", "\xF3\xDF\xC5\xDB\xD8 \xD6\xC5 \xC5\xDD\xA3"), body},
        {ReadFb2, utf16, body},
        // A damaged book gives what comes before the damage and where it is.
        {ReadFb2, "<FictionBook><body><section><p>Первый абзац.</p><p>Второй</p><p", "Первый абзац.|Второй ~98%"},
        {ReadFb2, "<FictionBook><body><section><p>Первый абзац.</p><p>Второй абз", "Первый абзац.|Второй абз ~98%"},
        {ReadFb2, SmallFb2("", body + "</p></section></body><body name='notes'><p>n</p><p>a < b"), body + "|n|a ~83%", "1:Примечания@14"},
        {ReadFb2, "<FictionBook><body><section><image l:href=\"#p\"/></section></body></FictionBook>", "!NoText"},
        {ReadFb2, "<FictionBook><body> </body></FictionBook>", "!NoText"},
        {ReadFb2, "<FictionBook><body><p>dites<a l:href=\"#n1\" type=\"note\">1</a> et<a type=\"note\"> [2] </a>.</p></body></FictionBook>", "dites [1] et [2]."},
        {ReadFb2, fb2Laughs, "Смех &l9; и &loop; и &undefined; конец"},  // never expanded
        {ReadFb2, deep, "Начало|Конец"},
        // Titled sections nest, untitled ones add no level; the notes are one heading, a poem's title none.
        {ReadFb2, "<FictionBook><body><title><p>Книга</p></title><section><title><p>Часть</p><p>первая</p></title><section><title><p>Глава 1</p></title><p>a</p><poem><title><p>Стихи</p></title><stanza><v>v</v></stanza></poem></section>"
                  "<section><p>b</p><section><title><p>Вложенная</p></title><p>c</p></section></section></section><section><title><p>Часть 2</p></title><p>d</p></section></body>"
                  "<body name=\"notes\"><section><title><p>1</p></title><p>n</p></section></body><body name=\"comments\"><title><p>Комментарии</p></title><p>c</p></body></FictionBook>",
         "Книга|Часть|первая|Глава 1|a|Стихи|v|b|Вложенная|c|Часть 2|d|1|n|Комментарии|c", "1:Часть первая@7|2:Глава 1@22|2:Вложенная@47|1:Часть 2@61|1:Примечания@73|1:Комментарии@79"},
        {ReadFb2, "<FictionBook><body><empty-line/><section><empty-line/><p>a</p><empty-line/><empty-line/><p>b</p><empty-line/></section></body></FictionBook>", "a|||b"},
        {ReadFb2, "", "!Damaged"}, {ReadFb2, "Просто текст, не XML.", "!Damaged"}, {ReadFb2, "<html><body><p>text</p></body></html>", "!Damaged"},
        {ReadFb2, "<FictionBook><description/></FictionBook>", "!Damaged"},
        {ReadFb2, "<FictionBook><body name=\"notes\"><p>n</p></body></FictionBook>", "!Damaged"},
        // The first entry named .fb2 in any letter case.
        {ReadFb2Zip, MakeMemoryZip({{"cover.jpg", "\xFF\xD8"}, {"dir/", ""}, {"a.fb", "x"}, {"Book.FB2", SmallFb2("", "первая")}, {"other.fb2", SmallFb2("", "вторая")}}), "первая"},
        {ReadFb2Zip, MakeMemoryZip({{"book.txt", SmallFb2("", "текст")}}), "!Damaged"},
        {ReadFb2Zip, SmallFb2("", "текст"), "!Damaged"},
        {ReadFb2Zip, MakeMemoryZip({{"book.fb2", SmallFb2("", "текст"), false, "secret"}}), "!Encrypted"},
        {ReadFb2Zip, MakeMemoryZip({{"book.fb2", "not a book"}}), "!Damaged"},
        {ReadFb2Zip, Sample("bomb.fb2.zip"), "!BookTooLarge"},
        {ReadDocx, HandDocx(), "Outline heading|Quoted upright|strong kept shown added\tafter tab|next line[1][2][2]|a1 a2\ts1\tn1 n2\t|end & &unknown;|[1] end-note text|[2] foot", "1:Outline heading@0"},
        {ReadDocx, MakeMemoryZip({{"word/document.xml", docxLaughs}}), "a &l9; b"},
        // What Word saves with a password is an OLE compound file.
        {ReadDocx, std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0'), "!Encrypted"},
        {ReadDocx, MakeMemoryZip({{"word/document.xml", "<w:document><w:body/></w:document>", false, "secret"}}), "!Encrypted"},
        {ReadDocx, docx.substr(0, docx.size() / 2), "!Damaged"},
        {ReadDocx, MakeMemoryZip({{"word/styles.xml", "<w:styles/>"}}), "!Damaged"},
        {ReadDocx, MakeMemoryZip({{"word/document.xml", "PK garbage"}}), "!Damaged"},
        {ReadDocx, MakeMemoryZip({{"word/document.xml", std::string(2'000'000, ' ')}}), "!BookTooLarge"},
        {ReadOdt, HandOdt(), "Heading slanted|a   b \tc d strong|bold paragraph|heavy|plain|styled heading|title|sixteen|seventeen|one|nested|wide\t\tx y|Note[i] and[1].|[i] endnote|[1] foot|second", "1:Heading slanted@0|2:styled heading@66|1:title@82"},
        {ReadDocx, ListDocx(), "1. One|a. Sub|b. Sub2|1.b.i. Deep|2. Two|a. Sub3|• Dot|o Circle|5. Five|I) R1|1 N|II) R2|2 N2|Plain|Unknown", "1:One@0|2:Sub@8|3:Deep@25|2:Two@38|1:Unknown@114"},
        {ReadOdt, ListOdt(), "1. One|2. Two|a) Sub|b) Sub2|(2.b.I) Deep|7. Seven|more|Header|a) Inner|Between|8. Eight|1. Again|– Dash|• Symbol", "3:Deep@33|1:Header@63"},
        {ReadOdt, MakeMemoryZip({{"mimetype", "application/vnd.oasis.opendocument.text"}, {"META-INF/manifest.xml", encryptedManifest}, {"content.xml", "\x93\x11 scrambled"}}), "!Encrypted"},
        {ReadOdt, MakeMemoryZip({{"meta.xml", "<office:document-meta/>"}}), "!Damaged"},
        {ReadOdt, MakeMemoryZip({{"content.xml", "<office:document-content><office:body><office:spreadsheet/></office:body></office:document-content>"}}), "!Damaged"},
        {ReadOdt, MakeMemoryZip({{"content.xml", std::string(2'000'000, ' ')}}), "!BookTooLarge"},
        {ReadOdt, "plain text", "!Damaged"},
        {ReadPdf, Sample("sample-password.pdf"), "!Encrypted"}, {ReadPdf, Sample("sample-scanned.pdf"), "!NoText"},
        {ReadPdf, "", "!Damaged"}, {ReadPdf, "%PDF-1.7\n", "!Damaged"}, {ReadPdf, Sample("sample.pdf").substr(0, 1024), "!Damaged"},
    };
    // clang-format on
    BookLimits limits;
    limits.maxUnpackedBytes = 1'000'000;
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        SCOPED_TRACE("row " + std::to_string(i) + ": " + rows[i].outcome);
        const LoadedText book = rows[i].read(rows[i].bytes, limits, {});
        EXPECT_EQ(Outcome(book), rows[i].outcome);
        EXPECT_EQ(Headings(book), rows[i].outline);
        if (book.error != LoadError::None) {
            EXPECT_TRUE(book.text.empty() && book.runs.empty());
        }
        ExpectWellFormed(book);
        if (rows[i].read == ReadFb2 && rows[i].outcome.starts_with(body)) {
            EXPECT_EQ(ToUtf8(book.title), "Book");
        }
    }
}

// The outline: the navigation document's, the NCX's, or the headings'.
TEST(BookReaders, TablesOfContentsAndHeadingsMakeTheOutline) {
    // clang-format off
    const std::string nav = Chapter(R"(<nav epub:type="landmarks"><ol><li><a href="../b.xhtml">Mark</a></li></ol></nav><nav epub:type="toc"><ol>)"
        R"(<li><a href="../a.xhtml">Part <b>One</b></a><ol><li><a href="../a.xhtml#s">Sub</a><ol><li><a href="../a.xhtml#m">Mid</a></li></ol></li>)"
        R"(<li><a href="../a.xhtml#lost">Lost</a></li></ol></li><li><a href="../gone.xhtml">Gone</a><ol><li><a href="../c.xhtml">Kid</a></li></ol></li></ol></nav>)");
    const std::string ncx = R"(<ncx><navMap><navPoint><navLabel><text>First</text></navLabel><content src="a.xhtml"/><navPoint><navLabel><text>Second</text></navLabel>)"
        R"(<content src="b.xhtml#t"/></navPoint></navPoint></navMap></ncx>)";
    const std::pair<std::string, std::string> rows[] = {
        {Epub({Package(Item("n", "nav/toc.xhtml", " properties=\"nav\"") + kAbc, R"(<itemref idref="a"/><itemref idref="b"/><itemref idref="c"/>)"), {"OEBPS/nav/toc.xhtml", nav},
               {"OEBPS/a.xhtml", Chapter(R"(<h1>One</h1><p>x</p><h2 id="s">Sub</h2><p>y <a id="m"/>z</p>)")}}), "1:Part One@0|2:Lost@0|2:Sub@8|3:Mid@13|1:Kid@23"},
        {Epub({Package(kAbc + R"(<item id="x" href="toc.ncx" media-type="application/x-dtbncx+xml"/>)", R"(<itemref idref="a"/><itemref idref="b"/><itemref idref="c"/>)"),
               {"OEBPS/toc.ncx", ncx}}), "1:First@0|2:Second@5"},
        {Epub({{"OEBPS/a.xhtml", Chapter("<h2>Title <i>x</i></h2>\n<p>Body</p><h3 class=\"s\">Sub</h3>")}}), "1:Title x@0|2:Sub@15"},
    };
    // clang-format on
    for (const auto& [bytes, outline] : rows) {
        SCOPED_TRACE(outline);
        EXPECT_EQ(OutlineString(ReadEpub(bytes, {}, {}).outline), outline);
    }
}

TEST(BookReaders, BuiltBooksLookAsTheirStylesSay) {
    const std::string headings = "<h1>Title <i>x</i></h1>\n<p>Body</p><h2 class=\"s\">Sub</h2>";
    ExpectLooks(ReadEpub(Epub({{"OEBPS/a.xhtml", Chapter(headings)}}), {}, {}),
                "Title x=b|Body=|Sub=b|Two=");
    ExpectLooks(ReadDocx(HandDocx(), {}, {}), "Outline heading=b|Quoted=i|upright=|strong=b|kept=");
    const LoadedText odt = ReadOdt(HandOdt(), {}, {});
    EXPECT_EQ(ToUtf8(odt.author), "Last Editor");
    EXPECT_EQ(ToUtf8(odt.title), "Заголовок книги");
    ExpectLooks(odt,
                "Heading=b|slanted=bi|strong=b|a   b=|bold paragraph=b|heavy=b|plain=|styled "
                "heading=b|title=b|sixteen=b|seventeen=|one=");
}

// A cut falls where the last paragraph before the limit ends, or in a word
// only when nothing before it ends; a break is never cut in half.
TEST(BookReaders, TheTextIsCutAtTheLimit) {
    const std::u32string fb2 = ReadFb2(Sample("hand-1251.fb2"), {}, {}).text.ToString();
    const std::size_t n = fb2.size();
    // npos: at the limit or where a word ends before it.
    const std::size_t any = std::string::npos;
    // "Зимний вечер" is 12 characters, "Глава первая" ends at 73; the PDF's heading before the
    // 40th.
    // clang-format off
    const std::tuple<const char*, Reader, std::size_t, std::size_t> rows[] = {
        {"hand-1251.fb2", ReadFb2, 0, 0}, {"hand-1251.fb2", ReadFb2, 1, 1}, {"hand-1251.fb2", ReadFb2, 12, 12}, {"hand-1251.fb2", ReadFb2, 13, 12},
        {"hand-1251.fb2", ReadFb2, 14, 12}, {"hand-1251.fb2", ReadFb2, 15, 12}, {"hand-1251.fb2", ReadFb2, 100, 73},
        {"hand-1251.fb2", ReadFb2, n - 1, fb2.rfind(U'\r')}, {"hand-1251.fb2", ReadFb2, n, n}, {"hand-1251.fb2", ReadFb2, n + 1, n},
        {"sample.pdf", ReadPdf, 40, 19}, {"pandoc.docx", ReadDocx, 0, any}, {"pandoc.docx", ReadDocx, 5, any},
        {"pandoc.docx", ReadDocx, 27, any}, {"pandoc.docx", ReadDocx, 28, any}, {"libreoffice.odt", ReadOdt, 0, any},
        {"libreoffice.odt", ReadOdt, 5, any}, {"libreoffice.odt", ReadOdt, 27, any}, {"libreoffice.odt", ReadOdt, 28, any}};
    // clang-format on
    for (const auto& [file, read, limit, length] : rows) {
        SCOPED_TRACE(std::string(file) + " at " + std::to_string(limit));
        const std::string bytes = Sample(file);
        const LoadedText wholeBook = read(bytes, {}, {});
        const std::u32string whole = wholeBook.text.ToString();
        BookLimits limits;
        limits.maxTextLength = limit;
        const LoadedText cut = read(bytes, limits, {});
        ASSERT_EQ(cut.error, LoadError::None);
        EXPECT_LE(cut.text.size(), limit);
        if (length != any)
            EXPECT_EQ(cut.text.size(), length);
        else
            EXPECT_TRUE(cut.text.size() == limit || IsSeparator(whole[cut.text.size()]));
        EXPECT_EQ(cut.truncated, limit < whole.size());
        EXPECT_EQ(whole.substr(0, cut.text.size()), cut.text);
        EXPECT_EQ(cut.outline.size(),
                  std::count_if(wholeBook.outline.begin(), wholeBook.outline.end(),
                                [&](const Heading& h) { return h.position < cut.text.size(); }));
        ExpectWellFormed(cut);
    }
    BookLimits seven;
    seven.maxTextLength = 7;
    const LoadedText epub = ReadEpub(Epub(), seven, {});  // where the first chapter ends
    EXPECT_TRUE(Bars(epub.text.ToString()) == "One" && epub.truncated);
}

// A ZIP whose headers, local and central, say each entry unpacks to 100 bytes.
std::string LyingAboutSize(std::string zip) {
    for (const auto& [signature, at] : {std::pair{"PK\3\4", 22}, std::pair{"PK\1\2", 24}}) {
        for (std::size_t i = 0; (i = zip.find(signature, i)) != std::string::npos; ++i)
            zip.replace(i + at, 4, std::string("d\0\0\0", 4));
    }
    return zip;
}

TEST(BookReaders, UnpackingStopsAtTheCap) {
    // Ten megabytes of one letter deflate to a few kilobytes.
    const std::string epub = Epub({{"OEBPS/b.xhtml", Chapter(std::string(10 << 20, 'x'))}});
    const std::string fb2 = SmallFb2("", std::string(2000, 'x'));
    const std::string lying =
        LyingAboutSize(MakeMemoryZip({{"book.fb2", SmallFb2("", std::string(3 << 20, 'x'))}}));
    const BookProgress stop = [](std::size_t, std::size_t total) { return total != 0; };
    const std::tuple<Reader, std::string, std::uint64_t, BookProgress, LoadError> rows[] = {
        {ReadEpub, epub, 1 << 20, {}, LoadError::BookTooLarge},
        {ReadEpub, epub, 11 << 20, {}, LoadError::None},
        {ReadFb2Zip, MakeMemoryZip({{"book.fb2", fb2}}), 1000, {}, LoadError::BookTooLarge},
        {ReadFb2Zip, MakeMemoryZip({{"book.fb2", fb2}}), fb2.size(), {}, LoadError::None},
        // Stopped part way through one big entry: what counts the chapters
        // has not been asked yet.
        {ReadEpub, epub, 11 << 20, stop, LoadError::Cancelled},
        {ReadFb2Zip, lying, 2 << 20, {}, LoadError::BookTooLarge},
        {ReadFb2Zip, lying, 4 << 20, stop, LoadError::Cancelled}};
    for (const auto& [read, bytes, cap, progress, error] : rows) {
        BookLimits limits;
        limits.maxUnpackedBytes = cap;
        EXPECT_EQ(read(bytes, limits, progress).error, error) << cap;
    }
}

// Progress counts the parts (chapters, top sections, pages) and a false
// answer from the k-th call stops the load with nothing.
TEST(BookReaders, ProgressCountsPartsAndCancelStops) {
    using Calls = std::vector<std::pair<std::size_t, std::size_t>>;
    // No calls: any rising count that ends full.
    // clang-format off
    const std::tuple<const char*, Reader, std::string, Calls> rows[] = {
        {"epub", ReadEpub, Epub(), {{1, 3}, {2, 3}, {3, 3}}},
        {"fb2: two chapters and a note", ReadFb2, Sample("hand-1251.fb2"), {{0, 3}, {1, 3}, {2, 3}, {3, 3}}},
        {"pdf", ReadPdf, Sample("sample.pdf"), {{1, 4}, {2, 4}, {3, 4}, {4, 4}}},
        {"docx", ReadDocx, Sample("pandoc.docx"), {}},
        {"odt", ReadOdt, Sample("libreoffice.odt"), {}},
    };
    // clang-format on
    for (const auto& [label, read, bytes, expected] : rows) {
        SCOPED_TRACE(label);
        Calls calls;
        const auto record = [&](std::size_t done, std::size_t total) {
            calls.emplace_back(done, total);
            return true;
        };
        ASSERT_EQ(read(bytes, {}, record).error, LoadError::None);
        if (!expected.empty()) {
            EXPECT_EQ(calls, expected);
        }
        ASSERT_GT(calls.size(), 2u);
        EXPECT_EQ(calls.back().first, calls.back().second);
        for (std::size_t i = 1; i < calls.size(); ++i)
            EXPECT_GE(calls[i].first, calls[i - 1].first);
        for (const std::size_t stopAt : {std::size_t{0}, std::size_t{1}, calls.size() - 1}) {
            std::size_t count = 0;
            const LoadedText stopped =
                read(bytes, {}, [&](std::size_t, std::size_t) { return count++ < stopAt; });
            EXPECT_TRUE(stopped.error == LoadError::Cancelled && stopped.text.empty() &&
                        count == stopAt + 1)
                << stopAt;
        }
    }
}

TEST(EpubPackage, ResolvesReferencesIntoArchivePaths) {
    // clang-format off
    const std::pair<const char*, const char*> rows[] = {
        {"text/ch1.xhtml", "OEBPS/text/ch1.xhtml"}, {"../ch1.xhtml", "ch1.xhtml"}, {"./a/./b/../c.xhtml#part2", "OEBPS/a/c.xhtml"},
        {"/Root/x.xhtml", "Root/x.xhtml"}, {"a%20b%2Fc%2f.xhtml", "OEBPS/a b/c/.xhtml"},
        {"%D0%B3%d0%bb%4a%4A%5F.xhtml", "OEBPS/глJJ_.xhtml"}, {"%e2%80%a6%C3%A9", "OEBPS/…é"},
        // Broken escapes stay; a path out of the archive or to the web is none.
        {"100%.xhtml", "OEBPS/100%.xhtml"}, {"a%2", "OEBPS/a%2"}, {"%g1%1g", "OEBPS/%g1%1g"},
        {"../../x.xhtml", ""}, {"http://example.com/x.xhtml", ""}, {"#note", ""}};
    // clang-format on
    for (const auto& [href, path] : rows)
        EXPECT_EQ(ResolveEpubPath("OEBPS/content.opf", href), path) << href;
    EXPECT_EQ(ResolveEpubPath("content.opf", "ch1.xhtml"), "ch1.xhtml");
}

TEST(EpubPackage, ParsesTheContainerAndThePackage) {
    // clang-format off
    EXPECT_EQ(ParseEpubContainer(R"(<container><rootfiles><rootfile full-path="OPS/book.opf" media-type="application/oebps-package+xml"/></rootfiles></container>)"), "OPS/book.opf");
    // A PDF rendition first; the package document is the one wanted.
    EXPECT_EQ(ParseEpubContainer(R"(<c:container xmlns:c="x"><c:rootfiles><c:rootfile full-path="b.pdf" media-type="application/pdf"/>)"
                                 R"(<c:rootfile full-path="b.opf"/></c:rootfiles></c:container>)"), "b.opf");
    for (const char* bad : {R"(<container><rootfiles><rootfile media-type="application/oebps-package+xml"/></rootfiles></container>)", "", "<container"})
        EXPECT_EQ(ParseEpubContainer(bad), std::nullopt) << bad;
    const std::pair<const char*, std::vector<std::string>> creators[] = {
        {"<dc:creator>A</dc:creator><dc:creator>  B\n C </dc:creator>", {"A", "B C"}},
        {R"(<dc:creator opf:role="aut">A</dc:creator><dc:creator opf:role="ill">I</dc:creator><dc:creator opf:role="aut">B</dc:creator>)", {"A", "B"}},
        {R"(<dc:creator id="c1">A</dc:creator><dc:creator id="c2">E</dc:creator><meta refines="#c2" property="role" scheme="marc:relators">edt</meta>)"
         R"(<meta refines="#c1" property="role" scheme="marc:relators">aut</meta>)", {"A"}},
        {"<dc:creator> </dc:creator><dc:creator>A</dc:creator>", {"A"}}};
    for (const auto& [metadata, names] : creators) {
        const auto package = ParseEpubPackage(std::string(R"(<package xmlns:dc="d" xmlns:opf="o"><metadata>)") + metadata +
                                                  "<dc:title> The\tTitle </dc:title><dc:title>Second</dc:title></metadata><spine/></package>", "content.opf");
        ASSERT_TRUE(package);
        EXPECT_EQ(package->creators, names) << metadata;
        EXPECT_EQ(package->title, "The Title");
    }
    const auto package = ParseEpubPackage(
        R"(<?xml version="1.0"?><!DOCTYPE package [<!ENTITY e "&e;&e;">]><opf:package xmlns:opf="o"><opf:manifest>)"
        R"(<opf:item id="css" href="s.css" media-type="text/css"/><opf:item id="img" href="p.jpg" media-type="image/jpeg"/>)"
        R"(<opf:item id="old" href="old.html" media-type="text/html"/><opf:item id="a" href="a.xhtml" media-type="application/xhtml+xml"/>)"
        R"(<opf:item id="nav" href="nav.xhtml" media-type="application/xhtml+xml" properties="nav"/>)"
        R"(<opf:item id="nav2" href="nav2.xhtml" media-type="application/xhtml+xml" properties="nav scripted"/>)"
        R"(<opf:item id="nv" href="nv.xhtml" media-type="application/xhtml+xml" properties="navigation"/>)"
        R"(<opf:item id="a" href="duplicate.xhtml" media-type="application/xhtml+xml"/></opf:manifest><opf:spine toc="ncx">)"
        R"(<opf:itemref idref="css"/><opf:itemref idref="a"/><opf:itemref idref="img"/><opf:itemref idref="nav"/><opf:itemref idref="nav2"/>)"
        R"(<opf:itemref idref="nv"/><opf:itemref idref="old"/><opf:itemref idref="missing"/><opf:itemref idref="a" linear="no"/><opf:itemref idref="a"/>)"
        R"(</opf:spine></opf:package>)",
        "Book/content.opf");
    ASSERT_TRUE(package);
    EXPECT_EQ(package->documents, (std::vector<std::string>{"Book/a.xhtml", "Book/nv.xhtml", "Book/old.html", "Book/a.xhtml"}));
    EXPECT_FALSE(ParseEpubPackage("<package><manifest/></package>", "x.opf") || ParseEpubPackage("<package><spine>", "x.opf"));
    // clang-format on
}

// PDFs written here with each line placed by hand (Helvetica 12 on a 612 x
// 792 page), for the rules that put lines back into paragraphs.
struct Placed {
    int x, y;
    std::string text;
};  // y from the bottom, as PDF counts
using PdfPage = std::vector<Placed>;

// Bookmarks: each a level and a title, in order; nesting by level.
std::string MakePdf(const std::vector<PdfPage>& pages,
                    const std::vector<std::pair<int, std::string>>& bookmarks = {}) {
    std::string kids;
    for (std::size_t i = 0; i < pages.size(); ++i) kids += std::to_string(4 + 2 * i) + " 0 R ";
    std::vector<std::string> objects = {
        "<</Type/Catalog/Pages 2 0 R>>",
        "<</Type/Pages/Kids[" + kids + "]/Count " + std::to_string(pages.size()) + ">>",
        "<</Type/Font/Subtype/Type1/BaseFont/Helvetica>>"};
    for (std::size_t i = 0; i < pages.size(); ++i) {
        std::string content;
        for (const Placed& line : pages[i])
            content += "BT /F1 12 Tf " + std::to_string(line.x) + " " + std::to_string(line.y) +
                       " Td (" + line.text + ") Tj ET\n";
        objects.push_back("<</Type/Page/Parent 2 0 R/MediaBox[0 0 612 792]/Contents " +
                          std::to_string(5 + 2 * i) + " 0 R/Resources<</Font<</F1 3 0 R>>>>>>");
        objects.push_back("<</Length " + std::to_string(content.size()) + ">>stream\n" + content +
                          "endstream");
    }
    if (!bookmarks.empty()) {
        const std::size_t root = objects.size() + 1;  // items follow, numbered in order
        objects[0].insert(objects[0].size() - 2, "/Outlines " + std::to_string(root) + " 0 R");
        const auto ref = [&](std::size_t i) { return " " + std::to_string(root + 1 + i) + " 0 R"; };
        std::vector<std::string> items(bookmarks.size());
        std::vector<std::size_t> open = {std::string::npos};  // the parents, then the last sibling
        std::vector<std::size_t> lastChild(bookmarks.size(), std::string::npos);
        std::string first;
        std::size_t rootLast = 0;
        for (std::size_t i = 0; i < bookmarks.size(); ++i) {
            const std::size_t level = static_cast<std::size_t>(bookmarks[i].first);
            open.resize(level + 1, std::string::npos);
            const std::size_t parent = open[level - 1], sibling = open[level];
            items[i] =
                "/Title(" + bookmarks[i].second + ")/Parent" +
                (parent == std::string::npos ? " " + std::to_string(root) + " 0 R" : ref(parent));
            if (sibling != std::string::npos) {
                items[i] += "/Prev" + ref(sibling);
                items[sibling] += "/Next" + ref(i);
            } else {
                (parent == std::string::npos ? first : items[parent]) += "/First" + ref(i);
            }
            (parent == std::string::npos ? rootLast : lastChild[parent]) = i;
            open[level] = i;
        }
        for (std::size_t i = 0; i < items.size(); ++i)
            if (lastChild[i] != std::string::npos) items[i] += "/Last" + ref(lastChild[i]);
        objects.push_back("<</Type/Outlines" + first + "/Last" + ref(rootLast) + ">>");
        for (const std::string& item : items) objects.push_back("<<" + item + ">>");
    }
    std::string pdf = "%PDF-1.4\n";
    std::string xref = "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const std::string offset = std::to_string(pdf.size());
        xref += std::string(10 - offset.size(), '0') + offset + " 00000 n \n";
        pdf += std::to_string(i + 1) + " 0 obj" + objects[i] + "endobj\n";
    }
    return pdf + xref + "trailer<</Size " + std::to_string(objects.size() + 1) +
           "/Root 1 0 R>>\nstartxref\n" + std::to_string(pdf.size()) + "\n%%EOF\n";
}

// Lines 14 points apart from the top of the body down.
PdfPage Lines(std::vector<std::string> texts, int top = 700, int x = 72) {
    PdfPage page;
    for (std::string& text : texts) page.push_back({x, (top -= 14) + 14, std::move(text)});
    return page;
}
PdfPage operator+(PdfPage a, const PdfPage& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(PdfLayout, LinesBecomeParagraphsByTheirGeometry) {
    const std::string full = "The line that is as wide as the widest line here is";
    const std::string body = full + " " + full + " end.";
    const auto furnished = [&](int pages, bool onFirst) {
        std::vector<PdfPage> out;
        for (int i = 1; i <= pages; ++i) {
            const bool furniture = i > 1 || onFirst;
            out.push_back(
                (furniture ? PdfPage{{250, 760, "Running head"}} : PdfPage{}) +
                Lines({full, full, "end."}) +
                (furniture ? PdfPage{{290, 40, "Page " + std::to_string(i * 7)}} : PdfPage{}));
        }
        return out;
    };
    // clang-format off
    const std::tuple<const char*, std::vector<PdfPage>, std::string> rows[] = {
        {"a hyphen at a line end joins the word", {Lines({full + " bro-", "ken word."})}, full + " broken word."},
        {"a hyphen before a capital stays", {Lines({full + " Rimsky-", "Korsakov."})}, full + " Rimsky-Korsakov."},
        {"capitals broken at a line end are joined", {Lines({full + " CHAP-", "TERS end."})}, full + " CHAPTERS end."},
        {"a compound written whole elsewhere keeps its hyphen", {Lines({full + " rosy-", "strong, rosy-strong."})}, full + " rosy-strong, rosy-strong."},
        {"a hyphen alone is kept with a space", {Lines({full + " -", "and on."})}, full + " - and on."},
        {"a short line ends its paragraph", {Lines({"Short line.", full, "next."})}, "Short line.|" + full + " next."},
        {"a wider gap ends a paragraph", {Lines({full, full, full, "the end."}) + Lines({full, "then more."}, 620)},
         full + " " + full + " " + full + " the end.|" + full + " then more."},
        {"an indented line starts one", {Lines({full, full}) + PdfPage{{100, 672, "Indented first line of the next paragraph"}}},
         full + " " + full + "|Indented first line of the next paragraph"},
        {"trailing blanks are dropped", {Lines({full + "   ", "last."})}, full + " last."},
        {"a paragraph goes on over a page break", {Lines({full, full}), Lines({"continued here.", full, "last."})},
         full + " " + full + " continued here.|" + full + " last."},
        {"a page ending short ends its paragraph", {Lines({full, "short."}), Lines({"New one.", full})}, full + " short.|New one.|" + full},
        {"running heads and page numbers of most pages are left out", furnished(3, true), body + "|" + body + "|" + body},
        {"also when the first page has none", furnished(4, false), body + "|" + body + "|" + body + "|" + body},
        {"two pages of three are enough", furnished(3, false), body + "|" + body + "|" + body},
        {"one page keeps them", furnished(1, true), "Running head|" + body + "|Page 7"},
    };
    // clang-format on
    for (const auto& [label, pages, text] : rows)
        EXPECT_EQ(Outcome(ReadPdf(MakePdf(pages), {}, {})), text) << label;
    // Bookmarks placed by their titles: "level:title@position|...".
    // clang-format off
    const std::vector<PdfPage> book = {Lines({"Part One", "Chapter ONE", full, "end.", "Notes", "Short."}),
                                       Lines({"Chapter Two", "Notes", full, "end.", "2.1 The Sermon", "Appendix A: Copying"})};
    const std::tuple<const char*, std::vector<std::pair<int, std::string>>, std::string> outlines[] = {
        {"nested, blanks and case aside", {{1, "Part One"}, {2, "Chapter One"}, {3, " notes "}, {2, "Chapter Two"}},
         "1:Part One@0|2:Chapter One@10|3:notes@81|2:Chapter Two@96"},
        {"a title met again goes to the next place", {{1, "Notes"}, {1, "Notes"}, {1, "Notes"}}, "1:Notes@81|1:Notes@109|1:Notes@109"},
        {"a title the text lacks is left out", {{1, "Chapter Two"}, {1, "Epilogue"}, {1, "Part One"}}, "1:Chapter Two@96"},
        {"a paragraph of several lines", {{1, full + " end."}}, "1:" + full + " end.@23"},
        {"a number the title or the line leaves out", {{1, "Chapter Two"}, {2, "The Sermon"}, {1, "A Copying"}, {1, "ii. Copying"}}, "1:Chapter Two@96|2:The Sermon@174|1:A Copying@190|1:ii. Copying@190"},
    };
    for (const auto& [label, bookmarks, outline] : outlines) {
        std::string placed;
        for (const Heading& h : ReadPdf(MakePdf(book, bookmarks), {}, {}).outline)
            placed += (placed.empty() ? "" : "|") + std::to_string(h.level) + ":" + ToUtf8(h.title) + "@" + std::to_string(h.position);
        EXPECT_EQ(placed, outline) << label;
    }
    // clang-format on
    EXPECT_EQ(ReadPdf(MakePdf({PdfPage{}, PdfPage{}}), {}, {}).error, LoadError::NoText);
    EXPECT_EQ(ReadPdf(MakePdf({PdfPage{{72, 700, "   "}}}), {}, {}).error, LoadError::NoText);
}

// A hyphen at a line end, with the other lines of the book: real compounds and
// near misses.
TEST(LineEndHyphen, JoinsBrokenWordsAndKeepsCompounds) {
    using enum LineEndJoin;
    // clang-format off
    const std::tuple<const char*, const char*, const char*, LineEndJoin> rows[] = {
        {"он что-", "то сказал", "", KeepHyphen}, {"на мес-", "то", "", DropHyphen}, {"КТО-", "ТО", "", KeepHyphen},
        {"по-", "юношески", "", KeepHyphen}, {"по-", "моему,", "", KeepHyphen}, {"по-", "тому", "", DropHyphen}, {"по-", "добному", "", DropHyphen}, {"по-", "лоски", "", DropHyphen},
        {"кое-", "как", "", KeepHyphen}, {"ну-", "ка", "", KeepHyphen}, {"ру-", "ка", "", DropHyphen}, {"какой-", "нибудь", "", KeepHyphen},
        {"OP-", "TIONAL", "", DropHyphen}, {"AL-", "FRED", "", DropHyphen}, {"Rimsky-", "Korsakov", "", KeepHyphen},
        {"NORTH-", "WEST", "the north-west wind", KeepHyphen}, {"rosy-", "strong", "a rosy-strong glow", KeepHyphen},
        {"rosy-", "strong", "rosy strong", DropHyphen}, {"бело-сине-", "красный", "флаг бело-сине-красный", KeepHyphen},
        {"word -", "next", "", Space}, {"1990-", "е", "", Space}, {"soft\u00AD", "Next", "", DropHyphen}};
    // clang-format on
    for (const auto& [before, next, elsewhere, join] : rows) {
        HyphenatedWords book;
        book.AddLine(FromUtf8(elsewhere));
        EXPECT_EQ(JoinAtLineEnd(FromUtf8(before), FromUtf8(next), book), join) << before << next;
    }
}

TEST(ListNumbering, WritesNumbersAndBullets) {
    using enum NumberStyle;
    // clang-format off
    const std::tuple<long long, NumberStyle, bool, const char*> numbers[] = {
        {7, Decimal, true, "7"}, {7, DecimalZero, true, "07"}, {12, DecimalZero, true, "12"}, {26, LowerLetter, true, "z"}, {27, LowerLetter, true, "aa"},
        {28, UpperLetter, true, "BB"}, {28, UpperLetter, false, "AB"}, {703, LowerLetter, false, "aaa"}, {781, LowerLetter, true, "781"},
        {4, LowerRoman, true, "iv"}, {1994, UpperRoman, true, "MCMXCIV"}, {4000, UpperRoman, true, "4000"}, {0, LowerLetter, true, "0"}, {3, None, true, ""}};
    // clang-format on
    for (const auto& [value, style, repeat, text] : numbers)
        EXPECT_EQ(FormatListNumber(value, style, repeat), text) << value;
    const std::pair<const char*, const char*> bullets[] = {
        {"\xEF\x82\xB7", "•"}, {" ", "•"}, {"\x01", "•"}, {"o", "o"}, {"–", "–"}, {"", ""}};
    for (const auto& [bullet, shown] : bullets) EXPECT_EQ(ListBullet(bullet), shown) << bullet;
}

// The loader opens the file; the samples above reach their readers through it.
TEST(BookLoader, RefusesWhatIsNotAFileAndStopsWhenAsked) {
    TempFolder folder;
    for (const std::string& path : {folder.Path("none.epub"), folder.Path("")})
        EXPECT_EQ(LoadAnyDocument(path, DocumentKind::Epub, {}).error, LoadError::OpenFailed);
    EXPECT_EQ(LoadAnyDocument(folder.Write("a.txt", "words"), DocumentKind::PlainText, {}).text,
              U"words");
    const auto stop = [](std::size_t, std::size_t) { return false; };
    EXPECT_EQ(LoadBookFile(kData + "sample.pdf", DocumentKind::Pdf, stop).error,
              LoadError::Cancelled);
    EXPECT_EQ(LoadBookFile(kData + "pandoc.odt", DocumentKind::Odt, stop).error,
              LoadError::Cancelled);
}

}  // namespace
