#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <functional>
#include <memory>

#include "Screenshot.h"
#include "base/CodePage.h"
#include "frame/CAboutDlg.h"
#include "frame/CHelpTextDlg.h"
#include "frame/CHelpWindow.h"
#include "settings/CAreaDlg.h"
#include "settings/CGeneralDlg.h"
#include "settings/ReaderSettings.h"
#include "text/CFindDlg.h"

// Every dialog is laid out from its template in dialog units of the desktop's
// font; here each one is shown and every text checked to fit its control.
// With LMN_SCREENSHOT_DIR set, each dialog is also saved there as a PNG, with
// its title drawn above it as a caption bar would show it.

namespace {

struct DialogCase {
    const char* file;
    std::function<std::unique_ptr<QWidget>()> make;
};

ReaderSettings& Settings() {
    static ReaderSettings settings = DefaultSettings(1024, 768);
    return settings;
}

const std::vector<DialogCase>& Dialogs() {
    static const std::vector<DialogCase> dialogs = {
        {"find.png",
         [] {
             return std::make_unique<CFindDlg>(U"быстрое чтение", SearchOptions{false, true});
         }},
        {"general-settings.png",
         [] {
             Settings().severalWords = 1;
             return std::make_unique<CGeneralDlg>(Settings(), nullptr);
         }},
        {"area-reading.png",
         [] { return std::make_unique<CAreaDlg>(AreaPane::Reading, DefaultReadingArea()); }},
        {"area-text.png",
         [] { return std::make_unique<CAreaDlg>(AreaPane::Text, DefaultTextArea()); }},
        {"hotkeys.png", [] { return std::make_unique<CHelpTextDlg>(HelpTextMode::HotKeys); }},
        {"mouse.png", [] { return std::make_unique<CHelpTextDlg>(HelpTextMode::MouseUsage); }},
        {"about.png", [] { return std::make_unique<CAboutDlg>(); }},
        {"help.png",
         [] {
             auto help = std::make_unique<CHelpWindow>();
             help->ShowHelp(QStringLiteral(LMN_TEST_DATA "/../../res/lmn.html"));
             return help;
         }},
    };
    return dialogs;
}

// Room a text needs in its control; none for controls without a text.
void ExpectTextFits(QWidget* control) {
    const std::string what =
        control->metaObject()->className() + std::string(" ") + control->objectName().toStdString();
    if (auto* label = qobject_cast<QLabel*>(control)) {
        if (label->text().isEmpty()) return;
        if (label->wordWrap()) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height())
                << what << " " << label->text().toStdString();
        } else {
            EXPECT_LE(label->sizeHint().width(), label->width()) << label->text().toStdString();
            EXPECT_LE(label->sizeHint().height(), label->height()) << label->text().toStdString();
        }
    } else if (qobject_cast<QCheckBox*>(control) != nullptr ||
               qobject_cast<QRadioButton*>(control) != nullptr) {
        auto* button = static_cast<QAbstractButton*>(control);
        EXPECT_LE(button->sizeHint().width(), button->width()) << button->text().toStdString();
        EXPECT_LE(button->fontMetrics().height(), button->height()) << button->text().toStdString();
    } else if (auto* button = qobject_cast<QPushButton*>(control)) {
        const int needed = button->fontMetrics().horizontalAdvance(button->text()) + 8;
        EXPECT_LE(needed, button->width()) << button->text().toStdString();
    } else if (auto* box = qobject_cast<QGroupBox*>(control)) {
        EXPECT_LE(box->fontMetrics().horizontalAdvance(box->title()) + 16, box->width())
            << box->title().toStdString();
    }
}

TEST(DialogLayout, EveryTextFitsItsControlInsideTheDialog) {
    const QString shots = qEnvironmentVariable("LMN_SCREENSHOT_DIR");
    if (!shots.isEmpty()) QDir().mkpath(shots);
    for (const DialogCase& item : Dialogs()) {
        SCOPED_TRACE(item.file);
        std::unique_ptr<QWidget> dialog = item.make();
        dialog->show();
        const QRect inside = dialog->rect();
        for (QWidget* control : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!control->isVisible()) continue;
            EXPECT_TRUE(inside.contains(control->geometry()))
                << control->metaObject()->className() << " " << control->objectName().toStdString();
            ExpectTextFits(control);
        }
        if (!shots.isEmpty()) {
            EXPECT_TRUE(WithCaption(*dialog).save(QDir(shots).filePath(item.file)));
        }
    }
}

}  // namespace
