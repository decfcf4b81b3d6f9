#include "reading/FocusLetter.h"

#include <algorithm>
#include <cmath>

namespace {

// Quotes, brackets, dashes and the marks that end a group.
constexpr std::u16string_view kPunctuation =
    u".,:;?!\"'()[]{}\u00AB\u00BB\u2026\u201C\u201D\u201E\u2018\u2019-\u2013\u2014";

bool IsPunctuation(char16_t c) { return kPunctuation.find(c) != std::u16string_view::npos; }

}  // namespace

std::size_t RecognitionLetter(std::size_t wordLength) {
    if (wordLength <= 1) return 0;
    if (wordLength <= 5) return 1;
    if (wordLength <= 9) return 2;
    if (wordLength <= 13) return 3;
    return 4;
}

std::size_t FocusLetterIndex(std::u16string_view word) {
    std::size_t first = 0;
    std::size_t last = word.size();
    while (first < last && IsPunctuation(word[first])) ++first;
    while (last > first && IsPunctuation(word[last - 1])) --last;
    // A group of punctuation alone has its letter among what there is.
    if (first == last) return RecognitionLetter(word.size());
    return first + RecognitionLetter(last - first);
}

int FocusedWordLeft(int paneWidth, int wordWidth, double letterMiddle) {
    const int pinned = paneWidth / 2 - static_cast<int>(std::lround(letterMiddle));
    if (wordWidth > paneWidth) return pinned;
    return std::clamp(pinned, 0, paneWidth - wordWidth);
}
