#pragma once

#include <QDialog>
#include <QString>

class CColorStatic;

// Which of the two help texts the dialog shows.
enum class HelpTextMode { HotKeys, MouseUsage };

// The list of hot keys, or how the mouse changes the speed in the reading
// pane: a fixed text in a bold monospaced font (the hot keys' second column
// is aligned with spaces) on a pale green field.
class CHelpTextDlg : public QDialog {
    Q_OBJECT

public:
    explicit CHelpTextDlg(HelpTextMode mode, QWidget* parent = nullptr);

    static QString HotKeysText();
    static QString MouseUsageText();

    CColorStatic* TextField() const { return field_; }

private:
    CColorStatic* field_;
};
