#pragma once
// The game's input frame by frame, run-length encoded, so that a game can be
// played again from the same input. Seed entries hold the engine's random
// state, so that playback can start from it and check that it still agrees.
//
// Entries are (code, value) pairs: codes 1..240 are runs of that many frames
// of one input byte (the value); playback counts them down in place, and 0
// is a run used up. 250 records a seed, 251 asks playback to check one.

#include <array>
#include <cstdint>
#include <vector>

#include "engine/data/file/SaveBuffer.h"

class ReplayLog {
 public:
  static constexpr uint8_t kLongestRun = 240;
  static constexpr uint8_t kSeedRecord = 250;
  static constexpr uint8_t kSeedCheck = 251;
  // Seed checks this near the start are not compared.
  static constexpr int32_t kFirstCheckedPosition = 10;

  // Up, down, left, right, decide, cancel, sub, fourth: bit k of a frame's
  // input byte is flag k.
  using Frame = std::array<uint8_t, 8>;

  uint8_t currentInput = 0;  // the input byte of the run being counted
  int32_t runLength = 0;     // frames of it not yet appended
  std::vector<uint8_t> codes;
  std::vector<int32_t> values;  // as long as codes
  int32_t readPosition = 0;
  int32_t framesPlayed = 0;

  // A log whose one entry records the engine's random state now (read, not
  // stepped).
  ReplayLog();
  // No entry at all: the global log before the first title.
  static ReplayLog Blank();

  void Record(const Frame& flags);
  // One frame of playback. At the end of the log the flags are 0, the
  // replay-ended flag is set and the error screen says so; a seed check that
  // fails shows both seeds and playback goes on.
  void PlayNext(Frame& flags);
  void AddSeedRecord(uint32_t seed);
  // Appends the pending run, if any.
  void FlushRun();
  // The value of the first seed record; false when the log has none.
  bool FirstSeed(uint32_t& seed) const;

  // The replay section of a save body: a flag byte, and with flag 1 an
  // int32 count and the entries (code, then the value as one byte below
  // code 250, else as int32). A flag other than 1 leaves the log as it is.
  // False (the cursor's overrun flag set, the log unchanged) when the
  // section is cut short or its count cannot fit in the bytes left.
  bool Read(SaveBuffer& in);
  // Writes the section with flag 1 and every entry, the pending run last;
  // the log itself does not change.
  bool Write(SaveBuffer& out) const;

  bool operator==(const ReplayLog&) const = default;

 private:
  struct NoEntries {};
  explicit ReplayLog(NoEntries) {}
};

// The log of the running game: recorded into in live play, read from while
// a replay plays back.
extern ReplayLog GameReplay;

// The game is played back from GameReplay (instead of recorded into it).
extern bool ReplayPlaying;
// The played-back log has run out, or the player stopped it: the frame loop
// then ends the playback. Input is no longer taken from the log meanwhile.
extern bool ReplayEnded;
