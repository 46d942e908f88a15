#pragma once
// The record behind a sound handle and the sound module's state: the
// device, the handle table, the load mode and the list of stream sounds.

#include <cstdint>

#include "runtime/host/sound/SoundDevice.h"
#include "runtime/host/sound/WaveFormat.h"
#include "runtime/platform/base/HandleList.h"
#include "runtime/platform/base/HandleTable.h"
#include "runtime/platform/files/StreamOps.h"
#include "runtime/platform/sound/SoundDecoder.h"

constexpr int32_t kSoundCapacity = 4096;
constexpr int kMaxSoundBuffers = 10;
constexpr int kMaxStreamSources = 3;

enum SoundKind : int32_t { kSoundPlain = 0, kSoundStream = 1 };

enum SoundPlayType : int32_t { kPlayOnceWait = 0, kPlayOnce = 1, kPlayLoop = 3 };

// A repeat count that jumps back to the loop start for ever.
constexpr uint8_t kRepeatForever = 255;

// Where a stream source's data is kept.
enum StreamSourceType : int32_t {
  kSourceWaveImage = 0,  // the source's PCM wrapped as a WAV image
  kSourceFileImage = 2,  // the file image, converted while playing
  kSourceOpenStream = 3, // converted while reading the caller's stream
};

// A jump back written into the ring: where the jumped-to data begins in the
// ring (K) and its byte offset in the source list (the wrap base).
struct PendingWrap {
  uint32_t offset = 0;
  int64_t base = 0;
};
// Jumps back the cursor has yet to reach; loops shorter than the data kept
// ahead leave several.
constexpr int kMaxPendingWraps = 16;

struct SoundBuffer {
  int32_t valid = 0;
  HostSoundBuffer* buffer = nullptr;
};

struct StreamSoundSource {
  uint8_t repeatCount = 0;  // 0 play once, n n more times, 255 loop for ever
  int32_t type = 0;
  unsigned char* image = nullptr;
  uint32_t imageSize = 0;
  MemStream* memStream = nullptr;
  int64_t loopStart = 0;  // samples
  SoundDecoder decoder;
};

struct SoundHandle : HandleRecord {
  SoundBuffer buffers[kMaxSoundBuffers];
  WaveFormat format;
  int32_t kind = kSoundPlain;

  // Stream sounds.
  int32_t playType = 0;
  uint32_t ringSize = 0;
  int32_t writePos = 0;  // W; -800 while the ring has not been filled since the last prime
  int32_t limit = 0;     // L: W less four seconds, wrapped into the ring
  StreamSoundSource sources[kMaxStreamSources];
  uint8_t openedForSource[kMaxStreamSources] = {};
  int32_t sourceCount = 0;
  int32_t currentSource = 0;
  int32_t repeatsDone = 0;
  int64_t sourceBytesWritten = 0;
  int64_t totalSamples = 0;
  int64_t playPosition = 0;  // bytes since the start of the source list
  uint32_t lastCursor = 0;
  uint8_t primed = 0;
  uint8_t ended = 0;        // the last data is written; the ring drains
  uint8_t listEnded = 0;
  uint32_t endPos = 0;      // E: where the last data ends in the ring
  uint32_t cursorAtEnd = 0; // P: the play cursor when the last data was written
  // The ring holds data from before and after these jumps back, oldest first.
  PendingWrap wraps[kMaxPendingWraps];
  int32_t wrapCount = 0;
  HandleListNode node{};

  // Plain sounds.
  uint32_t pcmSize = 0;
  unsigned char* pcm = nullptr;
  int32_t bufferCount = 0;
  int32_t nextBuffer = 0;

  uint8_t movieSound = 0;  // made as a movie's own sound track
};

struct SoundSystem {
  int deviceOpen = 0;
  SoundBuffer silentBuffer;
  int32_t loadMode = 0;
  int32_t movieSound = 0;  // set by the movie code around loading a movie's sound
  HandleListNode streamFirst{};
  HandleListNode streamLast{};
};

extern SoundSystem gSound;

PointerHandleTable<SoundHandle>& SoundTable();
// The live record of a handle while the device is open, else null.
SoundHandle* FindSound(int32_t handle);

// A new record (-1), or the record of a handle made again in its own slot.
int32_t AddSoundData(int32_t handle);
// The buffers of a new sound: count plain buffers over one memory, or the
// ring of a stream sound. 0, or -1 (logged) when the device refuses.
int CreateSoundBuffers(const WaveFormat& format, uint32_t bytes, int32_t kind, int count, int32_t handle);
int GetSoundLoadMode();
// Marks the sounds made until it is cleared as a movie's own sound track.
void SetMovieSoundFlag(int flag);
int64_t GetSoundLengthSamples(int32_t handle);

// One pass of the message pump through the hook (SoundSystem.h).
int RunSoundPump();
// The wait of play type 0: pump passes until the sound ends or the window goes.
void WaitWhileSoundPlays(int32_t handle);
