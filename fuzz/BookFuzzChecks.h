#pragma once

// What every book read must give, whatever the bytes: shared by the book
// readers' fuzz targets.

#include <cstdlib>

#include "books/BookText.h"

namespace bookfuzz {

inline void Check(bool condition) {
    if (!condition) std::abort();
}

// Runs cover the text, neighbours differ, breaks are whole CR LF pairs, no
// other control character but tab, every position a Unicode scalar value.
inline void CheckShape(const LoadedText& book, std::size_t maxText) {
    Check(book.text.size() <= maxText);
    if (book.error != LoadError::None) Check(book.text.empty() && book.runs.empty());
    std::size_t next = 0;
    for (std::size_t i = 0; i < book.runs.size(); ++i) {
        Check(book.runs[i].start == next && book.runs[i].length > 0);
        Check(i == 0 || book.runs[i].format != book.runs[i - 1].format);
        next += book.runs[i].length;
    }
    Check(next == book.text.size());
    for (std::size_t i = 0; i < book.text.size(); ++i) {
        const char32_t c = book.text[i];
        Check(c < 0x110000 && (c < 0xD800 || c > 0xDFFF));
        if (c == '\r') Check(i + 1 < book.text.size() && book.text[i + 1] == '\n');
        if (c == '\n') Check(i > 0 && book.text[i - 1] == '\r');
        Check(c >= 0x20 || c == '\t' || c == '\r' || c == '\n');
    }
    // Headings in text order, each where a paragraph starts.
    for (std::size_t i = 0; i < book.outline.size(); ++i) {
        const std::size_t at = book.outline[i].position;
        Check(book.outline[i].level > 0 && at < book.text.size());
        Check(at == 0 || book.text[at - 1] == '\n');
        Check(i == 0 || at >= book.outline[i - 1].position);
    }
}

// Reads the bytes four ways: whole (twice: the same result), with half the
// text limit (the start of the same text), and stopped at once (Cancelled).
template <typename Reader>
void CheckReader(Reader read, std::string_view bytes) {
    BookLimits limits;
    limits.maxUnpackedBytes = 64u * 1024 * 1024;
    const LoadedText whole = read(bytes, limits, BookProgress{});
    CheckShape(whole, limits.maxTextLength);
    const LoadedText again = read(bytes, limits, BookProgress{});
    Check(again.error == whole.error && again.text == whole.text && again.runs == whole.runs &&
          again.author == whole.author && again.title == whole.title &&
          again.outline == whole.outline);

    BookLimits half = limits;
    half.maxTextLength = whole.text.size() / 2;
    const LoadedText cut = read(bytes, half, BookProgress{});
    CheckShape(cut, half.maxTextLength);
    Check(cut.error == whole.error);
    Check(whole.text.View().substr(0, cut.text.size()) == cut.text.View());

    const LoadedText stopped = read(bytes, limits, [](std::size_t done, std::size_t total) {
        Check(done <= total);
        return false;
    });
    Check(stopped.error == LoadError::Cancelled || whole.error != LoadError::None);
}

}  // namespace bookfuzz
