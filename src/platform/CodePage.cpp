#include "platform/CodePage.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iconv.h>
#include <utility>
#include <vector>

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
    for (const char* cyrillic : {"rus", "ukr", "bel", "bgr", "srb", "ru", "uk", "be", "bg"})
        if (starts(cyrillic))
            return "CP1251";
    return "CP1252";
}

void SetLocale(std::string_view locale) { codePage() = CodePageForLocale(locale); }

const std::string& AnsiCodePage() { return codePage(); }

namespace {
constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

// Runs iconv over the bytes. With replace set, an undecodable byte becomes U+FFFD
// (the target must then be UTF-8); otherwise the first one stops the conversion and
// its offset goes to *failedAt.
bool convertLoop(std::string_view bytes, const char* from, const char* to, std::string& out, bool replace,
                 size_t* failedAt)
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
    auto grow = [&](size_t extra) {
        const size_t used = size_t(outPtr - result.data());
        result.resize(std::max(result.size() * 2, used + extra));
        outPtr = result.data() + used;
        outLeft = result.size() - used;
    };
    bool ok = true;
    while (inLeft > 0) {
        if (iconv(cd, &in, &inLeft, &outPtr, &outLeft) != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG) {
            grow(16);
            continue;
        }
        if (!replace) {
            if (failedAt)
                *failedAt = size_t(in - bytes.data());
            ok = false;
            break;
        }
        if (outLeft < kReplacement.size())
            grow(kReplacement.size());
        std::memcpy(outPtr, kReplacement.data(), kReplacement.size());
        outPtr += kReplacement.size();
        outLeft -= kReplacement.size();
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
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
} // namespace

bool Convert(std::string_view bytes, const char* from, const char* to, std::string& out)
{
    return convertLoop(bytes, from, to, out, false, nullptr);
}

bool IsUtf8(std::string_view text)
{
    for (size_t i = 0; i < text.size();) {
        const uint8_t c = uint8_t(text[i]);
        size_t n = c < 0x80                 ? 1
                   : c >= 0xC2 && c <= 0xDF ? 2
                   : c >= 0xE0 && c <= 0xEF ? 3
                   : c >= 0xF0 && c <= 0xF4 ? 4
                                            : 0;
        if (n == 0 || i + n > text.size())
            return false;
        for (size_t k = 1; k < n; ++k)
            if ((uint8_t(text[i + k]) & 0xC0) != 0x80)
                return false;
        const uint8_t c1 = n > 1 ? uint8_t(text[i + 1]) : 0;
        // Overlong three- and four-byte forms, surrogates and code points above U+10FFFF.
        if ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 > 0x9F) || (c == 0xF0 && c1 < 0x90) ||
            (c == 0xF4 && c1 > 0x8F))
            return false;
        i += n;
    }
    return true;
}

size_t Utf8CharLength(std::string_view text, size_t i)
{
    if (i >= text.size())
        return 0;
    const uint8_t c = uint8_t(text[i]);
    const size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
    if (n == 1 || i + n > text.size())
        return 1;
    for (size_t k = 1; k < n; ++k)
        if ((uint8_t(text[i + k]) & 0xC0) != 0x80)
            return 1;
    return n;
}

std::string CutUtf8(std::string_view text, size_t maxBytes)
{
    size_t end = 0;
    while (end < text.size()) {
        const size_t next = end + Utf8CharLength(text, end);
        if (next > maxBytes)
            break;
        end = next;
    }
    return std::string(text.substr(0, end));
}

std::string DescribeChar(std::string_view utf8, size_t i)
{
    const size_t n = Utf8CharLength(utf8, i);
    if (n == 0)
        return {};
    const uint8_t c = uint8_t(utf8[i]);
    uint32_t code = n == 1 ? c : c & (0x7F >> n);
    for (size_t k = 1; k < n; ++k)
        code = (code << 6) | (uint8_t(utf8[i + k]) & 0x3F);
    char hex[16];
    std::snprintf(hex, sizeof hex, "U+%04X", unsigned(code));
    return "\"" + std::string(utf8.substr(i, n)) + "\" (" + hex + ")";
}

bool EncodeText(std::string_view utf8, const std::string& codePage, std::string& out, size_t* missing)
{
    size_t failedAt = 0;
    if (convertLoop(utf8, "UTF-8", codePage.c_str(), out, false, &failedAt))
        return true;
    if (missing)
        *missing = failedAt;
    return false;
}

std::string DecodeText(std::string_view bytes, const std::string& codePage)
{
    std::string out;
    if (convertLoop(bytes, codePage.c_str(), "UTF-8", out, false, nullptr))
        return out;
    if (IsUtf8(bytes))
        return std::string(bytes);
    convertLoop(bytes, codePage.c_str(), "UTF-8", out, true, nullptr);
    return out;
}

size_t StoredSize(std::string_view utf8)
{
    std::string encoded;
    return EncodeText(utf8, codePage(), encoded) ? encoded.size() : utf8.size();
}

std::string CutStored(std::string_view utf8, size_t maxBytes)
{
    if (StoredSize(utf8) <= maxBytes)
        return std::string(utf8);
    // The stored size grows with the prefix: search the character boundaries.
    std::vector<size_t> ends;
    for (size_t i = 0; i < utf8.size();) {
        i += Utf8CharLength(utf8, i);
        ends.push_back(i);
    }
    size_t lo = 0, hi = ends.size(); // the first lo prefixes fit, prefix hi does not
    while (lo < hi) {
        const size_t mid = (lo + hi + 1) / 2;
        if (StoredSize(utf8.substr(0, ends[mid - 1])) <= maxBytes)
            lo = mid;
        else
            hi = mid - 1;
    }
    return std::string(utf8.substr(0, lo == 0 ? 0 : ends[lo - 1]));
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

std::string AnsiToUtf8(std::string_view ansi) { return convertOrEmpty(ansi, codePage().c_str(), "UTF-8"); }

std::string Utf8ToAnsi(std::string_view utf8) { return convertOrEmpty(utf8, "UTF-8", codePage().c_str()); }

std::u16string AnsiToUtf16(std::string_view ansi)
{
    return toU16(convertOrEmpty(ansi, codePage().c_str(), "UTF-16LE"));
}

std::string Utf16ToAnsi(std::u16string_view utf16)
{
    return convertOrEmpty(fromU16(utf16), "UTF-16LE", codePage().c_str());
}

std::u16string Utf8ToUtf16(std::string_view utf8) { return toU16(convertOrEmpty(utf8, "UTF-8", "UTF-16LE")); }

std::string Utf16ToUtf8(std::u16string_view utf16) { return convertOrEmpty(fromU16(utf16), "UTF-16LE", "UTF-8"); }

namespace {
std::string& textProblems()
{
    thread_local std::string problems;
    return problems;
}
} // namespace

void NoteTextProblem(const std::string& message)
{
    std::string& all = textProblems();
    if (all.find(message) != std::string::npos)
        return;
    if (!all.empty())
        all += " / ";
    all += message;
}

std::string TakeTextProblems() { return std::exchange(textProblems(), std::string()); }

size_t AnsiCharLength(std::string_view text, size_t i) { return CodePageCharLength(text, i, codePage()); }

std::string CutCodePage(std::string_view text, size_t maxBytes, const std::string& codePage)
{
    size_t end = 0;
    while (end < text.size()) {
        const size_t next = end + std::max<size_t>(1, CodePageCharLength(text, end, codePage));
        if (next > maxBytes)
            break;
        end = next;
    }
    return std::string(text.substr(0, end));
}

size_t CodePageCharLength(std::string_view text, size_t i, const std::string& cp)
{
    if (i >= text.size())
        return 0;
    const uint8_t c = uint8_t(text[i]);
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
