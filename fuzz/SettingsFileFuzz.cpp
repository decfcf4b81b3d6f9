// Reads arbitrary bytes as a settings file. Serialising always gives the
// 348-byte record, which reads back unchanged; a full record of the current
// layout is written back byte for byte. What loading keeps of it is a record
// the program can show, which stays as it is when loaded again.

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/LittleEndian.h"
#include "settings/ReaderSettings.h"
#include "settings/SettingsBounds.h"

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ReaderSettings defaults = DefaultSettings(1024, 768);
    const ReaderSettings settings = ParseSettings(bytes, defaults);
    const std::string serialized = SerializeSettings(settings);
    Check(serialized.size() == ReaderSettings::kFileSize);
    const ReaderSettings again = ParseSettings(serialized, defaults);
    Check(again == settings);
    Check(SerializeSettings(again) == serialized);
    // The layout marker is the record's last word.
    if (bytes.size() >= ReaderSettings::kFileSize &&
        le::GetI32(bytes, ReaderSettings::kFileSize - 4) == ReaderSettings::kLayoutMarker) {
        Check(serialized == bytes.substr(0, ReaderSettings::kFileSize));
    }

    const ReaderSettings loaded = WithinProgramRanges(settings, defaults);
    for (const AreaAppearance* area : {&loaded.readingArea, &loaded.textArea}) {
        Check(area->textColor != area->backgroundColor);
        Check(area->font.height != 0 && !area->font.FaceName().empty());
    }
    Check(loaded.readingPaneHeight > 0 && loaded.windowWidth > 0 && loaded.windowHeight > 0);
    Check(loaded.speedLevel >= 1 && loaded.speedLevel <= 50);
    Check(WithinProgramRanges(ParseSettings(SerializeSettings(loaded), defaults), defaults) ==
          loaded);
    return 0;
}
