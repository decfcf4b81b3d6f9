#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QMimeData>
#include <QUrl>
#include <QWindow>

#include "ModalAnswer.h"
#include "ProgramFixture.h"
#include "reading/CReadArea.h"
#include "text/CTextCtrl.h"

namespace {

// Files dragged from a file manager onto the window. The drag goes to the
// window as the window system delivers it, so Qt itself picks the widget
// under the point that takes the drop.
class FileDropTest : public ProgramFixture {
protected:
    QUrl WriteFile(const QString& name, const QByteArray& bytes) {
        const QString path = QDir(directory.path()).filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return QUrl::fromLocalFile(path);
    }
    // True when the window took the drop; the file then opens once the drop
    // is over. Under X the data is fetched again for the drop and may come
    // back empty (dataGone).
    bool Drop(const QList<QUrl>& urls, QWidget* over, bool dataGone = false) {
        QMimeData data;
        data.setUrls(urls);
        QWindow* window = Frame()->windowHandle();
        const QPoint point = over->mapTo(Frame(), over->rect().center());
        QDragEnterEvent enter(point, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, &data,
                              Qt::LeftButton, {});
        QCoreApplication::sendEvent(window, &enter);
        if (!enter.isAccepted()) {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(window, &leave);
            return false;
        }
        QMimeData nothing;
        QDropEvent drop(QPointF(point), enter.possibleActions(), dataGone ? &nothing : &data,
                        Qt::LeftButton, {});
        QCoreApplication::sendEvent(window, &drop);
        QCoreApplication::processEvents();
        return drop.isAccepted();
    }
};

TEST_F(FileDropTest, ADroppedFileOpensAsOpenWould) {
    Start();
    const QUrl book = WriteFile("book.txt", "Text of the dropped book.");
    const QUrl refused = WriteFile("notes.doc", "x");
    const QUrl missing = QUrl::fromLocalFile(QDir(directory.path()).filePath("gone.txt"));
    const QUrl web("https://example.org/page.html");
    struct Case {
        const char* name;
        QList<QUrl> urls;
        bool overReadingPane;
        bool dataGone;
        bool accepted;
        QStringList messages;
        std::u32string text;  // what the text pane holds afterwards
    };
    const std::u32string opened = U"Text of the dropped book.";
    const QString refusedMessage =
        "Orvek Lumeno|Этот файл не может быть открыт.\nДопускаются только файлы следующих "
        "типов:\n*.txt, *.rtf, *html, *htm, *plg,\n*.fb2, *.fb2.zip, *.epub, *.pdf, *.docx, *.odt";
    // clang-format off
    const Case cases[] = {
        {"a text file on the text pane", {book}, false, false, true, {}, opened},
        {"a text file on the reading pane", {book}, true, false, true, {}, opened},
        {"the first local file of several", {web, book, refused}, false, false, true, {}, opened},
        {"data gone at the drop", {book}, false, true, true, {}, opened},
        {"a kind Open refuses", {refused}, false, false, true, {refusedMessage}, U"Reading this."},
        {"a file that is gone", {missing}, false, false, true,
         {"Orvek Lumeno|Не удаётся открыть этот файл "}, U"Reading this."},
        {"a web address is not taken", {web}, false, false, false, {}, U"Reading this."},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadClipboardText("Reading this.");
        Trigger(CommandId::ID_READ_TOGGLE);
        ASSERT_TRUE(Frame()->IsReading());
        ModalAnswer answer;
        QWidget* target = c.overReadingPane ? static_cast<QWidget*>(Frame()->ReadArea())
                                            : Frame()->TextCtrl()->viewport();
        EXPECT_EQ(Drop(c.urls, target, c.dataGone), c.accepted);
        EXPECT_EQ(answer.seen, c.messages);
        EXPECT_EQ(Frame()->TextCtrl()->Document().Characters(), c.text);
        if (!c.accepted) {
            EXPECT_TRUE(Frame()->IsReading());
            Trigger(CommandId::ID_READ_TOGGLE);
            continue;
        }
        EXPECT_FALSE(Frame()->IsReading());
        if (c.messages.isEmpty()) {
            EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno - book.txt");
            EXPECT_EQ(document.key, 0);
            EXPECT_EQ(Frame()->Task(), ReadingTask::TaskWholeText);
        }
    }
}

}  // namespace
