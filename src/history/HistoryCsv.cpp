#include "history/HistoryCsv.h"

#include <time.h>

#include <cstdio>

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string UtcTimeText(std::int64_t unixMs) {
    // Floor division, so a time before 1970 still names its own second.
    const time_t seconds = static_cast<time_t>(unixMs / 1000 - (unixMs % 1000 < 0 ? 1 : 0));
    tm utc{};
    if (!gmtime_r(&seconds, &utc)) return {};
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02dZ", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}

std::string RunsToCsv(const std::vector<ReadingRun>& runs) {
    std::string csv =
        "start,start_ms,spent_ms,words,groups,name,path,shelf_key,text_length,task_kind,task_from,"
        "task_to,min_level,max_level,last_level,furthest\r\n";
    for (const ReadingRun& run : runs) {
        const auto number = [](std::int64_t value) { return std::to_string(value); };
        const std::string fields[] = {
            UtcTimeText(run.startMs), number(run.startMs),     number(run.spentMs),
            number(run.wordsShown),   number(run.groupsShown), CsvField(run.name),
            CsvField(run.path),       number(run.shelfKey),    number(run.textLength),
            number(run.taskKind),     number(run.taskFrom),    number(run.taskTo),
            number(run.minLevel),     number(run.maxLevel),    number(run.lastLevel),
            number(run.furthest)};
        for (std::size_t i = 0; i < std::size(fields); ++i) {
            if (i > 0) csv += ',';
            csv += fields[i];
        }
        csv += "\r\n";
    }
    return csv;
}
