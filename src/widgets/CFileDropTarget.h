#pragma once

#include <QObject>
#include <QString>

class QWidget;

// Makes a window take local files dropped on it: the first local file a drag
// carries is announced once the drop is over, so that whatever opening it
// shows (a message box) does not hold up the program the file came from.
class CFileDropTarget : public QObject {
    Q_OBJECT

public:
    explicit CFileDropTarget(QWidget* window);

signals:
    void FileDropped(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString draggedFile_;  // the file the drag over the window carries
};
