#pragma once

#include <QString>
#include <QStringList>

#include "base/ProgramTexts.h"

class QWidget;

// The program's message boxes, captioned with its title. Texts are shown as
// plain text: a searched fragment or a path is never taken for markup.

// One of the fixed messages: exclamation icon, OK.
void ShowMessage(QWidget* parent, MessageCode code);
// A warning of the program's own wording, exclamation icon, OK.
void ShowWarning(QWidget* parent, const QString& text);
// A note without an icon, OK.
void ShowNote(QWidget* parent, const QString& text);
// A question with Yes (the default) and No; true for Yes.
bool AskYesNo(QWidget* parent, const QString& text);
// A warning answered with one of the buttons named, the first the default:
// the index of the one pressed, -1 when the box was closed without an answer.
int AskChoice(QWidget* parent, const QString& text, const QStringList& answers);
