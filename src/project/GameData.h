#pragma once
// A game's animation database on the disk: reading it (bounded, the kind taken
// from the file name and, for MV / MZ, from the game folder), importing one entry
// with its pictures and sounds found in the game's own folders, and writing a
// merged entry back atomically after keeping the previous file as FILE.bak.
//
// Paths are model paths (UTF-8, '\' separators). Failures give a one-line reason
// without the file name: callers name the file.

#include "interchange/DataFile.h"

#include <memory>
#include <string>
#include <vector>

class cAnimeData;

class cGameData {
public:
    cGameData();
    ~cGameData();

    /** Reads and parses the data file. The kind comes from its name; Animations.json is
     *  MZ when the game folder holds a "*.rmmzproject" file, else its content decides.
     *  False with the reason (not a data file name, unreadable, damaged). */
    bool Read(const std::string& path, std::string& error);

    /** The absolute path read, its kind and the game's folders (absolute). */
    const std::string& Path() const { return path_; }
    eDataFileKind Kind() const;
    std::string PictureFolder() const;
    std::string SoundFolder() const;

    /** The entries in file order. */
    std::vector<strDataEntry> List() const;
    /** The entry with this ID; false when the slot is empty or past the end. */
    bool FindEntry(int id, strDataEntry& entry) const;
    /** The ID after the last entry: where an appended entry goes. */
    int NextFreeId() const;

    /** Reads entry id into a fresh project; picture and sound names become paths in
     *  the game's folders (the file found there, or folder + name when missing). */
    bool Import(int id, cAnimeData& project, std::string& error) const;

    /** Merges the project into entry id (appending past the end), names taken below
     *  the folders as the clipboard writers take them. Paths that lie in the game's
     *  folders keep their sub-folders in the names written. The project is left as it
     *  was. */
    bool Export(cAnimeData& project, int id, const strFolderNames& folders, std::string& error);

    /** Replaces the file on the disk with the merged bytes: when backup is set, first
     *  the bytes that were read go to FILE.bak; then FILE is replaced in one step. The
     *  merged bytes must parse again. Nothing is written when nothing changed. */
    bool Write(bool backup, std::string& error) const;

private:
    std::string path_;
    std::string original_; // the bytes read
    std::unique_ptr<cDataFile> file_;
};
