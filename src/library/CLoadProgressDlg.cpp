#include "library/CLoadProgressDlg.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

#include "base/ProgramTexts.h"
#include "base/QtText.h"
#include "books/LoadProgress.h"
#include "widgets/WaitCursor.h"

namespace {

constexpr std::string_view kLoadingLabel = "Чтение книги…";
// Parts are pages of a PDF, chapters or sections of other books.
constexpr std::string_view kLoadingCountLabel = "Чтение книги…\nПрочитано: %1 из %2";
constexpr std::string_view kCancelLabel = "Отмена";
constexpr int kRefreshMs = 50;

std::atomic<int> gAbandonedLoads{0};

// What the worker shares with the waiting window. It lives as long as either
// of them, so an abandoned worker writes into memory that is still there.
struct LoadState {
    LoadProgress progress;
    std::mutex mutex;
    // Guarded by the mutex: whom to wake when the load ends, none once the
    // window stopped waiting; whether it was abandoned.
    QEventLoop* waiting = nullptr;
    bool abandoned = false;
    bool finished = false;
    LoadedText result;
};

void RunWorker(const std::shared_ptr<LoadState>& state, const ProgressLoad& load) {
    LoadedText result = load(state->progress.Callback());
    const std::lock_guard lock(state->mutex);
    state->finished = true;
    state->result = std::move(result);
    if (state->abandoned) --gAbandonedLoads;
    if (state->waiting != nullptr)
        QMetaObject::invokeMethod(state->waiting, &QEventLoop::quit, Qt::QueuedConnection);
}

bool Finished(LoadState& state) {
    const std::lock_guard lock(state.mutex);
    return state.finished;
}

// Shows the dialog until the load ends or the user cancels it.
void WaitWithDialog(QWidget* parent, LoadState& state, QEventLoop& loop) {
    QProgressDialog dialog(ProgramText(kLoadingLabel), ProgramText(kCancelLabel), 0, 0, parent);
    dialog.setWindowTitle(ProgramText(kProgramTitle));
    dialog.setWindowModality(Qt::WindowModal);
    dialog.setMinimumDuration(0);
    dialog.setAutoClose(false);
    dialog.setAutoReset(false);
    // Cancel, Escape and a rejection (a session ending) all stop waiting.
    const auto cancel = [&] {
        state.progress.Cancel();
        loop.quit();
    };
    QObject::connect(&dialog, &QProgressDialog::canceled, &loop, cancel);
    QObject::connect(&dialog, &QDialog::rejected, &loop, cancel);
    QTimer refresh;
    QObject::connect(&refresh, &QTimer::timeout, &dialog, [&] {
        const auto total = static_cast<int>(state.progress.Total());
        if (total > 0 && dialog.maximum() != total) dialog.setMaximum(total);
        if (total > 0) {
            const auto done = static_cast<int>(state.progress.Done());
            dialog.setValue(done);
            dialog.setLabelText(ProgramText(kLoadingCountLabel).arg(done).arg(total));
        }
    });
    refresh.start(kRefreshMs);
    dialog.show();
    if (!Finished(state)) loop.exec();
}

}  // namespace

bool AbandonedLoadRunning() { return gAbandonedLoads > 0; }

LoadedText RunLoadWithProgress(QWidget* parent, ProgressLoad load) {
    auto state = std::make_shared<LoadState>();
    QEventLoop loop;
    state->waiting = &loop;
    std::optional<WaitCursor> wait(std::in_place);
    std::thread([state, load = std::move(load)] { RunWorker(state, load); }).detach();

    // Until the dialog shows, the window takes no input: a command given
    // then would act on a document that is about to change.
    QTimer delay;
    delay.setSingleShot(true);
    QObject::connect(&delay, &QTimer::timeout, &loop, &QEventLoop::quit);
    delay.start(kLoadProgressDelayMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    delay.stop();

    if (!Finished(*state)) {
        wait.reset();
        WaitWithDialog(parent, *state, loop);
    }
    const std::lock_guard lock(state->mutex);
    state->waiting = nullptr;
    // A cancelled load's result is dropped even when it came in meanwhile:
    // the user has been given the window back. A load still running when the
    // program quits (which ends every event loop) is abandoned too.
    if (state->progress.Cancelled() || !state->finished) {
        state->progress.Cancel();
        if (!state->finished) {
            state->abandoned = true;
            ++gAbandonedLoads;
        }
        return LoadFailure(LoadError::Cancelled);
    }
    return std::move(state->result);
}
