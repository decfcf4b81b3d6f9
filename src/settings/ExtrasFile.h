#pragma once

#include <QString>

#include "settings/ReaderExtras.h"

// lmn.ini: the preferences beyond the settings record, in Qt's INI format.
// A missing file, key or unreadable value gives the default.
QString ExtrasPathBeside(const QString& settingsFilePath);
ReaderExtras LoadReaderExtras(const QString& path);
// False when the file could not be written; the old file then stays as it was.
bool SaveReaderExtras(const QString& path, const ReaderExtras& extras);
