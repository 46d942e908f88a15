#include "runtime/host/midi/FluidSynthLibrary.h"

#include <dlfcn.h>

#include <map>
#include <string>

namespace {

template <typename F>
bool Resolve(void* handle, const char* name, F& slot) {
  slot = reinterpret_cast<F>(dlsym(handle, name));
  return slot != nullptr;
}

bool ResolveAll(void* h, FluidSynthLibrary& f) {
  return Resolve(h, "new_fluid_settings", f.newSettings) && Resolve(h, "delete_fluid_settings", f.deleteSettings) &&
         Resolve(h, "fluid_settings_setint", f.setInt) && Resolve(h, "fluid_settings_setnum", f.setNum) &&
         Resolve(h, "fluid_settings_setstr", f.setStr) && Resolve(h, "fluid_settings_copystr", f.copyStr) &&
         Resolve(h, "new_fluid_synth", f.newSynth) && Resolve(h, "delete_fluid_synth", f.deleteSynth) &&
         Resolve(h, "fluid_synth_sfload", f.loadSoundFont) && Resolve(h, "fluid_synth_write_float", f.writeFloat) &&
         Resolve(h, "fluid_synth_all_notes_off", f.allNotesOff) &&
         Resolve(h, "fluid_synth_get_active_voice_count", f.activeVoices) &&
         Resolve(h, "new_fluid_player", f.newPlayer) && Resolve(h, "delete_fluid_player", f.deletePlayer) &&
         Resolve(h, "fluid_player_add_mem", f.addMemory) && Resolve(h, "fluid_player_play", f.play) &&
         Resolve(h, "fluid_player_stop", f.stop) && Resolve(h, "fluid_player_seek", f.seek) &&
         Resolve(h, "fluid_player_set_loop", f.setLoop) && Resolve(h, "fluid_player_set_tempo", f.setTempo) &&
         Resolve(h, "fluid_set_log_function", f.setLogFunction);
}

}  // namespace

const FluidSynthLibrary* OpenFluidSynth(const char* sharedObject) {
  // Never closed: the library keeps threads and state of its own that a
  // close could pull from under them.
  static std::map<std::string, FluidSynthLibrary> opened;
  const std::string name = sharedObject ? sharedObject : "";
  auto it = opened.find(name);
  if (it != opened.end()) return &it->second;
  void* handle = dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) return nullptr;
  FluidSynthLibrary library{};
  if (!ResolveAll(handle, library)) {
    dlclose(handle);
    return nullptr;
  }
  // Its messages would go to stderr; the layer reports what matters itself.
  for (int level = FLUID_PANIC; level < LAST_LOG_LEVEL; ++level) library.setLogFunction(level, nullptr, nullptr);
  return &opened.emplace(name, library).first->second;
}
