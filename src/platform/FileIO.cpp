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
    AtomicFileWriter file(path);
    return file.Write(data, size) && file.Commit();
}

AtomicFileWriter::AtomicFileWriter(const std::filesystem::path& path) : m_path(path), m_tmp(path)
{
    m_tmp += ".tmp-" + std::to_string(::getpid());
    m_fd = ::open(m_tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

bool AtomicFileWriter::Write(const void* data, size_t size)
{
    const char* p = static_cast<const char*>(data);
    while (ok() && size > 0) {
        const ssize_t w = ::write(m_fd, p, size);
        if (w < 0) {
            if (errno != EINTR)
                m_failed = true;
            continue;
        }
        p += w;
        size -= size_t(w);
    }
    return ok();
}

bool AtomicFileWriter::Commit()
{
    if (m_fd < 0)
        return false;
    bool good = !m_failed && ::fsync(m_fd) == 0;
    if (::close(m_fd) != 0)
        good = false;
    m_fd = -1;
    if (good && ::rename(m_tmp.c_str(), m_path.c_str()) != 0)
        good = false;
    if (!good)
        ::unlink(m_tmp.c_str());
    return good;
}

void AtomicFileWriter::Discard()
{
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
    ::unlink(m_tmp.c_str());
}

} // namespace platform
