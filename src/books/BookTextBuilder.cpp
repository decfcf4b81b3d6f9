#include "books/BookTextBuilder.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>

#include "text/TextRules.h"

namespace {

bool IsXmlBlank(char32_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Decodes UTF-8 with ICU's macro: each maximal ill-formed subpart is one
// U+FFFD.
template <typename Visit>
void ForEachCodePoint(std::string_view utf8, Visit visit) {
    const auto* s = reinterpret_cast<const std::uint8_t*>(utf8.data());
    const auto length = static_cast<std::int32_t>(utf8.size());
    std::int32_t i = 0;
    while (i < length) {
        UChar32 c;
        U8_NEXT_OR_FFFD(s, i, length, c);
        visit(static_cast<char32_t>(c));
    }
}

}  // namespace

BookTextBuilder::BookTextBuilder(std::size_t maxTextLength) : max_(maxTextLength) {}

CharFormat BookTextBuilder::Current() const {
    CharFormat format;
    format.bold = bold_ > 0;
    format.italic = italic_ > 0;
    return format;
}

void BookTextBuilder::Emit(char32_t c, const CharFormat& format) {
    text_.push_back(c);
    if (!runs_.empty() && runs_.back().format == format) {
        ++runs_.back().length;
    } else {
        runs_.push_back(TextRun{text_.size() - 1, 1, format});
    }
}

bool BookTextBuilder::StartParagraph() {
    if (inParagraph_) return true;
    if (!text_.empty()) {
        // A break is never cut in half.
        if (text_.size() + 2 > max_) {
            full_ = true;
            refused_ = '\r';
            return false;
        }
        const CharFormat plain;
        Emit('\r', plain);
        Emit('\n', plain);
    }
    inParagraph_ = true;
    pendingSpace_ = false;
    return true;
}

void BookTextBuilder::Put(char32_t c) {
    if (full_) return;
    if (c < 0x20 && c != '\t') return;
    if (!StartParagraph()) return;
    if (pendingSpace_) {
        pendingSpace_ = false;
        if (text_.size() >= max_) {
            full_ = true;
            refused_ = ' ';
            return;
        }
        // The space looks like the text it was written in, not the text after it.
        Emit(' ', pendingFormat_);
    }
    if (text_.size() >= max_) {
        full_ = true;
        refused_ = c;
        return;
    }
    Emit(c, Current());
}

void BookTextBuilder::AppendCollapsed(std::string_view utf8) {
    ForEachCodePoint(utf8, [this](char32_t c) {
        if (IsXmlBlank(c)) {
            // Blanks fold into a space or tab just written (a cell
            // separator, ODF's text:s).
            if (inParagraph_ && !text_.empty() && text_.back() != ' ' && text_.back() != '\t') {
                pendingSpace_ = true;
                pendingFormat_ = Current();
            }
        } else {
            Put(c);
        }
    });
}

void BookTextBuilder::AppendPreserved(std::string_view utf8) {
    ForEachCodePoint(utf8, [this](char32_t c) { Put(IsXmlBlank(c) ? U' ' : c); });
}

void BookTextBuilder::AppendLiteral(char32_t c) { Put(c); }

void BookTextBuilder::AppendSeparator(char32_t c) {
    pendingSpace_ = false;
    Put(c);
}

void BookTextBuilder::EndParagraph() {
    inParagraph_ = false;
    pendingSpace_ = false;
}

void BookTextBuilder::BeginCell(bool firstInRow) {
    if (!firstInRow) Tab();
    ++cellDepth_;
}

void BookTextBuilder::BlockBreak() {
    if (cellDepth_ > 0) {
        AppendCollapsed(" ");
    } else {
        EndParagraph();
    }
}

void BookTextBuilder::Tab() {
    if (cellDepth_ > 0) {
        AppendCollapsed(" ");
    } else {
        AppendSeparator('\t');
    }
}

void BookTextBuilder::EmptyParagraph() {
    EndParagraph();
    if (text_.empty() || full_) return;
    StartParagraph();
    inParagraph_ = false;
}

void BookTextBuilder::BeginHeading(int level) {
    if (headingDepth_++ == 0) headings_.push_back({level, text_.size(), text_.size(), {}});
}

void BookTextBuilder::EndHeading() {
    if (--headingDepth_ != 0) return;
    headings_.back().to = text_.size();
    if (headings_.back().to == headings_.back().from) headings_.pop_back();
}

void BookTextBuilder::HeadingAtNextText(int level, std::u32string title) {
    if (headingDepth_ == 0 && !full_)
        headings_.push_back({level, text_.size(), std::u32string::npos, std::move(title)});
}

void BookTextBuilder::FinishOutline(LoadedText& book) const {
    const TextView text = book.text;
    for (const PendingHeading& heading : headings_) {
        const std::size_t to = std::min(heading.to, text.size());
        std::size_t first = heading.from;
        while (first < to && IsXmlBlank(text[first])) ++first;
        if (first >= to) continue;  // no text, or none before the cut
        const std::size_t lineFeed =
            first == 0 ? TextView::npos : text.find_last_of(U"\n", first - 1);
        Heading entry{heading.level, heading.title, lineFeed == TextView::npos ? 0 : lineFeed + 1};
        if (heading.to != std::u32string::npos) {
            for (std::size_t i = first; i < to; ++i) {
                if (!IsXmlBlank(text[i])) {
                    entry.title.push_back(text[i]);
                } else if (entry.title.back() != ' ') {
                    entry.title.push_back(' ');
                }
            }
            if (entry.title.back() == ' ') entry.title.pop_back();
        }
        book.outline.push_back(std::move(entry));
    }
}

void BookTextBuilder::Finish(LoadedText& book) {
    // Cut where a paragraph or word ends; the character that did not fit
    // tells whether the limit itself is such a place.
    book.truncated = full_;
    if (full_) {
        text_.push_back(refused_);
        text_.resize(CutLength(text_, text_.size() - 1));
    }
    // Trailing empty paragraphs (CR LF CR LF ...) say nothing, also where the
    // limit cut the text: it stays the start of the whole text.
    while (text_.size() >= 2 && text_[text_.size() - 1] == '\n' &&
           text_[text_.size() - 2] == '\r') {
        text_.resize(text_.size() - 2);
    }
    while (!runs_.empty() && runs_.back().start >= text_.size()) runs_.pop_back();
    if (!runs_.empty()) runs_.back().length = text_.size() - runs_.back().start;
    book.text = std::move(text_);
    book.runs = std::move(runs_);
    FinishOutline(book);
    text_.clear();
    runs_.clear();
    headings_.clear();
}

std::u32string CollapsedText(std::string_view utf8) {
    std::u32string out;
    bool space = false;
    ForEachCodePoint(utf8, [&](char32_t c) {
        if (IsXmlBlank(c)) {
            space = !out.empty();
        } else if (c >= 0x20) {
            if (space) out.push_back(' ');
            space = false;
            out.push_back(c);
        }
    });
    return out;
}
