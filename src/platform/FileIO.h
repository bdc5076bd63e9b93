#pragma once
// Every file the program reads or writes goes through here.
//
// Reading: the file is opened without blocking (a FIFO can't hang the caller),
// only regular files are accepted (folders, devices such as /dev/zero, FIFOs and
// sockets are refused), and at most the cap of its kind is read, so no input can
// exhaust memory. Nothing throws; a failure comes with a one-line reason.
//
// Writing: the bytes go to a new temporary file in the target's folder, created
// exclusively (O_EXCL|O_NOFOLLOW, so a planted file or link at that name is never
// followed) under a short random name (so a 255-byte target name still saves). It
// is given the old file's mode, owner and group where permitted, flushed to disk
// and renamed over the target, so the target is always either the old complete
// file or the new complete file. A symlinked target is resolved: the file it points
// to is replaced and the link stays a link.
//
// Hard links: the rename gives the target a new inode, so other names of a file
// with several links keep the old contents. Writing in place would keep the links
// but lose atomicity (a crash or a full disk would leave every name with a torn
// file), and shared contents of a project file matter less than never losing it.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/** What a file is read as; each kind has its own size cap. */
enum class FileKind {
    Project,  // 256 MiB: far beyond any project of 65535 frames an editor session makes
    Config,   // 4 MiB: config.ini holds some 80 short keys
    Picture,  // 80 MiB: an uncompressed 32-bit BMP of the largest picture (16 Mpx) fits
    Sound,    // 128 MiB: the sound decoder keeps at most 2^26 samples (~12 min of stereo)
    Gif,      // 64 MiB: draft GIF overlays; their decoded frames are capped separately
    Payload,  // 256 MiB: clipboard payload files of the command line
    GameData, // 256 MiB: a game's animation database (the largest known are a few tens of MiB)
};

/** Largest size in bytes accepted for a kind of file. */
uint64_t MaxFileBytes(FileKind kind);

/** Reads a whole regular file of at most MaxFileBytes(kind) bytes. False on any
 *  failure, with out empty, errno set and, when error is given, a one-line reason
 *  (the system's text, "not a regular file" or "larger than N bytes"). */
bool ReadFile(const std::filesystem::path& path, std::vector<uint8_t>& out, FileKind kind,
              std::string* error = nullptr);
bool ReadFile(const std::filesystem::path& path, std::string& out, FileKind kind, std::string* error = nullptr);

/** Reads at most `count` bytes from the start of a regular file (fewer when it is
 *  shorter); the same checks and failures as ReadFile. */
bool ReadFileHead(const std::filesystem::path& path, size_t count, std::string& out, std::string* error = nullptr);

/** A file written in pieces (a long export) that replaces its target at once, by the
 *  rules above. Open creates the temporary file, Write appends, Commit flushes and
 *  renames. A failed step, Discard or the destructor removes the temporary file and
 *  leaves the target as it was; every failure gives the system's reason. */
class cAtomicFile {
public:
    cAtomicFile() = default;
    ~cAtomicFile();
    cAtomicFile(const cAtomicFile&) = delete;
    cAtomicFile& operator=(const cAtomicFile&) = delete;

    bool Open(const std::filesystem::path& path, std::string* error = nullptr);
    bool Write(const void* data, size_t size, std::string* error = nullptr);
    bool Commit(std::string* error = nullptr);
    void Discard();

private:
    std::filesystem::path target_, folder_, tmp_;
    int fd_ = -1;
    int err_ = 0; // the error that ended a failed Write
};

/** Replaces the file with the bytes (see above); false on any failure, in which case
 *  the old file is untouched and no temporary file is left; error receives the reason. */
bool WriteFileAtomic(const std::filesystem::path& path, const void* data, size_t size, std::string* error = nullptr);
inline bool WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes, std::string* error = nullptr)
{
    return WriteFileAtomic(path, bytes.data(), bytes.size(), error);
}
inline bool WriteFileAtomic(const std::filesystem::path& path, const std::vector<uint8_t>& bytes,
                            std::string* error = nullptr)
{
    return WriteFileAtomic(path, bytes.data(), bytes.size(), error);
}

/** The system's text for an error number ("No space left on device"). */
std::string SystemReason(int err);

} // namespace platform
