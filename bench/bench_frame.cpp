// The desktop layer's speed goals, measured in the real window on Qt's
// offscreen platform: loading 10 MB from the clipboard or a TXT file, and a
// 5 MB RTF file, until the first paint,
// one reading step (cutting, highlighting, scrolling the text pane, painting)
// at the start, middle and end of 10 MB, and how exactly each group stays on
// screen during a 20-second run at level 50 in a real event loop.

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <random>

#include "app/CLmnApp.h"
#include "frame/CMainFrame.h"
#include "library/CDocumentController.h"
#include "frame/CReaderBar.h"
#include "library/CShelfFile.h"
#include "library/ShelfDocument.h"
#include "reading/CReadArea.h"
#include "reading/ReadingOptions.h"
#include "reading/ReadingSchedule.h"
#include "settings/SettingsHolder.h"
#include "text/CTextCtrl.h"

namespace {

// A started program in a temporary directory, for the whole benchmark run.
struct Program {
    QTemporaryDir directory;
    SettingsHolder settings;
    CShelfFile shelf;
    ShelfDocument document;
    Program() {
        const StartupEnvironment environment{"lmn", directory.path() + u'/', {}, QSize(1280, 1024)};
        CLmnApp::Instance()->Start(environment, settings, shelf, document);
    }
    ~Program() { CLmnApp::Instance()->ExitInstance(); }
    CMainFrame* Frame() const { return CLmnApp::Instance()->MainFrame(); }
    void LoadClipboard(const QString& text) const {
        QApplication::clipboard()->setText(text);
        Frame()->Action(CommandId::ID_LOAD_CLIPBOARD)->trigger();
    }
};

Program& TheProgram() {
    static Program program;
    return program;
}

// Russian prose-like text of about `size` characters, lines ending in CR LF.
QString Prose(std::size_t size, bool punctuation) {
    static const QString letters = "абвгдеёжзийклмнопрстуфхцчшщъыьэюя";
    std::mt19937 random(7);
    QString text;
    text.reserve(static_cast<qsizetype>(size + 64));
    int line = 0;
    while (static_cast<std::size_t>(text.size()) < size) {
        const int length = 2 + static_cast<int>(random() % 9);
        for (int i = 0; i < length; ++i)
            text += letters[static_cast<qsizetype>(random() % letters.size())];
        if (punctuation && random() % 8 == 0) text += u',';
        line += length + 1;
        if (line > 70) {
            text += "\r\n";
            line = 0;
        } else {
            text += u' ';
        }
    }
    return text;
}

void PaintNow(CMainFrame* frame) {
    frame->ReadArea()->repaint();
    frame->TextCtrl()->viewport()->repaint();
}

void BM_ClipboardLoadToFirstPaint(benchmark::State& state) {
    const QString text = Prose(10 * 1024 * 1024, true);
    Program& program = TheProgram();
    for (auto _ : state) {
        program.LoadClipboard(text);
        PaintNow(program.Frame());
    }
    state.counters["characters"] = program.Frame()->TextCtrl()->TextLength();
}
BENCHMARK(BM_ClipboardLoadToFirstPaint)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(5);

// A document file from the open command to the first paint.
void LoadFileToFirstPaint(benchmark::State& state, const QString& name, const QByteArray& bytes) {
    Program& program = TheProgram();
    const QString path = QDir(program.directory.path()).filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(bytes);
    file.close();
    CMainFrame* frame = program.Frame();
    for (auto _ : state) {
        frame->Documents().OpenFile(QFile::encodeName(path).toStdString());
        PaintNow(frame);
    }
    state.counters["characters"] = frame->TextCtrl()->TextLength();
}

void BM_TxtLoadToFirstPaint(benchmark::State& state) {
    LoadFileToFirstPaint(state, "book.txt", Prose(10 * 1024 * 1024, true).toUtf8());
}
BENCHMARK(BM_TxtLoadToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(5);

// Word-like RTF of about 5 MB: Cyrillic as \'hh escapes, a change of format
// every few words.
void BM_RtfLoadToFirstPaint(benchmark::State& state) {
    QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Times New Roman;}}"
        "{\\colortbl;\\red200\\green0\\blue0;}\\f0\\fs24 ";
    std::mt19937 random(3);
    int words = 0;
    while (rtf.size() < 5 * 1024 * 1024) {
        const int length = 2 + static_cast<int>(random() % 9);
        for (int i = 0; i < length; ++i)
            rtf +=
                QByteArray("\\'") + QByteArray::number(0xE0 + static_cast<int>(random() % 32), 16);
        rtf += ++words % 12 == 0 ? "\\par\n" : (words % 5 == 0 ? " {\\b\\cf1 " : " ");
        if (words % 5 == 0 && words % 12 != 0) rtf += "x} ";
    }
    rtf += "}";
    LoadFileToFirstPaint(state, "book.rtf", rtf);
}
BENCHMARK(BM_RtfLoadToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

void BM_ReadingStep(benchmark::State& state) {
    Program& program = TheProgram();
    CMainFrame* frame = program.Frame();
    CTextCtrl* text = frame->TextCtrl();
    if (text->TextLength() < 10'000'000) program.LoadClipboard(Prose(10 * 1024 * 1024, true));
    const double where = static_cast<double>(state.range(0)) / 100.0;
    text->SetCaret(static_cast<std::size_t>(where * text->TextLength()));
    frame->OnCommand(CommandId::ID_READ_FROM_CARET);
    frame->OnCommand(CommandId::ID_READ_TOGGLE);
    for (auto _ : state) {
        frame->Step();
        PaintNow(frame);
        if (!frame->IsReading()) {  // ran off the end: start over at the same place
            state.PauseTiming();
            text->SetCaret(static_cast<std::size_t>(where * text->TextLength()));
            frame->OnCommand(CommandId::ID_READ_FROM_CARET);
            frame->OnCommand(CommandId::ID_READ_TOGGLE);
            state.ResumeTiming();
        }
    }
    if (frame->IsReading()) frame->OnCommand(CommandId::ID_READ_TOGGLE);
}
BENCHMARK(BM_ReadingStep)->Arg(0)->Arg(50)->Arg(99)->Unit(benchmark::kMicrosecond)->Repetitions(3);

// Level 50 gives 50 ms a group (two thirds of it for a short group after a
// change of kind). Each tick is timed against the schedule the rules give.
void BM_ReadingTimingAtLevel50(benchmark::State& state) {
    Program& program = TheProgram();
    CMainFrame* frame = program.Frame();
    program.LoadClipboard(Prose(20'000, true));
    frame->ReaderBar()->SetSpeedLevel(50);
    // Let the window's activation settle first: every activation change stops
    // reading, as it should.
    QEventLoop settle;
    QTimer::singleShot(500, &settle, &QEventLoop::quit);
    settle.exec();
    for (auto _ : state) {
        frame->OnCommand(CommandId::ID_READ_ALL);
        const ReadingSchedule schedule =
            ScheduleReading(frame->TextCtrl()->Text(), frame->Session().Cursor(),
                            ReadingOptionsFrom(program.settings.settings, 50));
        std::vector<qint64> ticks;  // nanoseconds since the start command
        QElapsedTimer clock;
        QMetaObject::Connection recorder =
            QObject::connect(frame, &CMainFrame::Stepped,
                             [&] { ticks.push_back(clock.nsecsElapsed()); });
        QEventLoop loop;
        QTimer::singleShot(20'500, &loop, &QEventLoop::quit);
        clock.start();
        frame->OnCommand(CommandId::ID_READ_TOGGLE);
        loop.exec();
        if (frame->IsReading()) frame->OnCommand(CommandId::ID_READ_TOGGLE);
        QObject::disconnect(recorder);
        if (ticks.size() < 3 || ticks.size() > schedule.steps.size()) {
            state.SkipWithError("the run does not match its schedule");
            break;
        }
        // The group of tick k stays up until tick k + 1.
        std::vector<double> errors;
        for (std::size_t k = 0; k + 1 < ticks.size(); ++k) {
            const double shownMs = static_cast<double>(ticks[k + 1] - ticks[k]) / 1e6;
            errors.push_back(std::abs(shownMs - schedule.steps[k].shownMs));
        }
        std::sort(errors.begin(), errors.end());
        const double scheduledMs = static_cast<double>(schedule.steps[ticks.size() - 1].atMs);
        const double actualMs = static_cast<double>(ticks.back()) / 1e6;
        state.counters["groups"] = static_cast<double>(ticks.size());
        state.counters["median_error_ms"] = errors[errors.size() / 2];
        state.counters["p99_error_ms"] = errors[errors.size() * 99 / 100];
        state.counters["drift_percent"] = 100.0 * (actualMs - scheduledMs) / scheduledMs;
    }
}
BENCHMARK(BM_ReadingTimingAtLevel50)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    CLmnApp app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
