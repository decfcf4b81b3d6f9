#include "reading/GlyphImageCache.h"

#include <cmath>

#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QRawFont>
#include <QTextLayout>

namespace {

// Beyond this the images are made anew: a few hundred letters of even a
// very large font stay below it.
constexpr qsizetype kMostBytes = 64 * 1024 * 1024;

QString FontKey(const QRawFont& font) {
    return font.familyName() + u'/' + font.styleName() + u'/' + QString::number(font.pixelSize()) +
           u'/' + QString::number(font.weight()) + u'/' +
           QString::number(static_cast<int>(font.style())) + u'/';
}

}  // namespace

const GlyphImageCache::Glyph& GlyphImageCache::Find(const QRawFont& font, const QString& fontKey,
                                                    quint32 index) {
    const QString key = fontKey + QString::number(index);
    const auto found = glyphs_.constFind(key);
    if (found != glyphs_.constEnd()) return *found;
    Glyph glyph;
    const QPainterPath outline = font.pathForGlyph(index);
    if (!outline.isEmpty()) {
        const QRect pixels = outline.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
        glyph.image = QImage(pixels.size(), QImage::Format_ARGB32_Premultiplied);
        glyph.image.fill(Qt::transparent);
        QPainter painter(&glyph.image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(-pixels.topLeft());
        painter.fillPath(outline, colour_);
        glyph.offset = pixels.topLeft();
        bytes_ += glyph.image.sizeInBytes();
    }
    return *glyphs_.insert(key, glyph);
}

void GlyphImageCache::Draw(QPainter& painter, const QTextLayout& layout, const QColor& colour) {
    if (colour != colour_ || bytes_ > kMostBytes) {
        glyphs_.clear();
        bytes_ = 0;
        colour_ = colour;
    }
    const QPointF origin = layout.position();
    for (const QGlyphRun& run : layout.glyphRuns()) {
        const QRawFont font = run.rawFont();
        const QString fontKey = FontKey(font);
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i) {
            const Glyph& glyph = Find(font, fontKey, indexes[i]);
            if (glyph.image.isNull()) continue;
            const QPointF pen = origin + positions[i];
            painter.drawImage(QPoint(static_cast<int>(std::lround(pen.x())) + glyph.offset.x(),
                                     static_cast<int>(std::lround(pen.y())) + glyph.offset.y()),
                              glyph.image);
        }
        if (positions.isEmpty() || !(run.underline() || run.strikeOut() || run.overline())) {
            continue;
        }
        // The lines a font's style asks for, across the run.
        const QRectF extent = run.boundingRect().translated(origin);
        const qreal baseline = origin.y() + positions.first().y();
        const qreal thickness = std::max<qreal>(1.0, font.lineThickness());
        const auto line = [&](qreal y) {
            painter.fillRect(QRectF(extent.left(), y, extent.width(), thickness), colour);
        };
        if (run.underline()) line(baseline + font.underlinePosition());
        if (run.strikeOut()) line(baseline - font.xHeight() / 2);
        if (run.overline()) line(baseline - font.ascent());
    }
}
