#pragma once
// The save file of a slot: the name prefix followed, for slot 1 and up, by
// the slot with at least two digits and ".sav"; slot 0 is the prefix alone.
// Paths are game paths relative to the game folder. Negative slots name no
// file: the result is empty.

#include <cstdint>
#include <string>

inline const std::string kSaveSlotPrefix = "Save\\SaveData";
inline const std::string kSaveFolder = "Save";

std::string SaveFilePath(int32_t slot, const std::string& prefix);
