#include "playback/SoundPath.h"

#include <algorithm>
#include <cctype>
#include <system_error>

#include "platform/CodePage.h"

namespace fs = std::filesystem;

namespace {

bool isAbsoluteName(const std::string& name)
{
    if (!name.empty() && (name[0] == '\\' || name[0] == '/')) return true;
    return name.size() >= 2 && std::isalpha(static_cast<unsigned char>(name[0])) && name[1] == ':';
}

std::string toDiskText(const std::string& ansi)
{
    std::string utf8 = platform::AnsiToUtf8(ansi);
    if (utf8.empty()) utf8 = ansi;   // not valid in the code page: use the bytes as they are
    std::replace(utf8.begin(), utf8.end(), '\\', '/');
    return utf8;
}

bool equalsNoCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

// Walks the path component by component, replacing a missing component by a
// case-insensitive match among its folder's entries.
fs::path matchCase(const fs::path& path)
{
    std::error_code ec;
    if (fs::exists(path, ec)) return path;
    fs::path built;
    for (const fs::path& part : path) {
        fs::path next = built / part;
        if (!built.empty() && !fs::exists(next, ec)) {
            const std::string want = part.string();
            for (fs::directory_iterator it(built.empty() ? "." : built, ec), end; !ec && it != end;
                 it.increment(ec)) {
                if (equalsNoCase(it->path().filename().string(), want)) {
                    next = built / it->path().filename();
                    break;
                }
            }
        }
        built = next;
    }
    return built;
}

} // namespace

fs::path ResolveSoundPath(const std::string& name, const std::string& workFolder)
{
    std::string joined = name;
    if (!isAbsoluteName(name) && !workFolder.empty()) joined = workFolder + "\\" + name;
    return matchCase(fs::path(toDiskText(joined)).lexically_normal());
}
