// The reading pane repaints only where the group changes, and what it sends
// to the screen (its window's backing store) is always what a whole repaint
// would show.

#include <gtest/gtest.h>

#include <algorithm>
#include <span>

#include <QApplication>
#include <QBackingStore>
#include <QImage>
#include <QPaintEvent>
#include <QPainter>

#include "TestText.h"
#include "base/CodePage.h"
#include "reading/CReadArea.h"
#include "settings/AreaFormat.h"
#include "settings/ReaderSettings.h"

namespace {

// Notes the region of every paint event of one widget.
class PaintRegions : public QObject {
public:
    explicit PaintRegions(QWidget* widget) { widget->installEventFilter(this); }
    QRegion last;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) last = static_cast<QPaintEvent*>(event)->region();
        return false;
    }
};

// The smallest rectangle holding every pixel that is not the background.
QRect InkBox(const QImage& image, QRgb background) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if ((row[x] & 0xFFFFFF) != (background & 0xFFFFFF)) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// The group as Qt's own text drawing puts it: one line centred both ways, or
// wrapped within the middle three quarters and centred.
QImage DrawnByQt(const ReaderSettings& settings, QSize pane, const QString& text) {
    QImage image(pane, QImage::Format_RGB32);
    image.fill(ColorFromColorRef(settings.readingArea.backgroundColor));
    QPainter painter(&image);
    const QFont font = FontFromLogFont(settings.readingArea.font);
    painter.setFont(font);
    painter.setPen(ColorFromColorRef(settings.readingArea.textColor));
    if (settings.severalWords == 0) {
        painter.drawText(QRect(QPoint(), pane), Qt::AlignCenter | Qt::TextSingleLine, text);
        return image;
    }
    const int left = pane.width() / 8;
    const int right = pane.width() - pane.width() / 8;
    const int flags = Qt::TextWordWrap | Qt::AlignHCenter;
    const QRect measured =
        QFontMetrics(font).boundingRect(QRect(left, 0, right - left, pane.height()), flags, text);
    const QRect box((left + right - measured.width()) / 2, (pane.height() - measured.height()) / 2,
                    measured.width(), measured.height());
    painter.drawText(box, flags, text);
    return image;
}

TEST(ReadAreaPaint, GroupsStandWhereQtWouldDrawThem) {
    struct Case {
        const char* name;
        int severalWords;
        const char* text;
    };
    const Case cases[] = {
        {"one word", 0, "Слово,"},
        {"one word wider than the pane", 0, "Превысокопревосходительство"},
        {"one short word", 0, "я"},
        {"several words on one line", 1, "два слова"},
        {"several words on three lines", 1, "четыре слова здесь и ещё пять слов тут"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReaderSettings settings = DefaultSettings(1024, 768);
        settings.severalWords = c.severalWords;
        CReadArea area(nullptr, settings);
        area.resize(600, 300);
        area.SetDisplayText(FromUtf8(c.text));
        const QRgb background = ColorFromColorRef(settings.readingArea.backgroundColor).rgb();
        const QRect ours =
            InkBox(area.grab().toImage().convertToFormat(QImage::Format_RGB32), background);
        const QRect qts =
            InkBox(DrawnByQt(settings, area.size(), QString::fromUtf8(c.text)), background);
        ASSERT_GT(qts.width(), 10);
        EXPECT_NEAR(ours.left(), qts.left(), 2);
        EXPECT_NEAR(ours.right(), qts.right(), 2);
        EXPECT_NEAR(ours.top(), qts.top(), 2);
        EXPECT_NEAR(ours.bottom(), qts.bottom(), 2);
    }
}

TEST(ReadAreaPaint, UnderlinedAndStruckOutFontsDrawTheirLines) {
    for (const bool underline : {true, false}) {
        SCOPED_TRACE(underline ? "underline" : "strike-out");
        ReaderSettings settings = DefaultSettings(1024, 768);
        (underline ? settings.readingArea.font.underline : settings.readingArea.font.strikeOut) = 1;
        CReadArea area(nullptr, settings);
        area.resize(600, 300);
        area.SetDisplayText(FromUtf8("слово"));
        const QImage image = area.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QRgb background = ColorFromColorRef(settings.readingArea.backgroundColor).rgb();
        const QRect ink = InkBox(image, background);
        ASSERT_GT(ink.width(), 100);
        // Some row is inked across nine tenths of the word: the line.
        int longestRow = 0;
        for (int y = ink.top(); y <= ink.bottom(); ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            int inked = 0;
            for (int x = ink.left(); x <= ink.right(); ++x) {
                inked += (row[x] & 0xFFFFFF) != (background & 0xFFFFFF) ? 1 : 0;
            }
            longestRow = std::max(longestRow, inked);
        }
        EXPECT_GE(longestRow, ink.width() * 9 / 10);
    }
}

TEST(ReadAreaPaint, RepaintsOnlyWhereTheGroupChangesAndLeavesNothingBehind) {
    struct Mode {
        const char* name;
        int severalWords;
        bool focusLetter;
    };
    for (const Mode mode : {Mode{"one word", 0, false}, Mode{"several words", 1, false},
                            Mode{"recognition letter", 0, true}}) {
        SCOPED_TRACE(mode.name);
        ReaderSettings settings = DefaultSettings(1024, 768);
        settings.severalWords = mode.severalWords;
        settings.extras.focusLetter = mode.focusLetter;
        CReadArea area(nullptr, settings);
        area.resize(700, 250);
        area.show();
        QApplication::processEvents();
        PaintRegions regions(&area);
        const QRgb focusColor =
            ColorFromColorRef(settings.extras.focusLetterColor).rgb() & 0xFFFFFF;
        const char* const groups[] = {"длинноесловонаэкране", "я", "", "два слова и ещё три слова",
                                      "Конец."};
        for (const char* group : groups) {
            SCOPED_TRACE(group);
            area.SetDisplayText(FromUtf8(group));
            QApplication::processEvents();
            QPaintDevice* store = area.backingStore()->paintDevice();
            ASSERT_EQ(store->devType(), QInternal::Image);
            const QImage onScreen = static_cast<QImage*>(store)
                                        ->copy(area.rect())
                                        .convertToFormat(QImage::Format_RGB32);
            const QImage whole = area.grab().toImage().convertToFormat(QImage::Format_RGB32);
            EXPECT_TRUE(onScreen == whole);
            const bool focusColorShown =
                std::ranges::any_of(std::span(reinterpret_cast<const QRgb*>(whole.constBits()),
                                              whole.sizeInBytes() / sizeof(QRgb)),
                                    [&](QRgb pixel) { return (pixel & 0xFFFFFF) == focusColor; });
            EXPECT_EQ(focusColorShown, mode.focusLetter && *group != '\0');
        }
        // From a long group to a short one: the long one's place is repainted,
        // the pane's edges are not.
        area.SetDisplayText(FromUtf8("длинноесловонаэкране"));
        QApplication::processEvents();
        area.SetDisplayText(FromUtf8("я"));
        QApplication::processEvents();
        const QRect repainted = regions.last.boundingRect();
        EXPECT_FALSE(repainted.isEmpty());
        EXPECT_FALSE(repainted.contains(QRect(0, 0, 1, 1)));
        EXPECT_FALSE(repainted.contains(QRect(699, 249, 1, 1)));
        EXPECT_GT(repainted.width(), 300);
    }
}

}  // namespace

// One-word groups are composed once and kept: a word met again, after the
// colours, the font or the pane's size changed, looks as it does in a pane
// that shows it for the first time.
TEST(ReadAreaPaint, AWordMetAgainLooksAsInAFreshPane) {
    ReaderSettings settings = DefaultSettings(1024, 768);
    CReadArea area(nullptr, settings);
    area.resize(600, 300);
    const auto show = [&area](const char* group) {
        area.SetDisplayText(FromUtf8(group));
        return area.grab().toImage();
    };
    const auto fresh = [&](const char* group) {
        CReadArea pane(nullptr, settings);
        pane.resize(area.size());
        pane.SetDisplayText(FromUtf8(group));
        return pane.grab().toImage();
    };
    show("слово");
    show("другое");
    EXPECT_TRUE(show("слово") == fresh("слово")) << "met again";
    settings.readingArea.textColor = 0x00008000;
    EXPECT_TRUE(show("слово") == fresh("слово")) << "in another colour";
    area.resize(500, 200);
    EXPECT_TRUE(show("слово") == fresh("слово")) << "in a smaller pane";
    settings.readingArea.font.height *= 2;
    area.RecreateDrawingObjects();
    EXPECT_TRUE(show("слово") == fresh("слово")) << "in a larger font";
}
