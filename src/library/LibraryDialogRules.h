#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The rules of the shelf and bookmark dialogs that need no window: which list
// entry an action works on, where a list dialog opens and how large, and how
// typed names are cleaned up.

// The entry an action works on: the selected one; with none selected, the
// only entry when the action accepts that (opening a document or going to a
// bookmark does, deleting a bookmark does not). Nothing when no entry is
// chosen, also for a selection past the end.
std::optional<std::size_t> ChosenEntry(std::optional<std::size_t> selected, std::size_t count,
                                       bool loneEntryWithoutSelection);

// A list dialog's remembered size and its smallest size, in pixels: fields of
// the settings record, read and written in place.
struct DialogSizeFields {
    std::int32_t& width;
    std::int32_t& height;
    std::int32_t& minWidth;
    std::int32_t& minHeight;
};

struct ReaderSettings;
DialogSizeFields ShelfDialogSizes(ReaderSettings& settings);
DialogSizeFields BookmarksDialogSizes(ReaderSettings& settings);

struct DialogGeometry {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    int minWidth = 0;
    int minHeight = 0;

    bool operator==(const DialogGeometry&) const = default;
};

// Where a list dialog opens, given the client size its template gives it.
// The first time ever (no size remembered) both the remembered and the
// smallest size become that client size and are written into the fields.
// The dialog is centred on the screen with the remembered size, halving by
// an arithmetic shift. A settings file is not trusted: a size that is not
// positive counts as unknown, and no size exceeds the screen, so the dialog
// always fits and can be shrunk back.
DialogGeometry OpenListDialog(DialogSizeFields fields, int clientWidth, int clientHeight,
                              int screenWidth, int screenHeight);

// The name offered when a document is put on the shelf: its current name
// without everything from its last "." on.
std::u32string OfferedShelfName(std::u32string_view documentName);
// For a book: "Author - Title" when it names both, the title when it names
// only that, else the name offered for any document (without ".fb2.zip"
// as a whole).
std::u32string OfferedShelfName(std::u32string_view documentName, std::u32string_view author,
                                std::u32string_view title);

// The longest name a shelf entry or a bookmark takes.
constexpr int kMaxNameLength = 255;

// A typed name without white space at either end: space, tab, CR, LF,
// vertical tab and form feed.
std::u32string TrimName(std::u32string_view name);
