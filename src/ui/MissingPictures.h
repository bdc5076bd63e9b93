#pragma once
// Telling the user which pictures of the project cannot be shown and where
// they were looked for.

#include <string>

class cAnimeData;

/** Why picture slot `slot` cannot be shown (UTF-8): not found, naming the first
 *  place searched, or found but not readable (known once it has been drawn); empty
 *  when it is shown, not drawn yet, or the slot holds no picture. */
std::string MissingPictureText(const cAnimeData& project, int slot);

/** The status bar text for a project with pictures that cannot be shown: the first
 *  one's reason and how many more there are; empty when every picture is shown. */
std::string MissingPicturesStatus(const cAnimeData& project);
