#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>
#include <cstdint>

#include "history/RunRecorder.h"

class HistoryStore;
class QWidget;

// Records the window's reading runs in the history. A run's figures are
// queued in memory as it goes and written away from the reading steps: by a
// timer at most once a minute while there is anything to write, after a run
// stops and when the window closes. Trouble with the file is told once, only
// while nothing is being read and no dialog is open; reading never waits for
// the history and never stops because of it.
class CRunHistory : public QObject {
    Q_OBJECT

public:
    static constexpr int kWriteIntervalMs = 60'000;

    // Without a store nothing is recorded (a window tested without files).
    CRunHistory(HistoryStore* store, QWidget* window);

    // `run` names the document and the task; the first step is due after firstDelayMs.
    void RunStarted(const ReadingRun& run, int level, std::int32_t firstDelayMs);
    void GroupShown(const SessionStep& step, int level);
    void RunStopped();
    // The window closes: the run under way ends and everything is written
    // now; a failure is told when mayTell.
    void Close(bool mayTell);
    // The statistics window, on what has been read up to now.
    void ShowStatistics();

private:
    std::int64_t NowNs() const { return clock_.nsecsElapsed(); }
    // Writes what is queued and notes what to tell.
    void Write();
    void TellWhenIdle();
    void KeepTimerWhileNeeded();

    HistoryStore* store_;
    QWidget* window_;
    RunRecorder recorder_;
    std::int64_t runKey_ = 0;
    QElapsedTimer clock_;
    QTimer writeTimer_;
    QString damagedCopyTold_;
    QStringList notices_;  // still to be told
};
