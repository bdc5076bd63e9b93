#include "platform/CodePage.h"

#include <cerrno>
#include <cctype>
#include <iconv.h>

namespace platform {

namespace {
std::string& codePage()
{
    static std::string name = "CP932";
    return name;
}

std::string lower(std::string_view s)
{
    std::string r(s);
    for (char& c : r)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return r;
}
} // namespace

std::string CodePageForLocale(std::string_view locale)
{
    const std::string l = lower(locale);
    auto starts = [&](const char* p) { return l.rfind(p, 0) == 0; };
    if (starts("jpn") || starts("ja") || l == "japanese")
        return "CP932";
    if (starts("chs") || starts("zh-cn") || starts("zh_cn") || l == "chinese-simplified")
        return "CP936";
    if (starts("cht") || starts("zh-tw") || starts("zh_tw") || l == "chinese-traditional")
        return "CP950";
    if (starts("kor") || starts("ko"))
        return "CP949";
    return "CP1252";
}

void SetLocale(std::string_view locale) { codePage() = CodePageForLocale(locale); }

const std::string& AnsiCodePage() { return codePage(); }

bool Convert(std::string_view bytes, const char* from, const char* to, std::string& out)
{
    out.clear();
    if (bytes.empty())
        return true;
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string result;
    result.resize(bytes.size() * 4 + 16);
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* outPtr = result.data();
    size_t outLeft = result.size();
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
            if (errno == E2BIG) {
                const size_t used = size_t(outPtr - result.data());
                result.resize(result.size() * 2);
                outPtr = result.data() + used;
                outLeft = result.size() - used;
                continue;
            }
            ok = false;
            break;
        }
    }
    if (ok && iconv(cd, nullptr, nullptr, &outPtr, &outLeft) == static_cast<size_t>(-1))
        ok = false;
    iconv_close(cd);
    if (!ok)
        return false;
    result.resize(size_t(outPtr - result.data()));
    out = std::move(result);
    return true;
}

namespace {
std::string convertOrEmpty(std::string_view bytes, const char* from, const char* to)
{
    std::string out;
    Convert(bytes, from, to, out);
    return out;
}

std::u16string toU16(const std::string& bytes)
{
    std::u16string r(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < r.size(); ++i)
        r[i] = char16_t(uint8_t(bytes[2 * i]) | (uint8_t(bytes[2 * i + 1]) << 8));
    return r;
}

std::string fromU16(std::u16string_view s)
{
    std::string r(s.size() * 2, '\0');
    for (size_t i = 0; i < s.size(); ++i) {
        r[2 * i] = char(s[i] & 0xFF);
        r[2 * i + 1] = char(s[i] >> 8);
    }
    return r;
}
} // namespace

std::string AnsiToUtf8(std::string_view ansi)
{
    return convertOrEmpty(ansi, codePage().c_str(), "UTF-8");
}

std::string Utf8ToAnsi(std::string_view utf8)
{
    return convertOrEmpty(utf8, "UTF-8", codePage().c_str());
}

std::u16string AnsiToUtf16(std::string_view ansi)
{
    return toU16(convertOrEmpty(ansi, codePage().c_str(), "UTF-16LE"));
}

std::string Utf16ToAnsi(std::u16string_view utf16)
{
    return convertOrEmpty(fromU16(utf16), "UTF-16LE", codePage().c_str());
}

std::u16string Utf8ToUtf16(std::string_view utf8)
{
    return toU16(convertOrEmpty(utf8, "UTF-8", "UTF-16LE"));
}

std::string Utf16ToUtf8(std::u16string_view utf16)
{
    return convertOrEmpty(fromU16(utf16), "UTF-16LE", "UTF-8");
}

size_t AnsiCharLength(std::string_view text, size_t i)
{
    if (i >= text.size())
        return 0;
    const uint8_t c = uint8_t(text[i]);
    const std::string& cp = codePage();
    bool lead = false;
    if (cp == "CP932")
        lead = (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    else if (cp == "CP936" || cp == "CP949" || cp == "CP950")
        lead = c >= 0x81 && c <= 0xFE;
    if (lead && i + 1 < text.size())
        return 2;
    return 1;
}

} // namespace platform
