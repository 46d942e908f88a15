#include <algorithm>

#include "engine/sound/MidiLibrary.h"
#include "engine/sound/RunnerSounds.h"
#include "engine/sound/SoundEntries.h"
#include "engine/sound/SoundItems.h"
#include "engine/sound/SoundManager.h"
#include "runtime/Movan.h"

using namespace sound_items;

namespace {

// A fade runs over fade + 1 frames, and at least one: a fade of -1 (or
// below) would otherwise give a length of 0 to divide by.
int32_t FadeFrames(int32_t fade) { return Saturate(std::max<int64_t>(int64_t{fade} + 1, 1)); }

// A frequency of percent of the sound's own, 0 meaning its own.
void SetFrequencyPercent(int32_t handle, int32_t percent) {
  SetSoundFrequency(percent != 0 ? PercentOf(GetSoundFrequency(handle), percent) : -1, handle);
}

void Remember(const RunnerSounds& r, int32_t kind, int32_t entry, int32_t volume, int32_t tempo, int32_t loop) {
  *r.currentEntry[kind] = entry;
  *r.fileName[kind] = FileItem(kind, entry);
  r.values[kind][0] = volume;
  r.values[kind][1] = tempo;
  r.values[kind][2] = loop;
  SoundEntryCounts.baseVolume[kind] = volume;
}

}  // namespace

void SoundManager::Play(int32_t kind, int32_t entry, int32_t fade, int32_t position) {
  if (entry == 65535) entry = -1;
  if (!KindEnabled(kind)) {
    // Music that is off still follows the game, so that it plays once
    // switched on or loaded.
    if ((kind == kMusic || kind == kBackgroundSound) && entry >= -1) *LiveRunnerSounds().currentEntry[kind] = entry;
    return;
  }
  if (!scanned) ScanTypes();
  switch (kind) {
    case kMusic: PlayMusic(entry, fade, position); return;
    case kBackgroundSound: PlayBackgroundSound(entry, fade, position); return;
    case kSoundEffect: PlaySoundEffect(entry, fade); return;
    default: return;
  }
}

void SoundManager::PlayMusic(int32_t entry, int32_t fade, int32_t position) {
  const RunnerSounds r = LiveRunnerSounds();
  if (entry == *r.currentEntry[kMusic]) return;
  Fade& f = fades[kMusic];
  if (f.fadingHandle != 0) {
    SetSoundVolume(0, f.fadingHandle);
    ReleaseHandle(kMusic, f.fadingHandle);
  }
  if (previousWasMidi && !currentIsMidi) MidiStop();
  previousWasMidi = currentIsMidi;
  f.fadingHandle = f.currentHandle;

  if (entry == -1) {
    currentIsMidi = 0;
    f.fadeFrom = f.target;
    f.target = 0;
    *r.currentEntry[kMusic] = -1;
    f.currentHandle = 0;
    if (fade == 0 && f.fadingHandle != 0) {
      DeleteHandle(f.fadingHandle);
      f.fadingHandle = 0;
    }
    f.counter = f.length = FadeFrames(fade);
    f.fadeInStart = 0;
    return;
  }
  if (entry < -1) {
    *r.currentEntry[kMusic] = entry;
    return;
  }

  const int32_t mark = MarkAt(midiMarks, entry);
  if (mark == -1) return;  // a MIDI file that is missing plays nothing
  if (mark == 1) {
    if (previousWasMidi) MidiStop();
    currentIsMidi = 1;
    f.currentHandle = 0;
    f.fadeFrom = f.target;
    MidiMasterVolume(-2500);
    const int32_t tempo = PercentItem(kMusic, entry, 2);
    MidiTempoDepth(MidiTempoDepthOf(tempo));
    midiTempoCountdown = 20;
    MidiPlay(1, MidiListOf(entry), position);
    const int32_t volume = Item(kMusic, entry, 1);
    f.target = PercentOf(volume == 0 ? 100 : volume, r.masterVolume[kMusic]);
    f.fadeInStart = 0;
    f.counter = f.length = FadeFrames(fade);
    f.percent = tempo;
    Remember(r, kMusic, entry, volume, tempo, 0);
    return;
  }

  currentIsMidi = 0;
  Load(kMusic, entry);
  const int32_t handle = HandleOf(kMusic, entry);
  if (handle == 0) {
    *r.currentEntry[kMusic] = -1;
    f.fadeFrom = f.target;
    f.target = 0;
    f.currentHandle = 0;
    f.fadeInStart = 0;
    SoundEntryCounts.baseVolume[kMusic] = 0;
    return;
  }
  const int32_t volume = Item(kMusic, entry, 1);
  const int32_t loop = Item(kMusic, entry, 3);
  const int32_t percent = Item(kMusic, entry, 2);
  f.currentHandle = handle;
  f.fadeFrom = f.target;
  f.target = PercentOf(volume == 0 ? 100 : volume, r.masterVolume[kMusic]);
  f.fadeInStart = 0;
  f.counter = f.length = FadeFrames(fade);
  SetSoundLoopStartMs(loop, handle);
  SetFrequencyPercent(handle, percent);
  f.percent = percent != 0 ? percent : 100;
  // The same sound as the one fading out simply goes on.
  const bool fresh = handle != f.fadingHandle;
  if (fresh) SetSoundVolume(0, handle);
  if (position >= 1) {
    SetSoundPlayTime(position, handle);
    StartSound(handle, 3, 0);
  } else if (fresh) {
    StartSound(handle, 3, 1);
  }
  Remember(r, kMusic, entry, volume, f.percent, loop);
}

void SoundManager::PlayBackgroundSound(int32_t entry, int32_t fade, int32_t position) {
  const RunnerSounds r = LiveRunnerSounds();
  if (entry == *r.currentEntry[kBackgroundSound]) return;
  Fade& f = fades[kBackgroundSound];
  if (f.fadingHandle != 0) ReleaseHandle(kBackgroundSound, f.fadingHandle);
  if (entry >= 0) Load(kBackgroundSound, entry);
  f.fadingHandle = f.currentHandle;
  const int32_t handle = entry >= 0 ? HandleOf(kBackgroundSound, entry) : 0;
  f.fadeFrom = f.target;
  f.fadeInStart = 0;
  f.counter = f.length = FadeFrames(fade);
  if (handle == 0) {
    *r.currentEntry[kBackgroundSound] = -1;
    f.target = 0;
    f.currentHandle = 0;
    return;
  }
  const int32_t volume = Item(kBackgroundSound, entry, 1);
  const int32_t loop = Item(kBackgroundSound, entry, 3);
  const int32_t percent = Item(kBackgroundSound, entry, 2);
  f.currentHandle = handle;
  f.target = PercentOf(volume == 0 ? 100 : volume, r.masterVolume[kBackgroundSound]);
  SetSoundLoopStartMs(loop, handle);
  SetFrequencyPercent(handle, percent);
  f.percent = percent != 0 ? percent : 100;
  SetSoundVolume(0, handle);
  if (position >= 1) {
    SetSoundPlayTime(position, handle);
    StartSound(handle, 3, 0);
  } else {
    StartSound(handle, 3, 1);
  }
  Remember(r, kBackgroundSound, entry, volume, f.percent, loop);
}

void SoundManager::PlaySoundEffect(int32_t entry, int32_t delay) {
  const RunnerSounds r = LiveRunnerSounds();
  if (r.masterVolume[kSoundEffect] <= 0) return;
  if (entry < 0) {
    // -1 stops every sound effect when it comes due.
    queue.push_back({entry == -1 ? -1 : 0, delay, 0});
    return;
  }
  Load(kSoundEffect, entry);
  const int32_t handle = HandleOf(kSoundEffect, entry);
  queue.push_back({handle, delay, Item(kSoundEffect, entry, 3)});
  if (handle == 0) return;
  SetSoundVolume(PercentOf(PercentItem(kSoundEffect, entry, 1), r.masterVolume[kSoundEffect]), handle);
  SetFrequencyPercent(handle, Item(kSoundEffect, entry, 2));
}
