// mevko: the command-line tool for batch work and end-to-end tests.
#include "cli/Cli.h"
#include "cli/Options.h"

#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

namespace {

const char kExitStatus[] = "Exit status:\n"
                           "  0  success, and for --help and --version\n"
                           "  1  the command failed: a bad argument or value, a file that cannot be read or\n"
                           "     written, an export that is refused or interrupted\n"
                           "  2  no command, or an unknown command or option before it\n";

// Nothing a command meets may end the program unreported.
int run(const cli::Command& c)
{
    const std::string name = c.app->get_name();
    try {
        return c.run();
    } catch (const std::bad_alloc&) {
        return cli::Fail(name, "out of memory");
    } catch (const std::exception& e) {
        return cli::Fail(name, std::string("internal error: ") + e.what());
    } catch (...) {
        return cli::Fail(name, "internal error");
    }
}

int usageError(const CLI::App& mevko, const std::string& message)
{
    if (!message.empty())
        std::fprintf(stderr, "mevko: %s\n", message.c_str());
    std::fputs(mevko.help().c_str(), stderr);
    return 2;
}

int badArgument(const cli::Command& c, const std::string& message)
{
    const std::string name = c.app->get_name();
    return cli::Fail(name, message + " (see mevko " + name + " --help)");
}

} // namespace

int main(int argc, char** argv)
{
    CLI::App mevko("Batch work on RPG Maker battle animations: project files, clipboard payloads,\n"
                   "playback traces, image export and games' animation databases, as the editor\n"
                   "does them.",
                   "mevko");
    auto formatter = std::make_shared<cli::HelpFormatter>();
    formatter->column_width(28);
    mevko.formatter(formatter);
    mevko.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    mevko.set_version_flag("--version", "mevko (MevkoEditor) " MEVKO_VERSION, "print the version and exit");
    mevko.set_help_flag("-h,--help", "print this help and exit");
    mevko.footer(kExitStatus); // the commands take it over
    // Arguments a command does not know are reported by the command itself.
    mevko.allow_extras();
    const std::vector<cli::Command> commands = {
        cli::AddInfo(mevko),       cli::AddDump(mevko),       cli::AddSettings(mevko), cli::AddConvert(mevko),
        cli::AddClipExport(mevko), cli::AddClipImport(mevko), cli::AddPlay(mevko),     cli::AddExportPng(mevko),
        cli::AddExportGif(mevko),  cli::AddRender(mevko),     cli::AddDbList(mevko),   cli::AddDbImport(mevko),
        cli::AddDbExport(mevko),
    };
    for (const cli::Command& c : commands)
        c.app->group("Commands");
    mevko.footer(std::string("'mevko COMMAND --help' describes a command.\n\n") + kExitStatus);
    mevko.require_subcommand(0, 1);
    if (argc < 2)
        return usageError(mevko, "");

    auto parsed = [&]() -> const cli::Command* {
        for (const cli::Command& c : commands)
            if (c.app->parsed())
                return &c;
        return nullptr;
    };
    try {
        mevko.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        std::fputs(mevko.help().c_str(), stdout);
        return 0;
    } catch (const CLI::CallForVersion& e) {
        std::printf("%s\n", e.what());
        return 0;
    } catch (const CLI::ParseError& e) {
        const cli::Command* c = parsed();
        if (!c)
            return usageError(mevko, e.what());
        return badArgument(*c, dynamic_cast<const CLI::RequiredError*>(&e) ? c->missing : e.what());
    } catch (const cli::ArgError& e) {
        if (const cli::Command* c = parsed())
            return badArgument(*c, e.what());
        return usageError(mevko, e.what());
    }
    const cli::Command* c = parsed();
    std::vector<std::string> extra = mevko.remaining();
    if (!c) {
        const std::string what = extra.empty() ? std::string() : extra.front();
        return usageError(mevko, what.empty()     ? "no command given"
                                 : what[0] == '-' ? "unknown option '" + what + "'"
                                                  : "unknown command '" + what + "'");
    }
    for (const std::string& arg : c->app->remaining())
        extra.push_back(arg);
    // "--" only ends the options.
    std::erase(extra, "--");
    if (!extra.empty())
        return badArgument(*c, "unexpected argument '" + extra.front() + "'");
    return run(*c);
}
