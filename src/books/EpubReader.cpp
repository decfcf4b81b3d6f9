#include "books/EpubReader.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "books/EpubPackage.h"
#include "books/ZipArchive.h"
#include "text/HtmlCharset.h"
#include "text/HtmlConverter.h"
#include "text/TextDecoding.h"

namespace {

constexpr std::u32string_view kParagraphBreak = U"\r\n";

LoadedText Failure(LoadError error) {
    LoadedText book;
    book.error = error;
    return book;
}

LoadError ZipError(ZipArchive::Status status) {
    switch (status) {
        case ZipArchive::Status::Encrypted: return LoadError::Encrypted;
        case ZipArchive::Status::TooLarge: return LoadError::BookTooLarge;
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

}  // namespace

LoadedText ReadEpub(std::string_view bytes, const BookLimits& limits,
                    const BookProgress& progress) {
    std::optional<ZipArchive> archive = ZipArchive::Open(bytes, limits.maxUnpackedBytes);
    if (!archive) return Failure(LoadError::Damaged);

    std::string xml;
    if (const auto status = archive->Read("META-INF/container.xml", xml);
        status != ZipArchive::Status::Ok) {
        return Failure(ZipError(status));
    }
    const std::optional<std::string> packagePath = ParseEpubContainer(xml);
    if (!packagePath) return Failure(LoadError::Damaged);
    if (const auto status = archive->Read(*packagePath, xml); status != ZipArchive::Status::Ok)
        return Failure(ZipError(status));
    const std::optional<EpubPackage> package = ParseEpubPackage(xml, *packagePath);
    if (!package) return Failure(LoadError::Damaged);

    std::vector<std::string> encrypted;
    if (archive->Has("META-INF/encryption.xml")) {
        if (const auto status = archive->Read("META-INF/encryption.xml", xml);
            status != ZipArchive::Status::Ok) {
            return Failure(ZipError(status));
        }
        encrypted = ParseEpubEncryption(xml);
    }
    for (const std::string& document : package->documents)
        if (std::ranges::find(encrypted, document) != encrypted.end())
            return Failure(LoadError::Encrypted);

    LoadedText book;
    std::vector<HtmlConverter::Span> headings;
    std::vector<HtmlConverter::Span> chapterHeadings;
    std::u32string chapter;
    std::string raw;
    bool anyRead = false;
    const std::size_t total = package->documents.size();
    for (std::size_t i = 0; i < total && book.text.size() < limits.maxTextLength; ++i) {
        const ZipArchive::Status status = archive->Read(package->documents[i], raw);
        if (status == ZipArchive::Status::Encrypted || status == ZipArchive::Status::TooLarge)
            return Failure(ZipError(status));
        if (status == ZipArchive::Status::Ok) {
            anyRead = true;
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
            if (first < chapter.size()) {
                if (!book.text.empty()) book.text += kParagraphBreak;
                const std::size_t offset = book.text.size();
                book.text.append(chapter, first);
                for (const HtmlConverter::Span& span : chapterHeadings) {
                    // Trimmed of the breaks and blanks around the heading's text.
                    std::size_t start = std::max(span.start, first);
                    std::size_t end = std::min(span.end, chapter.size());
                    while (start < end && IsBreakOrBlank(chapter[start])) ++start;
                    while (end > start && IsBreakOrBlank(chapter[end - 1])) --end;
                    if (start < end)
                        headings.push_back({offset + start - first, offset + end - first});
                }
            }
        }
        // Otherwise the archive lacks the document, or it is damaged: the
        // rest of the book still reads.
        if (progress && !progress(i + 1, total)) return Failure(LoadError::Cancelled);
    }
    if (!anyRead) return Failure(LoadError::Damaged);
    // Read, but only pictures: a comic, or a book of scans.
    if (book.text.empty()) return Failure(LoadError::NoText);
    if (book.text.size() > limits.maxTextLength) book.text.resize(limits.maxTextLength);
    book.runs = HeadingRuns(headings, book.text.size());

    for (const std::string& creator : package->creators) {
        if (!book.author.empty()) book.author += U", ";
        book.author += FromUtf8(creator);
    }
    book.title = FromUtf8(package->title);
    return book;
}
