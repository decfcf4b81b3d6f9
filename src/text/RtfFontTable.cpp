#include "text/RtfFontTable.h"

#include "base/CodePage.h"
#include "text/TextDecoding.h"

namespace {

std::u32string Trimmed(const std::u32string& name) {
    const auto first = name.find_first_not_of(U' ');
    if (first == std::u32string::npos) return {};
    return name.substr(first, name.find_last_not_of(U' ') - first + 1);
}

}  // namespace

void RtfFontTable::Begin(int number) {
    End();
    reading_ = true;
    number_ = number;
    pending_ = RtfFont{};
}

void RtfFontTable::SetCodePage(std::optional<int> codePage) {
    if (reading_) pending_.codePage = codePage;
}

std::optional<int> RtfFontTable::PendingCodePage() const {
    return reading_ ? pending_.codePage : std::nullopt;
}

void RtfFontTable::AddNameByte(unsigned char byte, const RtfCharset& codePage) {
    if (!reading_) return;
    if (!nameBytes_.empty() && &codePage != nameCodePage_) DecodeNameBytes();
    nameCodePage_ = &codePage;
    // A name longer than a face name can be is cut anyway; the bound keeps a
    // hostile one from growing without end.
    if (nameBytes_.size() < 4 * kMaxFaceLength) nameBytes_.push_back(static_cast<char>(byte));
}

void RtfFontTable::AddToName(char32_t codePoint) {
    if (!reading_) return;
    DecodeNameBytes();
    // Control characters have no place in a face name.
    if (codePoint < 0x20) return;
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) codePoint = kReplacementCharacter;
    if (pending_.face.size() < kMaxFaceLength) pending_.face.push_back(codePoint);
}

void RtfFontTable::DecodeNameBytes() {
    if (nameBytes_.empty()) return;
    std::u32string decoded;
    nameCodePage_->Decode(nameBytes_, decoded);
    nameBytes_.clear();
    for (const char32_t c : decoded) {
        if (c >= 0x20 && pending_.face.size() < kMaxFaceLength) pending_.face.push_back(c);
    }
}

bool RtfFontTable::End() {
    if (!reading_) return false;
    DecodeNameBytes();
    reading_ = false;
    pending_.face = Trimmed(pending_.face);
    pending_.utf8Face = ToUtf8(pending_.face);
    if (fonts_.size() < kMaxFonts || fonts_.count(number_) != 0) {
        fonts_[number_] = std::move(pending_);
    }
    pending_ = RtfFont{};
    return true;
}

const RtfFont* RtfFontTable::Find(int number) const {
    const auto it = fonts_.find(number);
    return it == fonts_.end() ? nullptr : &it->second;
}
