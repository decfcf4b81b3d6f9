#pragma once

#include <QFont>
#include <QHash>
#include <QTextLayout>
#include <QWidget>
#include <string>
#include <vector>

#include "reading/GlyphImageCache.h"
#include "settings/ReaderSettings.h"

// The upper pane, where the groups of a reading run are flashed: the display
// text centred in the reading area's font and colours, or in one-word mode
// optionally placed by its recognition letter. It never keeps the keyboard
// focus; mouse clicks and the wheel in it change the reading speed.
class CReadArea : public QWidget {
    Q_OBJECT

public:
    CReadArea(QWidget* parent, const ReaderSettings& settings);

    // The group being shown (Windows-1251); empty when nothing is read.
    void SetDisplayText(std::u32string_view text);
    const QString& DisplayText() const { return displayText_; }
    // Whether the group just shown was composed anew: then composing the
    // groups that come next costs a fraction of what each would cost alone
    // at its own step, with the work still fresh in the processor's caches.
    bool WantsUpcoming() const { return wantsUpcoming_; }
    // Composes ahead the groups the run is expected to show next.
    void PrepareUpcoming(const std::vector<std::u32string>& texts);
    // Takes the reading area's font and colours anew from the settings.
    void RecreateDrawingObjects();
    const QFont& DisplayFont() const { return font_; }

signals:
    void SpeedDownRequested(int steps);
    void SpeedUpRequested(int steps);
    // Keyboard focus arrived here; the frame hands it to the text pane.
    void FocusReceived();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    // The display text laid out with its top left at (0, 0).
    struct Composition {
        GlyphImageCache::PlacedText placed;
        QSize box;                              // the lines' extent
        qreal letterLeft = 0, letterRight = 0;  // the recognition letter's, when asked for
    };
    static constexpr qsizetype kMostWords = 4096;

    void ChangeSpeed(Qt::MouseButton button, int steps);
    // Lays the display text out for the pane's present size and mode.
    void LayOut();
    // `letter` is the recognition letter's index, or -1 for none.
    Composition Compose(const QString& text, int lineWidth, const QColor& color, int letter);
    const Composition& ComposedWord(const QColor& color);
    // Empties the one-word compositions when they are in another colour or
    // too many.
    void KeepWordsFor(const QColor& color);
    // One word at a time with the recognition letter kept in place.
    bool FocusLetterShown() const;
    bool LayoutOutdated() const;

    const ReaderSettings& settings_;
    QString displayText_;
    QFont font_;
    qreal leading_ = 0;  // the font's, between wrapped lines
    QTextLayout layout_;
    int layoutMode_ = 0;        // the several-words setting the layout was made for
    QRect shownRect_;           // every pixel of the laid-out text
    bool layoutFocus_ = false;  // whether the layout keeps the recognition letter in place
    QRect focusRect_;           // the recognition letter's strip; empty without one
    int wheelTurn_ = 0;         // eighths of a degree not yet turned into a click step
    GlyphImageCache glyphs_;
    QHash<QString, Composition> words_;  // one-word groups in the text colour
    QColor wordsColor_;
    bool wantsUpcoming_ = false;
    GlyphImageCache::PlacedText placed_;       // the group in the text colour
    GlyphImageCache::PlacedText placedFocus_;  // its recognition letter in that letter's colour
};
