#pragma once

#include <QColor>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

// The one boundary between the core's strings and colours and Qt's. The core holds
// document text and names in Windows-1251 and its own texts in UTF-8.

// Document text, names and anything else the core holds in Windows-1251.
QString ToQString(std::string_view cp1251);
// Back to Windows-1251; what the code page lacks becomes "?".
std::string FromQString(const QString& text);
// One of the program's own texts (UTF-8).
QString ProgramText(std::string_view utf8);

// A colour as the settings file keeps it, 0x00BBGGRR, and back.
QColor ColorFromColorRef(std::uint32_t colorRef);
std::uint32_t ColorRefFromColor(const QColor& color);
