#pragma once
// A game folder in a temporary directory made the current folder, its
// databases loaded and a fresh live game on its map 0; the save-slot cache
// empty, a fixed clock, unlimited disk space and the error screens
// recorded.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "engine/saves/SaveSlotCache.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/TestDirectory.h"

class SaveTest : public ::testing::Test {
 public:
  static constexpr const char* kTitle = "セーブの試験";

  // The game of these tests written into the folder, which is the current
  // folder, and loaded as the live game; EndGame puts everything back.
  static void PrepareGame(const std::string& folder);
  static void EndGame();

 protected:
  void SetUp() override;
  void TearDown() override;

  // The file of a game path below the game folder.
  std::string HostFile(const std::string& gamePath) const;
  std::string FileBytes(const std::string& gamePath) const { return ReadWholeFile(HostFile(gamePath)); }
  void PutFile(const std::string& gamePath, const std::string& bytes) const {
    WriteWholeFile(HostFile(gamePath), bytes);
  }
  // Every part of the live game that a save holds, as the save writes it.
  static std::string LiveBytes();
  // The body bytes of a save file, unscrambled (header kept).
  static std::string Unscrambled(const std::string& file);
  // A file made by the engine's writer from the live game, without saving.
  static std::string SaveBytesOfLiveGame();

  TestDirectory dir_;
  std::unique_ptr<ScopedCurrentDirectory> cwd_;
  static std::vector<std::array<std::string, 3>> errorScreens;
  static int64_t clock;
  static int64_t freeSpace;
};
