#include "text/TextDecoding.h"

#include <uchardet/uchardet.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <memory>
#include <type_traits>

namespace {

struct ConverterCloser {
    void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

struct DetectorDeleter {
    void operator()(uchardet_t detector) const { uchardet_delete(detector); }
};
using Detector = std::unique_ptr<std::remove_pointer_t<uchardet_t>, DetectorDeleter>;

// ICU substitutes U+001A for an unassigned byte of a single-byte code page;
// the program shows U+FFFD for every byte it cannot read.
void SubstituteReplacementCharacter(const void*, UConverterToUnicodeArgs* args, const char*,
                                    int32_t, UConverterCallbackReason reason, UErrorCode* status) {
    if (reason > UCNV_IRREGULAR) return;  // reset, close, clone
    *status = U_ZERO_ERROR;
    static const UChar kReplacement = 0xFFFD;
    ucnv_cbToUWriteUChars(args, &kReplacement, 1, 0, status);
}

Converter OpenConverter(std::string_view charset) {
    // An empty name would open the platform's default converter, and a NUL
    // would cut the name short.
    if (charset.empty() || charset.find('\0') != std::string_view::npos) return nullptr;
    UErrorCode status = U_ZERO_ERROR;
    Converter converter(ucnv_open(std::string(charset).c_str(), &status));
    if (U_FAILURE(status)) return nullptr;
    ucnv_setToUCallBack(converter.get(), SubstituteReplacementCharacter, nullptr, nullptr, nullptr,
                        &status);
    if (U_FAILURE(status)) return nullptr;
    return converter;
}

std::string_view CanonicalName(const Converter& converter) {
    UErrorCode status = U_ZERO_ERROR;
    const char* name = ucnv_getName(converter.get(), &status);
    return U_SUCCESS(status) && name ? name : "";
}

const std::uint8_t* Unsigned(std::string_view bytes) {
    return reinterpret_cast<const std::uint8_t*>(bytes.data());
}

bool EightAsciiBytesAt(const std::uint8_t* p) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return (word & 0x8080808080808080ULL) == 0;
}

// UTF-8 through ICU's own macro, which replaces each maximal ill-formed
// subpart with one U+FFFD, handed to `sink` a few thousand characters at a
// time. ICU's converters would go through UTF-16 and back, at a third of the
// speed.
void DecodeUtf8Pieces(std::string_view bytes, std::size_t maxLength, const TextSink& sink) {
    const std::uint8_t* s = Unsigned(bytes);
    const std::size_t size = bytes.size();
    std::array<char32_t, 4096> buffer;
    std::size_t given = 0;  // to the sink
    std::size_t count = 0;  // in the buffer
    std::size_t i = 0;
    while (i < size && given + count < maxLength) {
        if (count + 8 > buffer.size()) {
            sink({buffer.data(), count});
            given += count;
            count = 0;
        }
        if (i + 8 <= size && given + count + 8 <= maxLength && EightAsciiBytesAt(s + i)) {
            for (int k = 0; k < 8; ++k) buffer[count++] = s[i++];
            continue;
        }
        UChar32 c = 0;
        U8_NEXT_OR_FFFD(s, i, size, c);
        buffer[count++] = static_cast<char32_t>(c);
    }
    if (count > 0) sink({buffer.data(), count});
}

// Room for the characters of well-formed UTF-8 (its bytes but the
// continuation bytes), not a character per byte: the text keeps what it was
// given.
std::size_t Utf8Characters(std::string_view bytes) {
    return static_cast<std::size_t>(std::count_if(bytes.begin(), bytes.end(), [](char b) {
        return (static_cast<std::uint8_t>(b) & 0xC0) != 0x80;
    }));
}

// Widens ICU's UTF-16 output piece by piece; a surrogate pair may be split
// between two pieces, and an unpaired surrogate becomes U+FFFD. So does a C1
// control from a legacy code page: ICU fills the holes of the Windows code
// pages (0x98 of windows-1251, 0x81 of windows-1252) with them, and no text
// file means one.
class Utf16Widener {
public:
    Utf16Widener(std::u32string& text, bool replaceC1) : text_(text), replaceC1_(replaceC1) {}

    void Append(const UChar* units, const UChar* end) {
        for (; units != end; ++units) {
            const UChar unit = *units;
            if (lead_ != 0) {
                if (U16_IS_TRAIL(unit)) {
                    text_.push_back(static_cast<char32_t>(U16_GET_SUPPLEMENTARY(lead_, unit)));
                    lead_ = 0;
                    continue;
                }
                text_.push_back(kReplacementCharacter);
                lead_ = 0;
            }
            if (U16_IS_LEAD(unit)) {
                lead_ = unit;
            } else if (U16_IS_TRAIL(unit) || (replaceC1_ && unit >= 0x80 && unit < 0xA0)) {
                text_.push_back(kReplacementCharacter);
            } else {
                text_.push_back(unit);
            }
        }
    }

    void Finish() {
        if (lead_ != 0) text_.push_back(kReplacementCharacter);
        lead_ = 0;
    }

private:
    std::u32string& text_;
    bool replaceC1_;
    UChar lead_ = 0;
};

bool IsUnicode(UConverter* converter) {
    switch (ucnv_getType(converter)) {
        case UCNV_UTF8:
        case UCNV_UTF16_BigEndian:
        case UCNV_UTF16_LittleEndian:
        case UCNV_UTF32_BigEndian:
        case UCNV_UTF32_LittleEndian:
        case UCNV_UTF7:
        case UCNV_UTF16:
        case UCNV_UTF32:
        case UCNV_CESU8:
        case UCNV_SCSU:
        case UCNV_BOCU1:
        case UCNV_IMAP_MAILBOX: return true;
        default: return false;
    }
}

// The 256 characters of a single-byte code page, as the converter reads each
// byte alone (with the C1 controls replaced as Utf16Widener replaces them);
// none for another kind of converter or one that reads some byte as other
// than one character of the Basic Multilingual Plane.
std::optional<std::array<char32_t, 256>> SingleByteTable(UConverter* converter) {
    switch (ucnv_getType(converter)) {
        case UCNV_SBCS:
        case UCNV_LATIN_1:
        case UCNV_US_ASCII: break;
        default: return std::nullopt;
    }
    std::array<char32_t, 256> table{};
    for (int value = 0; value < 256; ++value) {
        ucnv_resetToUnicode(converter);
        const char byte = static_cast<char>(value);
        const char* source = &byte;
        std::array<UChar, 4> units{};
        UChar* target = units.data();
        UErrorCode status = U_ZERO_ERROR;
        ucnv_toUnicode(converter, &target, units.data() + units.size(), &source, &byte + 1, nullptr,
                       true, &status);
        if (U_FAILURE(status) || target != units.data() + 1 || U16_IS_SURROGATE(units[0])) {
            ucnv_resetToUnicode(converter);
            return std::nullopt;
        }
        const UChar unit = units[0];
        table[value] = unit >= 0x80 && unit < 0xA0 ? kReplacementCharacter : unit;
    }
    ucnv_resetToUnicode(converter);
    return table;
}

// A single-byte code page a byte at a time through its table, handed to
// `sink` a few thousand characters at a time: ICU's conversion to UTF-16 and
// the widening after it cost ten times as much.
void DecodeTablePieces(const std::array<char32_t, 256>& table, std::string_view bytes,
                       std::size_t maxLength, const TextSink& sink) {
    const std::uint8_t* s = Unsigned(bytes);
    const std::size_t length = std::min(bytes.size(), maxLength);
    std::array<char32_t, 4096> buffer;
    for (std::size_t start = 0; start < length; start += buffer.size()) {
        const std::size_t count = std::min(buffer.size(), length - start);
        for (std::size_t i = 0; i < count; ++i) buffer[i] = table[s[start + i]];
        sink({buffer.data(), count});
    }
}

std::u32string DecodeWith(UConverter* converter, std::string_view bytes, std::size_t maxLength) {
    // Pieces keep a long document from being converted whole when only its
    // beginning is wanted.
    constexpr std::size_t kPiece = 64 * 1024;
    std::u32string text;
    text.reserve(std::min(bytes.size(), maxLength));
    Utf16Widener widener(text, !IsUnicode(converter));
    std::array<UChar, 16 * 1024> buffer;
    const char* source = bytes.data();
    const char* const end = bytes.data() + bytes.size();
    bool flushed = false;
    while (!flushed && text.size() < maxLength) {
        const char* pieceEnd = source + std::min<std::size_t>(kPiece, end - source);
        flushed = pieceEnd == end;
        UErrorCode status = U_ZERO_ERROR;
        do {
            status = U_ZERO_ERROR;
            UChar* target = buffer.data();
            ucnv_toUnicode(converter, &target, buffer.data() + buffer.size(), &source, pieceEnd,
                           nullptr, flushed, &status);
            widener.Append(buffer.data(), target);
        } while (status == U_BUFFER_OVERFLOW_ERROR);
        if (U_FAILURE(status)) break;
    }
    widener.Finish();
    if (text.size() > maxLength) text.resize(maxLength);
    return text;
}

bool IsUtf8(std::string_view canonicalName) { return canonicalName == "UTF-8"; }

// Decodes with a converter into `sink`, in pieces where the charset allows;
// false without a converter.
bool DecodePieces(const Converter& converter, std::string_view bytes, std::size_t maxLength,
                  const TextSink& sink) {
    if (!converter) return false;
    if (IsUtf8(CanonicalName(converter))) {
        DecodeUtf8Pieces(bytes, maxLength, sink);
    } else if (const auto table = SingleByteTable(converter.get())) {
        DecodeTablePieces(*table, bytes, maxLength, sink);
    } else {
        sink(DecodeWith(converter.get(), bytes, maxLength));
    }
    return true;
}

std::optional<CompactText> Decode(Converter converter, std::string_view bytes,
                                  std::size_t maxLength) {
    if (!converter) return std::nullopt;
    const bool utf8 = IsUtf8(CanonicalName(converter));
    const auto table = utf8 ? std::nullopt : SingleByteTable(converter.get());
    // A single-byte code page's bytes are kept as they are, its table their
    // alphabet.
    if (table) return CompactText(std::string(bytes.substr(0, maxLength)), *table);
    if (!utf8) return CompactText(DecodeWith(converter.get(), bytes, maxLength));
    CompactText text;
    text.Reserve(std::min(Utf8Characters(bytes), maxLength));
    DecodeUtf8Pieces(bytes, maxLength, [&text](std::u32string_view piece) { text.Append(piece); });
    return text;
}

struct ByteOrderMark {
    std::string_view bytes;
    const char* charset;
};

// UTF-32LE before UTF-16LE: FF FE 00 00 starts both.
constexpr std::array<ByteOrderMark, 5> kByteOrderMarks{{
    {{"\xFF\xFE\x00\x00", 4}, "UTF-32LE"},
    {{"\x00\x00\xFE\xFF", 4}, "UTF-32BE"},
    {"\xEF\xBB\xBF", "UTF-8"},
    {"\xFE\xFF", "UTF-16BE"},
    {"\xFF\xFE", "UTF-16LE"},
}};

const ByteOrderMark* FindByteOrderMark(std::string_view bytes) {
    for (const ByteOrderMark& mark : kByteOrderMarks) {
        if (bytes.substr(0, mark.bytes.size()) == mark.bytes) return &mark;
    }
    return nullptr;
}

// Whether the bytes read as UTF-8: a sequence cut off by the end is not held
// against them, and a stray ill-formed byte is forgiven for every 32
// well-formed multi-byte characters, which no text in a legacy code page
// comes near (there almost every byte above 0x7F is ill-formed UTF-8).
bool LooksLikeUtf8(std::string_view bytes) {
    constexpr std::size_t kForgiven = 32;
    const std::uint8_t* s = Unsigned(bytes);
    const std::size_t size = bytes.size();
    std::size_t wellFormed = 0;
    std::size_t illFormed = 0;
    std::size_t i = 0;
    while (i < size) {
        if (i + 8 <= size && EightAsciiBytesAt(s + i)) {
            i += 8;
            continue;
        }
        if (s[i] < 0x80) {
            ++i;
            continue;
        }
        const std::size_t start = i;
        UChar32 c = 0;
        U8_NEXT(s, i, size, c);
        if (c >= 0) {
            ++wellFormed;
            continue;
        }
        // ICU stops an ill-formed sequence before its first wrong byte, so one
        // that reaches the end with a lead byte in front was merely cut off.
        if (i == size && s[start] >= 0xC2 && s[start] <= 0xF4) break;
        ++illFormed;
        // Even if every byte left made a two-byte character, it would not do.
        if (illFormed * kForgiven > wellFormed + (size - i) / 2) return false;
    }
    return illFormed * kForgiven <= wellFormed;
}

// The part of a long file uchardet sees: from just before its first byte
// above 0x7F, so that a long English preamble does not hide the rest. uchardet
// reads a few MB/s; half a kilobyte of Russian is already enough for it.
std::string_view DetectionSample(std::string_view bytes) {
    constexpr std::size_t kContext = 256;
    constexpr std::size_t kSample = 16 * 1024;
    const auto first = std::find_if(bytes.begin(), bytes.end(),
                                    [](char b) { return static_cast<std::uint8_t>(b) >= 0x80; });
    const std::size_t at = static_cast<std::size_t>(first - bytes.begin());
    const std::size_t start = at > kContext ? at - kContext : 0;
    return bytes.substr(start, kSample);
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

constexpr const char* kWindows1251 = "windows-1251";

// uchardet's names for what the program reads, and the names given back.
struct Reading {
    const char* detected;
    const char* charset;
};
constexpr std::array<Reading, 8> kReadings{{
    {"WINDOWS-1251", kWindows1251},
    {"KOI8-R", "KOI8-R"},
    {"IBM866", "IBM866"},
    {"ISO-8859-5", "ISO-8859-5"},
    {"MAC-CYRILLIC", "x-mac-cyrillic"},
    {"WINDOWS-1252", "windows-1252"},
    {"ISO-8859-1", "windows-1252"},
    {"ISO-8859-15", "windows-1252"},
}};

std::string DetectLegacyCharset(std::string_view bytes) {
    const std::string_view sample = DetectionSample(bytes);
    Detector detector(uchardet_new());
    if (!detector || uchardet_handle_data(detector.get(), sample.data(), sample.size()) != 0) {
        return kWindows1251;
    }
    uchardet_data_end(detector.get());
    const char* detected = uchardet_get_charset(detector.get());
    const std::string_view name = detected ? detected : "";
    for (const Reading& reading : kReadings) {
        if (SameName(name, reading.detected)) return reading.charset;
    }
    return kWindows1251;
}

// What a declaration names, as the program reads it; empty when it is not to
// be believed.
std::string_view DeclaredReading(const Converter& converter) {
    const std::string_view name = CanonicalName(converter);
    if (name.starts_with("UTF-16") || name.starts_with("UTF-32") || name.starts_with("UTF16") ||
        name.starts_with("UTF32")) {
        return {};
    }
    if (name == "ISO-8859-1" || name == "US-ASCII") return "windows-1252";
    return name;
}

}  // namespace

std::optional<std::u32string> DecodeCharset(std::string_view bytes, std::string_view charset,
                                            std::size_t maxLength) {
    std::u32string text;
    if (!DecodePieces(OpenConverter(charset), bytes, maxLength,
                      [&text](std::u32string_view piece) { text.append(piece); }))
        return std::nullopt;
    return text;
}

std::string DetectDocumentCharset(std::string_view bytes) {
    if (const ByteOrderMark* mark = FindByteOrderMark(bytes)) return mark->charset;
    if (LooksLikeUtf8(bytes)) return "UTF-8";
    return DetectLegacyCharset(bytes);
}

namespace {

// The converter a document is read with and the bytes it reads: after a
// byte-order mark, which decides; else as declared, when that is believed;
// else as detected.
std::pair<Converter, std::string_view> DocumentReading(std::string_view bytes,
                                                       std::size_t maxLength,
                                                       std::string_view declaredCharset) {
    if (const ByteOrderMark* mark = FindByteOrderMark(bytes)) {
        return {OpenConverter(mark->charset), bytes.substr(mark->bytes.size())};
    }
    if (!declaredCharset.empty()) {
        const Converter declared = OpenConverter(declaredCharset);
        if (declared) {
            const std::string_view reading = DeclaredReading(declared);
            if (!reading.empty()) {
                if (Converter converter = OpenConverter(reading))
                    return {std::move(converter), bytes};
            }
        }
    }
    // No character takes more than four bytes, so the rest cannot matter.
    const std::string_view wanted =
        maxLength / 4 < bytes.size() ? bytes.substr(0, maxLength * 4) : bytes;
    return {OpenConverter(DetectDocumentCharset(wanted)), bytes};
}

}  // namespace

CompactText DecodeDocumentText(std::string_view bytes, std::size_t maxLength,
                               std::string_view declaredCharset) {
    auto [converter, read] = DocumentReading(bytes, maxLength, declaredCharset);
    return Decode(std::move(converter), read, maxLength).value_or(CompactText());
}

CompactText DecodeDocumentText(std::string&& bytes, std::size_t maxLength) {
    auto [converter, read] = DocumentReading(bytes, maxLength, {});
    if (converter && read.size() == bytes.size() && !IsUtf8(CanonicalName(converter))) {
        if (const auto table = SingleByteTable(converter.get())) {
            if (bytes.size() > maxLength) bytes.resize(maxLength);
            return CompactText(std::move(bytes), *table);
        }
    }
    return Decode(std::move(converter), read, maxLength).value_or(CompactText());
}

void DecodeDocumentTextInPieces(std::string_view bytes, std::string_view declaredCharset,
                                const TextSink& sink) {
    const auto [converter, read] = DocumentReading(bytes, kWholeText, declaredCharset);
    DecodePieces(converter, read, kWholeText, sink);
}
