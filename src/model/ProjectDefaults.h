#pragma once
// What a new project starts with; the editor fills it from its settings.

#include <string>

/** The items of a new project, and the cell count of one made without a count. */
struct strProjectDefaults {
    int cellCount = 16;
    int baseInterval = 1;
    int centerPosition = 0;
    int divisionFormat = 0;
    bool fixPicturePerCell = true;
    int editFormat = 2;
    int saveFormat = 1;
    std::string fileName = "newfile.txt";
};
