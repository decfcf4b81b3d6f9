#include "base/QtText.h"

#include <QCoreApplication>

#include "base/ProgramTexts.h"

QString ToQString(std::u32string_view text) {
    return QString::fromUcs4(text.data(), static_cast<qsizetype>(text.size()));
}

std::u32string FromQString(const QString& text) { return text.toStdU32String(); }

std::u32string FromFieldText(QString text) {
    if (!text.isEmpty() && text.back().isHighSurrogate()) text.chop(1);
    return text.toStdU32String();
}

QString ProgramText(std::string_view utf8) {
    // translate() wants the text NUL-terminated, which a view need not be.
    const QByteArray source(utf8.data(), static_cast<qsizetype>(utf8.size()));
    return QCoreApplication::translate("Lumeno", source.constData());
}

QString TranslatedText(const QString& russian) {
    return russian.isEmpty() ? russian : ProgramText(russian.toStdString());
}

QString HeadingTitleText(std::u32string_view title) {
    const QString text = ToQString(title);
    return text == QString::fromUtf8(kNotesHeading) ? ProgramText(kNotesHeading) : text;
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
