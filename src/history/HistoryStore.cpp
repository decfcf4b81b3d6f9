#include "history/HistoryStore.h"

#include <errno.h>
#include <fcntl.h>
#include <sqlite3.h>
#include <stdio.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <system_error>

#include "history/HistoryCsv.h"

namespace {

constexpr std::int64_t kDayMs = 24 * 60 * 60 * 1000;

// The columns of a run, in the order BindRun and ReadRun use. Each has a
// default so that a column missing from an older table can be added to it.
struct Column {
    const char* name;
    const char* definition;
};
constexpr Column kColumns[] = {
    {"shelf_key", "INTEGER NOT NULL DEFAULT -1"},  {"path", "TEXT NOT NULL DEFAULT ''"},
    {"name", "TEXT NOT NULL DEFAULT ''"},          {"text_length", "INTEGER NOT NULL DEFAULT 0"},
    {"task_kind", "INTEGER NOT NULL DEFAULT 0"},   {"task_from", "INTEGER NOT NULL DEFAULT 0"},
    {"task_to", "INTEGER NOT NULL DEFAULT 0"},     {"start_ms", "INTEGER NOT NULL DEFAULT 0"},
    {"spent_ms", "INTEGER NOT NULL DEFAULT 0"},    {"groups_shown", "INTEGER NOT NULL DEFAULT 0"},
    {"words_shown", "INTEGER NOT NULL DEFAULT 0"}, {"min_level", "INTEGER NOT NULL DEFAULT 0"},
    {"max_level", "INTEGER NOT NULL DEFAULT 0"},   {"last_level", "INTEGER NOT NULL DEFAULT 0"},
    {"furthest", "INTEGER NOT NULL DEFAULT 0"},
};
constexpr int kColumnCount = static_cast<int>(std::size(kColumns));

// A prepared statement, finalized when it goes.
class Statement {
public:
    Statement(sqlite3* db, const std::string& sql) {
        prepared_ = sqlite3_prepare_v2(db, sql.c_str(), -1, &statement_, nullptr);
    }
    ~Statement() { sqlite3_finalize(statement_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    void Bind(int index, std::int64_t value) { sqlite3_bind_int64(statement_, index, value); }
    void Bind(int index, const std::string& text) {
        sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()),
                          SQLITE_TRANSIENT);
    }
    // SQLITE_ROW, SQLITE_DONE or the error, which for a damaged file may
    // already have come when the statement was prepared.
    int Step() {
        if (prepared_ != SQLITE_OK) return prepared_;
        return statement_ ? sqlite3_step(statement_) : SQLITE_ERROR;
    }
    // True when the statement ran to its end without error.
    bool Run() { return Step() == SQLITE_DONE; }
    void Reset() {
        sqlite3_reset(statement_);
        sqlite3_clear_bindings(statement_);
    }
    std::int64_t Integer(int column) const { return sqlite3_column_int64(statement_, column); }
    double Real(int column) const { return sqlite3_column_double(statement_, column); }
    std::string Text(int column) const {
        const auto* text = sqlite3_column_text(statement_, column);
        return text ? std::string(reinterpret_cast<const char*>(text),
                                  sqlite3_column_bytes(statement_, column))
                    : std::string();
    }

private:
    sqlite3_stmt* statement_ = nullptr;
    int prepared_ = SQLITE_OK;
};

std::string ColumnList() {
    std::string list;
    for (const Column& column : kColumns)
        list += (list.empty() ? "" : ",") + std::string(column.name);
    return list;
}

void BindRun(Statement& statement, const ReadingRun& run) {
    const std::int64_t numbers[] = {run.shelfKey,   run.textLength, run.taskKind, run.taskFrom,
                                    run.taskTo,     run.startMs,    run.spentMs,  run.groupsShown,
                                    run.wordsShown, run.minLevel,   run.maxLevel, run.lastLevel,
                                    run.furthest};
    statement.Bind(1, numbers[0]);
    statement.Bind(2, run.path);
    statement.Bind(3, run.name);
    for (int i = 1; i < static_cast<int>(std::size(numbers)); ++i)
        statement.Bind(i + 3, numbers[i]);
}

ReadingRun ReadRun(const Statement& statement) {
    ReadingRun run;
    run.shelfKey = statement.Integer(0);
    run.path = statement.Text(1);
    run.name = statement.Text(2);
    run.textLength = statement.Integer(3);
    run.taskKind = static_cast<int>(statement.Integer(4));
    run.taskFrom = statement.Integer(5);
    run.taskTo = statement.Integer(6);
    run.startMs = statement.Integer(7);
    run.spentMs = statement.Integer(8);
    run.groupsShown = statement.Integer(9);
    run.wordsShown = statement.Integer(10);
    run.minLevel = static_cast<int>(statement.Integer(11));
    run.maxLevel = static_cast<int>(statement.Integer(12));
    run.lastLevel = static_cast<int>(statement.Integer(13));
    run.furthest = statement.Integer(14);
    return run;
}

double WordsPerMinute(std::int64_t words, std::int64_t spentMs) {
    return spentMs > 0 ? static_cast<double>(words) * 60000.0 / static_cast<double>(spentMs) : 0;
}

// Renames `from` to `to` unless `to` exists.
bool RenameUnlessTaken(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    // A file system without RENAME_NOREPLACE: look first.
    std::error_code error;
    if (std::filesystem::exists(std::filesystem::symlink_status(to, error))) {
        errno = EEXIST;
        return false;
    }
    return ::rename(from.c_str(), to.c_str()) == 0;
}

// Puts the file (or whatever is in its place) aside under the first free name
// of path.damaged, path.damaged.1, ... with its write-ahead log beside it.
std::optional<std::string> MoveAside(const std::string& path) {
    for (int number = 0; number < 1000; ++number) {
        const std::string copy =
            path + ".damaged" + (number == 0 ? std::string() : "." + std::to_string(number));
        if (RenameUnlessTaken(path, copy)) {
            // The log belongs to the damaged file; left in place it would be
            // played into the new one.
            RenameUnlessTaken(path + "-wal", copy + "-wal");
            std::error_code ignored;
            std::filesystem::remove(path + "-wal", ignored);
            std::filesystem::remove(path + "-shm", ignored);
            return copy;
        }
        if (errno != EEXIST && errno != ENOTEMPTY) return std::nullopt;
    }
    return std::nullopt;
}

bool IsDamage(int code) { return code == SQLITE_NOTADB || code == SQLITE_CORRUPT; }

}  // namespace

HistoryStore::HistoryStore(std::string path, int busyTimeoutMs)
    : path_(std::move(path)), busyTimeoutMs_(busyTimeoutMs) {}

HistoryStore::~HistoryStore() { Close(); }

void HistoryStore::Close() {
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

HistoryOpening HistoryStore::Open() {
    Close();
    damagedCopy_.clear();
    std::error_code error;
    const auto status = std::filesystem::symlink_status(path_, error);
    const bool existed = std::filesystem::exists(status);
    if (!existed || std::filesystem::is_regular_file(status)) {
        switch (OpenFile()) {
            case Opening::Sound: return existed ? HistoryOpening::Opened : HistoryOpening::Created;
            case Opening::Failed: return HistoryOpening::Unavailable;
            case Opening::Damaged: break;
        }
    }
    const std::optional<std::string> copy = MoveAside(path_);
    if (!copy) return HistoryOpening::Unavailable;
    damagedCopy_ = *copy;
    return OpenFile() == Opening::Sound ? HistoryOpening::KeptDamaged : HistoryOpening::Unavailable;
}

HistoryStore::Opening HistoryStore::OpenFile() {
    const int opened =
        sqlite3_open_v2(path_.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (opened == SQLITE_OK) sqlite3_busy_timeout(db_, busyTimeoutMs_);
    Opening result = opened == SQLITE_OK ? Opening::Sound : Opening::Failed;
    if (result == Opening::Sound) {
        // The first read of the file is where SQLite finds it is not a database.
        Statement check(db_, "PRAGMA integrity_check");
        const int step = check.Step();
        if (IsDamage(step) || (step == SQLITE_ROW && check.Text(0) != "ok")) {
            result = Opening::Damaged;
        } else if (step != SQLITE_ROW) {
            result = Opening::Failed;
        }
    }
    if (result == Opening::Sound) {
        Statement wal(db_, "PRAGMA journal_mode=WAL");
        const int step = wal.Step();
        if (IsDamage(step)) {
            result = Opening::Damaged;
        } else if (step != SQLITE_ROW || wal.Text(0) != "wal")
            result = Opening::Failed;
    }
    if (result == Opening::Sound) {
        // In WAL mode NORMAL keeps the file sound through a crash; only the
        // last transactions may be lost on power failure.
        Statement(db_, "PRAGMA synchronous=NORMAL").Run();
        if (!Migrate()) result = Opening::Failed;
    }
    if (result != Opening::Sound) Close();
    return result;
}

bool HistoryStore::Migrate() {
    Statement readVersion(db_, "PRAGMA user_version");
    if (readVersion.Step() != SQLITE_ROW) return false;
    const std::int64_t version = readVersion.Integer(0);
    if (version == kSchemaVersion) return true;
    // A newer program's file is left alone.
    if (version > kSchemaVersion) return false;
    if (!Statement(db_, "BEGIN IMMEDIATE").Run()) return false;
    bool migrated = true;
    if (version < 1) migrated = MigrateToVersion1();
    migrated = migrated &&
               Statement(db_, "PRAGMA user_version=" + std::to_string(kSchemaVersion)).Run() &&
               Statement(db_, "COMMIT").Run();
    if (!migrated) Statement(db_, "ROLLBACK").Run();
    return migrated;
}

// Version 1 is the table runs with every column of kColumns. Runs are told
// by their rowid, which an older table has whatever its columns; columns it
// lacks are added with their defaults.
bool HistoryStore::MigrateToVersion1() {
    if (!Statement(db_, "CREATE TABLE IF NOT EXISTS runs(id INTEGER PRIMARY KEY)").Run()) {
        return false;
    }
    std::vector<std::string> present;
    Statement columns(db_, "SELECT name FROM pragma_table_info('runs')");
    while (columns.Step() == SQLITE_ROW) present.push_back(columns.Text(0));
    for (const Column& column : kColumns) {
        if (std::find(present.begin(), present.end(), column.name) != present.end()) continue;
        const std::string add =
            std::string("ALTER TABLE runs ADD COLUMN ") + column.name + " " + column.definition;
        if (!Statement(db_, add).Run()) return false;
    }
    return Statement(db_, "CREATE INDEX IF NOT EXISTS runs_by_start ON runs(start_ms)").Run();
}

std::int64_t HistoryStore::Start(const ReadingRun& run) {
    const std::int64_t key = nextKey_++;
    pending_[key] = run;
    return key;
}

void HistoryStore::Update(std::int64_t runKey, const ReadingRun& run) {
    if (runKey > 0 && runKey < nextKey_) pending_[runKey] = run;
}

HistoryWriting HistoryStore::Flush() {
    if (pending_.empty()) return HistoryWriting::Written;
    if ((db_ || Open() != HistoryOpening::Unavailable) && WritePending()) {
        failureTold_ = false;
        return HistoryWriting::Written;
    }
    if (failureTold_) return HistoryWriting::StillFailing;
    failureTold_ = true;
    return HistoryWriting::Failed;
}

bool HistoryStore::WritePending() {
    if (!Statement(db_, "BEGIN IMMEDIATE").Run()) return false;
    std::map<std::int64_t, std::int64_t> inserted;
    bool written = true;
    int failure = SQLITE_OK;
    {
        std::string placeholders;
        std::string assignments;
        for (int i = 0; i < kColumnCount; ++i) {
            const std::string number = "?" + std::to_string(i + 1);
            placeholders += (i ? "," : "") + number;
            assignments += (i ? "," : "") + std::string(kColumns[i].name) + "=" + number;
        }
        Statement insert(db_,
                         "INSERT INTO runs(" + ColumnList() + ") VALUES(" + placeholders + ")");
        Statement update(db_, "UPDATE runs SET " + assignments + " WHERE rowid=?" +
                                  std::to_string(kColumnCount + 1));
        for (const auto& [key, run] : pending_) {
            const auto row = rowIds_.find(key);
            if (row != rowIds_.end()) {
                update.Reset();
                BindRun(update, run);
                update.Bind(kColumnCount + 1, row->second);
                failure = update.Step();
                if (failure != SQLITE_DONE) break;
                // Still there, unless the history was cleared meanwhile.
                if (sqlite3_changes(db_) > 0) continue;
            }
            insert.Reset();
            BindRun(insert, run);
            failure = insert.Step();
            if (failure != SQLITE_DONE) break;
            inserted[key] = sqlite3_last_insert_rowid(db_);
        }
        written = failure == SQLITE_DONE;
    }
    if (written) {
        Statement commit(db_, "COMMIT");
        failure = commit.Step();
        written = failure == SQLITE_DONE;
    }
    if (!written) {
        Statement(db_, "ROLLBACK").Run();
        // Found damaged while writing: the next Flush opens it again, which
        // puts it aside.
        if (IsDamage(failure)) Close();
        return false;
    }
    for (const auto& [key, rowId] : inserted) rowIds_[key] = rowId;
    pending_.clear();
    return true;
}

std::vector<DayWords> HistoryStore::WordsPerDay(const std::vector<std::int64_t>& dayStarts) {
    std::vector<DayWords> days;
    if (!db_) return days;
    Statement sum(
        db_, "SELECT coalesce(sum(words_shown),0) FROM runs WHERE start_ms>=?1 AND start_ms<?2");
    for (std::size_t i = 0; i + 1 < dayStarts.size(); ++i) {
        sum.Reset();
        sum.Bind(1, dayStarts[i]);
        sum.Bind(2, dayStarts[i + 1]);
        days.push_back({dayStarts[i], sum.Step() == SQLITE_ROW ? sum.Integer(0) : 0});
    }
    return days;
}

std::vector<RunSpeed> HistoryStore::RunSpeeds(std::int64_t sinceMs) {
    std::vector<RunSpeed> speeds;
    if (!db_) return speeds;
    Statement select(db_,
                     "SELECT start_ms, words_shown, spent_ms FROM runs WHERE spent_ms>0 AND "
                     "start_ms>=?1 ORDER BY start_ms, rowid");
    select.Bind(1, sinceMs);
    while (select.Step() == SQLITE_ROW) {
        speeds.push_back({select.Integer(0), WordsPerMinute(select.Integer(1), select.Integer(2))});
    }
    return speeds;
}

std::vector<ReadingRun> HistoryStore::Runs() {
    std::vector<ReadingRun> runs;
    if (!db_) return runs;
    Statement select(db_, "SELECT " + ColumnList() + " FROM runs ORDER BY start_ms, rowid");
    while (select.Step() == SQLITE_ROW) runs.push_back(ReadRun(select));
    return runs;
}

std::vector<DocumentFigures> HistoryStore::Documents() {
    // A few thousand runs at most: summed here rather than in SQL, where
    // taking the latest run's name per document is awkward.
    std::vector<DocumentFigures> documents;
    std::vector<std::int64_t> words;
    for (const ReadingRun& run : Runs()) {
        const auto same = [&run](const DocumentFigures& document) {
            return run.shelfKey >= 0 ? document.shelfKey == run.shelfKey
                                     : document.shelfKey < 0 && document.path == run.path;
        };
        auto found = std::find_if(documents.begin(), documents.end(), same);
        if (found == documents.end()) {
            documents.emplace_back().shelfKey = run.shelfKey;
            words.push_back(0);
            found = documents.end() - 1;
        }
        DocumentFigures& document = *found;
        // Runs come oldest first, so the last one seen names the document.
        document.path = run.path;
        document.name = run.name;
        document.lastReadMs = run.startMs;
        document.spentMs += run.spentMs;
        words[found - documents.begin()] += run.wordsShown;
        if (run.textLength > 0) {
            const double percent = std::min(100.0, 100.0 * static_cast<double>(run.furthest) /
                                                       static_cast<double>(run.textLength));
            document.percentRead = std::max(document.percentRead, percent);
        }
    }
    for (std::size_t i = 0; i < documents.size(); ++i) {
        documents[i].meanWordsPerMinute = WordsPerMinute(words[i], documents[i].spentMs);
    }
    std::stable_sort(documents.begin(), documents.end(),
                     [](const DocumentFigures& a, const DocumentFigures& b) {
                         return a.lastReadMs > b.lastReadMs;
                     });
    return documents;
}

std::string HistoryStore::ExportCsv() { return RunsToCsv(Runs()); }

bool HistoryStore::Clear() {
    pending_.clear();
    rowIds_.clear();
    return db_ && Statement(db_, "DELETE FROM runs").Run();
}

std::vector<std::int64_t> HistoryStore::DayStarts(std::int64_t nowMs, int days,
                                                  int utcOffsetMinutes) {
    const std::int64_t offsetMs = std::int64_t{utcOffsetMinutes} * 60000;
    const std::int64_t local = nowMs + offsetMs;
    const std::int64_t today = (local / kDayMs - (local % kDayMs < 0 ? 1 : 0)) * kDayMs - offsetMs;
    std::vector<std::int64_t> starts;
    for (int i = days - 1; i >= -1; --i) starts.push_back(today - i * kDayMs);
    return starts;
}
