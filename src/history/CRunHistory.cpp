#include "history/CRunHistory.h"

#include <QApplication>
#include <QFile>

#include "base/ProgramTexts.h"
#include "base/QtText.h"
#include "history/CHistoryDlg.h"
#include "history/HistoryStore.h"
#include "widgets/ProgramMessages.h"

CRunHistory::CRunHistory(HistoryStore* store, QWidget* window)
    : QObject(window), store_(store), window_(window) {
    clock_.start();
    writeTimer_.setInterval(kWriteIntervalMs);
    connect(&writeTimer_, &QTimer::timeout, this, [this] {
        if (recorder_.Running() && store_) store_->Update(runKey_, recorder_.Figures(NowNs()));
        Write();
        KeepTimerWhileNeeded();
    });
    // A damaged file put aside while opening is told once the window is up.
    QTimer::singleShot(0, this, [this] {
        Write();
        KeepTimerWhileNeeded();
    });
}

void CRunHistory::RunStarted(const ReadingRun& run, int level, std::int32_t firstDelayMs) {
    if (!store_) return;
    recorder_.Start(run, level, NowNs(), firstDelayMs);
    runKey_ = store_->Start(recorder_.Figures(NowNs()));
    if (!writeTimer_.isActive()) writeTimer_.start();
}

void CRunHistory::GroupShown(const SessionStep& step, int level) {
    recorder_.Shown(step, level, NowNs());
}

void CRunHistory::RunStopped() {
    if (!store_ || !recorder_.Running()) return;
    recorder_.Stop(NowNs());
    store_->Update(runKey_, recorder_.Figures(NowNs()));
    // Not now: the stop may come from inside a reading step.
    QTimer::singleShot(0, this, [this] {
        Write();
        KeepTimerWhileNeeded();
    });
}

void CRunHistory::Close(bool mayTell) {
    if (!store_) return;
    if (recorder_.Running()) {
        recorder_.Stop(NowNs());
        store_->Update(runKey_, recorder_.Figures(NowNs()));
    }
    writeTimer_.stop();
    // Anything told before stays told; what is left unwritten now is lost.
    if (store_->Flush() != HistoryWriting::Written && mayTell)
        ShowWarning(window_, ProgramText(kHistoryUnsavedAtExit));
}

void CRunHistory::ShowStatistics() {
    if (!store_) return;
    // The file is opened at the first write or look, whichever comes first.
    if (!store_->IsOpen()) store_->Open();
    Write();
    CHistoryDlg(*store_, window_).exec();
}

void CRunHistory::Write() {
    if (!store_) return;
    const HistoryWriting written = store_->Flush();
    const QString copy = QFile::decodeName(QByteArray::fromStdString(store_->DamagedCopy()));
    if (!copy.isEmpty() && copy != damagedCopyTold_) {
        damagedCopyTold_ = copy;
        notices_ << ProgramText(kHistoryDamaged).arg(copy);
    }
    if (written == HistoryWriting::Failed) notices_ << ProgramText(kHistoryWriteFailed);
    TellWhenIdle();
}

void CRunHistory::TellWhenIdle() {
    // A message box now would cover the reading pane or stack on a dialog;
    // the timer brings it back later.
    while (!notices_.isEmpty() && !recorder_.Running() && !QApplication::activeModalWidget() &&
           !QApplication::activePopupWidget()) {
        ShowWarning(window_, notices_.takeFirst());
    }
}

void CRunHistory::KeepTimerWhileNeeded() {
    if (recorder_.Running() || !notices_.isEmpty() || (store_ && store_->PendingCount() > 0)) {
        if (!writeTimer_.isActive()) writeTimer_.start();
    } else {
        writeTimer_.stop();
    }
}
