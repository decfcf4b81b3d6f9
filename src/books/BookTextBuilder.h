#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "books/BookText.h"

// Gathers a book's text paragraph by paragraph, with bold and italic runs, up
// to the text limit. Paragraphs are separated by CR LF; a paragraph starts
// with its first character, so blocks that hold no text leave no empty lines
// (only EmptyParagraph makes one). Text comes as UTF-8 from the XML parser;
// each ill-formed sequence becomes U+FFFD and control characters are dropped.
class BookTextBuilder {
public:
    explicit BookTextBuilder(std::size_t maxTextLength);

    // XML character data. Collapsed: every run of blanks (space, tab, CR,
    // LF) is one space, and none at the start or end of a paragraph, as FB2
    // and ODF read. Preserved: blanks are kept, each as one space.
    void AppendCollapsed(std::string_view utf8);
    void AppendPreserved(std::string_view utf8);
    // One character kept whatever comes around it (ODF's text:s spaces, a
    // tab in the text).
    void AppendLiteral(char32_t c);
    // A character that ends what came before it, as a tab between table
    // cells: a blank just before it is dropped.
    void AppendSeparator(char32_t c);
    // The next text starts a new paragraph.
    void EndParagraph();
    // An empty paragraph of its own, as FB2's <empty-line/>. Not at the start
    // of the text.
    void EmptyParagraph();

    // Tables of office documents: a row is a line and its cells are separated
    // by tabs. Inside a cell, paragraph breaks and tabs (a nested table's
    // among them) are single spaces, so a row stays one line.
    void BeginCell(bool firstInRow);
    void EndCell() { --cellDepth_; }
    // The end of a paragraph or a line, as a cell takes it.
    void BlockBreak();
    // A tab in the text, as a cell takes it.
    void Tab();
    bool InCell() const { return cellDepth_ > 0; }

    // Headings of the outline. The text written between BeginHeading and
    // EndHeading is a heading's title (breaks and blanks as single spaces); it
    // starts where the paragraph holding its first character starts. One that
    // wrote no text is none; one inside another is part of it.
    void BeginHeading(int level);
    void EndHeading();
    // A heading titled apart from the text, at the paragraph of the next text.
    void HeadingAtNextText(int level, std::u32string title);

    // Formats nest: each Begin has its End.
    void BeginBold() { ++bold_; }
    void EndBold() { --bold_; }
    void BeginItalic() { ++italic_; }
    void EndItalic() { --italic_; }

    // The limit is reached: more text would be dropped.
    bool Full() const { return full_; }
    std::size_t Length() const { return text_.size(); }

    // Hands over the text, its runs and its headings; trailing empty
    // paragraphs, and headings past the end of a cut text, are dropped.
    void Finish(LoadedText& book);

private:
    void Put(char32_t c);
    bool StartParagraph();
    void Emit(char32_t c, const CharFormat& format);
    CharFormat Current() const;
    void FinishOutline(LoadedText& book) const;

    std::size_t max_;
    std::u32string text_;
    std::vector<TextRun> runs_;
    int bold_ = 0;
    int italic_ = 0;
    bool inParagraph_ = false;
    bool pendingSpace_ = false;
    CharFormat pendingFormat_;
    bool full_ = false;
    char32_t refused_ = 0;  // the first character that did not fit
    int cellDepth_ = 0;
    // A heading's title is text_[from, to), or its own when it has one.
    struct PendingHeading {
        int level;
        std::size_t from, to;
        std::u32string title;
    };
    std::vector<PendingHeading> headings_;
    int headingDepth_ = 0;
};

// Collapses XML blanks in metadata (author, title): one space between words,
// none around them.
std::u32string CollapsedText(std::string_view utf8);
