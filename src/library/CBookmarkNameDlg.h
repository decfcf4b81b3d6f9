#pragma once

#include <string>

#include "library/CNameDlg.h"
#include "widgets/CLimitedTextEdit.h"

// "Поместить закладку": the name of a new bookmark, offered from the
// sentence at the caret. The field wraps long names over several lines, but
// Enter presses OK. At most 255 characters.
class CBookmarkNameDlg : public CNameDlg {
    Q_OBJECT

public:
    explicit CBookmarkNameDlg(const std::u32string& proposedName, QWidget* parent = nullptr);

    CLimitedTextEdit* NameField() const { return field_; }

private:
    CLimitedTextEdit* field_;
};
