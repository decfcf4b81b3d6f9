#pragma once

#include <QString>
#include <string_view>

#include "base/InterfaceLanguage.h"

class QCoreApplication;

// The interface's language on this desktop: the choice, with the process's
// LANGUAGE, LC_ALL, LC_MESSAGES and LANG standing for the desktop's.
InterfaceLanguage InterfaceLanguageOnDesktop(LanguageChoice choice);

// Makes the application speak the language: the program's English is built
// in and Qt's own texts are English already; in Russian, Qt's dialogs and
// buttons come from Qt's installed translations, and without them stay
// English, which is no reason not to start.
void InstallTranslators(QCoreApplication& application, InterfaceLanguage language);

// One of the program's texts in a language, whatever the interface speaks
// now: what a change of language is announced in.
QString ProgramTextIn(InterfaceLanguage language, std::string_view utf8);
