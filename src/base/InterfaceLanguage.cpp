#include "base/InterfaceLanguage.h"

#include <algorithm>
#include <array>
#include <optional>
#include <utility>

namespace {

// "ru_RU.UTF-8@euro" -> "ru".
std::string_view LanguageCode(std::string_view localeName) {
    return localeName.substr(0, localeName.find_first_of("_.@"));
}

std::optional<InterfaceLanguage> LanguageFor(std::string_view localeName) {
    const std::string_view code = LanguageCode(localeName);
    if (code == "ru" || code == "uk" || code == "be") return InterfaceLanguage::Russian;
    if (code == "en") return InterfaceLanguage::English;
    return std::nullopt;
}

constexpr std::array<std::pair<LanguageChoice, std::string_view>, 3> kChoiceKeys = {{
    {LanguageChoice::Desktop, "desktop"},
    {LanguageChoice::Russian, "ru"},
    {LanguageChoice::English, "en"},
}};

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return std::ranges::equal(a, b, [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

}  // namespace

LanguageChoice LanguageChoiceFromKey(std::string_view key) {
    for (const auto& [choice, name] : kChoiceKeys) {
        if (SameIgnoringCase(key, name)) return choice;
    }
    return LanguageChoice::Desktop;
}

std::string_view LanguageChoiceKey(LanguageChoice choice) {
    for (const auto& [known, name] : kChoiceKeys) {
        if (known == choice) return name;
    }
    return kChoiceKeys.front().second;
}

InterfaceLanguage ChooseInterfaceLanguage(LanguageChoice choice, const LocaleVariables& desktop) {
    if (choice == LanguageChoice::Russian) return InterfaceLanguage::Russian;
    if (choice == LanguageChoice::English) return InterfaceLanguage::English;
    // The first variable set wins, as the C library reads them.
    std::string_view messages = desktop.lcAll;
    if (messages.empty()) messages = desktop.lcMessages;
    if (messages.empty()) messages = desktop.lang;
    const std::string_view code = LanguageCode(messages);
    if (code.empty() || code == "C" || code == "POSIX") return InterfaceLanguage::Russian;
    std::string_view preferences = desktop.language;
    while (!preferences.empty()) {
        const std::size_t colon = preferences.find(':');
        if (const auto language = LanguageFor(preferences.substr(0, colon))) return *language;
        if (colon == std::string_view::npos) break;
        preferences.remove_prefix(colon + 1);
    }
    return LanguageFor(messages).value_or(InterfaceLanguage::English);
}
