#include "view/SettingsForm.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <iterator>

namespace {

const char* const kLanguages[kLanguageChoices] = {"", "ja", "en"};

} // namespace

std::string FolderNameOrDefault(const std::string& text, const char* defaultName)
{
    const bool blank = std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isspace(c); });
    return blank ? std::string(defaultName) : text;
}

uint32_t ParseColour(const std::string& text)
{
    size_t i = 0;
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
        ++i;
    if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X'))
        i += 2;
    size_t end = text.size();
    while (end > i && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    if (i == end || end - i > 8)
        return 0x80808080u;
    uint32_t value = 0;
    for (; i < end; ++i) {
        const char c = char(std::tolower(static_cast<unsigned char>(text[i])));
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else
            return 0x80808080u;
        value = value << 4 | uint32_t(digit);
    }
    return value;
}

std::string ColourText(uint32_t colour, bool withAlpha)
{
    char buffer[16];
    if (withAlpha)
        std::snprintf(buffer, sizeof buffer, "0x%08x", colour);
    else
        std::snprintf(buffer, sizeof buffer, "0x%06x", colour & 0xFFFFFFu);
    return buffer;
}

int LanguageChoice(const std::string& setting)
{
    const auto chosen = std::find(std::begin(kLanguages), std::end(kLanguages), setting);
    return chosen == std::end(kLanguages) ? 0 : int(chosen - std::begin(kLanguages));
}

std::string LanguageSetting(int choice) { return kLanguages[std::clamp(choice, 0, kLanguageChoices - 1)]; }
