#include "app/CommandTable.h"

#include "playback/AnimePlayer.h"
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

std::vector<strMenuEntry> buildMenu()
{
    return {
        submenu("ファイル(&F)", {
            item(IDM_NEW, "新規作成(&N)"),
            item(IDM_OPEN, "開く(&O)"),
            item(IDM_SAVE, "保存(&S)"),
            item(IDM_SAVE_AS, "名前を付けて保存(&A)"),
            item(IDM_RECENT, "最近使ったファイル(&R)"),
            separator(),
            submenu("画像出力(&G)", {
                item(IDM_EXPORT_PNG, "PNG(&P)"),
                item(IDM_EXPORT_GIF, "アニメーションGIF(&G)"),
            }),
            submenu("クリップボードに出力(&I)", {
                item(IDM_EXPORT_2000, "RPGツクール2000(&S)"),
                item(IDM_EXPORT_2003, "RPGツクール2003(&T)", true),
                item(IDM_EXPORT_XP, "RPGツクールXP(&X)"),
                item(IDM_EXPORT_VX, "RPGツクールVX(&V)"),
                item(IDM_EXPORT_VXACE, "RPGツクールVX Ace(&A)"),
                item(IDM_EXPORT_MV, "RPGツクールMV(&M)"),
                item(IDM_EXPORT_MZ, "RPGツクールMZ(&Z)"),
            }),
            submenu("クリップボードから取り込む(&E)", {
                item(IDM_IMPORT_2000, "RPGツクール2000(&S)"),
                item(IDM_IMPORT_2003, "RPGツクール2003(&T)", true),
                item(IDM_IMPORT_RUBY, "RPGツクールXP / VX / VX Ace(&X)"),
                item(IDM_IMPORT_MV, "RPGツクールMV / MZ(&M)"),
            }),
            separator(),
            item(IDM_CLOSE, "閉じる(&X)"),
        }),
        submenu("編集(&E)", {
            item(IDM_UNDO, "元に戻す(&U)"),
            item(IDM_REDO, "やり直す(&R)"),
            separator(),
            item(IDM_CUT, "切り取り(&T)"),
            item(IDM_COPY, "コピー(&C)"),
            item(IDM_PASTE, "貼り付け(&P)"),
            item(IDM_DELETE, "削除(&D)"),
            separator(),
            item(IDM_SELECT_ALL, "全て選択(&A)"),
            item(IDM_INTERPOLATE_SELECTED, "選択セルを補完"),
            item(IDM_AT_ONCE, "セル一括設定(&C)"),
            separator(),
            item(IDM_PROJECT, "プロジェクト(&S)"),
            item(IDM_FIX_CELL, "セル番号と画像(&F)"),
        }),
        submenu("フレーム(&R)", {
            item(IDM_NEXT_FRAME, "次のフレームへ(&N)"),
            item(IDM_PREV_FRAME, "前のフレームへ(&B)"),
            item(IDM_FIRST_FRAME, "最初のフレームへ(&F)"),
            item(IDM_LAST_FRAME, "最後のフレームへ(&L)"),
            separator(),
            item(IDM_INSERT_FRAME, "挿入(&I)"),
            item(IDM_DELETE_FRAME, "削除(&D)"),
            item(IDM_CLEAR_FRAME, "初期化(&C)"),
            separator(),
            item(IDM_FROM_NEXT, "次フレームから転送(&N)"),
            item(IDM_FROM_PREVIOUS, "前フレームから転送(&B)"),
            item(IDM_INTERPOLATE, "前後フレームで補完(&M)"),
            item(IDM_FRAME_COMP, "フレーム補完(&F)"),
            item(IDM_SET_INTERVAL, "インターバル一括設定(&I)"),
            separator(),
            item(IDM_NEW_FRAME_FLAG, "自動でフレームを追加する(&A)"),
        }),
        submenu("表示(&V)", {
            item(IDM_VIEW_NEXT, "次のフレームを描画(&N)"),
            item(IDM_VIEW_BACK, "前のフレームを描画(&B)"),
            item(IDM_VIEW_NOW, "現在のフレームの枠を描画(&N)"),
            item(IDM_VIEW_SHADOW, "半透明で表す(&O)"),
            item(IDM_VIEW_LOCUS, "軌跡(&L)"),
            item(IDM_VIEW_TARGET, "効果の対象(&E)"),
            item(IDM_VIEW_GIF, "ＧＩＦ(&G)"),
            item(IDM_VIEW_LINE, "グリッド(&R)"),
            separator(),
            item(IDM_SET_TARGET, "対象画像(&T)"),
            item(IDM_SET_GIF, "下書き用GIF(&G)"),
            separator(),
            item(IDM_VERTICAL, "セルを縦に並べる(&V)"),
            separator(),
            item(IDM_VIEW_LIST, "リストウィンドウを表示(&R)"),
            item(IDM_VIEW_PALETTE, "パレットウィンドウを表示(&P)"),
            item(IDM_VIEW_STATUS, "ステータスバーを表示(&S)"),
            item(IDM_VIEW_BAR, "ツールバーを表示(&O)"),
        }),
        submenu("ツール(&T)", {
            item(IDM_PLAY, "再生(&P)"),
            item(IDM_PLAY_FIRST, "最初から再生(&L)"),
            separator(),
            item(IDM_OPT_LOOP, "繰り返し(&L)"),
            item(IDM_OPT_BOUNCE, "折り返し(&T)"),
            item(IDM_OPT_SOUND, "効果音(&S)"),
            item(IDM_OPT_FLASH, "点滅(&F)"),
            item(IDM_OPT_RELOAD, "再生する度に効果音を読み込む(&R)"),
            item(IDM_OPT_CLEAR, "再生が終わったらセルを消去(&D)"),
            separator(),
            item(IDM_TOOL_MOVE, "移動(&M)"),
            item(IDM_TOOL_SWING, "振り回し(&S)"),
            item(IDM_TOOL_SPLINE, "スプライン曲線(&B)"),
            separator(),
            item(IDM_OPEN_FOLDER, "カレントフォルダを開く(&F)"),
            item(IDM_SETTINGS, "エディタ設定(&E)"),
        }),
        submenu("ヘルプ(&H)", {
            item(IDM_HELP, "ヘルプ(&H)", true),
            item(IDM_VERSION, "バージョン情報(&A)"),
        }),
    };
}

// The clipboard items shared by the popups of the side windows.
std::vector<strMenuEntry> withClipboard(std::vector<strMenuEntry> head, std::vector<strMenuEntry> tail)
{
    head.push_back(separator());
    for (strMenuEntry e : {item(IDM_CUT, "切り取り(&T)"), item(IDM_COPY, "コピー(&C)"),
                           item(IDM_PASTE, "貼り付け(&P)"), item(IDM_DELETE, "削除(&D)")})
        head.push_back(std::move(e));
    if (!tail.empty()) {
        head.push_back(separator());
        for (strMenuEntry& e : tail)
            head.push_back(std::move(e));
    }
    return head;
}

std::map<std::string, std::vector<strMenuEntry>> buildPopups()
{
    std::map<std::string, std::vector<strMenuEntry>> popups;
    popups["MENU_EDIT1"] = withClipboard(
        {item(IDM_CELL_DIALOG, "パラメータ(&S)"), item(IDM_NEW_CELL, "新規(&I)"), separator(),
         item(IDM_BRING_FORWARD, "手前へ(&U)"), item(IDM_SEND_BACKWARD, "背面へ(&L)")},
        {item(IDM_SELECT_ALL, "全て選択(&A)"), item(IDM_INTERPOLATE_SELECTED, "選択セルを補完")});
    popups["MENU_IMAGELIST"] = withClipboard({item(40043, "設定(&S)"), item(40002, "再読込(&R)")}, {});
    popups["MENU_EFFECTLIST"] = withClipboard({item(40043, "設定(&S)"), item(40209, "追加(&I)")}, {});
    popups["MENU_FRAME"] = withClipboard(
        {item(40043, "インターバル(&S)"), item(40115, "挿入(&I)")},
        {item(IDM_SELECT_ALL, "全て選択(&A)"), item(40001, "フレーム補完(&M)"), item(40003, "一括編集(&O)"), item(40004, "再生範囲に設定(&A)"),
         item(40005, "ドラッグ範囲に設定(&G)")});
    popups["MENU_CELL"] = withClipboard(
        {item(40043, "パラメータ(&S)"), item(40209, "新規(&I)"), item(40213, "中間セル挿入(A)")},
        {item(IDM_SELECT_ALL, "全て選択(&A)"), item(40001, "フレーム補完(&M)"), item(40003, "一括編集(&O)"), item(40005, "ドラッグ範囲に設定(&G)")});
    popups["MENU_LINE"] = withClipboard(
        {item(40043, "使う画像を固定する(&S)")},
        {item(IDM_SELECT_ALL, "全て選択(&A)"), item(40001, "フレーム補完(&M)"), item(40003, "一括編集(&O)"), item(40005, "ドラッグ範囲に設定(&G)")});
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
        {'N', true, IDM_NEW},           {'O', true, IDM_OPEN},          {'S', true, IDM_SAVE},
        {'Z', true, IDM_UNDO},          {'Y', true, IDM_REDO},          {'X', true, IDM_CUT},
        {'C', true, IDM_COPY},          {'V', true, IDM_PASTE},         {'A', true, IDM_SELECT_ALL},
        {'B', true, IDM_INTERPOLATE_SELECTED}, {'L', true, IDM_INTERPOLATE}, {'I', true, IDM_INSERT_FRAME},
        {'Q', true, IDM_PLAY_FIRST},    {'W', true, IDM_PLAY},          {ACC_RIGHT, true, IDM_NEXT_FRAME},
        {ACC_LEFT, true, IDM_PREV_FRAME}, {ACC_PERIOD, true, IDM_FROM_NEXT}, {ACC_COMMA, true, IDM_FROM_PREVIOUS},
        {ACC_DELETE, false, IDM_DELETE}, {ACC_SPACE, false, IDM_CELL_DIALOG}, {ACC_RETURN, false, IDM_CELL_DIALOG},
        {ACC_BROWSER_FORWARD, false, IDM_BRING_FORWARD}, {ACC_BROWSER_BACK, false, IDM_SEND_BACKWARD},
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
        case ACC_BROWSER_BACK: case ACC_BROWSER_FORWARD: return std::string();
        default: key = std::string(1, char(a.key)); break;
        }
        return a.ctrl ? "Ctrl+" + key : key;
    }
    return std::string();
}

bool HandledDuringPlayback(int command)
{
    static const int ids[] = {
        IDM_OPT_LOOP, IDM_OPT_BOUNCE, IDM_OPT_SOUND, IDM_OPT_FLASH, IDM_OPT_RELOAD, IDM_OPT_CLEAR,
        IDM_PLAY, IDM_PLAY_FIRST, IDM_VIEW_NEXT, IDM_VIEW_BACK, IDM_VIEW_NOW, IDM_VIEW_SHADOW,
        IDM_VIEW_LOCUS, IDM_VIEW_TARGET, IDM_VIEW_GIF, IDM_VIEW_LINE, IDM_VERTICAL, IDM_NEW_FRAME_FLAG,
        IDM_VIEW_LIST, IDM_VIEW_PALETTE, IDM_VIEW_STATUS, IDM_VIEW_BAR, IDM_TOOL_MOVE, IDM_TOOL_SWING,
        IDM_TOOL_SPLINE,
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

bool* ToggleFlagOf(int command)
{
    cSettings& s = Settings();
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

bool AlwaysDisabled(int command)
{
    switch (command) {
    case IDM_EXPORT_2003: case IDM_IMPORT_2003:
        return true;
    default:
        return false;
    }
}

strItemState MenuStateOf(int command, const strMenuContext& c)
{
    strItemState state;
    if (unsigned bit = PlayOptionBit(command)) {
        state.checkable = true;
        state.checked = (c.playBit & bit) != 0;
    } else if (bool* flag = ToggleFlagOf(command)) {
        state.checkable = true;
        switch (command) {
        case IDM_VIEW_LIST: state.checked = c.listVisible; break;
        case IDM_VIEW_PALETTE: state.checked = c.paletteVisible; break;
        case IDM_VIEW_STATUS: state.checked = c.statusVisible; break;
        case IDM_VIEW_BAR: state.checked = c.barVisible; break;
        default: state.checked = *flag; break;
        }
    }
    switch (command) {
    case IDM_SAVE: state.enabled = c.hasProject && !c.untitled; break;
    case IDM_IMPORT_2000: state.enabled = c.clip2000; break;
    case IDM_IMPORT_RUBY: state.enabled = c.clipRuby; break;
    case IDM_IMPORT_MV: state.enabled = c.clipJson; break;
    case IDM_UNDO: state.enabled = c.canUndo; break;
    case IDM_REDO: state.enabled = c.canRedo; break;
    case IDM_CUT: case IDM_COPY: case IDM_DELETE: case IDM_INTERPOLATE_SELECTED:
        state.enabled = c.cellSelected;
        break;
    case IDM_PASTE: state.enabled = c.clipCells; break;
    default: break;
    }
    if (command == IDM_FIX_CELL)
        state.enabled = c.fixPicturePerCell;
    // The help item shares its number with bring-forward, which runs from the keyboard
    // and the canvas menu; the item itself stays disabled.
    if (AlwaysDisabled(command) || command == IDM_HELP)
        state.enabled = false;
    return state;
}
