#include "text/HtmlConverter.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <utility>

namespace {

// Text is handed to the sink in pieces of about this size.
constexpr std::size_t kOutputBlock = 64 * 1024;

constexpr char kCopyright = static_cast<char>(169);
constexpr char kRegistered = static_cast<char>(174);

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

constexpr std::array<bool, 256> ByteSet(std::string_view members, bool complement) {
    std::array<bool, 256> set{};
    for (bool& entry : set) entry = complement;
    for (const char c : members) set[static_cast<unsigned char>(c)] = !complement;
    return set;
}
constexpr std::array<bool, 256> kBlank = ByteSet(" \t\r\n", false);
// Bytes that the text states write as they are when no break is pending.
constexpr std::array<bool, 256> kPlainInText = ByteSet("<& \t\r\n", true);
constexpr std::array<bool, 256> kPlainInPre = ByteSet("<&\r\n", true);

// Matching ignores the case of ASCII letters only; Cyrillic bytes stay as they are.
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

HtmlConverter::HtmlConverter(Sink sink) : sink_(std::move(sink)), output_(buffer_) {
    buffer_.reserve(kOutputBlock + kOutputBlock / 2);
}

HtmlConverter::HtmlConverter(std::string& output) : output_(output) {}

void HtmlConverter::Reset() {
    state_ = State::SeekBodyLt;
    preformatted_ = false;
    script_ = false;
    semicolonPending_ = false;
    pendingBreaks_ = 0;
    numericValue_ = 0;
    markupLength_ = 0;
}

void HtmlConverter::Feed(std::string_view chunk) {
    const char* p = chunk.data();
    const char* const end = p + chunk.size();
    while (p != end) {
        const char* next = PassOver(p, end);
        if (next == p) {
            Step(*p);
            ++p;
        } else {
            semicolonPending_ = false;  // cleared by any byte
            p = next;
        }
        if (sink_ && output_.size() >= kOutputBlock) FlushOutput();
    }
}

// Runs of bytes whose only effect is to be copied or skipped are handled here
// in bulk, with exactly the result Step would give byte by byte. Returns where
// the run ends; p itself when Step must look at the byte.
const char* HtmlConverter::PassOver(const char* p, const char* end) {
    const auto find = [p, end](char c) {
        const void* found = std::memchr(p, c, static_cast<std::size_t>(end - p));
        return found != nullptr ? static_cast<const char*>(found) : end;
    };
    // Bounded so that a long run of text does not pile up before the sink sees it.
    const char* const runEnd =
        static_cast<std::size_t>(end - p) > kOutputBlock ? p + kOutputBlock : end;
    const auto run = [p, runEnd](const std::array<bool, 256>& member) {
        const char* q = p;
        while (q != runEnd && member[static_cast<unsigned char>(*q)]) ++q;
        return q;
    };
    if (state_ == State::SeekBodyLt || state_ == State::Script) return find('<');
    if (state_ == State::BodyTagRest || state_ == State::SkipTag ||
        state_ == State::SkipTagThenBlanks || state_ == State::PreSkipTag) {
        return find('>');
    }
    if (state_ == State::Comment) return find('-');
    if (state_ == State::AfterBlank) return run(kBlank);
    // A pending break or semicolon needs Step's attention.
    if ((state_ == State::Text || state_ == State::PreText) && pendingBreaks_ == 0 &&
        !semicolonPending_) {
        const char* const q = run(state_ == State::Text ? kPlainInText : kPlainInPre);
        output_.append(p, static_cast<std::size_t>(q - p));
        return q;
    }
    return p;
}

void HtmlConverter::Finish() {
    FlushOutput();
    Reset();
}

void HtmlConverter::FlushOutput() {
    if (!sink_ || output_.empty()) return;
    sink_(output_);
    output_.clear();
}

// Line breaks are written only in front of the character that follows them, so
// breaks at the very end never appear and a space right after a break is lost.
// Outside preformatted blocks at most one empty line separates two pieces of text.
void HtmlConverter::PutChar(char c) {
    if (c == '\n') {
        Break();
        return;
    }
    if (c == '\r') return;
    if (!preformatted_ && c == ' ' && pendingBreaks_ > 0) return;
    WritePendingBreaks();
    output_.push_back(c);
}

void HtmlConverter::PutString(std::string_view s) {
    WritePendingBreaks();
    output_.append(s);
}

void HtmlConverter::WritePendingBreaks() {
    if (pendingBreaks_ == 0) return;
    std::uint64_t count =
        preformatted_ ? pendingBreaks_ : std::min<std::uint64_t>(pendingBreaks_, 2);
    pendingBreaks_ = 0;
    for (; count > 0; --count) {
        output_.append("\r\n");
        // Many empty lines of a preformatted block must not pile up unsent.
        if (sink_ && output_.size() >= kOutputBlock) FlushOutput();
    }
}

// Inside a tag that began "<S" but is not "<SCRI": in a script the script
// goes on; elsewhere the tag is skipped.
void HtmlConverter::LeaveScriptTag(char c) {
    if (script_) {
        state_ = State::Script;
    } else {
        state_ = c == '>' ? State::AfterBlank : State::SkipTagThenBlanks;
    }
}

void HtmlConverter::MatchLetter(char c, char byte, char letter, State next) {
    if (c == letter) {
        AppendToken(byte);
        state_ = next;
    } else {
        FlushToken(byte);
        state_ = TextState();
    }
}

// The last letter of a name decodes it; a ";" right after it belongs to the
// reference and is dropped.
void HtmlConverter::DecodeCharIf(char c, char byte, char letter, char decoded) {
    if (c == letter) {
        PutChar(decoded);
        semicolonPending_ = true;
    } else {
        FlushToken(byte);
    }
    state_ = TextState();
}

// Written whole, not through PutChar: the non-breaking space must survive at the
// start of a line.
void HtmlConverter::DecodeStringIf(char c, char byte, char letter, std::string_view decoded) {
    if (c == letter) {
        PutString(decoded);
        semicolonPending_ = true;
    } else {
        FlushToken(byte);
    }
    state_ = TextState();
}

// The pending markup keeps a partly matched tag or reference so that it can be
// written back as text when the match fails; past 64 characters it is cut.
void HtmlConverter::BeginToken(char byte) {
    markup_[0] = byte;
    markupLength_ = 1;
}

void HtmlConverter::AppendToken(char byte) {
    if (markupLength_ < kMarkupCapacity) markup_[markupLength_++] = byte;
}

void HtmlConverter::FlushToken(char byte) {
    AppendToken(byte);
    PutString(std::string_view(markup_, markupLength_));
    markupLength_ = 0;
}

void HtmlConverter::Step(char byte) {
    const char c = Upper(byte);
    const bool afterNamedReference = std::exchange(semicolonPending_, false);

    switch (state_) {
        // Before the body nothing is written.
        case State::SeekBodyLt:
            if (c == '<') state_ = State::SeekBodyB;
            return;
        case State::SeekBodyB:
            state_ = c == 'B' ? State::SeekBodyO : State::SeekBodyLt;
            return;
        case State::SeekBodyO:
            state_ = c == 'O' ? State::SeekBodyD : State::SeekBodyLt;
            return;
        case State::SeekBodyD:
            state_ = c == 'D' ? State::SeekBodyY : State::SeekBodyLt;
            return;
        case State::SeekBodyY:
            state_ = c == 'Y' ? State::BodyTagRest : State::SeekBodyLt;
            return;
        case State::BodyTagRest:
            if (c == '>') state_ = State::AfterBlank;
            return;

        // Text outside preformatted blocks: each run of blanks becomes one space.
        case State::AfterBlank:
            if (IsBlank(c)) return;
            if (c == '<') {
                state_ = State::TagStart;
            } else if (c == '&') {
                BeginToken(byte);
                state_ = State::Ref;
            } else {
                PutChar(byte);
                state_ = State::Text;
            }
            return;
        case State::Text:
            if (c == '<') {
                state_ = State::TagStart;
            } else if (c == '&') {
                BeginToken(byte);
                state_ = State::Ref;
            } else if (c == ';' && afterNamedReference) {
                // The semicolon that ends a decoded name is dropped.
            } else if (IsBlank(c)) {
                PutChar(' ');
                state_ = State::AfterBlank;
            } else {
                PutChar(byte);
            }
            return;

        // Tags outside preformatted blocks.
        case State::TagStart:
            switch (c) {
                case 'B':
                    state_ = State::TagB;
                    return;
                case 'P':
                    state_ = State::TagP;
                    return;
                case 'H':
                    state_ = State::TagH;
                    return;
                case '!':
                    state_ = State::TagBang;
                    return;
                case 'T':
                    state_ = State::TagT;
                    return;
                case 'S':
                    state_ = State::TagS;
                    return;
                case 'U':
                case 'O':
                    state_ = State::TagUO;
                    return;
                case 'L':
                    state_ = State::TagL;
                    return;
                case 'D':
                    state_ = State::TagD;
                    return;
                case '/':
                    state_ = State::EndTag;
                    return;
                case '>':
                    state_ = State::AfterBlank;
                    return;
                default:
                    state_ = State::SkipTag;
                    return;
            }
        case State::SkipTag:
            if (c == '>') state_ = State::Text;
            return;
        case State::SkipTagThenBlanks:
            if (c == '>') state_ = State::AfterBlank;
            return;
        case State::EndTag:
            if (c == 'B') {
                state_ = State::EndTagB;
            } else if (c == 'H') {
                state_ = State::TagH;
            } else {
                state_ = c == '>' ? State::Text : State::SkipTag;
            }
            return;
        case State::EndTagB:
            state_ = c == '>' ? State::Text : State::SkipTag;
            return;
        case State::TagT:
            if (c == 'D' || c == 'H') {
                Break();
                state_ = State::SkipTagThenBlanks;
            } else {
                state_ = c == '>' ? State::Text : State::SkipTag;
            }
            return;
        case State::TagUO:
            if (c == 'L') Break();
            state_ = c == '>' ? State::AfterBlank : State::SkipTagThenBlanks;
            return;
        case State::TagL:
            if (c == 'I' || c == 'H') Break();
            state_ = c == '>' ? State::AfterBlank : State::SkipTagThenBlanks;
            return;
        case State::TagD:
            if (c == 'D') {
                Break();
                PutChar('\t');
                state_ = State::SkipTagThenBlanks;
            } else if (c == 'I') {
                state_ = State::TagDI;
            } else {
                state_ = c == '>' ? State::AfterBlank : State::SkipTagThenBlanks;
            }
            return;
        case State::TagDI:
            if (c == 'V') Break();
            state_ = c == '>' ? State::AfterBlank : State::SkipTagThenBlanks;
            return;

        // Scripts: from a tag beginning "<SCRI" up to and including the next tag
        // beginning "</SCRI", nothing is written.
        case State::TagS:
            if (c == 'C') {
                state_ = State::TagSC;
            } else {
                LeaveScriptTag(c);
            }
            return;
        case State::TagSC:
            if (c == 'R') {
                state_ = State::TagSCR;
            } else {
                LeaveScriptTag(c);
            }
            return;
        case State::TagSCR:
            if (c == 'I') {
                script_ = !script_;
                state_ = script_ ? State::Script : State::SkipTagThenBlanks;
            } else {
                LeaveScriptTag(c);
            }
            return;
        case State::Script:
            if (c == '<') state_ = State::ScriptLt;
            return;
        case State::ScriptLt:
            state_ = c == '/' ? State::ScriptEndTag : State::Script;
            return;
        case State::ScriptEndTag:
            state_ = c == 'S' ? State::TagS : State::Script;
            return;

        // Preformatted blocks: every byte of text is written as it is. A partly
        // matched tag is kept so that some near misses come back as text.
        case State::PreText:
            if (c == '<') {
                BeginToken(byte);
                state_ = State::PreTagStart;
            } else if (c == '&') {
                BeginToken(byte);
                state_ = State::Ref;
            } else if (c == ';' && afterNamedReference) {
                // The semicolon that ends a decoded name is dropped.
            } else {
                PutChar(byte);
            }
            return;
        case State::PreSkipTag:
            if (c == '>') state_ = State::PreText;
            return;
        case State::PreTagStart:
            switch (c) {
                case 'B':
                    AppendToken(byte);
                    state_ = State::TagB;
                    return;
                case 'P':
                    AppendToken(byte);
                    state_ = State::TagP;
                    return;
                case 'H':
                    AppendToken(byte);
                    state_ = State::TagH;
                    return;
                case '!':
                    AppendToken(byte);
                    state_ = State::TagBang;
                    return;
                case '/':
                    AppendToken(byte);
                    state_ = State::PreEndTag;
                    return;
                case '>':
                    state_ = State::PreText;
                    return;
                default:
                    state_ = State::PreSkipTag;
                    return;
            }
        case State::PreEndTag:
            switch (c) {
                case 'P':
                    AppendToken(byte);
                    state_ = State::PreEndTagP;
                    return;
                case 'B':
                    AppendToken(byte);
                    state_ = State::PreEndTagB;
                    return;
                case 'H':
                    AppendToken(byte);
                    state_ = State::TagH;
                    return;
                case '>':
                    state_ = State::PreText;
                    return;
                default:
                    state_ = State::PreSkipTag;
                    return;
            }
        case State::PreEndTagP:
            if (c == 'R') {
                AppendToken(byte);
                state_ = State::PreEndTagPR;
            } else {
                if (c != '>') FlushToken(byte);
                state_ = State::PreText;
            }
            return;
        case State::PreEndTagPR:
            if (c == 'E') {
                preformatted_ = false;
                state_ = State::SkipTagThenBlanks;
            } else {
                FlushToken(byte);
                state_ = State::PreText;
            }
            return;
        case State::PreEndTagB:
            state_ = c == '>' ? State::PreText : State::PreSkipTag;
            return;

        // Tags met in both modes. Outside preformatted blocks nothing was
        // collected, so there is nothing to write back.
        case State::TagB:
            if (c == 'R') {
                Break();
                state_ = SkipState();
            } else if (c == '>') {
                state_ = TextState();
            } else if (preformatted_) {
                FlushToken(byte);
                state_ = State::PreText;
            } else {
                state_ = State::SkipTag;
            }
            return;
        case State::TagP:
            if (c == '>' || c == ' ') {
                Break();
                Break();
                state_ = c == ' '        ? SkipState()
                         : preformatted_ ? State::PreText
                                         : State::AfterBlank;
            } else if (c == 'R') {
                if (preformatted_) AppendToken(byte);
                state_ = State::TagPR;
            } else if (preformatted_) {
                FlushToken(byte);
                state_ = State::PreText;
            } else {
                state_ = State::SkipTag;
            }
            return;
        case State::TagPR:
            if (c == 'E') {
                if (preformatted_) AppendToken(byte);
                state_ = State::TagPRE;
            } else if (preformatted_) {
                FlushToken(byte);
                state_ = State::PreText;
            } else {
                state_ = c == '>' ? State::Text : State::SkipTag;
            }
            return;
        case State::TagPRE:
            if (c == '>') {
                preformatted_ = true;
                state_ = State::PreText;
            } else if (preformatted_) {
                FlushToken(byte);
                state_ = State::PreText;
            } else {
                state_ = State::SkipTag;
            }
            return;
        case State::TagH:
            if (c >= '1' && c <= '6') {
                Break();
                Break();
                state_ = SkipState();
            } else if (c == '>') {
                state_ = TextState();
            } else {
                state_ = preformatted_ ? State::PreSkipTag : State::SkipTag;
            }
            return;
        case State::TagBang:
            if (c == '-') {
                state_ = State::Comment;
            } else if (c == '>' && preformatted_) {
                FlushToken(byte);
                state_ = State::PreText;
            } else if (c == '>') {
                state_ = State::Text;
            } else {
                // "<!" and this byte are dropped; the rest of a declaration is text.
                state_ = TextState();
            }
            return;
        case State::Comment:
            if (c == '-') state_ = State::CommentDash;
            return;
        case State::CommentDash:
            if (c == '>') {
                state_ = TextState();
            } else if (c != '-') {
                state_ = State::Comment;
            }
            return;

        // Character references. A name is decoded as soon as its last letter
        // arrives; whatever fails to match is written back as it was.
        case State::Ref:
            switch (c) {
                case 'A':
                    AppendToken(byte);
                    state_ = State::RefA;
                    return;
                case 'L':
                    AppendToken(byte);
                    state_ = State::RefL;
                    return;
                case 'G':
                    AppendToken(byte);
                    state_ = State::RefG;
                    return;
                case 'R':
                    AppendToken(byte);
                    state_ = State::RefR;
                    return;
                case 'C':
                    AppendToken(byte);
                    state_ = State::RefC;
                    return;
                case 'Q':
                    AppendToken(byte);
                    state_ = State::RefQ;
                    return;
                case 'N':
                    AppendToken(byte);
                    state_ = State::RefN;
                    return;
                case '#':
                    AppendToken(byte);
                    state_ = State::RefNumber;
                    return;
                case '&':
                    PutChar('&');
                    return;  // the earlier "&" was plain text
                default:
                    FlushToken(byte);
                    state_ = TextState();
                    return;
            }
        case State::RefA:
            MatchLetter(c, byte, 'M', State::RefAM);
            return;
        case State::RefAM:
            DecodeCharIf(c, byte, 'P', '&');
            return;
        case State::RefL:
        case State::RefG: {
            const bool less = state_ == State::RefL;
            if (c == 'E') {
                DecodeStringIf(c, byte, 'E', less ? "<=" : ">=");
            } else {
                DecodeCharIf(c, byte, 'T', less ? '<' : '>');
            }
            return;
        }
        case State::RefR:
            MatchLetter(c, byte, 'E', State::RefRE);
            return;
        case State::RefRE:
            DecodeCharIf(c, byte, 'G', kRegistered);
            return;
        case State::RefC:
            MatchLetter(c, byte, 'O', State::RefCO);
            return;
        case State::RefCO:
            MatchLetter(c, byte, 'P', State::RefCOP);
            return;
        case State::RefCOP:
            DecodeCharIf(c, byte, 'Y', kCopyright);
            return;
        case State::RefQ:
            MatchLetter(c, byte, 'U', State::RefQU);
            return;
        case State::RefQU:
            MatchLetter(c, byte, 'O', State::RefQUO);
            return;
        case State::RefQUO:
            DecodeCharIf(c, byte, 'T', '"');
            return;
        case State::RefN:
            MatchLetter(c, byte, 'B', State::RefNB);
            return;
        case State::RefNB:
            MatchLetter(c, byte, 'S', State::RefNBS);
            return;
        case State::RefNBS:
            DecodeStringIf(c, byte, 'P', " ");
            return;
        case State::RefNumber:
            if (c >= '0' && c <= '9') {
                numericValue_ = numericValue_ * 10u + static_cast<std::uint32_t>(c - '0');
                AppendToken(byte);
                return;
            }
            if (c == ';' && static_cast<std::int32_t>(numericValue_) > 0) {
                // Taken as a code-page byte: only the low 8 bits count.
                PutChar(static_cast<char>(numericValue_ & 0xFFu));
            } else {
                FlushToken(byte);
            }
            numericValue_ = 0;
            state_ = TextState();
            return;
    }
}

std::string ConvertHtmlToText(std::string_view html) {
    std::string text;
    text.reserve(html.size());
    HtmlConverter converter(text);
    converter.Feed(html);
    converter.Finish();
    return text;
}
