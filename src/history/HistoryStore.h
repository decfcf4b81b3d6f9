#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "history/ReadingRun.h"

struct sqlite3;

// How opening the history file went.
enum class HistoryOpening {
    Opened,       // an existing file, brought up to the current schema
    Created,      // there was none; a new one was started
    KeptDamaged,  // the file was damaged or unreadable: it was put aside and a new one started
    Unavailable,  // no file could be opened or created (folder missing or read-only, newer schema)
};

// How writing the queued runs went. A failure is told once (Failed); while the
// same trouble lasts further attempts say StillFailing, and the runs stay queued.
enum class HistoryWriting { Written, Failed, StillFailing };

// Words read in one day, the day given by its start.
struct DayWords {
    std::int64_t dayStartMs = 0;
    std::int64_t words = 0;
    bool operator==(const DayWords&) const = default;
};

// One run's real speed: words shown over the time actually spent.
struct RunSpeed {
    std::int64_t startMs = 0;
    double wordsPerMinute = 0;
    bool operator==(const RunSpeed&) const = default;
};

// What the history says about one document. A document is told by its shelf
// key, or by its path when it is not on the shelf; its path and name are the
// ones of its latest run.
struct DocumentFigures {
    std::int64_t shelfKey = -1;
    std::string path;
    std::string name;
    double percentRead = 0;  // furthest position over text length, at most 100
    std::int64_t spentMs = 0;
    std::int64_t lastReadMs = 0;  // the latest run's start
    double meanWordsPerMinute = 0;
    bool operator==(const DocumentFigures&) const = default;
};

// The reading history, history.sqlite beside the shelf file, through the
// SQLite C API with prepared statements only. The file runs in WAL mode, so a
// crash mid-write loses at most the unfinished transaction, and it carries its
// schema version in PRAGMA user_version; an older file is migrated on opening.
//
// Writing is batched and never happens in Start or Update: those only queue
// the run's latest figures in memory, and Flush writes everything queued in
// one transaction on the caller's thread. The caller flushes when a run ends
// and now and then while reading (at most once a minute), away from any
// reading step; one small transaction in WAL mode takes milliseconds, which a
// worker thread would not be worth. A write that fails leaves the runs queued
// for the next Flush. The queries read what has been written.
class HistoryStore {
public:
    // Another connection holding the write lock is waited for this long.
    explicit HistoryStore(std::string path, int busyTimeoutMs = 250);
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    static constexpr int kSchemaVersion = 1;

    // Opens the file, creating it when missing. A damaged or unreadable one is
    // renamed aside to history.sqlite.damaged (numbered when taken) and a new
    // one started; DamagedCopy then names where it went.
    HistoryOpening Open();
    const std::string& DamagedCopy() const { return damagedCopy_; }
    bool IsOpen() const { return db_ != nullptr; }

    // A run begins: its figures are queued for inserting. The key names the
    // run in later updates.
    std::int64_t Start(const ReadingRun& run);
    // The run's latest figures replace the queued or written ones.
    void Update(std::int64_t runKey, const ReadingRun& run);
    // Writes every queued run in one transaction, opening the file first if
    // that has not worked yet (a damaged file put aside then shows in
    // DamagedCopy).
    HistoryWriting Flush();
    std::size_t PendingCount() const { return pending_.size(); }

    // The queries give nothing while the file is not open.
    //
    // Local days are the caller's: dayStarts holds each day's start, oldest
    // first, and one more entry for the end of the last day (a day is not
    // always 24 hours). Each run counts on the day it started.
    std::vector<DayWords> WordsPerDay(const std::vector<std::int64_t>& dayStarts);
    // Runs that have started at or after sinceMs and spent any time, oldest first.
    std::vector<RunSpeed> RunSpeeds(std::int64_t sinceMs = INT64_MIN);
    // Documents, the most recently read first.
    std::vector<DocumentFigures> Documents();
    // Every written run, oldest first.
    std::vector<ReadingRun> Runs();
    std::string ExportCsv();
    // Deletes every run, written and queued; a run still going is written
    // afresh by its next Update.
    bool Clear();

    // The start of each of the `days` days up to the one holding nowMs, and
    // the end of that day, for a time zone `utcOffsetMinutes` ahead of UTC.
    static std::vector<std::int64_t> DayStarts(std::int64_t nowMs, int days, int utcOffsetMinutes);

private:
    enum class Opening { Sound, Damaged, Failed };
    Opening OpenFile();
    bool Migrate();
    bool MigrateToVersion1();
    void Close();
    bool WritePending();

    std::string path_;
    int busyTimeoutMs_;
    sqlite3* db_ = nullptr;
    std::string damagedCopy_;
    std::int64_t nextKey_ = 1;
    std::map<std::int64_t, ReadingRun> pending_;   // by run key
    std::map<std::int64_t, std::int64_t> rowIds_;  // run key -> row id, once inserted
    bool failureTold_ = false;
};
