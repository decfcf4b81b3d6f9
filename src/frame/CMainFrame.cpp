#include "frame/CMainFrame.h"

#include <QAction>
#include <QCloseEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QSplitter>
#include <QStatusBar>

#include "app/CLmnApp.h"
#include "base/ProgramTexts.h"
#include "frame/CAboutDlg.h"
#include "frame/CHelpTextDlg.h"
#include "frame/CHelpWindow.h"
#include "frame/CReaderBar.h"
#include "frame/CommandTable.h"
#include "library/BookmarkRules.h"
#include "library/CShelfFile.h"
#include "library/LibraryCommands.h"
#include "reading/CReadArea.h"
#include "reading/ReadingOptions.h"
#include "reading/ReadingTasks.h"
#include "settings/CAreaDlg.h"
#include "settings/CGeneralDlg.h"
#include "settings/ReaderSettings.h"
#include "text/CTextArea.h"
#include "text/CTextCtrl.h"
#include "text/DocumentLoader.h"
#include "text/DocumentPath.h"

namespace {

// The control bar's dock side, as the settings file keeps it.
constexpr std::int32_t kBarAlignTop = 0x2000;
constexpr std::int32_t kBarAlignBottom = 0x8000;
// Flag of the saved bar placement: the bar was floating.
constexpr std::uint32_t kBarFloating = 1;

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The one filter of the open dialog. The patterns in the last parentheses,
// hidden from the user, match the extensions in any case.
const QString kDocumentFilter =
    "Documents (*.txt, *.rtf, *.htm, *.html, *.plg) "
    "(*.[Tt][Xx][Tt] *.[Rr][Tt][Ff] *.[Hh][Tt][Mm] *.[Hh][Tt][Mm][Ll] *.[Pp][Ll][Gg])";

// The first local file a drag carries; empty when it carries none.
QString DroppedFile(const QMimeData* data) {
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) return url.toLocalFile();
    }
    return {};
}

QString ShowOpenDialog(QWidget* parent) {
    return QFileDialog::getOpenFileName(
        parent, {}, {}, kDocumentFilter, nullptr,
        QFileDialog::HideNameFilterDetails | QFileDialog::DontUseNativeDialog);
}

}  // namespace

CMainFrame::CMainFrame(ReaderSettings& settings, ShelfDocument& document, QSize screenSize)
    : chooseFile(ShowOpenDialog),
      settings_(settings),
      document_(document),
      screenSize_(screenSize) {
    setObjectName("MainFrame");
    setWindowIcon(QIcon(":/icons/app.svg"));
    setGeometry(settings_.windowLeft, settings_.windowTop, settings_.windowWidth,
                settings_.windowHeight);
    const MinimumSize minimum = MinimumWindowSize(screenSize_.width(), screenSize_.height());
    setMinimumSize(minimum.width, minimum.height);
    rememberedPaneHeight_ = settings_.readingPaneHeight;

    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setObjectName("Panes");
    readArea_ = new CReadArea(splitter_, settings_);
    textArea_ = new CTextArea(splitter_, settings_.textArea);
    textCtrl_ = textArea_->TextCtrl();
    splitter_->addWidget(readArea_);
    splitter_->addWidget(textArea_);
    splitter_->setChildrenCollapsible(true);
    setCentralWidget(splitter_);
    const int clientHeight = settings_.windowHeight;
    splitter_->setSizes({rememberedPaneHeight_, std::max(clientHeight - rememberedPaneHeight_, 0)});

    statusPane_ = new QLabel(this);
    statusPane_->setObjectName("TaskStatus");
    statusBar()->addWidget(statusPane_, 1);

    CreateActions();
    CreateMenus();
    CreateControlBar();

    document_.SetHost(this);
    CLmnApp::Instance()->textCtrl = textCtrl_;
    connect(textCtrl_, &QPlainTextEdit::selectionChanged, this, &CMainFrame::UpdateCommandStates);
    connect(textCtrl_, &CTextCtrl::RightButtonPressed, this, &CMainFrame::ShowContextMenu);
    connect(readArea_, &CReadArea::SpeedDownRequested, bar_, &CReaderBar::SpeedDown);
    connect(readArea_, &CReadArea::SpeedUpRequested, bar_, &CReaderBar::SpeedUp);
    connect(readArea_, &CReadArea::FocusReceived, this, [this] { textCtrl_->setFocus(); });
    timer_.setTimerType(Qt::PreciseTimer);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &CMainFrame::Step);
    connect(qApp, &QGuiApplication::applicationStateChanged, this, &CMainFrame::StopReading);
    // Drops the read-only text pane ignores come up to the frame.
    setAcceptDrops(true);
    textCtrl_->setFocus();
    UpdateCommandStates();
}

CMainFrame::~CMainFrame() {
    document_.SetHost(nullptr);
    if (CLmnApp::Instance()->textCtrl == textCtrl_) CLmnApp::Instance()->textCtrl = nullptr;
}

void CMainFrame::CreateActions() {
    QList<QKeySequence> programKeys;
    for (const CommandSpec& spec : CommandTable()) {
        auto* action = new QAction(this);
        action->setText(spec.menuText.isEmpty() ? spec.tooltip : spec.menuText);
        action->setToolTip(spec.tooltip);
        if (!spec.icon.isEmpty()) action->setIcon(QIcon(spec.icon));
        action->setShortcuts(spec.keys);
        action->setShortcutContext(Qt::WindowShortcut);
        action->setObjectName(QString("command%1").arg(static_cast<int>(spec.id)));
        connect(action, &QAction::triggered, this, [this, id = spec.id] { OnCommand(id); });
        addAction(action);
        actions_[spec.id] = action;
        programKeys += spec.keys;
    }
    textCtrl_->SetProgramKeys(programKeys);
}

void CMainFrame::CreateMenus() {
    for (const MenuSpec& spec : MainMenu()) {
        QMenu* menu = menuBar()->addMenu(spec.title);
        for (CommandId id : spec.items) {
            if (id == CommandId{}) {
                menu->addSeparator();
            } else {
                menu->addAction(actions_.at(id));
            }
        }
    }
}

void CMainFrame::CreateControlBar() {
    bar_ = new CReaderBar(this, actions_, settings_.speedLevel);
    Qt::ToolBarArea area = Qt::TopToolBarArea;
    if (settings_.controlBarPlacementValid != 0 && (settings_.controlBarStyle & kBarAlignBottom)) {
        area = Qt::BottomToolBarArea;
    }
    addToolBar(area, bar_);
}

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
    return {reading_, document_.key, textCtrl_->TextLength(),
            static_cast<int>(selection.end - selection.start)};
}

void CMainFrame::UpdateCommandStates() {
    const CommandContext context = CurrentContext();
    for (auto& [id, action] : actions_) action->setEnabled(IsCommandEnabled(id, context));
}

ReadingTask CMainFrame::Task() const { return textCtrl_->readingCursor.task; }

void CMainFrame::SetTask(ReadingTask task) {
    textCtrl_->readingCursor.task = task;
    statusPane_->setText(Utf8(TaskStatusText(static_cast<int>(task))));
}

void CMainFrame::OnCommand(CommandId command) {
    using enum CommandId;
    switch (command) {
        case ID_READ_TOGGLE:
            ToggleReading();
            break;
        case ID_LOAD_CLIPBOARD:
            LoadClipboard();
            break;
        case ID_COPY_TEXT:
            textCtrl_->CopySelection();
            break;
        case ID_VIEW_WHOLE_WINDOW:
            UseWholeWindow();
            break;
        case ID_VIEW_SHARED_WINDOW:
            ShareWindow();
            break;
        case ID_SPEED_UP:
            bar_->SpeedUp(1);
            break;
        case ID_SPEED_DOWN:
            bar_->SpeedDown(1);
            break;
        case ID_APP_EXIT:
            close();
            break;
        case ID_READ_ALL:
            ChooseReadingTask(ReadingTask::TaskWholeText);
            break;
        case ID_READ_FROM_CARET:
            ChooseReadingTask(ReadingTask::TaskFromCaret);
            break;
        case ID_READ_TO_CARET:
            ChooseReadingTask(ReadingTask::TaskToCaret);
            break;
        case ID_READ_SELECTION:
            ChooseReadingTask(ReadingTask::TaskSelection);
            break;
        case ID_SHELF_SHOW:
            ShowShelf();
            break;
        case ID_OPEN_DOCUMENT:
            ChooseDocument();
            break;
        // These stop reading before their dialogs open.
        case ID_SHELF_PUT:
            PutOnShelfCommand(*this);
            break;
        case ID_BOOKMARKS_SHOW:
            ShowBookmarksCommand(*this);
            break;
        case ID_HELP_HOTKEYS:
        case ID_HELP_MOUSE:
            StopReading();
            CHelpTextDlg(
                command == ID_HELP_HOTKEYS ? HelpTextMode::HotKeys : HelpTextMode::MouseUsage, this)
                .exec();
            break;
        case ID_SETTINGS_GENERAL:
            ShowGeneralSettings();
            break;
        case ID_SETTINGS_READ_AREA:
            ShowAreaSettings(true);
            break;
        case ID_SETTINGS_TEXT_AREA:
            ShowAreaSettings(false);
            break;
        case ID_FIND:
            textCtrl_->finder.ShowFindDialog();
            break;
        case ID_FIND_NEXT:
            textCtrl_->finder.FindNext();
            break;
        case ID_FIND_SELECTION:
            textCtrl_->finder.FindSelection();
            break;
        // Reading goes on behind the help file and the about box.
        case ID_HELP_CONTENTS:
            ShowHelpFile();
            break;
        case ID_APP_ABOUT:
            CAboutDlg(this).exec();
            break;
        case ID_BOOKMARK_PUT:
            PlaceBookmarkCommand(*this);
            break;
    }
    UpdateCommandStates();
}

void CMainFrame::ToggleReading() {
    if (Task() == ReadingTask::TaskNone) {
        QMessageBox box(QMessageBox::NoIcon, windowTitle(),
                        "Что читать? Нет задания!.\n\nКак указать что читать:\n"
                        "1. Установите курсор в нужное место текста\n"
                        "2. Нажмите ПРАВУЮ кнопку на мышке\n"
                        "3. Выберите задание из контекстного меню",
                        QMessageBox::Ok, this);
        box.setWindowTitle(CLmnApp::applicationName());
        box.exec();
        return;
    }
    if (reading_) {
        StopReading();
        return;
    }
    reading_ = true;
    if (!BothPanesShown()) UseWholeWindow();
    runClock_.start();
    nextDueNs_ = 0;
    ArmNextTick(readingTimer_.Start(ReadingOptionsFrom(settings_, bar_->SpeedLevel())));
    UpdateCommandStates();
}

void CMainFrame::StopReading() {
    timer_.stop();
    readArea_->SetDisplayText({});
    reading_ = false;
    if (!BothPanesShown()) UseWholeWindow();
    UpdateCommandStates();
}

void CMainFrame::Step() {
    if (stepping_) return;
    stepping_ = true;
    int paneHeight = 0;
    BothPanesShown(&paneHeight);
    const ReadingOptions options = ReadingOptionsFrom(settings_, bar_->SpeedLevel());
    const GroupStep group = NextGroup(textCtrl_->Text(), textCtrl_->readingCursor, options);
    ApplyProgress(group.progress);
    const bool shows = group.kind == StepKind::StepPlain || group.kind == StepKind::StepComma ||
                       group.kind == StepKind::StepStop;
    if (shows) readArea_->SetDisplayText(group.text);
    if (group.highlight) textCtrl_->SetSelection(group.highlight->start, group.highlight->end);
    const TimerStep timing =
        readingTimer_.OnStep(group.kind, group.text.size(), options, paneHeight > 0);
    switch (timing.action) {
        case TimerAction::KeepPeriod:
        case TimerAction::Rearm:
            ArmNextTick(timing.periodMs);
            break;
        case TimerAction::Stop:
            StopReading();
            break;
        case TimerAction::StopTaskDone:
            StopReading();
            SetTask(ReadingTask::TaskNone);
            break;
    }
    stepping_ = false;
}

void CMainFrame::ArmNextTick(int periodMs) {
    constexpr qint64 kNsPerMs = 1'000'000;
    const qint64 now = runClock_.nsecsElapsed();
    nextDueNs_ += periodMs * kNsPerMs;
    // After a long stall (a modal loop inside a step, a suspended machine)
    // the run goes on from now instead of racing through the missed groups.
    if (nextDueNs_ < now) nextDueNs_ = now + periodMs * kNsPerMs;
    timer_.start(static_cast<int>((nextDueNs_ - now + kNsPerMs / 2) / kNsPerMs));
}

void CMainFrame::ApplyProgress(ProgressAction action) {
    switch (action) {
        case ProgressAction::None:
            break;
        case ProgressAction::Reset:
            bar_->ResetProgress();
            break;
        case ProgressAction::AdvanceOne:
            bar_->StepProgress();
            break;
        case ProgressAction::SetFull:
            bar_->FillProgress();
            break;
    }
}

void CMainFrame::ChooseReadingTask(ReadingTask task) {
    const TaskChoice choice = ChooseTask(task, textCtrl_->Selection());
    ApplyProgress(ApplyTask(textCtrl_->readingCursor, choice));
    SetTask(choice.task);
    textCtrl_->SetSelection(choice.selection.start, choice.selection.end);
    if (choice.selectWordAtCaret) textCtrl_->SelectWordAtCaret();
}

bool CMainFrame::BothPanesShown(int* readingPaneHeight) const {
    const QList<int> sizes = splitter_->sizes();
    if (readingPaneHeight != nullptr) *readingPaneHeight = sizes.value(0);
    return sizes.value(0) > 0 && sizes.value(1) > 0;
}

void CMainFrame::UseWholeWindow() {
    int paneHeight = 0;
    if (BothPanesShown(&paneHeight)) rememberedPaneHeight_ = paneHeight;
    // While reading the reading pane takes the whole window, otherwise the
    // text pane does.
    splitter_->setSizes(reading_ ? QList<int>{screenSize_.height(), 0} : QList<int>{0, 1});
}

void CMainFrame::ShareWindow() {
    int paneHeight = 0;
    if (BothPanesShown(&paneHeight)) {
        rememberedPaneHeight_ = paneHeight;
        return;
    }
    const int clientHeight = height() - menuBar()->height();
    rememberedPaneHeight_ = SharedPaneHeight(clientHeight);
    const int total = splitter_->height();
    splitter_->setSizes({rememberedPaneHeight_, std::max(total - rememberedPaneHeight_, 0)});
}

void CMainFrame::LoadClipboard() {
    if (reading_) return;
    document_.CloseCurrent();
    document_.key = ShelfDocument::kNoDocument;
    textCtrl_->ApplyDefaultFormat();
    textCtrl_->ReplaceWithClipboard();
    FinishLoad();
}

void CMainFrame::FinishLoad() {
    textCtrl_->SetCaret(0);
    ApplyProgress(PrepareLoadedText(textCtrl_->readingCursor, textCtrl_->Text().size()));
    SetTask(textCtrl_->readingCursor.task);
    CLmnApp::Instance()->UpdateTitle();
    UpdateCommandStates();
}

bool CMainFrame::ChooseDocument() {
    StopReading();
    const QString chosen = chooseFile(this);
    if (chosen.isEmpty()) return false;
    return OpenDocumentPath(chosen);
}

bool CMainFrame::OpenDocumentPath(const QString& path) {
    StopReading();
    document_.CloseCurrent();
    document_.key = ShelfDocument::kNotOnShelf;
    document_.path = QFile::encodeName(path).toStdString();
    return LoadDocument();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    draggedFile_ = DroppedFile(event->mimeData());
    if (!draggedFile_.isEmpty()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    // Under X the dropped data is fetched from the source once more, which
    // can come back empty; the drag entered with this file, so it still counts.
    QString path = DroppedFile(event->mimeData());
    if (path.isEmpty()) path = draggedFile_;
    if (path.isEmpty()) return;
    event->acceptProposedAction();
    // The drag source waits for the drop to finish; a message the load shows
    // must not hold it up, so the file opens once the drop is over.
    QTimer::singleShot(0, this, [this, path] { OpenDocumentPath(path); });
}

bool CMainFrame::LoadDocument() {
    CLmnApp* app = CLmnApp::Instance();
    const std::optional<DocumentKind> kind = DocumentKindFromPath(document_.path);
    if (!kind) {
        app->ShowMessage(MSG_FILE_TYPE_REJECTED);
        return false;
    }
    if (document_.key == ShelfDocument::kNotOnShelf) {
        document_.name = DocumentNameFromPath(document_.path);
    }
    if (*kind == DocumentKind::Html) QApplication::setOverrideCursor(Qt::WaitCursor);
    LoadedText content = LoadDocumentFile(document_.path, *kind);
    if (*kind == DocumentKind::Html) QApplication::restoreOverrideCursor();
    if (content.error != LoadError::None) {
        document_.Clear();
        app->ShowMessage(MSG_FILE_OPEN_FAILED);
        return false;
    }
    app->UpdateTitle();
    textCtrl_->ApplyDefaultFormat();
    textCtrl_->SetText(std::move(content.text));
    textCtrl_->ApplyRuns(content.runs);
    textCtrl_->TrimTrailingBlanks();
    FinishLoad();
    return true;
}

void CMainFrame::ShowShelf() { ShowShelfCommand(*this, this); }

void CMainFrame::ShowContextMenu(const QPoint& globalPosition) {
    // The run stops at its next step, whatever is chosen from the menu.
    if (reading_) textCtrl_->readingCursor.abort = true;
    const CommandContext context = CurrentContext();
    QMenu menu(this);
    for (CommandId id : ContextMenu()) {
        if (id == CommandId{}) {
            menu.addSeparator();
            continue;
        }
        QAction* item = menu.addAction(FindCommand(id).menuText);
        item->setEnabled(IsContextItemEnabled(id, context));
        connect(item, &QAction::triggered, this, [this, id] { OnCommand(id); });
    }
    menu.exec(globalPosition);
}

void CMainFrame::ResetTask() {
    ApplyProgress(PrepareTask(textCtrl_->readingCursor));
    SetTask(ReadingTask::TaskNone);
}

void CMainFrame::ResumeShelvedDocument() {
    if (const auto resume = RestoreResumePosition(textCtrl_->Text(), document_)) {
        textCtrl_->SetSelection(resume->start, resume->end);
    }
    ChooseReadingTask(ReadingTask::TaskFromCaret);
}

void CMainFrame::ShowGeneralSettings() {
    CGeneralDlg dialog(settings_, bar_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    settings_.commaDelayLevel = dialog.CommaDelayLevel();
    settings_.stopDelayLevel = dialog.StopDelayLevel();
    settings_.thresholdChars = dialog.ThresholdChars();
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
    help_->ShowHelp(CLmnApp::Instance()->HelpFile());
}

void CMainFrame::ReturnToShelf(ShelfDocument& document) {
    // The record is rewritten even when the resume position cannot be
    // stored (a text too short for a bookmark): its bookmarks must not be lost.
    StoreResumePosition(textCtrl_->Text(), textCtrl_->Selection().start, document);
    CLmnApp::Instance()->Shelf().Rewrite(document.key, document);
}

void CMainFrame::DocumentCleared() {
    textCtrl_->SetText({});
    CLmnApp::Instance()->UpdateTitle();
    UpdateCommandStates();
}

void CMainFrame::StoreControlBarPlacement() {
    WindowPlacement placement;
    placement.length = 44;
    placement.showCmd = 1;
    const bool floating = bar_->isFloating();
    placement.flags = floating ? kBarFloating : 0;
    const QRect rect = floating ? bar_->frameGeometry() : bar_->geometry();
    placement.normalLeft = rect.left();
    placement.normalTop = rect.top();
    placement.normalRight = rect.left() + rect.width();
    placement.normalBottom = rect.top() + rect.height();
    settings_.controlBarPlacement = placement;
    settings_.controlBarStyle =
        toolBarArea(bar_) == Qt::BottomToolBarArea ? kBarAlignBottom : kBarAlignTop;
    settings_.controlBarPlacementValid = 1;
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    const QRect normal = normalGeometry();
    settings_.windowLeft = normal.left();
    settings_.windowTop = normal.top();
    settings_.windowWidth = normal.width();
    settings_.windowHeight = normal.height();
    settings_.windowMaximized = isMaximized() ? 1 : 0;
    int paneHeight = 0;
    settings_.readingPaneHeight = BothPanesShown(&paneHeight) ? paneHeight : rememberedPaneHeight_;
    StoreControlBarPlacement();
    settings_.speedLevel = bar_->SpeedLevel();
    document_.CloseCurrent();
    event->accept();
}
