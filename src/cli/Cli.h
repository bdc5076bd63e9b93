#pragma once
// Shared helpers of the command-line tool.

#include <cstdio>
#include <functional>
#include <memory>
#include <string>

class cAnimeData;
namespace CLI {
class App;
}

namespace cli {

/** Prints "mevko: <what>: <reason>" on stderr and returns the failure exit code. */
inline int Fail(const std::string& what, const std::string& reason)
{
    std::fprintf(stderr, "mevko: %s: %s\n", what.c_str(), reason.c_str());
    return 1;
}

/** What the text conversions of a command noted (a character a code page lacks, a text
 *  cut to fit), forgetting it; `otherwise` when they noted nothing. */
std::string TextProblemsOr(const std::string& otherwise);
/** Prints the noted text problems, if any, as "mevko: <what>: <problems>". */
void WarnTextProblems(const std::string& what);

/** Loads a project file of any kind into a fresh project; on failure prints the
 *  reason and returns null. kind receives what the file was probed as. */
std::unique_ptr<cAnimeData> LoadProject(const char* path, int* kind = nullptr);

/** Sets the working folder of a project loaded from path as opening it would, or the
 *  file's own folder when the path has none, so relative picture paths resolve. */
void SetWorkFolderFromPath(cAnimeData& project, const char* path);

/** Saves an imported project as output, in format (0 binary, 1 text) or, when format
 *  is negative, in the project's own save format; then warns about text problems
 *  noted while reading source. Returns the exit code. */
int SaveImported(cAnimeData& project, int format, const std::string& output, const std::string& source);

/** A command of mevko: its subcommand, which holds its options, and what runs it once
 *  they are parsed. missing is the message when a required argument is left out. */
struct Command {
    CLI::App* app = nullptr;
    std::string missing;
    std::function<int()> run;
};

// Each adds its subcommand to mevko.
Command AddSettings(CLI::App& mevko);
Command AddInfo(CLI::App& mevko);
Command AddDump(CLI::App& mevko);
Command AddConvert(CLI::App& mevko);
Command AddClipExport(CLI::App& mevko);
Command AddClipImport(CLI::App& mevko);
Command AddPlay(CLI::App& mevko);
Command AddExportPng(CLI::App& mevko);
Command AddExportGif(CLI::App& mevko);
Command AddRender(CLI::App& mevko);
Command AddDbList(CLI::App& mevko);
Command AddDbImport(CLI::App& mevko);
Command AddDbExport(CLI::App& mevko);

} // namespace cli
