#pragma once
// Where a picture of a project is looked for. The working-folder rule comes
// first: a relative path is taken below the project's working folder. A project
// opened from outside any working folder gets the application folder as its
// working folder, where its pictures are rarely found; so when the rule finds
// nothing, the path is also taken below the folder of the project file itself.
// Paths are model paths.

#include <string>
#include <vector>

/** The places searched for a stored picture path, in order (no duplicates);
 *  projectFile may be empty (a new or imported project). */
std::vector<std::string> PictureCandidates(const std::string& stored, const std::string& workFolder,
                                           const std::string& projectFile);

/** The first candidate that names an existing file; the first candidate (the
 *  working-folder rule's path) when none does, with found false. */
std::string FindPicture(const std::string& stored, const std::string& workFolder, const std::string& projectFile,
                        bool* found = nullptr);
