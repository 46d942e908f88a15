#pragma once
// A fresh sound manager on the layer's manual-clock mixer, in a game folder
// of its own (the current folder) whose Data folder the test fills. The
// system database has the sound types the test asks for; the root runner's
// sound fields are this floor's own record; error screens and message boxes
// are recorded.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/sound/SoundManager.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/ManualClockSound.h"
#include "tests/support/SoundDatabase.h"
#include "tests/support/TestDirectory.h"

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The sound types, their base counts stored and the tables sized.
  static void UseSounds(const std::vector<SoundRecord>& music, const std::vector<SoundRecord>& backgroundSounds,
                        const std::vector<SoundRecord>& soundEffects);
  // A file of the Data folder.
  void WriteData(const std::string& name, const std::string& bytes) const;
  // A mono 22.05 kHz WAV of ms milliseconds of a tone.
  static std::string Tone(uint32_t ms);

  // Runs the manager's update n times.
  static void Updates(int n);
  static int32_t Db(int volume) { return ManualClockSound::VolumeToHundredthsDb(volume); }

  TestDirectory dir_;
  ScopedCurrentDirectory cwd_{dir_.Path()};
  ManualClockSound sound_;
  static std::vector<std::string> errors;  // three lines per screen
  static std::vector<std::string> boxes;   // text, then title
};
