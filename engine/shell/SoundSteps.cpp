#include "engine/shell/SoundSteps.h"

#include <string>
#include <vector>

#include "engine/data/database/Databases.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/sound/MidiLibrary.h"
#include "engine/sound/SoundEntries.h"
#include "engine/sound/SoundManager.h"
#include "engine/sound/SpeechLibrary.h"
#include "runtime/Movan.h"
#include "runtime/WildcardMatch.h"

namespace {

// The font files installed, as game paths, for their removal.
std::vector<std::string> gPrivateFonts;

struct FontScan {
  const char* pattern;  // upper case
  std::vector<std::string> names;
};

void CollectMatching(const char* name, void* context) {
  FontScan& scan = *static_cast<FontScan*>(context);
  std::string upper = name;
  ShiftJisUpper(upper.data(), upper.size());
  if (MatchWildcard(scan.pattern, upper.c_str()) == 0) scan.names.push_back(name);
}

// "*.ttf", then "*.ttc", of a folder below the game folder ("" the folder
// itself).
void InstallFontsOf(const std::string& folder) {
  for (const char* pattern : {"*.TTF", "*.TTC"}) {
    FontScan scan{pattern, {}};
    ListGameFolder(folder.c_str(), CollectMatching, &scan);
    for (const std::string& name : scan.names) {
      const std::string path = folder.empty() ? name : folder + "\\" + name;
      if (AddPrivateFontFile(path.c_str()) > 0) gPrivateFonts.push_back(path);
    }
  }
}

}  // namespace

void InstallPrivateFonts() {
  InstallFontsOf("");
  InstallFontsOf("Data");
}

void RemovePrivateFonts() {
  for (const std::string& path : gPrivateFonts) RemovePrivateFontFile(path.c_str());
  gPrivateFonts.clear();
}

bool StartMidi(int device) { return MidiSetDevice(device, 0) == 0; }
void ShutdownMidi() { MidiShutdown(); }

void LoadSpeech() {
  if (SpeechDllExists()) LoadSpeechDll();
}
void UnloadSpeech() { UnloadSpeechDll(); }

void ResetSoundManager() {
  for (int32_t kind = 0; kind <= 2; ++kind) GameSounds.Play(kind, -1, 0, 0);
  for (int i = 0; i < 3; ++i) GameSounds.Update();
  DeleteAllSounds(0);
  GameSounds = SoundManager();
  GameSounds.ResizeTables();
  GameSounds.Update();
}

void StoreSoundEntryCounts() {
  SoundEntryCounts = SoundEntries();
  SoundEntryCounts.StoreBaseRecordCounts();
}

void UpdateSoundManager() { GameSounds.Update(); }

void RestartSceneSounds() {
  RootEventRunner& r = RootRunner;
  const int32_t taken[2] = {r.currentMusicEntry, r.currentBackgroundSoundEntry};
  // No entry matches -100: the plays below start afresh.
  r.currentMusicEntry = r.currentBackgroundSoundEntry = -100;
  const std::string* names[2] = {&r.musicFileName, &r.backgroundSoundFileName};
  const int32_t* values[2] = {r.musicParameters, r.backgroundSoundParameters};
  for (int32_t kind = 0; kind < 2; ++kind) {
    int32_t entry = taken[kind];
    if (entry == -3) {
      // Started from a file name: registered again in the next spare entry.
      entry = SoundEntryCounts.SpareEntry(kind);
      const int32_t type = kind + 1;
      const std::string path = *names[kind];
      SystemDatabase.SetString(type, entry, 0, path);
      for (int32_t item = 1; item <= 3; ++item) SystemDatabase.SetInt(type, entry, item, values[kind][item - 1]);
      GameSounds.LoadFile(path, kind, entry);
      auto loaded = GameSounds.loadedFiles.find(path);
      GameSounds.handles[kind][entry] = loaded == GameSounds.loadedFiles.end() ? 0 : loaded->second;
      SoundEntryCounts.AdvanceFileCount(kind);
    }
    GameSounds.Play(kind, entry, 20, 0);
  }
}

void ReleaseIdleSounds() { GameSounds.ReleaseHandles(false); }
