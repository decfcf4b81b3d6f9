#include "frame/CommandTable.h"

#include "base/QtText.h"

namespace {

using enum CommandId;

QKeySequence Key(QKeyCombination combination) { return QKeySequence(combination); }

std::vector<CommandSpec> BuildTable() {
    const auto ctrl = Qt::ControlModifier;
    const auto alt = Qt::AltModifier;
    const auto keypad = Qt::KeypadModifier;
    return {
        {ID_READ_TOGGLE,
         {},
         {Key(Qt::Key_Space)},
         "Начать/Остановить чтение (Пробел)",
         ":/icons/read.svg"},
        {ID_SHELF_SHOW,
         "Показать полку\tCtrl+B",
         {Key(ctrl | Qt::Key_B)},
         "Показать полку (Ctrl+B)",
         ":/icons/shelf.svg"},
        {ID_HELP_HOTKEYS,
         "&Горячие клавиши\tCtrl+K",
         {Key(ctrl | Qt::Key_K)},
         "Горячие клавиши (Ctrl+K)",
         ":/icons/hotkeys.svg"},
        {ID_HELP_MOUSE, "Использование мыши", {}, "Использование мыши", ":/icons/mouse.svg"},
        {ID_LOAD_CLIPBOARD,
         {},
         {Key(ctrl | Qt::Key_V), Key(Qt::ShiftModifier | Qt::Key_Insert)},
         "Загрузить текст из клипборда (Ctrl+V)",
         ":/icons/clipboard.svg"},
        {ID_VIEW_WHOLE_WINDOW,
         {},
         {Key(Qt::Key_F5)},
         "Использовать всё окно (F5)",
         ":/icons/whole-window.svg"},
        {ID_VIEW_SHARED_WINDOW,
         {},
         {Key(Qt::Key_F9)},
         "Использовать окно совместно (F9)",
         ":/icons/shared-window.svg"},
        {ID_READ_SELECTION, "Читать выделенный текст", {}, {}, {}},
        // With Shift held the bookmark takes its proposed name at once, as
        // Shift and a click on the bar button do.
        {ID_BOOKMARK_PUT,
         "Поместить закладку\tAlt+M",
         {Key(alt | Qt::Key_M), Key(Qt::ShiftModifier | alt | Qt::Key_M)},
         "Поместить закладку (Alt+M)",
         ":/icons/bookmark-put.svg"},
        {ID_BOOKMARKS_SHOW,
         "Показать закладки\tCtrl+M",
         {Key(ctrl | Qt::Key_M)},
         "Показать закладки (Ctrl+M)",
         ":/icons/bookmarks.svg"},
        {ID_SETTINGS_GENERAL, "Общие", {}, {}, {}},
        {ID_SETTINGS_READ_AREA, "Область чтения", {}, {}, {}},
        {ID_SETTINGS_TEXT_AREA, "Область текста", {}, {}, {}},
        {ID_COPY_TEXT, {}, {Key(ctrl | Qt::Key_C), Key(ctrl | Qt::Key_Insert)}, {}, {}},
        {ID_READ_FROM_CARET, "Читать отсюда до конца текста", {}, {}, {}},
        {ID_READ_TO_CARET, "Читать от начала текста до сих пор", {}, {}, {}},
        {ID_READ_ALL, "Читать текст от начала до конца", {}, {}, {}},
        {ID_OPEN_DOCUMENT,
         "&Открыть файл\tCtrl+O",
         {Key(ctrl | Qt::Key_O)},
         "Открыть документ (Ctrl+O)",
         ":/icons/open.svg"},
        {ID_SHELF_PUT,
         "Положить на полку\tAlt+B",
         {Key(alt | Qt::Key_B)},
         "Положить документ на полку (Alt+B)",
         ":/icons/shelf-put.svg"},
        {ID_FIND, "Искать\tCtrl+F", {Key(ctrl | Qt::Key_F)}, {}, {}},
        {ID_FIND_NEXT, {}, {Key(Qt::Key_F3)}, {}, {}},
        {ID_FIND_SELECTION, {}, {Key(ctrl | Qt::Key_F3)}, {}, {}},
        {ID_HELP_CONTENTS,
         "&Вызов справки\tF1",
         {Key(Qt::Key_F1)},
         "Вызов справки (F1)",
         ":/icons/help.svg"},
        // The main keyboard's "+" and "-" too, and "=", the "+" key unshifted,
        // for keyboards without a numeric keypad.
        {ID_SPEED_UP,
         {},
         {Key(keypad | Qt::Key_Plus), Key(Qt::Key_Plus), Key(Qt::Key_Equal)},
         {},
         {}},
        {ID_SPEED_DOWN, {}, {Key(keypad | Qt::Key_Minus), Key(Qt::Key_Minus)}, {}, {}},
        // Only while reading runs; otherwise the arrows move the caret.
        {ID_READ_BACK, {}, {Key(Qt::Key_Left)}, {}, {}},
        {ID_READ_FORWARD, {}, {Key(Qt::Key_Right)}, {}, {}},
        {ID_READ_BACK_SENTENCE, {}, {Key(ctrl | Qt::Key_Left)}, {}, {}},
        {ID_READ_FORWARD_SENTENCE, {}, {Key(ctrl | Qt::Key_Right)}, {}, {}},
        {ID_CONTENTS, "Содержание\tCtrl+T", {Key(ctrl | Qt::Key_T)}, {}, {}},
        {ID_READ_CHAPTER, "Читать главу", {}, {}, {}},
        {ID_READ_PREVIOUS_CHAPTER, {}, {Key(ctrl | Qt::Key_PageUp)}, {}, {}},
        {ID_READ_NEXT_CHAPTER, {}, {Key(ctrl | Qt::Key_PageDown)}, {}, {}},
        // Each language by its own name, whatever the interface speaks.
        {ID_LANGUAGE_RUSSIAN, "Русский", {}, {}, {}},
        {ID_LANGUAGE_ENGLISH, "English", {}, {}, {}},
        {ID_LANGUAGE_DESKTOP, "Как в системе", {}, {}, {}},
        {ID_READING_STATS, "Статистика чтения\tCtrl+I", {Key(ctrl | Qt::Key_I)}, {}, {}},
        {ID_APP_ABOUT, "&О программе", {}, {}, {}},
        {ID_APP_EXIT, "Выход", {}, {}, {}},
    };
}

constexpr MenuItem kSeparator;

}  // namespace

// Built once, in the language start-up has installed.
const std::vector<CommandSpec>& CommandTable() {
    static const std::vector<CommandSpec> table = [] {
        std::vector<CommandSpec> specs = BuildTable();
        for (CommandSpec& spec : specs) {
            spec.menuText = TranslatedText(spec.menuText);
            spec.tooltip = TranslatedText(spec.tooltip);
        }
        return specs;
    }();
    return table;
}

const std::vector<MenuSpec>& MainMenu() {
    static const std::vector<MenuSpec> menu = {
        {"&Документы",
         {ID_OPEN_DOCUMENT, ID_SHELF_SHOW, ID_SHELF_PUT, kSeparator, ID_CONTENTS, kSeparator,
          ID_APP_EXIT}},
        {"&Текст",
         {ID_READ_ALL, ID_READ_FROM_CARET, ID_READ_TO_CARET, ID_READ_SELECTION, ID_READ_CHAPTER,
          kSeparator, ID_BOOKMARKS_SHOW, ID_BOOKMARK_PUT, kSeparator, ID_FIND}},
        // The language menu names itself in both languages, for a reader
        // who cannot read the one the interface speaks.
        {"&Настройки",
         {ID_SETTINGS_GENERAL, ID_SETTINGS_READ_AREA, ID_SETTINGS_TEXT_AREA, kSeparator},
         "Язык / Language",
         {ID_LANGUAGE_RUSSIAN, ID_LANGUAGE_ENGLISH, ID_LANGUAGE_DESKTOP}},
        {"?",
         {ID_HELP_CONTENTS, ID_HELP_HOTKEYS, ID_HELP_MOUSE, kSeparator, ID_READING_STATS,
          kSeparator, ID_APP_ABOUT}},
    };
    static const std::vector<MenuSpec> translated = [] {
        std::vector<MenuSpec> specs = menu;
        for (MenuSpec& spec : specs) {
            spec.title = TranslatedText(spec.title);
            spec.choiceTitle = TranslatedText(spec.choiceTitle);
        }
        return specs;
    }();
    return translated;
}

const std::vector<MenuItem>& ContextMenu() {
    static const std::vector<MenuItem> items = {
        ID_READ_ALL, ID_READ_FROM_CARET, ID_READ_TO_CARET, ID_READ_SELECTION, ID_READ_CHAPTER,
        kSeparator,  ID_BOOKMARKS_SHOW,  ID_BOOKMARK_PUT,  kSeparator,        ID_FIND};
    return items;
}

const std::vector<BarSlot>& BarLayout() {
    using enum BarEntry;
    static const std::vector<BarSlot> layout = {
        {Button, ID_OPEN_DOCUMENT},
        {Button, ID_LOAD_CLIPBOARD},
        {Button, ID_SHELF_SHOW},
        {Button, ID_SHELF_PUT},
        {Separator},
        {Button, ID_VIEW_WHOLE_WINDOW},
        {Button, ID_VIEW_SHARED_WINDOW},
        {Separator},
        {Button, ID_READ_TOGGLE},
        {SpeedDisplay},
        {SpeedSpin},
        {Progress},
        {Button, ID_BOOKMARKS_SHOW},
        {Button, ID_BOOKMARK_PUT},
        {Separator},
        {Button, ID_HELP_CONTENTS},
        {Button, ID_HELP_HOTKEYS},
        {Button, ID_HELP_MOUSE},
    };
    return layout;
}
