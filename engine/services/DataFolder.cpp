#include "engine/services/DataFolder.h"

namespace {
std::string gDataFolder = "Data\\";
}  // namespace

const std::string& DataFolder() { return gDataFolder; }

void SetDataFolder(const std::string& folder) { gDataFolder = folder; }
