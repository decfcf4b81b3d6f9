#pragma once

// The program's commands, under the numbers its menus, keys and bar share.
enum class CommandId : int {
    ID_READ_TOGGLE = 114,
    ID_SHELF_SHOW = 115,
    ID_HELP_HOTKEYS = 120,
    ID_HELP_MOUSE = 122,
    ID_LOAD_CLIPBOARD = 32771,
    ID_VIEW_WHOLE_WINDOW = 32772,
    ID_VIEW_SHARED_WINDOW = 32773,
    ID_READ_SELECTION = 32785,
    ID_BOOKMARK_PUT = 32786,
    ID_BOOKMARKS_SHOW = 32788,
    ID_SETTINGS_GENERAL = 32790,
    ID_SETTINGS_READ_AREA = 32791,
    ID_SETTINGS_TEXT_AREA = 32792,
    ID_COPY_TEXT = 32795,
    ID_READ_FROM_CARET = 32797,
    ID_READ_TO_CARET = 32798,
    ID_READ_ALL = 32800,
    ID_OPEN_DOCUMENT = 32801,
    ID_SHELF_PUT = 32802,
    ID_FIND = 32803,
    ID_FIND_NEXT = 32804,
    ID_FIND_SELECTION = 32805,
    ID_HELP_CONTENTS = 32806,
    ID_SPEED_UP = 32807,
    ID_SPEED_DOWN = 32808,
    // Moving while reading runs: a group or a sentence back or forward.
    ID_READ_BACK = 32809,
    ID_READ_FORWARD = 32810,
    ID_READ_BACK_SENTENCE = 32811,
    ID_READ_FORWARD_SENTENCE = 32812,
    // The book's contents, its chapters read one at a time and moved between.
    ID_CONTENTS = 32813,
    ID_READ_CHAPTER = 32814,
    ID_READ_PREVIOUS_CHAPTER = 32815,
    ID_READ_NEXT_CHAPTER = 32816,
    // The interface's language, or the desktop's.
    ID_LANGUAGE_RUSSIAN = 32817,
    ID_LANGUAGE_ENGLISH = 32818,
    ID_LANGUAGE_DESKTOP = 32819,
    // What the history holds: words per day, speed over time, each document.
    ID_READING_STATS = 32820,
    ID_APP_ABOUT = 57664,
    ID_APP_EXIT = 57665,
};
