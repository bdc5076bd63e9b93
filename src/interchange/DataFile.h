#pragma once
// The animation database of an RPG Maker game, opened directly: MV / MZ
// data/Animations.json, XP Data/Animations.rxdata, VX Data/Animations.rvdata,
// VX Ace Data/Animations.rvdata2 and 2000 / 2003 RPG_RT.ldb.
//
// A data file is parsed once into a form that keeps every byte it does not
// understand. Export merges a project into one entry and leaves every other
// entry as it was: a write after no change gives back the bytes that were read.
// The entry keeps what the project cannot hold (unknown keys and instance
// variables, fractional coordinates and rows of frames that did not change,
// data the project drops on import) unless the project changed that part.
// IDs are never renumbered.

#include "interchange/FolderNames.h"

#include <memory>
#include <string>
#include <vector>

class cAnimeData;

enum eDataFileKind { DATA_MV, DATA_MZ, DATA_XP, DATA_VX, DATA_VXACE, DATA_2000 };

struct strDataEntry {
    int id = 0;
    std::string name; // UTF-8
    int frames = 0;
    int cells = 0; // cell slots a frame holds (the widest frame)
    int timings = 0;
    bool editable = true; // false for entries the editor cannot hold (MZ Effekseer)
};

class cDataFile {
public:
    virtual ~cDataFile() = default;
    virtual eDataFileKind Kind() const = 0;
    /** The entries in file order; empty slots (nil / null / absent) are left out. */
    virtual std::vector<strDataEntry> List() const = 0;
    /** Reads the entry with this ID into a fresh project, names as the game gives them
     *  (no folder resolution). False with a one-line reason when there is no such
     *  editable entry. */
    virtual bool Import(int id, cAnimeData& project, std::string& error) const = 0;
    /** Merges the project into the entry with this ID (ID >= 1), creating it, and any
     *  empty slots before it, when the ID lies past the end; file names are taken below
     *  the folders. False with a one-line reason, the data unchanged, when the entry is
     *  not editable or the project cannot be written in this format. */
    virtual bool Export(const cAnimeData& project, int id, const strFolderNames& folders, std::string& error) = 0;
    /** The whole file as it stands now. */
    virtual std::string Bytes() const = 0;
};

/** The kind a file name suggests ("Animations.json" gives DATA_MV; the content decides
 *  between MV and MZ). False for other names. */
bool DataFileKindOfName(const std::string& fileName, eDataFileKind& kind);

/** Parses a whole data file. Nullptr with a one-line reason when the bytes are not a
 *  well-formed file of that kind (damaged, truncated or another format). */
std::unique_ptr<cDataFile> ParseDataFile(eDataFileKind kind, std::string bytes, std::string& error);

/** Per-format parsers behind ParseDataFile. */
std::unique_ptr<cDataFile> ParseJsonDataFile(eDataFileKind kind, std::string bytes, std::string& error);
std::unique_ptr<cDataFile> ParseRubyDataFile(eDataFileKind kind, std::string bytes, std::string& error);
std::unique_ptr<cDataFile> ParseLdbDataFile(std::string bytes, std::string& error);

/** The game's picture and sound folders, relative to the game's root folder, with
 *  '\' separators: MV / MZ "img\animations" and "audio\se"; XP / VX / VX Ace
 *  "Graphics\Animations" and "Audio\SE"; 2000 "Battle" and "Sound". */
void GameFolders(eDataFileKind kind, std::string& pictures, std::string& sounds);
/** The game's root folder for a data file path (model path): the folder above
 *  "data" / "Data" for MV to VX Ace, the file's own folder for RPG_RT.ldb. */
std::string GameRoot(eDataFileKind kind, const std::string& dataFilePath);
