// The container, package and encryption documents of an EPUB, each parsed
// from its bytes alone.

#include "books/EpubPackage.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

TEST(EpubPackage, ResolvesReferencesIntoArchivePaths) {
    struct Case {
        const char* base;
        const char* href;
        const char* path;
    };
    const Case cases[] = {
        {"OEBPS/content.opf", "text/ch1.xhtml", "OEBPS/text/ch1.xhtml"},
        {"content.opf", "ch1.xhtml", "ch1.xhtml"},
        {"OEBPS/content.opf", "../ch1.xhtml", "ch1.xhtml"},
        {"OEBPS/content.opf", "./a/./b/../c.xhtml#part2", "OEBPS/a/c.xhtml"},
        {"OEBPS/content.opf", "/Root/x.xhtml", "Root/x.xhtml"},
        {"OEBPS/content.opf", "a%20b%2Fc.xhtml", "OEBPS/a b/c.xhtml"},
        {"OEBPS/content.opf", "%D0%B3%d0%bb.xhtml", "OEBPS/гл.xhtml"},
        // A broken escape stays as it stands.
        {"OEBPS/content.opf", "100%.xhtml", "OEBPS/100%.xhtml"},
        {"OEBPS/content.opf", "a%2", "OEBPS/a%2"},
        {"OEBPS/content.opf", "../../x.xhtml", ""},
        {"OEBPS/content.opf", "http://example.com/x.xhtml", ""},
        {"OEBPS/content.opf", "#note", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.base) + " + " + c.href);
        EXPECT_EQ(ResolveEpubPath(c.base, c.href), c.path);
    }
}

TEST(EpubPackage, ContainerNamesThePackageDocument) {
    struct Case {
        const char* xml;
        std::optional<std::string> path;
    };
    const Case cases[] = {
        {R"(<container><rootfiles><rootfile full-path="OPS/book.opf" media-type="application/oebps-package+xml"/></rootfiles></container>)",
         "OPS/book.opf"},
        // A PDF rendition first; the package document is the one wanted.
        {R"(<c:container xmlns:c="x"><c:rootfiles><c:rootfile full-path="b.pdf" media-type="application/pdf"/>)"
         R"(<c:rootfile full-path="b.opf"/></c:rootfiles></c:container>)",
         "b.opf"},
        {R"(<container><rootfiles><rootfile media-type="application/oebps-package+xml"/></rootfiles></container>)",
         std::nullopt},
        {"", std::nullopt},
        {"<container", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xml);
        EXPECT_EQ(ParseEpubContainer(c.xml), c.path);
    }
}

TEST(EpubPackage, CreatorsWhoAreAuthors) {
    struct Case {
        const char* label;
        const char* metadata;
        std::vector<std::string> creators;
    };
    const Case cases[] = {
        {"no roles", "<dc:creator>A</dc:creator><dc:creator>  B\n C </dc:creator>", {"A", "B C"}},
        {"EPUB 2 roles",
         R"(<dc:creator opf:role="aut">A</dc:creator><dc:creator opf:role="ill">I</dc:creator>)"
         R"(<dc:creator opf:role="aut">B</dc:creator>)",
         {"A", "B"}},
        {"EPUB 3 roles",
         R"(<dc:creator id="c1">A</dc:creator><dc:creator id="c2">E</dc:creator>)"
         R"(<meta refines="#c2" property="role" scheme="marc:relators">edt</meta>)"
         R"(<meta refines="#c1" property="role" scheme="marc:relators">aut</meta>)",
         {"A"}},
        {"empty names dropped", "<dc:creator> </dc:creator><dc:creator>A</dc:creator>", {"A"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const std::string xml =
            std::string(R"(<package xmlns:dc="d" xmlns:opf="o"><metadata>)") + c.metadata +
            "<dc:title> The\tTitle "
            "</dc:title><dc:title>Second</dc:title></metadata><spine/></package>";
        const auto package = ParseEpubPackage(xml, "content.opf");
        ASSERT_TRUE(package);
        EXPECT_EQ(package->creators, c.creators);
        EXPECT_EQ(package->title, "The Title");
    }
}

TEST(EpubPackage, SpineKeepsReadableDocumentsInOrder) {
    const char* const xml =
        R"(<?xml version="1.0"?><!DOCTYPE package [<!ENTITY e "&e;&e;">]><opf:package xmlns:opf="o"><opf:manifest>)"
        R"(<opf:item id="css" href="s.css" media-type="text/css"/>)"
        R"(<opf:item id="img" href="p.jpg" media-type="image/jpeg"/>)"
        R"(<opf:item id="old" href="old.html" media-type="text/html"/>)"
        R"(<opf:item id="a" href="a.xhtml" media-type="application/xhtml+xml"/>)"
        R"(<opf:item id="nav" href="nav.xhtml" media-type="application/xhtml+xml" properties="nav"/>)"
        R"(<opf:item id="a" href="duplicate.xhtml" media-type="application/xhtml+xml"/>)"
        R"(</opf:manifest><opf:spine toc="ncx"><opf:itemref idref="css"/><opf:itemref idref="a"/>)"
        R"(<opf:itemref idref="img"/><opf:itemref idref="nav"/><opf:itemref idref="old"/>)"
        R"(<opf:itemref idref="missing"/><opf:itemref idref="a" linear="no"/><opf:itemref idref="a"/>)"
        R"(</opf:spine></opf:package>)";
    const auto package = ParseEpubPackage(xml, "Book/content.opf");
    ASSERT_TRUE(package);
    const std::vector<std::string> documents = {"Book/a.xhtml", "Book/old.html", "Book/a.xhtml"};
    EXPECT_EQ(package->documents, documents);
    EXPECT_FALSE(ParseEpubPackage("<package><manifest/></package>", "x.opf"));
    EXPECT_FALSE(ParseEpubPackage("<package><spine>", "x.opf"));
}

TEST(EpubPackage, EncryptionListsEveryPart) {
    const char* const xml =
        R"(<encryption xmlns:enc="http://www.w3.org/2001/04/xmlenc#">)"
        R"(<enc:EncryptedData><enc:CipherData><enc:CipherReference URI="OEBPS/fonts/a%20b.otf"/></enc:CipherData></enc:EncryptedData>)"
        R"(<enc:EncryptedData><enc:CipherData><enc:CipherReference URI="OEBPS/ch1.xhtml"/></enc:CipherData></enc:EncryptedData>)"
        R"(</encryption>)";
    const std::vector<std::string> paths = {"OEBPS/fonts/a b.otf", "OEBPS/ch1.xhtml"};
    EXPECT_EQ(ParseEpubEncryption(xml), paths);
    EXPECT_TRUE(ParseEpubEncryption("<encryption").empty());
}

}  // namespace
