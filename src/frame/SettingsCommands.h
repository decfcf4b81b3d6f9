#pragma once

#include <QString>
#include <QStringList>

#include "base/InterfaceLanguage.h"
#include "settings/AreaChoice.h"

class CReadArea;
class CTextCtrl;
class QWidget;
struct ReaderSettings;

// The dialogs of the settings commands: each edits the settings record, and
// the panes that show what changed are told.

// A settings file (lmn.dat, lmn.ini) that cannot be written is told once,
// until a write of it succeeds again.
class SettingsWriteNotice {
public:
    void Written(QWidget* parent, const QString& path, bool written);

private:
    QStringList failing_;
};

// "Настройки. Общие". True when it ended with OK after "Дефолт": the speed
// goes back to its default then too. lmn.ini is written whatever the answer,
// since "Дефолт" writes at once.
bool RunGeneralSettings(QWidget* parent, ReaderSettings& settings, const QString& extrasPath,
                        SettingsWriteNotice& notice);
// The interface's language chosen from the menu: kept in lmn.ini, and spoken
// from the next start. A note in that language says so when it is not the
// one spoken now; rebuilding every menu, tooltip and pane at once is left to
// the restart that does it whole.
void RunLanguageChoice(QWidget* parent, LanguageChoice choice, InterfaceLanguage speaking,
                       const QString& extrasPath, SettingsWriteNotice& notice);
// The font and colours of the reading pane or of the text pane.
void RunAreaSettings(QWidget* parent, ReaderSettings& settings, AreaPane pane, CReadArea& readArea,
                     CTextCtrl& text);
