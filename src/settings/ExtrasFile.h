#pragma once

#include <QString>

#include "base/InterfaceLanguage.h"
#include "settings/ReaderExtras.h"

// lmn.ini: the preferences beyond the settings record, in Qt's INI format.
// A missing file, key or unreadable value gives the default.
QString ExtrasPathBeside(const QString& settingsFilePath);
ReaderExtras LoadReaderExtras(const QString& path);
// False when the file could not be written; the old file then stays as it was.
bool SaveReaderExtras(const QString& path, const ReaderExtras& extras);

// The interface's language as the reader chose it, read at start-up before
// any text is shown. Kept apart from the extras, which "Дефолт" resets: that
// button is about reading, not about the language the program speaks.
LanguageChoice LoadLanguageChoice(const QString& path);
bool SaveLanguageChoice(const QString& path, LanguageChoice choice);
