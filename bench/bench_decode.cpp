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

// The first 10 MB of the text in that encoding (a UTF-16 file with its mark).
std::string TenMegabytes(const char* charset) {
    std::string bytes = Encode(RussianUtf8(), charset);
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
        std::u32string text = DecodeDocumentText(bytes);
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK_CAPTURE(BM_OpenTextFile, utf8_russian, "UTF-8")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenTextFile, windows_1251, "windows-1251")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenTextFile, koi8_r, "KOI8-R")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_OpenTextFile, utf16le, "UTF-16LE")->Unit(benchmark::kMillisecond);

void BM_DetectOnly(benchmark::State& state, const char* charset) {
    const std::string bytes = TenMegabytes(charset);
    for (auto _ : state) benchmark::DoNotOptimize(DetectDocumentCharset(bytes));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK_CAPTURE(BM_DetectOnly, utf8_russian, "UTF-8")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DetectOnly, windows_1251, "windows-1251")->Unit(benchmark::kMillisecond);

}  // namespace
