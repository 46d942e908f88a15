#include "runtime/platform/window/MessagePump.h"

#include <thread>

#include "runtime/Movan.h"
#include "runtime/host/system/Clock.h"
#include "runtime/host/window/Window.h"
#include "runtime/host/window/WindowMessages.h"
#include "runtime/platform/system/ApiLock.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/platform/sound/SoundSystem.h"
#include "runtime/platform/input/TextInput.h"
#include "runtime/platform/window/WindowProcedure.h"

namespace {

constexpr int kMessagesPerBatch = 5;

// Messages for a window that is gone are dropped, as the window system does.
void Dispatch(const HostMessage& message) {
  if (message.id == HostMessageId::Quit) {
    gPlatform.window.endRequested = 1;
    return;
  }
  if (HostWindowExists()) MainWindowProc(message);
}

bool Waiting(const MainWindowState& w) { return !w.active && !gPlatform.runInBackground && !w.closePosted; }

}  // namespace

int PumpMessagesUnlocked() {
  MainWindowState& w = gPlatform.window;
  if (w.textInputBusy) return 0;
  if (w.mainWindow == 0) return w.endRequested ? -1 : 0;
  const bool mainThread = std::this_thread::get_id() == w.mainThreadId;

  int count = 0;
  for (;;) {
    if (Waiting(w)) HostSleepMs(1);
    int dispatched = 0;
    bool batchFull = false;
    bool ended = false;
    HostMessage message;
    // Other threads have no messages of their own.
    while (mainThread && HostPeekMessage(&message)) {
      if (message.id == HostMessageId::ActivateApp && gPlatform.windowMode) w.active = message.p1 != 0;
      if (w.endRequested) {
        ended = true;
        break;
      }
      HostRemoveMessage();
      Dispatch(message);
      ++dispatched;
      if (++count == kMessagesPerBatch) {
        count = 0;
        batchFull = true;
        break;
      }
    }
    if (ended) break;
    if (!w.active) {
      if (mainThread) {
        RefillAllStreamSounds();
        UpdateAllMovieFrames();
      }
      HostSleepMs(1);
    }
    if (w.endRequested || !mainThread) break;
    const bool quiet = dispatched == 0 || (batchFull && dispatched == 1);
    if (quiet && !Waiting(w)) break;
  }

  if (mainThread && !gPlatform.windowMode) {
    SetGdiPresentMode(GetGdiPresentMode());
    ShowMouseCursor(w.cursorRequested);
  }
  // Sound and text input belong to the main thread.
  if (mainThread) RefillAllStreamSounds();
  w.textInputBusy = 1;
  ProcessTextInput();
  w.textInputBusy = 0;
  return w.endRequested ? -1 : 0;
}

int PumpMessages() {
  ApiLock();
  const int result = PumpMessagesUnlocked();
  ApiUnlock();
  return result;
}

void WaitWhileInactive() {
  MainWindowState& w = gPlatform.window;
  // Without a window there is no activation to wait for.
  if (w.mainWindow == 0 || w.painting || w.active) return;
  if (gPlatform.runInBackground && !(GetGdiPresentMode() == 0 && !gPlatform.windowMode)) return;
  while (PumpMessagesUnlocked() != -1 && !w.active) {
  }
  RestoreAndCheckSurfaces2D();
  ForEachGraphicHandle([](int graphic) { RestoreGraphic(graphic); });
}

int WaitMilliseconds(int ms) {
  const uint32_t start = HostTickMs();
  for (;;) {
    if (PumpMessages() == -1) break;
    if (static_cast<int64_t>(HostTickMs() - start) >= ms) break;
    HostSleepMs(1);
  }
  return 0;
}
