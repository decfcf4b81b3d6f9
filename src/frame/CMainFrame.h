#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <map>

#include "frame/CommandId.h"
#include "frame/CommandRules.h"
#include "library/ShelfDocument.h"
#include "reading/GroupCutter.h"
#include "reading/ReadingTask.h"
#include "reading/ReadingTimer.h"

class CHelpWindow;
class CReadArea;
class CReaderBar;
class CTextArea;
class CTextCtrl;
class QAction;
class QLabel;
class QSplitter;
struct ReaderSettings;

// The program's only top-level window: the reading pane above the text pane,
// the control bar, the status pane naming the reading task, and every command
// of the program with its keys, menu item, bar button and enabling rule.
class CMainFrame : public QMainWindow, public DocumentHost {
    Q_OBJECT

public:
    CMainFrame(ReaderSettings& settings, ShelfDocument& document, QSize screenSize);
    ~CMainFrame() override;

    // Shows the window at the saved geometry, maximised when it was closed so.
    void ShowAtStart();

    // Loads the file the current document names, as its extension says; the
    // caller has set the document's path and shelf key. Shows the message
    // and returns false when the file is refused or cannot be read.
    bool LoadDocument();
    // Asks for a file and loads it; false when cancelled or not loaded.
    bool ChooseDocument();
    // Stops reading, closes the current document and loads the file at path,
    // as a file chosen in the open dialog is.
    bool OpenDocumentPath(const QString& path);
    void LoadClipboard();
    void ShowShelf();

    // Shows the open dialog; an empty path means cancelled. Tests replace it.
    std::function<QString(QWidget* parent)> chooseFile;

    void OnCommand(CommandId command);
    QAction* Action(CommandId command) const { return actions_.at(command); }
    // Re-evaluates every command's enabling rule; called whenever reading,
    // the document, the text or the selection changes.
    void UpdateCommandStates();
    CommandContext CurrentContext() const;

    // Both panes have a height; delivers the reading pane's height.
    bool BothPanesShown(int* readingPaneHeight = nullptr) const;
    void UseWholeWindow();
    void ShareWindow();
    int RememberedPaneHeight() const { return rememberedPaneHeight_; }

    // The task lives with the text it belongs to; the frame shows it.
    ReadingTask Task() const;
    void SetTask(ReadingTask task);
    bool IsReading() const { return reading_; }

    // The reading run: Space toggles it; every activation change, the end of
    // the task, a right-click in the text pane and the commands that open a
    // dialog stop it. Each tick of the timer shows the next group.
    void ToggleReading();
    void StopReading();
    void Step();
    // One of the four task commands, on the text pane's caret or selection.
    void ChooseReadingTask(ReadingTask task);
    // No task, and the next run would start afresh (the open document's shelf
    // entry went away).
    void ResetTask();
    // After a shelved document was loaded: the caret goes back to where
    // reading stopped, and reading would go on from there.
    void ResumeShelvedDocument();
    // How long the group on screen stays there; 0 when not reading.
    int GroupPeriodMs() const { return reading_ ? readingTimer_.PeriodMs() : 0; }
    const QTimer& ReadingTimerForTests() const { return timer_; }

    CReaderBar* ReaderBar() const { return bar_; }
    CReadArea* ReadArea() const { return readArea_; }
    CTextCtrl* TextCtrl() const { return textCtrl_; }
    QSplitter* Splitter() const { return splitter_; }
    QLabel* StatusPane() const { return statusPane_; }

    void ReturnToShelf(ShelfDocument& document) override;
    void DocumentCleared() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    // A local file dropped anywhere on the window opens as Open would.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void CreateActions();
    void CreateMenus();
    void CreateControlBar();
    void FinishLoad();
    void ApplyProgress(ProgressAction action);
    void ArmNextTick(int periodMs);
    void StoreControlBarPlacement();
    void ShowContextMenu(const QPoint& globalPosition);
    void ShowGeneralSettings();
    void ShowAreaSettings(bool readingArea);
    void ShowHelpFile();

    ReaderSettings& settings_;
    ShelfDocument& document_;
    QSize screenSize_;
    int rememberedPaneHeight_ = 0;
    bool reading_ = false;
    QTimer timer_;
    ReadingTimer readingTimer_;
    // Ticks are due at the start plus the sum of the periods so far; each
    // tick is armed for what is left until its due time, so the time a step
    // takes never adds up over a run.
    QElapsedTimer runClock_;
    qint64 nextDueNs_ = 0;
    bool stepping_ = false;  // a modal loop inside a step must not start another

    std::map<CommandId, QAction*> actions_;
    QSplitter* splitter_ = nullptr;
    CReadArea* readArea_ = nullptr;
    CTextArea* textArea_ = nullptr;
    CTextCtrl* textCtrl_ = nullptr;
    CReaderBar* bar_ = nullptr;
    QLabel* statusPane_ = nullptr;
    CHelpWindow* help_ = nullptr;
    QString draggedFile_;  // the file the drag over the window carries
};
