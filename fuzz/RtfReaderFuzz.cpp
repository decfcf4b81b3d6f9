// Reads arbitrary bytes as an RTF document. Nothing may crash, hang or read
// out of bounds; the document must be the same whether the bytes come whole,
// one at a time or in chunks cut at places chosen from the input; the runs
// must cover the text; and a smaller text limit must cut the same text.

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <random>
#include <string_view>

#include "text/RtfReader.h"
#include "text/TextDecoding.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

void CheckSame(const RtfDocument& a, const RtfDocument& b) {
    Check(a.text == b.text);
    Check(a.runs == b.runs);
    Check(a.outline == b.outline);
    Check(a.plainText == b.plainText);
    Check(a.truncated == b.truncated);
}

void CheckShape(std::string_view input, const RtfDocument& doc) {
    Check(doc.text.size() <= kMaxTextLength);
    if (doc.plainText) {
        Check(doc.runs.empty());
        // Windows-1251 is one byte a character.
        Check(DecodeCharset(input.substr(0, doc.text.size()), "windows-1251") == doc.text);
        return;
    }
    std::size_t next = 0;
    for (std::size_t i = 0; i < doc.runs.size(); ++i) {
        const TextRun& run = doc.runs[i];
        Check(run.start == next && run.length > 0);
        Check(i == 0 || run.format != doc.runs[i - 1].format);
        Check(run.format.halfPoints >= 1 && run.format.halfPoints <= 3276);
        Check(!run.format.color || *run.format.color <= 0xFFFFFF);
        // The face is UTF-8.
        const std::optional<std::u32string> face = DecodeCharset(run.format.face, "UTF-8");
        Check(face && face->size() <= 255);
        for (const char32_t c : *face) {
            Check(c >= 0x20 && c < 0x110000 && (c < 0xD800 || c > 0xDFFF));
        }
        next += run.length;
    }
    Check(next == doc.text.size());
    // Headings in text order, each at a character of the text, with a title.
    for (std::size_t i = 0; i < doc.outline.size(); ++i) {
        const Heading& heading = doc.outline[i];
        Check(heading.position < doc.text.size() && !heading.title.empty());
        Check(heading.level >= 1 && heading.level <= 9);
        Check(i == 0 || doc.outline[i - 1].position < heading.position);
    }
    // Breaks are whole CR LF pairs, no other control character gets in, and
    // every position is a Unicode scalar value.
    for (std::size_t i = 0; i < doc.text.size(); ++i) {
        const char32_t c = doc.text[i];
        Check(c < 0x110000 && (c < 0xD800 || c > 0xDFFF));
        if (c == '\r') Check(i + 1 < doc.text.size() && doc.text[i + 1] == '\n');
        if (c == '\n') Check(i > 0 && doc.text[i - 1] == '\r');
        Check(c >= 0x20 || c == '\t' || c == '\r' || c == '\n');
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const RtfDocument whole = ReadRtf(input);
    CheckShape(input, whole);

    RtfReader reader;
    for (const char c : input) reader.Feed(std::string_view(&c, 1));
    CheckSame(reader.Finish(), whole);

    // The same reader again, now in chunks of up to 64 bytes.
    std::minstd_rand random(static_cast<std::uint32_t>(size) * 2654435761u +
                            (size > 0 ? data[size / 2] : 0u));
    for (std::size_t at = 0; at < size;) {
        const std::size_t chunk = std::uniform_int_distribution<std::size_t>(0, 64)(random);
        reader.Feed(input.substr(at, chunk));
        at += chunk;
    }
    CheckSame(reader.Finish(), whole);

    const std::size_t limit = whole.text.size() / 2;
    RtfReader limited(limit);
    limited.Feed(input);
    const RtfDocument cut = limited.Finish();
    Check(cut.text.size() <= limit);
    Check(whole.text.View().substr(0, cut.text.size()) == cut.text.View());
    Check(cut.truncated == (whole.text.size() > limit));
    return 0;
}
