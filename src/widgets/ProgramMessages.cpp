#include "widgets/ProgramMessages.h"

#include <QMessageBox>
#include <QPushButton>

#include "base/QtText.h"

namespace {

int ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
            QMessageBox::StandardButtons buttons) {
    QMessageBox box(icon, ProgramText(kProgramTitle), text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    if (buttons.testFlag(QMessageBox::Yes)) box.setDefaultButton(QMessageBox::Yes);
    return box.exec();
}

}  // namespace

void ShowMessage(QWidget* parent, MessageCode code) {
    ShowWarning(parent, ProgramText(MessageText(code)));
}

void ShowWarning(QWidget* parent, const QString& text) {
    ShowBox(parent, QMessageBox::Warning, text, QMessageBox::Ok);
}

void ShowNote(QWidget* parent, const QString& text) {
    ShowBox(parent, QMessageBox::NoIcon, text, QMessageBox::Ok);
}

bool AskYesNo(QWidget* parent, const QString& text) {
    return ShowBox(parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

int AskChoice(QWidget* parent, const QString& text, const QStringList& answers) {
    QMessageBox box(QMessageBox::Warning, ProgramText(kProgramTitle), text, QMessageBox::NoButton,
                    parent);
    box.setTextFormat(Qt::PlainText);
    QList<QAbstractButton*> buttons;
    for (const QString& answer : answers) buttons << box.addButton(answer, QMessageBox::AcceptRole);
    if (!buttons.isEmpty()) box.setDefaultButton(qobject_cast<QPushButton*>(buttons.front()));
    box.exec();
    return static_cast<int>(buttons.indexOf(box.clickedButton()));
}
