// The save-slot cache and the variables of other slots.

#include <map>
#include <memory>
#include <string>

#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/saves/SavePath.h"
#include "tests/engine/saves/SaveTestFixture.h"

TEST_F(SaveTest, ALoadedSlotIsReadOnceAndAMissingOneTriedOnceUntilASave) {
  ASSERT_TRUE(SaveSlots.SaveGame(1, true, kSaveSlotPrefix));
  SaveSlots = SaveSlotCache();  // as after the title: the next read reads the file
  EXPECT_TRUE(SaveSlots.LoadSaveSlot(1, false, false, kSaveSlotPrefix));
  PutFile("Save\\SaveData01.sav", std::string(64, '\0'));  // plain, opening byte 0
  EXPECT_TRUE(SaveSlots.LoadSaveSlot(1, false, false, kSaveSlotPrefix));  // no file read
  EXPECT_TRUE(errorScreens.empty());

  EXPECT_FALSE(SaveSlots.LoadSaveSlot(4, false, false, kSaveSlotPrefix));
  EXPECT_TRUE(SaveSlots.missing["Save\\SaveData04.sav"]);
  PutFile("Save\\SaveData04.sav", FileBytes("Save\\SaveData02.sav"));
  ASSERT_TRUE(SaveSlots.SaveGame(2, true, kSaveSlotPrefix));
  PutFile("Save\\SaveData04.sav", FileBytes("Save\\SaveData02.sav"));
  EXPECT_FALSE(SaveSlots.LoadSaveSlot(4, false, false, kSaveSlotPrefix));  // not tried again
  ASSERT_TRUE(SaveSlots.SaveGame(4, true, kSaveSlotPrefix));
  EXPECT_TRUE(SaveSlots.LoadSaveSlot(4, false, false, kSaveSlotPrefix));

  SaveSlots = SaveSlotCache();
  EXPECT_TRUE(SaveSlots.records.empty());
  EXPECT_FALSE(SaveSlots.LoadSaveSlot(1, false, false, kSaveSlotPrefix));  // the damage shows now
  EXPECT_EQ(errorScreens.size(), 1u);
}

TEST_F(SaveTest, ASlotsVariablesComeFromItsOwnSave) {
  Variables.SetVariable(2000005, 33);
  Variables.SetStringVariable(3000001, "三番");
  RootRunner.playSeconds = 300;
  ASSERT_TRUE(SaveSlots.SaveGame(3, true, kSaveSlotPrefix));
  Variables.SetVariable(2000005, -8);
  RootRunner.playSeconds = 5;
  SaveSlots = SaveSlotCache();

  EXPECT_EQ(SaveSlots.ReadSlotIntVariable(3, 2000005, kSaveSlotPrefix), 33);
  EXPECT_EQ(SaveSlots.ReadSlotStringVariable(3, 3000001, kSaveSlotPrefix), "三番");
  // System variables answer from the slot's own root runner.
  EXPECT_EQ(SaveSlots.ReadSlotIntVariable(3, 9000024, kSaveSlotPrefix), 1);
  EXPECT_EQ(SaveSlots.ReadSlotIntVariable(6, 9000024, kSaveSlotPrefix), 0);
  EXPECT_EQ(SaveSlots.ReadSlotIntVariable(3, 1100003, kSaveSlotPrefix), 0);  // refused
  EXPECT_EQ(SaveSlots.ReadSlotStringVariable(-1, 3000001, kSaveSlotPrefix),
            "ERROR -1番目以下のデータを読みに行っています");
  EXPECT_EQ(SaveSlots.ReadSlotIntVariable(-1, 2000005, kSaveSlotPrefix), 0);

  PutFile("Save\\SaveData08.sav", FileBytes("Save\\SaveData03.sav").substr(0, 100));
  EXPECT_EQ(SaveSlots.ReadSlotIntVariable(8, 2000005, kSaveSlotPrefix), 0);
  EXPECT_EQ(SaveSlots.ReadSlotStringVariable(8, 3000001, kSaveSlotPrefix), "");
}

TEST_F(SaveTest, AWriteIntoASlotIsSavedAtOnceAndReadBackWithoutTheFile) {
  SaveSlots.WriteSlotIntVariable(2, 2000005, 7, kSaveSlotPrefix);  // no file yet: a fresh game with the value
  const std::string file = FileBytes("Save\\SaveData02.sav");
  ASSERT_FALSE(file.empty());
  PutFile("Save\\SaveData02.sav", "not read");
  EXPECT_EQ(SaveSlots.ReadSlotIntVariable(2, 2000005, kSaveSlotPrefix), 7);
  PutFile("Save\\SaveData02.sav", file);
  SaveSlots = SaveSlotCache();
  EXPECT_EQ(SaveSlots.ReadSlotIntVariable(2, 2000005, kSaveSlotPrefix), 7);

  SaveSlots.WriteSlotStringVariable(2, 3000000, "書いた", kSaveSlotPrefix);
  SaveSlots = SaveSlotCache();
  EXPECT_EQ(SaveSlots.ReadSlotStringVariable(2, 3000000, kSaveSlotPrefix), "書いた");
  EXPECT_EQ(SaveSlots.ReadSlotIntVariable(2, 2000005, kSaveSlotPrefix), 7);

  // Refused IDs change neither the slot nor its file.
  const std::string before = FileBytes("Save\\SaveData02.sav");
  SaveSlots.WriteSlotIntVariable(2, 1600001, 9, kSaveSlotPrefix);
  SaveSlots.WriteSlotIntVariable(2, 1100001, 9, kSaveSlotPrefix);
  SaveSlots.WriteSlotStringVariable(2, 1600001, "x", kSaveSlotPrefix);
  SaveSlots.WriteSlotIntVariable(-1, 2000005, 9, kSaveSlotPrefix);
  EXPECT_EQ(FileBytes("Save\\SaveData02.sav"), before);
}

TEST_F(SaveTest, ACopiedRecordAnswersFromItsOwnRunnerAfterTheOriginalIsGone) {
  std::map<std::string, SaveSlotRecord> copies;
  {
    auto original = std::make_unique<SaveSlotRecord>();
    original->rootRunner.playSeconds = 4321;
    original->rootRunner.slotHoldsGame = 1;
    copies["a"] = *original;              // assignment
    copies.emplace("b", *original);       // copy construction
    std::map<std::string, SaveSlotRecord> whole = copies;
    copies = whole;                       // a map copied whole
  }
  for (auto& [name, record] : copies) {
    EXPECT_EQ(record.variables.rootRunner, &record.rootRunner) << name;
    EXPECT_EQ(record.variables.GetVariable(9000024), 1) << name;
    EXPECT_EQ(record.variables.GetVariable(9000029), 4321) << name;
  }
}
