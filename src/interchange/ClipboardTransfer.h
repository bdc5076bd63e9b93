#pragma once
// Clipboard transfer with RPG Maker: the dispatch from a version number to its
// converter, format availability, the export and import commands with their
// status texts, and which File-menu entries are enabled. Window-system free:
// the caller hands in the clipboard to use, and the GUI its status bar and its
// project hooks through the small interfaces below.

#include "interchange/FolderNames.h"
#include "platform/CommandIds.h"
#include "platform/Feedback.h"

#include <memory>
#include <string>

class cAnimeData;

namespace platform {
class Clipboard;
}

/** Versions: 0 2000, 1 2003, 2 XP, 3 VX, 4 VX Ace, 5 MV, 6 MZ. */
enum eRpgVersion { RPG_2000 = 0, RPG_2003, RPG_XP, RPG_VX, RPG_VXACE, RPG_MV, RPG_MZ };

/** The version's writer, file names taken below the folders: 1 success, -1 failure,
 *  0 for an unknown version. */
int ExportToClipboard(platform::Clipboard& clipboard, const cAnimeData& project, int version,
                      const strFolderNames& folders);
/** The version's reader into a fresh project, names placed in the folders: 1, -1, or 0
 *  for an unknown version. Versions 2..4 read any of the three Ruby formats, 5 and 6
 *  either JSON format. */
int ImportFromClipboard(platform::Clipboard& clipboard, cAnimeData& project, int version,
                        const strFolderNames& folders);
/** The clipboard format name a version's export writes (nullptr for unknown). */
const char* ClipboardFormatName(int version);

bool IsFormatAvailable(platform::Clipboard& clipboard, const std::string& format);
/** Index of the first name whose format is available, or -1. */
int FirstAvailableFormat(platform::Clipboard& clipboard, const char* const* names, int count);

/** String ids of the labels that fill the status texts; 0 when there is none. */
int ExportLabelId(int version);
int ImportLabelId(int version);

/** What the import command needs from the window that owns the current project. */
class cImportHost {
public:
    virtual ~cImportHost() = default;
    /** Asks to save unsaved changes (saving on Yes); false when the user cancels. */
    virtual bool AskSaveChanges() = 0;
    /** The working folder given to imported projects. */
    virtual std::string DefaultWorkFolder() = 0;
    /** Makes the project current: clears the history, empties the current path,
     *  reloads sounds and pictures, refreshes the views. */
    virtual void InstallProject(std::unique_ptr<cAnimeData> project) = 0;
};

/** Exports the project (read only) and reports the result; returns the export's result. */
int ClipboardExportCommand(platform::Clipboard& clipboard, const cAnimeData& project, int version,
                           const strFolderNames& folders, iStatusSink& status);
/** Imports into a fresh project and installs it on success; the current project is
 *  untouched on failure. Returns 1, -1, or 0 when cancelled (no message then). */
int ClipboardImportCommand(platform::Clipboard& clipboard, int version, const strFolderNames& folders,
                           cImportHost& host, iStatusSink& status);

/** The version a clipboard command works on and whether it exports; false for
 *  other commands and for the 2003 entries, which do nothing. */
bool ClipboardCommandVersion(int command, int& version, bool& isExport);
/** Whether a clipboard command is enabled when the File menu opens: exports always
 *  (2003 never), imports when the clipboard holds a suitable format. */
bool IsClipboardCommandEnabled(platform::Clipboard& clipboard, int command);
