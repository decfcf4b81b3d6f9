#pragma once

#include <optional>

// How the 8-bit bytes of an RTF document are to be understood: the code page
// of the current font, or else the document's own. Only the code pages the
// program can convert are decoded; any other keeps its ASCII half, and its
// upper half, which we cannot name, becomes U+FFFD (and so "?" in the text).
enum class RtfCharset { Windows1251, Windows1252, Windows1250, Symbol, Unsupported };

// From a font's \fcharsetN. None for 1 (DEFAULT_CHARSET): the document's code
// page applies.
std::optional<RtfCharset> CharsetOfFontCharset(int fcharset);

// From \ansicpgN or a font's \cpgN. None for 0, which names no code page.
std::optional<RtfCharset> CharsetOfCodePage(int codePage);

// The character one byte stands for. Symbol-font bytes give the few
// characters Windows-1251 can show (punctuation, digits, the bullet) and
// U+FFFD for the Greek letters and mathematical signs.
char32_t DecodeRtfByte(RtfCharset charset, unsigned char byte);
