#pragma once
// ANIME::cAnimeFile_Device: the project file device. It recognises, reads and
// writes the binary ("MEVK_BIN") and text ("MEVK_TEX") project files and reads
// the legacy comma-separated text ("nani").
//
// Files are read whole into memory and every reader is bounded by the data's
// end; a file is written by building its bytes and replacing the target in one
// step, so a failed save leaves the old file as it was. Readers fill the
// project they are given: callers pass a fresh cAnimeData and discard it when
// the result is not 1.

#include <filesystem>
#include <map>
#include <string>
#include <string_view>

class cAnimeData;

namespace ANIME {

/** File kinds returned by ProbeFile. */
enum eFileKind {
    FK_CANNOT_OPEN = -1,
    FK_BINARY = 0,
    FK_TEXT = 1,
    FK_LEGACY_TEXT = 3,
    FK_UNKNOWN = 255,
};

/** Results of Load, Save and the readers and writers. */
enum eFileResult {
    FR_OK = 1,
    FR_CANNOT_OPEN = -1, // cannot open or create; also a text file the reader rejects
    FR_BAD_FORMAT = -2,  // not a project file, truncated or corrupt, or not representable
};

/** The centre position as both formats store it: 1..5 as they are; centre (0, the
 *  default, which older files hold) and values out of range as 0. */
int StoredCenterPosition(const cAnimeData& project);
/** A stored centre position read back: 1..5 as they are, anything else centre (0). */
int ReadCenterPosition(int stored);

class cAnimeFile_Device {
public:
    virtual ~cAnimeFile_Device();

    /** Kind of a file from its first 16 bytes; FK_CANNOT_OPEN when it cannot be read
     *  or is shorter than 16 bytes. version receives the number after the magic. */
    int ProbeFile(const std::filesystem::path& path, int* version = nullptr);
    /** ProbeFile on bytes already in memory. */
    static int ProbeBytes(std::string_view data, int* version = nullptr);

    /** Reads a project file of any kind into project. On success the project's
     *  fileName is the last component of the path (in the ANSI code page). */
    int Load(const std::filesystem::path& path, cAnimeData& project);
    /** Load on bytes already in memory; fileName is left alone. */
    int LoadBytes(std::string_view data, cAnimeData& project);

    /** Writes the project in its saveFormat (0 binary, 1 text) and sets its fileName. */
    int Save(const std::filesystem::path& path, cAnimeData& project);
    /** The bytes Save would write; FR_BAD_FORMAT for another saveFormat or a project
     *  the format cannot represent. */
    int SaveBytes(const cAnimeData& project, int format, std::string& out);

    /** Binary format. ReadBinary: FR_OK, or FR_BAD_FORMAT for a truncated file.
     *  WriteBinary: FR_OK, or FR_BAD_FORMAT when a string exceeds 255 bytes, more than
     *  255 distinct sound names or 255 picture slots are in use. */
    int ReadBinary(std::string_view data, cAnimeData& project);
    int WriteBinary(const cAnimeData& project, std::string& out);

    /** Text format. ReadText: FR_OK, or FR_CANNOT_OPEN when a required line is missing.
     *  WriteText: FR_OK, or FR_BAD_FORMAT when a text value holds a line break. */
    int ReadText(std::string_view data, cAnimeData& project);
    int WriteText(const cAnimeData& project, std::string& out);

    /** Legacy comma-separated text: FR_OK, or FR_CANNOT_OPEN when a frame copy failed. */
    int ReadLegacyText(std::string_view data, cAnimeData& project);

    /** The system's reason when the last ProbeFile, Load or Save could not read or write
     *  the file ("Is a directory", "No space left on device"); empty otherwise. */
    const std::string& LastError() const { return lastError_; }

private:
    // Sound-effect path -> index in the binary sound name table; cleared before and
    // after every read or write.
    std::map<std::string, int> soundIndex_;
    std::string lastError_;
};

} // namespace ANIME
