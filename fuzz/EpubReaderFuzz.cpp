// Reads arbitrary bytes as an EPUB or as one of its parts; the first byte
// chooses which:
//   0: a whole book (a ZIP archive), under a small unpacking cap;
//   1: META-INF/container.xml;
//   2: a package document, whose paths must then be archive paths;
//   3: META-INF/encryption.xml, and the bytes as an XHTML chapter through the
//      converter's XHTML mode, whole and in chunks, which must agree.
// Nothing may crash; a book's runs must cover its text in order, and its
// outline's headings start its paragraphs.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "books/EpubPackage.h"
#include "books/EpubReader.h"
#include "text/HtmlConverter.h"
#include "text/TextDecoding.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckPath(const std::string& path) {
    Check(!path.empty() && path.front() != '/' && path.back() != '/');
    Check(path.find("//") == std::string::npos);
    Check(path != ".." && !path.starts_with("../") && path.find("/../") == std::string::npos);
}

void ReadBook(std::string_view bytes) {
    BookLimits limits;
    limits.maxTextLength = 1 << 20;
    limits.maxUnpackedBytes = 8 << 20;
    std::size_t calls = 0;
    const LoadedText book = ReadEpub(bytes, limits, [&](std::size_t done, std::size_t total) {
        Check(done == ++calls && done <= total);
        return true;
    });
    if (book.error != LoadError::None) {
        Check(book.text.empty() && book.runs.empty());
        return;
    }
    Check(!book.text.empty() && book.text.size() <= limits.maxTextLength);
    std::size_t at = 0;
    for (std::size_t i = 0; i < book.runs.size(); ++i) {
        Check(book.runs[i].start == at && book.runs[i].length > 0);
        if (i > 0) Check(!(book.runs[i].format == book.runs[i - 1].format));
        at += book.runs[i].length;
    }
    Check(book.runs.empty() || at == book.text.size());
    // The outline's headings start paragraphs of the text, in order.
    for (std::size_t i = 0; i < book.outline.size(); ++i) {
        const Heading& heading = book.outline[i];
        Check(heading.level >= 1 && !heading.title.empty() && heading.position < book.text.size());
        Check(heading.position == 0 || book.text[heading.position - 1] == '\n');
        Check(i == 0 || book.outline[i - 1].position <= heading.position);
    }
}

void ConvertChapter(std::string_view bytes) {
    const std::u32string html = DecodeCharset(bytes, "UTF-8").value_or(std::u32string());
    std::u32string whole;
    std::vector<HtmlConverter::Span> headings;
    {
        HtmlConverter converter(whole, {.xhtml = true, .headings = &headings});
        converter.Feed(html);
        converter.Finish();
    }
    for (std::size_t i = 0; i < headings.size(); ++i) {
        Check(headings[i].start <= headings[i].end && headings[i].end <= whole.size());
        if (i > 0) Check(headings[i - 1].end <= headings[i].start);
    }
    // Through a sink in pieces of 7 characters: the same text and headings.
    std::u32string sunk;
    std::vector<HtmlConverter::Span> sunkHeadings;
    HtmlConverter converter([&](std::u32string_view piece) { sunk.append(piece); },
                            {.xhtml = true, .headings = &sunkHeadings});
    for (std::size_t at = 0; at < html.size(); at += 7)
        converter.Feed(std::u32string_view(html).substr(at, 7));
    converter.Finish();
    Check(sunk == whole);
    Check(sunkHeadings == headings);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    switch (data[0] % 4) {
        case 0: ReadBook(bytes); break;
        case 1:
            if (const auto path = ParseEpubContainer(bytes)) CheckPath(*path);
            break;
        case 2:
            if (const auto package = ParseEpubPackage(bytes, "OEBPS/content.opf")) {
                for (const std::string& path : package->documents) CheckPath(path);
            }
            break;
        default:
            for (const std::string& path : ParseEpubEncryption(bytes)) CheckPath(path);
            ConvertChapter(bytes);
            break;
    }
    return 0;
}
