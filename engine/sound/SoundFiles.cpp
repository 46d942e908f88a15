// Loading sounds: by entry, by file name, and the spare entries that sounds
// given by file name take.

#include <algorithm>
#include <cctype>

#include "engine/data/database/Databases.h"
#include "engine/data/file/FileBuffer.h"
#include "engine/services/DataFolder.h"
#include "engine/services/ErrorLocation.h"
#include "engine/services/ErrorScreen.h"
#include "engine/sound/MidiLibrary.h"
#include "engine/sound/RunnerSounds.h"
#include "engine/sound/SoundEntries.h"
#include "engine/sound/SoundItems.h"
#include "engine/sound/SoundManager.h"
#include "runtime/Movan.h"

using namespace sound_items;

namespace {

constexpr const char* kLoadError = "音声ファイル読み込みエラー";

// A decimal field: leading spaces, a sign, digits up to the first other
// byte (none: 0), saturated.
int32_t DecimalField(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int64_t value = 0;
  for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
    value = std::min<int64_t>(value * 10 + (text[i] - '0'), int64_t{INT32_MAX} + 1);
  }
  return Saturate(negative ? -value : value);
}

// The sound of a file image: whole in memory with buffers for a sound
// effect, streamed from the image for music and background sound.
int32_t MakeSound(int32_t kind, const FileBuffer& file, int32_t soundEffectBuffers) {
  const size_t size = static_cast<size_t>(file.Size());
  if (kind == SoundManager::kSoundEffect) return CreateSoundFromMemory(file.Data(), size, soundEffectBuffers, -1);
  return CreateSoundFromMemoryOneBuffer(file.Data(), size, -1);
}

}  // namespace

bool SoundManager::Load(int32_t kind, int32_t entry) {
  if (kind < 0 || kind > 2 || entry < 0 || !KindEnabled(kind)) return true;
  if (kind == kMusic && MarkAt(midiMarks, entry) == 1) return true;
  // Spare entries are loaded by file name.
  if (entry >= SoundEntryCounts.baseCount[kind]) return true;
  SetSoundLoadMode(kind == kSoundEffect ? 0 : 2);
  if (HandleOf(kind, entry) != 0) return true;
  const std::string name = FileItem(kind, entry);
  const std::string path = DataFolder() + name;
  FileBuffer file;
  if (!file.Load(path.c_str())) {
    if (!name.empty()) {
      ShowErrorScreen(kLoadError,
                      "ｼｽﾃﾑDBﾀｲﾌﾟ" + std::to_string(TypeOf(kind)) + "-" + std::to_string(entry) + ":" + path +
                          " が見つかりません\n",
                      ErrorLocationText());
    }
    return true;
  }
  const int32_t handle = MakeSound(kind, file, 5);
  if (handle == -1) return true;
  handles[kind][entry] = handle;
  if (kind == kSoundEffect) FreeIdleSoundEffects(handle);
  return true;
}

void SoundManager::LoadFile(const std::string& path, int32_t kind, int32_t entry) {
  if (kind < 0 || kind > 2) return;
  const bool midi = kind == kMusic && IsMidiName(path);
  if (kind == kMusic) SetMark(midiMarks, entry, midi ? 1 : 0);
  if (kind != kSoundEffect) SetMark(oggMarks[kind], entry, IsOggName(path) ? 1 : 0);
  if (loadedFiles.count(path) != 0) return;
  FileBuffer file;
  if (!file.Load(path.c_str())) {
    ShowErrorScreen(kLoadError, "ｻｳﾝﾄﾞ:ﾌｧｲﾙ「" + path + "」が見つかりません\n", "");
    return;
  }
  SetSoundLoadMode(kind == kSoundEffect ? 0 : 2);
  if (midi) {
    // The library keeps its own copy; MIDI files are read again each time.
    MidiReadList(file.Data(), file.Size(), 1, MidiListOf(entry));
    return;
  }
  if (kind == kMusic) MidiDeleteList(MidiListOf(entry));
  const int32_t handle = MakeSound(kind, file, 3);
  if (handle != -1) loadedFiles[path] = handle;
}

int32_t SoundManager::PlayFile(const std::string& text, int32_t kind, int32_t fade, int32_t loopStart,
                               int32_t volume, int32_t tempo) {
  if (kind < 0 || kind > 2) return -1;
  const int32_t spare = SoundEntryCounts.SpareEntry(kind);
  std::string lines = text;
  std::erase(lines, '\r');
  const size_t firstBreak = lines.find('\n');
  if (lines.empty() || firstBreak == 0 || firstBreak == 1) return -1;
  // The name, then optional lines of volume, tempo and loop start.
  std::vector<std::string> fields;
  for (size_t start = 0;;) {
    const size_t end = lines.find('\n', start);
    fields.push_back(lines.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  if (fields.size() > 1) volume = DecimalField(fields[1]);
  if (fields.size() > 2) tempo = DecimalField(fields[2]);
  if (fields.size() > 3) loopStart = DecimalField(fields[3]);
  const std::string path = "Data\\" + fields[0];

  LoadFile(path, kind, spare);
  auto known = loadedFiles.find(path);
  const int32_t handle = known == loadedFiles.end() ? 0 : known->second;
  const RunnerSounds r = LiveRunnerSounds();
  if (kind != kSoundEffect) {
    Fade& f = fades[kind];
    const bool sameMidi =
        kind == kMusic && currentIsMidi && MarkAt(midiMarks, spare) == 1 && path == *r.fileName[kMusic];
    if (sameMidi || (handle != 0 && handle == f.currentHandle)) {
      f.counter = f.length = Saturate(std::max<int64_t>(int64_t{fade} + 1, 1));
      f.fadeInStart = f.fadeFrom = f.target;
      f.target = PercentOf(volume, r.masterVolume[kind]);
      f.percent = tempo;
      if (sameMidi) {
        midiTempoCountdown = -1;
        MidiTempoDepth(MidiTempoDepthOf(tempo));
      } else {
        SetSoundFrequency(PercentOf(GetSoundFrequency(handle), tempo), handle);
      }
      r.values[kind][0] = volume;
      r.values[kind][1] = tempo;
      return kAdjusted;
    }
  }
  if (kind == kSoundEffect && HandleOf(kind, spare) > 0 && !speechMarks.empty() && MarkAt(speechMarks, spare) != 0) {
    Release(kind, spare);
    SetMark(speechMarks, spare, 0);
  }
  handles[kind][spare] = handle;
  const int32_t type = TypeOf(kind);
  SystemDatabase.SetString(type, spare, 0, path);
  SystemDatabase.SetInt(type, spare, 1, volume);
  SystemDatabase.SetInt(type, spare, 2, tempo);
  if (kind != kSoundEffect) SystemDatabase.SetInt(type, spare, 3, loopStart);
  SoundEntryCounts.AdvanceFileCount(kind);
  return spare;
}
