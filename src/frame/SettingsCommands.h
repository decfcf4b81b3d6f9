#pragma once

#include <QString>

#include "settings/AreaChoice.h"

class CReadArea;
class CTextCtrl;
class QWidget;
struct ReaderSettings;

// The dialogs of the settings commands: each edits the settings record, and
// the panes that show what changed are told.

// "Настройки. Общие". True when it ended with OK after "Дефолт": the speed
// goes back to its default then too. lmn.ini is written whatever the answer,
// since "Дефолт" writes at once.
bool RunGeneralSettings(QWidget* parent, ReaderSettings& settings, const QString& extrasPath);
// The font and colours of the reading pane or of the text pane.
void RunAreaSettings(QWidget* parent, ReaderSettings& settings, AreaPane pane, CReadArea& readArea,
                     CTextCtrl& text);
