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

} // namespace platform
