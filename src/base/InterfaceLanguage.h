#pragma once

#include <string_view>

// Which language the interface speaks: the program's own Russian texts, or
// their English translation.
enum class InterfaceLanguage { Russian, English };

// The user's choice in the settings: a language, or whatever the desktop uses.
enum class LanguageChoice { Desktop, Russian, English };

// The choice as lmn.ini keeps it: "ru", "en" or "desktop". Any other value,
// or none, is the desktop's language; letter case does not matter, since the
// file may be edited by hand.
LanguageChoice LanguageChoiceFromKey(std::string_view key);
std::string_view LanguageChoiceKey(LanguageChoice choice);

// The desktop's language settings as the environment gives them.
struct LocaleVariables {
    std::string_view language;    // LANGUAGE: "en:ru", a list by preference
    std::string_view lcAll;       // LC_ALL
    std::string_view lcMessages;  // LC_MESSAGES
    std::string_view lang;        // LANG
};

// Russian for a Russian, Ukrainian or Belarusian desktop, and for one with no
// language at all (C, POSIX or nothing set), which is how the program has
// always spoken; English for any other. As in gettext, LANGUAGE is a list of
// preferences read only when the messages locale is not C: its first entry
// the program has a text for decides, and English stands in for none.
InterfaceLanguage ChooseInterfaceLanguage(LanguageChoice choice, const LocaleVariables& desktop);
