#include "reading/FocusLetter.h"

namespace {

bool IsPunctuation(char16_t c) {
    switch (c) {
        case u'.': case u',': case u':': case u';': case u'?': case u'!': case u'"':
        case u'\'': case u'(': case u')': case u'[': case u']': case u'{': case u'}':
        case u'\u00AB': case u'\u00BB': case u'\u2026': case u'\u201C': case u'\u201D':
        case u'\u201E': case u'\u2018': case u'\u2019': case u'-': case u'\u2013':
        case u'\u2014':
            return true;
        default:
            return false;
    }
}

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
