#include "books/BookLoader.h"

#include <sys/stat.h>

#include <optional>
#include <string_view>

#include "books/DocxReader.h"
#include "books/EpubReader.h"
#include "books/Fb2Reader.h"
#include "books/OdtReader.h"
#include "books/PdfReader.h"

namespace {

// The reader of a book kind read whole from its bytes; nothing for a kind
// that is not a book.
std::optional<LoadedText> ReadBookBytes(DocumentKind kind, std::string_view bytes,
                                        const BookLimits& limits, const BookProgress& progress) {
    switch (kind) {
        case DocumentKind::Pdf: return ReadPdf(bytes, limits, progress);
        case DocumentKind::Fb2: return ReadFb2(bytes, limits, progress);
        case DocumentKind::Fb2Zip: return ReadFb2Zip(bytes, limits, progress);
        case DocumentKind::Epub: return ReadEpub(bytes, limits, progress);
        case DocumentKind::Docx: return ReadDocx(bytes, limits, progress);
        case DocumentKind::Odt: return ReadOdt(bytes, limits, progress);
        case DocumentKind::PlainText:
        case DocumentKind::RichText:
        case DocumentKind::Html: break;
    }
    return std::nullopt;
}

// A failed book is only its error: a reader stopped part way may have
// gathered some of the book by then (an FB2's metadata comes first).
LoadedText NothingIfFailed(LoadedText book) {
    if (book.error == LoadError::None) return book;
    return LoadFailure(book.error);
}

bool IsRegularFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

LoadedText LoadBookFile(const std::string& path, DocumentKind kind, const BookProgress& progress,
                        const BookLimits& limits) {
    LoadedText failed;
    if (kind == DocumentKind::Pdf) {
        // A pipe or a device is refused before poppler could wait on it.
        if (!IsRegularFile(path)) {
            failed.error = LoadError::OpenFailed;
            return failed;
        }
        return NothingIfFailed(ReadPdfFile(path, limits, progress));
    }
    std::string bytes;
    failed.error = ReadWholeFile(path, kMaxBookFileBytes, bytes);
    if (failed.error == LoadError::TooLarge) failed.error = LoadError::BookTooLarge;
    if (failed.error != LoadError::None) return failed;
    std::optional<LoadedText> book = ReadBookBytes(kind, bytes, limits, progress);
    if (!book) {
        failed.error = LoadError::OpenFailed;
        return failed;
    }
    return NothingIfFailed(std::move(*book));
}

LoadedText LoadAnyDocument(const std::string& path, DocumentKind kind,
                           const BookProgress& progress) {
    if (IsBookKind(kind)) return LoadBookFile(path, kind, progress);
    return LoadDocumentFile(path, kind);
}
