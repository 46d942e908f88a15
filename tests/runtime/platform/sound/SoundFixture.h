#pragma once
// The sound system started on the manual clock in a fresh game folder. The
// test moves the clock itself: Play mixes, and with refills, pumps as the
// message pump would. The foreground wait of play type 0 runs a pump that
// plays 10 ms at a time.

#include <string>
#include <vector>

#include "runtime/Movan.h"
#include "runtime/host/sound/SoundDevice.h"
#include "runtime/platform/sound/SoundHandle.h"
#include "runtime/platform/sound/SoundSystem.h"
#include "tests/runtime/platform/files/FileFixture.h"

class SoundFixture : public FileFixture {
 protected:
  void SetUp() override {
    FileFixture::SetUp();
    HostSoundSetOutput(HostSoundOutput::kManualClock);
    ASSERT_EQ(InitSoundSystem(), 0);
    pumpPasses = 0;
    SetSoundPumpHook(TestPump);
  }
  void TearDown() override {
    TermSoundSystem();
    HostSoundSetOutput(HostSoundOutput::kSdl);
    SetSoundPumpHook(nullptr);
    FileFixture::TearDown();
  }

  // Mixes ms of output (44.1 frames a millisecond) and returns it.
  static std::vector<int16_t> Mix(uint32_t frames) {
    std::vector<int16_t> out(frames * 2);
    HostSoundMixManual(out.data(), frames);
    return out;
  }

  // Plays frames of output in slices of a 60th of a second, refilling the
  // stream sounds after each as the message pump does; returns the output.
  static std::vector<int16_t> Play(uint32_t frames) {
    std::vector<int16_t> out;
    while (frames > 0) {
      const uint32_t n = frames < 735 ? frames : 735;
      const std::vector<int16_t> part = Mix(n);
      out.insert(out.end(), part.begin(), part.end());
      RefillAllStreamSounds();
      frames -= n;
    }
    return out;
  }

  static int TestPump() {
    ++pumpPasses;
    Mix(441);
    RefillAllStreamSounds();
    return pumpPasses > pumpLimit ? -1 : 0;
  }

  static SoundHandle* Record(int handle) { return FindSound(handle); }

  inline static int pumpPasses = 0;
  inline static int pumpLimit = 1 << 30;
};
