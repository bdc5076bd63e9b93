#pragma once
// Finding a sound effect's file on disk from its name as stored in the project.

#include <filesystem>
#include <string>

/** The disk path of a sound name (bytes in the ANSI code page, backslashes as
 *  stored): a relative name is appended to the work folder; the result is
 *  canonicalised, converted to UTF-8 with '/' separators, and a component missing
 *  on a case-sensitive file system is matched case-insensitively. */
std::filesystem::path ResolveSoundPath(const std::string& name, const std::string& workFolder);
