#include "project/IniFile.h"

#include "platform/FileIO.h"

#include <algorithm>
#include <cctype>

namespace project {

namespace {
std::string_view trim(std::string_view s)
{
    const char* ws = " \t\r\n";
    const size_t b = s.find_first_not_of(ws);
    if (b == std::string_view::npos)
        return {};
    const size_t e = s.find_last_not_of(ws);
    return s.substr(b, e - b + 1);
}

bool equalNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// "[name]" -> name; false for other lines.
bool sectionName(std::string_view line, std::string_view& name)
{
    line = trim(line);
    if (line.size() < 2 || line.front() != '[')
        return false;
    const size_t close = line.find(']');
    if (close == std::string_view::npos)
        return false;
    name = trim(line.substr(1, close - 1));
    return true;
}

// "key=value" -> key and raw value; false for lines without '='.
bool keyValue(std::string_view line, std::string_view& key, std::string_view& value)
{
    const size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = trim(line.substr(0, eq));
    value = trim(line.substr(eq + 1));
    return true;
}
} // namespace

bool cIniFile::Load(const std::filesystem::path& path, std::string* error)
{
    std::string text;
    const bool ok = platform::ReadFile(path, text, platform::FileKind::Config, error);
    Parse(ok ? text : std::string());
    return ok;
}

void cIniFile::Parse(std::string_view text)
{
    lines_.clear();
    eol_ = "\r\n";
    finalEol_ = true;
    const size_t firstLf = text.find('\n');
    if (firstLf != std::string_view::npos && (firstLf == 0 || text[firstLf - 1] != '\r'))
        eol_ = "\n";
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        const bool last = end == std::string_view::npos;
        if (last)
            end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines_.push_back({std::string(line)});
        if (last)
            finalEol_ = false;
        pos = end + 1;
    }
}

long cIniFile::Find(std::string_view section, std::string_view key, long* sectionEnd) const
{
    bool inSection = false;
    long found = -1;
    if (sectionEnd)
        *sectionEnd = -1;
    for (size_t i = 0; i < lines_.size(); ++i) {
        std::string_view name;
        if (sectionName(lines_[i].text, name)) {
            inSection = equalNoCase(name, section);
            if (inSection && sectionEnd && *sectionEnd < 0)
                *sectionEnd = long(i) + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (!trim(lines_[i].text).empty() && sectionEnd)
            *sectionEnd = long(i) + 1;
        std::string_view k, v;
        if (found < 0 && keyValue(lines_[i].text, k, v) && equalNoCase(k, key))
            found = long(i);
    }
    return found;
}

std::string cIniFile::GetString(std::string_view section, std::string_view key, std::string_view def,
                                size_t bufferSize) const
{
    std::string value(def);
    const long i = Find(section, key, nullptr);
    if (i >= 0) {
        std::string_view k, v;
        keyValue(lines_[size_t(i)].text, k, v);
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        value = std::string(v);
    }
    if (bufferSize == 0)
        return {};
    if (value.size() > bufferSize - 1)
        value.resize(bufferSize - 1);
    return value;
}

void cIniFile::SetString(std::string_view section, std::string_view key, std::string_view value)
{
    std::string line = std::string(key) + "=" + std::string(value);
    long sectionEnd = -1;
    const long i = Find(section, key, &sectionEnd);
    if (i >= 0) {
        lines_[size_t(i)].text = std::move(line);
        return;
    }
    if (sectionEnd < 0) {
        if (!lines_.empty() && !trim(lines_.back().text).empty())
            finalEol_ = true;
        lines_.push_back({"[" + std::string(section) + "]"});
        sectionEnd = long(lines_.size());
    }
    lines_.insert(lines_.begin() + sectionEnd, {std::move(line)});
    if (size_t(sectionEnd) == lines_.size() - 1)
        finalEol_ = true;
}

std::string cIniFile::Text() const
{
    std::string out;
    for (size_t i = 0; i < lines_.size(); ++i) {
        out += lines_[i].text;
        if (i + 1 < lines_.size() || finalEol_)
            out += eol_;
    }
    return out;
}

bool cIniFile::Save(const std::filesystem::path& path, std::string* error) const
{
    return platform::WriteFileAtomic(path, Text(), error);
}

} // namespace project
