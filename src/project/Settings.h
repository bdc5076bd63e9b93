#pragma once
// The editor settings: one program-wide object holding every config.ini key
// (section "CONFIG"). Fields are named after their keys.

#include "interchange/FolderNames.h"
#include "model/ProjectDefaults.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace project {
class cIniFile;
}

struct cSettings {
    std::string Locale;
    std::string LastLoadPath;
    std::string FolderName_C, FolderName_G, FolderName_S;
    int32_t MainWinPostX, MainWinPostY, MainWinSizeX, MainWinSizeY;
    int32_t ListWinPostX, ListWinPostY, ListWinSizeX, ListWinSizeY;
    int32_t PalWinPostX, PalWinPostY, PalWinSizeX, PalWinSizeY;
    int32_t CellWinPostX, CellWinPostY;
    bool VListFlag, VPalFlag, VBarFlag, VStatusFlag, VToolFlag;
    bool VNextFlag, VBackFlag, VNowFlag, VShadowFlag, VGridFlag, VLocusFlag, VTargetFlag, VGifFlag, VCenterFlag,
        VLineFlag;
    bool VerticalFlag;
    int32_t CenterW, CenterH;
    int32_t GridSize;
    uint32_t GridBit;
    int32_t PostGrid, ScaleGrid, AngleGrid;
    bool NewFrameFlag;
    bool BackUpFlag;
    int32_t TransType;
    int32_t CompType;
    int32_t Undo;
    int32_t Locus;
    int32_t DragAKey, DragSKey;
    uint32_t PlayBit;
    int32_t PlayRate;
    uint32_t CGround, CGrid, CBackShadow, CNextShadow, CCenterLine, CTrans;
    bool Init_FixFlag;
    uint8_t Init_Center, Init_Div, Init_Edit; // held as bytes
    int32_t Init_Format, Init_Int, Init_Cell, Init_CutX, Init_CutY;
    std::string Init_FileName;
    int32_t TargetPostX, TargetPostY, TargetOpacity;
    std::string TargetPath;
    int32_t GIFKey, GIFSpeed;
    std::string GIFPath;
    // Keys of this editor beyond the classic set.
    bool MainWinMaxFlag;      // the main window was maximised at shut-down
    int32_t AutoSaveInterval; // seconds between recovery copies of unsaved work; 0 = off
    int32_t OnionFrames;      // neighbouring frames shown on each side (fading with distance)
    int32_t TimelineHeight;   // the timeline's height below the canvas, pixels
    std::string Language;     // interface language: "ja", "en", empty for the system's
    bool GameDataBackUpFlag;  // keep the previous game data file as FILE.bak when writing to it

    // Fixed values that are not in the file.
    static constexpr float kVersion = 0.72f;

    cSettings() { SetDefaults(); }

    /** The Init_ keys as the defaults of new projects. */
    strProjectDefaults ProjectDefaults() const;
    /** FolderName_G and FolderName_S, for the clipboard and game data conversions. */
    strFolderNames FolderNames() const;
    /** The defaults of every key. */
    void SetDefaults();
    /** Reads every key from the file's "CONFIG" section; keys that are missing, or whose
     *  text starts with "!", keep their value. False when the file cannot be read. */
    bool ReadSettings(const std::filesystem::path& file);
    /** The same rules over an already parsed file. */
    void ReadSettings(const project::cIniFile& ini);
    /** Writes every key into the file, keeping its other sections and keys. False when
     *  the file cannot be written (the old file stays as it was; error gets the reason). */
    bool WriteSettings(const std::filesystem::path& file, std::string* error = nullptr) const;
    /** Every key with its value as written to the file, in table order. */
    std::vector<std::pair<std::string, std::string>> Entries() const;
};

/** The program-wide settings object. */
cSettings& Settings();

/** Where config.ini lives: beside the executable when that folder is writable and not
 *  an installation, otherwise $XDG_CONFIG_HOME/mevko (or ~/.config/mevko). */
std::filesystem::path DefaultConfigPath();
/** The application folder that holds the working folder ("Data") and backup files:
 *  the executable's folder under the same rule, otherwise $XDG_DATA_HOME/mevko. */
std::filesystem::path ApplicationDataFolder();
/** The folder of the running executable. */
std::filesystem::path ExecutableFolder();
