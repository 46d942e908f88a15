#include "runtime/host/midi/MidiSynth.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>
#include <string_view>
#include <vector>

#include "runtime/host/midi/FluidSynthLibrary.h"
#include "runtime/host/sound/SoundDevice.h"

namespace {

constexpr const char* kDefaultLibrary = "libfluidsynth.so.3";
// Rendered on after the last voice ended, so that the reverb dies away
// instead of sounding again at the next play.
constexpr uint32_t kTailFrames = 2 * kHostMixRate;
// Debian's General MIDI SoundFont, where FluidSynth's settings name none.
constexpr const char* kDebianSoundFont = "/usr/share/sounds/sf2/default-GM.sf2";

struct MidiSynth {
  std::string libraryName = kDefaultLibrary;
  std::string soundFontOverride;
  bool soundFontOverridden = false;

  const FluidSynthLibrary* fluid = nullptr;
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;
  std::string soundFont;
  bool soundFontLoaded = false;
  bool mixing = false;
  std::map<int32_t, std::vector<unsigned char>> lists;  // main thread only

  // Shared with the mixing thread.
  std::mutex mutex;
  fluid_player_t* player = nullptr;
  bool playing = false;
  uint32_t tail = 0;
  float gain = 1.0f;
  double tempo = 1.0;
};

MidiSynth& Midi() {
  static MidiSynth midi;
  return midi;
}

uint32_t ReadBe32(const unsigned char* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// A header chunk of at least six bytes, then chunks that each lie whole
// inside the bytes, one of them a track.
bool IsStandardMidiFile(const unsigned char* bytes, size_t size) {
  if (!bytes || size < 14 || std::string_view(reinterpret_cast<const char*>(bytes), 4) != "MThd") return false;
  const uint64_t headerLength = ReadBe32(bytes + 4);
  if (headerLength < 6) return false;
  uint64_t pos = 8 + headerLength;
  bool track = false;
  while (pos + 8 <= size) {
    const uint64_t length = ReadBe32(bytes + pos + 4);
    if (pos + 8 + length > size) return false;
    track = track || std::string_view(reinterpret_cast<const char*>(bytes + pos), 4) == "MTrk";
    pos += 8 + length;
  }
  return track && pos == size;
}

// The mixing thread's pull.
uint32_t Render(void* context, float* out, uint32_t frames) {
  MidiSynth& m = *static_cast<MidiSynth*>(context);
  std::lock_guard<std::mutex> lock(m.mutex);
  // Stopped and died away: nothing to render.
  if (m.playing || m.fluid->activeVoices(m.synth) > 0) {
    m.tail = kTailFrames;
  } else {
    if (m.tail == 0) return 0;
    m.tail -= std::min(m.tail, frames);
  }
  m.fluid->writeFloat(m.synth, static_cast<int>(frames), out, 0, 2, out, 1, 2);
  if (m.gain != 1.0f) {
    for (uint32_t i = 0; i < 2 * frames; ++i) out[i] *= m.gain;
  }
  return frames;
}

std::string InstalledSoundFont(const FluidSynthLibrary& fluid) {
  std::string path;
  if (fluid_settings_t* s = fluid.newSettings()) {
    char name[1024] = {};
    if (fluid.copyStr(s, "synth.default-soundfont", name, sizeof name) == FLUID_OK) path = name;
    fluid.deleteSettings(s);
  }
  return path.empty() ? kDebianSoundFont : path;
}

bool Readable(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  std::fclose(f);
  return true;
}

void DeletePlayer(MidiSynth& m) {
  if (!m.player) return;
  m.fluid->stop(m.player);
  m.fluid->deletePlayer(m.player);
  m.player = nullptr;
}

}  // namespace

void HostMidiSetLibraryName(const char* name) { Midi().libraryName = name ? name : kDefaultLibrary; }

void HostMidiSetSoundFont(const char* path) {
  Midi().soundFontOverridden = path != nullptr;
  Midi().soundFontOverride = path ? path : "";
}

bool HostMidiFind(std::string& missing) {
  MidiSynth& m = Midi();
  if (m.synth) return true;
  m.fluid = OpenFluidSynth(m.libraryName.c_str());
  if (!m.fluid) {
    missing = m.libraryName;
    return false;
  }
  m.soundFont = m.soundFontOverridden ? m.soundFontOverride : InstalledSoundFont(*m.fluid);
  if (!Readable(m.soundFont)) {
    missing = m.soundFont;
    return false;
  }
  return true;
}

bool HostMidiOpen() {
  MidiSynth& m = Midi();
  if (m.synth) return true;
  if (!m.fluid) return false;
  m.settings = m.fluid->newSettings();
  if (!m.settings) return false;
  m.fluid->setNum(m.settings, "synth.sample-rate", kHostMixRate);
  // The player advances with the rendered samples, not a timer thread.
  m.fluid->setStr(m.settings, "player.timing-source", "sample");
  m.fluid->setInt(m.settings, "synth.lock-memory", 0);
  m.synth = m.fluid->newSynth(m.settings);
  if (!m.synth) {
    m.fluid->deleteSettings(m.settings);
    m.settings = nullptr;
    return false;
  }
  return true;
}

bool HostMidiReadList(int32_t list, const unsigned char* bytes, size_t size) {
  MidiSynth& m = Midi();
  if (!m.synth || !IsStandardMidiFile(bytes, size)) return false;
  if (!m.soundFontLoaded) {
    // The mixer does not know the synthesizer yet: no lock is needed, and
    // the long load holds nothing up.
    if (m.fluid->loadSoundFont(m.synth, m.soundFont.c_str(), 1) == FLUID_FAILED) return false;
    m.soundFontLoaded = true;
    m.mixing = HostSoundAddGenerator(Render, &m);
  }
  m.lists[list].assign(bytes, bytes + size);
  return true;
}

void HostMidiDeleteList(int32_t list) { Midi().lists.erase(list); }

bool HostMidiPlay(int32_t list, int32_t startTick) {
  MidiSynth& m = Midi();
  auto it = m.lists.find(list);
  if (!m.synth || it == m.lists.end()) return false;
  std::lock_guard<std::mutex> lock(m.mutex);
  DeletePlayer(m);
  m.playing = false;
  m.fluid->allNotesOff(m.synth, -1);
  m.player = m.fluid->newPlayer(m.synth);
  if (!m.player) return false;
  // The player keeps its own copy of the file.
  if (m.fluid->addMemory(m.player, it->second.data(), it->second.size()) != FLUID_OK) {
    DeletePlayer(m);
    return false;
  }
  m.fluid->setLoop(m.player, -1);
  m.fluid->setTempo(m.player, FLUID_PLAYER_TEMPO_INTERNAL, m.tempo);
  if (startTick > 0) m.fluid->seek(m.player, startTick);
  m.playing = m.fluid->play(m.player) == FLUID_OK;
  return m.playing;
}

void HostMidiStop() {
  MidiSynth& m = Midi();
  if (!m.synth) return;
  std::lock_guard<std::mutex> lock(m.mutex);
  if (m.player) m.fluid->stop(m.player);
  m.playing = false;
  m.fluid->allNotesOff(m.synth, -1);
}

void HostMidiSetVolume(int32_t hundredthsDb) {
  const float gain = hundredthsDb >= 0 ? 1.0f
                     : hundredthsDb <= -10000
                         ? 0.0f
                         : static_cast<float>(std::pow(10.0, hundredthsDb / 2000.0));
  MidiSynth& m = Midi();
  std::lock_guard<std::mutex> lock(m.mutex);
  m.gain = gain;
}

void HostMidiSetTempo(double factor) {
  MidiSynth& m = Midi();
  std::lock_guard<std::mutex> lock(m.mutex);
  m.tempo = std::clamp(factor, 0.001, 1000.0);
  if (m.player) m.fluid->setTempo(m.player, FLUID_PLAYER_TEMPO_INTERNAL, m.tempo);
}

void HostMidiClose() {
  MidiSynth& m = Midi();
  // Not under the lock: the device takes its own, and the mixing thread
  // takes the device's before ours.
  if (m.mixing) HostSoundRemoveGenerator(Render, &m);
  m.mixing = false;
  {
    std::lock_guard<std::mutex> lock(m.mutex);
    DeletePlayer(m);
    m.playing = false;
    m.gain = 1.0f;
    m.tempo = 1.0;
  }
  if (m.synth) m.fluid->deleteSynth(m.synth);
  if (m.settings) m.fluid->deleteSettings(m.settings);
  m.synth = nullptr;
  m.settings = nullptr;
  m.soundFontLoaded = false;
  m.lists.clear();
}
