#include "engine/sound/SpeechLibrary.h"

#include "runtime/Movan.h"

namespace {

const SpeechLibraryEntries* gFile = nullptr;
bool gLoaded = false;
SpeechLibraryEntries gSlots{};

}  // namespace

void SetSpeechLibraryFile(const SpeechLibraryEntries* library) { gFile = library; }

bool SpeechDllExists() { return gFile != nullptr; }

bool LoadSpeechDll() {
  if (gLoaded) return true;
  if (!gFile) return false;
  gLoaded = true;
  gSlots = *gFile;
  if (!gSlots.synthesize) {
    ShowMessageBox("AquesTalk.dllは存在しましたが、関数が読み込めませんでした。", "DLL読み込みエラー");
    return false;
  }
  return true;
}

bool UnloadSpeechDll() {
  gLoaded = false;
  gSlots = SpeechLibraryEntries{};
  return true;
}

bool SpeechAvailable() { return gSlots.synthesize != nullptr; }

const unsigned char* SpeechSynthesize(const char* text, int32_t speed, int32_t* size) {
  return gSlots.synthesize ? gSlots.synthesize(text, speed, size) : nullptr;
}

void SpeechFreeWave(const unsigned char* wave) {
  if (gSlots.freeWave) gSlots.freeWave(wave);
}
