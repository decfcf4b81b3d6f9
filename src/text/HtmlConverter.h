#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Turns an HTML document into plain text for reading, in one pass and in
// constant memory. It is not an HTML parser: it keeps what follows the first
// tag beginning "<BODY", recognises tags by their first letters only, never
// looks at attributes, decodes seven named references and numeric ones, skips
// comments and scripts, turns a few block tags into line breaks and keeps the
// layout of "<PRE>" blocks. Bytes pass through unchanged, so the text stays in
// the input's single-byte code page (Windows-1251); line breaks it makes are
// CR LF.
//
// Input may arrive in chunks of any size: the machine looks at one byte at a
// time, so the output does not depend on where the chunks are cut.
class HtmlConverter {
public:
    using Sink = std::function<void(std::string_view)>;

    // The text goes to the sink in pieces of about 64 KB; their concatenation
    // is the text.
    explicit HtmlConverter(Sink sink);
    // The text is appended to output as it is made.
    explicit HtmlConverter(std::string& output);

    HtmlConverter(const HtmlConverter&) = delete;
    HtmlConverter& operator=(const HtmlConverter&) = delete;

    void Feed(std::string_view chunk);
    // Ends the document: hands the rest of the text to the sink and drops what
    // is still pending (breaks at the very end, a half-read reference). The
    // converter then starts afresh for another document.
    void Finish();

private:
    // Numbered as the machine has always been described, so that a state can
    // be found by its number.
    enum class State : std::uint16_t {
        SeekBodyLt = 1,
        SeekBodyB = 2,
        SeekBodyO = 3,
        SeekBodyD = 4,
        SeekBodyY = 5,
        BodyTagRest = 6,
        AfterBlank = 10,
        TagStart = 20,
        Text = 30,
        SkipTag = 40,
        SkipTagThenBlanks = 42,
        EndTag = 50,
        EndTagB = 51,
        PreText = 60,
        PreSkipTag = 62,
        PreTagStart = 70,
        PreEndTag = 72,
        PreEndTagP = 73,
        PreEndTagPR = 74,
        PreEndTagB = 75,
        TagB = 100,
        TagP = 200,
        TagPR = 210,
        TagPRE = 220,
        TagH = 300,
        TagBang = 400,
        Comment = 410,
        CommentDash = 420,
        Ref = 500,
        RefA = 501,
        RefAM = 502,
        RefL = 505,
        RefG = 506,
        RefR = 507,
        RefRE = 508,
        RefC = 510,
        RefCO = 511,
        RefCOP = 512,
        RefQ = 515,
        RefQU = 516,
        RefQUO = 517,
        RefN = 520,
        RefNB = 521,
        RefNBS = 522,
        RefNumber = 530,
        TagT = 600,
        TagS = 700,
        TagSC = 702,
        TagSCR = 704,
        Script = 706,
        ScriptLt = 708,
        ScriptEndTag = 710,
        TagUO = 800,
        TagL = 810,
        TagD = 830,
        TagDI = 832,
    };

    static constexpr std::size_t kMarkupCapacity = 64;

    const char* PassOver(const char* p, const char* end);
    void Step(char byte);
    void Reset();

    // The text state and the tag-skipping state of the current mode.
    State TextState() const { return preformatted_ ? State::PreText : State::Text; }
    State SkipState() const { return preformatted_ ? State::PreSkipTag : State::SkipTagThenBlanks; }

    void PutChar(char c);
    void PutString(std::string_view s);
    void Break() { ++pendingBreaks_; }
    void WritePendingBreaks();
    void LeaveScriptTag(char c);
    void MatchLetter(char c, char byte, char letter, State next);
    void DecodeCharIf(char c, char byte, char letter, char decoded);
    void DecodeStringIf(char c, char byte, char letter, std::string_view decoded);

    void BeginToken(char byte);
    void AppendToken(char byte);
    void FlushToken(char byte);

    void FlushOutput();

    Sink sink_;
    std::string buffer_;
    std::string& output_;  // buffer_ when there is a sink

    State state_ = State::SeekBodyLt;
    bool preformatted_ = false;
    bool script_ = false;
    bool semicolonPending_ = false;
    // Wide enough that no file can make it wrap.
    std::uint64_t pendingBreaks_ = 0;
    // Wraps modulo 2^32 and is read as a signed 32-bit number.
    std::uint32_t numericValue_ = 0;
    std::size_t markupLength_ = 0;
    char markup_[kMarkupCapacity] = {};
};

// The whole conversion of a document held in memory.
std::string ConvertHtmlToText(std::string_view html);
