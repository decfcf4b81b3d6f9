#include "books/BookLoader.h"

#include <gtest/gtest.h>

#include "TempFolder.h"

namespace {

const std::string kData = LMN_TEST_DATA "/books/";

TEST(BookLoader, EachBookErrorHasItsLoadError) {
    const std::pair<BookError, LoadError> cases[] = {
        {BookError::None, LoadError::None},
        {BookError::Damaged, LoadError::Damaged},
        {BookError::Encrypted, LoadError::Encrypted},
        {BookError::NoText, LoadError::NoText},
        {BookError::TooLarge, LoadError::BookTooLarge},
        {BookError::Cancelled, LoadError::Cancelled},
    };
    for (const auto& [book, load] : cases) EXPECT_EQ(LoadErrorFromBook(book), load);
}

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
}

TEST(BookLoader, CancelledPdfLoadGivesNothing) {
    const LoadedText loaded = LoadBookFile(kData + "sample.pdf", DocumentKind::Pdf,
                                           [](std::size_t, std::size_t) { return false; });
    EXPECT_EQ(loaded.error, LoadError::Cancelled);
    EXPECT_TRUE(loaded.text.empty());
}

}  // namespace
