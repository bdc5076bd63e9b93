#include "platform/Paths.h"

#include "platform/CodePage.h"
#include "platform/Strings.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace paths {

namespace {

bool isSep(char c) { return c == '\\' || c == '/'; }

// Byte offsets of the separators (UTF-8 multi-byte characters hold no ASCII bytes).
std::vector<size_t> separators(const std::string& path)
{
    std::vector<size_t> out;
    for (size_t i = 0; i < path.size(); ++i)
        if (isSep(path[i]))
            out.push_back(i);
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

std::string lowerAscii(std::string s)
{
    for (char& c : s)
        c = lowerAscii(c);
    return s;
}

// A folder entry's name as model text: names that are not UTF-8 (written on
// Windows in the ANSI code page) are decoded.
std::string entryName(const fs::path& name)
{
    const std::string native = name.string();
    return platform::IsUtf8(native) ? native : platform::DecodeText(native, platform::AnsiCodePage());
}

bool existsOnDisk(const fs::path& p)
{
    std::error_code ec;
    return fs::exists(p, ec);
}

} // namespace

std::string LimitPath(const std::string& path)
{
    return path.size() < kMaxPath ? path : platform::CutUtf8(path, kMaxPath - 1);
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
    std::string text = path;
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
                if (equalNoCase(entryName(name), part.string())) {
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
    std::string out = entryName(path);
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}

std::string ForDisplay(const std::string& path)
{
    std::string out = path;
    std::replace(out.begin(), out.end(), '\\', char(fs::path::preferred_separator));
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
    const std::string tail = seps.empty() ? full : full.substr(seps.back()); // "\file.dat"
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
        end += std::max<size_t>(1, platform::Utf8CharLength(name, end));
        const std::string candidate = name.substr(0, std::min(end, name.size())) + "...";
        if (measure(candidate) > maxWidth)
            break;
        best = candidate;
    }
    return best;
}

std::string cNameIndex::Find(const std::string& folder, const std::string& name)
{
    // Folder parts of the name select a subfolder; the last part is the stem.
    const std::string fullFolder = FolderOf(name).empty() ? folder : folder + "\\" + ToBackslashes(FolderOf(name));
    const std::string stem = lowerAscii(FileNameOf(name));
    auto [entry, added] = folders_.try_emplace(lowerAscii(fullFolder));
    std::map<std::string, std::string>& files = entry->second;
    if (added) {
        std::error_code ec;
        for (fs::directory_iterator it(ToDiskPath(fullFolder), ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code typeError;
            if (!it->is_regular_file(typeError))
                continue;
            // The file answers to its whole name and to every prefix that ends before a dot.
            const std::string file = entryName(it->path().filename());
            const std::string key = lowerAscii(file);
            for (size_t dot = key.find('.');; dot = key.find('.', dot + 1)) {
                std::string& best = files[key.substr(0, dot)];
                if (best.empty() || file < best)
                    best = file;
                if (dot == std::string::npos)
                    break;
            }
        }
    }
    const auto found = files.find(stem);
    if (found == files.end())
        return {};
    const std::string subfolder = ToBackslashes(FolderOf(name));
    return subfolder.empty() ? found->second : subfolder + "\\" + found->second;
}

std::string FindFileWithStem(const std::string& folder, const std::string& name)
{
    return cNameIndex().Find(folder, name);
}

} // namespace paths
