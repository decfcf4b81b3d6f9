#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/CodePage.h"
#include "text/Outline.h"
#include "text/TextDecoding.h"

// Texts for tests: written as Windows-1251 bytes, as the program's older
// tests and stored files have them, or as UTF-8 literals.
inline std::u32string FromCp1251(std::string_view cp1251) { return Cp1251ToUnicode(cp1251); }
inline std::u32string FromUtf8(std::string_view utf8) {
    return DecodeCharset(utf8, "UTF-8").value_or(std::u32string());
}

// An outline as "level:title@position|..." (titles in UTF-8).
inline std::string OutlineString(const std::vector<Heading>& outline) {
    std::string out;
    for (const Heading& h : outline)
        out += (out.empty() ? "" : "|") + std::to_string(h.level) + ":" + ToUtf8(h.title) + "@" +
               std::to_string(h.position);
    return out;
}
