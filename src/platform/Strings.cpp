#include "platform/Strings.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <map>
#include <utility>

namespace platform {

namespace {
const std::map<int, std::string>& table()
{
    static const std::map<int, std::string> strings = {
        {40000, QT_TRANSLATE_NOOP("Strings", "MevkoEditor")},
        {40004, QT_TRANSLATE_NOOP("Strings", "確認")},
        {40005, QT_TRANSLATE_NOOP("Strings", "エラー")},
        {40006, QT_TRANSLATE_NOOP("Strings", "画像(*.bmp,gif,png,xyz)")},
        {40007, QT_TRANSLATE_NOOP("Strings", "効果音(*.wmv,wav,ogg,mp3)")},
        {40008, QT_TRANSLATE_NOOP("Strings", "アニメーション(*.txt,dat)")},
        {40011, QT_TRANSLATE_NOOP("Strings", "RPGツクール2000 [戦闘アニメ]")},
        {40012, QT_TRANSLATE_NOOP("Strings", "新規,ペースト")},
        {40015, QT_TRANSLATE_NOOP("Strings", "作成に失敗しました。\n%s")},
        {40020, QT_TRANSLATE_NOOP("Strings", "作業フォルダ [%s] を生成しますか？")},
        {40021, QT_TRANSLATE_NOOP("Strings", "内容が変更されています。\n保存しますか？")},
        {40022, QT_TRANSLATE_NOOP("Strings", "変更を反映させるにあたり、大きく書き換える必要があります。\nよろしいです"
                                             "か？\n※この操作は戻すことができません。")},
        {40023, QT_TRANSLATE_NOOP("Strings", "画像,演出,キーフレーム")},
        {40026, QT_TRANSLATE_NOOP("Strings", "No,Path,XY,Hue,Cut")},
        {40027, QT_TRANSLATE_NOOP("Strings", "F,SE,-,Flash,Other")},
        {40028,
         QT_TRANSLATE_NOOP("Strings", "画像番号,パターン,描画方式,座標X,座標Y,拡大X,拡大Y,角度,不透明,赤,緑,青,彩度")},
        {40029,
         QT_TRANSLATE_NOOP("Strings",
                           "最初のフレームへ,前のフレームへ,次のフレームへ,最後のフレームへ,フレームを自動で追加する,"
                           "挿入,削除,クリア,前フレームからコピー,次フレームからコピー,前後フレームで補完")},
        {40030, QT_TRANSLATE_NOOP("Strings", "前のフレームを表示,現在のフレーム枠を表示,次のフレームを表示,軌跡を表示,"
                                             "対象を表示,GIFアニメーションを表示,線を表示")},
        {40031, QT_TRANSLATE_NOOP("Strings", "セルを移動,セルを振り回す,曲線補完")},
        {40032, QT_TRANSLATE_NOOP("Strings", "最初から再生,再生/停止,往復,繰り返し,効果音,画面効果")},
        {40033, QT_TRANSLATE_NOOP("Strings", "ファイルを開けませんでした。: %s")},
        {40034, QT_TRANSLATE_NOOP("Strings", "%s : インポートに成功しました")},
        {40035, QT_TRANSLATE_NOOP("Strings", "< ! > %s : インポートに失敗")},
        {40036, QT_TRANSLATE_NOOP("Strings", "%s : エクスポートに成功しました")},
        {40037, QT_TRANSLATE_NOOP("Strings", "< ! > %s : エクスポートに失敗")},
        {40038, QT_TRANSLATE_NOOP("Strings", "< ! > 戻れません")},
        {40039, QT_TRANSLATE_NOOP("Strings", "一つ戻りました")},
        {40040, QT_TRANSLATE_NOOP("Strings", "< ! > 直せません")},
        {40041, QT_TRANSLATE_NOOP("Strings", "一つ やり直しました")},
        {40042, QT_TRANSLATE_NOOP("Strings", "再読込が完了 : %d")},
        {40051, QT_TRANSLATE_NOOP("Strings", "[%d] : コピー")},
        {40052, QT_TRANSLATE_NOOP("Strings", "[%d] : 貼り付け")},
        {40053, QT_TRANSLATE_NOOP("Strings", "[%d] : 切り取り")},
        {40054, QT_TRANSLATE_NOOP("Strings", "[%d] : 削除")},
        {40058, QT_TRANSLATE_NOOP("Strings", "< ! > [%d:%d] : 処理に失敗")},
        {40059, QT_TRANSLATE_NOOP("Strings", "フレーム [%d]～[%d] に インターバル[%d] を入力しました")},
        {40063, QT_TRANSLATE_NOOP("Strings", "読み込みました > %s")},
        {40064, QT_TRANSLATE_NOOP("Strings", "< ! > 読み込みに失敗 > %s")},
        {40065, QT_TRANSLATE_NOOP("Strings", "保存しました > %s")},
        {40066, QT_TRANSLATE_NOOP("Strings", "< ! > 保存に失敗 > %s")},
        {40067, QT_TRANSLATE_NOOP("Strings", "初期化しました")},
        {40069, QT_TRANSLATE_NOOP("Strings", "通常,加算,減算,乗算,スクリーン")},
        {40071, QT_TRANSLATE_NOOP("Strings", "枚数を指定,幅を指定")},
        {40073, QT_TRANSLATE_NOOP("Strings", "中心,画面,下,上,右,左")},
        {40074, QT_TRANSLATE_NOOP("Strings", "60 fps,55 fps,40 fps,30 fps,20 fps,15 fps,10 fps")},
        {40075, QT_TRANSLATE_NOOP("Strings", "画面,対象,対象消去")},
        {40077, QT_TRANSLATE_NOOP("Strings", "バイナリ,テキスト")},
        {40078, QT_TRANSLATE_NOOP("Strings", "制限なし,固定,左右反転,角度,角度不能")},
        {40079, QT_TRANSLATE_NOOP("Strings", "座標,拡大,角度")},
        {40080, QT_TRANSLATE_NOOP("Strings", "インターバル")},
        {40083, QT_TRANSLATE_NOOP("Strings", "25%,50%,100%,200%,400%")},
        {40085, QT_TRANSLATE_NOOP("Strings", "画像のα値,パレット０番,左上１ドット,黒,自動")},
        {40086, QT_TRANSLATE_NOOP("Strings", "全ての要素,画像/パターンを無視,画像/パターン/色を無視")},
        {40088, QT_TRANSLATE_NOOP("Strings", "RPGツクールXP [戦闘アニメ]")},
        {40089, QT_TRANSLATE_NOOP("Strings", "RPGツクールVX [戦闘アニメ]")},
        {40090, QT_TRANSLATE_NOOP("Strings", "RPGツクールVXAce [戦闘アニメ]")},
        {40091, QT_TRANSLATE_NOOP("Strings", "RPGツクールXP / VX / VXAce [戦闘アニメ]")},
        {40092, QT_TRANSLATE_NOOP("Strings", "RPGツクールMV [戦闘アニメ]")},
        {40093, QT_TRANSLATE_NOOP("Strings", "RPGツクールMZ [戦闘アニメ]")},
        {40094, QT_TRANSLATE_NOOP("Strings", "RPGツクールMV / MZ [戦闘アニメ]")},
        // Status texts of the editing operations.
        {45000, QT_TRANSLATE_NOOP("Strings", "フレーム[%d]に挿入しました")},
        {45001, QT_TRANSLATE_NOOP("Strings", "フレーム[%d]を削除しました")},
        {45002, QT_TRANSLATE_NOOP("Strings", "フレーム[%d]をクリアしました")},
        {45003, QT_TRANSLATE_NOOP("Strings", "フレーム[%d]を[%d]へコピーしました")},
        {45004, QT_TRANSLATE_NOOP("Strings", "フレーム[%d]に補完処理を行いました")},
        {45005, QT_TRANSLATE_NOOP("Strings", "[%d] : 前後F で補完")},
        {45006, QT_TRANSLATE_NOOP("Strings", "フレーム [%d]～[%d] に補完処理 >> セル [%d] 枚を編集しました")},
        {45007, QT_TRANSLATE_NOOP("Strings", "一括処理 >> ｾﾙ [%d] 枚を編集しました")},
        {45008, QT_TRANSLATE_NOOP("Strings", "スプライン曲線 >> ｾﾙ [%d] 枚を編集しました")},
        {45009, QT_TRANSLATE_NOOP("Strings", "< ! > フォルダを開けるプログラムがありません > %s")},
    };
    return strings;
}

// The texts as shown: the table in the interface language.
std::map<int, std::string>& shownTable()
{
    static std::map<int, std::string> shown = table();
    return shown;
}

TextTranslator& translatorSlot()
{
    static TextTranslator translator;
    return translator;
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

void SetTextTranslator(TextTranslator translator)
{
    translatorSlot() = std::move(translator);
    // Values are replaced in place so references handed out earlier stay valid.
    for (auto& [id, text] : shownTable())
        text = Text(table().at(id).c_str());
}

std::string Text(const char* source)
{
    const TextTranslator& translate = translatorSlot();
    return translate ? translate(source) : std::string(source);
}

std::string FormatText(const char* format, ...)
{
    const std::string translated = Text(format);
    va_list args, again;
    va_start(args, format);
    va_copy(again, args);
    const int size = std::vsnprintf(nullptr, 0, translated.c_str(), args);
    va_end(args);
    std::string out(size_t(std::max(size, 0)), '\0');
    if (size > 0)
        std::vsnprintf(out.data(), out.size() + 1, translated.c_str(), again);
    va_end(again);
    return out;
}

const std::string& LoadString(int id)
{
    static const std::string empty;
    const auto& t = shownTable();
    auto it = t.find(id);
    return it == t.end() ? empty : it->second;
}

const std::string& SourceString(int id)
{
    static const std::string empty;
    const auto& t = table();
    auto it = t.find(id);
    return it == t.end() ? empty : it->second;
}

std::vector<int> StringIds()
{
    std::vector<int> ids;
    for (const auto& entry : table())
        ids.push_back(entry.first);
    return ids;
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
