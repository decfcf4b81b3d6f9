#include "base/QtText.h"

#include "base/CodePage.h"

QString ToQString(std::string_view cp1251) {
    return QString::fromStdU16String(Cp1251ToUtf16(cp1251));
}

std::string FromQString(const QString& text) { return Utf16ToCp1251(text.toStdU16String()); }

QString ProgramText(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QColor ColorFromColorRef(std::uint32_t colorRef) {
    return QColor(static_cast<int>(colorRef & 0xFFu), static_cast<int>((colorRef >> 8) & 0xFFu),
                  static_cast<int>((colorRef >> 16) & 0xFFu));
}

std::uint32_t ColorRefFromColor(const QColor& color) {
    return static_cast<std::uint32_t>(color.red()) |
           static_cast<std::uint32_t>(color.green()) << 8 |
           static_cast<std::uint32_t>(color.blue()) << 16;
}
