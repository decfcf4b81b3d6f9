#include "settings/AreaChoice.h"

#include <cmath>
#include <cstdlib>

namespace {

constexpr std::int32_t kBoldWeight = 700;

}  // namespace

std::string StyleNameFor(const LogFont& font) {
    const bool bold = font.weight == kBoldWeight;
    const bool italic = font.italic != 0;
    if (bold && italic) return "Bold Italic";
    if (bold) return "Bold";
    if (italic) return "Italic";
    return "Regular";
}

AreaAppearance AreaDefaults(AreaPane pane) {
    AreaAppearance area;
    switch (pane) {
        case AreaPane::Reading:
            area = DefaultReadingArea();
            break;
        case AreaPane::Text:
            area = DefaultTextArea();
            break;
    }
    area.font.charSet = 0;
    return area;
}

void ApplyChosenFont(AreaAppearance& area, const LogFont& chosen, int tenthsOfPoint) {
    area.font = chosen;
    area.pointSize = tenthsOfPoint / 10;
    area.SetStyleName(StyleNameFor(chosen));
}

int ShownPointSize(const AreaAppearance& area, AreaPane pane, double dotsPerInch) {
    switch (pane) {
        case AreaPane::Reading:
            if (area.font.height != 0 && dotsPerInch > 0) {
                const double pixels = std::llabs(static_cast<long long>(area.font.height));
                return static_cast<int>(std::lround(pixels * 72.0 / dotsPerInch));
            }
            break;
        case AreaPane::Text: break;
    }
    return area.pointSize;
}
