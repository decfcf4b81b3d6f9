#include "base/InterfaceTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

const QString kEnglishTranslation = QStringLiteral(":/translations/lmn_en.qm");

std::string_view View(const QByteArray& value) {
    return {value.constData(), static_cast<std::size_t>(value.size())};
}

}  // namespace

InterfaceLanguage InterfaceLanguageOnDesktop(LanguageChoice choice) {
    const QByteArray language = qgetenv("LANGUAGE"), lcAll = qgetenv("LC_ALL"),
                     lcMessages = qgetenv("LC_MESSAGES"), lang = qgetenv("LANG");
    return ChooseInterfaceLanguage(choice,
                                   {View(language), View(lcAll), View(lcMessages), View(lang)});
}

void InstallTranslators(QCoreApplication& application, InterfaceLanguage language) {
    auto* translator = new QTranslator(&application);
    const bool loaded = language == InterfaceLanguage::English
                            ? translator->load(kEnglishTranslation)
                            : translator->load(QStringLiteral("qtbase_ru"),
                                               QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (loaded) application.installTranslator(translator);
}

QString ProgramTextIn(InterfaceLanguage language, std::string_view utf8) {
    const QByteArray source(utf8.data(), static_cast<qsizetype>(utf8.size()));
    if (language == InterfaceLanguage::Russian) return QString::fromUtf8(source);
    QTranslator english;
    const QString text =
        english.load(kEnglishTranslation) ? english.translate("Lumeno", source.constData()) : "";
    return text.isEmpty() ? QString::fromUtf8(source) : text;
}
