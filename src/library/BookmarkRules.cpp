#include "library/BookmarkRules.h"

#include <algorithm>

#include "base/CodePage.h"
#include "library/ShelfDocument.h"

namespace {

// How far the proposed name reaches on either side of the caret.
constexpr std::size_t kNameReach = 79;
// The check value reads 14 characters forwards, or 16 backwards when 15 or
// fewer follow the position.
constexpr std::size_t kForwardWindow = 14;
constexpr std::size_t kBackwardWindow = 16;
constexpr std::size_t kForwardNeeds = 15;

const std::u32string kResumeName = U".";

// The part after the caret ends before its first sentence end; without one,
// before its last word gap, so that no word is cut.
std::u32string_view CutAfterPart(std::u32string_view after) {
    for (std::size_t i = 0; i < after.size(); ++i) {
        if (ClassifyChar(after[i]) == CharClass::SentenceEnd) return after.substr(0, i);
    }
    for (std::size_t i = after.size(); i-- > 0;) {
        if (ClassifyChar(after[i]) == CharClass::WordGap) return after.substr(0, i);
    }
    return after;
}

// The part before the caret starts after the last sentence end in it;
// without one, after its first word gap, unless it reaches back to the start
// of the text, where the whole of it belongs to the sentence.
std::u32string_view CutBeforePart(std::u32string_view before, bool reachesTextStart) {
    std::size_t boundary = 0;
    for (std::size_t i = before.size(); i-- > 0;) {
        const CharClass kind = ClassifyChar(before[i]);
        if (kind == CharClass::SentenceEnd) {
            boundary = i;
            break;
        }
        if (kind == CharClass::WordGap) {
            boundary = i;
        } else if (i == 0 && reachesTextStart) {
            boundary = 0;
        }
    }
    while (boundary < before.size() && ClassifyChar(before[boundary]) != CharClass::Ordinary) {
        ++boundary;
    }
    return before.substr(boundary);
}

// The two parts are joined as C strings: each ends at its first zero byte.
std::u32string_view UpToZero(std::u32string_view part) { return part.substr(0, part.find(U'\0')); }

bool WithinText(TextView text, std::int32_t position) {
    return position >= 0 && static_cast<std::size_t>(position) <= text.size();
}

}  // namespace

CharClass ClassifyChar(char32_t c) {
    switch (c) {
        case '\r':
        case '\n':
        case '.':
        case '?':
        case '!': return CharClass::SentenceEnd;
        case ' ':
        case '\t': return CharClass::WordGap;
        default: return CharClass::Ordinary;
    }
}

std::optional<ProposedBookmark> DefaultBookmarkName(TextView text, std::size_t selectionStart) {
    if (text.size() < kShortText) return std::nullopt;
    const std::size_t start = std::min(selectionStart, text.size());

    // The after-part stops before the text's last character.
    const std::size_t afterEnd = std::min(start + kNameReach, text.size() - 1);
    const std::u32string after =
        afterEnd > start ? text.substr(start, afterEnd - start).ToString() : std::u32string();
    const std::size_t beforeStart = start > kNameReach ? start - kNameReach : 0;
    const std::u32string before = text.substr(beforeStart, start - beforeStart).ToString();

    std::u32string name(UpToZero(CutBeforePart(before, beforeStart == 0)));
    name += UpToZero(CutAfterPart(after));
    return ProposedBookmark{start, std::move(name)};
}

std::int32_t FoldCheckValue(std::string_view bytes) {
    std::uint32_t value = 0;
    for (const char c : bytes) {
        const auto signedByte = static_cast<std::int32_t>(static_cast<signed char>(c));
        value = 2u * value + static_cast<std::uint32_t>(signedByte);
    }
    return static_cast<std::int32_t>(value);
}

std::int32_t TextCheckValue(TextView text, std::size_t position) {
    if (text.size() < kShortText) return 0;
    position = std::min(position, text.size());
    if (text.size() - position > kForwardNeeds) {
        return FoldCheckValue(UnicodeToCp1251(text.substr(position, kForwardWindow).ToString()));
    }
    // At least 80 characters and at most 15 after the position: 16 lie before it.
    return FoldCheckValue(
        UnicodeToCp1251(text.substr(position - kBackwardWindow, kBackwardWindow).ToString()));
}

void PlaceBookmark(TextView text, std::size_t position, std::u32string name,
                   ShelfDocument& document) {
    position = std::min(position, text.size());
    document.AddBookmark(
        {std::move(name), static_cast<std::int32_t>(position), TextCheckValue(text, position)});
}

BookmarkJump GoToBookmark(TextView text, const ShelfDocument& document, std::size_t index,
                          TextRange selection) {
    const std::optional<Bookmark> bookmark = document.GetBookmark(index);
    if (!bookmark) return {BookmarkCheck::Missing, selection};
    // A position outside the text can only mean the text has changed.
    if (!WithinText(text, bookmark->position)) return {BookmarkCheck::Changed, selection};
    const auto position = static_cast<std::size_t>(bookmark->position);
    if (TextCheckValue(text, position) != bookmark->checkValue) {
        return {BookmarkCheck::Changed, selection};
    }
    return {BookmarkCheck::Valid, WordAtCaret(text, position)};
}

std::optional<std::size_t> OpeningBookmark(const ShelfDocument& document) {
    if (document.Bookmarks().empty()) return std::nullopt;
    return document.FindResumeBookmark().value_or(0);
}

bool StoreResumePosition(TextView text, std::size_t selectionStart, ShelfDocument& document) {
    const std::size_t position = std::min(selectionStart, text.size());
    const std::int32_t value = TextCheckValue(text, position);
    if (value == 0) return false;
    document.AddBookmark({kResumeName, static_cast<std::int32_t>(position), value});
    return true;
}

std::optional<TextRange> RestoreResumePosition(TextView text, ShelfDocument& document) {
    const std::optional<std::size_t> index = document.FindResumeBookmark();
    if (!index) return std::nullopt;
    const std::int32_t stored = document.GetBookmark(*index)->position;
    document.RemoveBookmark(*index);
    const std::size_t position =
        stored < 0 ? 0 : std::min(static_cast<std::size_t>(stored), text.size());
    return WordAtCaret(text, position);
}
