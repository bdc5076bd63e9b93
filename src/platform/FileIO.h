#pragma once
// Whole-file reads and crash-safe writes. A write goes to a temporary file in
// the target's folder, is flushed to disk, then renamed over the target, so the
// target is always either the old complete file or the new complete file.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

/** Reads a whole file; false when it cannot be opened or read. */
bool ReadFile(const std::filesystem::path& path, std::vector<uint8_t>& out);
bool ReadFile(const std::filesystem::path& path, std::string& out);

/** Replaces the file with the bytes (temporary file, fsync, rename); false on
 *  any failure, in which case the old file is untouched. */
bool WriteFileAtomic(const std::filesystem::path& path, const void* data, size_t size);
inline bool WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes)
{
    return WriteFileAtomic(path, bytes.data(), bytes.size());
}
inline bool WriteFileAtomic(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    return WriteFileAtomic(path, bytes.data(), bytes.size());
}

/** The same crash-safe write for output made piece by piece (a long export): the
 *  bytes go to the temporary file as they come; Commit flushes and renames it over
 *  the target. Discard, or destruction without a successful Commit, removes the
 *  temporary file and leaves the target untouched. */
class AtomicFileWriter {
public:
    explicit AtomicFileWriter(const std::filesystem::path& path);
    ~AtomicFileWriter();
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    /** The temporary file is open and every write so far succeeded. */
    bool ok() const { return m_fd >= 0 && !m_failed; }
    bool Write(const void* data, size_t size);
    /** Flushes to disk and renames over the target; false on any failure (the
     *  temporary file is then removed). */
    bool Commit();
    void Discard();

private:
    std::filesystem::path m_path, m_tmp;
    int m_fd = -1;
    bool m_failed = false;
};

} // namespace platform
