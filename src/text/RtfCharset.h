#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

// How the 8-bit bytes of an RTF document are to be understood: the code page
// of the current font, or else the document's own. Code pages are Windows
// code page numbers, as \ansicpgN and \cpgN write them.

// Windows's number for the Symbol font's own glyph order (\fcharset2).
inline constexpr int kSymbolCodePage = 42;
// A code page no converter is known for: its ASCII half is kept, and its
// upper half, which we cannot name, becomes U+FFFD.
inline constexpr int kUnknownCodePage = -1;

// From a font's \fcharsetN. None for 1 (DEFAULT_CHARSET): the document's code
// page applies.
std::optional<int> CodePageOfFontCharset(int fcharset);

// From \ansicpgN or a font's \cpgN. None for 0, which names no code page.
std::optional<int> CodePageOfNumber(int codePage);

// What RTF's \mac, \pc and \pca stand for.
inline constexpr int kMacCodePage = 10000;
inline constexpr int kPcCodePage = 437;
inline constexpr int kPcaCodePage = 850;

// Turns the bytes of one code page into characters. A single-byte code page
// decodes byte by byte; in a multi-byte one (Shift_JIS, GBK, Big5, UTF-8, ...)
// a character spans several bytes, so its bytes must be decoded together.
// Decoding goes through ICU's converter for the code page (see the .cpp for
// the names); a single-byte one is asked once for all 256 bytes.
class RtfCharset {
public:
    explicit RtfCharset(int codePage);

    int Number() const { return number_; }
    bool MultiByte() const { return multiByte_; }
    // The character of one byte of a single-byte code page.
    char32_t Decode(unsigned char byte) const { return bytes_[byte]; }
    // Appends the characters of a run of bytes; a character cut short or
    // ill-formed becomes U+FFFD.
    void Decode(std::string_view bytes, std::u32string& out) const;

private:
    int number_;
    bool multiByte_ = false;
    std::string_view converter_;
    std::array<char32_t, 256> bytes_{};
};
