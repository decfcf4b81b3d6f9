#include "settings/AreaFormat.h"

#include <algorithm>

#include "text/CodePage.h"

namespace {

QString FaceOf(const LogFont& font) { return QString::fromStdU16String(Cp1251ToUtf16(font.FaceName())); }

constexpr int kBoldAbove = 650;

}  // namespace

QColor ColorFromColorRef(std::uint32_t colorRef) {
    return QColor(static_cast<int>(colorRef & 0xFFu), static_cast<int>((colorRef >> 8) & 0xFFu),
                  static_cast<int>((colorRef >> 16) & 0xFFu));
}

std::uint32_t ColorRefFromColor(const QColor& color) {
    return static_cast<std::uint32_t>(color.red()) | static_cast<std::uint32_t>(color.green()) << 8 |
           static_cast<std::uint32_t>(color.blue()) << 16;
}

QFont FontFromLogFont(const LogFont& logFont) {
    QFont font(FaceOf(logFont));
    const int height = logFont.height < 0 ? -logFont.height : logFont.height;
    if (height > 0) font.setPixelSize(height);
    if (logFont.weight > 0) font.setWeight(static_cast<QFont::Weight>(std::clamp(logFont.weight, 1, 1000)));
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
