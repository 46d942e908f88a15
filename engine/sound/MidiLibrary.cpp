#include "engine/sound/MidiLibrary.h"

#include <cstdio>

#include "runtime/Movan.h"

namespace {

struct EntryPoints {
  int (*setDevice)(int, int);
  int (*readList)(const void*, int, int, int);
  int (*deleteList)(int);
  int (*play)(int, int, int);
  int (*stop)();
  int (*masterVolume)(int);
  int (*tempoDepth)(int);
  int (*free)();
};

bool gLoaded = false;
EntryPoints gSlots{};

void LoadMidiLibrary() {
  char missing[512] = {};
  if (LoadMidiPlayer(missing, sizeof missing) != 0) {
    char text[700];
    std::snprintf(text, sizeof text, "GuruGuruSMF.dllがロードできませんでした。\n%s\n\nMIDI再生なしで起動します。",
                  missing);
    ShowMessageBox(text, "エラー");
    return;
  }
  gLoaded = true;
  gSlots = {MidiPlayerSetDevice, MidiPlayerReadList, MidiPlayerDeleteList, MidiPlayerPlay,
            MidiPlayerStop,      MidiPlayerMasterVolume, MidiPlayerTempoDepth, MidiPlayerFree};
}

}  // namespace

int32_t MidiSetDevice(int32_t device, int32_t second) {
  if (!gLoaded) LoadMidiLibrary();
  return gSlots.setDevice ? gSlots.setDevice(device, second) : -1;
}

int32_t MidiReadList(const void* image, int32_t size, int32_t option, int32_t list) {
  return gSlots.readList ? gSlots.readList(image, size, option, list) : -1;
}

void MidiDeleteList(int32_t list) {
  if (gSlots.deleteList) gSlots.deleteList(list);
}

int32_t MidiPlay(int32_t option, int32_t list, int32_t start) {
  return gSlots.play ? gSlots.play(option, list, start) : -1;
}

void MidiStop() {
  if (gSlots.stop) gSlots.stop();
}

void MidiMasterVolume(int32_t value) {
  if (gSlots.masterVolume) gSlots.masterVolume(value);
}

void MidiTempoDepth(int32_t value) {
  if (gSlots.tempoDepth) gSlots.tempoDepth(value);
}

void MidiShutdown() {
  if (!gLoaded) return;
  if (gSlots.free) gSlots.free();
  gLoaded = false;
  gSlots = EntryPoints{};
}

bool MidiLibraryLoaded() { return gLoaded; }
