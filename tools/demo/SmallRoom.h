#pragma once
// The small room north of the town: a save crystal, a guest book kept in a
// save slot of its own, a screen that plays the shipped replay, and MIDI
// music over a humming background sound.

#include <cstdint>
#include <string>

#include "tests/support/GameFolderWriter.h"

class PlayHarness;

namespace demo {

inline constexpr int32_t kSmallRoomWidth = 20;
inline constexpr int32_t kSmallRoomHeight = 15;
// Where the hero arrives from the town; the door back is one step below.
inline constexpr int32_t kSmallRoomEntranceX = 10;
inline constexpr int32_t kSmallRoomEntranceY = kSmallRoomHeight - 3;

// The crystal saves the game in this slot; the hero stands below it and
// faces up to use it.
inline constexpr int32_t kCrystalId = 2;
inline constexpr int32_t kCrystalX = kSmallRoomEntranceX;
inline constexpr int32_t kCrystalY = kSmallRoomEntranceY - 3;
inline constexpr int32_t kCrystalSlot = 1;
// The guest book counts its visitors in normal variable 0 of its own slot,
// through normal variable kGuestCountVariable of the game.
inline constexpr int32_t kGuestBookId = 3;
inline constexpr int32_t kGuestBookX = kSmallRoomEntranceX - 4;
inline constexpr int32_t kGuestBookY = kCrystalY;
inline constexpr int32_t kGuestBookSlot = 50;
inline constexpr int32_t kGuestCountVariable = 2000010;
inline constexpr int32_t kGuestCountInSlot = 2000000;
// The screen plays the replay saved in this slot.
inline constexpr int32_t kReplayScreenId = 4;
inline constexpr int32_t kReplayScreenX = kSmallRoomEntranceX + 4;
inline constexpr int32_t kReplayScreenY = kCrystalY;
inline constexpr int32_t kReplaySlot = 90;
// The room's music (a MIDI file) and background sound, entries after the
// town's in their sound types.
inline constexpr const char* kRoomMusicFile = "BGM\\room.mid";
inline constexpr const char* kRoomHumFile = "BGS\\hum.wav";

// What the crystal and the book say (Shift-JIS).
std::string CrystalMessage();
std::string GuestBookMessage();

void AddSmallRoom(GameFolderContent& game);
// The room's music and background sound, added to the sound types once the
// town's are written.
void AddSmallRoomSounds(GameFolderContent& game);
// Plays the demo headless from its start along a short walk, recording the
// input, and saves the log in the replay slot of the game in folder.
bool MakeShippedReplay(const std::string& folder);

// The walk the shipped replay holds, as keys held from given frames: from
// the start to the villager, a word with him, and a few steps away.
inline constexpr int64_t kVillagerVisitFrames = 150;
void HoldVillagerVisit(PlayHarness& play);

}  // namespace demo
