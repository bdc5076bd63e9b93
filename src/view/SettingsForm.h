#pragma once
// The settings dialog's conversions between stored settings and the texts and
// choices its controls show.

#include <cstdint>
#include <string>

/** A folder name as stored from its edit: empty or blank text gives the default. */
std::string FolderNameOrDefault(const std::string& text, const char* defaultName);
/** A colour edit ("0xaarrggbb", hexadecimal with or without 0x); text that does not
 *  parse gives 0x80808080. */
uint32_t ParseColour(const std::string& text);
/** The text shown for a colour: "0x" and eight (withAlpha) or six hexadecimal digits. */
std::string ColourText(uint32_t colour, bool withAlpha);

/** The language choices in order: automatic, Japanese, English. */
constexpr int kLanguageChoices = 3;
/** The choice of a language setting; unknown settings choose automatic (0). */
int LanguageChoice(const std::string& setting);
/** The language setting of a choice ("", "ja", "en"); out-of-range choices clamp. */
std::string LanguageSetting(int choice);
