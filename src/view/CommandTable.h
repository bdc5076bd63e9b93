#pragma once
// The main window's command table: every menu of the main menu with its texts
// and command ids, the accelerators, and one entry per command with the rules
// that enable and check its menu item and what runs it. No Qt here: the window
// builds its menus and shortcuts from these tables, asks MenuStateOf for the
// states and runs a command through its entry.

#include "platform/CommandIds.h"

#include <cstdint>
#include <string>
#include <vector>

/** One entry of a menu: an item (id > 0), a separator (id 0, no text) or a submenu
 *  (id 0 with a text and children). */
struct strMenuEntry {
    int id = 0;
    std::string text;      // UTF-8, with the "&" mnemonic
    bool disabled = false; // marked disabled in the menu resource
    std::vector<strMenuEntry> children;
};

/** The main menu "MAIN_MENU": top-level popups in position order (file, edit, frame,
 *  view, tools, help). */
const std::vector<strMenuEntry>& MainMenu();

/** A popup menu of "MENU_POPUP" by name: "MENU_EDIT1" (canvas), "MENU_IMAGELIST",
 *  "MENU_EFFECTLIST", "MENU_FRAME", "MENU_CELL", "MENU_LINE"; empty for other names.
 *  Their numbers are handled by the windows that show them. */
const std::vector<strMenuEntry>& PopupMenu(const std::string& name);

/** The menu text of an id in the main menu (the first occurrence); empty when none. */
std::string MenuText(int id);

/** One accelerator of "MAIN_ACC". key uses the platform-neutral names below. */
enum eAccKey : int {
    ACC_LEFT = 0x25,
    ACC_RIGHT = 0x27,
    ACC_DELETE = 0x2E,
    ACC_SPACE = 0x20,
    ACC_RETURN = 0x0D,
    ACC_COMMA = 0xBC,
    ACC_PERIOD = 0xBE,
    ACC_BROWSER_BACK = 0xA6,
    ACC_BROWSER_FORWARD = 0xA7,
};
struct strAccelerator {
    int key; // a virtual key: a letter 'A'..'Z' or one of eAccKey
    bool ctrl;
    int command;
};
const std::vector<strAccelerator>& MainAccelerators();
/** The shortcut text shown beside a menu item ("Ctrl+N"); empty when none. */
std::string AcceleratorText(int command);

/** What the menu state rules look at. */
struct cSettings;

struct strMenuContext {
    bool hasProject = true;
    bool untitled = true;
    bool fromGameData = false; // the project is linked to an entry of a game's data file
    bool clip2000 = false;     // the 2000 format is on the clipboard
    bool clipRuby = false;     // one of the XP / VX / VX Ace formats
    bool clipJson = false;     // one of the MV / MZ formats
    bool canUndo = false, canRedo = false;
    bool fixPicturePerCell = false;
    bool cellSelected = false;
    bool clipCells = false; // the internal clipboard holds cells
    unsigned playBit = 0;
    const cSettings* settings = nullptr; // the view flags; none ticked without it
    bool listVisible = false, paletteVisible = false, statusVisible = true, barVisible = true;
};

struct strItemState {
    bool enabled = true;
    bool checked = false;
    bool checkable = false;
};

/** The state of a command's menu item given the context. */
strItemState MenuStateOf(int command, const strMenuContext& context);

/** What runs the commands: the main window implements one handler per kind of
 *  command; each entry of the command table names its handler. id is the command,
 *  code 1 when a key sent it. */
class iCommandRunner {
public:
    virtual ~iCommandRunner() = default;
    virtual void RunFile(int id, int code) = 0;              // the document's file commands
    virtual void RunRecent(int id, int code) = 0;            // an entry of the recent projects
    virtual void RunClipboardTransfer(int id, int code) = 0; // export to or import from the clipboard
    virtual void RunSideWindow(int id, int code) = 0;        // the side windows and record dialogs
    virtual void RunClose(int id, int code) = 0;
    virtual void RunUndo(int id, int code) = 0;
    virtual void RunRedo(int id, int code) = 0;
    virtual void RunCut(int id, int code) = 0;
    virtual void RunCopy(int id, int code) = 0;
    virtual void RunPaste(int id, int code) = 0;
    virtual void RunDelete(int id, int code) = 0;
    virtual void RunSelectAll(int id, int code) = 0;
    virtual void RunArrange(int id, int code) = 0; // bring forward, send backward
    virtual void RunNewCell(int id, int code) = 0;
    virtual void RunInterpolateSelected(int id, int code) = 0;
    virtual void RunProjectDialog(int id, int code) = 0;
    virtual void RunNextFrame(int id, int code) = 0;
    virtual void RunPreviousFrame(int id, int code) = 0;
    virtual void RunFirstFrame(int id, int code) = 0;
    virtual void RunLastFrame(int id, int code) = 0;
    virtual void RunInsertFrame(int id, int code) = 0;
    virtual void RunDeleteFrame(int id, int code) = 0;
    virtual void RunClearFrame(int id, int code) = 0;
    virtual void RunFromPrevious(int id, int code) = 0;
    virtual void RunFromNext(int id, int code) = 0;
    virtual void RunInterpolate(int id, int code) = 0;
    virtual void RunToggleFlag(int id, int code) = 0; // a view or window flag of ToggleFlagOf
    virtual void RunSetTarget(int id, int code) = 0;
    virtual void RunSetGif(int id, int code) = 0;
    virtual void RunPlay(int id, int code) = 0;       // play, play from the first frame
    virtual void RunPlayOption(int id, int code) = 0; // a playback option of PlayOptionBit
    virtual void RunTool(int id, int code) = 0;       // move, swing, spline
    virtual void RunOpenFolder(int id, int code) = 0;
    virtual void RunSettingsDialog(int id, int code) = 0;
    virtual void RunVersion(int id, int code) = 0;
};

/** A rule of a menu item's state for a command id. */
using MenuRule = bool (*)(int command, const strMenuContext& context);

/** One command: its id, the rules of its menu item (no enabled rule: always enabled;
 *  no checked rule: not checkable) and its handler (none: nothing runs). */
struct strCommandEntry {
    int id;
    MenuRule enabled;
    MenuRule checked;
    void (iCommandRunner::*run)(int id, int code);
};

/** The entry of a command id (the recent projects share the entry of the first); null
 *  for ids without one. */
const strCommandEntry* FindCommand(int command);
/** Runs a command's handler; false when the command has none. */
bool RunCommand(iCommandRunner& runner, int command, int code);

/** Commands handled without stopping playback first. */
bool HandledDuringPlayback(int command);

/** The playback option bit toggled by a command; 0 for other commands. */
unsigned PlayOptionBit(int command);

/** The view or window flag setting toggled by a command; null for other commands. */
bool* ToggleFlagOf(cSettings& settings, int command);
const bool* ToggleFlagOf(const cSettings& settings, int command);

/** Commands present in the menus that stay disabled and run nothing: the 2003 entries.
 *  (The help item is disabled too, but its number runs bring-forward.) */
bool AlwaysDisabled(int command);
