#include "library/CShelfNameDlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/CLmnApp.h"
#include "base/ProgramTexts.h"
#include "widgets/DialogUnits.h"
#include "library/CShelfFile.h"
#include "library/LibraryDialogRules.h"
#include "library/ShelfDocument.h"
#include "base/CodePage.h"

namespace {

constexpr int kMaxNameLength = 255;

}  // namespace

CShelfNameDlg::CShelfNameDlg(QWidget* parent) : QDialog(parent) {
    setObjectName("ShelfNameDialog");
    setWindowTitle(QStringLiteral("Положить документ на полку"));
    const DialogUnits units(font());

    auto* prompt = new QLabel(QStringLiteral("Имя документа на полке:"), this);
    units.Place(prompt, 3, 5, 228, 9);
    field_ = new QLineEdit(this);
    field_->setObjectName("NameField");
    field_->setMaxLength(kMaxNameLength);
    units.Place(field_, 3, 18, 237, 15);
    prompt->setBuddy(field_);

    ok_ = new QPushButton(QStringLiteral("OK"), this);
    ok_->setObjectName("OkButton");
    ok_->setDefault(true);
    units.Place(ok_, 155, 42, 40, 14);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"), this);
    cancel->setObjectName("CancelButton");
    units.Place(cancel, 200, 42, 40, 14);
    connect(ok_, &QPushButton::clicked, this, &CShelfNameDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    setFixedSize(units.Size(242, 59));
    const std::string offered = OfferedShelfName(CLmnApp::Instance()->Document().name);
    field_->setText(QString::fromStdU16String(Cp1251ToUtf16(offered)));
    field_->selectAll();
    field_->setFocus();
}

void CShelfNameDlg::accept() {
    CLmnApp* app = CLmnApp::Instance();
    const std::string name = TrimName(Utf16ToCp1251(field_->text().toStdU16String()));
    if (name.empty()) {
        app->ShowMessage(MSG_DOCUMENT_NAME_EMPTY);
        field_->setFocus();
        return;
    }
    const std::optional<std::int32_t> key = app->Shelf().AllocateKey();
    if (!key) {
        app->ShowMessage(MSG_SHELF_UNAVAILABLE);
        reject();
        return;
    }
    ShelfDocument& document = app->Document();
    document.key = *key;
    document.name = name;
    app->UpdateTitle();
    QDialog::accept();
}
