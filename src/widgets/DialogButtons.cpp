#include "widgets/DialogButtons.h"

#include <QDialog>
#include <QPushButton>

#include "base/QtText.h"
#include "widgets/DialogUnits.h"

DialogButtons AddDialogButtons(QDialog& dialog, const DialogUnits& units, int acceptLeft,
                               int cancelLeft, int top, const QString& acceptText,
                               const QString& acceptName) {
    auto* accept = new QPushButton(acceptText, &dialog);
    accept->setObjectName(acceptName);
    accept->setDefault(true);
    units.Place(accept, acceptLeft, top, 40, 14);
    auto* cancel = new QPushButton(ProgramText("Отмена"), &dialog);
    cancel->setObjectName("CancelButton");
    units.Place(cancel, cancelLeft, top, 40, 14);
    QObject::connect(accept, &QPushButton::clicked, &dialog, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    return {accept, cancel};
}

QPushButton* AddDefaultsButton(QDialog& dialog, const DialogUnits& units, int top) {
    auto* defaults = new QPushButton(ProgramText("Дефолт"), &dialog);
    defaults->setObjectName("DefaultsButton");
    units.Place(defaults, 3, top, 40, 14);
    return defaults;
}
