#pragma once
// The bytes of a save file: a 20-byte header with the three seeds and the
// check byte, then, scrambled, the opening byte 0x19, the title block (the
// game's title and the save version), the body parts and the closing byte
// 0x19. A reader ignores up to 199 bytes after the closing byte.

#include <cstdint>
#include <string>
#include <vector>

#include "engine/saves/SaveSlotRecord.h"

// Builds the file for a record; path seeds nothing, it names the file in
// messages. False when the body does not fit the save buffer (a text or a
// list too long for its field).
bool EncodeSaveFile(SaveSlotRecord& record, const std::string& path, std::vector<uint8_t>& file);

enum class SaveFileCheck {
  kGood,
  kShort,         // the opening byte, the title block or the closing byte is missing
  kDamaged,       // a wrong framing byte, a part cut short or damaged, too many bytes after the end, a wrong checksum
  kForeignTitle,  // another game's save
};

// Reads a whole file into a fresh record, testing everything before the
// record is used. title receives the stored title.
SaveFileCheck DecodeSaveFile(std::vector<uint8_t> file, SaveSlotRecord& record, std::string& title);
