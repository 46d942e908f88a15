#pragma once
// FluidSynth, opened at run time like the outside MIDI library it stands in
// for, so that a machine without it still plays the game, without MIDI.

#include <fluidsynth.h>

struct FluidSynthLibrary {
  decltype(&new_fluid_settings) newSettings;
  decltype(&delete_fluid_settings) deleteSettings;
  decltype(&fluid_settings_setint) setInt;
  decltype(&fluid_settings_setnum) setNum;
  decltype(&fluid_settings_setstr) setStr;
  decltype(&fluid_settings_copystr) copyStr;
  decltype(&new_fluid_synth) newSynth;
  decltype(&delete_fluid_synth) deleteSynth;
  decltype(&fluid_synth_sfload) loadSoundFont;
  decltype(&fluid_synth_write_float) writeFloat;
  decltype(&fluid_synth_all_notes_off) allNotesOff;
  decltype(&fluid_synth_get_active_voice_count) activeVoices;
  decltype(&new_fluid_player) newPlayer;
  decltype(&delete_fluid_player) deletePlayer;
  decltype(&fluid_player_add_mem) addMemory;
  decltype(&fluid_player_play) play;
  decltype(&fluid_player_stop) stop;
  decltype(&fluid_player_seek) seek;
  decltype(&fluid_player_set_loop) setLoop;
  decltype(&fluid_player_set_tempo) setTempo;
  decltype(&fluid_set_log_function) setLogFunction;
};

// The library's functions, or null when the shared object cannot be opened
// or lacks one of them. A name once opened stays open for the run.
const FluidSynthLibrary* OpenFluidSynth(const char* sharedObject);
