#pragma once
// INI file with the semantics of the Windows profile functions: sections and
// keys match case-insensitively, values are trimmed and lose one pair of
// enclosing quotes, the first occurrence of a key wins, lines that are not
// "[section]" or "key=value" are ignored on reading and kept on writing.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace project {

class cIniFile {
public:
    /** Loads the file; a missing or unreadable file gives an empty document (false, and
     *  the reason in error when given). */
    bool Load(const std::filesystem::path& path, std::string* error = nullptr);
    /** Parses text (CR LF or LF line ends). */
    void Parse(std::string_view text);

    /** GetPrivateProfileString: the value, or def when the key is missing, cut to
     *  bufferSize - 1 bytes. */
    std::string GetString(std::string_view section, std::string_view key, std::string_view def,
                          size_t bufferSize) const;
    /** WritePrivateProfileString: replaces the key's first line, or appends it at the
     *  end of its section, or appends the section at the end of the file. */
    void SetString(std::string_view section, std::string_view key, std::string_view value);

    /** The document as text, with the line ending of the loaded file (CR LF for new ones). */
    std::string Text() const;
    /** Writes the document crash-safely; false (old file untouched, the reason in error)
     *  on failure. */
    bool Save(const std::filesystem::path& path, std::string* error = nullptr) const;

private:
    struct Line {
        std::string text; // without line end
    };
    // Index of the line holding key in section, or -1; sectionEnd gets the index
    // after the section's last line that holds content (or -1 without section).
    long Find(std::string_view section, std::string_view key, long* sectionEnd) const;

    std::vector<Line> lines_;
    std::string eol_ = "\r\n";
    bool finalEol_ = true;
};

} // namespace project
