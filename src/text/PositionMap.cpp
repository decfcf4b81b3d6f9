#include "text/PositionMap.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

bool IsBlank(char32_t c) { return c == ' ' || c == '\t'; }
bool IsLineBreak(char32_t c) { return c == '\r' || c == '\n'; }
// The widget holds UTF-16: a character beyond the Basic Multilingual Plane
// takes two of its positions.
bool TakesTwoUnits(char32_t c) { return c > 0xFFFF; }

bool IsCommon(char32_t c) { return c > '\r' && c <= 0xFFFF; }

// Which bytes of a text held one byte a character stand for a character that
// is not common: a control or one beyond the Basic Multilingual Plane.
using UncommonBytes = std::array<bool, 256>;

// From `at` on, the first character that is not common, or the end: a byte
// or four characters at a time (SSE2 is on every x86-64), since this is a
// look at every character of a book.
std::size_t SkipCommon(TextView text, const UncommonBytes& uncommon, std::size_t at) {
    if (const std::uint8_t* bytes = text.Narrow()) {
        while (at < text.size() && !uncommon[bytes[at]]) ++at;
        return at;
    }
#if defined(__SSE2__)
    const __m128i firstCommon = _mm_set1_epi32('\r' + 1);
    const __m128i lastCommon = _mm_set1_epi32(0xFFFF);
    for (; at + 4 <= text.size(); at += 4) {
        const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.Wide() + at));
        const __m128i notCommon =
            _mm_or_si128(_mm_cmplt_epi32(four, firstCommon), _mm_cmpgt_epi32(four, lastCommon));
        if (_mm_movemask_epi8(notCommon) != 0) break;
    }
#endif
    return at;
}

}  // namespace

PositionMap::PositionMap(TextView text, std::size_t lineLimit) {
    const std::size_t size = text.size();
    UncommonBytes uncommon{};
    if (text.Narrow() != nullptr) {
        for (std::size_t byte = 0; byte < uncommon.size(); ++byte)
            uncommon[byte] = !IsCommon(text.Alphabet()[byte]);
    }
    std::size_t widget = 0;  // the widget position of `start`
    for (std::size_t start = 0;;) {
        std::size_t end = start;
        bool twoUnits = false;
        // One test for the common character: neither a control nor beyond
        // the Basic Multilingual Plane.
        while (end < size) {
            end = SkipCommon(text, uncommon, end);
            if (end == size) break;
            const char32_t c = text[end];
            if (IsCommon(c)) {
                ++end;
                continue;
            }
            if (IsLineBreak(c)) break;
            twoUnits |= TakesTwoUnits(c);
            ++end;
        }
        if (twoUnits || end - start > lineLimit) {
            MapLine(text, start, end, lineLimit, widget);
        } else {
            widget += end - start;
        }
        if (end == size) break;
        ++widget;  // the line break
        start = end + 1;
        if (text[end] == '\r' && start < size && text[start] == '\n') {
            ++start;
            AddAnchor(start, widget);
        }
    }
}

// Maps [start, end), a line that is longer than the limit or holds
// characters of two widget positions, and moves `widget` past it. A line
// longer than the limit is split into pieces: each ends before the first word
// that starts once it holds half the limit, or at the limit itself, until
// what is left of the line fits.
void PositionMap::MapLine(TextView text, std::size_t start, std::size_t end, std::size_t lineLimit,
                          std::size_t& widget) {
    const bool split = end - start > lineLimit;
    const std::size_t wordSplit = std::max<std::size_t>(lineLimit / 2, 1);
    std::size_t pieceStart = start;
    for (std::size_t i = start; i < end; ++i) {
        if (split && i > start && end - pieceStart > lineLimit) {
            const std::size_t piece = i - pieceStart;
            const bool wordStarts = IsBlank(text[i - 1]) && !IsBlank(text[i]);
            if (piece >= lineLimit || (piece >= wordSplit && wordStarts)) {
                splits_.push_back(i);
                ++widget;
                AddAnchor(i, widget);
                pieceStart = i;
            }
        }
        if (TakesTwoUnits(text[i])) {
            widget += 2;
            AddAnchor(i + 1, widget);
        } else {
            ++widget;
        }
    }
}

std::size_t PositionMap::ToWidget(std::size_t position) const {
    const auto after =
        std::upper_bound(anchors_.begin(), anchors_.end(), position,
                         [](std::size_t p, const Anchor& anchor) { return p < anchor.text; });
    if (after == anchors_.begin()) return position;
    const Anchor& anchor = *(after - 1);
    return anchor.widget + (position - anchor.text);
}

std::size_t PositionMap::ToText(std::size_t widgetPosition) const {
    const auto after =
        std::upper_bound(anchors_.begin(), anchors_.end(), widgetPosition,
                         [](std::size_t w, const Anchor& anchor) { return w < anchor.widget; });
    if (after == anchors_.begin()) return widgetPosition;
    const Anchor& anchor = *(after - 1);
    return anchor.text + (widgetPosition - anchor.widget);
}
