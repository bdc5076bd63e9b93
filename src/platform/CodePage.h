#pragma once
// Text conversions at the edges of the program. Model text is bytes in the
// "ANSI code page" chosen by the Locale setting ("jpn" -> CP932). Conversions
// that fail (bytes that are not valid in the source encoding, characters the
// target cannot hold) give an empty result.

#include <string>
#include <string_view>

namespace platform {

/** Selects the ANSI code page from a Locale setting value ("jpn" -> "CP932"). */
void SetLocale(std::string_view locale);
/** iconv name of the ANSI code page in effect (CP932 until SetLocale says otherwise). */
const std::string& AnsiCodePage();
/** iconv name for a Locale value; unknown values give CP1252. */
std::string CodePageForLocale(std::string_view locale);

std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);
std::u16string AnsiToUtf16(std::string_view ansi);
std::string Utf16ToAnsi(std::u16string_view utf16);
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

/** Converts between any two iconv encodings; false (and out empty) on failure. */
bool Convert(std::string_view bytes, const char* from, const char* to, std::string& out);

/** Length in bytes of the character starting at text[i] in the ANSI code page
 *  (1 or 2 for CP932 lead bytes); used to cut texts at character boundaries. */
size_t AnsiCharLength(std::string_view text, size_t i);

} // namespace platform
