#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "reading/ReadingCursor.h"
#include "reading/ReadingOptions.h"
#include "text/CompactText.h"

// The reader's ways back and forward while reading runs.
enum class ReadingMove {
    PreviousGroup,
    NextGroup,
    PreviousSentence,
    NextSentence,
};

// Where the next group is cut from after a move, within the cursor's range
// (its first step has run). `shown` is where the group on screen starts;
// none before the run's first group is up, when the group about to come
// counts as the one on screen.
//
// Back by a group gives the start of the group that the cutter would have
// shown just before the one on screen: groups are cut again from the last
// mark that ends a group before it, since a group always ends there. Back
// by a sentence goes to the start of the sentence on screen, or to the one
// before when the group on screen begins its sentence. Nothing goes back
// past the range's start; forward past its end gives the end, where the run
// ends as it does at the end of the text.
std::size_t MoveTarget(TextView text, const ReadingCursor& cursor, const ReadingOptions& options,
                       ReadingMove move, std::optional<std::size_t> shown);

// Puts the cursor at a position in its range and gives the progress bar's
// position there (0 empty, up to 40); the bar then moves on from there.
int PlaceCursor(ReadingCursor& cursor, std::size_t position);
