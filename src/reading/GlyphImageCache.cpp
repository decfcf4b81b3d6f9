#include "reading/GlyphImageCache.h"

#include <cmath>

#include <QGlyphRun>
#include <QPainter>
#include <QPainterPath>
#include <QTextLayout>

namespace {

// Beyond this the images are made anew: a few hundred letters of even a
// very large font, in a few colours, stay below it.
constexpr qsizetype kMostBytes = 64 * 1024 * 1024;

}  // namespace

const GlyphImageCache::Glyph& GlyphImageCache::Find(const Key& key) {
    const auto found = glyphs_.constFind(key);
    if (found != glyphs_.constEnd()) return *found;
    if (bytes_ > kMostBytes) {
        glyphs_.clear();
        bytes_ = 0;
    }
    Glyph glyph;
    const QPainterPath outline = key.font.pathForGlyph(key.index);
    if (!outline.isEmpty()) {
        const QRect pixels = outline.boundingRect().toAlignedRect().adjusted(-1, -1, 1, 1);
        glyph.image = QImage(pixels.size(), QImage::Format_ARGB32_Premultiplied);
        glyph.image.fill(Qt::transparent);
        QPainter painter(&glyph.image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.translate(-pixels.topLeft());
        painter.fillPath(outline, QColor::fromRgba(key.color));
        glyph.offset = pixels.topLeft();
        bytes_ += glyph.image.sizeInBytes();
    }
    return *glyphs_.insert(key, glyph);
}

GlyphImageCache::PlacedText GlyphImageCache::Place(const QTextLayout& layout, const QColor& color) {
    PlacedText placed;
    placed.color = color;
    const QPointF origin = layout.position();
    // Line by line: the layout's own list merges the lines' runs, which
    // costs more than the letters' images.
    QList<QGlyphRun> runs;
    for (int i = 0; i < layout.lineCount(); ++i) runs += layout.lineAt(i).glyphRuns();
    for (const QGlyphRun& run : runs) {
        Key key{run.rawFont(), 0, color.rgba()};
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i) {
            key.index = indexes[i];
            const Glyph& glyph = Find(key);
            if (glyph.image.isNull()) continue;
            const QPointF pen = origin + positions[i];
            const QPoint topLeft(static_cast<int>(std::lround(pen.x())) + glyph.offset.x(),
                                 static_cast<int>(std::lround(pen.y())) + glyph.offset.y());
            placed.letters.push_back({glyph.image, topLeft});
            placed.ink |= QRect(topLeft, glyph.image.size());
        }
        if (positions.isEmpty() || !(run.underline() || run.strikeOut() || run.overline())) {
            continue;
        }
        // The lines a font's style asks for, across the run.
        const QRectF extent = run.boundingRect().translated(origin);
        const qreal baseline = origin.y() + positions.first().y();
        const qreal thickness = std::max<qreal>(1.0, key.font.lineThickness());
        const auto line = [&](qreal y) {
            placed.lines.emplace_back(extent.left(), y, extent.width(), thickness);
            placed.ink |= placed.lines.back().toAlignedRect();
        };
        if (run.underline()) line(baseline + key.font.underlinePosition());
        if (run.strikeOut()) line(baseline - key.font.xHeight() / 2);
        if (run.overline()) line(baseline - key.font.ascent());
    }
    return placed;
}

GlyphImageCache::PlacedText GlyphImageCache::PlacedText::Translated(QPoint offset) const {
    PlacedText moved = *this;
    for (Letter& letter : moved.letters) letter.topLeft += offset;
    for (QRectF& line : moved.lines) line.translate(offset);
    moved.ink.translate(offset);
    return moved;
}

void GlyphImageCache::Draw(QPainter& painter, const PlacedText& text) {
    for (const PlacedText::Letter& letter : text.letters) {
        painter.drawImage(letter.topLeft, letter.image);
    }
    for (const QRectF& line : text.lines) painter.fillRect(line, text.color);
}
