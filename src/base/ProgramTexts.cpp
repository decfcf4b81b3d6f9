#include "base/ProgramTexts.h"

#include <algorithm>
#include <cctype>

#include "base/CodePage.h"

std::string_view MessageText(MessageCode code) {
    using enum MessageCode;
    switch (code) {
        case MSG_SETTINGS_FILE_FAILED:
            return "Не удаётся создать информационный файл";
        case MSG_FILE_OPEN_FAILED:
            return "Не удаётся открыть этот файл ";
        case MSG_FILE_TYPE_REJECTED:
            return "Этот файл не может быть открыт.\nДопускаются только файлы следующих типов:\n"
                   "*.txt, *.rtf, *html, *htm, *plg,\n"
                   "*.fb2, *.fb2.zip, *.epub, *.pdf, *.docx, *.odt";
        case MSG_SHELF_UNAVAILABLE:
            return "Не удаётся получить содержимое полки.\nНет доступа к диску";
        case MSG_DOCUMENT_NAME_EMPTY:
            return "Нужно внести название документа";
        case MSG_NO_DOCUMENT_SELECTED:
            return "Документ не выбран";
        case MSG_BOOKMARK_NAME_EMPTY:
            return "Нужно дать закладке какое-нибудь название";
        case MSG_NO_BOOKMARK_SELECTED:
            return "Закладка не выбрана";
        case MSG_TEXT_TOO_SMALL:
            return "Поместить закладку нельзя - текст слишком мал.";
        case MSG_SHELF_DAMAGED:
            return "Файл полки был повреждён, полка начата заново.\n"
                   "Прежний файл сохранён под именем:\n";
        case MSG_SHELF_PATH_TOO_LONG:
            return "Положить документ на полку нельзя - слишком длинный путь к файлу.\n"
                   "Переместите файл в папку с более коротким путём.";
        case MSG_FILE_TOO_LARGE:
            return "Этот файл слишком велик.\n"
                   "Файлы *.rtf, *.htm, *.html и *.plg открываются размером до 64 Мб.";
        case MSG_BOOK_DAMAGED:
            return "Книга повреждена или сохранена не в том формате,\n"
                   "на который указывает её расширение, — её текст не прочесть.";
        case MSG_BOOK_ENCRYPTED:
            return "Книга защищена (DRM или пароль) — её текст не прочесть.";
        case MSG_BOOK_NO_TEXT:
            return "В книге нет текста, только изображения\n"
                   "(например, отсканированные страницы) — читать нечего.";
        case MSG_BOOK_TOO_LARGE:
            return "Книга слишком велика.\n"
                   "Открываются книги размером до 128 Мб, распакованные — до 256 Мб.";
        case MSG_TEXT_CUT: return "Текст слишком длинный: показаны первые 10 485 760 символов.";
    }
    return {};
}

std::string WindowTitle(std::u32string_view documentName) {
    std::string title(kProgramTitle);
    if (!documentName.empty()) {
        title += " - ";
        title += ToUtf8(documentName);
    }
    return title;
}

bool IsProgramName(std::string_view executableBaseName) {
    std::string upper(executableBaseName);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper == "LMN";
}
