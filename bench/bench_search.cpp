// A search that finds nothing in a text of 10 M characters: the whole text is passed
// once (to the end, then the wrap to the starting point). Goal: under 50 ms.

#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "text/TextSearch.h"

namespace {

constexpr std::size_t kTextSize = 10 * 1024 * 1024;

const std::u32string& TenMegabytes() {
    static const std::u32string text = [] {
        const std::u32string letters = U"абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВ";
        std::mt19937 random(42);
        std::u32string s;
        s.reserve(kTextSize + 64);
        while (s.size() < kTextSize) {
            const std::size_t length = 1 + random() % 12;
            for (std::size_t i = 0; i < length; ++i) s += letters[random() % letters.size()];
            s += random() % 12 == 0 ? U"\r\n" : U" ";
        }
        s.resize(kTextSize);
        return s;
    }();
    return text;
}

void BM_FindNothing(benchmark::State& state, const char32_t* what, SearchOptions options) {
    const std::u32string& text = TenMegabytes();
    const TextRange caret{text.size() / 2, text.size() / 2};
    for (auto _ : state) {
        const FindResult result = FindNext(text, caret, BeginSearch(what, options, caret));
        if (result.outcome != FindOutcome::NotFound) state.SkipWithError("found something");
        benchmark::DoNotOptimize(result);
    }
}

BENCHMARK_CAPTURE(BM_FindNothing, one_letter_case, U"z", SearchOptions{true, false})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindNothing, one_letter_fold, U"z", SearchOptions{false, false})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindNothing, three_letters_fold, U"ЁЖz", SearchOptions{false, false})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindNothing, common_first_letter_fold, U"Аzz", SearchOptions{false, false})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindNothing, four_letters_fold, U"ЁЖЗz", SearchOptions{false, false})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindNothing, word_case, U"зимородок", SearchOptions{true, false})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindNothing, word_fold, U"Зимородок", SearchOptions{false, false})
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindNothing, word_fold_whole, U"Зимородок", SearchOptions{false, true})
    ->Unit(benchmark::kMillisecond);

}  // namespace
