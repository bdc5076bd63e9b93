#pragma once
// Numbers of the status texts the editing operations show (platform/Strings.h
// holds the texts). The 45000 range holds texts that had no number of their own.

enum eEditText {
    kEditTextBase = 45000,
    ET_FRAME_INSERTED = kEditTextBase, // "フレーム[%d]に挿入しました"
    ET_FRAME_DELETED,                  // "フレーム[%d]を削除しました"
    ET_FRAME_CLEARED,                  // "フレーム[%d]をクリアしました"
    ET_FRAME_COPIED,                   // "フレーム[%d]を[%d]へコピーしました"
    ET_FRAME_INTERPOLATED,             // "フレーム[%d]に補完処理を行いました"
    ET_SELECTED_INTERPOLATED,          // "[%d] : 前後F で補完"
    ET_FRAMES_INTERPOLATED, // "フレーム [%d]～[%d] に補完処理 >> セル [%d] 枚を編集しました"
    ET_BATCH_EDITED,        // "一括処理 >> ｾﾙ [%d] 枚を編集しました"
    ET_SPLINE_STORED,       // "スプライン曲線 >> ｾﾙ [%d] 枚を編集しました"
    kEditTextEnd
};

/** String-table numbers the editing operations use. */
enum eEditTableText {
    ST_COPY = 40051,          // "[%d] : コピー"
    ST_PASTE = 40052,         // "[%d] : 貼り付け"
    ST_CUT = 40053,           // "[%d] : 切り取り"
    ST_DELETE = 40054,        // "[%d] : 削除"
    ST_FAILED_AT = 40058,     // "< ! > [%d:%d] : 処理に失敗"
    ST_INTERVALS_SET = 40059, // "フレーム [%d]～[%d] に インターバル[%d] を入力しました"
};
