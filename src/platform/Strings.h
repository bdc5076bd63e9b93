#pragma once
// The program's string table: numbered texts (status messages, labels, item
// lists), UTF-8. Item lists are comma-separated.
//
// Texts are written in Japanese, the source language. A translator set by the
// window layer turns them into the interface language; without one (the command
// line, the tests) every text stays as written. Literal texts of the core code are
// marked with QT_TRANSLATE_NOOP("Strings", ...) so the translation tools find them,
// and pass through Text or FormatText where they are shown.

#include <functional>
#include <string>
#include <vector>

#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#endif

namespace platform {

/** Turns a source text of the "Strings" context into the interface language. */
using TextTranslator = std::function<std::string(const char* source)>;
/** Installs the translator (an empty one restores the source texts). Call it before
 *  other threads read texts. */
void SetTextTranslator(TextTranslator translator);

/** A marked literal text in the interface language. */
std::string Text(const char* source);
/** printf-style formatting of a marked literal format in the interface language. */
std::string FormatText(const char* format, ...);

/** The text of a string id; empty when the id is unknown. */
const std::string& LoadString(int id);
/** The untranslated text of a string id; empty when the id is unknown. */
const std::string& SourceString(int id);
/** Every id of the string table, ascending. */
std::vector<int> StringIds();
/** printf-style formatting of a string id's text. The loaded format is cut to
 *  255 characters and the result to 511, as the status bar expects. */
std::string FormatString(int id, ...);
/** The comma-separated items of a string id. */
std::vector<std::string> StringItems(int id);

} // namespace platform
