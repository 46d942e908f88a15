#include <gtest/gtest.h>

#include <climits>

#include "engine/events/variables/KeyConfig.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/StartupSettings.h"
#include "tests/engine/events/variables/VariablesTestFixture.h"

namespace {

using SystemVariablesTest = VariablesTest;

int32_t Sv(int32_t n) { return Variables.GetVariable(9000000 + n); }
void SetSv(int32_t n, int32_t value) { Variables.SetVariable(9000000 + n, value); }

TEST_F(SystemVariablesTest, DefaultsAtBothTileUnits) {
  struct Case {
    int32_t n;
    int32_t at32;
    int32_t at16;
  };
  const Case cases[] = {
      {0, 0, 0},       {1, -1, -1},     {2, -1, -1},   {3, -1, -1},   {4, -1, -1},     {5, 320, 160},
      {6, 137, 68},    {7, 0, 0},       {8, 22, 12},   {9, 120, 120}, {10, 1, 1},      {11, 1000000, 1000000},
      {14, 1, 1},      {15, 16, 16},    {16, 5, 5},    {17, -1, -1},  {19, -1, -1},    {21, 0, 0},
      {22, 0, 0},      {24, 0, 0},      {25, -1, -1},  {28, 0, 0},    {33, 0, 0},      {36, 0, 0},
      {37, 2, 2},      {39, 0, 0},      {40, 150, 75}, {41, 400, 200}, {52, 144, 144}, {53, 145, 145},
      {54, 146, 146},  {55, 301, 301},  {56, 302, 302}, {57, 303, 303}, {59, 0, 0},     {60, 0, 0},
      {61, -1, -1},    {62, 0, 0},      {64, 0, 0},    {65, 255, 255}, {66, -1, -1},   {68, 0, 0},
      {73, 0, 0},      {87, -1, -1},    {91, -1, -1},  {100, 100, 100}, {102, 100, 100},
      {26, -1, -1},    {27, -1, -1},    {34, -1, -1},  {42, -1, -1},  {106, -1, -1},   {99999, -1, -1},
  };
  for (int unit : {32, 16}) {
    TileUnit = unit;
    RootRunner = RootEventRunner();
    for (const Case& c : cases) EXPECT_EQ(Sv(c.n), unit == 32 ? c.at32 : c.at16) << "sv " << c.n << " unit " << unit;
  }
  TileUnit = 32;
}

TEST_F(SystemVariablesTest, NarrowFieldsKeepTheirLowBitsSignExtended) {
  struct Case {
    int32_t n;
    int32_t written;
    int32_t read;
  };
  const Case cases[] = {
      {5, 70000, 4464}, {5, 40000, -25536}, {6, -1, -1},     {36, 65535, -1}, {37, 32768, -32768},
      {40, 65536, 0},   {41, 32767, 32767}, {14, 200, -56},  {14, 256, 0},    {14, 127, 127},
  };
  for (const Case& c : cases) {
    SetSv(c.n, c.written);
    EXPECT_EQ(Sv(c.n), c.read) << "sv " << c.n << " := " << c.written;
  }
}

TEST_F(SystemVariablesTest, ClampsAndIgnoredWrites) {
  const struct {
    int32_t n;
    int32_t written;
    int32_t read;
  } cases[] = {
      {15, 0, 1}, {16, INT_MIN, 1}, {15, 7, 7}, {22, 9, 3}, {22, -4, 0}, {100, -5, 0}, {101, 50, 50},
      {102, -5, -5}, {24, 5, 0}, {31, 5, 0}, {39, 5, 0}, {26, 5, -1}, {106, 5, -1}, {0, INT_MIN, INT_MIN},
  };
  for (const auto& c : cases) {
    SetSv(c.n, c.written);
    EXPECT_EQ(Sv(c.n), c.read) << "sv " << c.n;
  }
}

TEST_F(SystemVariablesTest, SnapshotStoreWritesItsOwnRunner) {
  RootEventRunner snapshotRunner;
  VariableStore snapshot(&snapshotRunner);
  snapshot.SetVariable(9000100, 30);
  EXPECT_EQ(snapshotRunner.soundValues[0], 30);
  EXPECT_EQ(RootRunner.soundValues[0], 100);
  // Live fields go to the live runner whatever the store.
  snapshot.SetVariable(9000021, 1);
  EXPECT_EQ(RootRunner.textEdge, 1);
  EXPECT_EQ(snapshotRunner.textEdge, 0);
  snapshot.SetVariable(9000053, 144);  // cancel takes decide's key: they swap
  EXPECT_EQ(snapshotRunner.keyCodes[RootEventRunner::kDecideKey], 145);
  EXPECT_EQ(RootRunner.keyCodes[RootEventRunner::kCancelKey], 145);
}

TEST_F(SystemVariablesTest, SystemStringFields) {
  Variables.SetStringVariable(9900026, "pre");
  Variables.SetStringVariable(9900027, "post");
  Variables.SetStringVariable(9900030, "pano");
  Variables.SetStringVariable(9900031, "fog");
  Variables.SetStringVariable(9900033, "ignored");
  Variables.SetStringVariable(9900007, "ignored");
  RootRunner.musicFileName = "music";
  EXPECT_EQ(RootRunner.messagePrefix, "pre");
  EXPECT_EQ(RootRunner.messageSuffix, "post");
  EXPECT_EQ(RootRunner.panoramaFileName, "pano");
  EXPECT_EQ(Variables.GetStringVariable(9900031), "fog");
  EXPECT_EQ(Variables.GetStringVariable(9900033), "music");
  EXPECT_EQ(Variables.GetStringVariable(9900007), "");
  EXPECT_EQ(Variables.GetStringVariable(9900001), "Z");
  EXPECT_EQ(Variables.GetStringVariable(9900002), "X");
  EXPECT_EQ(Variables.GetStringVariable(9900003), "C");
  EXPECT_EQ(Variables.GetStringVariable(9900004), "ボタン1");
  EXPECT_EQ(Variables.GetStringVariable(9900006), "ボタン3");
  EXPECT_TRUE(TakeErrors().empty());
}

TEST_F(SystemVariablesTest, KeyConfiguration) {
  SetKeyConfig(145, kDecideButton, 1);  // cancel's key: cancel takes decide's old one
  EXPECT_EQ(GetKeyConfig(kDecideButton, 1), 145);
  EXPECT_EQ(GetKeyConfig(kCancelButton, 1), 144);
  EXPECT_EQ(GetKeyConfig(kSubButton, 1), 146);
  SetKeyConfig(315, kSubButton, 0);
  EXPECT_EQ(RootRunner.keyCodes[RootEventRunner::kSubPad], 0x40000);
  EXPECT_EQ(GetKeyConfig(kSubButton, 0), 315);
  EXPECT_EQ(KeyConfigName(kSubButton, 0), "ボタン15");
  SetKeyConfig(301, kCancelButton, 0);  // decide's pad bit
  EXPECT_EQ(GetKeyConfig(kDecideButton, 0), 302);
  EXPECT_EQ(GetKeyConfig(kCancelButton, 0), 301);
  SetKeyConfig(7, kDecideButton, 0);  // not a pad code: stored unchanged
  EXPECT_EQ(RootRunner.keyCodes[RootEventRunner::kDecidePad], 7);
  EXPECT_EQ(GetKeyConfig(kDecideButton, 0), 0);
  EXPECT_EQ(KeyConfigName(kDecideButton, 0), "");
  EXPECT_EQ(GetKeyConfig(3, 1), 0);
  SetKeyConfig(100, 3, 1);
  EXPECT_EQ(GetKeyConfig(kDecideButton, 1), 145);

  const struct {
    int32_t code;
    const char* name;
  } names[] = {{1, "ESC"},     {2, "1"},      {10, "9"},   {11, "0"},         {29, "左Ctrl"}, {39, "；"},
               {43, "\\"},     {59, "F1"},    {68, "F10"}, {87, "F11"},       {125, "\\"},    {145, "@"},
               {200, "↑"},     {211, "DEL"},  {13, ""},    {255, ""},         {-1, ""},       {256, ""}};
  for (const auto& c : names) EXPECT_STREQ(KeyName(c.code), c.name) << c.code;
  SetKeyConfig(100 + 57, kSubButton, 1);
  EXPECT_EQ(KeyConfigName(kSubButton, 1), "SPACE");
}

TEST_F(SystemVariablesTest, ToneAndFlashSetters) {
  RootRunner.currentTone[0] = 5;
  RootRunner.SetToneTarget(10, -20, 30, 59);
  EXPECT_EQ(RootRunner.startTone[0], 5);
  EXPECT_EQ(RootRunner.targetTone[1], -20);
  EXPECT_EQ(RootRunner.toneCounter, 60);
  EXPECT_EQ(RootRunner.toneTotal, 60);
  RootRunner.SetFlash(1, 2, 3, INT_MAX);
  EXPECT_EQ(RootRunner.flashColor[2], 3);
  EXPECT_EQ(RootRunner.flashCounter, 0) << "the low 16 bits of frames + 1";
}

}  // namespace
