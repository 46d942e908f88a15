#pragma once
// The saved games already read or written, by save-file path, with two
// flags per path: loaded (the record holds the file's content, so a read
// that does not enter the game needs no file) and missing (the file could
// not be opened; such reads fail at once until a save succeeds). A path
// absent from a flag map counts as false. The cache is replaced by an
// empty one at every title.
//
// Loading validates the whole file into a separate record before anything
// uses it: a bad file changes neither the cache's good record nor the live
// game. A load into the running game is only checked here; the frame
// enters it at a safe point (ApplyPendingLoad).

#include <cstdint>
#include <map>
#include <string>

#include "engine/saves/SaveSlotRecord.h"

// Every part of the live game, as a save writes it.
SaveSlotRecord LiveGameRecord();

class SaveSlotCache {
 public:
  std::map<std::string, SaveSlotRecord> records;
  std::map<std::string, bool> loaded;
  std::map<std::string, bool> missing;

  // Writes a save for the slot. With snapshot the live game is copied into
  // the slot's record first; without, the record is written as it is.
  // During replay playback nothing is written and the result is true. False
  // when the path is refused (outside the game folder), the disk lacks the
  // space (after the error screen) or the file cannot be written (the old
  // file then stays as it was).
  bool SaveGame(int32_t slot, bool snapshot, const std::string& prefix);

  // Reads the slot's file into its record. With apply the record is then
  // queued to enter the running game; with replay its replay log plays back
  // from the title. Without either, a path read before succeeds at once and
  // a missing one fails at once.
  bool LoadSaveSlot(int32_t slot, bool apply, bool replay, const std::string& prefix);

  // Variables of a saved game by ID, through that slot's record. IDs of the
  // running event's self variables are refused. A write loads the slot (a
  // fresh game state when it holds no file) and saves it back at once.
  int32_t ReadSlotIntVariable(int32_t slot, int64_t id, const std::string& prefix);
  std::string ReadSlotStringVariable(int32_t slot, int64_t id, const std::string& prefix);
  void WriteSlotIntVariable(int32_t slot, int64_t id, int32_t value, const std::string& prefix);
  void WriteSlotStringVariable(int32_t slot, int64_t id, const std::string& text, const std::string& prefix);

 private:
  bool Flag(const std::map<std::string, bool>& flags, const std::string& path) const;
  // Shows the damaged-save screen for the slot; the path's record starts
  // over.
  void ReportDamaged(int32_t slot, const std::string& path);
  // Before a write: a record that holds no file becomes a fresh game state.
  SaveSlotRecord& RecordForWrite(int32_t slot, const std::string& prefix);
};

// The one cache of the running game.
extern SaveSlotCache SaveSlots;

// Enters the load that LoadSaveSlot queued into the running game, at a
// point of the frame where no interpreter runs: every graphic is deleted
// (whoever holds one outside the scene's caches, the pictures, the icons
// and the transition lets go of it first), the scene is put back to a clean
// state, every part of the record replaces the live one and the loaded
// game's transition is chosen; a transition already started fades from
// the screen as it was. False when none is queued.
bool ApplyPendingLoad();
// A load is queued.
bool LoadPending();
// Drops a queued load (the title does).
void DropPendingLoad();
// Takes the queued load's path and slot; false when none is queued.
bool TakePendingLoad(std::string& path, int32_t& slot);
