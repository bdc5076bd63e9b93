#pragma once
// Option handling shared by every command. CLI11 does the syntax (--opt=value and
// --opt value, values that start with "-", the generated help); the helpers here
// turn values into numbers and report a bad value with the command's own message.

#include <CLI/CLI.hpp>

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace cli {

/** The help layout: the command list shows the first line of each command's
 *  description, and the usage line names the required options. */
class HelpFormatter : public CLI::Formatter {
public:
    std::string make_subcommand(const CLI::App* sub) const override;
    std::string make_usage(const CLI::App* app, std::string name) const override;
    std::string make_option_opts(const CLI::Option* opt) const override;
};

/** A bad argument; what() is the message shown after "mevko: COMMAND: ". */
struct ArgError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

/** The whole text as a decimal integer (or "0x" hex when hex is set) in [min, max]. */
bool ParseInt(std::string_view text, long long min, long long max, long long& out, bool hex = false);
/** "L,T,R,B", each value in -1000000..1000000. */
bool ParseCrop(std::string_view text, int (&values)[4]);
/** "RRGGBB" or "#RRGGBB". */
bool ParseColour(std::string_view text, uint32_t& out);

/** An option taking one value, handed to apply as soon as it is met: options act in
 *  the order given and the last one wins. apply throws ArgError for a bad value. */
CLI::Option* AddValue(CLI::App& cmd, const std::string& name, const std::string& type, const std::string& help,
                      std::function<void(const std::string&)> apply);
/** An integer option in [min, max]; failure is the message for any other value. */
CLI::Option* AddInt(CLI::App& cmd, const std::string& name, const std::string& type, const std::string& help,
                    int& target, long long min, long long max, const std::string& failure);
/** --format bin|text: the save format of the file written (0 binary, 1 text). */
CLI::Option* AddFormat(CLI::App& cmd, int& target);
/** A flag that runs apply when met. */
CLI::Option* AddFlag(CLI::App& cmd, const std::string& name, const std::string& help, std::function<void()> apply);

} // namespace cli
