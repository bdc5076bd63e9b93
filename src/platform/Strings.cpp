#include "platform/Strings.h"

#include <cstdarg>
#include <cstdio>
#include <unordered_map>

namespace platform {

namespace {
const std::unordered_map<int, std::string>& table()
{
    static const std::unordered_map<int, std::string> strings = {
        {40000, "MevkoEditor"},
        {40004, "確認"},
        {40005, "エラー"},
        {40006, "画像(*.bmp,gif,png,xyz)"},
        {40007, "効果音(*.wmv,wav,ogg,mp3)"},
        {40008, "アニメーション(*.txt,dat)"},
        {40011, "RPGツクール2000 [戦闘アニメ]"},
        {40012, "新規,ペースト"},
        {40015, "作成に失敗しました。\n%s"},
        {40020, "作業フォルダ [%s] を生成しますか？"},
        {40021, "内容が変更されています。\n保存しますか？"},
        {40022, "変更を反映させるにあたり、大きく書き換える必要があります。\nよろしいですか？\n※この操作は戻すことができません。"},
        {40023, "画像,演出,キーフレーム"},
        {40026, "No,Path,XY,Hue,Cut"},
        {40027, "F,SE,-,Flash,Other"},
        {40028, "画像番号,パターン,描画方式,座標X,座標Y,拡大X,拡大Y,角度,不透明,赤,緑,青,彩度"},
        {40029, "最初のフレームへ,前のフレームへ,次のフレームへ,最後のフレームへ,フレームを自動で追加する,挿入,削除,クリア,前フレームからコピー,次フレームからコピー,前後フレームで補完"},
        {40030, "前のフレームを表示,現在のフレーム枠を表示,次のフレームを表示,軌跡を表示,対象を表示,GIFアニメーションを表示,線を表示"},
        {40031, "セルを移動,セルを振り回す,曲線補完"},
        {40032, "最初から再生,再生/停止,往復,繰り返し,効果音,画面効果"},
        {40033, "ファイルを開けませんでした。: %s"},
        {40034, "%s : インポートに成功しました"},
        {40035, "< ! > %s : インポートに失敗"},
        {40036, "%s : エクスポートに成功しました"},
        {40037, "< ! > %s : エクスポートに失敗"},
        {40038, "< ! > 戻れません"},
        {40039, "一つ戻りました"},
        {40040, "< ! > 直せません"},
        {40041, "一つ やり直しました"},
        {40042, "再読込が完了 : %d"},
        {40051, "[%d] : コピー"},
        {40052, "[%d] : 貼り付け"},
        {40053, "[%d] : 切り取り"},
        {40054, "[%d] : 削除"},
        {40058, "< ! > [%d:%d] : 処理に失敗"},
        {40059, "フレーム [%d]～[%d] に インターバル[%d] を入力しました"},
        {40063, "読み込みました > %s"},
        {40064, "< ! > 読み込みに失敗 > %s"},
        {40065, "保存しました > %s"},
        {40066, "< ! > 保存に失敗 > %s"},
        {40067, "初期化しました"},
        {40069, "通常,加算,減算,乗算,スクリーン"},
        {40071, "枚数を指定,幅を指定"},
        {40073, "中心,画面,下,上,右,左"},
        {40074, "60 fps,55 fps,40 fps,30 fps,20 fps,15 fps,10 fps"},
        {40075, "画面,対象,対象消去"},
        {40077, "バイナリ,テキスト"},
        {40078, "制限なし,固定,左右反転,角度,角度不能"},
        {40079, "座標,拡大,角度"},
        {40080, "インターバル"},
        {40083, "25%,50%,100%,200%,400%"},
        {40085, "画像のα値,パレット０番,左上１ドット,黒,自動"},
        {40086, "全ての要素,画像/パターンを無視,画像/パターン/色を無視"},
        {40088, "RPGツクールXP [戦闘アニメ]"},
        {40089, "RPGツクールVX [戦闘アニメ]"},
        {40090, "RPGツクールVXAce [戦闘アニメ]"},
        {40091, "RPGツクールXP / VX / VXAce [戦闘アニメ]"},
        {40092, "RPGツクールMV [戦闘アニメ]"},
        {40093, "RPGツクールMZ [戦闘アニメ]"},
        {40094, "RPGツクールMV / MZ [戦闘アニメ]"},
        // Status texts of the editing operations.
        {45000, "フレーム[%d]に挿入しました"},
        {45001, "フレーム[%d]を削除しました"},
        {45002, "フレーム[%d]をクリアしました"},
        {45003, "フレーム[%d]を[%d]へコピーしました"},
        {45004, "フレーム[%d]に補完処理を行いました"},
        {45005, "[%d] : 前後F で補完"},
        {45006, "フレーム [%d]～[%d] に補完処理 >> セル [%d] 枚を編集しました"},
        {45007, "一括処理 >> ｾﾙ [%d] 枚を編集しました"},
        {45008, "スプライン曲線 >> ｾﾙ [%d] 枚を編集しました"},
        {45009, "< ! > フォルダを開けるプログラムがありません > %s"},
    };
    return strings;
}

// Cuts UTF-8 text to at most max characters (code points).
std::string cutChars(const std::string& s, size_t max)
{
    size_t chars = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        if ((uint8_t(s[i]) & 0xC0) != 0x80) {
            if (chars == max)
                return s.substr(0, i);
            ++chars;
        }
    }
    return s;
}
} // namespace

const std::string& LoadString(int id)
{
    static const std::string empty;
    const auto& t = table();
    auto it = t.find(id);
    return it == t.end() ? empty : it->second;
}

std::string FormatString(int id, ...)
{
    const std::string format = cutChars(LoadString(id), 255);
    va_list args;
    va_start(args, id);
    char buffer[2048];
    std::vsnprintf(buffer, sizeof buffer, format.c_str(), args);
    va_end(args);
    return cutChars(buffer, 511);
}

std::vector<std::string> StringItems(int id)
{
    std::vector<std::string> items;
    const std::string& s = LoadString(id);
    size_t start = 0;
    while (start <= s.size()) {
        const size_t comma = s.find(',', start);
        if (comma == std::string::npos) {
            items.push_back(s.substr(start));
            break;
        }
        items.push_back(s.substr(start, comma - start));
        start = comma + 1;
    }
    return items;
}

} // namespace platform
