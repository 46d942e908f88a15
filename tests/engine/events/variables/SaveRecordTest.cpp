#include <gtest/gtest.h>

#include <cstring>

#include "engine/data/CommonEventList.h"
#include "engine/data/database/Databases.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/EngineRandom.h"
#include "tests/engine/events/variables/VariablesTestFixture.h"
#include "tests/support/ByteWriter.h"
#include "tests/support/DatabaseBuilder.h"

namespace {

using SaveRecordTest = VariablesTest;

SaveBuffer ReadBack(const SaveBuffer& written) {
  return SaveBuffer(std::vector<uint8_t>(written.Data(), written.Data() + written.Size()));
}

VariableStore SampleStore() {
  VariableStore store;
  store.SetVariableOnMap(1000123, -7, 2);
  store.SetVariable(2000099, 12345);
  store.SetVariable(2300004, -1);
  store.SetStringVariable(3000002, "文字列");
  store.SetStringVariable(15000308, "self");
  store.SetVariable(15000399, 99);
  return store;
}

void ExpectSameVariables(const VariableStore& a, const VariableStore& b) {
  EXPECT_EQ(a.mapSelfVariables, b.mapSelfVariables);
  EXPECT_EQ(a.numberedSets, b.numberedSets);
  EXPECT_EQ(a.stringVariables, b.stringVariables);
  EXPECT_EQ(a.commonSelfIntegers, b.commonSelfIntegers);
  EXPECT_EQ(a.commonSelfStrings, b.commonSelfStrings);
}

TEST_F(SaveRecordTest, StoreRoundTrip) {
  const VariableStore store = SampleStore();
  EngineRandom(kRandomSet, 4321);
  SaveBuffer out;
  ASSERT_TRUE(store.SaveVariables(out));
  EXPECT_EQ(EngineRandom(kRandomRead), 4321u) << "saving does not step the random state";

  EngineRandom(kRandomSet, 1);
  SaveBuffer in = ReadBack(out);
  VariableStore loaded;
  ASSERT_TRUE(loaded.LoadVariables(in, 111, false));
  ExpectSameVariables(loaded, store);
  EXPECT_EQ(in.Remaining(), 0);
  EXPECT_EQ(EngineRandom(kRandomRead), 1u);
  in.Seek(0);
  VariableStore live;
  ASSERT_TRUE(live.LoadVariables(in, 111, true));
  EXPECT_EQ(EngineRandom(kRandomRead), 4321u);
}

TEST_F(SaveRecordTest, LongStringsAndTheOlderLengthForm) {
  VariableStore store;
  store.SetStringVariable(3000001, std::string(40000, 'x'));
  SaveBuffer out;
  ASSERT_TRUE(store.SaveVariables(out));
  const std::vector<uint8_t> bytes(out.Data(), out.Data() + out.Size());
  // After the random state, the map count, ten sets and the string count.
  size_t at = 4 + 4 + 4;
  for (const auto& set : store.numberedSets) at += 4 + set.size() * 4;
  at += 4 + 4 + 1;  // string count, the empty string 0
  int32_t length = 0;
  std::memcpy(&length, bytes.data() + at, 4);
  EXPECT_EQ(length, 40001);
  SaveBuffer in = ReadBack(out);
  VariableStore loaded;
  ASSERT_TRUE(loaded.LoadVariables(in, 111, false));
  EXPECT_EQ(loaded.GetStringVariable(3000001).size(), 40000u);

  // Version 110: int16 lengths.
  ByteWriter old;
  old.I32(0).I32(0).I32(0);          // random state, no maps, no sets
  old.I32(2).U16(3).Raw(std::string_view("ab", 3));  // two strings
  old.U16(1).U8(0);
  old.I32(0).I32(0);                 // no common entries
  SaveBuffer oldIn = BufferOf<SaveBuffer>(old.Bytes());
  VariableStore fromOld;
  ASSERT_TRUE(fromOld.LoadVariables(oldIn, 110, false));
  EXPECT_EQ(fromOld.stringVariables, (std::vector<std::string>{"ab", ""}));
}

TEST_F(SaveRecordTest, MoreCommonEventsThanTheSaveKnew) {
  CommonEvents.Resize(8);
  VariableStore store;
  store.SetVariable(15000700, 7);
  store.SetStringVariable(15000705, "seven");
  SaveBuffer out;
  ASSERT_TRUE(store.SaveVariables(out));
  CommonEvents.Resize(10);
  SaveBuffer in = ReadBack(out);
  VariableStore loaded;
  ASSERT_TRUE(loaded.LoadVariables(in, 111, false));
  ASSERT_EQ(loaded.commonSelfIntegers.size(), 10u);
  ASSERT_EQ(loaded.commonSelfStrings.size(), 10u);
  EXPECT_EQ(loaded.GetVariable(15000700), 7);
  EXPECT_EQ(loaded.GetStringVariable(15000705), "seven");
  EXPECT_EQ(loaded.commonSelfIntegers[9], std::vector<int32_t>(100, 0));
  EXPECT_EQ(loaded.commonSelfStrings[9], std::vector<std::string>(5));
}

// The record of a store with one map of one event of two slots.
ByteWriter SmallRecord() {
  ByteWriter w;
  w.I32(0);                         // random state
  w.I32(1).I32(1).U8(2).I32(5).I32(6);
  w.I32(1).I32(1).I32(9);           // one set of one entry
  w.I32(1).I32(2).Raw(std::string_view("a", 2));    // one string
  w.I32(1).U8(1).I32(3);            // common integers
  w.I32(1).U8(1).I32(2).Raw(std::string_view("s", 2));
  return w;
}

TEST_F(SaveRecordTest, DamagedStoreRecordsFail) {
  {
    SaveBuffer in = BufferOf<SaveBuffer>(SmallRecord().Bytes());
    VariableStore store;
    ASSERT_TRUE(store.LoadVariables(in, 111, false));
    EXPECT_EQ(store.mapSelfVariables[0][0], (std::vector<int32_t>{5, 6}));
    EXPECT_EQ(store.commonSelfIntegers[0], std::vector<int32_t>{3});
    EXPECT_EQ(store.GetVariable(15000005), 0) << "a list loaded short reads 0 beyond its end";
  }
  const std::string whole = SmallRecord().Bytes();
  for (size_t cut = 0; cut < whole.size(); ++cut) {
    SaveBuffer in = BufferOf<SaveBuffer>(whole.substr(0, cut));
    VariableStore store;
    EXPECT_FALSE(store.LoadVariables(in, 111, false)) << cut;
    EXPECT_TRUE(in.Overrun()) << cut;
  }
  struct Edit {
    size_t at;
    std::string bytes;
    const char* what;
  };
  const Edit edits[] = {
      {4, std::string("\xff\xff\xff\x7f", 4), "a huge map count"},
      {8, std::string("\x00\x00\x00\x80", 4), "a negative event count"},
      {21, std::string("\xff\xff\xff\x0f", 4), "a huge set count"},
      {37, std::string("\xfe\xff\xff\xff", 4), "a negative string length"},
      {41, std::string("ab", 2), "a string without its NUL"},
      {37, std::string("\x00\x00\x00\x00", 4), "a string of length 0"},
  };
  for (const Edit& e : edits) {
    std::string bytes = whole;
    bytes.replace(e.at, e.bytes.size(), e.bytes);
    SaveBuffer in = BufferOf<SaveBuffer>(bytes);
    VariableStore store;
    EXPECT_FALSE(store.LoadVariables(in, 111, false)) << e.what;
    EXPECT_LT(store.mapSelfVariables.size(), 2u) << e.what;
    EXPECT_LE(store.numberedSets.size(), 10u) << e.what;
  }
}

RootEventRunner SampleRunner() {
  RootEventRunner r;
  r.reservedBytes[0] = 1;
  r.reservedBytes[1] = 2;
  r.reservedBytes[2] = 3;  // not saved
  r.playSeconds = 3600;
  r.reservedValue = 9;
  r.millisecondsOfSecond = 500;  // not saved
  r.currentMusicEntry = 2;
  r.currentBackgroundSoundEntry = -1;
  r.drawCreditPerFrame = 0.5f;
  r.frameSkipMode = 1;
  for (int i = 0; i < 5; ++i) r.systemValues0To4[i] = 10 + i;
  for (int i = 0; i < 3; ++i) r.systemValues17To19[i] = 20 + i;
  r.choiceCursor = 3;
  r.SetToneTarget(1, 2, 3, 4);
  r.SetFlash(-1, -2, -3, 5);
  r.currentTone[2] = -255;
  r.slotHoldsGame = 1;  // not saved
  r.messageFontSize = 18;
  r.panorama[0] = 4;
  r.fog[4] = 128;
  r.movementDuringEvents = 1;
  r.followerSetting = -2;
  r.inputRepeat[0] = 7;
  r.saveSlotValue = 3;  // not saved
  r.messageWindowX = -5;
  r.mapDrawing = 0;      // not saved
  r.followerSpacing = 4;
  r.textEntryResult = 1;  // not saved
  r.textEntryY = 300;
  r.messageValues[1] = 77;
  r.choiceFrame = 0;
  r.screenLock = 1;
  r.textEdge = 1;
  r.mouseWindowValue = 1;
  r.transitionSetting1 = 2;
  r.transitionSetting3 = 1;
  r.partyNames = {"勇者", "", "c"};
  r.followerValues = {1, 2, 3, 4, 5, 6};
  r.choiceCursorBlend = 2;
  r.panoramaValue = 8;
  r.fogValue = 9;
  r.keyInputValues[1] = 1;
  r.keyCodes = {110, 111, 112, 0x80, 0x100, 0x200};
  r.frameCounter = 9999999;
  r.messagePrefix = "<C>";
  r.messageSuffix = "\\E";
  r.soundValues[2] = 50;
  r.musicFileName = "BGM\\a.mid";
  r.musicParameters[1] = 100;
  r.backgroundSoundFileName = "b.ogg";
  r.backgroundSoundParameters[2] = 3;
  r.panoramaFileName = "p.png";
  r.fogFileName = "f.png";
  r.mouseCursorShown = 1;
  r.partyFlag = 0;
  return r;
}

void ExpectSavedFieldsEqual(const RootEventRunner& a, const RootEventRunner& b) {
  // The record is the runner's bytes in the newest layout: compare by
  // writing both.
  SaveBuffer wa, wb;
  ASSERT_TRUE(a.WriteState(wa));
  ASSERT_TRUE(b.WriteState(wb));
  EXPECT_EQ(std::vector<uint8_t>(wa.Data(), wa.Data() + wa.Size()), std::vector<uint8_t>(wb.Data(), wb.Data() + wb.Size()));
}

TEST_F(SaveRecordTest, RootRunnerRoundTrip) {
  const RootEventRunner saved = SampleRunner();
  SaveBuffer out;
  ASSERT_TRUE(saved.WriteState(out));
  SaveBuffer in = ReadBack(out);
  RootEventRunner loaded;
  ASSERT_TRUE(loaded.ReadState(in, 111));
  EXPECT_EQ(in.Remaining(), 0);
  ExpectSavedFieldsEqual(loaded, saved);
  EXPECT_EQ(loaded.partyNames, saved.partyNames);
  EXPECT_EQ(loaded.followerValues, saved.followerValues);
  EXPECT_EQ(loaded.messageSuffix, "\\E");
  EXPECT_EQ(loaded.drawCreditPerFrame, 0.5f);
  EXPECT_EQ(loaded.keyCodes, saved.keyCodes);
  // Not in the record: their defaults.
  EXPECT_EQ(loaded.reservedBytes[2], 0);
  EXPECT_EQ(loaded.millisecondsOfSecond, 0);
  EXPECT_EQ(loaded.slotHoldsGame, 0);
  EXPECT_EQ(loaded.saveSlotValue, -1);
  EXPECT_EQ(loaded.mapDrawing, 1);
  EXPECT_EQ(loaded.textEntryResult, 0);

  // Key codes are saved interleaved: keyboard and pad of each button.
  int32_t keys[6];
  const size_t keyOffset = static_cast<size_t>(out.Size()) - 6 * 4 - 2 - (2 + 4) - (2 + 3) - 4 - 12 - (2 + 10) - 12 -
                           (2 + 6) - 12 - (2 + 6) - (2 + 6) - 1 - 1;
  std::memcpy(keys, out.Data() + keyOffset, sizeof keys);
  EXPECT_EQ(std::vector<int32_t>(keys, keys + 6), (std::vector<int32_t>{110, 0x80, 111, 0x100, 112, 0x200}));
}

TEST_F(SaveRecordTest, SoundsPlayedByFileNameAreSavedAsMarker) {
  SystemDatabase.typeData[1] = MakeTypeData({1000}, 15);  // music: records 5-14 are spares
  SystemDatabase.typeData[2] = MakeTypeData({1000}, 15);
  struct Case {
    int32_t entry;
    int32_t saved;
  };
  for (const Case& c : {Case{4, 4}, Case{5, -3}, Case{14, -3}, Case{-1, -1}, Case{99, -3}}) {
    RootEventRunner r;
    r.currentMusicEntry = c.entry;
    r.currentBackgroundSoundEntry = c.entry;
    SaveBuffer out;
    ASSERT_TRUE(r.WriteState(out));
    SaveBuffer in = ReadBack(out);
    RootEventRunner loaded;
    ASSERT_TRUE(loaded.ReadState(in, 111));
    EXPECT_EQ(loaded.currentMusicEntry, c.saved) << c.entry;
    EXPECT_EQ(loaded.currentBackgroundSoundEntry, c.saved) << c.entry;
  }
}

// A record of an older version: the fixed part, then what that version has.
ByteWriter OldRecord(int32_t version, const RootEventRunner& from) {
  SaveBuffer whole;
  from.WriteState(whole);
  ByteWriter w;
  w.Raw(std::string_view(reinterpret_cast<const char*>(whole.Data()), 162));
  if (version <= 96) w.I32(12345);
  w.I32(from.screenLock);
  if (version >= 98) w.I32(from.textEdge).I32(from.mouseWindowValue);
  return w;
}

TEST_F(SaveRecordTest, OlderVersionsKeepTheDefaultsOfMissingFields) {
  const RootEventRunner saved = SampleRunner();
  for (int32_t version : {96, 97, 99}) {
    const std::string bytes = OldRecord(version, saved).Bytes();
    SaveBuffer in = BufferOf<SaveBuffer>(bytes);
    RootEventRunner loaded;
    ASSERT_TRUE(loaded.ReadState(in, version)) << version;
    EXPECT_EQ(in.Remaining(), 0) << version;
    EXPECT_EQ(loaded.choiceFrame, 0) << version;
    EXPECT_EQ(loaded.screenLock, 1) << version;
    EXPECT_EQ(loaded.textEdge, version >= 98 ? 1 : 0) << version;
    EXPECT_EQ(loaded.transitionSetting1, -1) << version;
    EXPECT_TRUE(loaded.partyNames.empty()) << version;
    EXPECT_EQ(loaded.followerValues, std::vector<int32_t>(5, -1)) << version;
    EXPECT_EQ(loaded.keyCodes[0], 144) << version;
    EXPECT_EQ(loaded.followerSpacing, 2) << version;
    EXPECT_EQ(loaded.messagePrefix, "") << version;
  }
  // Version 96 read as 97 misreads the skipped value as the screen lock.
  SaveBuffer in = BufferOf<SaveBuffer>(OldRecord(96, saved).Bytes());
  RootEventRunner misread;
  ASSERT_TRUE(misread.ReadState(in, 97));
  EXPECT_EQ(misread.screenLock, 12345);
}

TEST_F(SaveRecordTest, EachVersionReadsItsOwnFields) {
  SaveBuffer out;
  ASSERT_TRUE(SampleRunner().WriteState(out));
  // A newer record read as an older version stops after that version's
  // fields, which lie first; what follows keeps its default.
  int32_t consumedBefore = 0;
  for (int32_t version = 100; version <= 111; ++version) {
    SaveBuffer in = ReadBack(out);
    RootEventRunner r;
    ASSERT_TRUE(r.ReadState(in, version)) << version;
    EXPECT_GE(in.Position(), consumedBefore) << version;
    consumedBefore = in.Position();
    EXPECT_EQ(r.partyNames.size(), 3u) << version;
    EXPECT_EQ(r.keyCodes[0], version >= 101 ? 110 : 144) << version;
    EXPECT_EQ(r.followerSpacing, version >= 102 ? 4 : 2) << version;
    EXPECT_EQ(r.messagePrefix, version >= 103 ? "<C>" : "") << version;
    EXPECT_EQ(r.frameCounter, version >= 104 ? 9999999 : 0) << version;
    EXPECT_EQ(r.soundValues[2], version >= 106 ? 50 : 100) << version;
    EXPECT_EQ(r.musicFileName, version >= 108 ? "BGM\\a.mid" : "") << version;
    EXPECT_EQ(r.fogFileName, version >= 109 ? "f.png" : "") << version;
    EXPECT_EQ(r.partyFlag, version >= 110 ? 0 : 1) << version;
  }
  EXPECT_EQ(consumedBefore, out.Size());
}

TEST_F(SaveRecordTest, DamagedRootRunnerRecordsFail) {
  SaveBuffer out;
  ASSERT_TRUE(SampleRunner().WriteState(out));
  const std::string whole(reinterpret_cast<const char*>(out.Data()), static_cast<size_t>(out.Size()));
  for (size_t cut = 0; cut < whole.size(); ++cut) {
    SaveBuffer in = BufferOf<SaveBuffer>(whole.substr(0, cut));
    RootEventRunner loaded;
    EXPECT_FALSE(loaded.ReadState(in, 111)) << cut;
    EXPECT_TRUE(in.Overrun()) << cut;
  }
  // The party-name count sits after the fixed part and 21 bytes.
  const size_t countAt = 162 + 4 + 8 + 9;
  for (const std::string& count : {std::string("\xff\xff\xff\x7f", 4), std::string("\xff\xff\xff\xff", 4)}) {
    std::string bytes = whole;
    bytes.replace(countAt, 4, count);
    SaveBuffer in = BufferOf<SaveBuffer>(bytes);
    RootEventRunner loaded;
    EXPECT_FALSE(loaded.ReadState(in, 111));
    EXPECT_TRUE(loaded.partyNames.empty());
  }
  std::string longName = whole;
  longName.replace(countAt + 4, 4, std::string("\x01\x02\x00\x00", 4));  // 513 bytes
  SaveBuffer in = BufferOf<SaveBuffer>(longName);
  RootEventRunner loaded;
  EXPECT_FALSE(loaded.ReadState(in, 111)) << "a party name longer than 512 bytes";
}

TEST_F(SaveRecordTest, OverlongTextsAreCutSoThatTheyReadBack) {
  RootEventRunner r;
  r.messagePrefix = std::string(2000, 'x');
  r.musicFileName = "a" + std::string(1200, '\x82');  // lead bytes only: cut at a character boundary
  r.partyNames = {std::string(600, 'n')};
  SaveBuffer out;
  ASSERT_TRUE(r.WriteState(out));
  SaveBuffer in = ReadBack(out);
  RootEventRunner loaded;
  ASSERT_TRUE(loaded.ReadState(in, 111));
  EXPECT_EQ(loaded.messagePrefix, std::string(1027, 'x'));
  EXPECT_LE(loaded.musicFileName.size(), 1027u);
  EXPECT_EQ(loaded.partyNames[0], std::string(512, 'n'));
}

}  // namespace
