#include "frame/COpenDlg.h"

#include <sys/stat.h>

#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "base/QtText.h"
#include "text/DocumentPath.h"
#include "widgets/ProgramMessages.h"

namespace {

constexpr std::string_view kTitle = "Открыть";
constexpr std::string_view kFolderLabel = "Папка:";
constexpr std::string_view kUpTip = "На уровень вверх (Alt+Up)";
constexpr std::string_view kNameLabel = "Имя файла:";
constexpr std::string_view kKindsLabel = "Типы файлов:";
constexpr std::string_view kKinds =
    "Документы (*.txt, *.rtf, *.htm, *.html, *.plg, *.fb2, *.fb2.zip, *.epub, *.pdf, *.docx, "
    "*.odt)";
constexpr std::string_view kOpenText = "Открыть";
constexpr std::string_view kCancelText = "Отмена";
constexpr std::string_view kFolderUnreadable = "Не удаётся открыть папку\n%1";

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string Joined(const std::string& folder, const std::string& name) {
    return folder.ends_with('/') ? folder + name : folder + '/' + name;
}

// A path the user typed, in the system's bytes; U+FFFD may stand for bytes
// that are not UTF-8, as a pasted name shows them.
std::string TypedPath(const QString& typed) {
    return ResolveDisplayedPath(QFile::encodeName(typed).toStdString());
}

}  // namespace

COpenDlg::COpenDlg(const std::string& folder, QWidget* parent) : QDialog(parent) {
    setWindowTitle(ProgramText(kTitle));
    folderField_ = new QLineEdit(this);
    folderField_->setObjectName("FolderField");
    auto* up = new QToolButton(this);
    up->setIcon(style()->standardIcon(QStyle::SP_FileDialogToParent));
    up->setToolTip(ProgramText(kUpTip));
    up->setFocusPolicy(Qt::NoFocus);
    list_ = new QListWidget(this);
    list_->setObjectName("List");
    list_->setUniformItemSizes(true);
    nameField_ = new QLineEdit(this);
    nameField_->setObjectName("NameField");
    auto* buttons = new QDialogButtonBox(this);
    openButton_ = buttons->addButton(ProgramText(kOpenText), QDialogButtonBox::AcceptRole);
    openButton_->setObjectName("OpenButton");
    openButton_->setDefault(true);
    buttons->addButton(ProgramText(kCancelText), QDialogButtonBox::RejectRole);

    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(new QLabel(ProgramText(kFolderLabel), this));
    folderRow->addWidget(folderField_, 1);
    folderRow->addWidget(up);
    auto* fields = new QFormLayout;
    fields->addRow(ProgramText(kNameLabel), nameField_);
    fields->addRow(ProgramText(kKindsLabel), new QLabel(ProgramText(kKinds), this));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(folderRow);
    layout->addWidget(list_, 1);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    resize(640, 440);

    // Return reaches the default button from every field and from the list,
    // so the button alone decides what it means there.
    connect(openButton_, &QPushButton::clicked, this, &COpenDlg::OnOpen);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(up, &QToolButton::clicked, this, &COpenDlg::GoUp);
    connect(new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Up), this), &QShortcut::activated, this,
            &COpenDlg::GoUp);
    list_->installEventFilter(this);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] {
        if (const FolderEntry* entry = CurrentEntry()) Choose(Joined(folder_, entry->name));
    });
    connect(list_, &QListWidget::currentRowChanged, this, [this] {
        if (const FolderEntry* entry = CurrentEntry()) nameField_->setText(ToQString(entry->shown));
    });

    if (!ShowFolder(folder)) ShowFolder("/");
    list_->setFocus();
}

bool COpenDlg::ShowFolder(const std::string& folder, const std::string& selectName) {
    std::optional<std::vector<FolderEntry>> entries = ListDocumentFolder(folder);
    if (!entries) {
        if (isVisible())
            ShowWarning(this, ProgramText(kFolderUnreadable).arg(ToQString(ShownPath(folder))));
        return false;
    }
    folder_ = folder;
    entries_ = std::move(*entries);
    folderField_->setText(ToQString(ShownPath(folder_)));
    list_->clear();
    const QIcon folderIcon = style()->standardIcon(QStyle::SP_DirIcon);
    const QIcon fileIcon = style()->standardIcon(QStyle::SP_FileIcon);
    for (const FolderEntry& entry : entries_)
        list_->addItem(
            new QListWidgetItem(entry.isFolder ? folderIcon : fileIcon, ToQString(entry.shown)));
    // The entry come from, else the first, is current, so that Return and
    // the arrows act on what the list shows selected.
    int current = entries_.empty() ? -1 : 0;
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].name == selectName) current = static_cast<int>(i);
    list_->setCurrentRow(current);
    if (current < 0) nameField_->clear();
    return true;
}

void COpenDlg::GoUp() {
    const std::string from = std::string(PathFileName(folder_));
    ShowFolder(ParentFolder(folder_), from);
}

void COpenDlg::Choose(const std::string& path) {
    if (IsFolder(path)) {
        ShowFolder(path);
        list_->setFocus();
        return;
    }
    chosen_ = path;
    accept();
}

void COpenDlg::OnOpen() {
    if (folderField_->hasFocus()) {
        const std::string typed = TypedPath(folderField_->text());
        if (IsFolder(typed))
            ShowFolder(typed);
        else
            Choose(typed);
        return;
    }
    const QString typed = nameField_->text();
    const FolderEntry* entry = CurrentEntry();
    if (entry && typed == ToQString(entry->shown)) return Choose(Joined(folder_, entry->name));
    if (typed.isEmpty()) return;
    const std::string bytes = QFile::encodeName(typed).toStdString();
    Choose(ResolveDisplayedPath(typed.startsWith('/') ? bytes : Joined(folder_, bytes)));
}

bool COpenDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched != list_ || event->type() != QEvent::KeyPress)
        return QDialog::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Backspace) {
        GoUp();
        return true;
    }
    // A path typed in the list goes to the name field, as file dialogs do.
    if (key->text() == "/") {
        nameField_->setFocus();
        nameField_->setText("/");
        return true;
    }
    return false;
}

const FolderEntry* COpenDlg::CurrentEntry() const {
    const int row = list_->currentRow();
    return row >= 0 && row < static_cast<int>(entries_.size()) ? &entries_[row] : nullptr;
}
