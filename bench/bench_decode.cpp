// Detecting the encoding of a 10 MB text file and decoding it, as a document
// is opened. Goal: 100 MB/s or better. The text is the Russian corpus of the
// detection test repeated, written in each encoding with ICU.

#include <unicode/ucnv.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "text/DocumentLoader.h"
#include "text/Outline.h"
#include "text/TextDecoding.h"

namespace {

constexpr std::size_t kFileSize = 10 * 1024 * 1024;

const std::string& RussianUtf8() {
    static const std::string text = [] {
        std::vector<std::filesystem::path> files;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::string(LMN_TEST_DATA) + "/encodings/ru")) {
            files.push_back(entry.path());
        }
        std::sort(files.begin(), files.end());
        std::string corpus;
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            corpus.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        std::string s;
        while (s.size() < kFileSize) s += corpus;
        return s;
    }();
    return text;
}

std::string Encode(const std::string& utf8, const char* charset) {
    UErrorCode status = U_ZERO_ERROR;
    std::string out(4 * utf8.size() + 16, '\0');
    const int32_t size =
        ucnv_convert(charset, "UTF-8", out.data(), static_cast<int32_t>(out.size()), utf8.data(),
                     static_cast<int32_t>(utf8.size()), &status);
    out.resize(U_SUCCESS(status) ? static_cast<std::size_t>(size) : 0);
    return out;
}

// The corpus with a chapter heading before every 40th line: a book of many
// chapters.
const std::string& RussianChaptersUtf8() {
    static const std::string text = [] {
        const std::string& plain = RussianUtf8();
        std::string s;
        int line = 0;
        for (std::size_t at = 0; at < plain.size();) {
            const std::size_t end = std::min(plain.find('\n', at), plain.size() - 1) + 1;
            if (line++ % 40 == 0) s += "\nГлава " + std::to_string(line / 40 + 1) + "\n\n";
            s.append(plain, at, end - at);
            at = end;
        }
        return s;
    }();
    return text;
}

// The first 10 MB of the text in that encoding (a UTF-16 file with its mark).
std::string TenMegabytes(const char* charset, bool chapters = false) {
    std::string bytes = Encode(chapters ? RussianChaptersUtf8() : RussianUtf8(), charset);
    if (std::string_view(charset) == "UTF-16LE") bytes.insert(0, "\xFF\xFE");
    bytes.resize(std::min(bytes.size(), kFileSize));
    return bytes;
}

void BM_OpenTextFile(benchmark::State& state, const char* charset) {
    const std::string bytes = TenMegabytes(charset);
    if (bytes.empty()) {
        state.SkipWithError("cannot encode the text");
        return;
    }
    for (auto _ : state) {
        CompactText text = DecodeDocumentText(bytes);
        benchmark::DoNotOptimize(text.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK_CAPTURE(BM_OpenTextFile, utf8_russian, "UTF-8")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenTextFile, windows_1251, "windows-1251")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenTextFile, koi8_r, "KOI8-R")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenTextFile, utf16le, "UTF-16LE")->Unit(benchmark::kMillisecond);

// Opening a 10 MB text file as the loader does: decoding it, cutting it at
// the limit and, with `outline`, finding its headings (PlainTextOutline),
// which may add at most 5 % to the load.
void BM_LoadTextFile(benchmark::State& state, const char* charset, bool chapters, bool outline) {
    const std::string bytes = TenMegabytes(charset, chapters);
    std::size_t headings = 0;
    for (auto _ : state) {
        CompactText text = DecodeDocumentText(bytes, kMaxTextLength + 1);
        CutToLimit(text, kMaxTextLength);
        if (outline) headings = PlainTextOutline(text).size();
        benchmark::DoNotOptimize(text.size());
    }
    state.counters["headings"] = static_cast<double>(headings);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK_CAPTURE(BM_LoadTextFile, windows_1251, "windows-1251", false, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadTextFile, windows_1251_outline, "windows-1251", false, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadTextFile, utf8_russian, "UTF-8", false, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadTextFile, utf8_russian_outline, "UTF-8", false, true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadTextFile, chapters_1251, "windows-1251", true, false)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LoadTextFile, chapters_1251_outline, "windows-1251", true, true)
    ->Unit(benchmark::kMillisecond);

// The headings alone, on the decoded text.
void BM_PlainTextOutline(benchmark::State& state, bool chapters) {
    const CompactText text =
        DecodeDocumentText(TenMegabytes("windows-1251", chapters), kMaxTextLength);
    for (auto _ : state) benchmark::DoNotOptimize(PlainTextOutline(text).size());
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK_CAPTURE(BM_PlainTextOutline, russian, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_PlainTextOutline, chapters, true)->Unit(benchmark::kMillisecond);

void BM_DetectOnly(benchmark::State& state, const char* charset) {
    const std::string bytes = TenMegabytes(charset);
    for (auto _ : state) benchmark::DoNotOptimize(DetectDocumentCharset(bytes));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK_CAPTURE(BM_DetectOnly, utf8_russian, "UTF-8")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DetectOnly, windows_1251, "windows-1251")->Unit(benchmark::kMillisecond);

}  // namespace
