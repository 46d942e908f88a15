#pragma once
// The outside MIDI library, reached through entry points filled when it
// loads (the first MidiSetDevice) and emptied when it is shut down. A
// wrapper whose entry point is empty does nothing and, where a result is
// expected, returns -1. List number n holds music entry n - 1.

#include <cstdint>

// Loads the library first when it is not loaded; without it a message box
// says so and the result is -1. 0 means MIDI is available.
int32_t MidiSetDevice(int32_t device, int32_t second);
int32_t MidiReadList(const void* image, int32_t size, int32_t option, int32_t list);
void MidiDeleteList(int32_t list);
int32_t MidiPlay(int32_t option, int32_t list, int32_t start);
void MidiStop();
// 0 full volume, lower quieter.
void MidiMasterVolume(int32_t value);
// 0 normal speed.
void MidiTempoDepth(int32_t value);
// Frees and unloads the library; every later call does nothing until the
// next MidiSetDevice.
void MidiShutdown();
// Whether the library is loaded.
bool MidiLibraryLoaded();
