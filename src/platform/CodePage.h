#pragma once
// Text conversions at the edges of the program. Model text is UTF-8; the "ANSI
// code page" chosen by the Locale setting ("jpn" -> CP932) applies only to the
// formats that store one. EncodeText and DecodeText never lose text silently;
// the older helpers below give an empty result when a conversion fails.

#include <string>
#include <string_view>

namespace platform {

/** Selects the ANSI code page from a Locale setting value ("jpn" -> "CP932"). */
void SetLocale(std::string_view locale);
/** iconv name of the ANSI code page in effect (CP932 until SetLocale says otherwise). */
const std::string& AnsiCodePage();
/** iconv name for a Locale value: jpn CP932, chs CP936, cht CP950, kor CP949,
 *  rus/ukr/bel/bgr/srb CP1251; enu, eng and any other value CP1252. */
std::string CodePageForLocale(std::string_view locale);

/** True when the bytes are well-formed UTF-8. */
bool IsUtf8(std::string_view text);
/** Length of the UTF-8 character starting at text[i] (1 for a stray byte, 0 at the end). */
size_t Utf8CharLength(std::string_view text, size_t i);
/** The longest prefix of at most maxBytes that ends at a UTF-8 character boundary. */
std::string CutUtf8(std::string_view text, size_t maxBytes);
/** The character starting at text[i], for messages: "é (U+00E9)". */
std::string DescribeChar(std::string_view utf8, size_t i);

/** UTF-8 text in the code page. False when a character has no code there; missing
 *  (when given) then receives the byte offset of that character in utf8. */
bool EncodeText(std::string_view utf8, const std::string& codePage, std::string& out, size_t* missing = nullptr);
/** Code page bytes as UTF-8. Bytes that are not valid in the code page are taken as
 *  UTF-8 when they are well-formed UTF-8; otherwise each undecodable byte becomes
 *  U+FFFD. Never empty for non-empty input. */
std::string DecodeText(std::string_view bytes, const std::string& codePage);
/** Bytes the text takes in the project files: its size in the ANSI code page when
 *  that has every character, else its UTF-8 size. */
size_t StoredSize(std::string_view utf8);
/** The longest prefix, ending at a character boundary, whose StoredSize is at most maxBytes. */
std::string CutStored(std::string_view utf8, size_t maxBytes);

std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);
std::u16string AnsiToUtf16(std::string_view ansi);
std::string Utf16ToAnsi(std::u16string_view utf16);
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

/** Converts between any two iconv encodings; false (and out empty) on failure. */
bool Convert(std::string_view bytes, const char* from, const char* to, std::string& out);

/** Length in bytes of the character starting at text[i] in the code page (the
 *  ANSI code page when none is given): 1, or 2 for lead bytes of the double-byte
 *  code pages; used to cut texts at character boundaries. */
size_t AnsiCharLength(std::string_view text, size_t i);
size_t CodePageCharLength(std::string_view text, size_t i, const std::string& codePage);
/** Messages about texts that a format could not hold or that were cut, collected
 *  while a command runs; the command shows them with its status text. */
void NoteTextProblem(const std::string& message);
/** The collected messages joined by " / ", and forgets them. */
std::string TakeTextProblems();

/** The longest prefix of at most maxBytes that ends at a character boundary of the code page. */
std::string CutCodePage(std::string_view text, size_t maxBytes, const std::string& codePage);

} // namespace platform
