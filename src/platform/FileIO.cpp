#include "platform/FileIO.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {
template <class Buffer>
bool readAll(const std::filesystem::path& path, Buffer& out)
{
    out.clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f)) > 0)
        out.insert(out.end(), chunk, chunk + n);
    const bool ok = !std::ferror(f);
    std::fclose(f);
    return ok;
}
} // namespace

bool ReadFile(const std::filesystem::path& path, std::vector<uint8_t>& out) { return readAll(path, out); }
bool ReadFile(const std::filesystem::path& path, std::string& out) { return readAll(path, out); }

bool WriteFileAtomic(const std::filesystem::path& path, const void* data, size_t size)
{
    std::filesystem::path tmp = path;
    tmp += ".tmp-" + std::to_string(::getpid());
    const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    const char* p = static_cast<const char*>(data);
    size_t left = size;
    bool ok = true;
    while (left > 0) {
        const ssize_t w = ::write(fd, p, left);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        p += w;
        left -= size_t(w);
    }
    if (ok && ::fsync(fd) != 0)
        ok = false;
    if (::close(fd) != 0)
        ok = false;
    if (ok && ::rename(tmp.c_str(), path.c_str()) != 0)
        ok = false;
    if (!ok)
        ::unlink(tmp.c_str());
    return ok;
}

} // namespace platform
