#pragma once

#include <cstddef>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "text/CompactText.h"

// Turning the bytes of files into the program's text (Unicode code points).
// Ill-formed input never fails a load: each bad sequence becomes U+FFFD.

inline constexpr char32_t kReplacementCharacter = U'\uFFFD';
inline constexpr std::size_t kWholeText = std::numeric_limits<std::size_t>::max();

// Takes decoded text a piece at a time, in order.
using TextSink = std::function<void(std::u32string_view)>;

// Decodes bytes in a charset ICU knows by that name or an alias of it
// ("UTF-8", "windows-1251", "KOI8-R", "IBM866", "Shift_JIS", ...). Every
// ill-formed or unmappable sequence becomes one U+FFFD (ICU's own substitute
// for single-byte code pages would be U+001A). A byte-order mark is not
// special here: with "UTF-8" it becomes U+FEFF. Decoding stops once maxLength
// characters are there. Nothing when no converter has that name.
std::optional<std::u32string> DecodeCharset(std::string_view bytes, std::string_view charset,
                                            std::size_t maxLength = kWholeText);

// The charset a plain-text document is read in, as a name ICU knows:
// - a byte-order mark decides: "UTF-8", "UTF-16LE", "UTF-16BE", "UTF-32LE",
//   "UTF-32BE" (FF FE 00 00 is UTF-32LE);
// - else UTF-8 when the bytes are UTF-8. A sequence cut off by the end of the
//   bytes does not count against it (files are read up to a size limit), and
//   neither do stray ill-formed bytes in a text that is plainly UTF-8: at most
//   one for every 32 well-formed multi-byte characters;
// - else the guess of uchardet among "windows-1251", "KOI8-R", "IBM866",
//   "ISO-8859-5", "x-mac-cyrillic" and "windows-1252" (its ISO-8859-1 and
//   ISO-8859-15 answers read as windows-1252, as browsers do), looking at
//   16 KB from just before the first byte above 0x7F; "windows-1251", the
//   program's historic reading, when it has no answer in that set.
std::string DetectDocumentCharset(std::string_view bytes);

// The text of a plain-text document: a byte-order mark decides the encoding
// and is dropped; else the declared charset (an HTML page's <meta charset>)
// when ICU knows it; else DetectDocumentCharset. A declared UTF-16 or UTF-32
// without a mark is not believed (the declaration itself was readable as
// ASCII), and a declared ISO-8859-1 or US-ASCII is read as windows-1252, as
// browsers do. At most maxLength characters are decoded.
CompactText DecodeDocumentText(std::string_view bytes, std::size_t maxLength = kWholeText,
                               std::string_view declaredCharset = {});

// The same, for bytes it may keep: a single-byte code page's bytes become the
// text as they are, with no copy.
CompactText DecodeDocumentText(std::string&& bytes, std::size_t maxLength);

// DecodeDocumentText's reading of the whole of the bytes, handed to `sink` a
// few thousand characters at a time (for UTF-8 and the single-byte code
// pages; in one piece for the others), so that a long document need not be
// held whole in characters besides what is made of it.
void DecodeDocumentTextInPieces(std::string_view bytes, std::string_view declaredCharset,
                                const TextSink& sink);
