// Converting a generated 10 MB HTML page to text. Goal: 100 MB/s or better.
// The page mixes Russian words in Windows-1251 with paragraphs, links, table
// cells, references, comments, a script and preformatted blocks, in about the
// proportions of a converted book. The converter works on the decoded page;
// one byte of the Windows-1251 page is one character, so its figure counts
// the page's bytes.

#include <optional>
#include <random>
#include <string>

#include <benchmark/benchmark.h>

#include "base/CodePage.h"
#include "text/HtmlCharset.h"
#include "text/HtmlConverter.h"
#include "text/TextDecoding.h"

namespace {

constexpr std::size_t kPageSize = 10 * 1024 * 1024;

std::string Words(std::mt19937& random, const std::string& letters, int count) {
    std::string s;
    for (int w = 0; w < count; ++w) {
        const std::size_t length = 1 + random() % 10;
        for (std::size_t i = 0; i < length; ++i) s += letters[random() % letters.size()];
        s += random() % 9 == 0 ? ",\n" : " ";
    }
    return s;
}

const std::string& TenMegabytePage() {
    static const std::string page = [] {
        const std::string letters = UnicodeToCp1251(U"абвгдеёжзийклмнопрстуфхцчшщъыьэюяАБВ");
        std::mt19937 random(7);
        std::string s =
            "<!DOCTYPE html>\n<html><head><title>Book</title>"
            "<script>var x = 1 < 2;</script></head>\n<body bgcolor=\"#FFFFFF\">\n";
        s.reserve(kPageSize + 4096);
        while (s.size() < kPageSize) {
            switch (random() % 10) {
                case 0:
                    s += "<h2>" + Words(random, letters, 4) + "</h2>\n";
                    break;
                case 1:
                    s += "<a href=\"chapter.html#p12\">" + Words(random, letters, 2) + "</a> ";
                    break;
                case 2:
                    s += "&laquo;&nbsp;&amp; &#8212;&copy;&quot; ";
                    break;
                case 3:
                    s += "<table><tr><td>" + Words(random, letters, 3) + "</td></tr></table>\n";
                    break;
                case 4:
                    s += "<!-- " + Words(random, letters, 5) + "-->";
                    break;
                case 5:
                    s += "<pre>\n  " + Words(random, letters, 6) + "\n\n</pre>\n";
                    break;
                default:
                    s += "<p class=\"text\">" + Words(random, letters, 40) + "</p>\n";
                    break;
            }
        }
        s += "</body></html>\n";
        return s;
    }();
    return page;
}

void BM_ConvertHtmlToText(benchmark::State& state) {
    const std::string& page = TenMegabytePage();
    const std::u32string html = *DecodeCharset(page, "windows-1251");
    for (auto _ : state) {
        std::u32string text = ConvertHtmlToText(html);
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_ConvertHtmlToText)->Unit(benchmark::kMillisecond);

// The whole road of a UTF-8 page: the charset prescan, decoding, conversion.
void BM_DecodeAndConvertUtf8Page(benchmark::State& state) {
    const std::string page = ToUtf8(Cp1251ToUnicode(TenMegabytePage()));
    for (auto _ : state) {
        const std::optional<std::string> charset = DeclaredHtmlCharset(page);
        std::u32string text = ConvertHtmlToText(*DecodeCharset(page, charset.value_or("UTF-8")));
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * page.size()));
}
BENCHMARK(BM_DecodeAndConvertUtf8Page)->Unit(benchmark::kMillisecond);

}  // namespace
