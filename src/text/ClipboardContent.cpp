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

}  // namespace

std::optional<std::u32string> ClipboardContent(const QMimeData* data) {
    if (data == nullptr) return std::nullopt;
    if (data->hasText()) return FromQString(data->text());
    if (std::optional<QString> text = CharsetText(*data)) return FromQString(*text);
    if (!data->hasHtml()) return std::nullopt;
    // Pages give the clipboard a fragment, often without a body; what comes
    // before a body is not text.
    QString html = data->html();
    if (!html.contains(QLatin1String("<body"), Qt::CaseInsensitive)) html.prepend("<body>");
    return ConvertHtmlToText(FromQString(html));
}
