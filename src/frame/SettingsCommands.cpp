#include "frame/SettingsCommands.h"

#include <QFileInfo>

#include "base/InterfaceTranslation.h"
#include "base/ProgramTexts.h"
#include "base/QtText.h"

#include "reading/CReadArea.h"
#include "settings/CAreaDlg.h"
#include "settings/CGeneralDlg.h"
#include "settings/ExtrasFile.h"
#include "settings/ReaderSettings.h"
#include "text/CTextCtrl.h"
#include "widgets/ProgramMessages.h"

void SettingsWriteNotice::Written(QWidget* parent, const QString& path, bool written) {
    if (written) {
        failing_.removeAll(path);
    } else if (!failing_.contains(path)) {
        failing_ << path;
        ShowWarning(parent, ProgramText(kSettingsWriteFailed).arg(QFileInfo(path).fileName()));
    }
}

bool RunGeneralSettings(QWidget* parent, ReaderSettings& settings, const QString& extrasPath,
                        SettingsWriteNotice& notice) {
    CGeneralDlg dialog(settings, parent);
    const bool defaultsKept = dialog.exec() == QDialog::Accepted && dialog.DefaultsChosen();
    if (!extrasPath.isEmpty())
        notice.Written(parent, extrasPath, SaveReaderExtras(extrasPath, settings.extras));
    return defaultsKept;
}

void RunLanguageChoice(QWidget* parent, LanguageChoice choice, InterfaceLanguage speaking,
                       const QString& extrasPath, SettingsWriteNotice& notice) {
    if (extrasPath.isEmpty() || choice == LoadLanguageChoice(extrasPath)) return;
    const bool written = SaveLanguageChoice(extrasPath, choice);
    notice.Written(parent, extrasPath, written);
    const InterfaceLanguage next = InterfaceLanguageOnDesktop(choice);
    if (written && next != speaking) ShowNote(parent, ProgramTextIn(next, kLanguageAtNextStart));
}

void RunAreaSettings(QWidget* parent, ReaderSettings& settings, AreaPane pane, CReadArea& readArea,
                     CTextCtrl& text) {
    AreaAppearance& area = pane == AreaPane::Reading ? settings.readingArea : settings.textArea;
    CAreaDlg dialog(pane, area, parent);
    if (dialog.exec() != QDialog::Accepted) return;
    area = dialog.Area();
    if (pane == AreaPane::Reading) {
        readArea.RecreateDrawingObjects();
    } else {
        text.ApplyFormatToAll();
    }
}
