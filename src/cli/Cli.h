#pragma once
// Shared helpers of the command-line tool.

#include <cstdio>
#include <string>

namespace cli {

/** Prints "mevko: <what>: <reason>" on stderr and returns the failure exit code. */
inline int Fail(const std::string& what, const std::string& reason)
{
    std::fprintf(stderr, "mevko: %s: %s\n", what.c_str(), reason.c_str());
    return 1;
}

} // namespace cli

// Subcommands; argv[0] is the subcommand's name.
int cmdSettings(int argc, char** argv);
int cmdInfo(int argc, char** argv);
int cmdDump(int argc, char** argv);
int cmdConvert(int argc, char** argv);
int cmdPlay(int argc, char** argv);
int cmdRender(int argc, char** argv);
int cmdClipExport(int argc, char** argv);
int cmdClipImport(int argc, char** argv);
