#include "edit/EditStrings.h"

#include "platform/Strings.h"

#include <array>
#include <cstdarg>
#include <cstdio>

namespace {
const std::array<std::string, kEditTextEnd - kEditTextBase> kTexts = {
    "フレーム[%d]に挿入しました",
    "フレーム[%d]を削除しました",
    "フレーム[%d]をクリアしました",
    "フレーム[%d]を[%d]へコピーしました",
    "フレーム[%d]に補完処理を行いました",
    "[%d] : 前後F で補完",
    "フレーム [%d]～[%d] に補完処理 >> セル [%d] 枚を編集しました",
    "一括処理 >> ｾﾙ [%d] 枚を編集しました",
    "スプライン曲線 >> ｾﾙ [%d] 枚を編集しました",
};

// Cuts UTF-8 text to at most max characters, as the status bar expects.
std::string cutChars(const std::string& s, size_t max)
{
    size_t chars = 0;
    for (size_t i = 0; i < s.size(); ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 && chars++ == max)
            return s.substr(0, i);
    return s;
}
} // namespace

const std::string& EditText(int id)
{
    if (id >= kEditTextBase && id < kEditTextEnd)
        return kTexts[size_t(id - kEditTextBase)];
    return platform::LoadString(id);
}

std::string FormatEditText(int id, ...)
{
    const std::string format = cutChars(EditText(id), 255);
    va_list args;
    va_start(args, id);
    char buffer[2048];
    std::vsnprintf(buffer, sizeof buffer, format.c_str(), args);
    va_end(args);
    return cutChars(buffer, 511);
}
