#include "tests/support/MidiFileWriter.h"

#include <algorithm>
#include <tuple>

namespace {

void Be32(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void Be16(std::string& out, uint16_t v) {
  out.push_back(static_cast<char>(v >> 8));
  out.push_back(static_cast<char>(v & 0xFF));
}

// A variable-length quantity: seven bits a byte, the high bit on all but the last.
void Vlq(std::string& out, uint32_t v) {
  char bytes[5];
  int n = 0;
  bytes[n++] = static_cast<char>(v & 0x7F);
  while ((v >>= 7) != 0) bytes[n++] = static_cast<char>(0x80 | (v & 0x7F));
  while (n > 0) out.push_back(bytes[--n]);
}

struct Event {
  uint32_t tick;
  int order;  // note-offs before note-ons at the same tick
  std::string bytes;
};

}  // namespace

std::string BuildMidiFile(uint16_t ticksPerQuarter, uint32_t microsPerQuarter, const std::vector<MidiNote>& notes,
                          const std::vector<MidiProgram>& programs) {
  std::vector<Event> events;
  std::string tempo = {'\xFF', '\x51', '\x03'};
  tempo.push_back(static_cast<char>((microsPerQuarter >> 16) & 0xFF));
  tempo.push_back(static_cast<char>((microsPerQuarter >> 8) & 0xFF));
  tempo.push_back(static_cast<char>(microsPerQuarter & 0xFF));
  events.push_back({0, 0, tempo});
  for (const MidiProgram& p : programs) {
    events.push_back({0, 1, {static_cast<char>(0xC0 | (p.channel & 0x0F)), static_cast<char>(p.program & 0x7F)}});
  }
  for (const MidiNote& n : notes) {
    const char channel = static_cast<char>(n.channel & 0x0F);
    events.push_back({n.start, 3,
                      {static_cast<char>(0x90 | channel), static_cast<char>(n.key & 0x7F),
                       static_cast<char>(n.velocity & 0x7F)}});
    events.push_back({n.start + n.length, 2,
                      {static_cast<char>(0x80 | channel), static_cast<char>(n.key & 0x7F), '\x40'}});
  }
  std::stable_sort(events.begin(), events.end(),
                   [](const Event& a, const Event& b) { return std::tie(a.tick, a.order) < std::tie(b.tick, b.order); });
  std::string track;
  uint32_t last = 0;
  for (const Event& e : events) {
    Vlq(track, e.tick - last);
    track += e.bytes;
    last = e.tick;
  }
  Vlq(track, 0);
  track += std::string{'\xFF', '\x2F', '\x00'};

  std::string file = "MThd";
  Be32(file, 6);
  Be16(file, 0);  // one track
  Be16(file, 1);
  Be16(file, ticksPerQuarter);
  file += "MTrk";
  Be32(file, static_cast<uint32_t>(track.size()));
  return file + track;
}

std::string MidiScale(const std::vector<uint8_t>& keys) {
  std::vector<MidiNote> notes;
  uint32_t tick = 0;
  for (uint8_t key : keys) {
    notes.push_back({tick, 480, 0, key, 100});
    tick += 480;
  }
  return BuildMidiFile(480, 500000, notes, {{0, 0}});
}
