#pragma once
// Path helpers. Paths in the model are UTF-8 with backslash separators, as the
// project files store them; they become std::filesystem paths (the system's
// bytes, '/') only when the disk is touched. A name that is missing on a
// case-sensitive file system is matched case-insensitively, and folder entries
// whose names are in the ANSI code page (written on Windows) are decoded first.

#include <filesystem>
#include <functional>
#include <map>
#include <string>

namespace paths {

/** Paths of this many bytes or more are cut to kMaxPath - 1 by the helpers that say so. */
constexpr size_t kMaxPath = 260;

/** Cuts a path of kMaxPath bytes or more to at most kMaxPath - 1, at a UTF-8 character boundary. */
std::string LimitPath(const std::string& path);

/** True for "\x", "/x" and drive paths "C:...". */
bool IsAbsolute(const std::string& path);

/** Replaces '/' by '\' and merges repeated separators. */
std::string ToBackslashes(const std::string& path);

/** Resolves "." and ".." components lexically; the separators become '\'. */
std::string Canonicalize(const std::string& path);

/** The disk path of a model path: '\' -> '/'; when the exact name is missing, each missing
 *  component is looked up case-insensitively in its folder. Relative paths stay relative. */
std::filesystem::path ToDiskPath(const std::string& path);

/** The model form of a disk path: its UTF-8 bytes (a name in the ANSI code page is
 *  decoded), '/' -> '\\'. */
std::string FromDiskPath(const std::filesystem::path& path);
/** A model path as the user sees it: native separators. */
std::string ForDisplay(const std::string& path);

/** True when the path names an existing file or folder. */
bool Exists(const std::string& path);
/** True when the path names an existing folder. */
bool IsFolder(const std::string& path);

/** The path relative to the folder without a leading ".\"; the path itself (cut to
 *  259 bytes) when it does not lie below the folder. Components compare ASCII
 *  case-insensitively. */
std::string MakeRelative(const std::string& path, const std::string& folder);

/** A relative path appended to the folder and canonicalised; an absolute path as it is. */
std::string MakeAbsolute(const std::string& path, const std::string& folder);

/** The path cut just after the last "\<folderName>\" component sequence (either
 *  separator counts); empty when there is none or folderName is empty. */
std::string WorkFolderOf(const std::string& path, const std::string& folderName);

/** The folder part of a path (everything before the last separator; empty when none). */
std::string FolderOf(const std::string& path);
/** The last component of a path. */
std::string FileNameOf(const std::string& path);
/** The folder of the path followed by "\" and the name. */
std::string SiblingPath(const std::string& path, const std::string& name);

/** A path ellipsis: the path when it fits maxWidth as measured, otherwise leading
 *  components replaced by "..." ("C:\a\...\file.dat"), and finally the file name cut
 *  with "..." at its end. measure returns the width of a text. */
std::string ShortenForTitle(const std::string& path, const std::function<int(const std::string&)>& measure,
                            int maxWidth = 384);

/** Files of folders by name, each folder read once: answers "which file is name or
 *  name.<anything>" for many names without a folder scan per name. */
class cNameIndex {
public:
    /** The first regular file in the folder named "name" or "name.<anything>" (ASCII
     *  case-insensitive; ties go to the smallest name), or empty. Folder parts of the
     *  name ('\\' or '/') select a subfolder and are kept in the result. */
    std::string Find(const std::string& folder, const std::string& name);

private:
    std::map<std::string, std::map<std::string, std::string>> folders_; // folder -> key -> file
};

/** cNameIndex::Find with a fresh index. */
std::string FindFileWithStem(const std::string& folder, const std::string& name);

} // namespace paths
