#include <algorithm>
#include <cstring>
#include <string>

#include "runtime/Movan.h"
#include "runtime/host/midi/MidiSynth.h"

int LoadMidiPlayer(char* missing, size_t size) {
  std::string what;
  if (HostMidiFind(what)) return 0;
  if (missing && size > 0) {
    const size_t n = std::min(what.size(), size - 1);
    std::memcpy(missing, what.data(), n);
    missing[n] = '\0';
  }
  return -1;
}

int MidiPlayerSetDevice(int, int) { return HostMidiOpen() ? 0 : -1; }

int MidiPlayerReadList(const void* image, int size, int, int list) {
  if (!image || size <= 0) return -1;
  return HostMidiReadList(list, static_cast<const unsigned char*>(image), static_cast<size_t>(size)) ? 0 : -1;
}

int MidiPlayerDeleteList(int list) {
  HostMidiDeleteList(list);
  return 0;
}

int MidiPlayerPlay(int, int list, int start) { return HostMidiPlay(list, start) ? 0 : -1; }

int MidiPlayerStop() {
  HostMidiStop();
  return 0;
}

int MidiPlayerMasterVolume(int value) {
  HostMidiSetVolume(value);
  return 0;
}

int MidiPlayerTempoDepth(int value) {
  // Depth d gives the percent 100 + 2d upward and (d + 200) / 2 downward,
  // the inverse of how the engine maps a tempo percent to a depth.
  const double percent = value >= 0 ? 100.0 + 2.0 * value : (value + 200.0) / 2.0;
  HostMidiSetTempo(percent / 100.0);
  return 0;
}

int MidiPlayerFree() {
  HostMidiClose();
  return 0;
}

void SetMidiPlayerLibraryName(const char* name) { HostMidiSetLibraryName(name); }

void SetMidiPlayerSoundFont(const char* path) { HostMidiSetSoundFont(path); }
