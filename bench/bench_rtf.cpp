// Reading a generated 5 MB RTF document the way Word and WordPad write one:
// Russian text as \'hh in a Cyrillic font, some \uN characters with their
// fallbacks, bold, italic, colour and size changes in groups, paragraphs, a
// field and a skipped picture now and then. A second document is Japanese in
// Shift_JIS, each character two \'hh bytes decoded together. Goal: well under
// a second. A third is the first with a heading in a style of outline level
// 0 or 1 before every tenth paragraph, for what the outline costs.

#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "text/RtfReader.h"

namespace {

constexpr std::size_t kDocumentSize = 5 * 1024 * 1024;

std::string Hex(unsigned char byte) {
    static const char kDigits[] = "0123456789abcdef";
    return std::string("\\'") + kDigits[byte >> 4] + kDigits[byte & 15];
}

std::string MakeFiveMegabytes(bool headings) {
    std::mt19937 random(7);
    std::string s =
        "{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0{\\fonttbl{\\f0\\froman\\fcharset0 Times New "
        "Roman;}{\\f1\\froman\\fcharset204 Times New Roman Cyr;}{\\f2\\fswiss\\fcharset204 "
        "Arial Cyr;}}{\\colortbl;\\red0\\green0\\blue0;\\red255\\green0\\blue0;}"
        "{\\stylesheet{\\s0 Normal;}{\\s1\\outlinelevel0 heading 1;}{\\s2 heading 2;}}"
        "{\\info{\\title Bench}}\n";
    s.reserve(kDocumentSize + 4096);
    for (int paragraph = 0; s.size() < kDocumentSize; ++paragraph) {
        if (headings && paragraph % 10 == 0) {
            s += "\\pard\\plain\\s" + std::to_string(paragraph % 50 == 0 ? 1 : 2) +
                 "\\f1\\fs32\\b " + Hex(0xc3) + Hex(0xeb) + Hex(0xe0) + Hex(0xe2) + Hex(0xe0) +
                 " " + std::to_string(paragraph / 10) + "\\par\n";
        }
        s += "\\pard\\plain\\f1\\fs24 ";
        const int words = 20 + static_cast<int>(random() % 60);
        for (int w = 0; w < words; ++w) {
            const unsigned kind = random() % 20;
            if (kind == 0) s += "{\\b ";
            if (kind == 1) s += "{\\i\\cf2 ";
            if (kind == 2) s += "{\\f2\\fs28 ";
            const int letters = 2 + static_cast<int>(random() % 9);
            for (int i = 0; i < letters; ++i) {
                if (random() % 8 == 0) {
                    s += "\\u" + std::to_string(1072 + random() % 32) + "?";
                } else {
                    s += Hex(static_cast<unsigned char>(0xE0 + random() % 32));
                }
            }
            if (kind <= 2) s += "}";
            s += random() % 10 == 0 ? ", " : " ";
        }
        if (random() % 50 == 0) {
            s += "{\\field{\\*\\fldinst HYPERLINK \"http://example.org/\"}{\\fldrslt link}}";
        }
        if (random() % 200 == 0) s += "{\\pict\\pngblip 89504e470d0a1a0a0000000d49484452}";
        s += "\\par\n";
    }
    s += "}";
    return s;
}

const std::string& FiveMegabytes() {
    static const std::string rtf = MakeFiveMegabytes(false);
    return rtf;
}

// Hiragana as Shift_JIS byte pairs in a \fcharset128 font, a \uN with its
// two-byte fallback now and then, as Word writes Japanese.
const std::string& FiveMegabytesShiftJis() {
    static const std::string rtf = [] {
        std::mt19937 random(11);
        std::string s =
            "{\\rtf1\\ansi\\ansicpg932\\uc2\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 "
            "\\'82\\'6c\\'82\\'72 \\'96\\'be\\'92\\'a9;}}\n";
        s.reserve(kDocumentSize + 4096);
        while (s.size() < kDocumentSize) {
            s += "\\pard\\plain\\f0\\fs21 ";
            const int characters = 40 + static_cast<int>(random() % 120);
            for (int i = 0; i < characters; ++i) {
                const unsigned kana = random() % 83;
                if (random() % 8 == 0) {
                    s += "\\u" + std::to_string(0x3041 + kana) + Hex(0x82) + Hex(0x9F + kana);
                } else {
                    s += Hex(0x82) + Hex(static_cast<unsigned char>(0x9F + kana));
                }
                if (random() % 30 == 0) s += "{\\b " + Hex(0x81) + Hex(0x42) + "}";
            }
            s += "\\par\n";
        }
        s += "}";
        return s;
    }();
    return rtf;
}

void BM_ReadRtfWhole(benchmark::State& state) {
    const std::string& rtf = FiveMegabytes();
    for (auto _ : state) {
        RtfDocument doc = ReadRtf(rtf);
        benchmark::DoNotOptimize(doc.text.size());
        state.counters["chars"] = static_cast<double>(doc.text.size());
        state.counters["runs"] = static_cast<double>(doc.runs.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ReadRtfWhole)->Unit(benchmark::kMillisecond);

// As the file is read: in blocks of 4 KB.
void BM_ReadRtfInBlocks(benchmark::State& state) {
    const std::string_view rtf = FiveMegabytes();
    for (auto _ : state) {
        RtfReader reader;
        for (std::size_t at = 0; at < rtf.size(); at += 4096) reader.Feed(rtf.substr(at, 4096));
        RtfDocument doc = reader.Finish();
        benchmark::DoNotOptimize(doc.text.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ReadRtfInBlocks)->Unit(benchmark::kMillisecond);

void BM_ReadRtfHeadings(benchmark::State& state) {
    static const std::string rtf = MakeFiveMegabytes(true);
    for (auto _ : state) {
        RtfDocument doc = ReadRtf(rtf);
        benchmark::DoNotOptimize(doc.text.size());
        state.counters["headings"] = static_cast<double>(doc.outline.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ReadRtfHeadings)->Unit(benchmark::kMillisecond);

void BM_ReadRtfShiftJis(benchmark::State& state) {
    const std::string& rtf = FiveMegabytesShiftJis();
    for (auto _ : state) {
        RtfDocument doc = ReadRtf(rtf);
        benchmark::DoNotOptimize(doc.text.size());
        state.counters["chars"] = static_cast<double>(doc.text.size());
        state.counters["runs"] = static_cast<double>(doc.runs.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
}
BENCHMARK(BM_ReadRtfShiftJis)->Unit(benchmark::kMillisecond);

}  // namespace
