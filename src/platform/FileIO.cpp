#include "platform/FileIO.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <random>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr uint64_t kMiB = uint64_t(1) << 20;
constexpr int kMaxLinks = 40; // symlinks followed before giving up, as the kernel does

// Every failure leaves its error number in errno for callers that trace it.
bool fail(std::string* error, int err, const char* reason = nullptr)
{
    if (error)
        *error = reason ? reason : SystemReason(err);
    errno = err;
    return false;
}

bool tooLarge(std::string* error, uint64_t limit)
{
    return fail(error, EFBIG, ("larger than " + std::to_string(limit) + " bytes").c_str());
}

// strerror_r comes in a GNU flavour (returns the text) and an XSI one (fills buf).
[[maybe_unused]] const char* reasonText(const char* text, const char*) { return text; }
[[maybe_unused]] const char* reasonText(int rc, const char* buf) { return rc == 0 ? buf : "unknown error"; }

// A descriptor opened for reading, closed when it goes out of scope.
class cFd {
public:
    cFd() = default;
    ~cFd()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    cFd(const cFd&) = delete;
    cFd& operator=(const cFd&) = delete;
    int Get() const { return fd_; }
    void Adopt(int fd) { fd_ = fd; }

private:
    int fd_ = -1;
};

// Opens a regular file for reading without blocking on FIFOs; fills st.
bool openRegular(const std::filesystem::path& path, cFd& fd, struct stat& st, std::string* error)
{
    const int raw = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (raw < 0)
        return fail(error, errno);
    fd.Adopt(raw);
    if (::fstat(raw, &st) != 0)
        return fail(error, errno);
    if (S_ISDIR(st.st_mode))
        return fail(error, EISDIR);
    if (!S_ISREG(st.st_mode))
        return fail(error, EINVAL, "not a regular file");
    return true;
}

// read() that retries on interruption; -1 with errno on failure.
ssize_t readSome(int fd, void* to, size_t n)
{
    for (;;) {
        const ssize_t got = ::read(fd, to, n);
        if (got >= 0 || errno != EINTR)
            return got;
    }
}

// Reads the rest of the file, at most `limit` bytes. The size fstat gave is only a
// hint: files under /proc report 0 and a file may grow while it is read.
template <class Buffer> bool readBounded(int fd, uint64_t sizeHint, uint64_t limit, Buffer& out, std::string* error)
{
    size_t used = 0;
    out.resize(size_t(std::min(sizeHint, limit)) + 1); // the extra byte notices growth
    for (;;) {
        if (used == out.size()) {
            if (used > limit)
                return tooLarge(error, limit);
            out.resize(size_t(std::min<uint64_t>(std::max<uint64_t>(2 * uint64_t(used), 65536), limit + 1)));
        }
        const ssize_t got = readSome(fd, out.data() + used, out.size() - used);
        if (got < 0)
            return fail(error, errno);
        if (got == 0)
            break;
        used += size_t(got);
    }
    out.resize(used);
    return true;
}

template <class Buffer>
bool readWhole(const std::filesystem::path& path, Buffer& out, FileKind kind, std::string* error)
{
    out.clear();
    try {
        cFd fd;
        struct stat st {};
        if (!openRegular(path, fd, st, error))
            return false;
        const uint64_t limit = MaxFileBytes(kind);
        if (uint64_t(st.st_size) > limit)
            return tooLarge(error, limit);
        if (readBounded(fd.Get(), uint64_t(st.st_size), limit, out, error))
            return true;
    } catch (const std::bad_alloc&) {
        Buffer().swap(out);
        return fail(error, ENOMEM);
    }
    const int err = errno;
    Buffer().swap(out);
    errno = err;
    return false;
}

// Follows symlinks from `path` to the file a write must replace. exists tells whether
// that file is there; st describes it then.
bool resolveTarget(std::filesystem::path path, std::filesystem::path& target, bool& exists, struct stat& st,
                   std::string* error)
{
    for (int i = 0; i <= kMaxLinks; ++i) {
        if (::lstat(path.c_str(), &st) != 0) {
            if (errno != ENOENT)
                return fail(error, errno);
            target = path;
            exists = false;
            return true;
        }
        if (!S_ISLNK(st.st_mode)) {
            target = path;
            exists = true;
            return true;
        }
        std::string link(size_t(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
        if (n < 0)
            return fail(error, errno);
        if (size_t(n) >= link.size()) // the link changed under us; look again
            continue;
        link.resize(size_t(n));
        const std::filesystem::path next(link);
        path = next.is_absolute() ? next : path.parent_path() / next;
    }
    return fail(error, ELOOP);
}

// A short name nobody can predict: ".mevko-" and 8 random letters or digits.
std::string temporaryName()
{
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    uint8_t random[8];
    if (::getrandom(random, sizeof random, GRND_NONBLOCK) != ssize_t(sizeof random)) {
        thread_local std::mt19937_64 fallback(uint64_t(std::chrono::steady_clock::now().time_since_epoch().count()) ^
                                              uint64_t(::getpid()) << 32);
        for (uint8_t& b : random)
            b = uint8_t(fallback());
    }
    std::string name = ".mevko-";
    for (uint8_t b : random)
        name += kChars[b % (sizeof kChars - 1)];
    return name;
}

// Gives the temporary file the old file's owner, group and mode. Owner and group
// only where the system permits; the group alone is tried when the owner can't be.
bool copyAttributes(int fd, const struct stat& old)
{
    struct stat now {};
    if (::fstat(fd, &now) == 0 && (now.st_uid != old.st_uid || now.st_gid != old.st_gid)) {
        if (::fchown(fd, old.st_uid, old.st_gid) != 0)
            (void)::fchown(fd, uid_t(-1), old.st_gid);
    }
    return ::fchmod(fd, old.st_mode & 07777) == 0;
}

void syncFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

} // namespace

uint64_t MaxFileBytes(FileKind kind)
{
    switch (kind) {
    case FileKind::Project: return 256 * kMiB;
    case FileKind::Config: return 4 * kMiB;
    case FileKind::Picture: return 80 * kMiB;
    case FileKind::Sound: return 128 * kMiB;
    case FileKind::Gif: return 64 * kMiB;
    case FileKind::Payload: return 256 * kMiB;
    case FileKind::GameData: return 256 * kMiB;
    }
    return 0;
}

std::string SystemReason(int err)
{
    char buf[256] = {};
    return reasonText(::strerror_r(err, buf, sizeof buf), buf);
}

bool ReadFile(const std::filesystem::path& path, std::vector<uint8_t>& out, FileKind kind, std::string* error)
{
    return readWhole(path, out, kind, error);
}

bool ReadFile(const std::filesystem::path& path, std::string& out, FileKind kind, std::string* error)
{
    return readWhole(path, out, kind, error);
}

bool ReadFileHead(const std::filesystem::path& path, size_t count, std::string& out, std::string* error)
{
    out.assign(count, '\0');
    cFd fd;
    struct stat st {};
    size_t used = 0;
    if (openRegular(path, fd, st, error)) {
        while (used < count) {
            const ssize_t got = readSome(fd.Get(), out.data() + used, count - used);
            if (got < 0) {
                out.clear();
                return fail(error, errno);
            }
            if (got == 0)
                break;
            used += size_t(got);
        }
        out.resize(used);
        return true;
    }
    out.clear();
    return false;
}

cAtomicFile::~cAtomicFile() { Discard(); }

bool cAtomicFile::Open(const std::filesystem::path& path, std::string* error)
{
    Discard();
    try {
        bool exists = false;
        struct stat old {};
        if (!resolveTarget(path, target_, exists, old, error))
            return false;
        if (exists && S_ISDIR(old.st_mode))
            return fail(error, EISDIR);
        if (exists && !S_ISREG(old.st_mode))
            return fail(error, EINVAL, "not a regular file");
        folder_ = target_.parent_path();
        if (folder_.empty())
            folder_ = ".";
        // A new file gets the usual mode (0666 less the umask); a replacement starts
        // private and takes the old mode before any byte is written.
        for (int attempt = 0; fd_ < 0; ++attempt) {
            tmp_ = folder_ / temporaryName();
            fd_ = ::open(tmp_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, exists ? 0600 : 0666);
            if (fd_ < 0 && (errno != EEXIST || attempt >= 100))
                return fail(error, errno);
        }
        if (exists && !copyAttributes(fd_, old)) {
            const int err = errno;
            Discard();
            return fail(error, err);
        }
        return true;
    } catch (const std::bad_alloc&) {
        Discard();
        return fail(error, ENOMEM);
    }
}

bool cAtomicFile::Write(const void* data, size_t size, std::string* error)
{
    if (fd_ < 0)
        return fail(error, err_ ? err_ : EBADF);
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t w = ::write(fd_, p, size);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            err_ = errno;
            Discard();
            return fail(error, err_);
        }
        p += w;
        size -= size_t(w);
    }
    return true;
}

bool cAtomicFile::Commit(std::string* error)
{
    if (fd_ < 0)
        return fail(error, err_ ? err_ : EBADF);
    int err = 0;
    if (::fsync(fd_) != 0)
        err = errno;
    if (::close(fd_) != 0 && !err)
        err = errno;
    fd_ = -1;
    if (!err && ::rename(tmp_.c_str(), target_.c_str()) != 0)
        err = errno;
    if (err) {
        ::unlink(tmp_.c_str());
        tmp_.clear();
        return fail(error, err);
    }
    tmp_.clear();
    syncFolder(folder_);
    return true;
}

void cAtomicFile::Discard()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!tmp_.empty()) {
        ::unlink(tmp_.c_str());
        tmp_.clear();
    }
}

bool WriteFileAtomic(const std::filesystem::path& path, const void* data, size_t size, std::string* error)
{
    cAtomicFile file;
    return file.Open(path, error) && file.Write(data, size, error) && file.Commit(error);
}

} // namespace platform
