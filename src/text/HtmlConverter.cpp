#include "text/HtmlConverter.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <utility>

namespace {

// Text is handed to the sink in pieces of about this many characters.
constexpr std::size_t kOutputBlock = 64 * 1024;

struct Entity {
    std::string_view name;  // without the ";"
    bool legacy;            // also recognised without the ";"
    char32_t first;
    char32_t second;  // 0 when the name stands for one character
};

constexpr Entity kEntities[] = {
#include "text/HtmlEntities.inc"
};
static_assert(std::ranges::is_sorted(kEntities, {}, &Entity::name));

constexpr std::size_t kLongestEntityName =
    std::ranges::max(kEntities, {}, [](const Entity& e) { return e.name.size(); }).name.size();
constexpr std::size_t kLongestLegacyName = [] {
    std::size_t longest = 0;
    for (const Entity& e : kEntities)
        if (e.legacy) longest = std::max(longest, e.name.size());
    return longest;
}();

const Entity* FindEntity(std::string_view name) {
    const auto* it = std::ranges::lower_bound(kEntities, name, {}, &Entity::name);
    return it != std::end(kEntities) && it->name == name ? it : nullptr;
}

// The names old pages were read with, in any letter case.
constexpr std::array<std::pair<std::string_view, char32_t>, 7> kOldNames = {{
    {"AMP", U'&'},
    {"LT", U'<'},
    {"GT", U'>'},
    {"REG", U'\u00AE'},
    {"COPY", U'\u00A9'},
    {"QUOT", U'"'},
    {"NBSP", U'\u00A0'},
}};

// Whether letters are the start, but not the whole, of one of the old names.
// The character after such a start is written back with it as it stands, as
// it has always been.
bool StartsAnOldName(std::string_view upper) {
    for (const auto& [name, value] : kOldNames)
        if (name.size() > upper.size() && name.starts_with(upper)) return true;
    return false;
}

// What windows-1252 has at 0x80-0x9F; the five holes stay as they are.
constexpr char32_t kC1AsWindows1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t NumericReferenceCharacter(std::uint32_t value) {
    if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return U'\uFFFD';
    if (value >= 0x80 && value <= 0x9F) return kC1AsWindows1252[value - 0x80];
    return value;
}

bool IsBlank(char32_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }
bool IsAsciiAlphanumeric(char32_t c) {
    return IsDigit(c) || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
int HexDigit(char32_t c) {
    if (IsDigit(c)) return static_cast<int>(c - '0');
    if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
    return -1;  // c is upper case here
}

// Every character the text states look at is at most "<", so most characters
// are passed over with one comparison.
using LowSet = std::array<bool, '<' + 1>;
constexpr LowSet MakeSet(std::string_view members) {
    LowSet set{};
    for (const char c : members) set[static_cast<unsigned char>(c)] = true;
    return set;
}
bool In(const LowSet& set, char32_t c) { return c < set.size() && set[c]; }
constexpr LowSet kBlank = MakeSet(" \t\r\n");
// Characters that the text states do not simply copy when no break is pending.
constexpr LowSet kSpecialInText = MakeSet("<& \t\r\n");
constexpr LowSet kSpecialInPre = MakeSet("<&\r\n");

// Matching ignores the case of ASCII letters only; other letters stay as they are.
char32_t Upper(char32_t c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

}  // namespace

HtmlConverter::HtmlConverter(Sink sink) : HtmlConverter(std::move(sink), Options()) {}

HtmlConverter::HtmlConverter(std::u32string& output) : HtmlConverter(output, Options()) {}

HtmlConverter::HtmlConverter(Sink sink, Options options)
    : sink_(std::move(sink)), options_(options), output_(buffer_) {
    buffer_.reserve(kOutputBlock + kOutputBlock / 2);
}

HtmlConverter::HtmlConverter(std::u32string& output, Options options)
    : options_(options), output_(output), documentStart_(output.size()) {}

void HtmlConverter::Reset() {
    state_ = State::SeekBodyLt;
    preformatted_ = false;
    script_ = false;
    numberHasDigits_ = false;
    endTag_ = false;
    slash_ = false;
    cdataBlank_ = false;
    headingOpen_ = false;
    noteOpen_ = false;
    spaceAfterNote_ = false;
    supDepth_ = 0;
    linkAttributesLength_ = 0;
    cdataBrackets_ = 0;
    cdataMatched_ = 0;
    pendingBreaks_ = 0;
    numericValue_ = 0;
    markupLength_ = 0;
}

void HtmlConverter::Feed(std::u32string_view chunk) {
    const char32_t* p = chunk.data();
    const char32_t* const end = p + chunk.size();
    while (p != end) {
        const char32_t* next = PassOver(p, end);
        if (next == p) {
            Step(*p);
            ++p;
        } else {
            p = next;
        }
        if (sink_ && output_.size() >= kOutputBlock) FlushOutput();
    }
}

// Runs of characters whose only effect is to be copied or skipped are handled
// here in bulk, with exactly the result Step would give one by one. Returns
// where the run ends; p itself when Step must look at the character.
const char32_t* HtmlConverter::PassOver(const char32_t* p, const char32_t* end) {
    const auto find = [p, end](char32_t c) { return std::find(p, end, c); };
    // Bounded so that a long run of text does not pile up before the sink sees it.
    const char32_t* const runEnd =
        static_cast<std::size_t>(end - p) > kOutputBlock ? p + kOutputBlock : end;
    if (state_ == State::SeekBodyLt || state_ == State::Script) return find('<');
    if (state_ == State::BodyTagRest || state_ == State::SkipTag ||
        state_ == State::SkipTagThenBlanks) {
        return find('>');
    }
    if (state_ == State::Comment) return find('-');
    if (state_ == State::AfterBlank) {
        const char32_t* q = p;
        while (q != runEnd && In(kBlank, *q)) ++q;
        return q;
    }
    // A pending break, or a word that may follow a note reference, needs Step's attention.
    if ((state_ == State::Text || state_ == State::PreText) && pendingBreaks_ == 0 &&
        !spaceAfterNote_) {
        const bool pre = state_ == State::PreText;
        const LowSet& special = pre ? kSpecialInPre : kSpecialInText;
        const char32_t* q = p;
        for (;;) {
            while (q != runEnd && !In(special, *q)) ++q;
            // One space between two words is written as it is, and the text goes on.
            if (pre || runEnd - q < 2 || *q != ' ' || In(special, q[1])) break;
            q += 2;
        }
        output_.append(p, static_cast<std::size_t>(q - p));
        return q;
    }
    return p;
}

void HtmlConverter::Finish() {
    // Letters of a name at the very end still make a reference.
    if (state_ == State::RefName) EndName(nullptr);
    CloseNote();
    if (options_.xhtml && !preformatted_) DropTrailingBlanks();
    CloseHeading();
    // Blanks still held back (a preformatted block left open keeps them) are
    // text now: nothing more can follow to drop them.
    FlushOutput(true);
    Reset();
    documentStart_ = Position();
}

void HtmlConverter::FlushOutput(bool all) {
    if (!sink_ || output_.empty()) return;
    // In XHTML blanks at the end may still be dropped in front of a break, so
    // they wait for what follows.
    std::size_t keep = 0;
    if (options_.xhtml && !all) {
        while (keep < output_.size() && output_[output_.size() - 1 - keep] == ' ') ++keep;
        // A short note reference waits whole, to be bracketed as a string would have it.
        if (noteOpen_ && Position() - noteMarkAt_ <= kHeldNoteLength)
            keep = std::max(keep, Position() - noteMarkAt_);
    }
    const std::size_t count = output_.size() - keep;
    if (count == 0) return;
    sink_(std::u32string_view(output_).substr(0, count));
    flushed_ += count;
    output_.erase(0, count);
}

// Headings that ended or began among the blanks now end or begin where they were.
void HtmlConverter::DropTrailingBlanks() {
    while (!output_.empty() && output_.back() == ' ' && Position() > documentStart_)
        output_.pop_back();
    const std::size_t end = Position();
    if (headingOpen_) headingStart_ = std::min(headingStart_, end);
    if (options_.headings == nullptr) return;
    for (auto it = options_.headings->rbegin(); it != options_.headings->rend() && it->end > end;
         ++it) {
        it->end = end;
        it->start = std::min(it->start, end);
    }
}

void HtmlConverter::OpenHeading(int level) {
    CloseHeading();
    headingOpen_ = true;
    headingStart_ = Position();
    headingLevel_ = level;
}

void HtmlConverter::CloseHeading() {
    if (!headingOpen_) return;
    headingOpen_ = false;
    if (options_.headings != nullptr)
        options_.headings->push_back({headingStart_, Position(), headingLevel_});
}

// A link is taken for a note reference by its attributes: "noteref" (EPUB's
// epub:type, the role doc-noteref) or "note-ref" (the class pandoc gives
// EPUB 2's "footnote-ref"), or inside "<sup>" a target in this document
// ("#..."). The way back from a note is none.
bool HtmlConverter::IsNoteLink() const {
    const std::u32string_view attributes(linkAttributes_, linkAttributesLength_);
    if (attributes.find(U"BACKLINK") != std::u32string_view::npos) return false;
    if (attributes.find(U"NOTEREF") != std::u32string_view::npos ||
        attributes.find(U"NOTE-REF") != std::u32string_view::npos) {
        return true;
    }
    if (supDepth_ == 0) return false;
    for (std::size_t at = attributes.find(U"HREF"); at != std::u32string_view::npos;
         at = attributes.find(U"HREF", at + 1)) {
        std::size_t i = at + 4;
        while (i < attributes.size() && IsBlank(attributes[i])) ++i;
        if (i == attributes.size() || attributes[i] != '=') continue;
        ++i;
        while (i < attributes.size() && IsBlank(attributes[i])) ++i;
        if (i < attributes.size() && (attributes[i] == '"' || attributes[i] == '\'')) ++i;
        return i < attributes.size() && attributes[i] == '#';
    }
    return false;
}

// The reference starts a line, or stands one space after the word before it.
void HtmlConverter::OpenNote() {
    CloseNote();
    const bool lineStart = pendingBreaks_ > 0 || Position() == documentStart_;
    WritePendingBreaks();
    noteMarkAt_ = Position();
    // XHTML holds back blanks at the end of what it hands on, so a flushed
    // text ends in none.
    if (!lineStart && (output_.empty() || output_.back() != ' ')) output_.push_back(' ');
    output_.push_back('[');
    noteOpen_ = true;
    noteStart_ = Position();
}

// Brackets the link's text, once: "[1]" as a link's text keeps its own. A
// link without text leaves nothing. A text too long to be held back (no
// reference is) is only closed, so that a sink gets what a string would.
void HtmlConverter::CloseNote() {
    if (!noteOpen_) return;
    noteOpen_ = false;
    while (!output_.empty() && output_.back() == ' ' && Position() > noteStart_) output_.pop_back();
    if (Position() - noteMarkAt_ <= kHeldNoteLength && noteMarkAt_ >= flushed_) {
        const std::size_t start = noteStart_ - flushed_;
        while (start < output_.size() && output_[start] == ' ') output_.erase(start, 1);
        if (start == output_.size()) {
            output_.resize(noteMarkAt_ - flushed_);
            return;
        }
        if (start > 0 && output_[start] == '[' && output_.back() == ']') {
            output_.erase(start - 1, 1);
            spaceAfterNote_ = true;
            return;
        }
    }
    output_.push_back(']');
    spaceAfterNote_ = true;
}

// A character of a CDATA section: markup means nothing there, but blanks
// collapse as they do in the text around it.
void HtmlConverter::PutCDataChar(char32_t ch) {
    if (preformatted_ || !IsBlank(ch)) {
        cdataBlank_ = false;
        PutChar(ch);
    } else if (!cdataBlank_) {
        cdataBlank_ = true;
        PutChar(' ');
    }
}

// Line breaks are written only in front of the character that follows them, so
// breaks at the very end never appear and a space right after a break is lost.
// Outside preformatted blocks at most one empty line separates two pieces of text.
void HtmlConverter::PutChar(char32_t c) {
    if (c == '\n') {
        Break();
        return;
    }
    if (c == '\r') return;
    if (spaceAfterNote_) {
        spaceAfterNote_ = false;
        // A word, not punctuation, right after a note reference.
        const bool word = IsAsciiAlphanumeric(c) || (c >= 0xC0 && (c < 0x2000 || c > 0x206F));
        if (word && pendingBreaks_ == 0) output_.push_back(' ');
    }
    if (pendingBreaks_ > 0) {
        if (!preformatted_ && c == ' ') return;
        WritePendingBreaks();
    }
    output_.push_back(c);
}

void HtmlConverter::PutString(std::u32string_view s) {
    spaceAfterNote_ = false;
    WritePendingBreaks();
    output_.append(s);
}

void HtmlConverter::WritePendingBreaks() {
    if (pendingBreaks_ == 0) return;
    if (options_.xhtml && !preformatted_) {
        // No breaks before the first text, and no blanks left in front of a break.
        DropTrailingBlanks();
        if (Position() == documentStart_) {
            pendingBreaks_ = 0;
            return;
        }
    }
    std::uint64_t count = preformatted_    ? pendingBreaks_
                          : options_.xhtml ? 1
                                           : std::min<std::uint64_t>(pendingBreaks_, 2);
    pendingBreaks_ = 0;
    for (; count > 0; --count) {
        output_.append(U"\r\n");
        // Many empty lines of a preformatted block must not pile up unsent.
        if (sink_ && output_.size() >= kOutputBlock) FlushOutput();
    }
}

// Inside a tag that began "<S" but is not "<SCRI": in a script the script
// goes on; elsewhere the tag is skipped.
void HtmlConverter::LeaveScriptTag(char32_t c) {
    if (script_) {
        state_ = State::Script;
    } else {
        state_ = InlineTag(c);
    }
}

// After a tag that breaks no line. An HTML page has always lost the blanks
// after some of them ("<span> word"); in XHTML, whose inline tags are many,
// the blanks are kept so that words do not run together.
HtmlConverter::State HtmlConverter::InlineTag(char32_t c) const {
    if (options_.xhtml) return c == '>' ? State::Text : State::SkipTag;
    return c == '>' ? State::AfterBlank : State::SkipTagThenBlanks;
}

// The pending markup keeps a partly read tag or reference so that it can be
// written back as text when the match fails; past 64 characters it is cut.
void HtmlConverter::BeginToken(char32_t ch) {
    markup_[0] = ch;
    markupLength_ = 1;
}

void HtmlConverter::AppendToken(char32_t ch) {
    if (markupLength_ < kMarkupCapacity) markup_[markupLength_++] = ch;
}

void HtmlConverter::FlushToken(char32_t ch) {
    AppendToken(ch);
    PutString(std::u32string_view(markup_, markupLength_));
    markupLength_ = 0;
}

// The markup holds "&" and the letters and digits of the name. Characters
// written for a reference go through PutChar, so "&NewLine;" breaks the line.
void HtmlConverter::EndName(const char32_t* next) {
    const std::u32string_view letters(markup_ + 1, markupLength_ - 1);
    std::array<char, kLongestEntityName + 1> ascii{};
    std::array<char, kLongestEntityName + 1> upper{};
    for (std::size_t i = 0; i < letters.size(); ++i) {
        ascii[i] = static_cast<char>(letters[i]);
        upper[i] = static_cast<char>(Upper(letters[i]));
    }
    const std::string_view name(ascii.data(), letters.size());
    const std::string_view upperName(upper.data(), letters.size());
    markupLength_ = 0;
    state_ = TextState();
    const auto put = [this](char32_t first, char32_t second) {
        if (first == U'\u00A0') {
            // A named non-breaking space has always been a plain space, so that
            // reading still splits words there; written whole, not through
            // PutChar, it survives at the start of a line.
            PutString(U" ");
            return;
        }
        PutChar(first);
        if (second != 0) PutChar(second);
    };

    if (next != nullptr && *next == ';') {
        if (const Entity* entity = FindEntity(name)) {
            put(entity->first, entity->second);  // the ";" belongs to the reference
            return;
        }
    }
    // The longest legacy name, or old name in any case, that begins the letters.
    for (std::size_t length = std::min(name.size(), kLongestLegacyName); length > 0; --length) {
        char32_t first = 0;
        char32_t second = 0;
        const Entity* entity = FindEntity(name.substr(0, length));
        if (entity != nullptr && entity->legacy) {
            first = entity->first;
            second = entity->second;
        } else {
            for (const auto& [oldName, value] : kOldNames)
                if (oldName == upperName.substr(0, length)) first = value;
        }
        if (first == 0) continue;
        put(first, second);
        if (length == name.size() && next != nullptr && *next == ';') return;
        PutString(letters.substr(length));
        if (next != nullptr) Step(*next);
        return;
    }
    // Nothing matched: the letters are text. Part of an old name at the very
    // end of the document is dropped as a half-read reference.
    if (StartsAnOldName(upperName)) {
        if (next == nullptr) return;
        PutString(std::u32string_view(markup_, letters.size() + 1));
        PutString(std::u32string_view(next, 1));
        return;
    }
    PutString(std::u32string_view(markup_, letters.size() + 1));
    if (next != nullptr) Step(*next);
}

void HtmlConverter::EndNumber(char32_t ch) {
    if (ch == ';' && numberHasDigits_) {
        PutChar(NumericReferenceCharacter(numericValue_));
    } else {
        FlushToken(ch);
    }
    numericValue_ = 0;
    numberHasDigits_ = false;
    state_ = TextState();
}

// Every state belongs to one phase; the compiler checks that none is left out.
constexpr HtmlConverter::Phase HtmlConverter::PhaseOf(State state) {
    switch (state) {
        case State::SeekBodyLt:
        case State::SeekBodyB:
        case State::SeekBodyO:
        case State::SeekBodyD:
        case State::SeekBodyY:
        case State::BodyTagRest: return Phase::BeforeBody;
        case State::AfterBlank:
        case State::Text:
        case State::PreText:
        case State::SkipTag:
        case State::SkipTagThenBlanks: return Phase::Text;
        case State::TagStart:
        case State::EndTag: return Phase::TagStart;
        case State::PreEndTagP:
        case State::PreEndTagPR:
        case State::TagB:
        case State::TagP:
        case State::TagPR:
        case State::TagPRE:
        case State::TagH: return Phase::TagName;
        case State::TagT:
        case State::TagUO:
        case State::TagL:
        case State::TagD:
        case State::TagDI: return Phase::LayoutTag;
        case State::TagS:
        case State::TagSC:
        case State::TagSCR:
        case State::Script:
        case State::ScriptLt:
        case State::ScriptEndTag:
        case State::ScriptOpenTag: return Phase::Script;
        case State::TagBang:
        case State::Comment:
        case State::CommentDash:
        case State::CDataOpen:
        case State::CData: return Phase::Declaration;
        case State::Ref:
        case State::RefName:
        case State::RefNumber:
        case State::RefHex: return Phase::Reference;
        case State::TagA:
        case State::LinkTag:
        case State::TagSU:
        case State::TagSUP:
        case State::EndTagA:
        case State::EndTagS:
        case State::EndTagSU:
        case State::EndTagSUP:
        case State::EndTagD: return Phase::XhtmlTag;
    }
    return Phase::BeforeBody;  // a number that is no state
}

void HtmlConverter::Step(char32_t ch) {
    // Looked up by number: a switch on the sparse state numbers would be a
    // chain of comparisons for every character.
    static constexpr auto kPhaseOfNumber = [] {
        std::array<Phase, kStateNumberLimit> phases{};
        for (std::size_t n = 0; n < phases.size(); ++n) phases[n] = PhaseOf(static_cast<State>(n));
        return phases;
    }();
    const char32_t c = Upper(ch);
    switch (kPhaseOfNumber[static_cast<std::size_t>(state_)]) {
        case Phase::BeforeBody: SeekBody(c); return;
        case Phase::Text: StepText(ch, c); return;
        case Phase::TagStart: StepTagStart(ch, c); return;
        case Phase::TagName: StepTagName(ch, c); return;
        case Phase::LayoutTag: StepLayoutTag(c); return;
        case Phase::Script: StepScript(c); return;
        case Phase::Declaration: StepDeclaration(ch, c); return;
        case Phase::Reference: StepReference(ch, c); return;
        case Phase::XhtmlTag: StepXhtmlTag(c); return;
    }
}

// Before the body nothing is written.
void HtmlConverter::SeekBody(char32_t c) {
    switch (state_) {
        case State::SeekBodyLt:
            if (c == '<') state_ = State::SeekBodyB;
            return;
        case State::SeekBodyB: state_ = c == 'B' ? State::SeekBodyO : State::SeekBodyLt; return;
        case State::SeekBodyO: state_ = c == 'O' ? State::SeekBodyD : State::SeekBodyLt; return;
        case State::SeekBodyD: state_ = c == 'D' ? State::SeekBodyY : State::SeekBodyLt; return;
        case State::SeekBodyY: state_ = c == 'Y' ? State::BodyTagRest : State::SeekBodyLt; return;
        case State::BodyTagRest:
            if (c == '>') state_ = State::AfterBlank;
            return;
        default: return;
    }
}

// Outside preformatted blocks each run of blanks becomes one space. In them
// every character of text is written as it is, and the "<" of a tag is kept so
// that some near misses come back as text.
void HtmlConverter::StepText(char32_t ch, char32_t c) {
    switch (state_) {
        case State::AfterBlank:
            if (IsBlank(c)) return;
            state_ = State::Text;
            [[fallthrough]];
        case State::Text:
            if (c == '<') {
                state_ = State::TagStart;
            } else if (c == '&') {
                BeginToken(ch);
                state_ = State::Ref;
            } else if (IsBlank(c)) {
                PutChar(' ');
                state_ = State::AfterBlank;
            } else {
                PutChar(ch);
            }
            return;
        case State::PreText:
            if (c == '<' || c == '&') {
                BeginToken(ch);
                state_ = c == '<' ? State::TagStart : State::Ref;
            } else {
                PutChar(ch);
            }
            return;
        case State::SkipTag:
            if (c == '>') state_ = TextState();
            return;
        case State::SkipTagThenBlanks:
            if (c == '>') state_ = State::AfterBlank;
            return;
        default: return;
    }
}

// The tag name goes on as one of those acted on. In a preformatted block its
// characters are kept, to be written back if it turns out to be another.
void HtmlConverter::ReadTagName(char32_t ch, State next) {
    if (preformatted_) AppendToken(ch);
    state_ = next;
}

// Tables, lists and scripts are looked for only outside preformatted blocks,
// where no characters of a tag are kept.
void HtmlConverter::ReadTagNameOutsidePre(State next) {
    state_ = preformatted_ ? State::SkipTag : next;
}

// A tag name that begins as one acted on but is another: a preformatted block
// gets back what was read of it as text; elsewhere the tag is skipped.
void HtmlConverter::UnknownTag(char32_t ch, char32_t c) {
    if (preformatted_) {
        FlushToken(ch);
        state_ = State::PreText;
    } else {
        SkipRestOfTag(c);
    }
}

// A tag that is not acted on: what is left of it, up to ">", is skipped.
void HtmlConverter::SkipRestOfTag(char32_t c) { state_ = c == '>' ? TextState() : State::SkipTag; }

// A tag that breaks the line (twice for a paragraph or a heading): the rest of
// it is skipped and, outside preformatted blocks, so are the blanks after it.
void HtmlConverter::BreakingTag(int breaks) {
    pendingBreaks_ += static_cast<std::uint64_t>(breaks);
    state_ = SkipState();
}

// The first character of a tag's name, after "<" or "</", in both modes.
void HtmlConverter::StepTagStart(char32_t ch, char32_t c) {
    switch (state_) {
        case State::TagStart:
            endTag_ = false;
            switch (c) {
                case 'B': ReadTagName(ch, State::TagB); return;
                case 'P': ReadTagName(ch, State::TagP); return;
                case 'H': ReadTagName(ch, State::TagH); return;
                case '!': ReadTagName(ch, State::TagBang); return;
                case '/': ReadTagName(ch, State::EndTag); return;
                case '>': state_ = TextStateDroppingBlanks(); return;
                case 'T': ReadTagNameOutsidePre(State::TagT); return;
                case 'S': ReadTagNameOutsidePre(State::TagS); return;
                case 'U':
                case 'O': ReadTagNameOutsidePre(State::TagUO); return;
                case 'L': ReadTagNameOutsidePre(State::TagL); return;
                case 'D': ReadTagNameOutsidePre(State::TagD); return;
                case 'A':
                    state_ = options_.xhtml && !preformatted_ ? State::TagA : State::SkipTag;
                    return;
                default: state_ = State::SkipTag; return;
            }
        case State::EndTag:
            endTag_ = true;
            if (c == 'H') {
                ReadTagName(ch, State::TagH);
            } else if (c == 'P' && preformatted_) {
                ReadTagName(ch, State::PreEndTagP);
            } else if (options_.xhtml && !preformatted_ && (c == 'A' || c == 'S' || c == 'D')) {
                state_ = c == 'A' ? State::EndTagA : c == 'S' ? State::EndTagS : State::EndTagD;
            } else {
                SkipRestOfTag(c);
            }
            return;
        default: return;
    }
}

// The rest of the names of the tags that act in both modes, and of "</PRE",
// which ends a preformatted block. Outside preformatted blocks no characters
// are kept, so there is nothing to write back.
void HtmlConverter::StepTagName(char32_t ch, char32_t c) {
    switch (state_) {
        case State::PreEndTagP:
            if (c == 'R') {
                ReadTagName(ch, State::PreEndTagPR);
            } else if (c == '>') {
                state_ = State::PreText;
            } else {
                UnknownTag(ch, c);
            }
            return;
        case State::PreEndTagPR:
            if (c == 'E') {
                preformatted_ = false;
                state_ = State::SkipTagThenBlanks;
            } else {
                UnknownTag(ch, c);
            }
            return;
        case State::TagB:
            if (c == 'R') {
                BreakingTag(1);
            } else if (c == '>') {
                state_ = TextState();
            } else {
                UnknownTag(ch, c);
            }
            return;
        case State::TagP:
            if (c == '>' || c == ' ' || (options_.xhtml && (c == '/' || IsBlank(c)))) {
                BreakingTag(2);
                // "<P>" has no rest to skip.
                if (c == '>') state_ = TextStateDroppingBlanks();
            } else if (c == 'R') {
                ReadTagName(ch, State::TagPR);
            } else {
                UnknownTag(ch, c);
            }
            return;
        case State::TagPR:
            if (c == 'E') {
                ReadTagName(ch, State::TagPRE);
            } else {
                UnknownTag(ch, c);
            }
            return;
        case State::TagPRE:
            if (c == '>') {
                preformatted_ = true;
                state_ = State::PreText;
            } else {
                UnknownTag(ch, c);
            }
            return;
        case State::TagH:
            if (c >= '1' && c <= '6') {
                if (endTag_) {
                    CloseHeading();
                } else {
                    OpenHeading(static_cast<int>(c - '0'));
                }
                BreakingTag(2);
            } else {
                SkipRestOfTag(c);
            }
            return;
        default: return;
    }
}

// Tags outside preformatted blocks that break the line, begin a definition or
// are inline.
void HtmlConverter::StepLayoutTag(char32_t c) {
    switch (state_) {
        case State::TagT:
            if (c == 'D' || c == 'H') {
                BreakingTag(1);
            } else {
                SkipRestOfTag(c);
            }
            return;
        case State::TagUO:
            if (c == 'L') {
                BreakingTag(1);
            } else {
                state_ = InlineTag(c);
            }
            return;
        case State::TagL:
            if (c == 'I' || c == 'H') {
                BreakingTag(1);
            } else {
                state_ = InlineTag(c);
            }
            return;
        case State::TagD:
            if (c == 'D') {
                BreakingTag(1);
                // An e-book's definition is a block of its own, not an indented line.
                if (!options_.xhtml) PutChar('\t');
            } else if (c == 'I') {
                state_ = State::TagDI;
            } else if (c == 'L' || c == 'T') {
                if (options_.xhtml) {
                    BreakingTag(1);
                } else {
                    state_ = State::SkipTagThenBlanks;
                }
            } else {
                state_ = InlineTag(c);
            }
            return;
        case State::TagDI:
            if (c == 'V') {
                BreakingTag(1);
            } else {
                state_ = InlineTag(c);
            }
            return;
        default: return;
    }
}

// Scripts: from a tag beginning "<SCRI" up to and including the next tag
// beginning "</SCRI", nothing is written.
void HtmlConverter::StepScript(char32_t c) {
    switch (state_) {
        case State::TagS:
            if (c == 'C') {
                state_ = State::TagSC;
            } else if (c == 'U' && options_.xhtml && !script_) {
                state_ = State::TagSU;
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
                slash_ = false;
                state_ = !script_         ? State::SkipTagThenBlanks
                         : options_.xhtml ? State::ScriptOpenTag
                                          : State::Script;
            } else {
                LeaveScriptTag(c);
            }
            return;
        case State::Script:
            if (c == '<') state_ = State::ScriptLt;
            return;
        case State::ScriptLt: state_ = c == '/' ? State::ScriptEndTag : State::Script; return;
        case State::ScriptEndTag: state_ = c == 'S' ? State::TagS : State::Script; return;
        // XHTML: the rest of a script's opening tag; "/>" closes the script at once.
        case State::ScriptOpenTag:
            if (c == '>') {
                if (slash_) script_ = false;
                state_ = script_ ? State::Script : State::AfterBlank;
            } else {
                slash_ = c == '/';
            }
            return;
        default: return;
    }
}

// "<!": comments, and in XHTML "<![CDATA[" and the section's characters up to
// "]]>".
void HtmlConverter::StepDeclaration(char32_t ch, char32_t c) {
    switch (state_) {
        case State::TagBang:
            if (c == '[' && options_.xhtml) {
                markupLength_ = 0;
                cdataMatched_ = 0;
                state_ = State::CDataOpen;
            } else if (c == '-') {
                state_ = State::Comment;
            } else if (c == '>' && preformatted_) {
                FlushToken(ch);
                state_ = State::PreText;
            } else if (c == '>') {
                state_ = State::Text;
            } else {
                // "<!" and this character are dropped; the rest of a declaration is text.
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
        case State::CDataOpen: {
            static constexpr std::u32string_view kOpening = U"CDATA[";
            if (ch == kOpening[cdataMatched_]) {
                if (++cdataMatched_ == kOpening.size()) {
                    cdataBlank_ = false;
                    cdataBrackets_ = 0;
                    state_ = State::CData;
                }
            } else {
                // Not a CDATA section: read on as text from here.
                state_ = TextState();
                Step(ch);
            }
            return;
        }
        case State::CData:
            if (ch == ']') {
                ++cdataBrackets_;
                return;
            }
            if (ch == '>' && cdataBrackets_ >= 2) {
                for (cdataBrackets_ -= 2; cdataBrackets_ > 0; --cdataBrackets_) PutCDataChar(']');
                state_ = preformatted_ ? State::PreText
                         : cdataBlank_ ? State::AfterBlank
                                       : State::Text;
                return;
            }
            for (; cdataBrackets_ > 0; --cdataBrackets_) PutCDataChar(']');
            PutCDataChar(ch);
            return;
        default: return;
    }
}

// Character references: "&", then a name or "#" and a number. Whatever is not
// a reference is written back as it was.
void HtmlConverter::StepReference(char32_t ch, char32_t c) {
    switch (state_) {
        case State::Ref:
            if (c == '#') {
                AppendToken(ch);
                state_ = State::RefNumber;
            } else if (c == '&') {
                PutChar('&');  // the earlier "&" was plain text
            } else if (IsAsciiAlphanumeric(c)) {
                AppendToken(ch);
                state_ = State::RefName;
            } else {
                FlushToken(ch);
                state_ = TextState();
            }
            return;
        case State::RefName:
            // No name is longer; past it the letters can only be text.
            if (IsAsciiAlphanumeric(c) && markupLength_ <= kLongestEntityName) {
                AppendToken(ch);
            } else {
                EndName(&ch);
            }
            return;
        case State::RefNumber:
            if (IsDigit(c)) {
                numericValue_ = numericValue_ * 10u + static_cast<std::uint32_t>(c - '0');
                numberHasDigits_ = true;
                AppendToken(ch);
            } else if (c == 'X' && !numberHasDigits_) {
                AppendToken(ch);
                state_ = State::RefHex;
            } else {
                EndNumber(ch);
            }
            return;
        case State::RefHex:
            if (const int digit = HexDigit(c); digit >= 0) {
                numericValue_ = numericValue_ * 16u + static_cast<std::uint32_t>(digit);
                numberHasDigits_ = true;
                AppendToken(ch);
            } else {
                EndNumber(ch);
            }
            return;
        default: return;
    }
}

// XHTML: links, which may be note references, "<sup>" around them, and the
// end tags of definition lists, which end a block.
void HtmlConverter::StepXhtmlTag(char32_t c) {
    const bool nameEnds = c == '>' || IsBlank(c);
    switch (state_) {
        case State::TagA:
            if (IsBlank(c)) {
                slash_ = false;
                linkAttributesLength_ = 0;
                state_ = State::LinkTag;
            } else {
                state_ = InlineTag(c);  // "<a>" links nowhere; "<abbr>" is another tag
            }
            return;
        case State::LinkTag:
            if (c == '>') {
                state_ = State::Text;
                if (!slash_ && IsNoteLink()) OpenNote();
                return;
            }
            slash_ = c == '/';
            if (linkAttributesLength_ < kLinkAttributesCapacity)
                linkAttributes_[linkAttributesLength_++] = c;
            return;
        case State::TagSU: state_ = c == 'P' ? State::TagSUP : InlineTag(c); return;
        case State::TagSUP:
            if (nameEnds) ++supDepth_;
            state_ = InlineTag(c);
            return;
        case State::EndTagA:
            if (nameEnds) CloseNote();
            SkipRestOfTag(c);
            return;
        case State::EndTagS:
            if (c == 'U') {
                state_ = State::EndTagSU;
            } else {
                SkipRestOfTag(c);
            }
            return;
        case State::EndTagSU:
            if (c == 'P') {
                state_ = State::EndTagSUP;
            } else {
                SkipRestOfTag(c);
            }
            return;
        case State::EndTagSUP:
            if (nameEnds && supDepth_ > 0) --supDepth_;
            SkipRestOfTag(c);
            return;
        case State::EndTagD:
            if (c == 'L' || c == 'T' || c == 'D') {
                BreakingTag(1);
            } else {
                SkipRestOfTag(c);
            }
            return;
        default: return;
    }
}

std::u32string ConvertHtmlToText(std::u32string_view html, std::vector<Heading>* outline) {
    return ConvertHtmlToText(
               [html](const std::function<void(std::u32string_view)>& piece) { piece(html); },
               html.size(), outline)
        .ToString();
}

CompactText ConvertHtmlToText(
    const std::function<void(const std::function<void(std::u32string_view)>&)>& feed,
    std::size_t sizeHint, std::vector<Heading>* outline) {
    // The text is kept compact as it comes, never held whole in four bytes a
    // character.
    CompactText text;
    text.Reserve(sizeHint);
    std::vector<HtmlConverter::Span> headings;
    HtmlConverter converter([&text](std::u32string_view piece) { text.Append(piece); },
                            {.headings = outline != nullptr ? &headings : nullptr});
    feed([&converter](std::u32string_view piece) { converter.Feed(piece); });
    converter.Finish();
    if (outline != nullptr) *outline = HeadingOutline(text, headings);
    return text;
}

std::vector<Heading> HeadingOutline(TextView text,
                                    const std::vector<HtmlConverter::Span>& headings) {
    std::vector<Heading> outline;
    std::array<bool, 7> present{};
    for (const HtmlConverter::Span& span : headings) {
        std::size_t start = std::min(span.start, text.size());
        const std::size_t end = std::min(span.end, text.size());
        while (start < end && IsBlank(text[start])) ++start;
        std::u32string title;
        for (std::size_t i = start; i < end; ++i) {
            if (!IsBlank(text[i])) {
                title.push_back(text[i]);
            } else if (!IsBlank(text[i - 1])) {
                title.push_back(' ');
            }
        }
        while (!title.empty() && title.back() == ' ') title.pop_back();
        if (title.empty()) continue;
        // The heading's paragraph, should something stand before it on its line.
        while (start > 0 && text[start - 1] != '\n') --start;
        const int level = std::clamp(span.level, 0, 6);
        present[static_cast<std::size_t>(level)] = true;
        outline.push_back({level, std::move(title), start});
    }
    for (Heading& heading : outline)
        heading.level = static_cast<int>(
            std::count(present.begin(), present.begin() + heading.level + 1, true));
    return outline;
}
