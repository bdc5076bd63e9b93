#pragma once
// The program's string table: numbered texts (status messages, labels, item
// lists), UTF-8. Item lists are comma-separated.

#include <string>
#include <vector>

namespace platform {

/** The text of a string id; empty when the id is unknown. */
const std::string& LoadString(int id);
/** printf-style formatting of a string id's text. The loaded format is cut to
 *  255 characters and the result to 511, as the status bar expects. */
std::string FormatString(int id, ...);
/** The comma-separated items of a string id. */
std::vector<std::string> StringItems(int id);

} // namespace platform
