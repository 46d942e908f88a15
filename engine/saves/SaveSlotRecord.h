#pragma once
// One saved game in memory: every part a save body carries, in the body's
// order. The record's variable store answers its system variables from the
// record's own root runner; a copy answers from its own copy, never from
// the record it was copied from.

#include <cstdint>

#include "engine/data/ReplayLog.h"
#include "engine/data/database/Database.h"
#include "engine/data/file/SaveBuffer.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/pictures/PictureList.h"

class SaveSlotRecord {
 public:
  // The version of the bodies this program writes.
  static constexpr int32_t kSaveVersion = 111;

  MapScene mapScene;
  RootEventRunner rootRunner;
  VariableStore variables{&rootRunner};
  Hero hero;
  PictureList pictures;
  Database variableDatabase;
  ReplayLog replayLog;
  // What a read found beside the parts: the engine's random state when the
  // game was saved (a loaded game goes on from it) and whether a replay log
  // followed.
  uint32_t randomState = 0;
  bool replayInFile = false;

  // An empty game state; its system variable 24 is 0.
  SaveSlotRecord();
  SaveSlotRecord(const SaveSlotRecord& other);
  SaveSlotRecord& operator=(const SaveSlotRecord& other);

  // The body parts in file order; the record then holds a saved state
  // (system variable 24 is 1). False when the buffer is full.
  bool Write(SaveBuffer& out);
  // Reads the body parts of a save of the given version into this record,
  // which must be fresh. False (overrun) when a part is cut short or
  // damaged.
  bool Read(SaveBuffer& in, int32_t version);
};
