#pragma once

#include <vector>

#include <QColor>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRawFont>
#include <QRect>

class QPainter;
class QTextLayout;

// Draws laid-out text from images of its letters, made once per letter,
// font and colour. Qt fills the outline of every letter taller than 64
// pixels anew at each paint, which made the reading pane's 70-pixel groups
// cost more than all the rest of a reading step; an image is drawn in a
// fraction of that. Letters stand on whole pixels.
class GlyphImageCache {
public:
    // A laid-out text ready to draw: where each letter's image goes and the
    // lines its font's style asks for, all in the layout's coordinates.
    struct PlacedText {
        struct Letter {
            QImage image;
            QPoint topLeft;
        };
        std::vector<Letter> letters;
        std::vector<QRectF> lines;  // underline, strike-out, overline
        QColor color;
        QRect ink;  // every pixel the text touches

        PlacedText Translated(QPoint offset) const;
    };

    // Reads the layout's glyphs once, when a group is laid out, so that a
    // paint only copies images.
    PlacedText Place(const QTextLayout& layout, const QColor& color);
    static void Draw(QPainter& painter, const PlacedText& text);

private:
    struct Key {
        QRawFont font;
        quint32 index = 0;
        QRgb color = 0;
        friend bool operator==(const Key&, const Key&) = default;
        friend size_t qHash(const Key& key, size_t seed) {
            return qHashMulti(seed, key.font, key.index, key.color);
        }
    };
    struct Glyph {
        QImage image;   // premultiplied, in the colour; null for a blank
        QPoint offset;  // of the image's top left from the pen position
    };
    const Glyph& Find(const Key& key);

    QHash<Key, Glyph> glyphs_;
    qsizetype bytes_ = 0;
};
