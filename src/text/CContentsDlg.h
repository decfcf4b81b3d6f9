#pragma once

#include <QDialog>
#include <cstddef>
#include <optional>
#include <vector>

#include "text/Outline.h"

class QTreeWidget;

// The document's contents: its outline as a tree, every level open, the
// chapter holding the caret current (the first entry when the caret lies
// before every heading). Typing letters finds an entry as in any tree;
// Return, "Перейти" or a double click chooses one.
class CContentsDlg : public QDialog {
    Q_OBJECT

public:
    CContentsDlg(const std::vector<Heading>& outline, std::size_t caret, QWidget* parent = nullptr);

    QTreeWidget* Tree() const { return tree_; }
    // The index in the outline of the heading chosen; none until accepted.
    std::optional<std::size_t> Chosen() const { return chosen_; }

private:
    void Choose();

    QTreeWidget* tree_;
    std::optional<std::size_t> chosen_;
};
