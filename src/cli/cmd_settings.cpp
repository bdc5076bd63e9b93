// mevko settings [--config PATH] [--write]
#include "cli/Cli.h"

#include "project/Settings.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

int cmdSettings(int argc, char** argv)
{
    std::filesystem::path config = DefaultConfigPath();
    bool write = false;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--config") && i + 1 < argc) {
            config = argv[++i];
        } else if (!std::strcmp(argv[i], "--write")) {
            write = true;
        } else if (!std::strcmp(argv[i], "--help")) {
            std::printf("usage: mevko settings [--config PATH] [--write]\n"
                        "Prints every setting in effect (defaults overridden by config.ini).\n"
                        "  --config PATH  read (and write) this file instead of the default config.ini\n"
                        "  --write        write every setting back into the file\n");
            return 0;
        } else {
            return cli::Fail("settings", std::string("unknown argument ") + argv[i]);
        }
    }
    cSettings& s = Settings();
    s.SetDefaults();
    s.ReadSettings(config);
    std::printf("# %s\n", config.string().c_str());
    for (const auto& [key, value] : s.Entries())
        std::printf("%s = %s\n", key.c_str(), value.c_str());
    if (write) {
        std::error_code ec;
        if (config.has_parent_path())
            std::filesystem::create_directories(config.parent_path(), ec);
        std::string reason;
        if (!s.WriteSettings(config, &reason))
            return cli::Fail(config.string(), "cannot write the settings file: " + reason);
    }
    return 0;
}
