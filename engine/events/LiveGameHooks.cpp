#include "engine/events/LiveGameHooks.h"

namespace {

int32_t Zero() { return 0; }
int32_t ZeroOf(int32_t) { return 0; }
int32_t HundredOf(int32_t) { return 100; }
bool No() { return false; }
void Ignore() {}
void IgnoreValue(int32_t) {}
void IgnoreTwo(int32_t, int32_t) {}
void IgnoreThree(int32_t, int32_t, int32_t) {}
std::string NoTextOf(int32_t) { return ""; }
void IgnoreText(int32_t, const std::string&) {}
void SystemLocalTime(std::tm& out) {
  const std::time_t now = std::time(nullptr);
  localtime_r(&now, &out);
}

}  // namespace

namespace {

const LiveGameHooks kDefaults = {
    ZeroOf, IgnoreThree, HundredOf, IgnoreTwo, No, Ignore, IgnoreValue, IgnoreTwo, ZeroOf,
    IgnoreValue, SystemLocalTime,
    No, NoTextOf, IgnoreText, Zero, Zero, IgnoreTwo, Zero, Zero, No, No,
    Ignore, Ignore,
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
  Fill(h.markPanoramaChanged, kDefaults.markPanoramaChanged);
  Fill(h.markFogChanged, kDefaults.markFogChanged);
  gHooks = h;
}
