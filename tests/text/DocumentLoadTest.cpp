#include <gtest/gtest.h>

#include <fstream>

#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTextBlock>

#include "ModalAnswer.h"
#include "TestText.h"
#include "ProgramFixture.h"
#include "frame/CommandId.h"
#include "text/CTextCtrl.h"
#include "base/CodePage.h"
#include "text/TextRules.h"

namespace {

constexpr const char* kRefused =
    "Orvek Lumeno|Этот файл не может быть открыт.\nДопускаются только файлы следующих "
    "типов:\n*.txt, *.rtf, *html, *htm, *plg,\n*.fb2, *.fb2.zip, *.epub, *.pdf, *.docx, *.odt";

// Opening documents through the open command, with the dialog's answer given
// by the test. The files are written into the test's own directory.
class DocumentLoadTest : public ProgramFixture {
protected:
    QString WriteFile(const QString& relativePath, const QByteArray& bytes) {
        const QString path = QDir(directory.path()).filePath(relativePath);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    CTextCtrl* Text() const { return Frame()->TextCtrl(); }
};

TEST_F(DocumentLoadTest, TheExtensionAloneDecidesTheKind) {
    Start();
    struct Case {
        const char* name;
        QString file;
        QByteArray bytes;
        bool loads;
        std::u32string text;
    };
    const Case cases[] = {
        {"mixed-case txt", "report.Txt", "Plain <b>text</b>", true, U"Plain <b>text</b>"},
        {"mixed-case html", "page.HtMl", "<body><p>Hello&amp;bye</p></body>", true,
         U"\r\n\r\nHello&bye"},
        {"plg is html", "old.plg", "<body><b>bold</b> words</body>", true, U"bold words"},
        {"unknown extension", "notes.text", "x", false, U"bold words"},
        {"no extension", "README", "x", false, U"bold words"},
        {"dot only in the folder", "my.docs/README", "x", false, U"bold words"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = WriteFile(c.file, c.bytes);
        ModalAnswer answer;
        EXPECT_EQ(Open(path), c.loads);
        EXPECT_EQ(Text()->Document().Characters(), c.text);
        if (c.loads) {
            EXPECT_TRUE(answer.seen.isEmpty());
            EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno - " + QFileInfo(path).fileName());
            EXPECT_EQ(Frame()->Task(), ReadingTask::TaskWholeText);
        } else {
            // Refused before anything is closed: the last page stays open.
            EXPECT_EQ(answer.seen, QStringList{kRefused});
            EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno - old.plg");
            EXPECT_TRUE(document.path.ends_with("old.plg"));
        }
    }
}

// The open dialog's one filter lists every kind the program reads, whatever
// the letter case of the extension, and nothing else.
TEST_F(DocumentLoadTest, TheOpenDialogListsEveryDocumentKindInAnyCase) {
    Start();
    QStringList documents = {"a.txt",     "b.RTF",  "c.Htm", "d.html", "e.PLG",  "f.fb2",
                             "g.FB2.ZIP", "h.Epub", "i.pdf", "j.PDF",  "k.docx", "l.ODT"};
    const QStringList others = {"m.zip", "n.doc", "o.text", "README", "p.fb2.zip.bak"};
    for (const QString& name : documents + others) WriteFile("choose/" + name, "x");
    const QString folder = QDir(directory.path()).filePath("choose");
    QStringList listed;
    ModalAnswer answer([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (dialog == nullptr) return;
        auto* model = dialog->findChild<QFileSystemModel*>();
        ASSERT_NE(model, nullptr);
        QObject::connect(model, &QFileSystemModel::directoryLoaded, dialog,
                         [&listed, model, dialog, folder](const QString& loaded) {
                             if (QFileInfo(loaded) != QFileInfo(folder)) return;
                             const QModelIndex root = model->index(folder);
                             for (int row = 0; row < model->rowCount(root); ++row)
                                 listed << model->index(row, 0, root).data().toString();
                             dialog->reject();
                         });
        dialog->setDirectory(folder);
    });
    Trigger(CommandId::ID_OPEN_DOCUMENT);
    listed.sort();
    documents.sort();
    EXPECT_EQ(listed, documents);
}

TEST_F(DocumentLoadTest, CancellingKeepsTheCurrentDocument) {
    Start();
    ASSERT_TRUE(Open(WriteFile("keep.txt", "Keep this text")));
    ModalAnswer cancel([](QWidget* modal) { qobject_cast<QDialog*>(modal)->reject(); });
    Trigger(CommandId::ID_OPEN_DOCUMENT);
    EXPECT_EQ(Text()->Document().Characters(), U"Keep this text");
    EXPECT_EQ(document.name, U"keep.txt");
    EXPECT_EQ(document.key, 0);
}

TEST_F(DocumentLoadTest, EmptyFilesTrailingBlanksAndUtf8) {
    Start();
    ASSERT_TRUE(Open(WriteFile("empty.txt", "")));
    EXPECT_EQ(Text()->Document().Length(), 0);
    EXPECT_TRUE(Text()->Document().TooShort());
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskNone);

    ASSERT_TRUE(Open(WriteFile("blanks.txt", "Last word.\r\n\r\n \t \n")));
    EXPECT_EQ(Text()->Document().Characters(), U"Last word.");

    ASSERT_TRUE(Open(WriteFile("utf8.txt", "Привет, мир")));
    EXPECT_EQ(Text()->toPlainText(), "Привет, мир");
    ASSERT_TRUE(Open(WriteFile("cp1251.txt", "\xCF\xF0\xE8\xE2\xE5\xF2")));
    EXPECT_EQ(Text()->toPlainText(), "Привет");
}

TEST_F(DocumentLoadTest, AnUnreadableFileLeavesTheOpenDocumentAsItWas) {
    Start();
    const QString first = WriteFile("first.txt", "first");
    ASSERT_TRUE(Open(first));
    const QString status = Frame()->StatusPane()->text();
    ModalAnswer answer;
    const QString missing = QDir(directory.path()).filePath("gone.txt");
    EXPECT_FALSE(Open(missing));
    EXPECT_EQ(answer.seen, QStringList{"Orvek Lumeno|Не удаётся открыть этот файл "});
    EXPECT_EQ(document.path, QFile::encodeName(first).toStdString());
    EXPECT_EQ(Text()->Document().Characters(), U"first");
    EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno - first.txt");
    EXPECT_EQ(Frame()->StatusPane()->text(), status);
}

TEST_F(DocumentLoadTest, AShelvedDocumentKeepsItsShelfName) {
    Start();
    document.key = 5;
    document.name = U"Моя книга";
    document.path = WriteFile("book.txt", "Some text of the book").toStdString();
    ASSERT_TRUE(Frame()->Documents().LoadDocument());
    EXPECT_EQ(Frame()->windowTitle(), "Orvek Lumeno - Моя книга");
}

TEST_F(DocumentLoadTest, RichTextShowsItsTextAndFormats) {
    Start();
    QFile sample(LMN_TEST_DATA "/rtf/wordpad.rtf");
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    ASSERT_TRUE(Open(WriteFile("wordpad.rtf", sample.readAll())));
    QFile expected(LMN_TEST_DATA "/rtf/wordpad.txt");
    ASSERT_TRUE(expected.open(QIODevice::ReadOnly));
    std::u32string expectedText = QString::fromUtf8(expected.readAll()).toStdU32String();
    expectedText.resize(TrimmedLength(expectedText));
    EXPECT_EQ(Text()->Document().Characters(), expectedText);
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskWholeText);
    bool sawBold = false;
    for (QTextBlock block = Text()->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            sawBold = sawBold || it.fragment().charFormat().fontWeight() == QFont::Bold;
        }
    }
    EXPECT_TRUE(sawBold);
}

class CommandLineTest : public ProgramFixture {};

TEST_F(CommandLineTest, AFileThatCannotBeLoadedLeavesNoDocument) {
    ModalAnswer answer;
    Start(QDir(directory.path()).filePath("missing.txt"));
    EXPECT_EQ(answer.seen, QStringList{"Orvek Lumeno|Не удаётся открыть этот файл "});
    EXPECT_EQ(document.key, -1);
    EXPECT_TRUE(document.path.empty());
}

TEST_F(CommandLineTest, ARefusedFileLeavesNoDocument) {
    ModalAnswer answer;
    Start(QDir(directory.path()).filePath("notes.doc"));
    EXPECT_EQ(answer.seen, QStringList{kRefused});
    EXPECT_EQ(document.key, -1);
    EXPECT_TRUE(document.path.empty());
}

TEST_F(CommandLineTest, AFileOnTheCommandLineIsReadyToRead) {
    const QString path = QDir(directory.path()).filePath("start.htm");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("<html><body><h1>Title</h1><p>First paragraph.</p></body></html>");
    file.close();
    Start(path);
    EXPECT_EQ(document.key, 0);
    EXPECT_EQ(document.name, U"start.htm");
    EXPECT_NE(Frame()->TextCtrl()->Document().Characters().find(U"First paragraph."), std::u32string::npos);
    EXPECT_EQ(Frame()->Task(), ReadingTask::TaskWholeText);
}

// File names are bytes: a name that is not UTF-8 opens from the command line
// and from the open dialog, which shows it with U+FFFD in place of the bytes.
TEST_F(CommandLineTest, FileNamesThatAreNotUtf8Open) {
    const std::string name = "\xE0\xE1\xE2.txt";
    const std::string path = QFile::encodeName(directory.path()).toStdString() + '/' + name;
    std::ofstream(path, std::ios::binary) << "Text of a file with a Windows-1251 name.";
    {
        ModalAnswer answer;
        StartWithArgument(path);
        EXPECT_TRUE(answer.seen.isEmpty());
    }
    EXPECT_EQ(document.path, path);
    EXPECT_EQ(document.name, FromCp1251(name));  // "абв.txt" as the title shows it
    EXPECT_EQ(Frame()->TextCtrl()->Document().Characters(), U"Text of a file with a Windows-1251 name.");

    const QString shown = QFile::decodeName(QByteArray::fromStdString(path));
    ASSERT_NE(QFile::encodeName(shown).toStdString(), path);  // what the desktop hands back
    document.Clear();
    ModalAnswer choose([shown](QWidget* modal) {
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            // As the user types the name the dialog lists.
            dialog->setDirectory(QFileInfo(shown).path());
            dialog->findChild<QLineEdit*>("fileNameEdit")->setText(QFileInfo(shown).fileName());
            QMetaObject::invokeMethod(dialog, "accept");
        }
    });
    Trigger(CommandId::ID_OPEN_DOCUMENT);
    EXPECT_EQ(choose.seen.size(), 1) << choose.seen.join(" / ").toStdString();
    EXPECT_EQ(document.path, path);
    EXPECT_EQ(Frame()->TextCtrl()->Document().Characters(), U"Text of a file with a Windows-1251 name.");
}

}  // namespace
