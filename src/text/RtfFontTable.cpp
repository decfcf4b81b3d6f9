#include "text/RtfFontTable.h"

#include "base/CodePage.h"

namespace {

std::string Trimmed(const std::string& name) {
    const auto first = name.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

}  // namespace

void RtfFontTable::Begin(int number) {
    End();
    reading_ = true;
    number_ = number;
    pending_ = RtfFont{};
}

void RtfFontTable::SetCharset(std::optional<RtfCharset> charset) {
    if (reading_) pending_.charset = charset;
}

std::optional<RtfCharset> RtfFontTable::PendingCharset() const {
    return reading_ ? pending_.charset : std::nullopt;
}

void RtfFontTable::AddToName(char32_t codePoint) {
    if (!reading_) return;
    // Control characters have no place in a face name.
    if (codePoint < 0x20) return;
    std::string& face = pending_.face;
    const std::size_t before = face.size();
    AppendUtf8(face, codePoint);
    // Never cut a character in two.
    if (face.size() > kMaxFaceBytes) face.resize(before);
}

bool RtfFontTable::End() {
    if (!reading_) return false;
    reading_ = false;
    pending_.face = Trimmed(pending_.face);
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
