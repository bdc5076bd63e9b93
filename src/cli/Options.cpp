#include "cli/Options.h"

#include <algorithm>
#include <charconv>

namespace cli {

std::string HelpFormatter::make_subcommand(const CLI::App* sub) const
{
    const std::string& text = sub->get_description();
    std::string line = "  " + sub->get_name();
    line.resize(std::max<size_t>(line.size() + 1, 16), ' ');
    return line + text.substr(0, text.find('\n')) + "\n";
}

std::string HelpFormatter::make_usage(const CLI::App* app, std::string name) const
{
    std::string usage = "\nUsage: " + name;
    bool optional = false;
    for (const CLI::Option* opt : app->get_options()) {
        if (opt->get_positional())
            usage += opt->get_required() ? " " + opt->get_name() : " [" + opt->get_name() + "]";
        else if (opt->get_required())
            usage += " " + opt->get_name() + " " + opt->get_type_name();
        else
            optional = true;
    }
    if (optional)
        usage += " [OPTIONS]";
    if (!app->get_subcommands({}).empty())
        usage += " COMMAND [ARGUMENTS]";
    return usage + "\n";
}

std::string HelpFormatter::make_option_opts(const CLI::Option* opt) const
{
    std::string opts = opt->get_positional() || opt->get_type_name().empty() ? "" : " " + opt->get_type_name();
    return opt->get_required() ? opts + " REQUIRED" : opts;
}

bool ParseInt(std::string_view text, long long min, long long max, long long& out, bool hex)
{
    int base = 10;
    if (hex && text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    long long v = 0;
    const char* end = text.data() + text.size();
    const auto [at, ec] = std::from_chars(text.data(), end, v, base);
    if (text.empty() || ec != std::errc() || at != end || v < min || v > max)
        return false;
    out = v;
    return true;
}

bool ParseCrop(std::string_view text, int (&values)[4])
{
    for (int i = 0; i < 4; ++i) {
        const size_t comma = i < 3 ? text.find(',') : text.size();
        long long v = 0;
        if (comma == std::string_view::npos || !ParseInt(text.substr(0, comma), -1000000, 1000000, v))
            return false;
        values[i] = int(v);
        text.remove_prefix(i < 3 ? comma + 1 : comma);
    }
    return true;
}

bool ParseColour(std::string_view text, uint32_t& out)
{
    if (!text.empty() && text[0] == '#')
        text.remove_prefix(1);
    if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos)
        return false;
    std::from_chars(text.data(), text.data() + text.size(), out, 16);
    return true;
}

CLI::Option* AddValue(CLI::App& cmd, const std::string& name, const std::string& type, const std::string& help,
                      std::function<void(const std::string&)> apply)
{
    return cmd.add_option_function<std::string>(name, std::move(apply), help)->type_name(type)->trigger_on_parse();
}

CLI::Option* AddInt(CLI::App& cmd, const std::string& name, const std::string& type, const std::string& help,
                    int& target, long long min, long long max, const std::string& failure)
{
    return AddValue(cmd, name, type, help, [&target, min, max, failure](const std::string& text) {
        long long v = 0;
        if (!ParseInt(text, min, max, v))
            throw ArgError(failure);
        target = int(v);
    });
}

CLI::Option* AddFormat(CLI::App& cmd, int& target)
{
    return AddValue(cmd, "--format", "bin|text", "the format of the file written (default: the\nproject's own)",
                    [&target](const std::string& f) {
                        if (f == "bin" || f == "binary")
                            target = 0;
                        else if (f == "text" || f == "txt")
                            target = 1;
                        else
                            throw ArgError("unknown format " + f + " (bin or text)");
                    });
}

CLI::Option* AddFlag(CLI::App& cmd, const std::string& name, const std::string& help, std::function<void()> apply)
{
    return cmd.add_flag_callback(name, std::move(apply), help)->trigger_on_parse();
}

} // namespace cli
