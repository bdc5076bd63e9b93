#include "ui/Language.h"

#include "platform/Strings.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <memory>

namespace {

// The translators in use; replaced together when the language changes.
struct strInstalled {
    std::unique_ptr<QTranslator> program, qt;
};

strInstalled& installed()
{
    static strInstalled translators;
    return translators;
}

void remove(std::unique_ptr<QTranslator>& translator)
{
    if (translator)
        QCoreApplication::removeTranslator(translator.get());
    translator.reset();
}

std::unique_ptr<QTranslator> load(const QString& name, const QString& folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, folder) || !QCoreApplication::installTranslator(translator.get()))
        return nullptr;
    return translator;
}

} // namespace

eLanguage ChooseLanguage(const std::string& choice, const QLocale& system)
{
    if (choice == "ja")
        return LANG_JAPANESE;
    if (choice == "en")
        return LANG_ENGLISH;
    return system.language() == QLocale::Japanese ? LANG_JAPANESE : LANG_ENGLISH;
}

void UnloadLanguage()
{
    remove(installed().program);
    remove(installed().qt);
    platform::SetTextTranslator(nullptr);
    QLocale::setDefault(QLocale::system());
}

bool LoadLanguage(eLanguage language)
{
    UnloadLanguage();
    strInstalled& now = installed();
    if (language == LANG_JAPANESE) {
        // Dates and file types in Qt's dialogs follow the default locale, their buttons
        // and labels Qt's own translation.
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        now.qt = load("qtbase_ja", QLibraryInfo::path(QLibraryInfo::TranslationsPath));
        return now.qt != nullptr;
    }
    // The texts are written in Japanese; English comes from the built-in translation.
    if (QLocale::system().language() == QLocale::Japanese)
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    now.program = load("mevko_en", ":/translations");
    if (!now.program)
        return false;
    platform::SetTextTranslator(
        [](const char* source) { return QCoreApplication::translate("Strings", source).toStdString(); });
    return true;
}

QString MenuLabel(const std::string& text) { return QCoreApplication::translate("Menu", text.c_str()); }
