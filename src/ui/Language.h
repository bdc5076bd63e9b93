#pragma once
// The interface language: Japanese (the language the texts are written in) or
// English. Loading a language installs the program's compiled translation, Qt's
// own translation for its standard dialogs and the string table's translator.

#include <QString>

#include <string>

class QLocale;

enum eLanguage { LANG_JAPANESE, LANG_ENGLISH };

/** The language of a choice ("ja", "en"); any other choice (empty: automatic)
 *  follows the system locale: Japanese for a Japanese locale, otherwise English. */
eLanguage ChooseLanguage(const std::string& choice, const QLocale& system);

/** Makes language the interface language of the application, replacing the one
 *  loaded before. False when a translation it needs cannot be loaded (the texts
 *  then stay Japanese). */
bool LoadLanguage(eLanguage language);

/** Removes what LoadLanguage installed: the texts as written, Qt's dialogs untranslated. */
void UnloadLanguage();

/** A menu entry's text from the command table in the interface language. */
QString MenuLabel(const std::string& text);
