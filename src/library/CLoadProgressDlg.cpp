#include "library/CLoadProgressDlg.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>
#include <atomic>
#include <memory>
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
constexpr std::string_view kCancellingLabel = "Чтение прерывается…";
constexpr int kRefreshMs = 50;

}  // namespace

LoadedText RunLoadWithProgress(QWidget* parent, const ProgressLoad& load) {
    LoadProgress progress;
    LoadedText result;
    std::atomic<bool> finished{false};
    QEventLoop loop;
    std::optional<WaitCursor> wait(std::in_place);
    std::thread worker([&] {
        result = load(progress.Callback());
        finished = true;
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });

    // Until the dialog shows, the window takes no input: a command given
    // then would act on a document that is about to change.
    QTimer delay;
    delay.setSingleShot(true);
    QObject::connect(&delay, &QTimer::timeout, &loop, &QEventLoop::quit);
    delay.start(kLoadProgressDelayMs);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    delay.stop();

    if (!finished) {
        wait.reset();
        QProgressDialog dialog(ProgramText(kLoadingLabel), ProgramText(kCancelLabel), 0, 0, parent);
        dialog.setWindowTitle(ProgramText(kProgramTitle));
        dialog.setWindowModality(Qt::WindowModal);
        dialog.setMinimumDuration(0);
        dialog.setAutoClose(false);
        dialog.setAutoReset(false);
        QObject::connect(&dialog, &QProgressDialog::canceled, [&] {
            progress.Cancel();
            dialog.setLabelText(ProgramText(kCancellingLabel));
        });
        QTimer refresh;
        QObject::connect(&refresh, &QTimer::timeout, [&] {
            const auto total = static_cast<int>(progress.Total());
            if (total > 0 && dialog.maximum() != total) dialog.setMaximum(total);
            if (total > 0 && !progress.Cancelled()) {
                const auto done = static_cast<int>(progress.Done());
                dialog.setValue(done);
                dialog.setLabelText(ProgramText(kLoadingCountLabel).arg(done).arg(total));
            }
        });
        refresh.start(kRefreshMs);
        dialog.show();
        if (!finished) loop.exec();
    }
    worker.join();
    return result;
}
