#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

class QWidget;

// Files dragged onto the window from a file manager: the first local file a
// drop carries is handed on, as the open command would open it. Drops the
// read-only text pane ignores come up to the window, so the whole window
// takes them.
class CFileDropTarget : public QObject {
public:
    using Open = std::function<void(const std::string& path)>;
    CFileDropTarget(QWidget* window, Open open);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    Open open_;
    QString draggedFile_;  // the file the drag over the window carries
};
