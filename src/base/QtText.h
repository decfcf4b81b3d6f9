#pragma once

#include <QColor>
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

// The one boundary between the core's strings and colours and Qt's. The core holds
// document text and names as Unicode code points and its own texts in UTF-8.

QString ToQString(std::u32string_view text);
// A lone surrogate in the widget's text becomes U+FFFD.
std::u32string FromQString(const QString& text);
// A text field's text: a field's length limit counts UTF-16 units and may
// keep only the first half of a character beyond the Basic Multilingual
// Plane; that half is dropped rather than turned into U+FFFD.
std::u32string FromFieldText(QString text);
// One of the program's own texts (Russian, UTF-8), in the interface's language:
// the installed translator's text for it in the "Lumeno" context, else itself.
QString ProgramText(std::string_view utf8);
// The same for a text already held as a QString (the command table's).
QString TranslatedText(const QString& russian);

// A heading's title for the screen: the title the program gives a book's
// untitled notes in the interface's language, any other as the book has it.
QString HeadingTitleText(std::u32string_view title);

// A colour as the settings file keeps it, 0x00BBGGRR, and back.
QColor ColorFromColorRef(std::uint32_t colorRef);
std::uint32_t ColorRefFromColor(const QColor& color);
