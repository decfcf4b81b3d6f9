#include "settings/ExtrasFile.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "settings/AreaFormat.h"

namespace {

const QString kFocusLetterKey = "Reading/FocusLetter";
const QString kFocusLetterColorKey = "Reading/FocusLetterColor";
const QString kLanguageKey = "Interface/Language";

}  // namespace

QString ExtrasPathBeside(const QString& settingsFilePath) {
    return QFileInfo(settingsFilePath).dir().filePath("lmn.ini");
}

ReaderExtras LoadReaderExtras(const QString& path) {
    ReaderExtras extras;
    const QSettings file(path, QSettings::IniFormat);
    extras.focusLetter = file.value(kFocusLetterKey, extras.focusLetter).toBool();
    const QColor color(file.value(kFocusLetterColorKey).toString());
    if (color.isValid()) extras.focusLetterColor = ColorRefFromColor(color);
    return extras;
}

bool SaveReaderExtras(const QString& path, const ReaderExtras& extras) {
    QSettings file(path, QSettings::IniFormat);
    file.setValue(kFocusLetterKey, extras.focusLetter);
    file.setValue(kFocusLetterColorKey, ColorFromColorRef(extras.focusLetterColor).name());
    file.sync();
    return file.status() == QSettings::NoError;
}

LanguageChoice LoadLanguageChoice(const QString& path) {
    if (path.isEmpty()) return LanguageChoice::Desktop;
    const QSettings file(path, QSettings::IniFormat);
    return LanguageChoiceFromKey(file.value(kLanguageKey).toString().toStdString());
}

bool SaveLanguageChoice(const QString& path, LanguageChoice choice) {
    QSettings file(path, QSettings::IniFormat);
    file.setValue(kLanguageKey, QString::fromUtf8(LanguageChoiceKey(choice)));
    file.sync();
    return file.status() == QSettings::NoError;
}
