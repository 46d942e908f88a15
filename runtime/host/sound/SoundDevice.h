#pragma once
// The sound device: a mixer of PCM sound buffers, each playing once or
// looped at its own frequency and volume, mixed into 44.1 kHz 16-bit stereo.
// The output is SDL audio, whose thread pulls the mix, or a manual clock
// that tests and benchmarks advance themselves. Every operation is safe
// against the mixing thread.
//
// Buffer memory is written through lock and unlock of a byte range, which
// comes in two regions when it wraps past the end. Volume is in hundredths
// of a decibel (0 full, -10000 silent), a gain of 10^(volume / 2000).

#include <cstddef>
#include <cstdint>

#include "runtime/host/sound/WaveFormat.h"

struct HostSoundBuffer;

enum class HostSoundOutput { kSdl, kManualClock };

constexpr uint32_t kHostMixRate = 44100;
constexpr uint32_t kHostMixChannels = 2;

// Frequency limits of a buffer, in Hz.
constexpr uint32_t kHostSoundMinFrequency = 100;
constexpr uint32_t kHostSoundMaxFrequency = 200000;
// Largest buffer, in bytes.
constexpr uint32_t kHostSoundMaxBytes = 0x0FFFFFFF;
constexpr int32_t kHostSoundSilent = -10000;

// Buffer capability flags.
constexpr uint32_t kHostSoundCtrlFrequency = 0x20;
constexpr uint32_t kHostSoundCtrlPan = 0x40;
constexpr uint32_t kHostSoundCtrlVolume = 0x80;
constexpr uint32_t kHostSoundStatic = 0x2;
constexpr uint32_t kHostSoundPlayCursorExact = 0x10000;
constexpr uint32_t kHostSoundGlobalFocus = 0x8000;

// Status bits.
constexpr int kHostSoundPlaying = 1;
constexpr int kHostSoundLooping = 4;

// Test seam: where the mix goes from the next open on (default SDL).
void HostSoundSetOutput(HostSoundOutput output);

// Readies the audio system (SDL's audio subsystem). False on failure.
bool HostSoundCreateDevice();
// Opens the default output and starts pulling the mix. False on failure.
bool HostSoundOpenDevice();
// Closes the output and releases every buffer still held.
void HostSoundCloseDevice();
bool HostSoundDeviceOpen();

// The output format: only 44.1 kHz 16-bit stereo PCM is mixed. False for
// another.
bool HostSoundSetOutputFormat(const WaveFormat& format);

struct HostSoundCaps {
  uint32_t minFrequency;
  uint32_t maxFrequency;
  uint32_t totalMemory;
  uint32_t freeMemory;
};
HostSoundCaps HostSoundGetCaps();

// Calls f(module, description) for each output device the audio system knows.
void HostSoundListDevices(void (*f)(const char* module, const char* description, void* context),
                          void* context);

// Manual clock: mixes the next frames (stereo pairs) into out when given and
// moves every play cursor on. Returns the frames mixed, 0 unless the device
// is open with the manual clock.
uint32_t HostSoundMixManual(int16_t* out, uint32_t frames);

// A buffer of PCM (8, 16, 24 or 32 bits, one or two channels), filled with
// silence. Null for another format, a size of 0 or above kHostSoundMaxBytes,
// or without a device.
HostSoundBuffer* HostSoundCreateBuffer(const WaveFormat& format, uint32_t bytes, uint32_t flags);
// A new buffer over the same memory.
HostSoundBuffer* HostSoundDuplicateBuffer(HostSoundBuffer* buffer);
void HostSoundReleaseBuffer(HostSoundBuffer* buffer);

bool HostSoundPlay(HostSoundBuffer* buffer, bool looping);
bool HostSoundStop(HostSoundBuffer* buffer);
int HostSoundStatus(HostSoundBuffer* buffer);
// The play cursor in bytes; a buffer that played to its end is back at 0.
uint32_t HostSoundGetPosition(HostSoundBuffer* buffer);
// Output frames the buffer has been mixed into since it was made: a clock
// that a looping buffer's position cannot give once it wraps.
uint64_t HostSoundGetMixedFrames(HostSoundBuffer* buffer);
// False at or beyond the end; aligned down to whole sample frames.
bool HostSoundSetPosition(HostSoundBuffer* buffer, uint32_t bytes);
// 0 plays at the format's own rate. False outside the limits or without the
// frequency control.
bool HostSoundSetFrequency(HostSoundBuffer* buffer, uint32_t hz);
// Clamped to -10000..0. False without the volume control.
bool HostSoundSetVolume(HostSoundBuffer* buffer, int32_t hundredthsDb);
int32_t HostSoundGetVolume(HostSoundBuffer* buffer);

// Hands out bytes at offset for writing: a first region up to the end of the
// buffer and a second from its start when the range wraps (else null, 0).
// False when the offset or size lie outside. One lock at a time per buffer.
bool HostSoundLock(HostSoundBuffer* buffer, uint32_t offset, uint32_t bytes, void** first, uint32_t* firstBytes,
                   void** second, uint32_t* secondBytes);
// The bytes written to each region take effect.
bool HostSoundUnlock(HostSoundBuffer* buffer, uint32_t firstWritten, uint32_t secondWritten);

// A sound made while it plays: fill writes up to frames stereo frames of
// 44.1 kHz float samples (-1..1, interleaved) into out and returns how many
// it wrote; the rest of the pull is silence. It runs on the mixing thread
// with the device's lock held, so it must not call back into the device. A
// generator plays until it is removed or the device closes.
using HostSoundFill = uint32_t (*)(void* context, float* out, uint32_t frames);
// False without an open device.
bool HostSoundAddGenerator(HostSoundFill fill, void* context);
// Once it returns, fill is not called again for context. Nothing when it is
// not playing (or the device closed in between).
void HostSoundRemoveGenerator(HostSoundFill fill, void* context);

// Gain of a volume in hundredths of a decibel, in 1/65536 units.
int32_t HostSoundGainQ16(int32_t hundredthsDb);
