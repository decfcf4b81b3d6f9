#include "text/CContentsDlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "base/QtText.h"

namespace {

constexpr std::string_view kTitle = "Содержание";
constexpr std::string_view kGoText = "Перейти";
constexpr std::string_view kCancelText = "Отмена";
constexpr int kIndexRole = Qt::UserRole;

}  // namespace

CContentsDlg::CContentsDlg(const std::vector<Heading>& outline, std::size_t caret, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(ProgramText(kTitle));
    tree_ = new QTreeWidget(this);
    tree_->setObjectName("Tree");
    tree_->setHeaderHidden(true);
    tree_->setUniformRowHeights(true);
    // A heading goes under the last one above it of a lower level; a level
    // skipped (1, then 3) nests it one step only.
    std::vector<std::pair<int, QTreeWidgetItem*>> open;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Heading& heading = outline[i];
        while (!open.empty() && open.back().first >= heading.level) open.pop_back();
        auto* item =
            open.empty() ? new QTreeWidgetItem(tree_) : new QTreeWidgetItem(open.back().second);
        item->setText(0, HeadingTitleText(heading.title).simplified());
        item->setData(0, kIndexRole, static_cast<qulonglong>(i));
        open.emplace_back(heading.level, item);
    }
    tree_->expandAll();
    const std::size_t current = HeadingAt(outline, caret).value_or(0);
    for (QTreeWidgetItemIterator it(tree_); *it; ++it)
        if ((*it)->data(0, kIndexRole).toULongLong() == current) tree_->setCurrentItem(*it);

    auto* buttons = new QDialogButtonBox(this);
    QPushButton* go = buttons->addButton(ProgramText(kGoText), QDialogButtonBox::AcceptRole);
    go->setDefault(true);
    buttons->addButton(ProgramText(kCancelText), QDialogButtonBox::RejectRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tree_, 1);
    layout->addWidget(buttons);
    resize(480, 520);

    // Return in the tree reaches the default button as well, so only the
    // button and a double click choose.
    connect(go, &QPushButton::clicked, this, &CContentsDlg::Choose);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(tree_, &QTreeWidget::itemDoubleClicked, this, &CContentsDlg::Choose);
    tree_->setFocus();
}

void CContentsDlg::Choose() {
    const QTreeWidgetItem* item = tree_->currentItem();
    if (item == nullptr) return;
    chosen_ = static_cast<std::size_t>(item->data(0, kIndexRole).toULongLong());
    accept();
}
