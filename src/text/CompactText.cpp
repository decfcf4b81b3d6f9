#include "text/CompactText.h"

#include <algorithm>
#include <cstring>

#include "base/HugePages.h"

TextView TextView::substr(std::size_t start, std::size_t count) const {
    start = std::min(start, size_);
    count = std::min(count, size_ - start);
    if (narrow_ != nullptr) return {narrow_ + start, alphabet_, count};
    return std::u32string_view(wide_ + start, count);
}

std::u32string TextView::ToString() const {
    if (wide_ != nullptr) return {wide_, size_};
    std::u32string text(size_, U'\0');
    for (std::size_t i = 0; i < size_; ++i) text[i] = alphabet_[narrow_[i]];
    return text;
}

std::size_t TextView::find(char32_t c, std::size_t from) const {
    return CharacterSearch(*this, c).From(from);
}

std::size_t TextView::find(TextView what, std::size_t from) const {
    if (what.empty()) return from <= size_ ? from : npos;
    const CharacterSearch first(*this, what[0]);
    for (std::size_t at = first.From(from); at != npos && what.size() <= size_ - at;
         at = first.From(at + 1)) {
        if (substr(at, what.size()) == what) return at;
    }
    return npos;
}

CharacterSearch::CharacterSearch(TextView text, char32_t c) : text_(text), character_(c) {
    if (text.Narrow() == nullptr) return;
    byte_ = kNone;
    for (int byte = 0; byte < 256; ++byte) {
        if (text.Alphabet()[byte] != c) continue;
        byte_ = byte_ == kNone ? byte : kSeveral;
    }
}

std::size_t CharacterSearch::From(std::size_t from) const {
    const std::size_t size = text_.size();
    if (from >= size) return TextView::npos;
    if (const std::uint8_t* narrow = text_.Narrow()) {
        if (byte_ == kNone) return TextView::npos;
        if (byte_ != kSeveral) {
            const void* found = std::memchr(narrow + from, byte_, size - from);
            return found == nullptr
                       ? TextView::npos
                       : static_cast<std::size_t>(static_cast<const std::uint8_t*>(found) - narrow);
        }
    } else if (character_ != 0 && character_ < 0x80) {
        // A character of ASCII by its byte, passing over one that turns out
        // to be part of another character. Another character's lowest byte
        // may stand in most characters of the text (0x04 in every Cyrillic
        // letter's), so such a character is compared with each below.
        const char* const bytes = reinterpret_cast<const char*>(text_.Wide());
        const std::size_t byteSize = size * sizeof(char32_t);
        for (std::size_t at = from * sizeof(char32_t); at < byteSize;) {
            const void* found =
                std::memchr(bytes + at, static_cast<int>(character_), byteSize - at);
            if (found == nullptr) return TextView::npos;
            const std::size_t index =
                static_cast<std::size_t>(static_cast<const char*>(found) - bytes) /
                sizeof(char32_t);
            if (text_.Wide()[index] == character_) return index;
            at = (index + 1) * sizeof(char32_t);
        }
        return TextView::npos;
    }
    for (std::size_t at = from; at < size; ++at) {
        if (text_[at] == character_) return at;
    }
    return TextView::npos;
}

std::size_t TextView::find_first_of(std::u32string_view any, std::size_t from) const {
    for (std::size_t at = from; at < size_; ++at) {
        if (any.find((*this)[at]) != any.npos) return at;
    }
    return npos;
}

std::size_t TextView::find_last_of(std::u32string_view any, std::size_t before) const {
    if (size_ == 0) return npos;
    for (std::size_t at = std::min(before, size_ - 1) + 1; at-- > 0;) {
        if (any.find((*this)[at]) != any.npos) return at;
    }
    return npos;
}

bool operator==(TextView a, TextView b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

CompactText::CompactText() = default;
CompactText::CompactText(std::u32string_view text) { Append(text); }
CompactText::CompactText(const std::u32string& text) : CompactText(std::u32string_view(text)) {}
CompactText::CompactText(const char32_t* text) : CompactText(std::u32string_view(text)) {}

CompactText::CompactText(std::string bytes, const std::array<char32_t, 256>& table)
    : bytes_(std::move(bytes)), alphabet_(table), alphabetSize_(table.size()) {}

CompactText::CompactText(const CompactText& other)
    : narrow_(other.narrow_),
      bytes_(other.bytes_),
      alphabet_(other.alphabet_),
      alphabetSize_(other.alphabetSize_),
      wide_(other.wide_) {}

CompactText& CompactText::operator=(const CompactText& other) {
    if (this != &other) *this = CompactText(other);
    return *this;
}

CompactText::CompactText(CompactText&&) noexcept = default;
CompactText& CompactText::operator=(CompactText&&) noexcept = default;
CompactText::~CompactText() = default;

void CompactText::Reserve(std::size_t length) {
    if (!narrow_ || length <= bytes_.capacity()) return;
    bytes_.reserve(length);
    AdviseHugePages(bytes_.data() + bytes_.size(), bytes_.capacity() - bytes_.size());
}

TextView CompactText::View() const {
    if (narrow_) {
        return {reinterpret_cast<const std::uint8_t*>(bytes_.data()), alphabet_.data(),
                bytes_.size()};
    }
    return std::u32string_view(wide_);
}

void CompactText::Append(std::u32string_view piece) {
    if (!narrow_) {
        wide_.append(piece);
        return;
    }
    if (!lookup_) {
        lookup_ = std::make_unique<Lookup>();
        for (std::size_t byte = 0; byte < alphabetSize_; ++byte)
            lookup_->Add(alphabet_[byte], static_cast<std::uint8_t>(byte));
    }
    const std::size_t start = bytes_.size();
    bytes_.resize(start + piece.size());
    for (std::size_t i = 0; i < piece.size(); ++i) {
        const char32_t c = piece[i];
        int byte = lookup_->Find(c);
        if (byte < 0) {
            if (alphabetSize_ == alphabet_.size()) {
                bytes_.resize(start + i);
                Widen();
                wide_.append(piece.substr(i));
                return;
            }
            byte = static_cast<int>(alphabetSize_);
            alphabet_[alphabetSize_++] = c;
            lookup_->Add(c, static_cast<std::uint8_t>(byte));
        }
        bytes_[start + i] = static_cast<char>(byte);
    }
}

void CompactText::Widen() {
    wide_ = View().ToString();
    narrow_ = false;
    std::string().swap(bytes_);
    lookup_.reset();
}

void CompactText::Truncate(std::size_t length) {
    if (length >= size()) return;
    if (narrow_) {
        bytes_.resize(length);
    } else {
        wide_.resize(length);
    }
}
