#pragma once

#include <optional>
#include <string>
#include <string_view>

// Windows-1251, the code page of the names and check values in the program's
// stored files. The core holds text as Unicode; this module is the one place
// where text becomes Windows-1251 and where a character the code page lacks
// becomes "?". (Documents in other encodings are decoded by ICU.)

// The Windows-1251 byte of a character, or nothing when the code page lacks it.
std::optional<unsigned char> Cp1251Byte(char32_t codePoint);
// Whether every character of the text has a Windows-1251 byte.
bool FitsCp1251(std::u32string_view text);

std::u32string Cp1251ToUnicode(std::string_view cp1251);
// Each character the code page lacks becomes one "?".
std::string UnicodeToCp1251(std::u32string_view text);

// Appends one code point; a surrogate or a value beyond Unicode becomes U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);
std::string ToUtf8(std::u32string_view text);
