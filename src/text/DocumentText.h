#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "text/CompactText.h"
#include "text/Outline.h"
#include "text/PositionMap.h"
#include "text/TextRules.h"
#include "text/TextRun.h"

// The open document's content: its characters (the positions every rule
// counts in), how parts of it look, the map to the text pane's own positions
// and its outline. The document controller is the only one that changes it;
// everything else (the text pane, reading, search, bookmarks, the estimate)
// reads it.
class DocumentText {
public:
    // Takes a new text: what lies beyond kMaxTextLength is not taken in, the
    // blanks at the end are dropped, and runs and headings are kept only as
    // far as the text that remains.
    void Replace(CompactText text, std::vector<TextRun> runs = {},
                 std::vector<Heading> outline = {});
    void Clear() { Replace({}); }

    TextView Characters() const { return text_.View(); }
    std::size_t Length() const { return text_.size(); }
    // Too short for a bookmark.
    bool TooShort() const { return text_.size() < kShortText; }
    // The characters of a range, cut at the end of the text.
    std::u32string Slice(TextRange range) const;

    // Empty for plain text, else covering parts of the text in order.
    const std::vector<TextRun>& Runs() const { return runs_; }
    const std::vector<Heading>& Outline() const { return outline_; }
    const PositionMap& Map() const { return map_; }

private:
    CompactText text_;
    std::vector<TextRun> runs_;
    std::vector<Heading> outline_;
    PositionMap map_;
};
