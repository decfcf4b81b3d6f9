// A stand-in for a file manager in the end-to-end tests: a small window that
// starts dragging the file named on its command line as soon as a mouse
// button is pressed on it, so xdotool can carry the file to another window
// through the X server's real drag-and-drop protocol.
#include <QApplication>
#include <QDrag>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <cstdio>

namespace {

class DragSource : public QLabel {
public:
    explicit DragSource(QString path) : QLabel(QFileInfo(path).fileName()), path_(std::move(path)) {
        setWindowTitle("lmn-drag-source");
        setAlignment(Qt::AlignCenter);
        resize(200, 120);
    }

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* data = new QMimeData;
        data->setUrls({QUrl::fromLocalFile(path_)});
        QDrag drag(this);
        drag.setMimeData(data);
        const Qt::DropAction action = drag.exec(Qt::CopyAction | Qt::LinkAction);
        std::printf("drop action %d\n", static_cast<int>(action));
        std::fflush(stdout);
    }

private:
    QString path_;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    DragSource source(QString::fromLocal8Bit(argv[1]));
    source.move(0, 0);
    source.show();
    return app.exec();
}
