#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

// Turning the bytes of files into the program's text (Unicode code points).
// Ill-formed input never fails a load: each bad sequence becomes U+FFFD.

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';

// Decodes bytes in a charset ICU knows by that name or an alias of it
// ("UTF-8", "windows-1251", "KOI8-R", "IBM866", "Shift_JIS", ...). Nothing
// when no converter has that name.
std::optional<std::u32string> DecodeCharset(std::string_view bytes, std::string_view charset);

// The text of a plain-text document: a byte-order mark decides the encoding;
// else well-formed UTF-8 is UTF-8; else it is read as a legacy single-byte
// encoding. The mark is dropped; at most maxLength characters are kept.
std::u32string DecodeDocumentText(std::string_view bytes,
                                  std::size_t maxLength = std::numeric_limits<std::size_t>::max(),
                                  std::string_view declaredCharset = {});
