#pragma once
// Standard MIDI Files for the tests and the demo game: one track (format 0)
// with a tempo, a program per channel and notes.

#include <cstdint>
#include <string>
#include <vector>

struct MidiNote {
  uint32_t start = 0;   // ticks
  uint32_t length = 0;  // ticks
  uint8_t channel = 0;
  uint8_t key = 60;
  uint8_t velocity = 100;
};

struct MidiProgram {
  uint8_t channel = 0;
  uint8_t program = 0;
};

// ticksPerQuarter ticks make a quarter note of microsPerQuarter.
std::string BuildMidiFile(uint16_t ticksPerQuarter, uint32_t microsPerQuarter, const std::vector<MidiNote>& notes,
                          const std::vector<MidiProgram>& programs = {});

// A tune of quarter notes of the given keys, one after the other, on a
// piano, at 120 beats a minute (480 ticks a quarter).
std::string MidiScale(const std::vector<uint8_t>& keys);
