#include "interchange/DataFile.h"

// Placeholder until the format lands.
std::unique_ptr<cDataFile> ParseRubyDataFile(eDataFileKind, std::string, std::string& error)
{
    error = "not built yet";
    return nullptr;
}
