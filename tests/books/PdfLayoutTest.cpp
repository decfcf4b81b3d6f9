#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/CodePage.h"
#include "books/PdfReader.h"

// The rules that put lines back into paragraphs, on PDFs written here with
// each line placed by hand (Helvetica, 12 points, on a 612 x 792 page).

namespace {

struct Placed {
    int x;
    int y;  // from the bottom of the page, as PDF counts
    std::string text;
};
using PdfPage = std::vector<Placed>;

std::string MakePdf(const std::vector<PdfPage>& pages) {
    std::vector<std::string> objects;
    std::string kids;
    for (std::size_t i = 0; i < pages.size(); ++i) kids += std::to_string(4 + 2 * i) + " 0 R ";
    objects.push_back("<</Type/Catalog/Pages 2 0 R>>");
    objects.push_back("<</Type/Pages/Kids[" + kids + "]/Count " + std::to_string(pages.size()) +
                      ">>");
    objects.push_back("<</Type/Font/Subtype/Type1/BaseFont/Helvetica>>");
    for (std::size_t i = 0; i < pages.size(); ++i) {
        std::string content;
        for (const Placed& line : pages[i]) {
            content += "BT /F1 12 Tf " + std::to_string(line.x) + " " + std::to_string(line.y) +
                       " Td (" + line.text + ") Tj ET\n";
        }
        objects.push_back("<</Type/Page/Parent 2 0 R/MediaBox[0 0 612 792]/Contents " +
                          std::to_string(5 + 2 * i) + " 0 R/Resources<</Font<</F1 3 0 R>>>>>>");
        objects.push_back("<</Length " + std::to_string(content.size()) + ">>stream\n" + content +
                          "endstream");
    }
    std::string pdf = "%PDF-1.4\n";
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        offsets.push_back(pdf.size());
        pdf += std::to_string(i + 1) + " 0 obj" + objects[i] + "endobj\n";
    }
    const std::size_t xref = pdf.size();
    pdf += "xref\n0 " + std::to_string(objects.size() + 1) + "\n0000000000 65535 f \n";
    for (std::size_t offset : offsets) {
        std::string number = std::to_string(offset);
        pdf += std::string(10 - number.size(), '0') + number + " 00000 n \n";
    }
    pdf += "trailer<</Size " + std::to_string(objects.size() + 1) + "/Root 1 0 R>>\nstartxref\n" +
           std::to_string(xref) + "\n%%EOF\n";
    return pdf;
}

// Lines 14 points apart from the top of the body down.
PdfPage Lines(std::vector<std::string> texts, int top = 700) {
    PdfPage page;
    for (std::string& text : texts) {
        page.push_back({72, top, std::move(text)});
        top -= 14;
    }
    return page;
}

const std::string kFull = "The line that is as wide as the widest line here is";

TEST(PdfLayout, LinesBecomeParagraphsByTheirGeometry) {
    struct Case {
        const char* label;
        std::vector<PdfPage> pages;
        std::string text;  // UTF-8, "|" for each paragraph break
    };
    PdfPage gap = Lines({kFull, kFull, kFull, "the end."});
    for (Placed& line : Lines({kFull, "then more."}, 620)) gap.push_back(line);
    PdfPage indented = Lines({kFull, kFull});
    indented.push_back({100, 672, "Indented first line of the next paragraph"});
    const Case cases[] = {
        {"hyphen at a line end joins the word",
         {Lines({kFull + " bro-", "ken word."})},
         kFull + " broken word."},
        {"hyphen before a capital stays, without a space",
         {Lines({kFull + " Rimsky-", "Korsakov."})},
         kFull + " Rimsky-Korsakov."},
        {"hyphen alone is kept with a space",
         {Lines({kFull + " -", "and on."})},
         kFull + " - and on."},
        {"a short line ends its paragraph",
         {Lines({"Short line.", kFull, "next."})},
         "Short line.|" + kFull + " next."},
        {"a wider gap ends a paragraph",
         {gap},
         kFull + " " + kFull + " " + kFull + " the end.|" + kFull + " then more."},
        {"an indented line starts one",
         {indented},
         kFull + " " + kFull + "|Indented first line of the next paragraph"},
        {"a paragraph goes on over a page break",
         {Lines({kFull, kFull}), Lines({"continued here.", kFull, "last."})},
         kFull + " " + kFull + " continued here.|" + kFull + " last."},
        {"a page ending short ends its paragraph",
         {Lines({kFull, "short."}), Lines({"New one.", kFull})},
         kFull + " short.|New one.|" + kFull},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        const LoadedText book = ReadPdf(MakePdf(c.pages), {}, {});
        ASSERT_EQ(book.error, LoadError::None);
        std::string text = ToUtf8(book.text);
        for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
            text.replace(at, 2, "|");
        EXPECT_EQ(text, c.text);
    }
}

TEST(PdfLayout, LinesRepeatingAtTheTopOrBottomOfMostPagesAreLeftOut) {
    struct Case {
        const char* label;
        int pages;
        bool headerOnFirst;
        std::string text;
    };
    const std::string body = kFull + " " + kFull + " end.";
    const Case cases[] = {
        {"three pages", 3, true, body + "|" + body + "|" + body},
        {"the first page without them", 4, false, body + "|" + body + "|" + body + "|" + body},
        {"one page keeps them", 1, true, "Running head|" + body + "|Page 7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        std::vector<PdfPage> pages;
        for (int i = 1; i <= c.pages; ++i) {
            PdfPage page;
            const bool furniture = i > 1 || c.headerOnFirst;
            if (furniture) page.push_back({250, 760, "Running head"});
            for (const Placed& line : Lines({kFull, kFull, "end."})) page.push_back(line);
            if (furniture) page.push_back({290, 40, "Page " + std::to_string(i * 7)});
            pages.push_back(page);
        }
        std::string text = ToUtf8(ReadPdf(MakePdf(pages), {}, {}).text);
        for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
            text.replace(at, 2, "|");
        EXPECT_EQ(text, c.text);
    }
}

TEST(PdfLayout, PagesWithoutWordsAreNoText) {
    EXPECT_EQ(ReadPdf(MakePdf({PdfPage{}, PdfPage{}}), {}, {}).error, LoadError::NoText);
    EXPECT_EQ(ReadPdf(MakePdf({PdfPage{{72, 700, "   "}}}), {}, {}).error, LoadError::NoText);
}

}  // namespace
