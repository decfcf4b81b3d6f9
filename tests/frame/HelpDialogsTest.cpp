#include <gtest/gtest.h>

#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QToolButton>
#include <functional>

#include "ModalAnswer.h"
#include "frame/CAboutDlg.h"
#include "widgets/CColorStatic.h"
#include "frame/CHelpTextDlg.h"
#include "frame/CHelpWindow.h"
#include "widgets/CUpDownCtrl.h"
#include "frame/CommandTable.h"

// The two help texts below are typed from the program's description of them;
// the help file is the one in res/, which the build puts next to the program.

namespace {

const QString kHelpFile = QStringLiteral(LMN_TEST_DATA "/../../res/lmn.html");

TEST(HelpTextDlg, ShowsTheHotKeysCharacterForCharacter) {
    const QString expected =
        " F1             Вызов справки\n"
        " Ctrl + V,\n"
        " Shift + Insert Загрузить текст из клипборда\n"
        " Ctrl + O       Открыть документ\n"
        " Ctrl + B       Показать полку\n"
        " Alt + B        Положить документ на полку\n"
        " Ctrl + M       Показать закладки\n"
        " Alt + M        Поместить закладку\n"
        " Пробел         Начать чтение / Остановить чтение\n"
        " F5             Использовать всё окно\n"
        " F9             Использовать окно совместно\n"
        " Ctrl + К       Показать горячие клавиши\n"
        "\n"
        " \"+\" и \"-\" на цифровой клавиатуре соответственно\n"
        " увеличивают и уменьшают скорость чтения;\n"
        " так же действуют \"+\" (или \"=\") и \"-\"\n"
        " на основной клавиатуре\n"
        "\n"
        " Во время чтения:\n"
        " Влево, Вправо  На группу слов назад, вперёд\n"
        " Ctrl + Влево   К началу предложения (назад)\n"
        " Ctrl + Вправо  К следующему предложению\n";
    CHelpTextDlg dialog(HelpTextMode::HotKeys);
    EXPECT_EQ(dialog.windowTitle(), "Горячие клавиши");
    EXPECT_EQ(dialog.TextField()->text(), expected);
    // The letter of Ctrl + К is the Cyrillic capital Ka.
    EXPECT_TRUE(expected.contains(QChar(0x041A)));
    // Each description starts in the 17th column: after a leading blank, the
    // key names are padded to 15 characters.
    int described = 0;
    static const QRegularExpression keyLine("^ (F\\d|Ctrl|Alt|Shift|Пробел|Влево)");
    for (const QString& line : expected.split(u'\n')) {
        if (line.size() <= 16 || !keyLine.match(line).hasMatch()) continue;
        ++described;
        EXPECT_EQ(line[15], u' ') << line.toStdString();
        EXPECT_NE(line[16], u' ') << line.toStdString();
    }
    EXPECT_EQ(described, 14);
}

// The hot-key window and the help file's table of keys name the same keys
// for loading the clipboard: Ctrl + Insert copies.
TEST(HelpTextDlg, NamesTheClipboardKeysAsTheHelpFileDoes) {
    const QString shown = CHelpTextDlg::HotKeysText();
    const qsizetype loads = shown.indexOf("Загрузить текст из клипборда");
    ASSERT_GT(loads, 0);
    const qsizetype keysFrom =
        shown.lastIndexOf("F1", loads) + QString("F1             Вызов справки\n").size();
    QString keys = shown.mid(keysFrom, loads - keysFrom);
    keys.remove(QRegularExpression("\\s"));

    QFile file(kHelpFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString help = QString::fromUtf8(file.readAll());
    const QRegularExpressionMatch row =
        QRegularExpression("<td class=\"key\">([^<]*)</td><td>Загрузить текст из клипборда</td>")
            .match(help);
    ASSERT_TRUE(row.hasMatch());
    QString helpKeys = row.captured(1);
    helpKeys.remove(QRegularExpression("\\s"));
    EXPECT_EQ(keys, helpKeys);
    EXPECT_EQ(keys, "Ctrl+V,Shift+Insert");
}

TEST(HelpTextDlg, ShowsTheMouseUsageCharacterForCharacter) {
    const QString expected =
        " Если курсор мыши находится\n"
        " в области быстрого чтения:\n"
        "\n"
        " клик правой (левой) кнопкой мыши увеличивает\n"
        " (уменьшает) скорость чтения на число единиц,\n"
        " установленное в диалоге \"Настройки. Общие\"\n"
        "\n"
        " Двойной клик правой (левой) кнопкой мыши\n"
        " увеличивает(уменьшает) скорость чтения\n"
        " на удвоенное число единиц,\n"
        " установленное в диалоге \"Настройки. Общие\"\n"
        "\n"
        " Колесо мыши от себя (на себя) увеличивает\n"
        " (уменьшает) скорость на то же число единиц\n"
        "\n";
    CHelpTextDlg dialog(HelpTextMode::MouseUsage);
    EXPECT_EQ(dialog.windowTitle(), "Использование мыши");
    EXPECT_EQ(dialog.TextField()->text(), expected);
}

TEST(HelpTextDlg, TextIsBoldMonospacedOnPaleGreen) {
    CHelpTextDlg dialog(HelpTextMode::HotKeys);
    const QFontInfo shown(dialog.TextField()->font());
    EXPECT_TRUE(shown.fixedPitch()) << shown.family().toStdString();
    EXPECT_TRUE(shown.bold());
    EXPECT_EQ(dialog.TextField()->BackgroundColor(), QColor(227, 253, 193));
    EXPECT_EQ(dialog.TextField()->TextColor(), QColor(0, 0, 0));
    EXPECT_EQ(dialog.TextField()->textFormat(), Qt::PlainText);
}

TEST(AboutDlg, LinksAreBlueUnderAHandAndOpenTheirAddresses) {
    CAboutDlg dialog;
    QList<QUrl> opened;
    dialog.openUrl = [&](const QUrl& url) {
        opened << url;
        return false;  // a failure is not reported
    };
    EXPECT_EQ(dialog.windowTitle(), "О программе Orvek Lumeno");
    EXPECT_EQ(dialog.findChild<QLabel*>("Version")->text(), "Orvek Lumeno Версия 1.33R");
    for (CColorStatic* link : {dialog.HomeLink(), dialog.MailLink()}) {
        EXPECT_EQ(link->TextColor(), QColor(0, 0, 255));
        EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    }
    EXPECT_EQ(dialog.cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(dialog.HomeLink()->text(), "https://example.org/lumeno");
    EXPECT_EQ(dialog.MailLink()->text(), "lumeno@example.org");

    QTest::mouseClick(dialog.HomeLink(), Qt::LeftButton);
    QTest::mouseClick(dialog.MailLink(), Qt::LeftButton);
    QTest::mouseClick(dialog.MailLink(), Qt::RightButton);
    QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(2, 2));
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened[0], QUrl("https://example.org/lumeno"));
    EXPECT_EQ(opened[1].scheme(), "mailto");
    EXPECT_EQ(opened[1].path(), "lumeno@example.org");
    EXPECT_EQ(opened[1].query(QUrl::FullyDecoded), "subject=Orvek Lumeno v. 1.33R");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);  // a link does not close the box
}

TEST(HelpWindow, AMissingFileGetsAMessageAndNoWindow) {
    CHelpWindow help;
    ModalAnswer answer;
    EXPECT_FALSE(help.ShowHelp("/nonexistent/dir/lmn.html"));
    EXPECT_FALSE(help.isVisible());
    ASSERT_EQ(answer.seen.size(), 1);
    EXPECT_EQ(answer.seen[0],
              "Orvek Lumeno|Не найден файл справки:\n/nonexistent/dir/lmn.html\n\n"
              "Файл справки должен лежать рядом с программой или в папке share/lumeno "
              "установленной программы.");
}

TEST(HelpWindow, ShowsTheHelpFileFromItsStart) {
    CHelpWindow help;
    ASSERT_TRUE(help.ShowHelp(kHelpFile));
    EXPECT_TRUE(help.isVisible());
    EXPECT_EQ(help.windowTitle(), "Справка Orvek Lumeno");
    EXPECT_EQ(help.Browser()->verticalScrollBar()->value(), 0);
    help.Browser()->verticalScrollBar()->setValue(help.Browser()->verticalScrollBar()->maximum());
    ASSERT_TRUE(help.ShowHelp(kHelpFile));
    EXPECT_EQ(help.Browser()->verticalScrollBar()->value(), 0);
}

// Qt's portable names of the program's keys, as the help file writes them.
QString HelpKeyName(const QKeySequence& key) {
    QString name = key.toString(QKeySequence::PortableText);
    if (name == "Space") return "Пробел";
    if (name == "Num++") return "Num +";
    if (name == "Num+-") return "Num -";
    name.replace("Ins", "Insert");
    name.replace("Left", "Влево");
    name.replace("Right", "Вправо");
    return name;
}

TEST(HelpWindow, TheHelpFileCoversEveryCommand) {
    CHelpWindow help;
    ASSERT_TRUE(help.ShowHelp(kHelpFile));
    const QString text = help.Browser()->toPlainText().simplified();
    for (const CommandSpec& command : CommandTable()) {
        QString item = command.menuText.section(u'\t', 0, 0);
        item.remove(u'&');
        if (!item.isEmpty()) {
            EXPECT_TRUE(text.contains(item)) << item.toStdString();
        }
        const QString tip = command.tooltip.section(" (", 0, 0);
        if (!tip.isEmpty()) {
            EXPECT_TRUE(text.contains(tip)) << tip.toStdString();
        }
        for (const QKeySequence& key : command.keys) {
            EXPECT_TRUE(text.contains(HelpKeyName(key))) << HelpKeyName(key).toStdString();
        }
    }
    for (const char* topic :
         {"Читать по одному слову", "Читать по нескольку слов", "Пороговое число символов", "Полка",
          "Закладки", "Дефолт", "Различать заглавные", "Целое слово", "lmn.dat", "bksh.dat",
          "Выделять опорную букву", "lmn.ini", "слов/мин"}) {
        EXPECT_TRUE(text.contains(QString::fromUtf8(topic))) << topic;
    }
}

TEST(UpDownCtrl, KeepsItsPositionInRangeAndWritesItToTheBuddy) {
    QLabel buddy;
    CUpDownCtrl arrows;
    arrows.SetRange(0, 7);
    arrows.SetBuddy(&buddy);
    EXPECT_EQ(buddy.text(), "0");
    int changes = 0;
    QObject::connect(&arrows, &CUpDownCtrl::PositionChanged, [&] { ++changes; });
    struct Row {
        const char* name;
        std::function<void()> act;
        int position;
    };
    const Row rows[] = {
        {"set within", [&] { arrows.SetPos(5); }, 5},
        {"up", [&] { arrows.UpArrow()->click(); }, 6},
        {"up to the top", [&] { arrows.UpArrow()->click(); }, 7},
        {"up past the top", [&] { arrows.UpArrow()->click(); }, 7},
        {"set above", [&] { arrows.SetPos(12); }, 7},
        {"set below", [&] { arrows.SetPos(-4); }, 0},
        {"down past the bottom", [&] { arrows.DownArrow()->click(); }, 0},
        {"narrower range", [&] { arrows.SetRange(5, 20); }, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.act();
        EXPECT_EQ(arrows.Pos(), row.position);
        EXPECT_EQ(buddy.text(), QString::number(row.position));
    }
    EXPECT_EQ(changes, 5);  // only real changes are announced
}

}  // namespace
