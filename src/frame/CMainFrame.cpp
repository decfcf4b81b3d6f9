#include "frame/CMainFrame.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

#include "base/ProgramTexts.h"
#include "base/QtText.h"
#include "frame/CAboutDlg.h"
#include "frame/CHelpTextDlg.h"
#include "frame/CHelpWindow.h"
#include "frame/CPaneSplitter.h"
#include "frame/CReaderBar.h"
#include "frame/CommandActions.h"
#include "frame/DocumentFileDialog.h"
#include "frame/SettingsCommands.h"
#include "history/CRunHistory.h"
#include "library/DocumentController.h"
#include "reading/CEstimatePane.h"
#include "reading/CReadArea.h"
#include "reading/ReadingOptions.h"
#include "settings/ExtrasFile.h"
#include "settings/ReaderSettings.h"
#include "settings/SettingsBounds.h"
#include "settings/SettingsHolder.h"
#include "text/CContentsDlg.h"
#include "text/CTextArea.h"
#include "text/CTextCtrl.h"
#include "text/FindCommands.h"
#include "widgets/CCommandKeyFilter.h"
#include "widgets/CDragSizeLimit.h"
#include "widgets/CFileDropTarget.h"
#include "widgets/ProgramMessages.h"

namespace {

// Groups of the text the estimate walks between two turns of the event loop:
// about a millisecond's work, so neither reading nor typing waits for it.
constexpr std::size_t kEstimateSliceGroups = 20'000;
// Groups the reading pane composes ahead when it meets one it has not
// composed yet.
constexpr std::size_t kUpcomingGroups = 32;

}  // namespace

CMainFrame::CMainFrame(const FrameContext& context)
    : settings_(context.settings),
      screenSize_(context.screenSize),
      helpFile_(context.helpFile),
      extrasPath_(context.extrasPath),
      settingsFile_(context.settingsFile),
      language_(context.language) {
    setObjectName("MainFrame");
    setWindowIcon(QIcon(":/icons/app.svg"));
    setGeometry(settings_.windowLeft, settings_.windowTop, settings_.windowWidth,
                settings_.windowHeight);
    const MinimumSize minimum = MinimumWindowSize(screenSize_.width(), screenSize_.height());
    new CDragSizeLimit(this, QSize(minimum.width, minimum.height));
    // Only the text pane's context menu exists: the bar, the menu bar and the
    // rest of the window offer no stock menu that could hide the bar.
    setContextMenuPolicy(Qt::PreventContextMenu);
    // A local file dropped anywhere on the window opens as Open would.
    connect(new CFileDropTarget(this), &CFileDropTarget::FileDropped, this, [this](QString path) {
        StopReading();
        documents_->OpenFile(QFile::encodeName(path).toStdString());
        UpdateCommandStates();
    });

    const int paneHeight = BoundedPaneHeight(settings_.readingPaneHeight, screenSize_.height());
    splitter_ = new CPaneSplitter(this, paneHeight);
    readArea_ = new CReadArea(splitter_, settings_);
    auto* textArea = new CTextArea(splitter_, settings_.textArea);
    textCtrl_ = textArea->TextCtrl();
    splitter_->SetPanes(readArea_, textArea, settings_.windowHeight);
    setCentralWidget(splitter_);

    statusPane_ = new QLabel(this);
    statusPane_->setObjectName("TaskStatus");
    statusBar()->addWidget(statusPane_, 1);
    estimatePane_ = new CEstimatePane(
        statusBar(),
        [this] {
            std::optional<std::size_t> chapterEnd;
            if (!Outline().empty())
                chapterEnd = ChapterAround(Outline(), session_.Place(), Text().size()).end;
            return session_.Estimate(Text(), Options(), runClock_.nsecsElapsed(), chapterEnd);
        },
        [this] { return session_.PrepareEstimate(Text(), Options(), kEstimateSliceGroups); });

    actions_ = CreateCommandActions(*this, [this](CommandId id) { OnCommand(id); });
    FillMenuBar(*menuBar(), actions_);
    ShowLanguageChoice();
    new CCommandKeyFilter(textCtrl_, ProgramKeys(),
                          {Action(CommandId::ID_SPEED_UP), Action(CommandId::ID_SPEED_DOWN)},
                          ReadingMoveActions(actions_));
    bar_ = new CReaderBar(this, actions_, settings_.speedLevel);
    addToolBar(CReaderBar::DockArea(settings_), bar_);

    documents_ = new DocumentController(
        context.document, context.shelf, [this] { return textCtrl_->Selection(); }, settings_,
        screenSize_, this);
    connect(documents_, &DocumentController::TextChanged, this,
            [this] { textCtrl_->ShowDocument(documents_->Text()); });
    connect(documents_, &DocumentController::SelectionRequested, textCtrl_,
            &CTextCtrl::SetSelection);
    connect(documents_, &DocumentController::TitleChanged, this, &QWidget::setWindowTitle);
    connect(documents_, &DocumentController::TextReplaced, this, &CMainFrame::TextReplaced);
    connect(documents_, &DocumentController::ReadFromCaret, this,
            [this] { ChooseReadingTask(ReadingTask::TaskFromCaret); });
    connect(documents_, &DocumentController::TaskDropped, this, [this] {
        bar_->ApplyProgress(session_.DropTask());
        ShowTask();
    });
    connect(documents_, &DocumentController::CommandsChanged, this,
            &CMainFrame::UpdateCommandStates);
    setWindowTitle(documents_->Title());
    history_ = new CRunHistory(context.history, this);

    // While reading no command depends on the selection, and each group
    // moves it.
    connect(textCtrl_, &QPlainTextEdit::selectionChanged, this, [this] {
        if (!IsReading()) UpdateCommandStates();
    });
    connect(textCtrl_, &CTextCtrl::RightButtonPressed, this, &CMainFrame::ShowContextMenu);
    connect(readArea_, &CReadArea::SpeedDownRequested, bar_, &CReaderBar::SpeedDown);
    connect(readArea_, &CReadArea::SpeedUpRequested, bar_, &CReaderBar::SpeedUp);
    connect(bar_, &CReaderBar::SpeedLevelChanged, estimatePane_, &CEstimatePane::Refresh);
    connect(readArea_, &CReadArea::FocusReceived, this, [this] { textCtrl_->setFocus(); });
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &CMainFrame::Step);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, &CMainFrame::StopReading);
    textCtrl_->setFocus();
    UpdateCommandStates();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::ShowAtStart() {
    if (settings_.windowMaximized != 0) {
        showMaximized();
    } else {
        show();
    }
    textCtrl_->setFocus();
}

TextView CMainFrame::Text() const { return documents_->Text().Characters(); }

const std::vector<Heading>& CMainFrame::Outline() const { return documents_->Text().Outline(); }

CommandContext CMainFrame::CurrentContext() const {
    const TextRange selection = textCtrl_->Selection();
    return {IsReading(), documents_->Document().key, static_cast<int>(Text().size()),
            static_cast<int>(selection.end - selection.start), !Outline().empty()};
}

void CMainFrame::UpdateCommandStates() {
    const CommandContext context = CurrentContext();
    for (auto& [id, action] : actions_) action->setEnabled(IsCommandEnabled(id, context));
}

void CMainFrame::OnCommand(CommandId command) {
    using enum CommandId;
    if (StopsReadingFirst(command)) StopReading();
    switch (command) {
        case ID_READ_TOGGLE: ToggleReading(); break;
        case ID_LOAD_CLIPBOARD:
            if (!IsReading()) documents_->LoadClipboard();
            break;
        case ID_COPY_TEXT: textCtrl_->CopySelection(); break;
        case ID_VIEW_WHOLE_WINDOW: UseWholeWindow(); break;
        case ID_VIEW_SHARED_WINDOW: ShareWindow(); break;
        case ID_SPEED_UP: bar_->SpeedUp(1); break;
        case ID_SPEED_DOWN: bar_->SpeedDown(1); break;
        case ID_READ_BACK: MoveReading(ReadingMove::PreviousGroup); break;
        case ID_READ_FORWARD: MoveReading(ReadingMove::NextGroup); break;
        case ID_READ_BACK_SENTENCE: MoveReading(ReadingMove::PreviousSentence); break;
        case ID_READ_FORWARD_SENTENCE: MoveReading(ReadingMove::NextSentence); break;
        case ID_READ_PREVIOUS_CHAPTER: MoveToChapter(false); break;
        case ID_READ_NEXT_CHAPTER: MoveToChapter(true); break;
        case ID_APP_EXIT: close(); break;
        case ID_READ_ALL: ChooseReadingTask(ReadingTask::TaskWholeText); break;
        case ID_READ_FROM_CARET: ChooseReadingTask(ReadingTask::TaskFromCaret); break;
        case ID_READ_TO_CARET: ChooseReadingTask(ReadingTask::TaskToCaret); break;
        case ID_READ_SELECTION: ChooseReadingTask(ReadingTask::TaskSelection); break;
        case ID_READ_CHAPTER:
            ChooseReadingTask(
                ReadingTask::TaskChapter,
                ChapterAround(Outline(), textCtrl_->Selection().start, Text().size()));
            break;
        case ID_CONTENTS: ShowContents(); break;
        case ID_OPEN_DOCUMENT: ChooseAndOpenDocument(this, *documents_); break;
        case ID_SHELF_SHOW: documents_->ShowShelf(); break;
        case ID_SHELF_PUT: documents_->PutOnShelf(); break;
        case ID_BOOKMARKS_SHOW: documents_->ShowBookmarks(); break;
        case ID_BOOKMARK_PUT:
            // Shift places the bookmark at once. The desktop reports only
            // whether a Shift key is down, not which, so either Shift does.
            documents_->PlaceBookmark(QGuiApplication::queryKeyboardModifiers() &
                                      Qt::ShiftModifier);
            break;
        case ID_HELP_HOTKEYS: CHelpTextDlg(HelpTextMode::HotKeys, this).exec(); break;
        case ID_HELP_MOUSE: CHelpTextDlg(HelpTextMode::MouseUsage, this).exec(); break;
        case ID_SETTINGS_GENERAL: ShowGeneralSettings(); break;
        case ID_SETTINGS_READ_AREA: ShowAreaSettings(AreaPane::Reading); break;
        case ID_SETTINGS_TEXT_AREA: ShowAreaSettings(AreaPane::Text); break;
        case ID_FIND: ShowFindDialog(finder_, documents_->Text(), *textCtrl_); break;
        case ID_FIND_NEXT: FindNextCommand(finder_, documents_->Text(), *textCtrl_); break;
        case ID_FIND_SELECTION:
            FindSelectionCommand(finder_, documents_->Text(), *textCtrl_);
            break;
        case ID_LANGUAGE_RUSSIAN:
        case ID_LANGUAGE_ENGLISH:
        case ID_LANGUAGE_DESKTOP:
            RunLanguageChoice(this, LanguageChoiceOfCommand(command), language_, extrasPath_,
                              settingsWrites_);
            ShowLanguageChoice();
            break;
        case ID_HELP_CONTENTS: ShowHelpFile(); break;
        case ID_READING_STATS: history_->ShowStatistics(); break;
        case ID_APP_ABOUT: CAboutDlg(this).exec(); break;
    }
    UpdateCommandStates();
}

void CMainFrame::ToggleReading() {
    if (Task() == ReadingTask::TaskNone) {
        ShowNote(this, ProgramText(kNoTaskExplanation));
        return;
    }
    if (IsReading()) {
        StopReading();
        return;
    }
    runClock_.start();
    textCtrl_->SetReading(true);
    const std::int32_t firstDelayMs = session_.Start(Options(), 0);
    timer_.start(firstDelayMs);
    history_->RunStarted(RunRecorder::Describe(documents_->Document(), session_.Cursor(),
                                               Text().size(), QDateTime::currentMSecsSinceEpoch()),
                         bar_->SpeedLevel(), firstDelayMs);
    documents_->ReadingStarted();
    if (!splitter_->BothPanesShown()) UseWholeWindow();
    estimatePane_->SetLive(true);
    UpdateCommandStates();
}

void CMainFrame::StopReading() {
    timer_.stop();
    textCtrl_->SetReading(false);
    history_->RunStopped();
    if (IsReading()) {
        session_.Stop();
        documents_->ReadingStopped();
    }
    readArea_->SetDisplayText({});
    if (!splitter_->BothPanesShown()) UseWholeWindow();
    estimatePane_->SetLive(false);
    UpdateCommandStates();
}

void CMainFrame::Step() {
    if (stepping_ || !IsReading()) return;
    stepping_ = true;
    ShowStep(
        session_.Step(Text(), Options(), splitter_->ReadingPaneShown(), runClock_.nsecsElapsed()));
    stepping_ = false;
    emit Stepped();
}

void CMainFrame::MoveReading(ReadingMove move) {
    if (stepping_ || !IsReading()) return;
    ShowStep(session_.Move(move, Text(), Options(), splitter_->ReadingPaneShown(),
                           runClock_.nsecsElapsed()));
    estimatePane_->Refresh();
}

void CMainFrame::MoveToChapter(bool forward) {
    if (stepping_ || !IsReading()) return;
    ShowStep(session_.MoveToChapter(forward, Text(), Outline(), Options(),
                                    splitter_->ReadingPaneShown(), runClock_.nsecsElapsed()));
    estimatePane_->Refresh();
}

void CMainFrame::ShowStep(const SessionStep& step) {
    history_->GroupShown(step, bar_->SpeedLevel());
    // Every paint is a round trip to the window system. The progress bar
    // paints at once when its picture changes: changed after the panes and
    // the estimate, it takes them along in that paint instead of leaving
    // them one of their own.
    if (step.group.ShowsText()) readArea_->SetDisplayText(step.group.text);
    if (const auto& lit = step.group.highlight)
        textCtrl_->ShowReadingHighlight(lit->start, lit->end);
    if (IsReading()) estimatePane_->GroupShown(step.delayMs);
    if (step.progressPosition) bar_->SetProgress(*step.progressPosition);
    bar_->ApplyProgress(step.group.progress);
    if (IsReading() && readArea_->WantsUpcoming()) {
        readArea_->PrepareUpcoming(session_.UpcomingTexts(Text(), Options(), kUpcomingGroups));
    }
    if (IsReading()) {
        timer_.start(step.delayMs);
    } else {
        StopReading();
        documents_->ReadingStopped();
        ShowTask();
    }
}

ReadingOptions CMainFrame::Options() const {
    return ReadingOptionsFrom(settings_, bar_->SpeedLevel());
}

void CMainFrame::ChooseReadingTask(ReadingTask task, std::optional<TextRange> range) {
    const ReadingSession::TaskChange change =
        session_.ChooseTask(task, range.value_or(textCtrl_->Selection()));
    bar_->ApplyProgress(change.progress);
    ShowTask();
    textCtrl_->SetSelection(change.choice.selection.start, change.choice.selection.end);
    if (change.choice.selectWordAtCaret) textCtrl_->SelectWordAtCaret();
}

void CMainFrame::ShowTask() {
    QString status = ProgramText(TaskStatusText(Task()));
    if (Task() == ReadingTask::TaskChapter)
        status = status.arg(
            HeadingTitleText(ChapterTitle(Outline(), Text(), session_.Cursor().taskStart)));
    statusPane_->setText(status);
    estimatePane_->Refresh();
}

// The chosen chapter's heading is selected, and reading goes on from it.
void CMainFrame::ShowContents() {
    CContentsDlg dialog(Outline(), textCtrl_->Selection().start, this);
    if (dialog.exec() != QDialog::Accepted || !dialog.Chosen()) return;
    const std::size_t start = Outline()[*dialog.Chosen()].position;
    ChooseReadingTask(ReadingTask::TaskFromCaret, TextRange{start, start});
    const TextRange title = LineAt(Text(), start);
    textCtrl_->SetSelection(title.start, title.end);
}

void CMainFrame::TextReplaced() {
    bar_->ApplyProgress(session_.TextLoaded(Text().size()));
    ShowTask();
}

void CMainFrame::ShowContextMenu(const QPoint& globalPosition) {
    // The run stops at its next step, whatever is chosen from the menu.
    if (IsReading()) session_.AbortAtNextStep();
    ExecContextMenu(*this, actions_, CurrentContext(), globalPosition,
                    [this](CommandId id) { OnCommand(id); });
}

void CMainFrame::UseWholeWindow() { splitter_->UseWholeWindow(IsReading(), screenSize_.height()); }

void CMainFrame::ShareWindow() { splitter_->ShareWindow(height() - menuBar()->height()); }

void CMainFrame::ShowGeneralSettings() {
    if (RunGeneralSettings(this, settings_, extrasPath_, settingsWrites_))
        bar_->SetSpeedLevel(kDefaultSpeedLevel);
    estimatePane_->Refresh();
    readArea_->update();
}

void CMainFrame::ShowAreaSettings(AreaPane pane) {
    RunAreaSettings(this, settings_, pane, *readArea_, *textCtrl_);
}

void CMainFrame::ShowLanguageChoice() {
    Action(LanguageChoiceCommand(LoadLanguageChoice(extrasPath_)))->setChecked(true);
}

void CMainFrame::ShowHelpFile() {
    if (help_ == nullptr) help_ = new CHelpWindow(this);
    help_->ShowHelp(helpFile_);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    StoreWindowState();
    if (!documents_->CloseForExit(!sessionEnding_)) {
        event->ignore();
        return;
    }
    history_->Close(!sessionEnding_);
    // Written while the window is there to tell of a failure, not at exit.
    if (settingsFile_ != nullptr) {
        const bool written = settingsFile_->Save();
        settingsFile_->SetSaveOnExit(false);
        if (!sessionEnding_)
            settingsWrites_.Written(this, QFile::decodeName(settingsFile_->Path().c_str()),
                                    written);
    }
    event->accept();
}

void CMainFrame::StoreWindowState() {
    const QRect normal = normalGeometry();
    settings_.windowLeft = normal.left();
    settings_.windowTop = normal.top();
    settings_.windowWidth = normal.width();
    settings_.windowHeight = normal.height();
    settings_.windowMaximized = isMaximized() ? 1 : 0;
    settings_.readingPaneHeight = splitter_->ReadingPaneHeight();
    bar_->StorePlacement(toolBarArea(bar_), settings_);
    settings_.speedLevel = bar_->SpeedLevel();
}
