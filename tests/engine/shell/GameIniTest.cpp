// The player's settings file: how it is read, written and kept through the
// start flag of the crash protocol.

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/shell/GameIni.h"
#include "runtime/Movan.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/TestDirectory.h"

namespace {

PlayerSettings Defaults() { return PlayerSettings{}; }

TEST(GameIniTest, ReadsEachKeyByItsOwnRule) {
  struct Case {
    const char* text;
    PlayerSettings expected;
  };
  const auto with = [](auto change) {
    PlayerSettings s = Defaults();
    change(s);
    return s;
  };
  const Case cases[] = {
      {"", Defaults()},
      // The start flag is a whole number; the other flags one character.
      {"Start=12\nWindowModeFlag=12\n", with([](PlayerSettings& s) { s.start = 12; s.windowMode = 1; })},
      {"Start=-1", with([](PlayerSettings& s) { s.start = -1; })},
      {"Start=99999999999", with([](PlayerSettings& s) { s.start = 2147483647; })},
      {"SoftModeFlag=x\nFrameSkip=2\nScreenShotFlag=0", with([](PlayerSettings& s) { s.softMode = 0; s.frameSkip = 2; s.screenShot = 0; })},
      // Key at the very end: no character follows.
      {"SEandBGM=", with([](PlayerSettings& s) { s.soundSwitch = 0; })},
      // The order of the lines and the comment after SEandBGM do not matter.
      {"SEandBGM=1  # 0:SE･BGMなし\r\nStart=1\r\n", with([](PlayerSettings& s) { s.soundSwitch = 1; s.start = 1; })},
      // Spaces go first, even inside the proxy texts; the character before
      // the LF (the CR) is left out.
      {"Proxy=pro xy.example\r\nProxyPort= 8080\r\n", with([](PlayerSettings& s) { s.proxy = "proxy.example"; s.proxyPort = "8080"; })},
      // On the last line without a line end the last character is lost.
      {"Proxy=a\r\nProxyPort=8080", with([](PlayerSettings& s) { s.proxy = "a"; s.proxyPort = "808"; })},
      {"Proxy=\nProxyPort=", with([](PlayerSettings& s) { s.proxy = ""; s.proxyPort = ""; })},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseGameIni(c.text), c.expected) << c.text;
}

TEST(GameIniTest, WritesTheWholeFileAndReadsItBackThroughTheFileLayer) {
  TestDirectory dir;
  ScopedCurrentDirectory inDir(dir.Path());
  PlayerSettings s;
  s.windowMode = 0;
  s.soundSwitch = 2;
  s.proxy = "proxy.example.jp";
  s.proxyPort = "3128";
  s.screenShot = 0;
  ASSERT_TRUE(WriteGameIni(s, 1, 1, 2));
  EXPECT_EQ(ReadWholeFile(dir.File("Game.ini")),
            "Start=1\r\nSoftModeFlag=1\r\nWindowModeFlag=0\r\nSEandBGM=2  # 0:SE･BGMなし 1:SEのみ 2:BGMのみ "
            "3:SE+BGMあり\r\nFrameSkip=2\r\nProxy=proxy.example.jp\r\nProxyPort=3128\r\nScreenShotFlag=0");
  PlayerSettings read;
  ASSERT_EQ(ReadGameIni(read), 1);
  PlayerSettings expected = s;
  expected.start = 1;
  expected.softMode = 1;
  expected.frameSkip = 2;
  EXPECT_EQ(read, expected);
  // Written through a temporary file renamed over the old one: nothing
  // else is left in the folder.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), std::filesystem::directory_iterator()), 1);
}

TEST(GameIniTest, AProxyTextOfAnyLengthIsKeptWhole) {
  TestDirectory dir;
  ScopedCurrentDirectory inDir(dir.Path());
  PlayerSettings s;
  s.proxy = std::string(6000, 'p');
  s.proxyPort = std::string(9000, '9');
  ASSERT_TRUE(WriteGameIni(s, 0, 0, 0));
  PlayerSettings read;
  ASSERT_EQ(ReadGameIni(read), 1);
  EXPECT_EQ(read.proxy, s.proxy);
  EXPECT_EQ(read.proxyPort, s.proxyPort);
}

TEST(GameIniTest, NoFileGivesTheFirstStartValuesAndKeepsTheOthers) {
  TestDirectory dir;
  ScopedCurrentDirectory inDir(dir.Path());
  PlayerSettings s;
  s.start = 7;
  s.softMode = 1;
  s.windowMode = 0;
  s.soundSwitch = 0;
  s.frameSkip = 2;
  s.proxy = "kept";
  s.proxyPort = "8080";
  s.screenShot = 0;
  EXPECT_EQ(ReadGameIni(s), -1);
  PlayerSettings expected;
  expected.start = -1;
  expected.proxy = "kept";
  expected.proxyPort = "8080";
  expected.screenShot = 0;
  EXPECT_EQ(s, expected);
}

}  // namespace
