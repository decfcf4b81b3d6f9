#pragma once

#include <string>
#include <string_view>

// The program's own texts, in UTF-8: its fixed messages by code, and the other
// texts its message boxes and status pane show. "%1" marks where a value goes.

enum class MessageCode : int {
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
    // Books that cannot be read, by the reason.
    MSG_BOOK_DAMAGED = 12,
    MSG_BOOK_ENCRYPTED = 13,
    MSG_BOOK_NO_TEXT = 14,
    MSG_BOOK_TOO_LARGE = 15,
    MSG_TEXT_CUT = 16,
};

std::string_view MessageText(MessageCode code);

inline constexpr std::string_view kProgramTitle = "Orvek Lumeno";

inline constexpr std::string_view kNoTaskExplanation =
    "Что читать? Нет задания!.\n\nКак указать что читать:\n"
    "1. Установите курсор в нужное место текста\n"
    "2. Нажмите ПРАВУЮ кнопку на мышке\n"
    "3. Выберите задание из контекстного меню";

inline constexpr std::string_view kTaskWholeTextStatus = "Читать от НАЧАЛА текста до КОНЦА";
inline constexpr std::string_view kTaskFromCaretStatus = "Читать от указанного МЕСТА до КОНЦА";
inline constexpr std::string_view kTaskToCaretStatus =
    "Читать от НАЧАЛА текста до указанного МЕСТА";
inline constexpr std::string_view kTaskSelectionStatus = "Читать ВЫДЕЛЕННЫЙ текст";
inline constexpr std::string_view kTaskChapterStatus = "Читать ГЛАВУ «%1»";
// The second status pane: the task's rate and the time left, in minutes or,
// under a minute, in seconds.
inline constexpr std::string_view kEstimateMinutesStatus = "≈ %1 слов/мин · осталось %2 мин";
inline constexpr std::string_view kEstimateSecondsStatus = "≈ %1 слов/мин · осталось %2 с";
// With the time left in the chapter being read: "≈ 300 слов/мин · глава 4 мин
// · всего 2 ч 10 мин", each time as one of the three below.
inline constexpr std::string_view kEstimateChapterStatus = "≈ %1 слов/мин · глава %2 · всего %3";
inline constexpr std::string_view kTimeSeconds = "%1 с";
inline constexpr std::string_view kTimeMinutes = "%1 мин";
inline constexpr std::string_view kTimeHours = "%1 ч %2 мин";

// Ctrl+V when the clipboard holds nothing that can be read as text (an image).
inline constexpr std::string_view kClipboardHasNoText =
    "В буфере обмена нет текста, который можно прочитать.";
inline constexpr std::string_view kSearchNotFound = "Фрагмент текста \"%1\" не обнаружен";
inline constexpr std::string_view kNothingToSearch = "Не указано что искать";

inline constexpr std::string_view kAskRemoveMissingDocument =
    "Открыть документ не удаётся.\n"
    "По-видимому документ был удалён или переименован.\n"
    "Убрать его с полки?";
inline constexpr std::string_view kAskRemoveInvalidBookmark =
    "Эта закладка недействительна.\n"
    "По-видимому в документ были внесены изменения.\n"
    "Удалить эту закладку?";

inline constexpr std::string_view kShelfWriteFailed =
    "Не удаётся записать содержимое полки.\nНет доступа к диску или на нём нет места.\n"
    "Закладки и место чтения пока хранятся в памяти и будут записаны, "
    "как только это станет возможно.";

// At exit nothing is written later: the user decides what becomes of the
// shelf's changes.
inline constexpr std::string_view kShelfUnsavedAtExit =
    "Не удалось записать полку: на диске нет места или запись запрещена.\n"
    "Закладки и место чтения не сохранены.";
inline constexpr std::string_view kRetryAnswer = "Повторить";
inline constexpr std::string_view kSaveShelfElsewhereAnswer = "Сохранить полку в другом месте…";
inline constexpr std::string_view kExitWithoutSavingAnswer = "Выйти без сохранения";
inline constexpr std::string_view kSaveShelfElsewhereTitle = "Сохранить полку в другом месте";
// %1: the settings file's name (lmn.dat, lmn.ini).
inline constexpr std::string_view kSettingsWriteFailed =
    "Не удалось записать настройки (%1): на диске нет места или запись запрещена.";

// A damaged shelf file of which some documents could be read: how many were
// read, how many were not, and where the damaged file was kept.
inline constexpr std::string_view kShelfDamagedKept =
    "Файл полки был повреждён. Документов прочитано: %1, не прочитано: %2.\n"
    "Прежний файл сохранён под именем:\n%3";

// A book read up to where its file is damaged: how much of the file, in percent, lay before.
inline constexpr std::string_view kBookDamagedAt =
    "Книга повреждена; показан текст до места повреждения (%1 %).";

// The outline's entry for a book's notes that have no title of their own.
inline constexpr std::string_view kNotesHeading = "Примечания";

inline constexpr std::string_view kShelfEmpty = "Документов на полке нет";
// The shelf dialog's count line when the shelf file cannot be read at all.
inline constexpr std::string_view kShelfUnreadable = "Не удаётся прочитать полку";
inline constexpr std::string_view kShelfCount = "Документов на полке: %1";
inline constexpr std::string_view kBookmarksEmpty = "Закладок нет";
inline constexpr std::string_view kBookmarksCount = "Всего закладок: %1";
// Under a name field whose name holds characters the shelf file cannot keep.
inline constexpr std::string_view kNameLosesCharacters =
    "Знаки не из Windows-1251 сохранятся как «?»";

// A language chosen in the settings speaks from the next start, in its own words.
inline constexpr std::string_view kLanguageAtNextStart =
    "Язык сменится при следующем запуске программы.";

inline constexpr std::string_view kHelpFileMissing =
    "Не найден файл справки:\n%1\n\nФайл справки должен лежать рядом с программой "
    "или в папке share/lumeno установленной программы.";

// The reading history (history.sqlite beside the shelf). Each trouble is told
// once; reading goes on whatever becomes of the history.
// %1: where the damaged file was kept.
inline constexpr std::string_view kHistoryDamaged =
    "Файл истории чтения был повреждён и сохранён под именем:\n%1\n"
    "История чтения начата заново.";
inline constexpr std::string_view kHistoryWriteFailed =
    "Не удаётся записать историю чтения.\nНет доступа к диску или на нём нет места.\n"
    "Записи о чтении пока хранятся в памяти и будут записаны, как только это станет возможно.";
inline constexpr std::string_view kHistoryUnsavedAtExit =
    "Не удалось записать историю чтения: на диске нет места или запись запрещена.\n"
    "Последние записи о чтении не сохранены.";
inline constexpr std::string_view kHistoryEmpty =
    "История чтения пока пуста.\n\n"
    "Здесь появится каждое чтение, от запуска до остановки: сколько слов прочитано, "
    "за какое время и с какой скоростью.";
inline constexpr std::string_view kAskClearHistory =
    "Удалить всю историю чтения?\nВосстановить её будет нельзя.";
inline constexpr std::string_view kHistoryClearFailed = "Не удалось очистить историю чтения.";
// %1: the file chosen for the export.
inline constexpr std::string_view kHistoryExportFailed =
    "Не удалось записать файл:\n%1\nНет доступа к диску или на нём нет места.";

// The main window's title (UTF-8) for a document name: the bare program
// title when there is no name.
std::string WindowTitle(std::u32string_view documentName);

// The executable must be called lmn (in any case, with or without an
// extension); a copy under another name ends at once.
bool IsProgramName(std::string_view executableBaseName);
