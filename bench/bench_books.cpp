// Reading a generated FB2 novel of about 1 MB: Russian paragraphs in
// chapters with titles, emphasis and strong words, an epigraph, a poem now
// and then and a notes body, first in UTF-8 and then declared windows-1251.
// Command line to first paint should take 300 ms, so reading must stay well
// under 150 ms.

#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "base/CodePage.h"
#include "books/Fb2Reader.h"
#include "text/TextDecoding.h"

namespace {

constexpr std::size_t kBookSize = 1024 * 1024;

const std::vector<std::string>& Sentences() {
    static const std::vector<std::string> sentences{
        "Был тихий зимний вечер, и снег медленно падал на крыши старых домов.",
        "Анна Сергеевна долго смотрела в окно, не решаясь заговорить первой.",
        "«Вы опять опоздали», — сказал он, снимая шубу в тёмной передней.",
        "На столе остывал самовар, и в комнате пахло яблоками и воском.",
        "Никто из нас тогда не знал, чем кончится эта странная история.",
        "Извозчик остановился у подъезда, и лошадь фыркнула, выпуская пар.",
        "Он достал из кармана письмо, перечитал его и снова спрятал.",
        "В гостиной кто-то играл на рояле старый вальс, сбиваясь на трудных местах.",
    };
    return sentences;
}

std::string Novel(std::string_view declaration) {
    std::mt19937 random(11);
    const auto& sentences = Sentences();
    std::string s = std::string(declaration) +
                    "<FictionBook xmlns=\"http://www.gribuser.ru/xml/fictionbook/2.0\" "
                    "xmlns:l=\"http://www.w3.org/1999/xlink\"><description><title-info>"
                    "<author><first-name>Иван</first-name><last-name>Петров</last-name></author>"
                    "<book-title>Зимний роман</book-title></title-info></description><body>"
                    "<title><p>Зимний роман</p></title>";
    s.reserve(kBookSize + 8192);
    int chapter = 0;
    while (s.size() < kBookSize) {
        s += "<section><title><p>Глава " + std::to_string(++chapter) + "</p></title>";
        s += "<epigraph><p>Мороз и солнце; день чудесный!</p><text-author>Пушкин</text-author>"
             "</epigraph>";
        for (int p = 0; p < 40; ++p) {
            s += "<p>";
            const int count = 2 + static_cast<int>(random() % 5);
            for (int k = 0; k < count; ++k) {
                const std::string& sentence = sentences[random() % sentences.size()];
                const unsigned kind = random() % 12;
                if (kind == 0) {
                    s += "<emphasis>" + sentence + "</emphasis> ";
                } else if (kind == 1) {
                    s += "<strong>" + sentence + "</strong> ";
                } else {
                    s += sentence + " ";
                }
            }
            if (random() % 20 == 0) s += "<a l:href=\"#n1\" type=\"note\">[1]</a>";
            s += "</p>\n";
            if (random() % 30 == 0) {
                s += "<poem><stanza><v>Под голубыми небесами</v><v>Великолепными коврами,</v>"
                     "</stanza><stanza><v>Блестя на солнце, снег лежит;</v></stanza></poem>";
            }
        }
        s += "<empty-line/></section>\n";
    }
    s += "</body><body name=\"notes\"><section id=\"n1\"><title><p>1</p></title><p>Примечание."
         "</p></section></body></FictionBook>";
    return s;
}

void ReadNovel(benchmark::State& state, const std::string& bytes) {
    std::size_t length = 0;
    for (auto _ : state) {
        const LoadedText book = ReadFb2(bytes, {}, {});
        length = book.text.size();
        benchmark::DoNotOptimize(book.text.size());
    }
    state.counters["characters"] = static_cast<double>(length);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
}

void BM_ReadFb2Utf8(benchmark::State& state) {
    static const std::string bytes = Novel("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    ReadNovel(state, bytes);
}
BENCHMARK(BM_ReadFb2Utf8)->Unit(benchmark::kMillisecond);

void BM_ReadFb2Windows1251(benchmark::State& state) {
    static const std::string bytes = UnicodeToCp1251(
        DecodeCharset(Novel("<?xml version=\"1.0\" encoding=\"windows-1251\"?>"), "UTF-8").value());
    ReadNovel(state, bytes);
}
BENCHMARK(BM_ReadFb2Windows1251)->Unit(benchmark::kMillisecond);

}  // namespace
