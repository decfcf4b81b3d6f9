#include "books/PdfReader.h"

#include <poppler-document.h>
#include <poppler-global.h>
#include <poppler-page.h>
#include <poppler-toc.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "books/LineEndHyphen.h"
#include "books/OutlineFromTitles.h"
#include "text/DocumentLoader.h"

namespace {

struct Box {
    double left = 0, top = 0, right = 0, bottom = 0;
    double Height() const { return bottom - top; }
    double Middle() const { return (top + bottom) / 2; }
};

struct Line {
    std::u32string text;
    Box box;
    bool bold = true;  // every word of the line is set in a bold face
};

using Page = std::vector<Line>;

std::u32string FromUtf16(const poppler::ustring& text) {
    std::u32string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char32_t unit = text[i];
        if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            out += 0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (unit >= 0xD800 && unit <= 0xDFFF) {
            out += U'\uFFFD';
        } else if (unit != 0) {
            out += unit;
        }
    }
    return out;
}

bool IsBlank(char32_t c) {
    return c == U' ' || c == U'\t' || c == U'\r' || c == U'\n' || c == 0xA0;
}

std::u32string Trimmed(std::u32string text) {
    while (!text.empty() && IsBlank(text.back())) text.pop_back();
    std::size_t first = 0;
    while (first < text.size() && IsBlank(text[first])) ++first;
    return text.substr(first);
}

// Headings are told by their face: "LiberationSerif-Bold", "Arial,Bold",
// "DejaVuSans-BoldOblique".
bool IsBoldFace(const std::string& font) {
    std::string lower = font;
    for (char& c : lower) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return lower.find("bold") != std::string::npos || lower.find("black") != std::string::npos ||
           lower.find("heavy") != std::string::npos;
}

// Words in poppler's reading order become lines: a word starts a new line
// when it does not sit beside the one before, on the same level.
Page PageLines(const poppler::page& page) {
    Page lines;
    bool spaceAfter = false;
    for (const poppler::text_box& word : page.text_list(poppler::page::text_list_include_font)) {
        std::u32string text;
        for (char32_t c : FromUtf16(word.text())) {
            // Control characters in a text layer are noise; a tab is a gap.
            if (c == U'\t') c = U' ';
            if (c >= 0x20 || c == U' ') text += c;
        }
        if (Trimmed(text).empty()) {
            spaceAfter = spaceAfter || !lines.empty();
            continue;
        }
        const poppler::rectf r = word.bbox();
        const Box box{r.left(), r.top(), r.right(), r.bottom()};
        bool sameLine = false;
        if (!lines.empty()) {
            const Box& last = lines.back().box;
            const double slack = std::min(last.Height(), box.Height()) * 0.5;
            sameLine = box.Middle() > last.top && box.Middle() < last.bottom &&
                       box.left > last.right - slack;
            if (sameLine) {
                // Words set apart without a space character (table cells,
                // spread-out letters) still get one.
                const bool gap =
                    box.left - last.right > std::min(last.Height(), box.Height()) * 0.15;
                Line& line = lines.back();
                if ((spaceAfter || gap) && !line.text.empty() && line.text.back() != U' ')
                    line.text += U' ';
                line.text += text;
                line.box.left = std::min(line.box.left, box.left);
                line.box.top = std::min(line.box.top, box.top);
                line.box.right = std::max(line.box.right, box.right);
                line.box.bottom = std::max(line.box.bottom, box.bottom);
            }
        }
        if (!sameLine) lines.push_back({text, box, true});
        lines.back().bold = lines.back().bold && IsBoldFace(word.get_font_name());
        spaceAfter = word.has_space_after();
    }
    for (Line& line : lines) {
        line.text = Trimmed(std::move(line.text));
        // A soft hyphen is seen only where it breaks a line.
        if (line.text.size() > 1) {
            const auto end = std::remove(line.text.begin(), line.text.end() - 1, char32_t{0xAD});
            line.text.erase(end, line.text.end() - 1);
        }
    }
    return lines;
}

// A running header or footer is told apart from the text by its repeating:
// digits are all one, so "Page 7" and "Page 8" match.
std::u32string RepeatKey(const std::u32string& text) {
    std::u32string key;
    for (char32_t c : text) {
        const bool digit = u_isdigit(static_cast<UChar32>(c));
        if (digit && !key.empty() && key.back() == U'#') continue;
        key += digit ? U'#' : c;
    }
    return key;
}

std::optional<std::size_t> TopLine(const Page& page) {
    if (page.empty()) return std::nullopt;
    std::size_t best = 0;
    for (std::size_t i = 1; i < page.size(); ++i) {
        if (page[i].box.top < page[best].box.top) best = i;
    }
    return best;
}

std::optional<std::size_t> BottomLine(const Page& page) {
    if (page.empty()) return std::nullopt;
    std::size_t best = 0;
    for (std::size_t i = 1; i < page.size(); ++i) {
        if (page[i].box.bottom > page[best].box.bottom) best = i;
    }
    return best;
}

// Drops the top and bottom lines that repeat on at least half the pages (and
// on two at least).
void DropRunningLines(std::vector<Page>& pages) {
    for (const bool top : {true, false}) {
        std::map<std::u32string, std::size_t> counts;
        for (const Page& page : pages) {
            if (auto at = top ? TopLine(page) : BottomLine(page))
                ++counts[RepeatKey(page[*at].text)];
        }
        const std::size_t needed = std::max<std::size_t>(2, (pages.size() + 1) / 2);
        for (Page& page : pages) {
            const auto at = top ? TopLine(page) : BottomLine(page);
            if (at && counts[RepeatKey(page[*at].text)] >= needed)
                page.erase(page.begin() + static_cast<std::ptrdiff_t>(*at));
        }
    }
}

// Whether `next` goes on the paragraph `line` is in. Lines on one page are
// told apart by a wider gap than the page's usual one, a change of size, an
// indented first line, or a line that ends early: the next line's first word
// would have fitted after it.
bool Continues(const Line& line, const Line& next, double right, std::optional<double> usualGap) {
    const double height = std::min(line.box.Height(), next.box.Height());
    if (height <= 0) return false;
    if (std::abs(line.box.Height() - next.box.Height()) > 0.2 * height) return false;
    if (usualGap) {
        const double gap = next.box.top - line.box.bottom;
        if (gap > *usualGap + 0.2 * height) return false;
        if (next.box.left > line.box.left + 0.5 * height) return false;
    }
    const std::size_t wordEnd = next.text.find(U' ');
    const double nextWidth = next.box.right - next.box.left;
    const double firstWord =
        wordEnd == std::u32string::npos
            ? nextWidth
            : nextWidth * static_cast<double>(wordEnd) / static_cast<double>(next.text.size());
    return line.box.right + firstWord + 0.3 * height >= right;
}

// The usual gap between the lines of a page: the median, which is the gap
// inside paragraphs when paragraphs have more than two lines.
std::optional<double> UsualGap(const Page& page) {
    std::vector<double> gaps;
    for (std::size_t i = 1; i < page.size(); ++i)
        gaps.push_back(page[i].box.top - page[i - 1].box.bottom);
    if (gaps.empty()) return std::nullopt;
    std::sort(gaps.begin(), gaps.end());
    return gaps[(gaps.size() - 1) / 2];
}

class TextBuilder {
public:
    TextBuilder(std::size_t maxLength, const HyphenatedWords& hyphenated)
        : maxLength_(maxLength), hyphenated_(hyphenated) {}

    void StartParagraph() {
        if (!text_.empty()) {
            EndParagraph();
            text_ += U"\r\n";
        }
        paragraphStart_ = text_.size();
        bold_ = true;
    }
    void AppendLine(const std::u32string& line, bool bold) {
        bold_ = bold_ && bold;
        if (!text_.empty() && text_.back() != U'\n') {
            switch (JoinAtLineEnd(text_, line, hyphenated_)) {
                case LineEndJoin::DropHyphen: text_.pop_back(); break;
                case LineEndJoin::KeepHyphen: break;
                case LineEndJoin::Space: text_ += U' '; break;
            }
        }
        text_ += line;
    }
    bool Full() const { return text_.size() >= maxLength_; }
    std::size_t Length() const { return text_.size(); }
    std::size_t ParagraphStart() const { return paragraphStart_; }
    std::u32string Take() {
        EndParagraph();
        cut_ = CutToLimit(text_, maxLength_);
        return std::move(text_);
    }
    // Take had to cut the text.
    bool Cut() const { return cut_; }
    // Bold paragraphs (headings) and the rest, as runs covering the text
    // Take gave; none when nothing is bold.
    std::vector<TextRun> Runs(std::size_t length) const {
        std::vector<TextRun> runs;
        if (std::none_of(bold_paragraphs_.begin(), bold_paragraphs_.end(),
                         [](const auto& p) { return p.second; }))
            return runs;
        for (std::size_t i = 0; i < bold_paragraphs_.size(); ++i) {
            const std::size_t start = bold_paragraphs_[i].first;
            const std::size_t end =
                i + 1 < bold_paragraphs_.size() ? bold_paragraphs_[i + 1].first : length;
            if (start >= length) break;
            CharFormat format;
            format.bold = bold_paragraphs_[i].second;
            if (!runs.empty() && runs.back().format == format) {
                runs.back().length = std::min(end, length) - runs.back().start;
            } else {
                runs.push_back({start, std::min(end, length) - start, format});
            }
        }
        return runs;
    }

private:
    void EndParagraph() {
        if (paragraphStart_ < text_.size()) bold_paragraphs_.emplace_back(paragraphStart_, bold_);
        paragraphStart_ = text_.size();
    }

    std::size_t maxLength_;
    const HyphenatedWords& hyphenated_;
    bool cut_ = false;
    std::u32string text_;
    std::size_t paragraphStart_ = 0;
    bool bold_ = true;
    // Where each paragraph starts, and whether it is bold.
    std::vector<std::pair<std::size_t, bool>> bold_paragraphs_;
};

void QuietPoppler() {
    // Damaged files make poppler complain on standard error; the user hears
    // of them through the program's own message.
    static const bool quiet = [] {
        poppler::set_debug_error_function([](const std::string&, void*) {}, nullptr);
        return true;
    }();
    (void)quiet;
}

// The lines of the document's pages in order. Pages past the text limit are
// not read, but for a few, so that the running headers and footers of the last
// pages read are still told by their repeating; progress counts them all.
// False when progress stopped the load.
bool ReadPages(poppler::document& document, std::size_t maxTextLength, const BookProgress& progress,
               std::vector<Page>& pages) {
    const int count = document.pages();
    // Characters that stay whatever lines turn out to be running headers or
    // footers: all but each page's top and bottom lines.
    std::size_t kept = 0;
    int pastLimit = 0;
    constexpr int kPagesPastLimit = 3;
    for (int i = 0; i < count; ++i) {
        if (pastLimit <= kPagesPastLimit) {
            std::unique_ptr<poppler::page> page(document.create_page(i));
            pages.push_back(page ? PageLines(*page) : Page{});
            const Page& lines = pages.back();
            const std::optional<std::size_t> top = TopLine(lines);
            const std::optional<std::size_t> bottom = BottomLine(lines);
            for (std::size_t j = 0; j < lines.size(); ++j) {
                if (j != top && j != bottom) kept += lines[j].text.size() + 1;
            }
            if (kept > maxTextLength) ++pastLimit;
        }
        if (progress &&
            !progress(static_cast<std::size_t>(i) + 1, static_cast<std::size_t>(count))) {
            return false;
        }
    }
    return true;
}

// The lines of every page put back into paragraphs, up to the text limit;
// where each line went in the text.
void JoinParagraphs(const std::vector<Page>& pages, std::size_t maxTextLength, LoadedText& book,
                    std::vector<TextLine>& placed) {
    // Whether a hyphen at a line end is a compound's is told by the whole book.
    HyphenatedWords hyphenated;
    for (const Page& page : pages) {
        for (const Line& line : page) hyphenated.AddLine(line.text);
    }
    TextBuilder builder(maxTextLength, hyphenated);
    const Line* previous = nullptr;
    double previousRight = 0;
    for (const Page& page : pages) {
        double right = 0;
        for (const Line& line : page) right = std::max(right, line.box.right);
        const std::optional<double> usualGap = UsualGap(page);
        for (std::size_t i = 0; i < page.size() && !builder.Full(); ++i) {
            const Line& line = page[i];
            // Across a page break only the ending of the last line counts.
            const bool continues = previous != nullptr &&
                                   (i == 0 ? Continues(*previous, line, previousRight, std::nullopt)
                                           : Continues(*previous, line, right, usualGap));
            if (!continues) builder.StartParagraph();
            builder.AppendLine(line.text, line.bold);
            placed.push_back(
                {builder.Length() - line.text.size(), builder.Length(), builder.ParagraphStart()});
            previous = &line;
        }
        previousRight = right;
    }
    book.text = builder.Take();
    book.truncated = builder.Cut();
    book.runs = builder.Runs(book.text.size());
}

// The document's bookmarks in their order, a level for each by its depth.
// Poppler does not tell the page a bookmark leads to, so the text places them
// by their titles (OutlineFromTitles).
std::vector<TitledEntry> BookmarkEntries(const poppler::document& document) {
    // A hostile file could hold bookmarks without end; real books have hundreds.
    constexpr std::size_t kMaxEntries = 100'000;
    std::vector<TitledEntry> entries;
    const std::unique_ptr<poppler::toc> toc(document.create_toc());
    if (!toc || !toc->root()) return entries;
    // Items still to be read, the next on top, each with its level.
    std::vector<std::pair<const poppler::toc_item*, int>> stack;
    const auto push = [&stack](const poppler::toc_item& item, int level) {
        const std::vector<poppler::toc_item*> children = item.children();
        for (auto child = children.rbegin(); child != children.rend(); ++child)
            if (*child) stack.emplace_back(*child, level);
    };
    push(*toc->root(), 1);
    while (!stack.empty() && entries.size() < kMaxEntries) {
        const auto [item, level] = stack.back();
        stack.pop_back();
        std::u32string title = FromUtf16(item->title());
        // Bookmark titles may hold control characters; a title shows them as spaces.
        std::replace_if(
            title.begin(), title.end(), [](char32_t c) { return c < 0x20; }, U' ');
        entries.push_back({level, std::move(title)});
        push(*item, level + 1);
    }
    return entries;
}

LoadedText ReadDocument(std::unique_ptr<poppler::document> document, const BookLimits& limits,
                        const BookProgress& progress) {
    if (!document) return LoadFailure(LoadError::Damaged);
    if (document->is_locked()) return LoadFailure(LoadError::Encrypted);
    if (document->pages() <= 0) return LoadFailure(LoadError::Damaged);
    std::vector<Page> pages;
    if (!ReadPages(*document, limits.maxTextLength, progress, pages)) {
        return LoadFailure(LoadError::Cancelled);
    }
    if (std::ranges::all_of(pages, [](const Page& page) { return page.empty(); })) {
        return LoadFailure(LoadError::NoText);
    }
    DropRunningLines(pages);
    LoadedText book;
    std::vector<TextLine> lines;
    JoinParagraphs(pages, limits.maxTextLength, book, lines);
    book.outline = OutlineFromTitles(BookmarkEntries(*document), book.text, lines);
    book.title = Trimmed(FromUtf16(document->get_title()));
    book.author = Trimmed(FromUtf16(document->get_author()));
    return book;
}

}  // namespace

LoadedText ReadPdf(std::string_view bytes, const BookLimits& limits, const BookProgress& progress) {
    QuietPoppler();
    if (bytes.size() > static_cast<std::size_t>(INT_MAX))
        return LoadFailure(LoadError::BookTooLarge);
    std::unique_ptr<poppler::document> document(
        poppler::document::load_from_raw_data(bytes.data(), static_cast<int>(bytes.size())));
    return ReadDocument(std::move(document), limits, progress);
}

LoadedText ReadPdfFile(const std::string& path, const BookLimits& limits,
                       const BookProgress& progress) {
    QuietPoppler();
    std::unique_ptr<poppler::document> document(poppler::document::load_from_file(path));
    return ReadDocument(std::move(document), limits, progress);
}
