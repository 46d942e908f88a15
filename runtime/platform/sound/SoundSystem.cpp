// The sound device's life, the handle table and the buffers of new sounds.

#include "runtime/platform/sound/SoundSystem.h"

#include <cstring>
#include <vector>

#include "runtime/Movan.h"
#include "runtime/host/system/Clock.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/window/MessagePump.h"
#include "runtime/platform/sound/SoundBuffer.h"
#include "runtime/platform/sound/StreamSound.h"
#include "runtime/platform/base/TrackedAlloc.h"

SoundSystem gSound;

namespace {

constexpr uint32_t kPlainFlags =
    kHostSoundGlobalFocus | kHostSoundCtrlVolume | kHostSoundCtrlPan | kHostSoundCtrlFrequency | kHostSoundStatic;
constexpr uint32_t kPlainFallbackFlags = kHostSoundCtrlVolume | kHostSoundCtrlPan | kHostSoundStatic;
constexpr uint32_t kRingFlags = kHostSoundPlayCursorExact | kPlainFlags;
constexpr uint32_t kSilentBytes = 400;

// The wait of a sound played once in the foreground keeps the window alive.
int DefaultPump() { return PumpMessages(); }

SoundPumpHook gPumpHook = DefaultPump;

void LogSoundDevice(const char* module, const char* description, void*) {
  LogPrintf("モジュール名:%15s  ドライバ記述:%s ", module, description);
}

const char* OkNo(bool flag) { return flag ? "OK" : "NO"; }

// A looping buffer of silence that plays from start-up to shutdown.
void StartSilentBuffer() {
  SoundBuffer& b = gSound.silentBuffer;
  if (SoundBufferCreate(&b, PcmWaveFormat(2, 44100, 16), kSilentBytes, kHostSoundGlobalFocus | kHostSoundStatic) != 0) {
    LogFormat("無音バッファの作成に失敗しました");
    return;
  }
  void* p1;
  void* p2;
  uint32_t n1, n2;
  if (SoundBufferLock(&b, 0, kSilentBytes, &p1, &n1, &p2, &n2) != 0) {
    LogFormat("無音バッファのロックに失敗しました");
    SoundBufferRelease(&b);
    return;
  }
  std::memset(p1, 0, n1);
  SoundBufferUnlock(&b, n1, n2);
  SoundBufferPlay(&b, true);
}

void LogDeviceCaps() {
  const HostSoundCaps caps = HostSoundGetCaps();
  LogWrite("DirectSound デバイスを列挙します\n");
  HostSoundListDevices(LogSoundDevice, nullptr);
  LogPrintf("最大サンプリングレート:%.2fKHz 最小サンプリングレート:%.2fKHz ", caps.maxFrequency / 1000.0,
            caps.minFrequency / 1000.0);
  LogPrintf("総サウンドメモリ領域:%.2fKB 空きサウンドメモリ領域:%.2fKB \n", caps.totalMemory / 1024.0,
            caps.freeMemory / 1024.0);
  // The mixer takes 8 and 16 bits, mono and stereo, everywhere.
  LogWrite("利用可能サンプリング精度\n");
  LogPrintf(" プライマリ １６bit = %s  ８bit = %s ", OkNo(true), OkNo(true));
  LogPrintf(" セカンダリ １６bit = %s  ８bit = %s \n", OkNo(true), OkNo(true));
  LogWrite("利用可能チャンネル\n");
  LogPrintf(" プライマリ MONO = %s  STEREO = %s ", OkNo(true), OkNo(true));
  LogPrintf(" セカンダリ MONO = %s  STEREO = %s \n", OkNo(true), OkNo(true));
}

}  // namespace

PointerHandleTable<SoundHandle>& SoundTable() {
  static PointerHandleTable<SoundHandle> table(kHandleSound, kSoundCapacity, "サウンドの数が許容量を越えました\n",
                                               "メモリ領域の確保に失敗しました in AddSoundData\n");
  return table;
}

SoundHandle* FindSound(int32_t handle) { return gSound.deviceOpen ? SoundTable().Find(handle) : nullptr; }

int InitSoundSystem() {
  if (gSound.deviceOpen) return -1;
  LogWrite("DirectSound の初期化を行います\n");
  LogWrite("DirectSound インターフェースの取得を行います....  ");
  if (!HostSoundCreateDevice()) return LogWrite("DirectSoundインターフェースの作成に失敗しました\n");
  LogWrite("成功\n");
  LogWrite("引き続きインターフェースの初期化処理...  ");
  if (!HostSoundOpenDevice()) {
    LogWrite("初期化に失敗しました\n");
    HostSoundCloseDevice();
    return -1;
  }
  LogWrite("成功\n");
  const HostSoundCaps caps = HostSoundGetCaps();
  const WaveFormat primary = PcmWaveFormat(2, caps.maxFrequency < 44100 ? caps.maxFrequency : 44100, 16);
  if (!HostSoundSetOutputFormat(primary)) {
    LogWrite("DirectSoundのプライマリサウンドバッファのフォーマット設定に失敗しました\n");
  }
  gSound = SoundSystem();
  gSound.deviceOpen = 1;
  StartSilentBuffer();
  gSound.loadMode = 0;
  HandleListInit(&gSound.streamFirst, &gSound.streamLast);
  LogDeviceCaps();
  LogWrite("DirectSound の初期化は正常に終了しました\n");
  DeleteAllSounds(0);
  return 0;
}

int TermSoundSystem() {
  if (!gSound.deviceOpen) return -1;
  DeleteAllSounds(0);
  if (gSound.silentBuffer.valid) {
    SoundBufferStop(&gSound.silentBuffer);
    SoundBufferRelease(&gSound.silentBuffer);
  }
  HostSoundCloseDevice();
  gSound = SoundSystem();
  LogWrite("DirectSound の終了処理は正常に終了しました\n");
  return 0;
}

int32_t AddSoundData(int32_t handle) {
  SoundHandle* record = nullptr;
  const int32_t made = SoundTable().Create(&record, handle < 0 ? kNoHandle : handle);
  if (made >= 0) record->movieSound = gSound.movieSound ? 1 : 0;
  return made;
}

int CreateSoundBuffers(const WaveFormat& format, uint32_t bytes, int32_t kind, int count, int32_t handle) {
  SoundHandle* s = SoundTable().Find(handle);
  if (!s) return -1;
  if (kind == kSoundPlain) {
    if (SoundBufferCreate(&s->buffers[0], format, bytes, kPlainFlags) != 0 &&
        SoundBufferCreate(&s->buffers[0], format, bytes, kPlainFallbackFlags) != 0) {
      return LogFormat("DirectSoundBuffer の作成に失敗しました");
    }
    int made = 1;
    while (made < count && SoundBufferDuplicate(&s->buffers[made], &s->buffers[0]) == 0) ++made;
    s->bufferCount = made;
  } else {
    if (SoundBufferCreate(&s->buffers[0], format, bytes, kRingFlags) != 0) {
      return LogFormat("ストリーム風サウンドバッファの作成に失敗しました");
    }
    s->bufferCount = 1;
    HandleListAdd(&gSound.streamFirst, &s->node, handle, s);
  }
  s->kind = kind;
  return 0;
}

int DeleteSound(int handle, int) {
  SoundHandle* s = FindSound(handle);
  if (!s) return -1;
  if (s->kind == kSoundStream) {
    ReleaseStreamSound(s);
  } else {
    if (s->buffers[0].valid) HaltSound(handle);
    for (SoundBuffer& b : s->buffers) {
      if (b.valid) SoundBufferRelease(&b);
    }
    TrackedFree(s->pcm);
    s->pcm = nullptr;
  }
  return SoundTable().Delete(handle);
}

int DeleteAllSounds(int) {
  if (!gSound.deviceOpen) return -1;
  std::vector<int32_t> handles;
  SoundTable().ForEach([&](int32_t handle, SoundHandle*) { handles.push_back(handle); });
  for (int32_t handle : handles) DeleteSound(handle, 0);
  return 0;
}

int SetSoundLoadMode(int mode) {
  if (mode < 0 || mode > 3) return -1;
  gSound.loadMode = mode;
  return 0;
}

int GetSoundLoadMode() { return gSound.loadMode; }

void SetSoundPumpHook(SoundPumpHook hook) { gPumpHook = hook ? hook : DefaultPump; }

int RunSoundPump() { return gPumpHook(); }

void SetMovieSoundFlag(int flag) { gSound.movieSound = flag; }
