// mevko settings [--config PATH] [--write]
#include "cli/Cli.h"
#include "cli/Options.h"

#include "project/Settings.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace {

struct Args {
    std::string config;
    bool write = false;
};

int run(const Args& a)
{
    const std::filesystem::path config = a.config.empty() ? DefaultConfigPath() : std::filesystem::path(a.config);
    cSettings& s = Settings();
    s.SetDefaults();
    s.ReadSettings(config);
    std::printf("# %s\n", config.string().c_str());
    for (const auto& [key, value] : s.Entries())
        std::printf("%s = %s\n", key.c_str(), value.c_str());
    if (a.write) {
        std::error_code ec;
        if (config.has_parent_path())
            std::filesystem::create_directories(config.parent_path(), ec);
        std::string reason;
        if (!s.WriteSettings(config, &reason))
            return cli::Fail(config.string(), "cannot write the settings file: " + reason);
    }
    return 0;
}

} // namespace

cli::Command cli::AddSettings(CLI::App& mevko)
{
    auto a = std::make_shared<Args>();
    CLI::App* cmd = mevko.add_subcommand("settings", "Every setting in effect (defaults overridden by config.ini).");
    cmd->add_option("--config", a->config, "read (and write) this file instead of the\ndefault config.ini")
        ->type_name("PATH");
    cmd->add_flag("--write", a->write, "write every setting back into the file");
    return {cmd, "", [a] { return run(*a); }};
}
