#include "books/BookLoader.h"

#include <gtest/gtest.h>

#include "TempFolder.h"

namespace {

const std::string kData = LMN_TEST_DATA "/books/";

const char* const kFb2 =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>"
    "<FictionBook xmlns=\"http://www.gribuser.ru/xml/fictionbook/2.0\"><description><title-info>"
    "<author><first-name>Anna</first-name><last-name>Ivanova</last-name></author>"
    "<book-title>Tale</book-title></title-info></description>"
    "<body><section><p>Once upon a time.</p></section></body></FictionBook>";

TEST(BookLoader, LoadsByKindAndRefusesWhatIsNotAFile) {
    TempFolder folder;
    struct Case {
        const char* label;
        std::string path;
        DocumentKind kind;
        LoadError error;
    };
    const Case cases[] = {
        {"pdf", kData + "sample.pdf", DocumentKind::Pdf, LoadError::None},
        {"password pdf", kData + "sample-password.pdf", DocumentKind::Pdf, LoadError::Encrypted},
        {"scanned pdf", kData + "sample-scanned.pdf", DocumentKind::Pdf, LoadError::NoText},
        {"missing pdf", folder.Path("none.pdf"), DocumentKind::Pdf, LoadError::OpenFailed},
        {"a folder named .pdf", folder.Path(""), DocumentKind::Pdf, LoadError::OpenFailed},
        {"text named .pdf", folder.Write("t.pdf", "plain words"), DocumentKind::Pdf,
         LoadError::Damaged},
        {"missing epub", folder.Path("none.epub"), DocumentKind::Epub, LoadError::OpenFailed},
        {"text named .epub", folder.Write("t.epub", "plain words"), DocumentKind::Epub,
         LoadError::Damaged},
        {"text named .docx", folder.Write("t.docx", "plain words"), DocumentKind::Docx,
         LoadError::Damaged},
        {"text named .odt", folder.Write("t.odt", "plain words"), DocumentKind::Odt,
         LoadError::Damaged},
        {"text named .fb2.zip", folder.Write("t.fb2.zip", "plain words"), DocumentKind::Fb2Zip,
         LoadError::Damaged},
        {"fb2", folder.Write("t.fb2", kFb2), DocumentKind::Fb2, LoadError::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(LoadAnyDocument(c.path, c.kind, {}).error, c.error);
    }
    const LoadedText pdf = LoadAnyDocument(kData + "sample.pdf", DocumentKind::Pdf, {});
    EXPECT_EQ(pdf.author, U"Анна Иванова");
    EXPECT_EQ(pdf.title, U"Образцы текста");
    EXPECT_EQ(LoadAnyDocument(folder.Write("a.txt", "words"), DocumentKind::PlainText, {}).text,
              U"words");
    const LoadedText fb2 = LoadAnyDocument(folder.Path("t.fb2"), DocumentKind::Fb2, {});
    EXPECT_EQ(fb2.author, U"Anna Ivanova");
    EXPECT_EQ(fb2.title, U"Tale");
    EXPECT_NE(fb2.text.find(U"Once upon a time."), std::u32string::npos);
}

// Every sample book, its kind taken from its name as the program takes it,
// reaches its reader through the one loader.
TEST(BookLoader, EverySampleBookLoadsByItsName) {
    struct Case {
        const char* name;
        LoadError error;
    };
    const Case cases[] = {
        {"hand-1251.fb2", LoadError::None},
        {"hand-1251.fb2.zip", LoadError::None},
        {"pandoc.fb2", LoadError::None},
        {"pandoc-epub2.epub", LoadError::None},
        {"pandoc-epub3.epub", LoadError::None},
        {"libreoffice.epub", LoadError::None},
        {"pandoc.docx", LoadError::None},
        {"libreoffice.docx", LoadError::None},
        {"pandoc.odt", LoadError::None},
        {"libreoffice.odt", LoadError::None},
        {"sample.pdf", LoadError::None},
        {"bomb.fb2.zip", LoadError::BookTooLarge},
        {"sample-password.pdf", LoadError::Encrypted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = kData + c.name;
        const std::optional<DocumentKind> kind = DocumentKindFromPath(path);
        ASSERT_TRUE(kind && IsBookKind(*kind));
        std::size_t calls = 0;
        const LoadedText loaded = LoadAnyDocument(path, *kind, [&](std::size_t, std::size_t) {
            ++calls;
            return true;
        });
        EXPECT_EQ(loaded.error, c.error);
        EXPECT_EQ(loaded.text.empty(), c.error != LoadError::None);
        if (c.error == LoadError::None) {
            EXPECT_GT(calls, 0u);
        }
    }
}

TEST(BookLoader, CancelledPdfLoadGivesNothing) {
    const LoadedText loaded = LoadBookFile(kData + "sample.pdf", DocumentKind::Pdf,
                                           [](std::size_t, std::size_t) { return false; });
    EXPECT_EQ(loaded.error, LoadError::Cancelled);
    EXPECT_TRUE(loaded.text.empty());
}

}  // namespace
