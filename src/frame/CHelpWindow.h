#pragma once

#include <QDialog>
#include <QString>

class QTextBrowser;

// The program's help: the HTML help file (lmn.html, or lmn.en.html in English), shown from its
// start in a window of its own that stays open beside the main window (reading goes on behind it).
class CHelpWindow : public QDialog {
    Q_OBJECT

public:
    explicit CHelpWindow(QWidget* parent = nullptr);

    // Shows the file from its start and brings the window to the front. A
    // file that is missing or cannot be read gets a message instead of the
    // window, and false.
    bool ShowHelp(const QString& path);

    QTextBrowser* Browser() const { return browser_; }

private:
    QTextBrowser* browser_;
};
