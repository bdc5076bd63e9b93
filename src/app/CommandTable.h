#pragma once
// The main window's command table: every menu of the main menu with its texts
// and command ids, the accelerators, and the rules that enable and check menu
// items when a menu opens. No Qt here: the window builds its menus and
// shortcuts from these tables and asks MenuStateOf for the states.

#include <cstdint>
#include <string>
#include <vector>

/** Command ids of the main window. */
enum eCommand {
    IDM_CLOSE = 40000, IDM_EXPORT_XP = 40001, IDM_OPT_LOOP = 40002, IDM_VIEW_LINE = 40003,
    IDM_SET_INTERVAL = 40004, IDM_AT_ONCE = 40005, IDM_REDO = 40006, IDM_FRAME_COMP = 40007,
    IDM_OPEN_FOLDER = 40008, IDM_PLAY = 40009, IDM_CUT = 40010, IDM_VIEW_PALETTE = 40011,
    IDM_FIX_CELL = 40012, IDM_PROJECT = 40013, IDM_COPY = 40014, IDM_IMPORT_2000 = 40015,
    IDM_VIEW_LIST = 40016, IDM_PASTE = 40017, IDM_EXPORT_PNG = 40018, IDM_VIEW_TARGET = 40019,
    IDM_HELP = 40020, IDM_BRING_FORWARD = 40020, IDM_TOOL_SPLINE = 40021, IDM_OPT_BOUNCE = 40022,
    IDM_NEXT_FRAME = 40023, IDM_OPT_SOUND = 40024, IDM_OPT_FLASH = 40025, IDM_PLAY_FIRST = 40026,
    IDM_NEW = 40027, IDM_VERSION = 40028, IDM_EXPORT_2000 = 40029, IDM_IMPORT_2003 = 40030,
    IDM_EXPORT_2003 = 40031, IDM_OPEN = 40032, IDM_INTERPOLATE = 40033, IDM_OPT_RELOAD = 40034,
    IDM_IMPORT_RUBY = 40035, IDM_SAVE = 40036, IDM_EXPORT_VXACE = 40037, IDM_OPT_CLEAR = 40038,
    IDM_SAVE_AS = 40040, IDM_CELL_DIALOG = 40043, IDM_SEND_BACKWARD = 40045, IDM_EXPORT_GIF = 40064,
    IDM_PREV_FRAME = 40066, IDM_FIRST_FRAME = 40076, IDM_LAST_FRAME = 40079, IDM_VIEW_NEXT = 40082,
    IDM_VIEW_BACK = 40085, IDM_VIEW_SHADOW = 40088, IDM_INSERT_FRAME = 40115, IDM_DELETE_FRAME = 40118,
    IDM_CLEAR_FRAME = 40120, IDM_FROM_PREVIOUS = 40122, IDM_FROM_NEXT = 40124, IDM_VERTICAL = 40126,
    IDM_NEW_FRAME_FLAG = 40132, IDM_VIEW_NOW = 40133, IDM_VIEW_STATUS = 40134, IDM_VIEW_BAR = 40136,
    IDM_SETTINGS = 40143, IDM_TOOL_MOVE = 40144, IDM_TOOL_SWING = 40148, IDM_UNDO = 40196,
    IDM_SELECT_ALL = 40197, IDM_DELETE = 40198, IDM_NEW_CELL = 40209, IDM_VIEW_GIF = 40210,
    IDM_SET_TARGET = 40211, IDM_SET_GIF = 40212, IDM_INTERPOLATE_SELECTED = 40213, IDM_VIEW_LOCUS = 40214,
    IDM_EXPORT_VX = 40215, IDM_EXPORT_MV = 40216, IDM_IMPORT_MV = 40217, IDM_EXPORT_MZ = 40218,
    IDM_RECENT = 40300, IDM_RECENT_FIRST = 40301,  // the recent-files submenu and its 8 entries
    IDM_OPEN_GAME_DATA = 40310, IDM_WRITE_BACK = 40311, IDM_EXPORT_GAME_DATA = 40312,
    IDM_OPEN_PATH = 30082, IDM_CELL_WINDOW = 30090, IDM_FIX_CELL_S = 30091,
};

/** One entry of a menu: an item (id > 0), a separator (id 0, no text) or a submenu
 *  (id 0 with a text and children). */
struct strMenuEntry {
    int id = 0;
    std::string text;             // UTF-8, with the "&" mnemonic
    bool disabled = false;        // marked disabled in the menu resource
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
    ACC_LEFT = 0x25, ACC_RIGHT = 0x27, ACC_DELETE = 0x2E, ACC_SPACE = 0x20, ACC_RETURN = 0x0D,
    ACC_COMMA = 0xBC, ACC_PERIOD = 0xBE, ACC_BROWSER_BACK = 0xA6, ACC_BROWSER_FORWARD = 0xA7,
};
struct strAccelerator {
    int key;        // a virtual key: a letter 'A'..'Z' or one of eAccKey
    bool ctrl;
    int command;
};
const std::vector<strAccelerator>& MainAccelerators();
/** The shortcut text shown beside a menu item ("Ctrl+N"); empty when none. */
std::string AcceleratorText(int command);

/** Commands handled without stopping playback first. */
bool HandledDuringPlayback(int command);

/** The playback option bit toggled by a command; 0 for other commands. */
unsigned PlayOptionBit(int command);

/** The view or window flag setting toggled by a command; null for other commands. */
bool* ToggleFlagOf(int command);

/** Commands present in the menus that stay disabled in this build: the 2003 entries.
 *  (The help item is disabled by MenuStateOf; its number runs bring-forward.) */
bool AlwaysDisabled(int command);

/** What the menu state rules look at. */
struct strMenuContext {
    bool hasProject = true;
    bool untitled = true;
    bool fromGameData = false;     // the project is linked to an entry of a game's data file
    bool clip2000 = false;         // the 2000 format is on the clipboard
    bool clipRuby = false;         // one of the XP / VX / VX Ace formats
    bool clipJson = false;         // one of the MV / MZ formats
    bool canUndo = false, canRedo = false;
    bool fixPicturePerCell = false;
    bool cellSelected = false;
    bool clipCells = false;        // the internal clipboard holds cells
    unsigned playBit = 0;
    bool listVisible = false, paletteVisible = false, statusVisible = true, barVisible = true;
};

struct strItemState {
    bool enabled = true;
    bool checked = false;
    bool checkable = false;
};

/** The state of a command's menu item given the context. */
strItemState MenuStateOf(int command, const strMenuContext& context);
