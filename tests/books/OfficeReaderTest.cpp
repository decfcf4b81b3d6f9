#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BookTestSupport.h"
#include "books/DocxReader.h"
#include "books/OdtReader.h"
#include "text/TextRules.h"

// pandoc.docx and pandoc.odt come from pandoc 2.17, libreoffice.odt and
// libreoffice.docx from LibreOffice 7.4 converting them the other way round
// (tests/data/books/README.md). The small packages written here exercise
// what those tools do not write.

using namespace booktest;

namespace {

using Reader = LoadedText (*)(std::string_view, const BookLimits&, const BookProgress&);

struct SampleCase {
    const char* file;
    Reader read;
    const char* expected;
};

class OfficeSamples : public ::testing::TestWithParam<SampleCase> {};

TEST_P(OfficeSamples, GiveTheExpectedTextAndMetadata) {
    const SampleCase& sample = GetParam();
    const std::string bytes = Sample(sample.file);
    const LoadedText book = sample.read(bytes, {}, {});
    ASSERT_EQ(book.error, LoadError::None);
    EXPECT_EQ(Utf8(book.text), Sample(sample.expected));
    EXPECT_EQ(Utf8(book.author), "Мария Иванова, John Smith");
    EXPECT_EQ(Utf8(book.title), "Две страны — Two Countries");
    ExpectWellFormed(book);
    for (const char* heading : {"Две страны", "Первая глава", "Стихи", "Chapter Two"}) {
        EXPECT_TRUE(FormatAt(book, heading).bold) << heading;
    }
    EXPECT_TRUE(FormatAt(book, "первый").italic);
    EXPECT_FALSE(FormatAt(book, "первый").bold);
    EXPECT_TRUE(FormatAt(book, "жирным").bold);
    EXPECT_FALSE(FormatAt(book, "Это ").bold);
    EXPECT_FALSE(FormatAt(book, "Это ").italic);
    EXPECT_FALSE(FormatAt(book, "Apple").bold);

    const LoadedText again = sample.read(bytes, {}, {});
    EXPECT_EQ(again.text, book.text);
    EXPECT_EQ(again.runs, book.runs);
}

INSTANTIATE_TEST_SUITE_P(Documents, OfficeSamples,
                         ::testing::Values(SampleCase{"pandoc.docx", ReadDocx, "office.txt"},
                                           SampleCase{"pandoc.odt", ReadOdt, "office.txt"},
                                           SampleCase{"libreoffice.odt", ReadOdt, "office.txt"},
                                           SampleCase{"libreoffice.docx", ReadDocx,
                                                      "libreoffice.docx.txt"}));

constexpr const char* kW =
    "xmlns:w=\"http://schemas.openxmlformats.org/wordprocessingml/2006/main\"";

// The main part is found through the package relationships, the notes through
// the main part's, in folders of their own.
std::string HandDocx() {
    const std::string document =
        std::string("<w:document ") + kW + "><w:body>" +
        R"(<w:p><w:pPr><w:outlineLvl w:val="0"/></w:pPr><w:r><w:t>Outline heading</w:t></w:r></w:p>
<w:p><w:pPr><w:pStyle w:val="MyQuote"/></w:pPr><w:r><w:t xml:space="preserve">Quoted </w:t></w:r><w:r><w:rPr><w:i w:val="0"/></w:rPr><w:t>upright</w:t></w:r></w:p>
<w:p><w:r><w:rPr><w:rStyle w:val="MyStrong"/></w:rPr><w:t>strong</w:t></w:r><w:r><w:t xml:space="preserve"> kept</w:t></w:r><w:r><w:rPr><w:vanish/></w:rPr><w:t>hidden</w:t></w:r><w:r><w:rPr><w:vanish w:val="0"/></w:rPr><w:t xml:space="preserve"> shown</w:t></w:r><w:del><w:r><w:delText>gone</w:delText></w:r></w:del><w:ins><w:r><w:t xml:space="preserve"> added</w:t></w:r></w:ins><w:r><w:tab/><w:t>after tab</w:t><w:br/><w:t>next line</w:t></w:r><w:r><w:endnoteReference w:id="5"/></w:r><w:r><w:footnoteReference w:id="3"/></w:r><w:r><w:footnoteReference w:id="3"/></w:r></w:p>
<w:tbl><w:tr><w:tc><w:p><w:r><w:t>a1</w:t></w:r></w:p><w:p><w:r><w:t>a2</w:t></w:r></w:p></w:tc><w:tc><w:tbl><w:tr><w:tc><w:p><w:r><w:t>n1</w:t></w:r></w:p></w:tc><w:tc><w:p><w:r><w:t>n2</w:t></w:r></w:p></w:tc></w:tr></w:tbl></w:tc><w:tc/></w:tr></w:tbl>
<w:p><w:r><w:drawing><w:t>not shown</w:t></w:drawing><w:instrText>PAGE</w:instrText><w:t>end &amp; &unknown;</w:t></w:r></w:p>
</w:body></w:document>)";
    const std::string styles =
        std::string("<w:styles ") + kW + ">" +
        R"(<w:style w:type="paragraph" w:styleId="MyQuote"><w:name w:val="My Quote"/><w:rPr><w:i/></w:rPr></w:style>
<w:style w:type="character" w:styleId="StrongBase"><w:rPr><w:b/></w:rPr></w:style>
<w:style w:type="character" w:styleId="MyStrong"><w:basedOn w:val="StrongBase"/></w:style>
<w:style w:type="character" w:styleId="Loop"><w:basedOn w:val="Loop"/></w:style></w:styles>)";
    const std::string footnotes =
        std::string("<w:footnotes ") + kW + ">" +
        R"(<w:footnote w:type="separator" w:id="-1"><w:p><w:r><w:separator/></w:r></w:p></w:footnote>
<w:footnote w:id="4"><w:p><w:r><w:t>never cited</w:t></w:r></w:p></w:footnote>
<w:footnote w:id="3"><w:p><w:r><w:footnoteRef/></w:r><w:r><w:t xml:space="preserve"> foot</w:t></w:r></w:p></w:footnote></w:footnotes>)";
    const std::string endnotes =
        std::string("<w:endnotes ") + kW + ">" +
        R"(<w:endnote w:id="5"><w:p><w:r><w:endnoteRef/></w:r><w:r><w:t xml:space="preserve"> end-note text</w:t></w:r></w:p></w:endnote></w:endnotes>)";
    const std::string rels =
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="/doc/main.xml"/></Relationships>)";
    const std::string mainRels =
        R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="a" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/footnotes" Target="notes/fn.xml"/><Relationship Id="b" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/endnotes" Target="notes/en.xml"/><Relationship Id="c" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="st.xml"/></Relationships>)";
    return MakeZip({{"_rels/.rels", rels},
                    {"doc/_rels/main.xml.rels", mainRels},
                    {"doc/main.xml", document},
                    {"doc/st.xml", styles},
                    {"doc/notes/fn.xml", footnotes},
                    {"doc/notes/en.xml", endnotes},
                    {"word/document.xml", "<w:document/>"}});
}

TEST(DocxReader, ReadsWhatWordWritesBeyondTheSamples) {
    const LoadedText book = ReadDocx(HandDocx(), {}, {});
    ASSERT_EQ(book.error, LoadError::None);
    EXPECT_EQ(Utf8(book.text),
              "Outline heading\r\nQuoted upright\r\nstrong kept shown added\tafter tab\r\n"
              "next line[1][2][2]\r\na1 a2\tn1 n2\t\r\nend & &unknown;\r\n"
              "[1] end-note text\r\n[2] foot");
    struct Case {
        const char* text;
        bool bold;
        bool italic;
    };
    for (const Case& c : std::vector<Case>{{"Outline heading", true, false},
                                           {"Quoted", false, true},
                                           {"upright", false, false},
                                           {"strong", true, false},
                                           {"kept", false, false}}) {
        EXPECT_EQ(FormatAt(book, c.text).bold, c.bold) << c.text;
        EXPECT_EQ(FormatAt(book, c.text).italic, c.italic) << c.text;
    }
    ExpectWellFormed(book);
}

TEST(OdtReader, ReadsWhatOpenDocumentAllowsBeyondTheSamples) {
    const std::string ns =
        R"(xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:style="urn:oasis:names:tc:opendocument:xmlns:style:1.0" xmlns:fo="urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0" xmlns:draw="urn:oasis:names:tc:opendocument:xmlns:drawing:1.0" xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:meta="urn:oasis:names:tc:opendocument:xmlns:meta:1.0")";
    const std::string content = "<office:document-content " + ns + ">" +
                                R"(<office:automatic-styles>
 <style:style style:name="T1" style:family="text" style:parent-style-name="Strong"/>
 <style:style style:name="T2" style:family="text"><style:text-properties fo:font-style="italic"/></style:style>
 <style:style style:name="P1" style:family="paragraph"><style:text-properties fo:font-weight="bold"/></style:style>
</office:automatic-styles>
<office:body><office:text>
<text:tracked-changes><text:changed-region><text:deletion><text:p>gone</text:p></text:deletion></text:changed-region></text:tracked-changes>
<text:h text:outline-level="1">Heading <text:span text:style-name="T2">slanted</text:span></text:h>
<text:p>a<text:s text:c="3"/>b <text:tab/>c
   d <text:span text:style-name="T1">strong</text:span><draw:frame><draw:text-box><text:p>boxed</text:p></draw:text-box></draw:frame><office:annotation><text:p>comment</text:p></office:annotation></text:p>
<text:p text:style-name="P1">bold paragraph</text:p>
<text:list><text:list-item><text:p>one</text:p><text:list><text:list-item><text:p>nested</text:p></text:list-item></text:list></text:list-item></text:list>
<table:table><table:table-row><table:table-cell table:number-columns-spanned="2"><text:p>wide</text:p></table:table-cell><table:covered-table-cell/><table:table-cell><text:p>x</text:p><text:p>y</text:p></table:table-cell></table:table-row></table:table>
<text:p>Note<text:note text:note-class="endnote"><text:note-citation>i</text:note-citation><text:note-body><text:p>endnote</text:p></text:note-body></text:note> and<text:note text:note-class="footnote"><text:note-citation>1</text:note-citation><text:note-body><text:p><text:s/>foot</text:p><text:p>second</text:p></text:note-body></text:note>.</text:p>
</office:text></office:body></office:document-content>)";
    const std::string styles =
        "<office:document-styles " + ns + ">" +
        R"(<office:styles><style:style style:name="Strong" style:family="text"><style:text-properties fo:font-weight="700"/></style:style></office:styles></office:document-styles>)";
    const std::string meta =
        "<office:document-meta " + ns + ">" +
        R"(<office:meta><dc:creator>Last Editor</dc:creator><dc:title> Заголовок
  книги </dc:title></office:meta></office:document-meta>)";
    const LoadedText book = ReadOdt(
        MakeZip({{"content.xml", content}, {"styles.xml", styles}, {"meta.xml", meta}}), {}, {});
    ASSERT_EQ(book.error, LoadError::None);
    EXPECT_EQ(Utf8(book.text),
              "Heading slanted\r\na   b \tc d strong\r\nbold paragraph\r\none\r\nnested\r\n"
              "wide\t\tx y\r\nNote[i] and[1].\r\n[i] endnote\r\n[1] foot\r\nsecond");
    EXPECT_EQ(Utf8(book.author), "Last Editor");
    EXPECT_EQ(Utf8(book.title), "Заголовок книги");
    struct Case {
        const char* text;
        bool bold;
        bool italic;
    };
    for (const Case& c : std::vector<Case>{{"Heading", true, false},
                                           {"slanted", true, true},
                                           {"strong", true, false},
                                           {"a   b", false, false},
                                           {"bold paragraph", true, false},
                                           {"one", false, false}}) {
        EXPECT_EQ(FormatAt(book, c.text).bold, c.bold) << c.text;
        EXPECT_EQ(FormatAt(book, c.text).italic, c.italic) << c.text;
    }
    ExpectWellFormed(book);
}

TEST(OfficeReaders, PackagesThatCannotBeReadSayWhy) {
    const std::string docx = Sample("pandoc.docx");
    const std::string odt = Sample("pandoc.odt");
    const std::string encryptedManifest =
        R"(<manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0"><manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml"><manifest:encryption-data manifest:checksum-type="SHA1/1K" manifest:checksum="x"><manifest:algorithm manifest:algorithm-name="Blowfish CFB"/></manifest:encryption-data></manifest:file-entry></manifest:manifest>)";
    // What Word saves with a password: an OLE compound file, not a ZIP.
    const std::string ole =
        std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + std::string(504, '\0');
    struct Case {
        const char* name;
        Reader read;
        std::string bytes;
        LoadError error;
    };
    const std::vector<Case> cases{
        {"docx with a password", ReadDocx, ole, LoadError::Encrypted},
        {"odt with a password", ReadOdt,
         MakeZip({{"mimetype", "application/vnd.oasis.opendocument.text"},
                  {"META-INF/manifest.xml", encryptedManifest},
                  {"content.xml", "\x93\x11 scrambled"}}),
         LoadError::Encrypted},
        {"docx entry with a ZIP password", ReadDocx,
         MakeZip({{"word/document.xml", "<w:document><w:body/></w:document>", true}}),
         LoadError::Encrypted},
        {"docx cut in half", ReadDocx, docx.substr(0, docx.size() / 2), LoadError::Damaged},
        {"odt cut in half", ReadOdt, odt.substr(0, odt.size() / 2), LoadError::Damaged},
        {"docx without its document", ReadDocx, MakeZip({{"word/styles.xml", "<w:styles/>"}}),
         LoadError::Damaged},
        {"odt without content", ReadOdt, MakeZip({{"meta.xml", "<office:document-meta/>"}}),
         LoadError::Damaged},
        {"docx document not XML", ReadDocx, MakeZip({{"word/document.xml", "PK garbage"}}),
         LoadError::Damaged},
        {"odt that is a spreadsheet", ReadOdt,
         MakeZip({{"content.xml",
                   "<office:document-content><office:body><office:spreadsheet/></office:body>"
                   "</office:document-content>"}}),
         LoadError::Damaged},
        {"docx bomb", ReadDocx, MakeZip({{"word/document.xml", std::string(2'000'000, ' ')}}),
         LoadError::BookTooLarge},
        {"odt bomb", ReadOdt, MakeZip({{"content.xml", std::string(2'000'000, ' ')}}),
         LoadError::BookTooLarge},
        {"not a package", ReadOdt, "plain text", LoadError::Damaged},
    };
    BookLimits limits;
    limits.maxUnpackedBytes = 1'000'000;
    for (const Case& c : cases) EXPECT_EQ(c.read(c.bytes, limits, {}).error, c.error) << c.name;
}

TEST(OfficeReaders, DocumentTypeEntitiesAreNeverExpanded) {
    std::string laughs = "<?xml version=\"1.0\"?><!DOCTYPE w:document [<!ENTITY l0 \"lol\">";
    for (int i = 1; i <= 9; ++i) {
        laughs += "<!ENTITY l" + std::to_string(i) + " \"";
        for (int k = 0; k < 10; ++k) laughs += "&l" + std::to_string(i - 1) + ";";
        laughs += "\">";
    }
    laughs += std::string("]><w:document ") + kW +
              "><w:body><w:p><w:r><w:t>a &l9; b</w:t></w:r></w:p></w:body></w:document>";
    const LoadedText book = ReadDocx(MakeZip({{"word/document.xml", laughs}}), {}, {});
    ASSERT_TRUE(book.error == LoadError::None || book.error == LoadError::Damaged);
    EXPECT_LT(book.text.size(), 100u);
}

TEST(OfficeReaders, TheTextIsCutAtTheLimitAndCancelStops) {
    for (const auto& [file, read] : std::vector<std::pair<const char*, Reader>>{
             {"pandoc.docx", ReadDocx}, {"libreoffice.odt", ReadOdt}}) {
        const std::string bytes = Sample(file);
        const std::u32string whole = read(bytes, {}, {}).text;
        for (const std::size_t limit :
             {std::size_t{0}, std::size_t{5}, std::size_t{27}, std::size_t{28}, whole.size() - 1}) {
            BookLimits limits;
            limits.maxTextLength = limit;
            const LoadedText cut = read(bytes, limits, {});
            ASSERT_EQ(cut.error, LoadError::None) << file << limit;
            EXPECT_LE(cut.text.size(), limit) << file;
            EXPECT_TRUE(cut.truncated) << file << limit;
            // Where a word ends, or at the limit when none does near it.
            EXPECT_TRUE(cut.text.size() == limit || IsSeparator(whole[cut.text.size()]))
                << file << limit;
            EXPECT_EQ(whole.substr(0, cut.text.size()), cut.text) << file << limit;
            ExpectWellFormed(cut);
        }

        std::size_t last = 0, total = 0, calls = 0;
        ASSERT_EQ(read(bytes, {},
                       [&](std::size_t done, std::size_t all) {
                           EXPECT_GE(done, last);
                           last = done;
                           total = all;
                           ++calls;
                           return true;
                       })
                      .error,
                  LoadError::None);
        EXPECT_EQ(last, total) << file;
        EXPECT_GT(calls, 2u) << file;
        for (const std::size_t stopAt : {std::size_t{0}, std::size_t{1}, calls - 1}) {
            std::size_t count = 0;
            const LoadedText stopped =
                read(bytes, {}, [&](std::size_t, std::size_t) { return count++ < stopAt; });
            EXPECT_EQ(stopped.error, LoadError::Cancelled) << file << stopAt;
            EXPECT_TRUE(stopped.text.empty());
        }
    }
}

}  // namespace
