#include "runtime/platform/system/TimeSource.h"

#include "runtime/host/system/Clock.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/window/MessagePump.h"
#include "runtime/platform/system/PlatformState.h"

void ReadPerformanceFrequency() {
  gPlatform.performanceFrequency = HostCounterFrequency();
  gPlatform.usePerformanceCounter = gPlatform.performanceFrequency != 0 ? 1 : 0;
}

void ChooseTimeSource() {
  if (!gPlatform.usePerformanceCounter) return;
  LogWrite("タイマーの精度を検査します\n");
  int tickChanges = 0;
  int counterChanges = 0;
  const uint32_t start = HostTickMs();
  uint32_t lastTick = start;
  uint64_t lastCounter = HostCounter();
  while (tickChanges < 60 && counterChanges < 60) {
    if (PumpMessagesUnlocked() == -1) break;
    const uint32_t tick = HostTickMs();
    const uint64_t counter = HostCounter();
    if (tick != lastTick) ++tickChanges;
    if (counter != lastCounter) ++counterChanges;
    lastTick = tick;
    lastCounter = counter;
    if (tick - start >= 1000) break;
  }
  LogFormat("精度結果 更新回数 マルチメディアタイマー：%d  パフォーマンスカウンター：%d", tickChanges, counterChanges);
  LogWrite(" ");
  if (tickChanges > counterChanges) {
    LogFormat("マルチメディアタイマーを使用します タイマー分解能 : %u.00 ms ", HostTickPeriodMs());
    gPlatform.usePerformanceCounter = 0;
  } else {
    LogFormat("パフォーマンスカウンターを使用します タイマー分解能 : %lf KHz ",
              static_cast<double>(gPlatform.performanceFrequency) * 0.001);
  }
  LogWrite(" ");
}
