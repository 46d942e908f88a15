#include "tests/support/PlayHarness.h"

#include <time.h>

#include <cstdlib>

#include "engine/services/ErrorScreen.h"
#include "engine/shell/GameScene.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/host/screen/Presenter.h"
#include "runtime/host/sound/SoundDevice.h"
#include "runtime/host/system/InstanceLock.h"
#include "runtime/host/system/MessageBox.h"
#include "runtime/host/system/ProcessExit.h"
#include "runtime/host/window/Window.h"
#include "runtime/host/window/WindowMessages.h"
#include "runtime/platform/input/InputDevices.h"
#include "runtime/platform/system/PlatformState.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeEventSource.h"
#include "tests/support/FakeGlyphSource.h"
#include "tests/support/FakeInput.h"

namespace {

PlayHarness* gRunning = nullptr;

struct ProcessExitThrown {
  int code;
};

double Seconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

class HashingPresenter : public HostPresenter {
 public:
  explicit HashingPresenter(PlayHarness& harness, const int64_t& frame) : harness_(harness), frame_(frame) {}
  void Present(const HostFrame& frame, int, int) override {
    // The layer's own first screens at start-up are no frames of the game.
    if (frame_ < 0) return;
    if (!shown_) {
      shown_ = true;
      harness_.firstFrameSeconds = Seconds() - start;
    }
    if (!harness_.hashing) return;
    harness_.frameHashes.push_back(
        PlayHarness::HashPixels(frame.pixels, frame.width, frame.height, frame.pitch, frame.bytesPerPixel));
    harness_.hashFrames.push_back(frame_);
  }

  double start = Seconds();

 private:
  PlayHarness& harness_;
  const int64_t& frame_;
  bool shown_ = false;
};

}  // namespace

struct PlayHarness::Parts {
  explicit Parts(PlayHarness& harness) : presenter(harness, frame) {}
  int64_t frame = -1;
  int64_t frames = 0;
  std::unique_ptr<FakeClock> clock;
  FakeEventSource events;
  FakeInput input;
  std::unique_ptr<FakeGlyphSource> glyphs;
  HashingPresenter presenter;
  std::vector<int> held;
};

PlayHarness::PlayHarness(std::string gameFolder) : folder_(std::move(gameFolder)) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
}

PlayHarness::~PlayHarness() = default;

void PlayHarness::Hold(int64_t frame, std::vector<int> keys) { script_.emplace_back(frame, std::move(keys)); }

void PlayHarness::HoldNow(std::vector<int> keys) {
  if (!parts_ || keys == parts_->held) return;
  for (const int key : parts_->held) parts_->input.ReleaseKey(key);
  for (const int key : keys) parts_->input.PressKey(key);
  parts_->held = std::move(keys);
}

uint64_t PlayHarness::HashPixels(const uint8_t* pixels, int width, int height, int pitch, int bytesPerPixel) {
  // FNV-1a over 64-bit words of each row, the row's tail byte by byte.
  uint64_t hash = 0xcbf29ce484222325ull;
  const size_t rowBytes = static_cast<size_t>(width) * static_cast<size_t>(bytesPerPixel);
  for (int y = 0; y < height; ++y) {
    const uint8_t* row = pixels + static_cast<size_t>(y) * static_cast<size_t>(pitch);
    size_t x = 0;
    for (; x + 8 <= rowBytes; x += 8) {
      uint64_t word = 0;
      for (int b = 0; b < 8; ++b) word |= uint64_t{row[x + static_cast<size_t>(b)]} << (8 * b);
      hash = (hash ^ word) * 0x100000001b3ull;
    }
    for (; x < rowBytes; ++x) hash = (hash ^ row[x]) * 0x100000001b3ull;
  }
  return hash;
}

void PlayHarness::Play(int64_t frames, const std::string& commandLine) {
  exit = PlayerExit{};
  exitCode = -1;
  framesRun = 0;
  firstFrameSeconds = 0;
  frameHashes.clear();
  hashFrames.clear();
  errorScreens.clear();
  messageBoxes.clear();

  parts_ = std::make_unique<Parts>(*this);
  Parts& parts = *parts_;
  parts.frames = frames;
  if (!realFonts) parts.glyphs = std::make_unique<FakeGlyphSource>();
  // Start-up measures the processor by watching the tick move; from the
  // first frame on the clock moves only while the player waits.
  if (!realClock) {
    parts.clock = std::make_unique<FakeClock>();
    parts.clock->AdvanceOnEveryTickRead(1000);
  }
  gPlatform = PlatformState();
  gScreenDevice = ScreenDevice();
  gScreen = ScreenState();
  gDrawState = DrawState();
  HostSetInstanceLockEnabled(false);
  HostSoundSetOutput(HostSoundOutput::kManualClock);
  if (!realWindow) HostSetPresenter(&parts.presenter);
  gRunning = this;
  HostSetMessageBoxHook([](const char* text, const char* title) {
    gRunning->messageBoxes.push_back(std::string(title) + ": " + text);
  });
  HostSetExitHook([](int code) { throw ProcessExitThrown{code}; });
  if (!showErrorScreens) {
    SetErrorScreenHandler([](const std::string& a, const std::string& b, const std::string& c) {
      gRunning->errorScreens.push_back({a, b, c});
    });
  }

  SetFramePassObserver(
      [](void* context, int64_t) {
        PlayHarness& h = *static_cast<PlayHarness*>(context);
        Parts& p = *h.parts_;
        ++p.frame;
        if (p.frame == 0 && p.clock) p.clock->AdvanceOnEveryTickRead(0);
        if (p.frame == 0 && !h.showErrorScreens) {
          // Start-up installs the real error screen; the recording one
          // takes its place again.
          SetErrorScreenHandler([](const std::string& a, const std::string& b, const std::string& c) {
            gRunning->errorScreens.push_back({a, b, c});
          });
        }
        if (p.frame >= p.frames) {
          p.events.Push(HostMessageId::Quit);
          return;
        }
        for (const auto& [from, keys] : h.script_) {
          if (from != p.frame) continue;
          for (const int key : p.held) p.input.ReleaseKey(key);
          for (const int key : keys) p.input.PressKey(key);
          p.held = keys;
        }
        h.framesRun = p.frame + 1;
        if (h.onFrame) h.onFrame(p.frame);
      },
      this);

  {
    ScopedCurrentDirectory inFolder(folder_);
    try {
      parts.presenter.start = Seconds();
      exit = RunPlayer(commandLine);
    } catch (const ProcessExitThrown& thrown) {
      exitCode = thrown.code;
    }
  }

  SetFramePassObserver(nullptr, nullptr);
  SetErrorScreenHandler(nullptr);
  HostSetExitHook(nullptr);
  HostSetMessageBoxHook(nullptr);
  HostSetPresenter(nullptr);
  LayerEnd();
  InputEnd();
  HostVideoStop();
  HostSetInstanceLockEnabled(true);
  HostSoundSetOutput(HostSoundOutput::kSdl);
  gPlatform = PlatformState();
  gScreenDevice = ScreenDevice();
  gRunning = nullptr;
  parts_.reset();
}
