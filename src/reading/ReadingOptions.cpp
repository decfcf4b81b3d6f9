#include "reading/ReadingOptions.h"

#include "settings/ReaderSettings.h"

ReadingOptions ReadingOptionsFrom(const ReaderSettings& settings, std::int32_t speedLevel) {
    return {speedLevel, settings.commaDelayLevel, settings.stopDelayLevel, settings.severalWords,
            settings.thresholdChars};
}
