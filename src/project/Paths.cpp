#include "project/Paths.h"

#include "model/AnimeData.h"
#include "platform/CodePage.h"
#include "project/Settings.h"

#include <algorithm>
#include <cctype>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace paths {

namespace {

bool isSep(char c) { return c == '\\' || c == '/'; }

// Byte offsets of the separators that start a character (a CP932 trail byte may be 0x5C).
std::vector<size_t> separators(const std::string& path)
{
    std::vector<size_t> out;
    for (size_t i = 0; i < path.size();) {
        if (isSep(path[i]))
            out.push_back(i);
        i += std::max<size_t>(1, platform::AnsiCharLength(path, i));
    }
    return out;
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool equalNoCase(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    return true;
}

// Splits into a root ("", "\" or "C:\" / "C:") and the non-empty components.
struct Split {
    std::string root;
    std::vector<std::string> parts;
};

Split split(const std::string& path)
{
    Split s;
    size_t start = 0;
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        s.root = path.substr(0, 2);
        start = 2;
    }
    if (start < path.size() && isSep(path[start])) {
        s.root += '\\';
        ++start;
    }
    size_t from = start;
    for (size_t sep : separators(path)) {
        if (sep < start)
            continue;
        if (sep > from)
            s.parts.push_back(path.substr(from, sep - from));
        from = sep + 1;
    }
    if (from < path.size())
        s.parts.push_back(path.substr(from));
    return s;
}

std::string join(const std::string& root, const std::vector<std::string>& parts)
{
    std::string out = root;
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i)
            out += '\\';
        out += parts[i];
    }
    return out;
}

std::string toUtf8OrRaw(const std::string& ansi)
{
    std::string utf8 = platform::AnsiToUtf8(ansi);
    return utf8.empty() ? ansi : utf8;
}

bool existsOnDisk(const fs::path& p)
{
    std::error_code ec;
    return fs::exists(p, ec);
}

} // namespace

std::string LimitPath(const std::string& path)
{
    if (path.size() < kMaxPath)
        return path;
    size_t end = 0;
    while (end < path.size()) {
        const size_t next = end + std::max<size_t>(1, platform::AnsiCharLength(path, end));
        if (next > kMaxPath - 1)
            break;
        end = next;
    }
    return path.substr(0, end);
}

bool IsAbsolute(const std::string& path)
{
    if (!path.empty() && isSep(path[0]))
        return true;
    return path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]));
}

std::string ToBackslashes(const std::string& path)
{
    std::string out;
    out.reserve(path.size());
    const std::vector<size_t> seps = separators(path);
    size_t k = 0;
    bool afterSep = false;
    for (size_t i = 0; i < path.size(); ++i) {
        if (k < seps.size() && seps[k] == i) {
            ++k;
            // Keep a leading "\\" (network path), merge others.
            if (afterSep && i > 1)
                continue;
            out += '\\';
            afterSep = true;
        } else {
            out += path[i];
            afterSep = false;
        }
    }
    return out;
}

std::string Canonicalize(const std::string& path)
{
    Split s = split(path);
    std::vector<std::string> out;
    for (std::string& part : s.parts) {
        if (part == ".")
            continue;
        if (part == "..") {
            if (!out.empty() && out.back() != "..")
                out.pop_back();
            else if (s.root.empty())
                out.push_back(part);
            continue;
        }
        out.push_back(std::move(part));
    }
    return join(s.root, out);
}

fs::path ToDiskPath(const std::string& path)
{
    // Separators are safe to replace after conversion: UTF-8 multi-byte sequences hold no '\'.
    std::string text = platform::AnsiToUtf8(path);
    if (text.empty())
        text = ToBackslashes(path);
    std::replace(text.begin(), text.end(), '\\', '/');
    fs::path exact(text);
    if (text.empty() || existsOnDisk(exact))
        return exact;

    fs::path current = exact.root_path();
    bool searching = true;
    for (const fs::path& part : exact.relative_path()) {
        fs::path next = current / part;
        if (searching && !existsOnDisk(next)) {
            searching = false;
            std::error_code ec;
            const fs::path folder = current.empty() ? fs::path(".") : current;
            for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
                const fs::path name = it->path().filename();
                if (equalNoCase(name.string(), part.string())) {
                    next = current / name;
                    searching = true;
                    break;
                }
            }
        }
        current = next;
    }
    return current;
}

std::string FromDiskPath(const fs::path& path)
{
    const std::string native = path.string();
    const std::string ansi = platform::Utf8ToAnsi(native);
    if (!ansi.empty())
        return ToBackslashes(ansi);
    // Not representable in the code page: keep the UTF-8 bytes, where '/' is always a separator.
    std::string out = native;
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}

bool Exists(const std::string& path) { return !path.empty() && existsOnDisk(ToDiskPath(path)); }

bool IsFolder(const std::string& path)
{
    std::error_code ec;
    return !path.empty() && fs::is_directory(ToDiskPath(path), ec);
}

std::string MakeRelative(const std::string& path, const std::string& folder)
{
    const std::string limited = LimitPath(path);
    if (!IsAbsolute(limited) || folder.empty())
        return limited;
    const Split p = split(Canonicalize(limited));
    const Split f = split(Canonicalize(folder));
    if (!equalNoCase(p.root, f.root) || f.parts.size() >= p.parts.size())
        return limited;
    for (size_t i = 0; i < f.parts.size(); ++i)
        if (!equalNoCase(f.parts[i], p.parts[i]))
            return limited;
    return join("", std::vector<std::string>(p.parts.begin() + long(f.parts.size()), p.parts.end()));
}

std::string MakeAbsolute(const std::string& path, const std::string& folder)
{
    if (IsAbsolute(path) || path.empty())
        return path;
    if (folder.empty())
        return Canonicalize(path);
    return Canonicalize(folder + "\\" + path);
}

std::string WorkFolderOf(const std::string& path, const std::string& folderName)
{
    if (folderName.empty())
        return {};
    const std::vector<size_t> seps = separators(path);
    for (size_t k = seps.size(); k-- > 1;) {
        const size_t from = seps[k - 1] + 1;
        if (seps[k] - from == folderName.size() && path.compare(from, folderName.size(), folderName) == 0)
            return path.substr(0, seps[k]);
    }
    return {};
}

std::string WorkFolderOf(const std::string& path) { return WorkFolderOf(path, Settings().FolderName_C); }

std::string FolderOf(const std::string& path)
{
    const std::vector<size_t> seps = separators(path);
    return seps.empty() ? std::string() : path.substr(0, seps.back());
}

std::string FileNameOf(const std::string& path)
{
    const std::vector<size_t> seps = separators(path);
    return seps.empty() ? path : path.substr(seps.back() + 1);
}

std::string SiblingPath(const std::string& path, const std::string& name)
{
    return FolderOf(LimitPath(path)) + "\\" + name;
}

std::string ShortenForTitle(const std::string& path, const std::function<int(const std::string&)>& measure,
                            int maxWidth)
{
    const std::string full = LimitPath(path);
    if (measure(full) <= maxWidth)
        return full;
    const std::vector<size_t> seps = separators(full);
    const std::string tail = seps.empty() ? full : full.substr(seps.back());   // "\file.dat"
    for (size_t k = seps.size(); k-- > 1;) {
        const std::string candidate = full.substr(0, seps[k - 1]) + "\\..." + tail;
        if (measure(candidate) <= maxWidth)
            return candidate;
    }
    const std::string name = seps.empty() ? full : full.substr(seps.back() + 1);
    if (measure("...\\" + name) <= maxWidth)
        return "...\\" + name;
    // Even the file name is too wide: cut it at a character boundary.
    std::string best = "...";
    for (size_t end = 0; end < name.size();) {
        end += std::max<size_t>(1, platform::AnsiCharLength(name, end));
        const std::string candidate = name.substr(0, std::min(end, name.size())) + "...";
        if (measure(candidate) > maxWidth)
            break;
        best = candidate;
    }
    return best;
}

std::string FindFileWithStem(const std::string& folder, const std::string& name)
{
    std::error_code ec;
    std::string best;
    for (fs::directory_iterator it(ToDiskPath(folder), ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        const std::string file = FromDiskPath(it->path().filename());
        const bool match = equalNoCase(file, name) ||
                           (file.size() > name.size() && file[name.size()] == '.' &&
                            equalNoCase(file.substr(0, name.size()), name));
        if (match && (best.empty() || file < best))
            best = file;
    }
    return best;
}

namespace {
std::string resolveName(const std::string& name, const std::string& folder)
{
    if (IsAbsolute(folder)) {
        const std::string found = FindFileWithStem(folder, name);
        if (!found.empty())
            return folder + "\\" + found;
    }
    return folder + "\\" + name;
}
} // namespace

void ResolveImportedNames(cAnimeData& project, const std::string& pictureFolder, const std::string& soundFolder)
{
    // Empty names stay empty: there is no file to point at.
    for (int i = 0; i < project.Pictures().Size(); ++i)
        if (strPicture* p = project.GetPicture(i); p && !p->path.empty())
            p->path = resolveName(p->path, pictureFolder);
    for (int i = 0; i < project.Effects().Size(); ++i)
        if (strEffect* e = project.GetEffect(i); e && (e->flags & EF_SOUND) && !e->seName.empty())
            e->seName = resolveName(e->seName, soundFolder);
}

void ResolveImportedNames(cAnimeData& project)
{
    ResolveImportedNames(project, Settings().FolderName_G, Settings().FolderName_S);
}

} // namespace paths
