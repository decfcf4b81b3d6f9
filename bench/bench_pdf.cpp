// Reading a 300-page PDF book (bench/data/book-300.pdf, made by
// make_pdf_300.sh with LibreOffice) into text, with its 88 bookmarks and, for
// what the outline costs, with the catalogue's /Outlines renamed so that
// poppler finds none. Goal: the whole book in well
// under 3 s, so that with the progress dialog showing the first paint of its
// text comes within 3 s. Skips, saying so, when the book is absent.

#include <fstream>
#include <sstream>
#include <string>

#include <benchmark/benchmark.h>

#include "books/PdfReader.h"

namespace {

const std::string kBook = LMN_BENCH_DATA "/book-300.pdf";

void ReadPdfBook(benchmark::State& state, bool bookmarks) {
    std::ifstream file(kBook, std::ios::binary);
    if (!file) {
        state.SkipWithError("bench/data/book-300.pdf is missing: run bench/make_pdf_300.sh");
        return;
    }
    std::ostringstream bytes;
    bytes << file.rdbuf();
    std::string pdf = bytes.str();
    if (!bookmarks) {
        const std::size_t at = pdf.find("/Outlines");
        if (at != std::string::npos) pdf[at + 8] = 'X';
    }
    std::size_t pages = 0;
    std::size_t characters = 0;
    std::size_t headings = 0;
    for (auto _ : state) {
        const LoadedText book = ReadPdf(pdf, {}, [&](std::size_t, std::size_t total) {
            pages = total;
            return true;
        });
        characters = book.text.size();
        headings = book.outline.size();
        benchmark::DoNotOptimize(book.text.size());
    }
    state.counters["pages"] = static_cast<double>(pages);
    state.counters["characters"] = static_cast<double>(characters);
    state.counters["headings"] = static_cast<double>(headings);
    state.counters["pages/s"] = benchmark::Counter(static_cast<double>(pages),
                                                   benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK_CAPTURE(ReadPdfBook, bookmarks, true)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK_CAPTURE(ReadPdfBook, no_bookmarks, false)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

}  // namespace
