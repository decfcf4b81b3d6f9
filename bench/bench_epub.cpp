// Reading a generated EPUB novel of about 1 MB: 120 chapters of Russian
// paragraphs, each an XHTML document with a heading, some emphasis and a
// footnote reference, deflated into an archive made in memory. Opening a book
// from the command line should paint within 300 ms, so reading it should
// take well under 150 ms.

#include <random>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "MemoryZip.h"
#include "books/EpubReader.h"

namespace {

constexpr int kChapters = 120;
constexpr std::size_t kChapterSize = 30 * 1024;

// Pseudo-words of Cyrillic letters with Russian-like frequencies of vowels.
std::string Word(std::mt19937& random) {
    static const char* const kSyllables[] = {"по", "на", "ра", "то", "ко", "ли", "не", "ст",
                                             "во", "ре", "ка", "ни", "ть", "ом", "ел", "ва",
                                             "ся", "за", "ми", "де", "ло", "жи", "ую", "ещ"};
    std::string word;
    const int count = 1 + static_cast<int>(random() % 4);
    for (int i = 0; i < count; ++i) word += kSyllables[random() % std::size(kSyllables)];
    return word;
}

std::string ChapterDocument(int number, std::mt19937& random) {
    std::string s =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE html>\n"
        "<html xmlns=\"http://www.w3.org/1999/xhtml\" "
        "xmlns:epub=\"http://www.idpf.org/2007/ops\">\n"
        "<head><title>Глава</title><link rel=\"stylesheet\" href=\"../styles/book.css\"/></head>\n"
        "<body>\n<section epub:type=\"chapter\">\n<h1>Глава " +
        std::to_string(number) + "</h1>\n";
    while (s.size() < kChapterSize) {
        s += "<p>";
        const int words = 30 + static_cast<int>(random() % 80);
        for (int w = 0; w < words; ++w) {
            if (w > 0) s += random() % 9 == 0 ? ", " : " ";
            const unsigned kind = random() % 40;
            if (kind == 0) {
                s += "<em>" + Word(random) + "</em>";
            } else if (kind == 1) {
                s += "<span class=\"s1\">" + Word(random) + "</span>";
            } else {
                s += Word(random);
            }
        }
        if (random() % 20 == 0) s += "<a href=\"notes.xhtml#n1\" epub:type=\"noteref\">1</a>";
        s += ".</p>\n";
    }
    return s + "</section>\n</body>\n</html>\n";
}

const std::string& Novel() {
    static const std::string epub = [] {
        std::mt19937 random(5);
        std::vector<MemoryZipEntry> entries = {
            {"mimetype", "application/epub+zip", true},
            {"META-INF/container.xml",
             "<?xml version=\"1.0\"?><container version=\"1.0\" "
             "xmlns=\"urn:oasis:names:tc:opendocument:xmlns:container\"><rootfiles>"
             "<rootfile full-path=\"OEBPS/content.opf\" "
             "media-type=\"application/oebps-package+xml\"/></rootfiles></container>"},
        };
        std::string manifest;
        std::string spine;
        for (int i = 1; i <= kChapters; ++i) {
            const std::string id = "ch" + std::to_string(i);
            manifest += "<item id=\"" + id + "\" href=\"text/" + id +
                        ".xhtml\" media-type=\"application/xhtml+xml\"/>";
            spine += "<itemref idref=\"" + id + "\"/>";
            entries.push_back({"OEBPS/text/" + id + ".xhtml", ChapterDocument(i, random)});
        }
        entries.push_back(
            {"OEBPS/content.opf",
             "<?xml version=\"1.0\" encoding=\"UTF-8\"?><package "
             "xmlns=\"http://www.idpf.org/2007/opf\" version=\"3.0\"><metadata "
             "xmlns:dc=\"http://purl.org/dc/elements/1.1/\"><dc:title>Роман</dc:title>"
             "<dc:creator>Автор</dc:creator></metadata><manifest>" +
                 manifest + "</manifest><spine>" + spine + "</spine></package>"});
        return MakeMemoryZip(entries);
    }();
    return epub;
}

void BM_ReadEpubNovel(benchmark::State& state) {
    const std::string& epub = Novel();
    for (auto _ : state) {
        LoadedText book = ReadEpub(epub, {}, [](std::size_t, std::size_t) { return true; });
        benchmark::DoNotOptimize(book.text.size());
        state.counters["chars"] = static_cast<double>(book.text.size());
        state.counters["runs"] = static_cast<double>(book.runs.size());
    }
    state.counters["archive_bytes"] = static_cast<double>(epub.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * epub.size()));
}
BENCHMARK(BM_ReadEpubNovel)->Unit(benchmark::kMillisecond);

}  // namespace
