#include "library/CListDlg.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QStatusBar>
#include <QStyledItemDelegate>

#include "base/QtText.h"
#include "widgets/DialogUnits.h"

namespace {

// The list draws no focus frame on an entry that is not selected: a framed
// first entry looks chosen, and then "Удалить" says that nothing is.
class SelectionOnlyDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem shown(option);
        if (!(shown.state & QStyle::State_Selected)) shown.state &= ~QStyle::State_HasFocus;
        QStyledItemDelegate::paint(painter, shown, index);
    }
};

}  // namespace

CListDlg::CListDlg(const Layout& layout, DialogSizeFields sizes, QSize screenSize, QWidget* parent)
    : QDialog(parent), sizes_(sizes) {
    setWindowTitle(ProgramText(layout.title));
    setSizeGripEnabled(false);  // the status bar has the grip
    const DialogUnits units(font());

    list_ = new QListWidget(this);
    list_->setObjectName("List");
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setUniformItemSizes(true);
    list_->setItemDelegate(new SelectionOnlyDelegate(list_));
    listRect_ = units.Rect(3, 4, 219, layout.listHeight);

    action_ = new QPushButton(ProgramText(layout.actionText), this);
    action_->setObjectName("ActionButton");
    action_->setDefault(true);
    actionRect_ = units.Rect(139, layout.buttonTop, 40, 14);
    cancel_ = new QPushButton(ProgramText("Отмена"), this);
    cancel_->setObjectName("CancelButton");
    cancelRect_ = units.Rect(182, layout.buttonTop, 40, 14);
    delete_ = new QPushButton(ProgramText("Удалить"), this);
    delete_->setObjectName("DeleteButton");
    deleteRect_ = units.Rect(3, layout.buttonTop, 40, 14);

    statusBar_ = new QStatusBar(this);
    statusBar_->setObjectName("CountBar");
    statusBar_->setSizeGripEnabled(true);
    countLine_ = new QLabel(statusBar_);
    countLine_->setObjectName("CountLine");
    statusBar_->addWidget(countLine_, 1);

    setTabOrder(list_, action_);
    setTabOrder(action_, cancel_);
    setTabOrder(cancel_, delete_);
    list_->setFocus();

    connect(action_, &QPushButton::clicked, this, [this] { OnAction(); });
    connect(delete_, &QPushButton::clicked, this, [this] { OnDelete(); });
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this] { OnAction(); });

    templateSize_ = units.Size(225, layout.height);
    const DialogGeometry geometry =
        OpenListDialog(sizes_, templateSize_.width(), templateSize_.height(), screenSize.width(),
                       screenSize.height());
    setMinimumSize(geometry.minWidth, geometry.minHeight);
    resize(geometry.width, geometry.height);
    move(geometry.left, geometry.top);
    opened_ = true;
}

QString CListDlg::CountLine() const { return countLine_->text(); }

void CListDlg::ShowEntries(const QStringList& names, const QString& countLine) {
    list_->clear();
    list_->addItems(names);
    countLine_->setText(countLine);
    if (names.isEmpty()) {
        action_->setEnabled(false);
        delete_->setEnabled(false);
    }
}

std::optional<std::size_t> CListDlg::SelectedRow() const {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty()) return std::nullopt;
    return static_cast<std::size_t>(list_->row(selected.last()));
}

// The controls keep their distances to the edges the template gave them:
// the list takes all the change in size, the buttons move with the corners
// they stand at, and the status bar stays along the bottom.
void CListDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    const int dx = width() - templateSize_.width();
    const int dy = height() - templateSize_.height();
    list_->setGeometry(listRect_.adjusted(0, 0, dx, dy));
    action_->setGeometry(actionRect_.translated(dx, dy));
    cancel_->setGeometry(cancelRect_.translated(dx, dy));
    delete_->setGeometry(deleteRect_.translated(0, dy));
    const int barHeight = statusBar_->sizeHint().height();
    statusBar_->setGeometry(0, height() - barHeight, width(), barHeight);
    if (opened_ && !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized))) {
        sizes_.width = width();
        sizes_.height = height();
    }
}
