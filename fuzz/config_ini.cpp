// config.ini: the INI layer and the settings reader on arbitrary bytes.
#include "project/IniFile.h"
#include "project/Settings.h"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    project::cIniFile ini;
    ini.Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    cSettings settings;
    settings.ReadSettings(ini);
    // Writing every key back must keep the document readable with the same values.
    for (const auto& [key, value] : settings.Entries())
        ini.SetString("CONFIG", key, value);
    project::cIniFile again;
    again.Parse(ini.Text());
    cSettings back;
    back.ReadSettings(again);
    if (back.Entries() != settings.Entries())
        __builtin_trap();
    return 0;
}
