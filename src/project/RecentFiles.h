#pragma once
// The projects opened or saved last, newest first, remembered in config.ini in a
// section of their own ("RECENT", keys File1..File8) beside the settings.

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace project {
class cIniFile;
}

class cRecentFiles {
public:
    static constexpr size_t kMax = 8;

    /** Puts path first: an entry naming the same file moves up instead of repeating,
     *  and the oldest beyond kMax drops out. An empty path is ignored. */
    void Add(const std::string& path);
    /** Takes the entries naming path out. */
    void Remove(const std::string& path);
    const std::vector<std::string>& Paths() const { return paths_; }

    /** Reads File1..File8 in order; blank and repeated entries are skipped. */
    void Read(const project::cIniFile& ini);
    /** Sets File1..File8 (blank for unused places), keeping the rest of the file. */
    void Write(project::cIniFile& ini) const;
    /** Reads the list from a config.ini; false (and an empty list) when it cannot be read. */
    bool Load(const std::filesystem::path& file);
    /** Writes the list into a config.ini crash-safely, keeping its other sections; false
     *  (the file as it was, the reason in error) when it cannot be written. */
    bool Save(const std::filesystem::path& file, std::string* error = nullptr) const;

private:
    std::vector<std::string> paths_;
};
