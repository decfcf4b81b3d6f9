#include "base/ProgramTexts.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace {

constexpr std::array<std::string_view, 12> kMessages = {
    "Не удаётся создать информационный файл",
    "Не удаётся открыть этот файл ",
    "Этот файл не может быть открыт.\nДопускаются только файлы следующих типов:\n"
    "*.txt, *.rtf, *html, *htm, *plg",
    "Не удаётся получить содержимое полки.\nНет доступа к диску",
    "Нужно внести название документа",
    "Документ не выбран",
    "Нужно дать закладке какое-нибудь название",
    "Закладка не выбрана",
    "Поместить закладку нельзя - текст слишком мал.",
    "Файл полки был повреждён, полка начата заново.\n"
    "Прежний файл сохранён под именем:\n",
    "Положить документ на полку нельзя - слишком длинный путь к файлу.\n"
    "Переместите файл в папку с более коротким путём.",
    "Этот файл слишком велик.\n"
    "Файлы *.rtf, *.htm, *.html и *.plg открываются размером до 64 Мб.",
};

}  // namespace

std::string_view MessageText(int code) {
    if (code < 0 || code >= static_cast<int>(kMessages.size())) return {};
    return kMessages[static_cast<std::size_t>(code)];
}

std::string WindowTitle(std::string_view documentName) {
    std::string title(kProgramTitle);
    if (!documentName.empty()) {
        title += " - ";
        title += documentName;
    }
    return title;
}

bool IsProgramName(std::string_view executableBaseName) {
    std::string upper(executableBaseName);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper == "LMN";
}
