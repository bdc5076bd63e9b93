#include "interchange/DataFile.h"

// Placeholder until the format lands.
std::unique_ptr<cDataFile> ParseLdbDataFile(std::string, std::string& error)
{
    error = "not built yet";
    return nullptr;
}
