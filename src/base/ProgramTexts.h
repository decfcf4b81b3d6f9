#pragma once

#include <string>
#include <string_view>

// The program's fixed messages, shown by code.
enum MessageCode : int {
    MSG_SETTINGS_FILE_FAILED = 0,
    MSG_FILE_OPEN_FAILED = 1,
    MSG_FILE_TYPE_REJECTED = 2,
    MSG_SHELF_UNAVAILABLE = 3,
    MSG_DOCUMENT_NAME_EMPTY = 4,
    MSG_NO_DOCUMENT_SELECTED = 5,
    MSG_BOOKMARK_NAME_EMPTY = 6,
    MSG_NO_BOOKMARK_SELECTED = 7,
    MSG_TEXT_TOO_SMALL = 8,
    // Followed by the path of the kept copy.
    MSG_SHELF_DAMAGED = 9,
    MSG_SHELF_PATH_TOO_LONG = 10,
    MSG_FILE_TOO_LARGE = 11,
};

inline constexpr std::string_view kProgramTitle = "Orvek Lumeno";

// The text of a message in UTF-8; empty for a code outside the table.
std::string_view MessageText(int code);

// The main window's title for a document name (Windows-1251 in, Windows-1251
// out): the bare program title when there is no name.
std::string WindowTitle(std::string_view documentName);

// The executable must be called lmn (in any case, with or without an
// extension); a copy under another name ends at once.
bool IsProgramName(std::string_view executableBaseName);
