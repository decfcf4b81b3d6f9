#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "text/RtfCharset.h"
#include "text/RtfColorTable.h"
#include "text/RtfControlWords.h"
#include "text/RtfDocument.h"
#include "text/RtfFontTable.h"
#include "text/RtfStyleSheet.h"

// Reads an RTF document into text (code points) and formatting runs for the
// text pane. The reader is a byte-at-a-time state machine: the bytes may
// arrive in chunks of any size, cut anywhere, and give the same document as
// when they are fed whole. It never fails; damaged input yields what can be
// read of it (unbalanced braces, cut escapes and runaway numbers included).
//
// Text is taken from the document body and from field results; the font,
// colour and style tables, document information, pictures, objects (all but
// their results), list tables, headers, footers, footnotes, field
// instructions, hidden text and every "\*" destination the reader does not
// know are skipped. \upr groups give their \ud half. Bytes are decoded in the
// current font's code page (\fcharset, \cpg), else the document's (\ansicpg,
// else \ansi: Windows-1252); the bytes of a multi-byte code page are decoded
// together, so that a character may come as two \'hh escapes or two raw
// bytes. \uN characters replace their \ucN fallbacks; a high and a low
// surrogate in a row make one character, a lone one is U+FFFD.
//
// Paragraphs with an outline level make the outline: \outlinelevelN in the
// paragraph's own properties, else that of its style (\sN) in the
// stylesheet (RtfStyleSheet.h). Paragraph properties last until \pard or the
// end of their group, and those in force at a paragraph's end (\par, \sect,
// \row, \cell) are the paragraph's.
//
// Bytes that do not begin with "{\rtf" are taken as plain text, as a rich
// text control takes them. The document ends with its outermost group; bytes
// after it are not read.
//
// Groups nest at most kMaxGroupDepth deep. Deeper braces still pair up, but
// their groups share the deepest group's state: what they change lasts until
// that group ends.
class RtfReader {
public:
    static constexpr std::size_t kMaxGroupDepth = 1000;

    // The text is cut at maxTextLength characters, the text control's limit
    // unless a test wants a smaller one.
    explicit RtfReader(std::size_t maxTextLength = kMaxTextLength);
    // The resolved code page points into the reader's own cache.
    RtfReader(const RtfReader&) = delete;
    RtfReader& operator=(const RtfReader&) = delete;
    RtfReader(RtfReader&&) = default;
    RtfReader& operator=(RtfReader&&) = default;

    void Feed(std::string_view chunk);
    // Makes room for what a document of that many bytes is likely to hold, so
    // that a large one is not copied again and again as it grows: at most a
    // character a byte, and a change of format every 64 bytes.
    void Expect(std::size_t documentBytes);
    // Ends the document and hands it over; the reader is then ready for
    // another document.
    RtfDocument Finish();

private:
    enum class Mode { Prefix, Rtf, PlainText, Done };
    enum class Lex { Text, Backslash, Word, WordSign, WordNumber, Hex1, Hex2, Binary };
    enum class Destination { Text, Skip, FontTable, ColorTable, StyleSheet, Upr, Object };
    // For tables indexed by destination: Object is the last.
    static constexpr std::size_t kDestinationCount =
        static_cast<std::size_t>(Destination::Object) + 1;

    // The character properties that decide a run's format.
    struct CharProps {
        bool bold = false;
        bool italic = false;
        bool underline = false;
        int halfPoints = kRtfDefaultHalfPoints;
        int color = -1;  // colour-table index; -1 the default colour
        int font = -1;   // font number; -1 the document's default font (\deff)

        bool operator==(const CharProps&) const = default;
    };

    struct Group {
        Destination destination = Destination::Text;
        // Where the \ud half of an \upr, or the \result of an \object, goes.
        Destination outer = Destination::Text;
        CharProps props;
        bool hidden = false;
        int unicodeSkip = 1;
        // The paragraph's style and its own outline level (\outlinelevelN).
        int style = 0;
        std::optional<int> outlineLevel;
        bool outlineLevelSet = false;
    };

    void StartPlainText();
    void AppendPlain(std::string_view bytes);
    void FeedRtf(unsigned char c);
    // Handles one byte; true when the byte ended a control word without
    // belonging to it and must be read again. Step reads text itself, so that
    // the loop over a document's bytes calls nothing for the common case; the
    // Lex* functions read the rest of RTF's syntax.
    bool Step(unsigned char c);
    void LexBackslash(unsigned char c);
    bool LexWord(unsigned char c);
    bool LexSign(unsigned char c);
    bool LexNumber(unsigned char c);
    bool LexHexHigh(unsigned char c);
    bool LexHexLow(unsigned char c);
    // Ends a control word at byte c; true when c is to be read again (all but
    // a space).
    bool EndWord(bool hasParam, unsigned char c);
    // Ends a control word that a hyphen without digits follows, the hyphen
    // being text.
    void EndWordBeforeHyphen();
    void FinishLexing();

    void OpenGroup();
    void CloseGroup();
    // Either brace ends a character's bytes, a \uN's fallback and a "\*".
    void AtBrace();
    void ControlSymbol(unsigned char c);
    void ControlWord(bool hasParam);
    // A byte of text, unless a \uN's fallback swallows it.
    void TakeByte(unsigned char byte, bool escaped);
    void DocumentByte(unsigned char byte, bool escaped);
    void UnicodeCharacter(int param);
    bool Skipping();

    // The control words' handlers, one row of them for each destination;
    // words without one in a destination are ignored there. Without a
    // parameter, param is 0.
    using WordHandler = void (RtfReader::*)(bool hasParam, int param);
    using WordHandlers = std::array<std::array<WordHandler, kRtfWordCount>, kDestinationCount>;
    static const WordHandlers kWordHandlers;
    // The document's code page and default font.
    template <int kCodePage>
    void CharacterSetWord(bool hasParam, int param);
    void AnsiCodePageWord(bool hasParam, int param);
    void DefaultFontWord(bool hasParam, int param);
    // Destinations.
    template <Destination kDestination>
    void DestinationWord(bool hasParam, int param);
    void ColorTableWord(bool hasParam, int param);
    // \upr and \object: their text is in the \ud or \result group inside them,
    // which goes back to the destination around them.
    template <Destination kDestination>
    void WrapperWord(bool hasParam, int param);
    void OuterDestinationWord(bool hasParam, int param);
    // Character formatting.
    void PlainWord(bool hasParam, int param);
    template <bool CharProps::*kProp>
    void ToggleWord(bool hasParam, int param);
    void UnderlineNoneWord(bool hasParam, int param);
    void HiddenWord(bool hasParam, int param);
    void FontSizeWord(bool hasParam, int param);
    // \f and \cf: an index into the font or colour table.
    template <int CharProps::*kProp>
    void TableIndexWord(bool hasParam, int param);
    // Paragraph properties, in the text and in the stylesheet.
    void ParagraphDefaultWord(bool hasParam, int param);
    void StyleWord(bool hasParam, int param);
    void OutlineLevelWord(bool hasParam, int param);
    void StyleEntryWord(bool hasParam, int param);
    void StyleOutlineLevelWord(bool hasParam, int param);
    void StyleBasedOnWord(bool hasParam, int param);
    // Paragraph, line, page, section and row breaks; table cells; characters.
    void BreakWord(bool hasParam, int param);
    void ParagraphBreakWord(bool hasParam, int param);
    void CellWord(bool hasParam, int param);
    template <char32_t kCodePoint>
    void CharacterWord(bool hasParam, int param);
    void UnicodeWord(bool hasParam, int param);
    void UnicodeSkipWord(bool hasParam, int param);
    // Inside the font and colour tables.
    void FontEntryWord(bool hasParam, int param);
    void FontCharsetWord(bool hasParam, int param);
    void FontCodePageWord(bool hasParam, int param);
    template <void (RtfColorTable::*kSet)(int)>
    void ColorComponentWord(bool hasParam, int param);

    // A paragraph ends: an outline entry when it is a heading.
    void EndParagraph();
    void EmitCodePoint(char32_t codePoint);
    void EmitBreak();
    // Decodes the bytes collected in a multi-byte code page.
    void FlushBytes();
    void Put(char32_t codePoint);
    // Writes the U+FFFD of a high surrogate left without its low half and the
    // tab of a cell that more of its row follows.
    void FlushPending();
    // Only the U+FFFD: a break or the end of the document drops the tab.
    void FlushHighSurrogate();
    // Callers have brought the resolved format up to date (Refresh).
    void Append(char32_t codePoint);
    bool EmittingText() const;
    // Works out the format and code page of the group anew when they may have
    // changed; bytes still collected are decoded first, in the old ones.
    void Refresh();
    int DocumentCodePage() const;
    const RtfCharset& CodePage(int number);

    std::size_t maxTextLength_;
    Mode mode_ = Mode::Prefix;
    std::string prefix_;

    Lex lex_ = Lex::Text;
    char word_[32] = {};
    std::size_t wordLength_ = 0;
    bool wordTooLong_ = false;
    bool negative_ = false;
    std::int64_t number_ = 0;
    unsigned hexHigh_ = 0;
    std::uint64_t binaryLeft_ = 0;

    Group group_;
    std::vector<Group> saved_;
    std::size_t flattenedDepth_ = 0;
    bool star_ = false;
    std::int64_t fallbackLeft_ = 0;

    RtfFontTable fonts_;
    RtfStyleSheet styles_;
    RtfColorTable colors_;
    std::optional<int> ansiCodePage_;
    // From \ansi (Windows-1252, the default), \mac, \pc or \pca; \ansicpg wins.
    int characterSet_ = 1252;
    // Decoders by code page number; a document uses a handful.
    std::unordered_map<int, RtfCharset> codePages_;
    int defaultFont_ = 0;
    // Bumped whenever a table or the document's code page or font changes, so
    // that the resolved format is worked out again.
    unsigned tablesVersion_ = 1;

    CharProps resolvedProps_;
    unsigned resolvedVersion_ = 0;
    const RtfCharset* resolvedCodePage_ = nullptr;
    CharFormat resolvedFormat_;
    bool formatPending_ = true;

    // Bytes of a multi-byte code page not yet decoded; they share the
    // resolved format and code page.
    std::string pendingBytes_;
    // A high surrogate waiting for its low half; 0 when none.
    char32_t pendingHigh_ = 0;
    bool cellTabPending_ = false;
    // Where the paragraph's first character is, once it has one: breaks
    // before it (a page break, a cell's tab) are not the heading's.
    std::size_t paragraphStart_ = 0;
    bool paragraphStarted_ = false;

    RtfDocument document_;
};

RtfDocument ReadRtf(std::string_view bytes);
