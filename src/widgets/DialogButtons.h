#pragma once

#include <QString>

class DialogUnits;
class QDialog;
class QPushButton;

// The button row dialogs share: the default button (OK unless named
// otherwise) and "Отмена", each 40 by 14 dialog units, at their template
// places; the default accepts the dialog and "Отмена" rejects it.
struct DialogButtons {
    QPushButton* accept;
    QPushButton* cancel;
};
DialogButtons AddDialogButtons(QDialog& dialog, const DialogUnits& units, int acceptLeft,
                               int cancelLeft, int top, const QString& acceptText = "OK",
                               const QString& acceptName = "OkButton");
// "Дефолт" at the row's left edge, 3 dialog units in.
QPushButton* AddDefaultsButton(QDialog& dialog, const DialogUnits& units, int top);
