#include "frame/CMainFrame.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileDialog>
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
#include "library/CDocumentController.h"
#include "reading/CReadArea.h"
#include "reading/ReadingOptions.h"
#include "settings/CAreaDlg.h"
#include "settings/CGeneralDlg.h"
#include "settings/ReaderSettings.h"
#include "settings/SettingsBounds.h"
#include "text/CTextArea.h"
#include "text/CTextCtrl.h"
#include "text/DocumentPath.h"
#include "text/FindCommands.h"
#include "widgets/CDragSizeLimit.h"
#include "widgets/ProgramMessages.h"

namespace {

// The one filter of the open dialog. The patterns in the last parentheses,
// hidden from the user, match the extensions in any case.
const QString kDocumentFilter =
    "Documents (*.txt, *.rtf, *.htm, *.html, *.plg) "
    "(*.[Tt][Xx][Tt] *.[Rr][Tt][Ff] *.[Hh][Tt][Mm] *.[Hh][Tt][Mm][Ll] *.[Pp][Ll][Gg])";

}  // namespace

CMainFrame::CMainFrame(const FrameContext& context)
    : settings_(context.settings),
      screenSize_(context.screenSize),
      programDirectory_(context.programDirectory) {
    setObjectName("MainFrame");
    setWindowIcon(QIcon(":/icons/app.svg"));
    setGeometry(settings_.windowLeft, settings_.windowTop, settings_.windowWidth,
                settings_.windowHeight);
    const MinimumSize minimum = MinimumWindowSize(screenSize_.width(), screenSize_.height());
    new CDragSizeLimit(this, QSize(minimum.width, minimum.height));
    // Only the text pane's context menu exists: the bar, the menu bar and the
    // rest of the window offer no stock menu that could hide the bar.
    setContextMenuPolicy(Qt::PreventContextMenu);

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

    actions_ = CreateCommandActions(*this, [this](CommandId id) { OnCommand(id); });
    FillMenuBar(*menuBar(), actions_);
    textCtrl_->SetProgramKeys(ProgramKeys());
    textCtrl_->SetKeypadActions({Action(CommandId::ID_SPEED_UP), Action(CommandId::ID_SPEED_DOWN)});
    bar_ = new CReaderBar(this, actions_, settings_.speedLevel);
    addToolBar(CReaderBar::DockArea(settings_), bar_);

    documents_ = new CDocumentController(context.document, context.shelf, *textCtrl_, settings_,
                                         screenSize_, this);
    connect(documents_, &CDocumentController::TitleChanged, this, &QWidget::setWindowTitle);
    connect(documents_, &CDocumentController::TextReplaced, this, &CMainFrame::TextReplaced);
    connect(documents_, &CDocumentController::ReadFromCaret, this,
            [this] { ChooseReadingTask(ReadingTask::TaskFromCaret); });
    connect(documents_, &CDocumentController::TaskDropped, this, [this] {
        bar_->ApplyProgress(session_.DropTask());
        ShowTask();
    });
    connect(documents_, &CDocumentController::CommandsChanged, this,
            &CMainFrame::UpdateCommandStates);
    setWindowTitle(documents_->Title());

    connect(textCtrl_, &QPlainTextEdit::selectionChanged, this, &CMainFrame::UpdateCommandStates);
    connect(textCtrl_, &CTextCtrl::RightButtonPressed, this, &CMainFrame::ShowContextMenu);
    connect(readArea_, &CReadArea::SpeedDownRequested, bar_, &CReaderBar::SpeedDown);
    connect(readArea_, &CReadArea::SpeedUpRequested, bar_, &CReaderBar::SpeedUp);
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

CommandContext CMainFrame::CurrentContext() const {
    const TextRange selection = textCtrl_->Selection();
    return {IsReading(), documents_->Document().key, textCtrl_->TextLength(),
            static_cast<int>(selection.end - selection.start)};
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
        case ID_APP_EXIT: close(); break;
        case ID_READ_ALL: ChooseReadingTask(ReadingTask::TaskWholeText); break;
        case ID_READ_FROM_CARET: ChooseReadingTask(ReadingTask::TaskFromCaret); break;
        case ID_READ_TO_CARET: ChooseReadingTask(ReadingTask::TaskToCaret); break;
        case ID_READ_SELECTION: ChooseReadingTask(ReadingTask::TaskSelection); break;
        case ID_OPEN_DOCUMENT: ChooseDocument(); break;
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
        case ID_SETTINGS_READ_AREA: ShowAreaSettings(true); break;
        case ID_SETTINGS_TEXT_AREA: ShowAreaSettings(false); break;
        case ID_FIND: ShowFindDialog(finder_, *textCtrl_); break;
        case ID_FIND_NEXT: FindNextCommand(finder_, *textCtrl_); break;
        case ID_FIND_SELECTION: FindSelectionCommand(finder_, *textCtrl_); break;
        case ID_HELP_CONTENTS: ShowHelpFile(); break;
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
    timer_.start(session_.Start(ReadingOptionsFrom(settings_, bar_->SpeedLevel()), 0));
    documents_->ReadingStarted();
    if (!splitter_->BothPanesShown()) UseWholeWindow();
    UpdateCommandStates();
}

void CMainFrame::StopReading() {
    timer_.stop();
    if (IsReading()) {
        session_.Stop();
        documents_->ReadingStopped();
    }
    readArea_->SetDisplayText({});
    if (!splitter_->BothPanesShown()) UseWholeWindow();
    UpdateCommandStates();
}

void CMainFrame::Step() {
    if (stepping_ || !IsReading()) return;
    stepping_ = true;
    int paneHeight = 0;
    splitter_->BothPanesShown(&paneHeight);
    const SessionStep step =
        session_.Step(textCtrl_->Text(), ReadingOptionsFrom(settings_, bar_->SpeedLevel()),
                      paneHeight > 0, runClock_.nsecsElapsed());
    bar_->ApplyProgress(step.group.progress);
    if (step.group.ShowsText()) readArea_->SetDisplayText(step.group.text);
    if (const auto& lit = step.group.highlight) textCtrl_->SetSelection(lit->start, lit->end);
    if (IsReading()) {
        timer_.start(step.delayMs);
    } else {
        StopReading();
        documents_->ReadingStopped();
        ShowTask();
    }
    stepping_ = false;
    emit Stepped();
}

void CMainFrame::ChooseReadingTask(ReadingTask task) {
    const ReadingSession::TaskChange change = session_.ChooseTask(task, textCtrl_->Selection());
    bar_->ApplyProgress(change.progress);
    ShowTask();
    textCtrl_->SetSelection(change.choice.selection.start, change.choice.selection.end);
    if (change.choice.selectWordAtCaret) textCtrl_->SelectWordAtCaret();
}

void CMainFrame::ShowTask() { statusPane_->setText(ProgramText(TaskStatusText(Task()))); }

void CMainFrame::TextReplaced() {
    bar_->ApplyProgress(session_.TextLoaded(textCtrl_->Text().size()));
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

void CMainFrame::ChooseDocument() {
    QFileDialog dialog(this, {}, {}, kDocumentFilter);
    dialog.setOptions(QFileDialog::HideNameFilterDetails | QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // Not ExistingFile: a file whose name is not UTF-8 is shown with U+FFFD,
    // a name the dialog itself cannot find. Its real bytes are found again
    // here; a file that really is missing gets the program's own message.
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
    const QString chosen = dialog.selectedFiles().constFirst();
    documents_->OpenFile(ResolveDisplayedPath(QFile::encodeName(chosen).toStdString()));
}

void CMainFrame::ShowGeneralSettings() {
    CGeneralDlg dialog(settings_, this);
    if (dialog.exec() == QDialog::Accepted && dialog.DefaultsChosen()) {
        bar_->SetSpeedLevel(kDefaultSpeedLevel);
    }
}

void CMainFrame::ShowAreaSettings(bool readingArea) {
    AreaAppearance& area = readingArea ? settings_.readingArea : settings_.textArea;
    CAreaDlg dialog(readingArea ? AreaPane::Reading : AreaPane::Text, area, this);
    if (dialog.exec() != QDialog::Accepted) return;
    area = dialog.Area();
    if (readingArea) {
        readArea_->RecreateDrawingObjects();
    } else {
        textCtrl_->ApplyFormatToAll();
    }
}

void CMainFrame::ShowHelpFile() {
    if (help_ == nullptr) help_ = new CHelpWindow(this);
    help_->ShowHelp(CHelpWindow::HelpFileIn(programDirectory_));
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    StoreWindowState();
    documents_->CloseCurrent();
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
