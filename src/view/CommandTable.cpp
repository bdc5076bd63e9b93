#include "view/CommandTable.h"

#include "platform/Strings.h"
#include "playback/AnimePlayer.h"
#include "project/RecentFiles.h"
#include "project/Settings.h"

#include <algorithm>
#include <map>

namespace {

strMenuEntry item(int id, const char* text, bool disabled = false) { return {id, text, disabled, {}}; }
strMenuEntry separator() { return {}; }
strMenuEntry submenu(const char* text, std::vector<strMenuEntry> children)
{
    return {0, text, false, std::move(children)};
}

// The menu tree, laid out as the menus look.
// clang-format off
std::vector<strMenuEntry> buildMenu()
{
    return {
        submenu(QT_TRANSLATE_NOOP("Menu", "ファイル(&F)"), {
            item(IDM_NEW, QT_TRANSLATE_NOOP("Menu", "新規作成(&N)")),
            item(IDM_OPEN, QT_TRANSLATE_NOOP("Menu", "開く(&O)")),
            item(IDM_SAVE, QT_TRANSLATE_NOOP("Menu", "保存(&S)")),
            item(IDM_SAVE_AS, QT_TRANSLATE_NOOP("Menu", "名前を付けて保存(&A)")),
            item(IDM_RECENT, QT_TRANSLATE_NOOP("Menu", "最近使ったファイル(&R)")),
            separator(),
            item(IDM_OPEN_GAME_DATA, QT_TRANSLATE_NOOP("Menu", "ゲームのデータから開く(&D)...")),
            item(IDM_WRITE_BACK, QT_TRANSLATE_NOOP("Menu", "ゲームのデータへ書き戻す(&W)")),
            item(IDM_EXPORT_GAME_DATA, QT_TRANSLATE_NOOP("Menu", "ゲームのデータへ書き出す(&B)...")),
            separator(),
            submenu(QT_TRANSLATE_NOOP("Menu", "画像出力(&G)"), {
                item(IDM_EXPORT_PNG, QT_TRANSLATE_NOOP("Menu", "PNG(&P)")),
                item(IDM_EXPORT_GIF, QT_TRANSLATE_NOOP("Menu", "アニメーションGIF(&G)")),
            }),
            submenu(QT_TRANSLATE_NOOP("Menu", "クリップボードに出力(&I)"), {
                item(IDM_EXPORT_2000, QT_TRANSLATE_NOOP("Menu", "RPGツクール2000(&S)")),
                item(IDM_EXPORT_2003, QT_TRANSLATE_NOOP("Menu", "RPGツクール2003(&T)"), true),
                item(IDM_EXPORT_XP, QT_TRANSLATE_NOOP("Menu", "RPGツクールXP(&X)")),
                item(IDM_EXPORT_VX, QT_TRANSLATE_NOOP("Menu", "RPGツクールVX(&V)")),
                item(IDM_EXPORT_VXACE, QT_TRANSLATE_NOOP("Menu", "RPGツクールVX Ace(&A)")),
                item(IDM_EXPORT_MV, QT_TRANSLATE_NOOP("Menu", "RPGツクールMV(&M)")),
                item(IDM_EXPORT_MZ, QT_TRANSLATE_NOOP("Menu", "RPGツクールMZ(&Z)")),
            }),
            submenu(QT_TRANSLATE_NOOP("Menu", "クリップボードから取り込む(&E)"), {
                item(IDM_IMPORT_2000, QT_TRANSLATE_NOOP("Menu", "RPGツクール2000(&S)")),
                item(IDM_IMPORT_2003, QT_TRANSLATE_NOOP("Menu", "RPGツクール2003(&T)"), true),
                item(IDM_IMPORT_RUBY, QT_TRANSLATE_NOOP("Menu", "RPGツクールXP / VX / VX Ace(&X)")),
                item(IDM_IMPORT_MV, QT_TRANSLATE_NOOP("Menu", "RPGツクールMV / MZ(&M)")),
            }),
            separator(),
            item(IDM_CLOSE, QT_TRANSLATE_NOOP("Menu", "閉じる(&X)")),
        }),
        submenu(QT_TRANSLATE_NOOP("Menu", "編集(&E)"), {
            item(IDM_UNDO, QT_TRANSLATE_NOOP("Menu", "元に戻す(&U)")),
            item(IDM_REDO, QT_TRANSLATE_NOOP("Menu", "やり直す(&R)")),
            separator(),
            item(IDM_CUT, QT_TRANSLATE_NOOP("Menu", "切り取り(&T)")),
            item(IDM_COPY, QT_TRANSLATE_NOOP("Menu", "コピー(&C)")),
            item(IDM_PASTE, QT_TRANSLATE_NOOP("Menu", "貼り付け(&P)")),
            item(IDM_DELETE, QT_TRANSLATE_NOOP("Menu", "削除(&D)")),
            separator(),
            item(IDM_SELECT_ALL, QT_TRANSLATE_NOOP("Menu", "全て選択(&A)")),
            item(IDM_INTERPOLATE_SELECTED, QT_TRANSLATE_NOOP("Menu", "選択セルを補完")),
            item(IDM_AT_ONCE, QT_TRANSLATE_NOOP("Menu", "セル一括設定(&C)")),
            separator(),
            item(IDM_PROJECT, QT_TRANSLATE_NOOP("Menu", "プロジェクト(&S)")),
            item(IDM_FIX_CELL, QT_TRANSLATE_NOOP("Menu", "セル番号と画像(&F)")),
        }),
        submenu(QT_TRANSLATE_NOOP("Menu", "フレーム(&R)"), {
            item(IDM_NEXT_FRAME, QT_TRANSLATE_NOOP("Menu", "次のフレームへ(&N)")),
            item(IDM_PREV_FRAME, QT_TRANSLATE_NOOP("Menu", "前のフレームへ(&B)")),
            item(IDM_FIRST_FRAME, QT_TRANSLATE_NOOP("Menu", "最初のフレームへ(&F)")),
            item(IDM_LAST_FRAME, QT_TRANSLATE_NOOP("Menu", "最後のフレームへ(&L)")),
            separator(),
            item(IDM_INSERT_FRAME, QT_TRANSLATE_NOOP("Menu", "挿入(&I)")),
            item(IDM_DELETE_FRAME, QT_TRANSLATE_NOOP("Menu", "削除(&D)")),
            item(IDM_CLEAR_FRAME, QT_TRANSLATE_NOOP("Menu", "初期化(&C)")),
            separator(),
            item(IDM_FROM_NEXT, QT_TRANSLATE_NOOP("Menu", "次フレームから転送(&N)")),
            item(IDM_FROM_PREVIOUS, QT_TRANSLATE_NOOP("Menu", "前フレームから転送(&B)")),
            item(IDM_INTERPOLATE, QT_TRANSLATE_NOOP("Menu", "前後フレームで補完(&M)")),
            item(IDM_FRAME_COMP, QT_TRANSLATE_NOOP("Menu", "フレーム補完(&F)")),
            item(IDM_SET_INTERVAL, QT_TRANSLATE_NOOP("Menu", "インターバル一括設定(&I)")),
            separator(),
            item(IDM_NEW_FRAME_FLAG, QT_TRANSLATE_NOOP("Menu", "自動でフレームを追加する(&A)")),
        }),
        submenu(QT_TRANSLATE_NOOP("Menu", "表示(&V)"), {
            item(IDM_VIEW_NEXT, QT_TRANSLATE_NOOP("Menu", "次のフレームを描画(&N)")),
            item(IDM_VIEW_BACK, QT_TRANSLATE_NOOP("Menu", "前のフレームを描画(&B)")),
            item(IDM_VIEW_NOW, QT_TRANSLATE_NOOP("Menu", "現在のフレームの枠を描画(&N)")),
            item(IDM_VIEW_SHADOW, QT_TRANSLATE_NOOP("Menu", "半透明で表す(&O)")),
            item(IDM_VIEW_LOCUS, QT_TRANSLATE_NOOP("Menu", "軌跡(&L)")),
            item(IDM_VIEW_TARGET, QT_TRANSLATE_NOOP("Menu", "効果の対象(&E)")),
            item(IDM_VIEW_GIF, QT_TRANSLATE_NOOP("Menu", "ＧＩＦ(&G)")),
            item(IDM_VIEW_LINE, QT_TRANSLATE_NOOP("Menu", "グリッド(&R)")),
            separator(),
            item(IDM_SET_TARGET, QT_TRANSLATE_NOOP("Menu", "対象画像(&T)")),
            item(IDM_SET_GIF, QT_TRANSLATE_NOOP("Menu", "下書き用GIF(&G)")),
            separator(),
            item(IDM_VERTICAL, QT_TRANSLATE_NOOP("Menu", "セルを縦に並べる(&V)")),
            separator(),
            item(IDM_VIEW_LIST, QT_TRANSLATE_NOOP("Menu", "リストウィンドウを表示(&R)")),
            item(IDM_VIEW_PALETTE, QT_TRANSLATE_NOOP("Menu", "パレットウィンドウを表示(&P)")),
            item(IDM_VIEW_STATUS, QT_TRANSLATE_NOOP("Menu", "ステータスバーを表示(&S)")),
            item(IDM_VIEW_BAR, QT_TRANSLATE_NOOP("Menu", "ツールバーを表示(&O)")),
        }),
        submenu(QT_TRANSLATE_NOOP("Menu", "ツール(&T)"), {
            item(IDM_PLAY, QT_TRANSLATE_NOOP("Menu", "再生(&P)")),
            item(IDM_PLAY_FIRST, QT_TRANSLATE_NOOP("Menu", "最初から再生(&L)")),
            separator(),
            item(IDM_OPT_LOOP, QT_TRANSLATE_NOOP("Menu", "繰り返し(&L)")),
            item(IDM_OPT_BOUNCE, QT_TRANSLATE_NOOP("Menu", "折り返し(&T)")),
            item(IDM_OPT_SOUND, QT_TRANSLATE_NOOP("Menu", "効果音(&S)")),
            item(IDM_OPT_FLASH, QT_TRANSLATE_NOOP("Menu", "点滅(&F)")),
            item(IDM_OPT_RELOAD, QT_TRANSLATE_NOOP("Menu", "再生する度に効果音を読み込む(&R)")),
            item(IDM_OPT_CLEAR, QT_TRANSLATE_NOOP("Menu", "再生が終わったらセルを消去(&D)")),
            separator(),
            item(IDM_TOOL_MOVE, QT_TRANSLATE_NOOP("Menu", "移動(&M)")),
            item(IDM_TOOL_SWING, QT_TRANSLATE_NOOP("Menu", "振り回し(&S)")),
            item(IDM_TOOL_SPLINE, QT_TRANSLATE_NOOP("Menu", "スプライン曲線(&B)")),
            separator(),
            item(IDM_OPEN_FOLDER, QT_TRANSLATE_NOOP("Menu", "カレントフォルダを開く(&F)")),
            item(IDM_SETTINGS, QT_TRANSLATE_NOOP("Menu", "エディタ設定(&E)")),
        }),
        submenu(QT_TRANSLATE_NOOP("Menu", "ヘルプ(&H)"), {
            item(IDM_HELP, QT_TRANSLATE_NOOP("Menu", "ヘルプ(&H)"), true),
            item(IDM_VERSION, QT_TRANSLATE_NOOP("Menu", "バージョン情報(&A)")),
        }),
    };
}
// clang-format on

// The clipboard items shared by the popups of the side windows.
std::vector<strMenuEntry> withClipboard(std::vector<strMenuEntry> head, std::vector<strMenuEntry> tail)
{
    head.push_back(separator());
    for (strMenuEntry e : {item(IDM_CUT, QT_TRANSLATE_NOOP("Menu", "切り取り(&T)")),
                           item(IDM_COPY, QT_TRANSLATE_NOOP("Menu", "コピー(&C)")),
                           item(IDM_PASTE, QT_TRANSLATE_NOOP("Menu", "貼り付け(&P)")),
                           item(IDM_DELETE, QT_TRANSLATE_NOOP("Menu", "削除(&D)"))})
        head.push_back(std::move(e));
    if (!tail.empty()) {
        head.push_back(separator());
        for (strMenuEntry& e : tail)
            head.push_back(std::move(e));
    }
    return head;
}

// The tail shared by the timeline's popups: select all, interpolation, batch edit, drag range.
std::vector<strMenuEntry> timelineTail(bool withPlayRange)
{
    std::vector<strMenuEntry> tail = {item(IDM_SELECT_ALL, QT_TRANSLATE_NOOP("Menu", "全て選択(&A)")),
                                      item(40001, QT_TRANSLATE_NOOP("Menu", "フレーム補完(&M)")),
                                      item(40003, QT_TRANSLATE_NOOP("Menu", "一括編集(&O)"))};
    if (withPlayRange)
        tail.push_back(item(40004, QT_TRANSLATE_NOOP("Menu", "再生範囲に設定(&A)")));
    tail.push_back(item(40005, QT_TRANSLATE_NOOP("Menu", "ドラッグ範囲に設定(&G)")));
    return tail;
}

std::map<std::string, std::vector<strMenuEntry>> buildPopups()
{
    std::map<std::string, std::vector<strMenuEntry>> popups;
    popups["MENU_EDIT1"] = withClipboard({item(IDM_CELL_DIALOG, QT_TRANSLATE_NOOP("Menu", "パラメータ(&S)")),
                                          item(IDM_NEW_CELL, QT_TRANSLATE_NOOP("Menu", "新規(&I)")), separator(),
                                          item(IDM_BRING_FORWARD, QT_TRANSLATE_NOOP("Menu", "手前へ(&U)")),
                                          item(IDM_SEND_BACKWARD, QT_TRANSLATE_NOOP("Menu", "背面へ(&L)"))},
                                         {item(IDM_SELECT_ALL, QT_TRANSLATE_NOOP("Menu", "全て選択(&A)")),
                                          item(IDM_INTERPOLATE_SELECTED, QT_TRANSLATE_NOOP("Menu", "選択セルを補完"))});
    popups["MENU_IMAGELIST"] = withClipboard(
        {item(40043, QT_TRANSLATE_NOOP("Menu", "設定(&S)")), item(40002, QT_TRANSLATE_NOOP("Menu", "再読込(&R)"))}, {});
    popups["MENU_EFFECTLIST"] = withClipboard(
        {item(40043, QT_TRANSLATE_NOOP("Menu", "設定(&S)")), item(40209, QT_TRANSLATE_NOOP("Menu", "追加(&I)"))}, {});
    popups["MENU_FRAME"] = withClipboard({item(40043, QT_TRANSLATE_NOOP("Menu", "インターバル(&S)")),
                                          item(40115, QT_TRANSLATE_NOOP("Menu", "挿入(&I)"))},
                                         timelineTail(true));
    popups["MENU_CELL"] = withClipboard({item(40043, QT_TRANSLATE_NOOP("Menu", "パラメータ(&S)")),
                                         item(40209, QT_TRANSLATE_NOOP("Menu", "新規(&I)")),
                                         item(40213, QT_TRANSLATE_NOOP("Menu", "中間セル挿入(A)"))},
                                        timelineTail(false));
    popups["MENU_LINE"] =
        withClipboard({item(40043, QT_TRANSLATE_NOOP("Menu", "使う画像を固定する(&S)"))}, timelineTail(false));
    return popups;
}

const strMenuEntry* findEntry(const std::vector<strMenuEntry>& entries, int id)
{
    for (const strMenuEntry& e : entries) {
        if (e.id == id && id != 0)
            return &e;
        if (const strMenuEntry* found = findEntry(e.children, id))
            return found;
    }
    return nullptr;
}

} // namespace

const std::vector<strMenuEntry>& MainMenu()
{
    static const std::vector<strMenuEntry> menu = buildMenu();
    return menu;
}

const std::vector<strMenuEntry>& PopupMenu(const std::string& name)
{
    static const std::map<std::string, std::vector<strMenuEntry>> popups = buildPopups();
    static const std::vector<strMenuEntry> none;
    auto it = popups.find(name);
    return it == popups.end() ? none : it->second;
}

std::string MenuText(int id)
{
    const strMenuEntry* e = findEntry(MainMenu(), id);
    return e ? e->text : std::string();
}

const std::vector<strAccelerator>& MainAccelerators()
{
    static const std::vector<strAccelerator> table = {
        {'N', true, IDM_NEW},
        {'O', true, IDM_OPEN},
        {'S', true, IDM_SAVE},
        {'Z', true, IDM_UNDO},
        {'Y', true, IDM_REDO},
        {'X', true, IDM_CUT},
        {'C', true, IDM_COPY},
        {'V', true, IDM_PASTE},
        {'A', true, IDM_SELECT_ALL},
        {'B', true, IDM_INTERPOLATE_SELECTED},
        {'L', true, IDM_INTERPOLATE},
        {'I', true, IDM_INSERT_FRAME},
        {'Q', true, IDM_PLAY_FIRST},
        {'W', true, IDM_PLAY},
        {ACC_RIGHT, true, IDM_NEXT_FRAME},
        {ACC_LEFT, true, IDM_PREV_FRAME},
        {ACC_PERIOD, true, IDM_FROM_NEXT},
        {ACC_COMMA, true, IDM_FROM_PREVIOUS},
        {ACC_DELETE, false, IDM_DELETE},
        {ACC_SPACE, false, IDM_CELL_DIALOG},
        {ACC_RETURN, false, IDM_CELL_DIALOG},
        {ACC_BROWSER_FORWARD, false, IDM_BRING_FORWARD},
        {ACC_BROWSER_BACK, false, IDM_SEND_BACKWARD},
    };
    return table;
}

std::string AcceleratorText(int command)
{
    for (const strAccelerator& a : MainAccelerators()) {
        if (a.command != command)
            continue;
        std::string key;
        switch (a.key) {
        case ACC_LEFT: key = "Left"; break;
        case ACC_RIGHT: key = "Right"; break;
        case ACC_DELETE: key = "Del"; break;
        case ACC_SPACE: key = "Space"; break;
        case ACC_RETURN: key = "Enter"; break;
        case ACC_COMMA: key = ","; break;
        case ACC_PERIOD: key = "."; break;
        case ACC_BROWSER_BACK:
        case ACC_BROWSER_FORWARD: return std::string();
        default: key = std::string(1, char(a.key)); break;
        }
        return a.ctrl ? "Ctrl+" + key : key;
    }
    return std::string();
}

bool HandledDuringPlayback(int command)
{
    static const int ids[] = {
        IDM_OPT_LOOP,    IDM_OPT_BOUNCE,  IDM_OPT_SOUND,      IDM_OPT_FLASH,   IDM_OPT_RELOAD,
        IDM_OPT_CLEAR,   IDM_PLAY,        IDM_PLAY_FIRST,     IDM_VIEW_NEXT,   IDM_VIEW_BACK,
        IDM_VIEW_NOW,    IDM_VIEW_SHADOW, IDM_VIEW_LOCUS,     IDM_VIEW_TARGET, IDM_VIEW_GIF,
        IDM_VIEW_LINE,   IDM_VERTICAL,    IDM_NEW_FRAME_FLAG, IDM_VIEW_LIST,   IDM_VIEW_PALETTE,
        IDM_VIEW_STATUS, IDM_VIEW_BAR,    IDM_TOOL_MOVE,      IDM_TOOL_SWING,  IDM_TOOL_SPLINE,
    };
    return std::find(std::begin(ids), std::end(ids), command) != std::end(ids);
}

unsigned PlayOptionBit(int command)
{
    switch (command) {
    case IDM_OPT_LOOP: return PF_LOOP;
    case IDM_OPT_BOUNCE: return PF_BOUNCE;
    case IDM_OPT_FLASH: return PF_FLASH;
    case IDM_OPT_SOUND: return PF_SOUND;
    case IDM_OPT_RELOAD: return PF_RELOAD_SOUNDS;
    case IDM_OPT_CLEAR: return PF_CLEAR_CELLS;
    default: return 0;
    }
}

bool* ToggleFlagOf(cSettings& s, int command)
{
    switch (command) {
    case IDM_VIEW_NEXT: return &s.VNextFlag;
    case IDM_VIEW_BACK: return &s.VBackFlag;
    case IDM_VIEW_NOW: return &s.VNowFlag;
    case IDM_VIEW_SHADOW: return &s.VShadowFlag;
    case IDM_VIEW_LOCUS: return &s.VLocusFlag;
    case IDM_VIEW_TARGET: return &s.VTargetFlag;
    case IDM_VIEW_GIF: return &s.VGifFlag;
    case IDM_VIEW_LINE: return &s.VLineFlag;
    case IDM_VERTICAL: return &s.VerticalFlag;
    case IDM_NEW_FRAME_FLAG: return &s.NewFrameFlag;
    case IDM_VIEW_LIST: return &s.VListFlag;
    case IDM_VIEW_PALETTE: return &s.VPalFlag;
    case IDM_VIEW_STATUS: return &s.VStatusFlag;
    case IDM_VIEW_BAR: return &s.VBarFlag;
    default: return nullptr;
    }
}

const bool* ToggleFlagOf(const cSettings& settings, int command)
{
    return ToggleFlagOf(const_cast<cSettings&>(settings), command);
}

namespace {

bool never(int, const strMenuContext&) { return false; }
bool saveable(int, const strMenuContext& c) { return c.hasProject && !c.untitled; }
bool fromGameData(int, const strMenuContext& c) { return c.fromGameData; }
bool clip2000(int, const strMenuContext& c) { return c.clip2000; }
bool clipRuby(int, const strMenuContext& c) { return c.clipRuby; }
bool clipJson(int, const strMenuContext& c) { return c.clipJson; }
bool canUndo(int, const strMenuContext& c) { return c.canUndo; }
bool canRedo(int, const strMenuContext& c) { return c.canRedo; }
bool cellSelected(int, const strMenuContext& c) { return c.cellSelected; }
bool clipCells(int, const strMenuContext& c) { return c.clipCells; }
bool fixPicturePerCell(int, const strMenuContext& c) { return c.fixPicturePerCell; }
bool playOptionOn(int id, const strMenuContext& c) { return (c.playBit & PlayOptionBit(id)) != 0; }
bool flagOn(int id, const strMenuContext& c) { return c.settings && *ToggleFlagOf(*c.settings, id); }
bool listVisible(int, const strMenuContext& c) { return c.listVisible; }
bool paletteVisible(int, const strMenuContext& c) { return c.paletteVisible; }
bool statusVisible(int, const strMenuContext& c) { return c.statusVisible; }
bool barVisible(int, const strMenuContext& c) { return c.barVisible; }

using R = iCommandRunner;

// In menu order, then the commands of the canvas and the side windows.
const strCommandEntry kCommands[] = {
    {IDM_NEW, nullptr, nullptr, &R::RunFile},
    {IDM_OPEN, nullptr, nullptr, &R::RunFile},
    {IDM_SAVE, saveable, nullptr, &R::RunFile},
    {IDM_SAVE_AS, nullptr, nullptr, &R::RunFile},
    {IDM_RECENT_FIRST, nullptr, nullptr, &R::RunRecent},
    {IDM_OPEN_GAME_DATA, nullptr, nullptr, &R::RunFile},
    {IDM_WRITE_BACK, fromGameData, nullptr, &R::RunFile},
    {IDM_EXPORT_GAME_DATA, nullptr, nullptr, &R::RunFile},
    {IDM_EXPORT_PNG, nullptr, nullptr, &R::RunSideWindow},
    {IDM_EXPORT_GIF, nullptr, nullptr, &R::RunSideWindow},
    {IDM_EXPORT_2000, nullptr, nullptr, &R::RunClipboardTransfer},
    {IDM_EXPORT_2003, never, nullptr, nullptr},
    {IDM_EXPORT_XP, nullptr, nullptr, &R::RunClipboardTransfer},
    {IDM_EXPORT_VX, nullptr, nullptr, &R::RunClipboardTransfer},
    {IDM_EXPORT_VXACE, nullptr, nullptr, &R::RunClipboardTransfer},
    {IDM_EXPORT_MV, nullptr, nullptr, &R::RunClipboardTransfer},
    {IDM_EXPORT_MZ, nullptr, nullptr, &R::RunClipboardTransfer},
    {IDM_IMPORT_2000, clip2000, nullptr, &R::RunClipboardTransfer},
    {IDM_IMPORT_2003, never, nullptr, nullptr},
    {IDM_IMPORT_RUBY, clipRuby, nullptr, &R::RunClipboardTransfer},
    {IDM_IMPORT_MV, clipJson, nullptr, &R::RunClipboardTransfer},
    {IDM_CLOSE, nullptr, nullptr, &R::RunClose},

    {IDM_UNDO, canUndo, nullptr, &R::RunUndo},
    {IDM_REDO, canRedo, nullptr, &R::RunRedo},
    {IDM_CUT, cellSelected, nullptr, &R::RunCut},
    {IDM_COPY, cellSelected, nullptr, &R::RunCopy},
    {IDM_PASTE, clipCells, nullptr, &R::RunPaste},
    {IDM_DELETE, cellSelected, nullptr, &R::RunDelete},
    {IDM_SELECT_ALL, nullptr, nullptr, &R::RunSelectAll},
    {IDM_INTERPOLATE_SELECTED, cellSelected, nullptr, &R::RunInterpolateSelected},
    {IDM_AT_ONCE, nullptr, nullptr, &R::RunSideWindow},
    {IDM_PROJECT, nullptr, nullptr, &R::RunProjectDialog},
    {IDM_FIX_CELL, fixPicturePerCell, nullptr, &R::RunSideWindow},

    {IDM_NEXT_FRAME, nullptr, nullptr, &R::RunNextFrame},
    {IDM_PREV_FRAME, nullptr, nullptr, &R::RunPreviousFrame},
    {IDM_FIRST_FRAME, nullptr, nullptr, &R::RunFirstFrame},
    {IDM_LAST_FRAME, nullptr, nullptr, &R::RunLastFrame},
    {IDM_INSERT_FRAME, nullptr, nullptr, &R::RunInsertFrame},
    {IDM_DELETE_FRAME, nullptr, nullptr, &R::RunDeleteFrame},
    {IDM_CLEAR_FRAME, nullptr, nullptr, &R::RunClearFrame},
    {IDM_FROM_NEXT, nullptr, nullptr, &R::RunFromNext},
    {IDM_FROM_PREVIOUS, nullptr, nullptr, &R::RunFromPrevious},
    {IDM_INTERPOLATE, nullptr, nullptr, &R::RunInterpolate},
    {IDM_FRAME_COMP, nullptr, nullptr, &R::RunSideWindow},
    {IDM_SET_INTERVAL, nullptr, nullptr, &R::RunSideWindow},
    {IDM_NEW_FRAME_FLAG, nullptr, flagOn, &R::RunToggleFlag},

    {IDM_VIEW_NEXT, nullptr, flagOn, &R::RunToggleFlag},
    {IDM_VIEW_BACK, nullptr, flagOn, &R::RunToggleFlag},
    {IDM_VIEW_NOW, nullptr, flagOn, &R::RunToggleFlag},
    {IDM_VIEW_SHADOW, nullptr, flagOn, &R::RunToggleFlag},
    {IDM_VIEW_LOCUS, nullptr, flagOn, &R::RunToggleFlag},
    {IDM_VIEW_TARGET, nullptr, flagOn, &R::RunToggleFlag},
    {IDM_VIEW_GIF, nullptr, flagOn, &R::RunToggleFlag},
    {IDM_VIEW_LINE, nullptr, flagOn, &R::RunToggleFlag},
    {IDM_SET_TARGET, nullptr, nullptr, &R::RunSetTarget},
    {IDM_SET_GIF, nullptr, nullptr, &R::RunSetGif},
    {IDM_VERTICAL, nullptr, flagOn, &R::RunSideWindow}, // the palette lays its cells out anew
    {IDM_VIEW_LIST, nullptr, listVisible, &R::RunSideWindow},
    {IDM_VIEW_PALETTE, nullptr, paletteVisible, &R::RunSideWindow},
    {IDM_VIEW_STATUS, nullptr, statusVisible, &R::RunToggleFlag},
    {IDM_VIEW_BAR, nullptr, barVisible, &R::RunToggleFlag},

    {IDM_PLAY, nullptr, nullptr, &R::RunPlay},
    {IDM_PLAY_FIRST, nullptr, nullptr, &R::RunPlay},
    {IDM_OPT_LOOP, nullptr, playOptionOn, &R::RunPlayOption},
    {IDM_OPT_BOUNCE, nullptr, playOptionOn, &R::RunPlayOption},
    {IDM_OPT_SOUND, nullptr, playOptionOn, &R::RunPlayOption},
    {IDM_OPT_FLASH, nullptr, playOptionOn, &R::RunPlayOption},
    {IDM_OPT_RELOAD, nullptr, playOptionOn, &R::RunPlayOption},
    {IDM_OPT_CLEAR, nullptr, playOptionOn, &R::RunPlayOption},
    {IDM_TOOL_MOVE, nullptr, nullptr, &R::RunTool},
    {IDM_TOOL_SWING, nullptr, nullptr, &R::RunTool},
    {IDM_TOOL_SPLINE, nullptr, nullptr, &R::RunTool},
    {IDM_OPEN_FOLDER, nullptr, nullptr, &R::RunOpenFolder},
    {IDM_SETTINGS, nullptr, nullptr, &R::RunSettingsDialog},

    // The help item shares its number with bring-forward, which runs from the keyboard
    // and the canvas menu; the item itself stays disabled.
    {IDM_BRING_FORWARD, never, nullptr, &R::RunArrange},
    {IDM_VERSION, nullptr, nullptr, &R::RunVersion},

    {IDM_SEND_BACKWARD, nullptr, nullptr, &R::RunArrange},
    {IDM_NEW_CELL, nullptr, nullptr, &R::RunNewCell},
    {IDM_CELL_DIALOG, nullptr, nullptr, &R::RunSideWindow},
    {IDM_CELL_WINDOW, nullptr, nullptr, &R::RunSideWindow},
    {IDM_FIX_CELL_S, nullptr, nullptr, &R::RunSideWindow},
};

} // namespace

const strCommandEntry* FindCommand(int command)
{
    if (command >= IDM_RECENT_FIRST && command < IDM_RECENT_FIRST + int(cRecentFiles::kMax))
        command = IDM_RECENT_FIRST;
    for (const strCommandEntry& e : kCommands)
        if (e.id == command)
            return &e;
    return nullptr;
}

bool RunCommand(iCommandRunner& runner, int command, int code)
{
    const strCommandEntry* e = FindCommand(command);
    if (!e || !e->run)
        return false;
    (runner.*e->run)(command, code);
    return true;
}

bool AlwaysDisabled(int command)
{
    const strCommandEntry* e = FindCommand(command);
    return e && e->enabled == never && !e->run;
}

strItemState MenuStateOf(int command, const strMenuContext& c)
{
    strItemState state;
    if (const strCommandEntry* e = FindCommand(command)) {
        state.enabled = !e->enabled || e->enabled(command, c);
        state.checkable = e->checked != nullptr;
        state.checked = state.checkable && e->checked(command, c);
    }
    return state;
}
