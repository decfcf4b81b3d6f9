#include "frame/CHelpTextDlg.h"

#include <QPushButton>

#include "base/QtText.h"
#include "widgets/CColorStatic.h"
#include "widgets/DialogUnits.h"

namespace {

constexpr std::uint32_t kPaleGreen = 0x00C1FDE3;  // red 227, green 253, blue 193
// Dialog units added below the field's old height for the keys of the main
// keyboard, of the contents, of the statistics and of moving while reading.
constexpr int kAddedHeight = 72;

}  // namespace

QString CHelpTextDlg::HotKeysText() {
    return ProgramText(
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
        " Ctrl + T       Содержание\n"
        " Ctrl + I       Статистика чтения\n"
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
        " Ctrl + Вправо  К следующему предложению\n"
        " Ctrl + PgUp    К предыдущей главе\n"
        " Ctrl + PgDn    К следующей главе\n");
}

QString CHelpTextDlg::MouseUsageText() {
    return ProgramText(
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
        "\n");
}

CHelpTextDlg::CHelpTextDlg(HelpTextMode mode, QWidget* parent) : QDialog(parent) {
    setObjectName("HelpTextDialog");
    const DialogUnits units(font());

    field_ = new CColorStatic(this);
    field_->setObjectName("HelpText");
    field_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    field_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    field_->setTextFormat(Qt::PlainText);
    field_->SetBkColor(kPaleGreen);
    // The dialog's font made bold and monospaced; where Courier New is not
    // installed, another monospaced face keeps the columns aligned.
    QFont fixed = font();
    fixed.setFamilies({"Courier New", "Liberation Mono", "DejaVu Sans Mono", "monospace"});
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    fixed.setWeight(QFont::Bold);
    field_->setFont(fixed);
    units.Place(field_, 2, 3, 243, 160 + kAddedHeight);

    switch (mode) {
        case HelpTextMode::HotKeys:
            setWindowTitle(ProgramText("Горячие клавиши"));
            field_->setText(HotKeysText());
            break;
        case HelpTextMode::MouseUsage:
            setWindowTitle(ProgramText("Использование мыши"));
            field_->setText(MouseUsageText());
            break;
    }

    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("OkButton");
    ok->setDefault(true);
    units.Place(ok, 104, 167 + kAddedHeight, 40, 14);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    setFixedSize(units.Size(247, 183 + kAddedHeight));
    ok->setFocus();
}
