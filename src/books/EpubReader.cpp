#include "books/EpubReader.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "books/EpubPackage.h"
#include "books/ZipArchive.h"
#include "text/DocumentLoader.h"
#include "text/HtmlCharset.h"
#include "text/HtmlConverter.h"
#include "text/TextDecoding.h"

namespace {

constexpr std::u32string_view kParagraphBreak = U"\r\n";

LoadError ZipError(ZipArchive::Status status) {
    switch (status) {
        case ZipArchive::Status::Encrypted: return LoadError::Encrypted;
        case ZipArchive::Status::TooLarge: return LoadError::BookTooLarge;
        case ZipArchive::Status::Cancelled: return LoadError::Cancelled;
        default: return LoadError::Damaged;
    }
}

bool IsBreakOrBlank(char32_t c) { return c == '\r' || c == '\n' || c == ' ' || c == '\t'; }

std::u32string FromUtf8(const std::string& text) {
    return DecodeCharset(text, "UTF-8").value_or(std::u32string());
}

// Heading spans, already in the book's positions and in order, become runs
// over the whole text: plain, bold, plain, ...
std::vector<TextRun> HeadingRuns(const std::vector<HtmlConverter::Span>& headings,
                                 std::size_t length) {
    std::vector<TextRun> runs;
    if (headings.empty() || length == 0) return runs;
    CharFormat plain;
    CharFormat bold;
    bold.bold = true;
    const auto add = [&](std::size_t start, std::size_t end, const CharFormat& format) {
        if (end <= start) return;
        if (!runs.empty() && runs.back().format == format) {
            runs.back().length = end - runs.back().start;
        } else {
            runs.push_back({start, end - start, format});
        }
    };
    std::size_t at = 0;
    for (const HtmlConverter::Span& heading : headings) {
        const std::size_t start = std::min(std::max(heading.start, at), length);
        const std::size_t end = std::min(heading.end, length);
        if (end <= start) continue;
        add(at, start, plain);
        add(start, end, bold);
        at = end;
    }
    add(at, length, plain);
    if (runs.size() == 1 && runs.front().format == plain) runs.clear();
    return runs;
}

// The package document the container names.
LoadError ReadPackage(ZipArchive& archive, EpubPackage& package) {
    std::string xml;
    if (const auto status = archive.Read("META-INF/container.xml", xml);
        status != ZipArchive::Status::Ok) {
        return ZipError(status);
    }
    const std::optional<std::string> packagePath = ParseEpubContainer(xml);
    if (!packagePath) return LoadError::Damaged;
    if (const auto status = archive.Read(*packagePath, xml); status != ZipArchive::Status::Ok)
        return ZipError(status);
    std::optional<EpubPackage> parsed = ParseEpubPackage(xml, *packagePath);
    if (!parsed) return LoadError::Damaged;
    package = std::move(*parsed);
    return LoadError::None;
}

// Encrypted when encryption.xml lists a document of the spine; fonts
// obfuscated there are no harm.
LoadError SpineEncryption(ZipArchive& archive, const EpubPackage& package) {
    if (!archive.Has("META-INF/encryption.xml")) return LoadError::None;
    std::string xml;
    if (const auto status = archive.Read("META-INF/encryption.xml", xml);
        status != ZipArchive::Status::Ok) {
        return ZipError(status);
    }
    const std::vector<std::string> encrypted = ParseEpubEncryption(xml);
    for (const std::string& document : package.documents)
        if (std::ranges::find(encrypted, document) != encrypted.end()) return LoadError::Encrypted;
    return LoadError::None;
}

// The book's text as the spine's documents are read, a paragraph break
// between two, and the spans of its headings.
struct SpineText {
    std::u32string text;
    std::vector<HtmlConverter::Span> headings;
    // One document's, kept from one to the next for their memory.
    std::u32string chapter;
    std::vector<HtmlConverter::Span> chapterHeadings;

    void Append(const std::string& raw) {
        const std::string declared = DeclaredXmlEncoding(raw).value_or("UTF-8");
        const std::u32string html = DecodeDocumentText(raw, kWholeText, declared);
        chapter.clear();
        chapterHeadings.clear();
        HtmlConverter converter(chapter, {.xhtml = true, .headings = &chapterHeadings});
        converter.Feed(html);
        converter.Finish();
        // The converter may begin with the break of a first heading or paragraph.
        std::size_t first = 0;
        while (first < chapter.size() && IsBreakOrBlank(chapter[first])) ++first;
        if (first == chapter.size()) return;
        if (!text.empty()) text += kParagraphBreak;
        const std::size_t offset = text.size();
        text.append(chapter, first);
        for (const HtmlConverter::Span& span : chapterHeadings) {
            // Trimmed of the breaks and blanks around the heading's text.
            std::size_t start = std::max(span.start, first);
            std::size_t end = std::min(span.end, chapter.size());
            while (start < end && IsBreakOrBlank(chapter[start])) ++start;
            while (end > start && IsBreakOrBlank(chapter[end - 1])) --end;
            if (start < end) headings.push_back({offset + start - first, offset + end - first});
        }
    }
};

// The spine's documents in order, until the text is as long as the limit.
// Damaged when not one of them could be read.
LoadError ReadSpine(ZipArchive& archive, const EpubPackage& package, const BookLimits& limits,
                    const BookProgress& progress, SpineText& spine) {
    std::string raw;
    bool anyRead = false;
    const std::size_t total = package.documents.size();
    for (std::size_t i = 0; i < total && spine.text.size() < limits.maxTextLength; ++i) {
        const ZipArchive::Status status = archive.Read(package.documents[i], raw);
        if (status == ZipArchive::Status::Encrypted || status == ZipArchive::Status::TooLarge ||
            status == ZipArchive::Status::Cancelled)
            return ZipError(status);
        if (status == ZipArchive::Status::Ok) {
            anyRead = true;
            spine.Append(raw);
        }
        // Otherwise the archive lacks the document, or it is damaged: the
        // rest of the book still reads.
        if (progress && !progress(i + 1, total)) return LoadError::Cancelled;
    }
    return anyRead ? LoadError::None : LoadError::Damaged;
}

}  // namespace

LoadedText ReadEpub(std::string_view bytes, const BookLimits& limits,
                    const BookProgress& progress) {
    std::optional<ZipArchive> archive = ZipArchive::Open(bytes, limits.maxUnpackedBytes, progress);
    if (!archive) return BookFailure(LoadError::Damaged);
    EpubPackage package;
    if (const LoadError error = ReadPackage(*archive, package); error != LoadError::None) {
        return BookFailure(error);
    }
    if (const LoadError error = SpineEncryption(*archive, package); error != LoadError::None) {
        return BookFailure(error);
    }
    // Pages that are pictures only, with no document of text to read.
    if (package.documents.empty() && package.picturesInSpine) return BookFailure(LoadError::NoText);
    SpineText spine;
    if (const LoadError error = ReadSpine(*archive, package, limits, progress, spine);
        error != LoadError::None) {
        return BookFailure(error);
    }
    // Read, but only pictures: a comic, or a book of scans.
    if (spine.text.empty()) return BookFailure(LoadError::NoText);

    LoadedText book;
    book.text = std::move(spine.text);
    book.truncated = CutToLimit(book.text, limits.maxTextLength);
    book.runs = HeadingRuns(spine.headings, book.text.size());
    for (const std::string& creator : package.creators) {
        if (!book.author.empty()) book.author += U", ";
        book.author += FromUtf8(creator);
    }
    book.title = FromUtf8(package.title);
    return book;
}
