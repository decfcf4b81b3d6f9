#include "text/DocumentText.h"

#include <algorithm>

void DocumentText::Replace(CompactText text, std::vector<TextRun> runs,
                           std::vector<Heading> outline) {
    text.Truncate(kMaxTextLength);
    text.Truncate(TrimmedLength(text));
    const std::size_t length = text.size();
    std::erase_if(runs, [length](const TextRun& run) { return run.start >= length; });
    for (TextRun& run : runs) run.length = std::min(run.length, length - run.start);
    std::erase_if(outline, [length](const Heading& heading) { return heading.position >= length; });
    text_ = std::move(text);
    runs_ = std::move(runs);
    outline_ = std::move(outline);
    map_ = PositionMap(text_);
}

std::u32string DocumentText::Slice(TextRange range) const {
    const std::size_t end = std::min(range.end, text_.size());
    const std::size_t start = std::min(range.start, end);
    return text_.View().substr(start, end - start).ToString();
}
