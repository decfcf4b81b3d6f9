#pragma once

#include <string>
#include <string_view>

// The single-byte code pages the program meets. The program's own text is
// Windows-1251 throughout the core; conversion to and from Unicode happens only
// at the edges (widgets, clipboard, file names), always through this module.
// Characters a code page lacks become "?".
enum class CodePage { Windows1251, Windows1252, Windows1250 };

char16_t ByteToUnicode(CodePage page, unsigned char byte);
// "?" for a code point the code page lacks.
char UnicodeToByte(CodePage page, char32_t codePoint);

std::u16string Cp1251ToUtf16(std::string_view text);
std::string Utf16ToCp1251(std::u16string_view text);
std::string Cp1251ToUtf8(std::string_view text);
// Appends one code point; a surrogate or a value beyond Unicode becomes U+FFFD.
void AppendUtf8(std::string& out, char32_t codePoint);
// Each ill-formed UTF-8 byte becomes one "?".
std::string Utf8ToCp1251(std::string_view text);

// A document file is UTF-8 when it starts with the UTF-8 byte-order mark, or
// when it is well-formed UTF-8 and holds at least one multi-byte sequence.
// Anything else is read as Windows-1251 byte for byte.
bool IsUtf8Document(std::string_view bytes);
// The document's text in Windows-1251 under that rule (the mark dropped).
std::string DocumentBytesToCp1251(std::string bytes);
