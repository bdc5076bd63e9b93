#pragma once
// Runs the built `mevko` program and captures its output, for end-to-end tests.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

struct CliResult {
    int exitCode = -1;
    std::string out, err;
};

inline std::filesystem::path TempDir(const std::string& name)
{
    auto dir = std::filesystem::temp_directory_path() / ("mevko_test_" + name + "_" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline std::string ShellQuote(const std::string& s)
{
    std::string q = "'";
    for (char c : s)
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

inline CliResult RunMevko(std::initializer_list<std::string> args)
{
    const auto dir = TempDir("cli_io");
    const auto outFile = dir / "out.txt", errFile = dir / "err.txt";
    std::string cmd = ShellQuote(std::string(MEVKO_BIN_DIR) + "/mevko");
    for (const std::string& a : args)
        cmd += " " + ShellQuote(a);
    cmd += " >" + ShellQuote(outFile.string()) + " 2>" + ShellQuote(errFile.string()) + " </dev/null";
    const int status = std::system(cmd.c_str());
    CliResult r;
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    auto slurp = [](const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    };
    r.out = slurp(outFile);
    r.err = slurp(errFile);
    std::filesystem::remove_all(dir);
    return r;
}
