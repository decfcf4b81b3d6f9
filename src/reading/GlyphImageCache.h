#pragma once

#include <QColor>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QString>

class QPainter;
class QRawFont;
class QTextLayout;

// Draws laid-out text from images of its letters, made once per letter,
// font and colour. Qt fills the outline of every letter taller than 64
// pixels anew at each paint, which made the reading pane's 70-pixel groups
// cost more than all the rest of a reading step; an image is drawn in a
// fraction of that. Letters stand on whole pixels.
class GlyphImageCache {
public:
    void Draw(QPainter& painter, const QTextLayout& layout, const QColor& colour);

private:
    struct Glyph {
        QImage image;   // premultiplied, in the colour; null for a blank
        QPoint offset;  // of the image's top left from the pen position
    };
    const Glyph& Find(const QRawFont& font, const QString& fontKey, quint32 index);

    QColor colour_;
    QHash<QString, Glyph> glyphs_;  // by font and glyph index
    qsizetype bytes_ = 0;
};
