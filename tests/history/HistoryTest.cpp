#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "TempFolder.h"
#include "history/HistoryStore.h"
#include "history/RunRecorder.h"
#include "history/SpeedTrend.h"

namespace {

// The first column of the last row a query gives, read by a connection of the test's own.
std::string Query(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.c_str(), &db);
    std::string value;
    const auto keep = [](void* out, int, char** row, char**) {
        *static_cast<std::string*>(out) = row[0] ? row[0] : "";
        return 0;
    };
    sqlite3_exec(db, sql.c_str(), keep, &value, nullptr);
    sqlite3_close(db);
    return value;
}

ReadingRun MakeRun(std::int64_t startMs, std::int64_t words, std::int64_t spentMs,
                   std::int64_t shelfKey = 1, std::int64_t furthest = 0) {
    ReadingRun run;
    run.shelfKey = shelfKey;
    run.path = "/books/" + std::to_string(shelfKey) + ".fb2";
    run.name = "Book " + std::to_string(shelfKey);
    run.textLength = 1000;
    run.startMs = startMs;
    run.wordsShown = words;
    run.spentMs = spentMs;
    run.furthest = furthest;
    return run;
}

TEST(HistoryStore, OpensAndMigratesEarlierFiles) {
    struct Case {
        const char* name;
        const char* earlierSql;  // nullptr: no file at all
        HistoryOpening opening;
        const char* runsAfter;
    };
    const Case cases[] = {
        {"missing", nullptr, HistoryOpening::Created, "1"},
        {"empty version 0", "", HistoryOpening::Opened, "1"},
        {"version 0 with fewer columns",
         "CREATE TABLE runs(id INTEGER PRIMARY KEY, path TEXT, start_ms INTEGER);"
         "INSERT INTO runs(path, start_ms) VALUES('/old.txt', 5)",
         HistoryOpening::Opened, "2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder folder;
        const std::string path = folder.Path("history.sqlite");
        if (c.earlierSql) Query(path, c.earlierSql);
        HistoryStore store(path);
        ASSERT_EQ(store.Open(), c.opening);
        store.Start(MakeRun(10, 100, 60000));
        ASSERT_EQ(store.Flush(), HistoryWriting::Written);
        EXPECT_EQ(Query(path, "PRAGMA user_version"), "1");
        EXPECT_EQ(Query(path, "PRAGMA journal_mode"), "wal");
        EXPECT_EQ(Query(path, "SELECT count(*) FROM runs"), c.runsAfter);
        EXPECT_EQ(store.Runs().back(), MakeRun(10, 100, 60000));
    }
}

TEST(HistoryStore, AnUpdatedRunStaysOneRowWithItsLatestFigures) {
    TempFolder folder;
    HistoryStore store(folder.Path("history.sqlite"));
    ASSERT_EQ(store.Open(), HistoryOpening::Created);
    const std::int64_t key = store.Start(MakeRun(0, 0, 0));
    store.Update(key, MakeRun(0, 50, 10000));
    for (std::int64_t words : {100, 200, 300}) {
        ASSERT_EQ(store.Flush(), HistoryWriting::Written);
        store.Update(key, MakeRun(0, words, words * 200));
    }
    ASSERT_EQ(store.Flush(), HistoryWriting::Written);
    EXPECT_EQ(store.Runs(), std::vector<ReadingRun>{MakeRun(0, 300, 60000)});
}

TEST(HistoryStore, FiguresForTheStatistics) {
    TempFolder folder;
    HistoryStore store(folder.Path("history.sqlite"));
    store.Open();
    // Moscow, UTC+3: local midnight of 2 January 2026 is 21:00 UTC on the 1st.
    const std::int64_t midnight = 1767301200000;
    ReadingRun other = MakeRun(midnight - 60000, 500, 120000, -1, 400);
    other.name = "Стихи, \"избранное\"";
    for (const ReadingRun& run : {MakeRun(midnight - 3600000, 1000, 300000, 7, 200), other,
                                  MakeRun(midnight, 2000, 600000, 7, 100)}) {
        store.Start(run);
    }
    ASSERT_EQ(store.Flush(), HistoryWriting::Written);
    const auto starts = HistoryStore::DayStarts(midnight + 3600000, 3, 180);
    ASSERT_EQ(starts, (std::vector<std::int64_t>{midnight - 2 * 86400000, midnight - 86400000,
                                                 midnight, midnight + 86400000}));
    EXPECT_EQ(store.WordsPerDay(starts),
              (std::vector<DayWords>{{starts[0], 0}, {starts[1], 1500}, {starts[2], 2000}}));
    EXPECT_EQ(store.RunSpeeds(midnight - 60000),
              (std::vector<RunSpeed>{{midnight - 60000, 250}, {midnight, 200}}));
    EXPECT_EQ(store.Documents(),
              (std::vector<DocumentFigures>{
                  {7, "/books/7.fb2", "Book 7", 20, 900000, midnight, 200},
                  {-1, "/books/-1.fb2", other.name, 40, 120000, midnight - 60000, 250}}));
    const std::string csv = store.ExportCsv();
    EXPECT_NE(
        csv.find("2026-01-01T20:59:00Z,1767301140000,120000,500,0,\"Стихи, \"\"избранное\"\"\","
                 "/books/-1.fb2,-1,1000,0,0,0,0,0,0,400\r\n"),
        std::string::npos)
        << csv;
    EXPECT_TRUE(store.Clear());
    EXPECT_TRUE(store.Runs().empty());
}

TEST(HistoryStore, ADamagedFileIsKeptAsideAndANewOneStarted) {
    TempFolder folder;
    const std::string path = folder.Path("history.sqlite");
    {
        HistoryStore store(path);
        store.Open();
        for (int i = 0; i < 300; ++i) store.Start(MakeRun(i, 1, 1, i, 0));
        store.Flush();
    }
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
    struct Case {
        const char* name;
        std::function<void()> damage;
        const char* copy;
    };
    const Case cases[] = {
        {"truncated", [] {}, ".damaged"},
        {"not a database", [&] { folder.Write("history.sqlite", std::string(5000, '\x9c')); },
         ".damaged.1"},
        {"a folder", [&] { std::filesystem::create_directory(path); }, ".damaged.2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.damage();
        {
            HistoryStore store(path);
            ASSERT_EQ(store.Open(), HistoryOpening::KeptDamaged);
            EXPECT_EQ(store.DamagedCopy(), path + c.copy);
            EXPECT_TRUE(std::filesystem::exists(path + c.copy));
            store.Start(MakeRun(1, 1, 1));
            EXPECT_EQ(store.Flush(), HistoryWriting::Written);
            EXPECT_EQ(store.Runs().size(), 1u);
        }
        std::filesystem::remove(path);
    }
}

TEST(HistoryStore, AFailedWriteKeepsTheRunForTheNextFlush) {
    TempFolder folder;
    const std::string path = folder.Path("history.sqlite");
    HistoryStore store(path, 0);
    ASSERT_EQ(store.Open(), HistoryOpening::Created);
    // Another program holding the write lock makes every write fail.
    sqlite3* other = nullptr;
    sqlite3_open(path.c_str(), &other);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    store.Start(MakeRun(1, 1, 1));
    EXPECT_EQ(store.Flush(), HistoryWriting::Failed);
    EXPECT_EQ(store.Flush(), HistoryWriting::StillFailing);
    EXPECT_EQ(store.PendingCount(), 1u);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(store.Flush(), HistoryWriting::Written);
    EXPECT_EQ(store.Runs().size(), 1u);
}

TEST(HistoryStore, AKilledProgramLeavesASoundFileWithWhatItFlushed) {
    TempFolder folder;
    const std::string path = folder.Path("history.sqlite");
    const pid_t child = fork();
    if (child == 0) {
        HistoryStore store(path);
        store.Open();
        const std::int64_t key = store.Start(MakeRun(1, 10, 1000));
        store.Flush();
        store.Update(key, MakeRun(1, 20, 2000));
        store.Flush();
        // Mid-way through another write, with nothing closed.
        sqlite3* db = nullptr;
        sqlite3_open(path.c_str(), &db);
        sqlite3_exec(db, "BEGIN; DELETE FROM runs; PRAGMA cache_size=1;", nullptr, nullptr,
                     nullptr);
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_EQ(Query(path, "PRAGMA integrity_check"), "ok");
    HistoryStore store(path);
    ASSERT_EQ(store.Open(), HistoryOpening::Opened);
    EXPECT_EQ(store.Runs(), std::vector<ReadingRun>{MakeRun(1, 20, 2000)});
}

}  // namespace

TEST(RunRecorder, CountsTheTimeReallySpentReading) {
    // Recorded runs, in milliseconds of the monotonic clock. A start is due
    // to show its first group after 150 ms; `due` is what the timer was armed
    // for after the step; a group of "" is the step that ends the task.
    enum Kind { Start, Show, Stop };
    struct Event {
        Kind kind;
        std::int64_t atMs;
        const char32_t* group = U"";
        std::int32_t due = 0;
        int level = 20;
    };
    struct Case {
        const char* name;
        std::vector<Event> events;
        std::int64_t figuresAtMs;
        std::int64_t spentMs, groups, words, furthest;
        int minLevel, maxLevel;
    };
    const Case cases[] = {
        {"on time, stopped mid-group",
         {{Start, 0}, {Show, 150, U"раз два", 500}, {Show, 651, U"три,", 700}, {Stop, 900}},
         900,
         900,
         2,
         3,
         12,
         20,
         20},
        {"a late timer is reading time",
         {{Start, 0}, {Show, 150, U"раз", 500}, {Show, 1400, U"два", 500}, {Stop, 1900}},
         1900,
         1900,
         2,
         2,
         7,
         20,
         20},
        {"a stall counts as the group's time and a second",
         {{Start, 0}, {Show, 150, U"раз", 500}, {Show, 60150, U"два", 500}, {Stop, 60400}},
         60400,
         150 + 1500 + 250,
         2,
         2,
         7,
         20,
         20},
        {"a pause between runs is left out, and the earlier run with it",
         {{Start, 0},
          {Show, 150, U"раз", 500},
          {Stop, 400},
          {Start, 90000},
          {Show, 90150, U"два три", 500, 23},
          {Show, 90650, U"", 0, 24},
          {Stop, 90650}},
         99000,
         650,
         1,
         2,
         11,
         20,
         24},
        {"mid-run figures count up to now",
         {{Start, 0}, {Show, 150, U"раз", 60000, 5}},
         30150,
         30150,
         1,
         1,
         3,
         5,
         20},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RunRecorder recorder;
        std::size_t position = 0;
        for (const Event& event : c.events) {
            const std::int64_t nowNs = event.atMs * 1'000'000;
            SessionStep step;
            switch (event.kind) {
                case Start: recorder.Start(MakeRun(99, 0, 0), event.level, nowNs, 150); break;
                case Show:
                    step.group.text = event.group;
                    step.group.kind = *event.group ? StepKind::StepPlain : StepKind::StepEnd;
                    position += step.group.text.size() + 1;
                    step.group.highlight =
                        TextRange{position - step.group.text.size() - 1, position - 1};
                    step.delayMs = event.due;
                    recorder.Shown(step, event.level, nowNs);
                    break;
                case Stop: recorder.Stop(nowNs); break;
            }
        }
        const ReadingRun run = recorder.Figures(c.figuresAtMs * 1'000'000);
        EXPECT_EQ(run.startMs, 99);
        EXPECT_EQ(run.spentMs, c.spentMs);
        EXPECT_EQ(run.groupsShown, c.groups);
        EXPECT_EQ(run.wordsShown, c.words);
        EXPECT_EQ(run.furthest, c.furthest);
        EXPECT_EQ(run.minLevel, c.minLevel);
        EXPECT_EQ(run.maxLevel, c.maxLevel);
    }
}

TEST(SpeedTrend, FollowsTheLeastSquaresLine) {
    const std::tuple<const char*, std::vector<RunSpeed>, std::optional<TrendLine>> cases[] = {
        {"one run", {{5, 300}}, std::nullopt},
        {"all at once", {{5, 300}, {5, 100}}, TrendLine{5, 200, 5, 200}},
        {"scattered", {{2048, 200}, {0, 100}, {1024, 300}}, TrendLine{0, 150, 2048, 250}},
    };
    for (const auto& [name, speeds, line] : cases) EXPECT_EQ(SpeedTrend(speeds), line) << name;
}
