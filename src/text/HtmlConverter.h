#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "text/CompactText.h"
#include "text/Outline.h"

// Turns an HTML document, already decoded to Unicode, into plain text for
// reading, in one pass and in constant memory. It is not an HTML parser: it
// keeps what follows the first tag beginning "<BODY", recognises tags by their
// first letters only, looks at no attributes (but those of XHTML's links,
// see Options), decodes named and numeric character references, skips
// comments and scripts, turns a few block tags into line breaks and keeps the
// layout of "<PRE>" blocks. Other characters pass through unchanged; line
// breaks it makes are CR LF.
//
// References: every HTML5 name followed by ";" is decoded, and the legacy
// names (amp, lt, copy, eacute, ...) also without it, the longest one that
// begins the letters winning ("&copy2004" is the sign and "2004"). The seven
// names of old pages (amp, lt, gt, reg, copy, quot, nbsp) are still found in
// any letter case when nothing matches exactly. A named non-breaking space is
// written as a plain space, as it always has been. A numeric reference,
// decimal or "&#x" hex, needs its ";"; its value is taken modulo 2^32,
// 0x80-0x9F are read as the Windows-1252 characters there, as browsers do, and
// zero, a surrogate or a value past U+10FFFF gives U+FFFD. Anything else is
// written as it stands.
//
// Input may arrive in chunks of any size: the machine looks at one character
// at a time, so the output does not depend on where the chunks are cut.
class HtmlConverter {
public:
    using Sink = std::function<void(std::u32string_view)>;

    // Characters [start, end) of the text, counted from the start of the
    // output string (or of all the text handed to the sink).
    struct Span {
        std::size_t start = 0;
        std::size_t end = 0;
        int level = 0;  // a heading's: 1 for "<h1>", ... 6 for "<h6>"
        bool operator==(const Span&) const = default;
    };

    struct Options {
        // XHTML as e-books have it: "<![CDATA[...]]>" gives its characters as
        // they stand (blanks still collapse outside preformatted blocks); "<p/>"
        // and "<p" followed by any blank break the paragraph as "<p>" does; a
        // self-closed "<script .../>" hides nothing after it; blanks after
        // inline tags ("<span>", "<sup>", "<u>", "<del>") are kept. Outside
        // preformatted blocks a paragraph ends with one line break instead of
        // an empty line, blanks in front of a break are dropped, and so are
        // breaks before the document's first text. "<dl>", "<dt>", "<dd>" and
        // their end tags break the line. A link to a note ("noteref" or
        // "note-ref" among its attributes, or to "#..." inside "<sup>") is
        // written apart from its word and in brackets, "word [1]"; these are
        // the only attributes looked at.
        bool xhtml = false;
        // When set, gets where each heading's text lies, from "<hN" to the
        // next "</hN" (or the next heading, or the end). A span may begin or end
        // with the line breaks and spaces around the heading; the caller trims.
        std::vector<Span>* headings = nullptr;
    };

    // The text goes to the sink in pieces of about 64 K characters; their
    // concatenation is the text.
    explicit HtmlConverter(Sink sink);
    HtmlConverter(Sink sink, Options options);
    // The text is appended to output as it is made.
    explicit HtmlConverter(std::u32string& output);
    HtmlConverter(std::u32string& output, Options options);

    HtmlConverter(const HtmlConverter&) = delete;
    HtmlConverter& operator=(const HtmlConverter&) = delete;

    void Feed(std::u32string_view chunk);
    // Ends the document: hands the rest of the text to the sink and drops what
    // is still pending (breaks at the very end, a half-read reference). The
    // converter then starts afresh for another document.
    void Finish();

private:
    // Numbered as the machine has always been described, so that a state can
    // be found by its number.
    enum class State : std::uint16_t {
        // Before the body.
        SeekBodyLt = 1,
        SeekBodyB = 2,
        SeekBodyO = 3,
        SeekBodyD = 4,
        SeekBodyY = 5,
        BodyTagRest = 6,
        // Text, and the rest of a tag being skipped.
        AfterBlank = 10,
        Text = 30,
        SkipTag = 40,
        SkipTagThenBlanks = 42,
        PreText = 60,
        // The first character of a tag's name, after "<" or "</".
        TagStart = 20,
        EndTag = 50,
        // The rest of the names of tags looked for in both modes, and "</PRE".
        PreEndTagP = 73,
        PreEndTagPR = 74,
        TagB = 100,
        TagP = 200,
        TagPR = 210,
        TagPRE = 220,
        TagH = 300,
        // Tag names that only lay out text outside preformatted blocks.
        TagT = 600,
        TagUO = 800,
        TagL = 810,
        TagD = 830,
        TagDI = 832,
        // Scripts.
        TagS = 700,
        TagSC = 702,
        TagSCR = 704,
        Script = 706,
        ScriptLt = 708,
        ScriptEndTag = 710,
        ScriptOpenTag = 920,  // XHTML only
        // XHTML only: links and "<sup>", for note references, and the end
        // tags of definition lists.
        TagA = 940,
        LinkTag = 942,
        TagSU = 944,
        TagSUP = 946,
        EndTagA = 950,
        EndTagS = 952,
        EndTagSU = 954,
        EndTagSUP = 956,
        EndTagD = 958,
        // "<!": comments and declarations, and in XHTML CDATA sections.
        TagBang = 400,
        Comment = 410,
        CommentDash = 420,
        CDataOpen = 900,
        CData = 910,
        // Character references.
        Ref = 500,
        RefName = 520,
        RefNumber = 530,
        RefHex = 532,
    };
    // Every state number is below this, so that tables can be indexed by it.
    static constexpr std::size_t kStateNumberLimit = 1000;

    static constexpr std::size_t kMarkupCapacity = 64;
    // The start of a link's attributes that is kept to tell a note reference.
    static constexpr std::size_t kLinkAttributesCapacity = 256;
    // The longest note reference, " [" included, that is held back from the
    // sink until it is closed.
    static constexpr std::size_t kHeldNoteLength = 64;

    const char32_t* PassOver(const char32_t* p, const char32_t* end);
    void Step(char32_t ch);
    void Reset();

    // The parts of the machine, each read by a function of its own.
    enum class Phase : std::uint8_t {
        BeforeBody,
        Text,
        TagStart,
        TagName,
        LayoutTag,
        Script,
        Declaration,
        Reference,
        XhtmlTag,
    };
    static constexpr Phase PhaseOf(State state);

    // One phase each, as Step hands them the character (ch) and its upper case
    // (c), which is what names are matched against.
    void SeekBody(char32_t c);
    void StepText(char32_t ch, char32_t c);
    void StepTagStart(char32_t ch, char32_t c);
    void StepTagName(char32_t ch, char32_t c);
    void StepLayoutTag(char32_t c);
    void StepScript(char32_t c);
    void StepDeclaration(char32_t ch, char32_t c);
    void StepReference(char32_t ch, char32_t c);
    void StepXhtmlTag(char32_t c);

    // The text state and the tag-skipping state of the current mode.
    State TextState() const { return preformatted_ ? State::PreText : State::Text; }
    State SkipState() const { return preformatted_ ? State::SkipTag : State::SkipTagThenBlanks; }
    // The text state after a tag whose following blanks are dropped, as after a
    // break; in a preformatted block every blank counts.
    State TextStateDroppingBlanks() const {
        return preformatted_ ? State::PreText : State::AfterBlank;
    }

    void ReadTagName(char32_t ch, State next);
    void ReadTagNameOutsidePre(State next);
    void UnknownTag(char32_t ch, char32_t c);
    void SkipRestOfTag(char32_t c);
    void BreakingTag(int breaks);

    void PutChar(char32_t c);
    void PutString(std::u32string_view s);
    void Break() { ++pendingBreaks_; }
    void WritePendingBreaks();
    void LeaveScriptTag(char32_t c);
    State InlineTag(char32_t c) const;
    // Decides a name reference once the character after its letters is known
    // (none at the end of the document) and goes back to the text.
    void EndName(const char32_t* next);
    void EndNumber(char32_t ch);

    void BeginToken(char32_t ch);
    void AppendToken(char32_t ch);
    void FlushToken(char32_t ch);

    // all: the blanks at the end too, which XHTML otherwise holds back.
    void FlushOutput(bool all = false);

    void PutCDataChar(char32_t ch);
    // Where the next character written would stand.
    std::size_t Position() const { return flushed_ + output_.size(); }
    void DropTrailingBlanks();
    void OpenHeading(int level);
    void CloseHeading();
    bool IsNoteLink() const;
    void OpenNote();
    void CloseNote();

    Sink sink_;
    Options options_;
    std::u32string buffer_;
    std::u32string& output_;  // buffer_ when there is a sink

    State state_ = State::SeekBodyLt;
    bool preformatted_ = false;
    bool script_ = false;
    bool numberHasDigits_ = false;
    // The tag being read began "</".
    bool endTag_ = false;
    // XHTML: the last character of the tag being read was "/".
    bool slash_ = false;
    bool cdataBlank_ = false;
    bool headingOpen_ = false;
    bool noteOpen_ = false;
    // A note reference was just closed: a word right after it is kept apart.
    bool spaceAfterNote_ = false;
    // "]" characters of CDATA held back in case "]]>" ends the section.
    std::size_t cdataBrackets_ = 0;
    // Characters of "CDATA[" matched after "<![".
    std::size_t cdataMatched_ = 0;
    std::size_t headingStart_ = 0;
    int headingLevel_ = 0;
    // Where the open note reference began (before its " [") and where its
    // text begins.
    std::size_t noteMarkAt_ = 0;
    std::size_t noteStart_ = 0;
    // "<sup>" elements open around the text.
    std::size_t supDepth_ = 0;
    std::size_t linkAttributesLength_ = 0;
    char32_t linkAttributes_[kLinkAttributesCapacity] = {};
    std::size_t flushed_ = 0;        // characters handed to the sink so far
    std::size_t documentStart_ = 0;  // where this document's text begins
    // Wide enough that no file can make it wrap.
    std::uint64_t pendingBreaks_ = 0;
    // Wraps modulo 2^32 and is read as a signed 32-bit number.
    std::uint32_t numericValue_ = 0;
    std::size_t markupLength_ = 0;
    char32_t markup_[kMarkupCapacity] = {};
};

// The whole conversion of a document held in memory; with an outline, also
// the outline its headings make (see HeadingOutline).
std::u32string ConvertHtmlToText(std::u32string_view html, std::vector<Heading>* outline = nullptr);
// The same for a document handed over in pieces: `feed` calls the function it
// is given with each piece in order. `sizeHint` is about the characters there
// are.
CompactText ConvertHtmlToText(
    const std::function<void(const std::function<void(std::u32string_view)>&)>& feed,
    std::size_t sizeHint, std::vector<Heading>* outline = nullptr);

// The outline that headings make: each span's text, blanks collapsed, is the
// title, its paragraph the place; the levels are numbered from 1 over those
// present (only "<h2>" and "<h3>" make levels 1 and 2). Headings without text,
// or past the end of the text, are left out.
std::vector<Heading> HeadingOutline(TextView text,
                                    const std::vector<HtmlConverter::Span>& headings);
