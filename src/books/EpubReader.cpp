#include "books/EpubReader.h"

#include <algorithm>
#include <map>
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

// The table of contents: the navigation document's, else the NCX's. Empty
// when neither is there or reads.
std::vector<EpubTocEntry> ReadToc(ZipArchive& archive, const EpubPackage& package) {
    std::string xml;
    std::vector<EpubTocEntry> toc;
    if (!package.navigation.empty() &&
        archive.Read(package.navigation, xml) == ZipArchive::Status::Ok)
        toc = ParseEpubNavigation(xml, package.navigation);
    if (toc.empty() && !package.ncx.empty() &&
        archive.Read(package.ncx, xml) == ZipArchive::Status::Ok)
        toc = ParseEpubNcx(xml, package.ncx);
    return toc;
}

// The book's text as the spine's documents are read, a paragraph break
// between two, the spans of its headings, and where the entries of its table
// of contents point in it.
struct SpineText {
    std::u32string text;
    std::vector<HtmlConverter::Span> headings;
    std::vector<EpubTocEntry> toc;
    // One for each entry of toc: where its paragraph starts, once found.
    std::vector<std::optional<std::size_t>> tocPositions;
    // The entries of toc that point into each document.
    std::map<std::string, std::vector<std::size_t>, std::less<>> tocEntriesOf;
    // One document's, kept from one to the next for their memory.
    std::u32string chapter;
    std::vector<HtmlConverter::Span> chapterHeadings;

    void Append(const std::string& raw, const std::string& path) {
        const std::string declared = DeclaredXmlEncoding(raw).value_or("UTF-8");
        const std::u32string html = DecodeDocumentText(raw, kWholeText, declared).ToString();
        chapter.clear();
        chapterHeadings.clear();
        HtmlConverter converter(chapter, {.xhtml = true, .headings = &chapterHeadings});
        // The text is fed in pieces cut where the anchors the table of
        // contents names begin, so that the text written by then tells where
        // each lies; the cuts change nothing in the text.
        const auto entries = tocEntriesOf.find(path);
        static const std::vector<std::size_t> kNone;
        const std::vector<std::size_t>& pointing =
            entries == tocEntriesOf.end() ? kNone : entries->second;
        const std::vector<std::pair<std::size_t, std::size_t>> anchors = AnchorsIn(html, pointing);
        std::vector<std::size_t> anchorPositions;
        std::size_t fed = 0;
        for (const auto& [at, entry] : anchors) {
            converter.Feed(std::u32string_view(html).substr(fed, at - fed));
            fed = at;
            anchorPositions.push_back(chapter.size());
        }
        converter.Feed(std::u32string_view(html).substr(fed));
        converter.Finish();
        // The converter may begin with the break of a first heading or paragraph.
        std::size_t first = 0;
        while (first < chapter.size() && IsBreakOrBlank(chapter[first])) ++first;
        const std::size_t offset = text.empty() ? 0 : text.size() + kParagraphBreak.size();
        // An anchor after the last text, or a document without text, points
        // where the next document begins.
        const std::size_t next = first == chapter.size()
                                     ? offset
                                     : offset + chapter.size() - first + kParagraphBreak.size();
        for (std::size_t i = 0; i < anchors.size(); ++i) {
            std::size_t at = std::min(anchorPositions[i], chapter.size());
            while (at < chapter.size() && IsBreakOrBlank(chapter[at])) ++at;
            while (at > first && at < chapter.size() && chapter[at - 1] != '\n') --at;
            tocPositions[anchors[i].second] =
                at == chapter.size() ? next : offset + std::max(at, first) - first;
        }
        for (const std::size_t i : pointing)
            if (!tocPositions[i]) tocPositions[i] = offset;
        if (first == chapter.size()) return;
        if (!text.empty()) text += kParagraphBreak;
        text.append(chapter, first);
        for (const HtmlConverter::Span& span : chapterHeadings) {
            // Trimmed of the breaks and blanks around the heading's text.
            std::size_t start = std::max(span.start, first);
            std::size_t end = std::min(span.end, chapter.size());
            while (start < end && IsBreakOrBlank(chapter[start])) ++start;
            while (end > start && IsBreakOrBlank(chapter[end - 1])) --end;
            if (start < end)
                headings.push_back({offset + start - first, offset + end - first, span.level});
        }
    }

    // Where in the document the elements the entries pointing into it name
    // begin (the "<" of the tag with that id, the first one), in order, each
    // with its entry; those not found are left out. One pass over the
    // document, whatever the number of entries.
    std::vector<std::pair<std::size_t, std::size_t>> AnchorsIn(
        std::u32string_view html, const std::vector<std::size_t>& pointing) const {
        std::vector<std::pair<std::size_t, std::size_t>> anchors;
        std::map<std::u32string, std::vector<std::size_t>, std::less<>> wanted;
        for (const std::size_t i : pointing)
            if (!toc[i].anchor.empty() && !tocPositions[i])
                wanted[FromUtf8(toc[i].anchor)].push_back(i);
        static constexpr std::u32string_view kId = U"id=";
        for (std::size_t at = wanted.empty() ? html.npos : html.find(kId);
             at != html.npos && at + kId.size() < html.size(); at = html.find(kId, at + 1)) {
            const std::size_t open = at + kId.size();
            const char32_t quote = html[open];
            if (at == 0 || !IsBreakOrBlank(html[at - 1]) || (quote != '"' && quote != '\''))
                continue;
            const std::size_t close = html.find(quote, open + 1);
            if (close == html.npos) break;
            const auto named = wanted.find(html.substr(open + 1, close - open - 1));
            if (named == wanted.end()) continue;
            const std::size_t tag = std::min(html.rfind('<', at), at);
            for (const std::size_t entry : named->second) anchors.emplace_back(tag, entry);
            wanted.erase(named);
        }
        std::ranges::sort(anchors);
        return anchors;
    }
};

// The outline the table of contents gives: its entries whose place is in the
// text, levels nesting as the kept ones do, in the text's order.
std::vector<Heading> TocOutline(const std::vector<EpubTocEntry>& toc,
                                const std::vector<std::optional<std::size_t>>& positions,
                                std::size_t textLength) {
    std::vector<Heading> outline;
    std::vector<int> enclosing;  // the book's levels of the kept entries around the next
    for (std::size_t i = 0; i < toc.size(); ++i) {
        // An entry left out passes its place on to those under it.
        while (!enclosing.empty() && enclosing.back() >= toc[i].level) enclosing.pop_back();
        if (!positions[i] || *positions[i] >= textLength || toc[i].title.empty()) continue;
        enclosing.push_back(toc[i].level);
        outline.push_back(
            {static_cast<int>(enclosing.size()), FromUtf8(toc[i].title), *positions[i]});
    }
    std::ranges::stable_sort(outline, {}, &Heading::position);
    return outline;
}

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
            spine.Append(raw, package.documents[i]);
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
    if (!archive) return LoadFailure(LoadError::Damaged);
    EpubPackage package;
    if (const LoadError error = ReadPackage(*archive, package); error != LoadError::None) {
        return LoadFailure(error);
    }
    if (const LoadError error = SpineEncryption(*archive, package); error != LoadError::None) {
        return LoadFailure(error);
    }
    // Pages that are pictures only, with no document of text to read.
    if (package.documents.empty() && package.picturesInSpine) return LoadFailure(LoadError::NoText);
    SpineText spine;
    spine.toc = ReadToc(*archive, package);
    spine.tocPositions.resize(spine.toc.size());
    for (std::size_t i = 0; i < spine.toc.size(); ++i)
        spine.tocEntriesOf[spine.toc[i].path].push_back(i);
    if (const LoadError error = ReadSpine(*archive, package, limits, progress, spine);
        error != LoadError::None) {
        return LoadFailure(error);
    }
    // Read, but only pictures: a comic, or a book of scans.
    if (spine.text.empty()) return LoadFailure(LoadError::NoText);

    LoadedText book;
    book.text = std::move(spine.text);
    book.truncated = CutToLimit(book.text, limits.maxTextLength);
    book.runs = HeadingRuns(spine.headings, book.text.size());
    // Without a table of contents the headings make the outline.
    book.outline = TocOutline(spine.toc, spine.tocPositions, book.text.size());
    if (book.outline.empty()) book.outline = HeadingOutline(book.text, spine.headings);
    DropHeadingsPast(book.outline, book.text.size());
    for (const std::string& creator : package.creators) {
        if (!book.author.empty()) book.author += U", ";
        book.author += FromUtf8(creator);
    }
    book.title = FromUtf8(package.title);
    return book;
}
