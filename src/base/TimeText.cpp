#include "base/TimeText.h"

#include "base/ProgramTexts.h"
#include "base/QtText.h"

QString TimeText(std::int64_t ms) {
    const std::int64_t seconds = (ms + 999) / 1000;
    if (seconds < 60) return ProgramText(kTimeSeconds).arg(seconds);
    const std::int64_t minutes = (seconds + 30) / 60;
    if (minutes < 60) return ProgramText(kTimeMinutes).arg(minutes);
    return ProgramText(kTimeHours).arg(minutes / 60).arg(minutes % 60);
}
