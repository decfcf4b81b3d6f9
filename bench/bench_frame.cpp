// The desktop layer's speed goals, measured as the user meets them: the real
// window, shown and exposed, driven through the event loop.
//
// - From the open (or paste) command to the end of the first paint of the
//   text pane: 10 MB TXT with paragraphs and as one single line, 10 MB HTML,
//   5 MB RTF, 10 MB from the clipboard.
// - One reading step, from the tick to the end of the window update that
//   paints both panes, at the start, middle and end of 10 MB, in one-word and
//   several-words mode, hot and after a pause; also scrolling a page and
//   selecting 200 characters, in a text with and without line breaks.
// - How exactly each group stays on screen during a run at level 50.
//
// Every timed case waits for the paint events it names and counts them; a
// case whose panes were not painted fails instead of reporting a figure.
// Times are wall time ("Time") and the process's CPU time ("cpu_us", per
// step or load); with LMN_BENCH_XSERVER_PID set to the X server's process id
// the X server's CPU time per case is given as well ("xserver_cpu_us").
//
// Runs on Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise
// (bench/run_frame_xvfb.sh runs it under Xvfb).

#include <benchmark/benchmark.h>
#include <time.h>

#include <unistd.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/CLmnApp.h"
#include "base/CodePage.h"
#include "frame/CMainFrame.h"
#include "frame/CReaderBar.h"
#include "library/DocumentController.h"
#include "library/ShelfDocument.h"
#include "library/ShelfFile.h"
#include "reading/CReadArea.h"
#include "reading/ReadingOptions.h"
#include "reading/ReadingSchedule.h"
#include "settings/SettingsHolder.h"
#include "text/CTextCtrl.h"

namespace {

constexpr std::size_t kTenMegabytes = 10 * 1024 * 1024;

qint64 ProcessCpuNs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return qint64{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

// The X server's user and system time in nanoseconds, or -1 when unknown.
qint64 XServerCpuNs() {
    static const QByteArray pid = qgetenv("LMN_BENCH_XSERVER_PID");
    if (pid.isEmpty()) return -1;
    std::ifstream stat("/proc/" + pid.toStdString() + "/stat");
    std::string line;
    if (!std::getline(stat, line)) return -1;
    // Fields after the command name, which is in parentheses: state is the
    // 3rd field, utime the 14th and stime the 15th.
    const std::size_t close = line.rfind(')');
    if (close == std::string::npos) return -1;
    std::istringstream fields(line.substr(close + 2));
    std::string field;
    qint64 utime = 0;
    qint64 stime = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) utime = std::stoll(field);
        if (i == 15) stime = std::stoll(field);
    }
    return (utime + stime) * (1'000'000'000 / sysconf(_SC_CLK_TCK));
}

// Notes the paint events of the two panes and the end of the window update
// (painting and flushing to the screen) that follows a command.
struct PaintWatch {
    QWidget* window = nullptr;
    QWidget* textPane = nullptr;  // the text widget's viewport
    QWidget* readingPane = nullptr;

    long textPaints = 0;
    long readingPaints = 0;

    // Armed: waiting for an update that has painted what is wanted.
    bool armed = false;
    bool wantText = false;
    bool wantReading = false;
    bool textPainted = false;
    bool readingPainted = false;
    int windowUpdates = 0;  // window updates in progress (nesting)
    QEventLoop* loop = nullptr;
    qint64 doneWallNs = 0;
    qint64 doneCpuNs = 0;
    QElapsedTimer clock;

    void Arm(bool text, bool reading) {
        armed = true;
        wantText = text;
        wantReading = reading;
        textPainted = false;
        readingPainted = false;
    }
    bool Satisfied() const {
        return (!wantText || textPainted) && (!wantReading || readingPainted);
    }
    void Finish() {
        doneWallNs = clock.nsecsElapsed();
        doneCpuNs = ProcessCpuNs();
        armed = false;
        if (loop != nullptr) loop->quit();
    }
};

class BenchApp : public CLmnApp {
public:
    using CLmnApp::CLmnApp;
    PaintWatch watch;

    bool notify(QObject* receiver, QEvent* event) override {
        const QEvent::Type type = event->type();
        const bool paint = type == QEvent::Paint;
        const bool windowUpdate =
            watch.window != nullptr && (type == QEvent::UpdateRequest || type == QEvent::Expose) &&
            (receiver == watch.window || receiver == watch.window->windowHandle());
        if (paint && receiver == watch.textPane) {
            ++watch.textPaints;
            watch.textPainted = true;
        }
        if (paint && receiver == watch.readingPane) {
            ++watch.readingPaints;
            watch.readingPainted = true;
        }
        if (windowUpdate) ++watch.windowUpdates;
        const bool result = CLmnApp::notify(receiver, event);
        if (windowUpdate) --watch.windowUpdates;
        // The measurement ends when the update that painted the panes has
        // also flushed them; a paint outside any window update ends it at once.
        if (watch.armed && (windowUpdate || paint) && watch.windowUpdates == 0 &&
            watch.Satisfied()) {
            watch.Finish();
        }
        return result;
    }
};

BenchApp* App() { return static_cast<BenchApp*>(CLmnApp::Instance()); }

// A started program in a temporary directory, for the whole benchmark run.
struct Program {
    QTemporaryDir directory;
    SettingsHolder settings;
    ShelfFile shelf;
    ShelfDocument document;
    QString loadedFile;  // the file whose text the text pane holds

    Program() {
        const StartupEnvironment environment{"lmn", directory.path() + u'/', {}, QSize(1920, 1080)};
        CLmnApp::Instance()->Start(environment, settings, shelf, document);
        PaintWatch& watch = App()->watch;
        watch.window = Frame();
        watch.textPane = Frame()->TextCtrl()->viewport();
        watch.readingPane = Frame()->ReadArea();
        watch.clock.start();
        // Wait until the window is exposed and painted, then let activation
        // settle: every change of the application's state stops reading.
        Frame()->activateWindow();
        QElapsedTimer waited;
        waited.start();
        while (!(Frame()->windowHandle() != nullptr && Frame()->windowHandle()->isExposed() &&
                 watch.textPaints > 0) &&
               waited.elapsed() < 10'000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        }
        Settle(500);
    }
    ~Program() { CLmnApp::Instance()->ExitInstance(); }
    CMainFrame* Frame() const { return CLmnApp::Instance()->MainFrame(); }
    bool Exposed() const {
        return Frame()->windowHandle() != nullptr && Frame()->windowHandle()->isExposed();
    }

    static void Settle(int ms) {
        QEventLoop settle;
        QTimer::singleShot(ms, &settle, &QEventLoop::quit);
        settle.exec();
    }

    QString WriteFile(const QString& name, const std::string& bytes) const {
        const QString path = QDir(directory.path()).filePath(name);
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) {
            file.write(bytes.data(), static_cast<qint64>(bytes.size()));
        }
        return path;
    }
};

// Started after the application object and ended before it.
std::unique_ptr<Program> theProgram;

Program& TheProgram() {
    if (!theProgram) theProgram = std::make_unique<Program>();
    return *theProgram;
}

// What one measured command cost, up to the end of the paint it waited for.
struct Measured {
    bool painted = false;
    double wallUs = 0;
    double cpuUs = 0;
};

// Runs `command`, then the event loop until the wanted panes have been
// painted and flushed.
template <typename Command>
Measured MeasureToPaint(bool text, bool reading, Command command) {
    PaintWatch& watch = App()->watch;
    QEventLoop loop;
    watch.loop = &loop;
    watch.Arm(text, reading);
    const qint64 wall0 = watch.clock.nsecsElapsed();
    const qint64 cpu0 = ProcessCpuNs();
    command();
    if (watch.armed) {
        QTimer timeout;
        timeout.setSingleShot(true);
        QObject::connect(&timeout, &QTimer::timeout, &loop, &QEventLoop::quit);
        timeout.start(20'000);
        loop.exec();
    }
    watch.loop = nullptr;
    Measured m;
    m.painted = !watch.armed;
    watch.armed = false;
    if (m.painted) {
        m.wallUs = static_cast<double>(watch.doneWallNs - wall0) / 1e3;
        m.cpuUs = static_cast<double>(watch.doneCpuNs - cpu0) / 1e3;
    }
    return m;
}

// Per-case totals turned into the benchmark's counters.
struct CaseTotals {
    long textPaints0 = App()->watch.textPaints;
    long readingPaints0 = App()->watch.readingPaints;
    qint64 xserver0 = XServerCpuNs();
    double cpuUs = 0;
    long measured = 0;

    bool Add(benchmark::State& state, const Measured& m) {
        if (!m.painted) {
            state.SkipWithError("the pane was not painted");
            return false;
        }
        state.SetIterationTime(m.wallUs / 1e6);
        cpuUs += m.cpuUs;
        ++measured;
        return true;
    }
    void Report(benchmark::State& state) const {
        if (measured == 0) return;
        state.counters["cpu_us"] = cpuUs / static_cast<double>(measured);
        state.counters["text_paints"] = static_cast<double>(App()->watch.textPaints - textPaints0);
        state.counters["reading_paints"] =
            static_cast<double>(App()->watch.readingPaints - readingPaints0);
        const qint64 xserver1 = XServerCpuNs();
        if (xserver0 >= 0 && xserver1 >= 0) {
            state.counters["xserver_cpu_us"] =
                static_cast<double>(xserver1 - xserver0) / 1e3 / static_cast<double>(measured);
        }
    }
};

// Russian prose-like text of `size` characters in Windows-1251; paragraphs of
// a few lines end in CR LF, or there is no line break at all. Each word is
// new, or, with `zipf`, drawn from 50,000 word forms by Zipf's law, as a
// book's words roughly are: its 4,096 commonest then make up about four
// fifths of the running text.
std::string Prose(std::size_t size, bool lineBreaks, bool zipf = false) {
    static const std::string letters = UnicodeToCp1251(U"абвгдеёжзийклмнопрстуфхцчшщъыьэюя");
    std::mt19937 random(7);
    const auto newWord = [](std::mt19937& from) {
        std::string word;
        const int length = 2 + static_cast<int>(from() % 9);
        for (int i = 0; i < length; ++i) word += letters[from() % letters.size()];
        return word;
    };
    std::vector<std::string> forms;
    std::vector<double> weights;
    if (zipf) {
        std::mt19937 formRandom(11);
        for (int rank = 1; rank <= 50'000; ++rank) {
            forms.push_back(newWord(formRandom));
            weights.push_back(1.0 / rank);
        }
    }
    std::discrete_distribution<std::size_t> byRank(weights.begin(), weights.end());
    std::string text;
    text.reserve(size + 64);
    int line = 0;
    while (text.size() < size) {
        const std::string word = zipf ? forms[byRank(random)] : newWord(random);
        text += word;
        const unsigned mark = random() % 16;
        if (mark == 0) text += ',';
        if (mark == 1) text += '.';
        line += static_cast<int>(word.size()) + 1;
        if (lineBreaks && line > 70) {
            text += "\r\n";
            line = 0;
        } else {
            text += ' ';
        }
    }
    text.resize(size);
    return text;
}

// A page of about `size` bytes in Windows-1251 that says so: paragraphs,
// headings, links, entities and a table now and then.
std::string HtmlPage(std::size_t size) {
    std::mt19937 random(11);
    std::string page =
        "<!DOCTYPE html>\n<html><head><meta http-equiv=\"Content-Type\" "
        "content=\"text/html; charset=windows-1251\"><title>Book</title></head>\n<body>\n";
    const std::string prose = Prose(size, false);
    std::size_t at = 0;
    while (page.size() < size) {
        const std::size_t take = 200 + random() % 600;
        const std::string words = prose.substr(at % (prose.size() - take), take);
        at += take;
        switch (random() % 8) {
            case 0: page += "<h2>" + words.substr(0, 40) + "</h2>\n"; break;
            case 1:
                page += "<p><a href=\"c.html#p\">" + words.substr(0, 30) + "</a> &laquo;" + words +
                        "&raquo;&nbsp;&mdash;</p>\n";
                break;
            case 2: page += "<table><tr><td>" + words + "</td></tr></table>\n"; break;
            default: page += "<p class=\"text\">" + words + "</p>\n"; break;
        }
    }
    page += "</body></html>\n";
    return page;
}

// Word-like RTF of about `size` bytes: Cyrillic as \'hh escapes, a change of
// format every few words.
std::string RtfDocument(std::size_t size) {
    std::string rtf =
        "{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0\\fcharset204 Times New Roman;}}"
        "{\\colortbl;\\red200\\green0\\blue0;}\\f0\\fs24 ";
    std::mt19937 random(3);
    int words = 0;
    char escape[8];
    while (rtf.size() < size) {
        const int length = 2 + static_cast<int>(random() % 9);
        for (int i = 0; i < length; ++i) {
            std::snprintf(escape, sizeof escape, "\\'%02x", 0xE0 + static_cast<int>(random() % 32));
            rtf += escape;
        }
        rtf += ++words % 12 == 0 ? "\\par\n" : (words % 5 == 0 ? " {\\b\\cf1 " : " ");
        if (words % 5 == 0 && words % 12 != 0) rtf += "x} ";
    }
    rtf += "}";
    return rtf;
}

// The most memory the process has held so far; run one case alone to see
// what that case needs.
double PeakResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.starts_with("VmHWM:")) return std::stod(line.substr(6)) / 1024.0;
    }
    return 0;
}

// Opens a file as the open command does once the user has chosen it.
void OpenFile(const QString& path) {
    TheProgram().Frame()->Documents().OpenFile(QFile::encodeName(path).toStdString());
}

// A one-word text: an empty clipboard would only bring the message that it
// holds no text, which waits for an answer nobody gives here.
void EmptyTextPane() {
    OpenFile(TheProgram().WriteFile("word.txt", "word\n"));
    TheProgram().loadedFile.clear();
    QCoreApplication::processEvents();
}

// A document from the open command to the first paint of the text pane; the
// pane holds a one-word text before each load.
void LoadFileToFirstPaint(benchmark::State& state, const QString& name, const std::string& bytes) {
    Program& program = TheProgram();
    const QString path = program.WriteFile(name, bytes);
    CaseTotals totals;
    for (auto _ : state) {
        state.PauseTiming();
        EmptyTextPane();
        state.ResumeTiming();
        if (!totals.Add(state, MeasureToPaint(true, false, [&] { OpenFile(path); }))) break;
    }
    program.loadedFile = path;
    totals.Report(state);
    state.counters["characters"] = program.Frame()->TextCtrl()->Document().Length();
    state.counters["peak_rss_mb"] = PeakResidentMegabytes();
}

void BM_TxtLoadToFirstPaint(benchmark::State& state) {
    LoadFileToFirstPaint(state, "book.txt", Prose(kTenMegabytes, true));
}
BENCHMARK(BM_TxtLoadToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// 10 MB of UTF-8: Russian prose with Latin accents, Greek, CJK and an emoji
// now and then, about 5.5 million characters.
void BM_Utf8TxtLoadToFirstPaint(benchmark::State& state) {
    static const std::string utf8 = [] {
        std::u32string text = Cp1251ToUnicode(Prose(kTenMegabytes / 2, true));
        for (std::size_t i = 1000; i < text.size(); i += 1000) text[i] = U"éλ日😀"[i / 1000 % 4];
        std::string bytes = ToUtf8(text);
        while (bytes.size() < kTenMegabytes) bytes += bytes.substr(0, kTenMegabytes - bytes.size());
        bytes.resize(kTenMegabytes);
        while ((static_cast<unsigned char>(bytes.back()) & 0xC0) == 0x80) bytes.pop_back();
        if (static_cast<unsigned char>(bytes.back()) >= 0xC0) bytes.pop_back();
        return bytes;
    }();
    LoadFileToFirstPaint(state, "book-utf8.txt", utf8);
}
BENCHMARK(BM_Utf8TxtLoadToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_TxtSingleLineLoadToFirstPaint(benchmark::State& state) {
    LoadFileToFirstPaint(state, "line.txt", Prose(kTenMegabytes, false));
}
BENCHMARK(BM_TxtSingleLineLoadToFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_HtmlLoadToFirstPaint(benchmark::State& state) {
    LoadFileToFirstPaint(state, "book.html", HtmlPage(kTenMegabytes));
}
BENCHMARK(BM_HtmlLoadToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RtfLoadToFirstPaint(benchmark::State& state) {
    LoadFileToFirstPaint(state, "book.rtf", RtfDocument(kTenMegabytes / 2));
}
BENCHMARK(BM_RtfLoadToFirstPaint)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ClipboardLoadToFirstPaint(benchmark::State& state) {
    const QString text = QString::fromStdU32String(Cp1251ToUnicode(Prose(kTenMegabytes, true)));
    CaseTotals totals;
    for (auto _ : state) {
        state.PauseTiming();
        EmptyTextPane();
        QApplication::clipboard()->setText(text);
        state.ResumeTiming();
        const Measured m = MeasureToPaint(true, false, [] {
            TheProgram().Frame()->Action(CommandId::ID_LOAD_CLIPBOARD)->trigger();
        });
        if (!totals.Add(state, m)) break;
    }
    totals.Report(state);
    state.counters["characters"] = TheProgram().Frame()->TextCtrl()->Document().Length();
}
BENCHMARK(BM_ClipboardLoadToFirstPaint)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// Makes sure the text pane holds the 10 MB text of this shape.
void LoadTenMegabytes(bool lineBreaks) {
    Program& program = TheProgram();
    const QString name = lineBreaks ? "book.txt" : "line.txt";
    const QString path = QDir(program.directory.path()).filePath(name);
    if (program.loadedFile == path) return;
    program.WriteFile(name, Prose(kTenMegabytes, lineBreaks));
    OpenFile(path);
    program.loadedFile = path;
    QCoreApplication::processEvents();
}

// One tick's work up to the end of its painting; a function of its own so
// that a profiler can collect exactly this
// (valgrind --toggle-collect=*MeasuredStep*). Each step re-arms the reading
// timer for the group's period, so the timer itself never runs a step here.
[[gnu::noinline]] Measured MeasuredStep(CMainFrame* frame) {
    return MeasureToPaint(true, true, [frame] { frame->Step(); });
}

void StartReadingAt(CMainFrame* frame, std::size_t position) {
    if (frame->IsReading()) frame->OnCommand(CommandId::ID_READ_TOGGLE);
    frame->TextCtrl()->SetCaret(position);
    frame->OnCommand(CommandId::ID_READ_FROM_CARET);
    frame->OnCommand(CommandId::ID_READ_TOGGLE);
    // The first group of a task settles the timer; it is not the common step.
    frame->Step();
    QCoreApplication::processEvents();
}

// One reading step: cutting the group, highlighting it in the text pane and
// painting both panes. Arguments: where reading stands in percent of the
// text, several-words mode, whether the text has line breaks, and how long
// the process sleeps before each step (as it does while a group is shown,
// when other processes take the caches over).
void BM_ReadingStep(benchmark::State& state) {
    Program& program = TheProgram();
    CMainFrame* frame = program.Frame();
    const bool lineBreaks = state.range(2) != 0;
    LoadTenMegabytes(lineBreaks);
    program.settings.settings.severalWords = static_cast<std::int32_t>(state.range(1));
    const auto start = static_cast<std::size_t>(static_cast<double>(state.range(0)) / 100.0 *
                                                frame->TextCtrl()->Document().Length());
    StartReadingAt(frame, start);
    const auto pause = std::chrono::milliseconds(state.range(3));
    CaseTotals totals;
    for (auto _ : state) {
        if (pause.count() > 0) std::this_thread::sleep_for(pause);
        if (!totals.Add(state, MeasuredStep(frame))) break;
        if (!frame->IsReading()) {  // ran off the end: start over at the same place
            state.PauseTiming();
            StartReadingAt(frame, start);
            state.ResumeTiming();
        }
    }
    if (frame->IsReading()) frame->OnCommand(CommandId::ID_READ_TOGGLE);
    program.settings.settings.severalWords = 0;
    totals.Report(state);
}
BENCHMARK(BM_ReadingStep)
    ->ArgNames({"percent", "several", "breaks", "pause_ms"})
    ->Args({0, 0, 1, 0})
    ->Args({50, 0, 1, 0})
    ->Args({99, 0, 1, 0})
    ->Args({0, 1, 1, 0})
    ->Args({50, 1, 1, 0})
    ->Args({99, 1, 1, 0})
    ->Args({99, 0, 0, 0})
    ->Args({99, 1, 0, 0})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(400);
BENCHMARK(BM_ReadingStep)
    ->ArgNames({"percent", "several", "breaks", "pause_ms"})
    ->Args({99, 0, 1, 50})
    ->Args({99, 1, 1, 50})
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(100);

// A page down in the text pane near the end of 10 MB, as the scroll bar does it.
void BM_ScrollPage(benchmark::State& state) {
    Program& program = TheProgram();
    CMainFrame* frame = program.Frame();
    LoadTenMegabytes(state.range(0) != 0);
    QScrollBar* bar = frame->TextCtrl()->verticalScrollBar();
    const int from = bar->maximum() - bar->maximum() / 50;
    bar->setValue(from);
    QCoreApplication::processEvents();
    CaseTotals totals;
    for (auto _ : state) {
        const Measured m = MeasureToPaint(
            true, false, [bar] { bar->triggerAction(QScrollBar::SliderPageStepAdd); });
        if (!totals.Add(state, m)) break;
        if (bar->value() >= bar->maximum()) {
            state.PauseTiming();
            bar->setValue(from);
            QCoreApplication::processEvents();
            state.ResumeTiming();
        }
    }
    totals.Report(state);
}
BENCHMARK(BM_ScrollPage)
    ->ArgNames({"breaks"})
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(200);

// Selecting 200 characters near the end of 10 MB, moving by 200 each time.
void BM_SelectText(benchmark::State& state) {
    Program& program = TheProgram();
    CMainFrame* frame = program.Frame();
    LoadTenMegabytes(state.range(0) != 0);
    CTextCtrl* text = frame->TextCtrl();
    const std::size_t from = static_cast<std::size_t>(text->Document().Length()) * 99 / 100;
    std::size_t at = from;
    CaseTotals totals;
    for (auto _ : state) {
        at += 200;
        const Measured m = MeasureToPaint(true, false, [&] { text->SetSelection(at, at + 200); });
        if (!totals.Add(state, m)) break;
    }
    totals.Report(state);
}
BENCHMARK(BM_SelectText)
    ->ArgNames({"breaks"})
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(200);

// Level 50 gives 50 ms a group (two thirds of it for a short group after a
// change of kind). Each tick is timed against the schedule the rules give.
// Argument: whether the words follow Zipf's law rather than all being new;
// then the run starts as if well into a book, the groups of 15,000 words
// having been shown.
void BM_ReadingTimingAtLevel50(benchmark::State& state) {
    Program& program = TheProgram();
    CMainFrame* frame = program.Frame();
    const bool zipf = state.range(0) != 0;
    EmptyTextPane();
    QApplication::clipboard()->setText(
        QString::fromStdU32String(Cp1251ToUnicode(Prose(zipf ? 150'000 : 20'000, true, zipf))));
    frame->Action(CommandId::ID_LOAD_CLIPBOARD)->trigger();
    frame->ReaderBar()->SetSpeedLevel(50);
    if (zipf) {
        StartReadingAt(frame, 0);
        for (int i = 0; i < 15'000 && frame->IsReading(); ++i) frame->Step();
        if (frame->IsReading()) frame->OnCommand(CommandId::ID_READ_TOGGLE);
    }
    Program::Settle(500);
    for (auto _ : state) {
        frame->OnCommand(CommandId::ID_READ_ALL);
        const ReadingSchedule schedule =
            ScheduleReading(frame->TextCtrl()->Document().Characters(), frame->Session().Cursor(),
                            ReadingOptionsFrom(program.settings.settings, 50));
        std::vector<qint64> ticks;  // nanoseconds since the start command
        QElapsedTimer clock;
        QMetaObject::Connection recorder = QObject::connect(
            frame, &CMainFrame::Stepped, [&] { ticks.push_back(clock.nsecsElapsed()); });
        QEventLoop loop;
        QTimer::singleShot(20'500, &loop, &QEventLoop::quit);
        const qint64 cpu0 = ProcessCpuNs();
        clock.start();
        frame->OnCommand(CommandId::ID_READ_TOGGLE);
        loop.exec();
        const qint64 cpu1 = ProcessCpuNs();
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
        state.counters["cpu_us_per_group"] =
            static_cast<double>(cpu1 - cpu0) / 1e3 / static_cast<double>(ticks.size());
        state.counters["median_error_ms"] = errors[errors.size() / 2];
        state.counters["p99_error_ms"] = errors[errors.size() * 99 / 100];
        state.counters["drift_percent"] = 100.0 * (actualMs - scheduledMs) / scheduledMs;
    }
}
BENCHMARK(BM_ReadingTimingAtLevel50)
    ->ArgName("zipf")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kSecond)
    ->Iterations(1);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    BenchApp app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theProgram.reset();
    std::printf("paint events seen: text pane %ld, reading pane %ld (platform %s)\n",
                app.watch.textPaints, app.watch.readingPaints,
                qPrintable(QGuiApplication::platformName()));
    return 0;
}
