#pragma once
// The MIDI player stand-in: Standard MIDI Files played by FluidSynth with a
// General MIDI SoundFont, without an audio driver of FluidSynth's own. The
// synthesizer renders on the mixing thread as a generator of the sound
// device; everything else runs on the main thread. The lock between the two
// is held only for short steps, never while a file or the SoundFont loads,
// and never around a call into the sound device.

#include <cstddef>
#include <cstdint>
#include <string>

// Test seams: the shared object and the SoundFont looked for (null: the
// installed defaults).
void HostMidiSetLibraryName(const char* name);
void HostMidiSetSoundFont(const char* path);

// True when FluidSynth opens and the SoundFont file can be read; otherwise
// false with the path of what is missing.
bool HostMidiFind(std::string& missing);
// Makes the synthesizer, still without a SoundFont. False when it cannot be
// made; true when it exists already.
bool HostMidiOpen();
// Keeps a copy of a Standard MIDI File as list `list`, replacing the one
// there. The first list loads the SoundFont (about a second) and joins the
// mixer. False for bytes that are not a Standard MIDI File, before
// HostMidiOpen, or when the SoundFont cannot be loaded.
bool HostMidiReadList(int32_t list, const unsigned char* bytes, size_t size);
void HostMidiDeleteList(int32_t list);
// Plays the list from startTick, looping, on a fresh player; whatever
// played before stops. False for an unknown list.
bool HostMidiPlay(int32_t list, int32_t startTick);
// Stops the player with all notes off; their release dies away.
void HostMidiStop();
// Gain of the output as 10^(hundredthsDb / 2000); 0 and above full,
// -10000 and below silent.
void HostMidiSetVolume(int32_t hundredthsDb);
// The files' own tempo times factor, clamped to 0.001..1000; kept for the
// players to come.
void HostMidiSetTempo(double factor);
// Leaves the mixer and frees the player, the synthesizer and every list.
void HostMidiClose();
