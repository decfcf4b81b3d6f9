#include "settings/AreaFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include <QFontInfo>

#include "base/CodePage.h"
#include "base/QtText.h"

namespace {

QString FaceOf(const LogFont& font) {
    return ToQString(Cp1251ToUnicode(font.FaceName()));
}

constexpr int kBoldAbove = 650;
constexpr double kPointsPerInch = 72.0;
// The pitch bits of a LOGFONT's pitch and family.
constexpr std::uint8_t kFixedPitch = 1;
constexpr std::uint8_t kVariablePitch = 2;

// The size of a LOGFONT height, whichever its sign; a height of -2^31 from a
// damaged file must not overflow on the way.
long long HeightSize(std::int32_t height) { return std::llabs(static_cast<long long>(height)); }

int PixelsOf(const QFont& font, double dotsPerInch) {
    if (font.pixelSize() > 0) return font.pixelSize();
    return static_cast<int>(std::lround(font.pointSizeF() * dotsPerInch / kPointsPerInch));
}

}  // namespace

QFont FontFromLogFont(const LogFont& logFont) {
    QFont font(FaceOf(logFont));
    const long long height = HeightSize(logFont.height);
    if (height > 0) font.setPixelSize(static_cast<int>(std::min(height, 0x7FFFFFFFLL)));
    if (logFont.weight > 0)
        font.setWeight(static_cast<QFont::Weight>(std::clamp(logFont.weight, 1, 1000)));
    font.setItalic(logFont.italic != 0);
    font.setUnderline(logFont.underline != 0);
    font.setStrikeOut(logFont.strikeOut != 0);
    return font;
}

QFont TextAreaFont(const AreaAppearance& area) {
    QFont font(FaceOf(area.font));
    if (area.pointSize > 0) font.setPointSizeF(area.pointSize * 0.95);
    font.setBold(area.font.weight > kBoldAbove);
    font.setItalic(area.font.italic != 0);
    return font;
}

LogFont LogFontFromFont(const QFont& font, const LogFont& base, double dotsPerInch) {
    LogFont chosen = base;
    chosen.width = 0;
    chosen.escapement = 0;
    chosen.orientation = 0;
    const int pixels = PixelsOf(font, dotsPerInch);
    chosen.height = HeightSize(base.height) == pixels ? base.height : -pixels;
    chosen.weight = font.weight();
    chosen.italic = font.italic() ? 1 : 0;
    chosen.underline = font.underline() ? 1 : 0;
    chosen.strikeOut = font.strikeOut() ? 1 : 0;
    chosen.SetFaceName(UnicodeToCp1251(FromQString(font.family())));
    if (chosen.FaceName() != base.FaceName()) {
        chosen.pitchAndFamily = QFontInfo(font).fixedPitch() ? kFixedPitch : kVariablePitch;
    }
    return chosen;
}

int TenthsOfPoint(const QFont& font, double dotsPerInch) {
    if (font.pointSizeF() > 0) return static_cast<int>(std::lround(font.pointSizeF() * 10));
    return static_cast<int>(std::lround(font.pixelSize() * 10 * kPointsPerInch / dotsPerInch));
}

QFont FontForChoosing(const AreaAppearance& area, AreaPane pane, double dotsPerInch) {
    QFont font = FontFromLogFont(area.font);
    switch (pane) {
        case AreaPane::Reading:
            if (area.font.height != 0) {
                font.setPointSizeF(static_cast<double>(HeightSize(area.font.height)) *
                                   kPointsPerInch / dotsPerInch);
            }
            break;
        case AreaPane::Text:
            if (area.pointSize > 0) font.setPointSizeF(area.pointSize);
            break;
    }
    return font;
}

bool ChoiceChangesFont(const QFont& chosen, const QFont& initial) {
    return chosen.family() != initial.family() || chosen.weight() != initial.weight() ||
           chosen.italic() != initial.italic() ||
           std::lround(chosen.pointSizeF()) != std::lround(initial.pointSizeF());
}
