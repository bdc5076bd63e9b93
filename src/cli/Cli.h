#pragma once
// Shared helpers of the command-line tool.

#include <cstdio>
#include <memory>
#include <string>

class cAnimeData;

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
int cmdExportPng(int argc, char** argv);
int cmdExportGif(int argc, char** argv);
