#pragma once
// The outside speech synthesis library. No such library exists on this
// platform, so by default its file is absent: nothing loads, no message
// shows, and the speech command reports that it cannot speak. Tests put a
// library in its place through the seam below.

#include <cstdint>

struct SpeechLibraryEntries {
  // Text as the game holds it and a speed: the image of a sound file and its
  // size in bytes, or null.
  const unsigned char* (*synthesize)(const char* text, int32_t speed, int32_t* size);
  // Gives an image back.
  void (*freeWave)(const unsigned char* wave);
};

// Test seam: a library file with these entry points (a null one is not
// exported) lies in the executable's folder; null: no file.
void SetSpeechLibraryFile(const SpeechLibraryEntries* library);

// Whether the library's file is there.
bool SpeechDllExists();
// Loads the library; true when loaded now or already. A library without
// its synthesis entry point shows a message box and stays unusable.
bool LoadSpeechDll();
// Always true.
bool UnloadSpeechDll();
// Whether speech can be synthesized: the synthesis entry point is filled.
bool SpeechAvailable();

// The entry points; null, and nothing, while not filled.
const unsigned char* SpeechSynthesize(const char* text, int32_t speed, int32_t* size);
void SpeechFreeWave(const unsigned char* wave);
