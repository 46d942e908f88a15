#include "engine/events/LiveGameHooks.h"

#include <algorithm>

#include "engine/sound/MidiLibrary.h"
#include "engine/sound/SoundEntries.h"
#include "engine/sound/SoundManager.h"
#include "runtime/Movan.h"

namespace {

int32_t Zero() { return 0; }
bool No() { return false; }
void IgnoreValue(int32_t) {}
void IgnoreTwo(int32_t, int32_t) {}
std::string NoTextOf(int32_t) { return ""; }
void IgnoreText(int32_t, const std::string&) {}

// The sound manager's rows: the live music (kind 0) and background sound (1).
int32_t SoundVolume(int32_t kind) { return GameSounds.fades[kind].target; }
void RampSoundVolume(int32_t kind, int32_t target, int32_t frames) { GameSounds.RampVolume(kind, target, frames); }
int32_t SoundSpeed(int32_t kind) { return GameSounds.fades[kind].percent; }
void StoreSoundSpeed(int32_t kind, int32_t percent) { GameSounds.fades[kind].percent = percent; }
bool MidiMusicPlaying() { return GameSounds.currentIsMidi != 0; }
void ClearPendingTempo() { GameSounds.midiTempoCountdown = -1; }
void SendMidiTempoDepth(int32_t depth) { MidiTempoDepth(depth); }
void SetSoundRatePercent(int32_t kind, int32_t percent) {
  const int32_t handle = GameSounds.fades[kind].currentHandle;
  if (handle == 0) return;
  const int64_t rate = int64_t{GetSoundFrequency(handle)} * percent / 100;
  SetSoundFrequency(static_cast<int32_t>(std::clamp<int64_t>(rate, INT32_MIN, INT32_MAX)), handle);
}
int32_t SoundBaseVolume(int32_t kind) { return SoundEntryCounts.baseVolume[kind]; }
void SystemLocalTime(std::tm& out) {
  const std::time_t now = std::time(nullptr);
  localtime_r(&now, &out);
}

}  // namespace

namespace {

const LiveGameHooks kDefaults = {
    SoundVolume, RampSoundVolume, SoundSpeed, StoreSoundSpeed, MidiMusicPlaying, ClearPendingTempo,
    SendMidiTempoDepth, SetSoundRatePercent, SoundBaseVolume,
    IgnoreValue, SystemLocalTime,
    No, NoTextOf, IgnoreText, Zero, Zero, IgnoreTwo, Zero, Zero, No, No,
};

LiveGameHooks gHooks = kDefaults;

template <typename F>
void Fill(F& entry, F fallback) {
  if (!entry) entry = fallback;
}

}  // namespace

const LiveGameHooks& CurrentLiveGameHooks() { return gHooks; }

void SetLiveGameHooks(const LiveGameHooks* hooks) {
  if (!hooks) {
    gHooks = kDefaults;
    return;
  }
  LiveGameHooks h = *hooks;
  Fill(h.currentVolume, kDefaults.currentVolume);
  Fill(h.rampVolume, kDefaults.rampVolume);
  Fill(h.speed, kDefaults.speed);
  Fill(h.storeSpeed, kDefaults.storeSpeed);
  Fill(h.midiMusicPlaying, kDefaults.midiMusicPlaying);
  Fill(h.clearPendingTempo, kDefaults.clearPendingTempo);
  Fill(h.midiTempoDepth, kDefaults.midiTempoDepth);
  Fill(h.setRatePercent, kDefaults.setRatePercent);
  Fill(h.baseVolume, kDefaults.baseVolume);
  Fill(h.setFrameSkip, kDefaults.setFrameSkip);
  Fill(h.localTime, kDefaults.localTime);
  Fill(h.heroMoving, kDefaults.heroMoving);
  Fill(h.memberGraphic, kDefaults.memberGraphic);
  Fill(h.setMemberGraphic, kDefaults.setMemberGraphic);
  Fill(h.scrollX, kDefaults.scrollX);
  Fill(h.scrollY, kDefaults.scrollY);
  Fill(h.setScroll, kDefaults.setScroll);
  Fill(h.mapWidth, kDefaults.mapWidth);
  Fill(h.mapHeight, kDefaults.mapHeight);
  Fill(h.loopsHorizontally, kDefaults.loopsHorizontally);
  Fill(h.loopsVertically, kDefaults.loopsVertically);
  gHooks = h;
}
