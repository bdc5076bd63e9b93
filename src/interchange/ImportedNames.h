#pragma once
// Imported picture and sound names as paths of the project.

#include <string>

class cAnimeData;

namespace interchange {

/** Turns the bare picture and sound names of an imported project into paths:
 *  F + "\" + name, where F is soundFolder for sounds and pictureFolder for pictures,
 *  and when F is absolute and holds a file "name.*", that file's name is used. */
void ResolveImportedNames(cAnimeData& project, const std::string& pictureFolder, const std::string& soundFolder);

} // namespace interchange
