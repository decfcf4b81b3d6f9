#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>

#include "frame/CommandActions.h"
#include "frame/CommandId.h"
#include "frame/CommandRules.h"
#include "frame/SettingsCommands.h"
#include "reading/ReadingSession.h"
#include "settings/AreaChoice.h"
#include "text/TextFinder.h"

class DocumentController;
class CEstimatePane;
class CHelpWindow;
class CRunHistory;
class HistoryStore;
class CPaneSplitter;
class CReadArea;
class CReaderBar;
class ShelfFile;
class CTextCtrl;
class QAction;
class QLabel;
class ShelfDocument;
class SettingsHolder;
struct ReaderSettings;

// What the main window works on: the program-wide objects it is handed, the
// desktop's screen and where the program's files lie.
struct FrameContext {
    ReaderSettings& settings;
    ShelfDocument& document;
    ShelfFile& shelf;
    QSize screenSize;
    QString helpFile;    // where start-up found the help file
    QString extrasPath;  // lmn.ini, the preferences beyond lmn.dat
    // lmn.dat, written as the window closes; none in tests that keep no file.
    SettingsHolder* settingsFile = nullptr;
    InterfaceLanguage language = InterfaceLanguage::Russian;  // the one start-up installed
    // The reading history the runs go to; none in tests that keep no file.
    HistoryStore* history = nullptr;
};

// The program's only top-level window: the reading pane above the text pane,
// the control bar and the status pane naming the reading task. It builds
// menus, keys and bar from the command table and routes each command to the
// reading session, the document controller or a dialog; a timer drives the
// session's run and the frame turns its answers into pixels.
class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(const FrameContext& context);
    ~CMainFrame() override;

    // Shows the window at the saved geometry, maximised when it was closed so.
    void ShowAtStart();
    void OnCommand(CommandId command);
    QAction* Action(CommandId command) const { return actions_.at(command); }
    // Re-evaluates every command's enabling rule.
    void UpdateCommandStates();
    // Stores what a close stores (geometry, pane height, bar, speed) in the
    // settings record, without closing.
    void StoreWindowState();
    // The session ends: a close from now on saves what it can and asks or
    // tells nothing, since nobody is left to answer.
    void SetSessionEnding() { sessionEnding_ = true; }

    ReadingTask Task() const { return session_.Task(); }
    bool IsReading() const { return session_.IsReading(); }
    // How long the group on screen stays there; 0 when not reading.
    int GroupPeriodMs() const { return session_.PeriodMs(); }
    // One tick of the reading timer.
    void Step();

    const ReadingSession& Session() const { return session_; }
    DocumentController& Documents() const { return *documents_; }
    CReaderBar* ReaderBar() const { return bar_; }
    CReadArea* ReadArea() const { return readArea_; }
    CTextCtrl* TextCtrl() const { return textCtrl_; }
    CPaneSplitter* Splitter() const { return splitter_; }
    QLabel* StatusPane() const { return statusPane_; }
    CEstimatePane* EstimatePane() const { return estimatePane_; }

signals:
    // A tick of the reading timer has run.
    void Stepped();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CommandContext CurrentContext() const;
    // The open document's characters.
    TextView Text() const;
    ReadingOptions Options() const;

    // The reading run: Space toggles it; every activation change, the end of
    // the task, a right-click in the text pane and the commands that open a
    // dialog stop it.
    void ToggleReading();
    void StopReading();
    // Left and Right, with Ctrl by sentence, while reading runs.
    void MoveReading(ReadingMove move);
    void MoveToChapter(bool forward);
    void ShowStep(const SessionStep& step);
    // The task on the pane's selection, or on the range given (a chapter).
    void ChooseReadingTask(ReadingTask task, std::optional<TextRange> range = {});
    void ShowContents();
    const std::vector<Heading>& Outline() const;
    void ShowTask();
    void TextReplaced();
    void ShowContextMenu(const QPoint& globalPosition);
    void UseWholeWindow();
    void ShareWindow();

    void ShowGeneralSettings();
    void ShowAreaSettings(AreaPane pane);
    // Checks the language menu's item of the choice lmn.ini holds.
    void ShowLanguageChoice();
    void ShowHelpFile();

    ReaderSettings& settings_;
    QSize screenSize_;
    QString helpFile_;
    QString extrasPath_;
    SettingsHolder* settingsFile_;
    InterfaceLanguage language_;
    SettingsWriteNotice settingsWrites_;
    bool sessionEnding_ = false;
    ReadingSession session_;
    TextFinder finder_;
    QTimer timer_;
    QElapsedTimer runClock_;
    bool stepping_ = false;  // a modal loop inside a step must not start another

    CommandActions actions_;
    CPaneSplitter* splitter_ = nullptr;
    CReadArea* readArea_ = nullptr;
    CTextCtrl* textCtrl_ = nullptr;
    CReaderBar* bar_ = nullptr;
    QLabel* statusPane_ = nullptr;
    CEstimatePane* estimatePane_ = nullptr;
    CHelpWindow* help_ = nullptr;
    CRunHistory* history_ = nullptr;
    DocumentController* documents_ = nullptr;
};
