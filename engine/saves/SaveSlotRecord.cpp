#include "engine/saves/SaveSlotRecord.h"

SaveSlotRecord::SaveSlotRecord() { rootRunner.slotHoldsGame = 0; }

SaveSlotRecord::SaveSlotRecord(const SaveSlotRecord& other)
    : mapScene(other.mapScene),
      rootRunner(other.rootRunner),
      variables(other.variables),
      hero(other.hero),
      pictures(other.pictures),
      variableDatabase(other.variableDatabase),
      replayLog(other.replayLog),
      randomState(other.randomState),
      replayInFile(other.replayInFile) {
  variables.rootRunner = &rootRunner;
}

SaveSlotRecord& SaveSlotRecord::operator=(const SaveSlotRecord& other) {
  if (this == &other) return *this;
  mapScene = other.mapScene;
  rootRunner = other.rootRunner;
  variables = other.variables;
  variables.rootRunner = &rootRunner;
  hero = other.hero;
  pictures = other.pictures;
  variableDatabase = other.variableDatabase;
  replayLog = other.replayLog;
  randomState = other.randomState;
  replayInFile = other.replayInFile;
  return *this;
}

bool SaveSlotRecord::Write(SaveBuffer& out) {
  mapScene.SaveState(out);
  rootRunner.WriteState(out);
  variables.SaveVariables(out);
  hero.Save(out);
  pictures.Write(out);
  WriteVariableDatabase(out, variableDatabase);
  out.WriteU8(0);  // no replay log follows
  if (out.Overrun()) return false;
  rootRunner.slotHoldsGame = 1;
  return true;
}

bool SaveSlotRecord::Read(SaveBuffer& in, int32_t version) {
  if (!mapScene.LoadState(in, version)) return false;
  if (!rootRunner.ReadState(in, version)) return false;
  // The store's record begins with the random state; the record keeps it
  // for the live game, the snapshot's store does not take it.
  const int32_t start = in.Position();
  int32_t state = 0;
  if (!in.ReadI32(state) || !in.Seek(start)) return false;
  randomState = static_cast<uint32_t>(state);
  if (!variables.LoadVariables(in, version, false)) return in.Fail();
  if (!hero.Load(in)) return false;
  if (!pictures.Read(in, version)) return false;
  if (!variableDatabase.ReadSavedVariableDatabase(in)) return false;
  const int32_t flagAt = in.Position();
  uint8_t flag = 0;
  if (!in.ReadU8(flag) || !in.Seek(flagAt)) return false;
  replayInFile = flag == 1;
  return replayLog.Read(in);
}
