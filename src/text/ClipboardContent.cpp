#include "text/ClipboardContent.h"

#include <QMimeData>
#include <QStringDecoder>

#include "base/QtText.h"
#include "text/HtmlConverter.h"

namespace {

// "text/plain;charset=utf-8" and the like: the plain text the desktop's
// toolkits offer besides, or instead of, the bare type.
std::optional<QString> CharsetText(const QMimeData& data) {
    for (const QString& format : data.formats()) {
        if (!format.startsWith(QLatin1String("text/plain;"))) continue;
        const qsizetype at = format.indexOf(QLatin1String("charset="), 0, Qt::CaseInsensitive);
        const QString charset = at < 0 ? QStringLiteral("UTF-8") : format.mid(at + 8).trimmed();
        QStringDecoder decoder(charset.toLatin1().constData());
        if (!decoder.isValid()) continue;
        return QString(decoder.decode(data.data(format)));
    }
    return std::nullopt;
}

// The characters of a QString kept compact as they are read, a few thousand
// at a time: 10 MB from the clipboard is never held in four bytes a character.
CompactText Compact(const QString& text) {
    CompactText compact;
    compact.Reserve(static_cast<std::size_t>(text.size()));
    std::u32string piece;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype end = std::min(text.size(), at + 4096);
        // A surrogate pair is not cut in half.
        const qsizetype cut =
            end < text.size() && text.at(end - 1).isHighSurrogate() ? end - 1 : end;
        piece = FromQString(QStringView(text).sliced(at, cut - at).toString());
        compact.Append(piece);
        at = cut;
    }
    return compact;
}

}  // namespace

std::optional<CompactText> ClipboardContent(const QMimeData* data) {
    if (data == nullptr) return std::nullopt;
    if (data->hasText()) return Compact(data->text());
    if (std::optional<QString> text = CharsetText(*data)) return Compact(*text);
    if (!data->hasHtml()) return std::nullopt;
    // Pages give the clipboard a fragment, often without a body; what comes
    // before a body is not text.
    QString html = data->html();
    if (!html.contains(QLatin1String("<body"), Qt::CaseInsensitive)) html.prepend("<body>");
    return ConvertHtmlToText([&html](const auto& piece) { piece(FromQString(html)); },
                             static_cast<std::size_t>(html.size()));
}
