// Playing a stream sound. Positions W (write), L (limit), C (play cursor),
// E (end of the last data), P (cursor when it was written) and K (start of
// jumped-to data) are byte offsets into the ring of R = six seconds. The ring
// is kept filled three to four seconds ahead of the cursor.

#include "runtime/platform/sound/StreamSound.h"

#include <algorithm>
#include <cstring>

#include "runtime/Movan.h"
#include "runtime/platform/sound/SoundBuffer.h"
#include "runtime/platform/sound/SoundSystem.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

constexpr int32_t kUnfilled = -800;

// A locked range of the ring and how much of it is written.
struct RingLock {
  uint32_t offset = 0;
  void* region[2] = {};
  uint32_t size[2] = {};
  uint32_t written = 0;
  uint32_t Total() const { return size[0] + size[1]; }
};

SoundBuffer* Ring(SoundHandle* s) { return &s->buffers[0]; }
uint32_t Avg(const SoundHandle* s) { return s->format.avgBytesPerSec; }
uint32_t Align(const SoundHandle* s) { return s->format.blockAlign; }
uint32_t WholeBlocks(const SoundHandle* s, uint64_t bytes) {
  return static_cast<uint32_t>(bytes / Align(s) * Align(s));
}
// An eighth of a second.
uint32_t Step(const SoundHandle* s) { return WholeBlocks(s, Avg(s) / 8); }

uint32_t Cursor(SoundHandle* s) {
  return static_cast<uint32_t>(std::max<int64_t>(SoundBufferGetPosition(Ring(s)), 0));
}

bool RingPlaying(SoundHandle* s) { return SoundBufferPlaying(Ring(s)); }

SoundHandle* FindStream(int32_t handle) {
  SoundHandle* s = FindSound(handle);
  return s && s->kind == kSoundStream ? s : nullptr;
}

bool InWindow(const SoundHandle* s, uint32_t c) {
  const uint32_t l = static_cast<uint32_t>(s->limit);
  const uint32_t w = static_cast<uint32_t>(s->writePos);
  return l < w ? l <= c && c <= w : c <= w || c >= l;
}

uint32_t RingOffsetReached(const SoundHandle* s, const RingLock& lock) {
  return static_cast<uint32_t>((uint64_t{lock.offset} + lock.written) % s->ringSize);
}

bool LockRing(SoundHandle* s, uint32_t offset, uint32_t bytes, RingLock* lock) {
  lock->offset = offset;
  return SoundBufferLock(Ring(s), offset, bytes, &lock->region[0], &lock->size[0], &lock->region[1],
                         &lock->size[1]) == 0;
}

void UnlockRing(SoundHandle* s, const RingLock& lock) { SoundBufferUnlock(Ring(s), lock.size[0], lock.size[1]); }

// Silence (8-bit sound uses 0x7F) over the rest of the locked range.
void SilenceRest(const SoundHandle* s, RingLock* lock) {
  const int byte = s->format.bitsPerSample == 8 ? 0x7F : 0;
  while (lock->written < lock->Total()) {
    const int r = lock->written < lock->size[0] ? 0 : 1;
    const uint32_t at = r == 0 ? lock->written : lock->written - lock->size[0];
    std::memset(static_cast<unsigned char*>(lock->region[r]) + at, byte, lock->size[r] - at);
    lock->written += lock->size[r] - at;
  }
}

// W moves past what was locked; L follows four seconds behind.
void AdvanceWrite(SoundHandle* s, uint32_t locked) {
  int64_t w = int64_t{s->writePos} + locked;
  if (w >= s->ringSize) w -= s->ringSize;
  int64_t l = w - int64_t{4} * Avg(s);
  if (l < 0) l += s->ringSize;
  s->writePos = static_cast<int32_t>(w);
  s->limit = static_cast<int32_t>(l);
}

// Reads from the current source into the next unwritten part of the lock.
uint32_t ReadSourceIntoRing(SoundHandle* s, RingLock* lock) {
  const int r = lock->written < lock->size[0] ? 0 : 1;
  const uint32_t at = r == 0 ? lock->written : lock->written - lock->size[0];
  const int64_t got = ReadSoundDecoder(&s->sources[s->currentSource].decoder,
                                       static_cast<unsigned char*>(lock->region[r]) + at, lock->size[r] - at);
  return got > 0 ? static_cast<uint32_t>(got) : 0;
}

// With the list full the oldest jump is forgotten: the position is then off
// until a later jump is reached.
void AddPendingWrap(SoundHandle* s, uint32_t offset, int64_t base) {
  if (s->wrapCount == kMaxPendingWraps) {
    std::copy(s->wraps + 1, s->wraps + kMaxPendingWraps, s->wraps);
    --s->wrapCount;
  }
  s->wraps[s->wrapCount++] = PendingWrap{offset, base};
}

// The end of the current source's data: repeat it, jump to its loop start,
// go on with the next source, loop the list or end.
void AdvanceStreamSource(SoundHandle* s, RingLock* lock, uint32_t cursor) {
  StreamSoundSource* source = &s->sources[s->currentSource];
  ++s->repeatsDone;
  if (source->repeatCount == kRepeatForever) {
    s->sourceBytesWritten = source->loopStart * Align(s);
    AddPendingWrap(s, RingOffsetReached(s, *lock), s->sourceBytesWritten);
    SeekSoundDecoder(&source->decoder, source->loopStart);
    return;
  }
  s->sourceBytesWritten = 0;
  if (s->repeatsDone > source->repeatCount) {
    ++s->currentSource;
    s->repeatsDone = 0;
    if (s->currentSource >= s->sourceCount) {
      s->listEnded = 1;
      if (s->playType == kPlayLoop) {
        s->currentSource = 0;
        AddPendingWrap(s, RingOffsetReached(s, *lock), 0);
      } else {
        s->currentSource = s->sourceCount - 1;
        s->ended = 1;
        s->endPos = RingOffsetReached(s, *lock);
        s->cursorAtEnd = cursor;
        // Silence behind the last data, so nothing old plays before the ring stops.
        SilenceRest(s, lock);
        return;
      }
    }
  }
  SeekSoundDecoder(&s->sources[s->currentSource].decoder, s->sourceBytesWritten / Align(s));
}

// Ends of data in a row, with no data between, after which every source has
// been tried: sources that deliver nothing must not hold the pump.
int EmptyAdvanceLimit(const SoundHandle* s) {
  int limit = 1;
  for (int i = 0; i < s->sourceCount; ++i) {
    const uint8_t repeats = s->sources[i].repeatCount;
    limit += repeats == kRepeatForever ? 1 : repeats + 1;
  }
  return limit;
}

void FillRing(SoundHandle* s, RingLock* lock, uint32_t cursor) {
  int emptyAdvances = 0;
  const int limit = EmptyAdvanceLimit(s);
  while (lock->written < lock->Total() && !s->ended) {
    const uint32_t got = ReadSourceIntoRing(s, lock);
    if (got > 0) {
      s->sourceBytesWritten += got;
      lock->written += got;
      emptyAdvances = 0;
      continue;
    }
    if (++emptyAdvances > limit) {
      SilenceRest(s, lock);
      break;
    }
    AdvanceStreamSource(s, lock, cursor);
  }
}

// Moves the play position on by what the cursor (a) has played since it was
// last seen; once the cursor reaches data written after a jump back, the
// position restarts from the jump's base.
void UpdateStreamPlayPosition(SoundHandle* s, uint32_t a) {
  if (!s->primed) return;
  const uint32_t b = s->lastCursor;
  if (a == b) return;
  const uint32_t r = s->ringSize;
  auto distance = [r](uint32_t from, uint32_t to) { return to >= from ? to - from : r - from + to; };
  // K lies in the stretch the cursor moved over, (from, a].
  auto passed = [a](uint32_t from, uint32_t k) { return from == a ? false : from < a ? from < k && k <= a : k > from || k <= a; };
  uint32_t from = b;
  bool wrapped = false;
  while (s->wrapCount > 0 && passed(from, s->wraps[0].offset)) {
    const PendingWrap w = s->wraps[0];
    s->playPosition = w.base + distance(w.offset, a);
    std::copy(s->wraps + 1, s->wraps + s->wrapCount, s->wraps);
    --s->wrapCount;
    from = w.offset;
    wrapped = true;
  }
  if (!wrapped) s->playPosition += distance(b, a);
  s->lastCursor = a;
}

void ResetToStart(SoundHandle* s) {
  s->listEnded = 0;
  s->sourceBytesWritten = 0;
  s->playPosition = 0;
  s->wrapCount = 0;
  s->repeatsDone = 0;
  s->currentSource = 0;
  s->primed = 0;
}

// Decoded bytes of one source, as its length counts.
uint64_t SourceBytes(const StreamSoundSource& source) {
  const SoundDecoder& d = source.decoder;
  return d.type == kSoundSourceConverted ? GetSoundDecoderPcmSize(&d) : d.dataSize;
}

// One refill pass. A stopped ring takes only its first fill; its cursor
// stands still, so it is not read.
void RefillStream(SoundHandle* s) {
  if (!s->primed) return;
  if (!s->ended && !RingPlaying(s)) {
    if (s->writePos != kUnfilled) return;
    // The first fill: four seconds from the ring's start.
    RingLock lock;
    if (LockRing(s, 0, WholeBlocks(s, uint64_t{4} * Avg(s)), &lock)) {
      FillRing(s, &lock, 0);
      UnlockRing(s, lock);
    }
    s->writePos = static_cast<int32_t>(uint64_t{4} * Avg(s) % s->ringSize);
    s->limit = 0;
    return;
  }
  const uint32_t c = Cursor(s);
  UpdateStreamPlayPosition(s, c);
  if (s->ended) {
    const uint32_t e = s->endPos;
    const uint32_t p = s->cursorAtEnd;
    // The cursor has passed the end of the data (at once when nothing was
    // ahead of it when the data ended).
    if ((p < e && e < c) || (e < c && c < p) || p == e) {
      SoundBufferStop(Ring(s));
      s->ended = 0;
      return;
    }
    if (s->writePos >= 0 && InWindow(s, c)) {
      RingLock lock;
      if (LockRing(s, static_cast<uint32_t>(s->writePos), Step(s), &lock)) {
        SilenceRest(s, &lock);
        UnlockRing(s, lock);
        AdvanceWrite(s, lock.Total());
      }
    }
    return;
  }
  if (!InWindow(s, c)) return;  // more than four seconds are buffered
  int64_t w = s->writePos;
  int64_t cursor = c;
  if (s->writePos < s->limit) {
    if (c < static_cast<uint32_t>(s->writePos)) cursor += s->ringSize;
    w += s->ringSize;
  }
  const int64_t buffered = (w - cursor) * 128 / Avg(s);  // 1/128 s
  const uint32_t size = buffered < 384 ? WholeBlocks(s, static_cast<uint64_t>(384 - buffered) * Avg(s) / 128) : Step(s);
  if (size == 0) return;
  RingLock lock;
  if (!LockRing(s, static_cast<uint32_t>(s->writePos), size, &lock)) return;
  FillRing(s, &lock, c);
  UnlockRing(s, lock);
  AdvanceWrite(s, size);
}

}  // namespace

void PrimeStreamSound(int32_t handle) {
  SoundHandle* s = FindStream(handle);
  if (!s || s->primed || RingPlaying(s)) return;
  SoundBufferSetPosition(Ring(s), 0);
  s->writePos = kUnfilled;
  s->limit = -1;
  s->lastCursor = 0;
  s->ended = 0;
  SeekSoundDecoder(&s->sources[s->currentSource].decoder, s->sourceBytesWritten / Align(s));
  s->primed = 1;
  RefillStream(s);
}

void RefillStreamSound(int32_t handle) {
  SoundHandle* s = FindStream(handle);
  if (s) RefillStream(s);
}

int RefillAllStreamSounds() {
  if (!gSound.deviceOpen) return -1;
  for (HandleListNode* n = gSound.streamFirst.next; n && n != &gSound.streamLast; n = n->next) {
    RefillStream(static_cast<SoundHandle*>(n->data));
  }
  return 0;
}

int PlayStreamSound(int32_t handle, int playType, int restart) {
  SoundHandle* s = FindStream(handle);
  if (!s) return -1;
  if (!restart && RingPlaying(s)) return 0;
  StopStreamSound(handle);
  // A sound that played to its end starts from the top again.
  const bool loopChanged = ((playType ^ s->playType) & 2) != 0;
  if ((s->listEnded && (loopChanged || !s->ended)) || (restart && s->playPosition != 0)) ResetToStart(s);
  if (restart) s->listEnded = 0;
  s->playType = playType;
  PrimeStreamSound(handle);
  SoundBufferPlay(Ring(s), true);
  if (playType == kPlayOnceWait) WaitWhileSoundPlays(handle);
  return 0;
}

int StopStreamSound(int32_t handle) {
  SoundHandle* s = FindStream(handle);
  if (!s) return -1;
  UpdateStreamPlayPosition(s, Cursor(s));
  const int status = SoundBufferGetStatus(Ring(s));
  if (status < 0) return -1;
  if (status & kHostSoundPlaying) SoundBufferStop(Ring(s));
  return 0;
}

int IsStreamSoundPlaying(int32_t handle) {
  SoundHandle* s = FindStream(handle);
  if (!s) return -1;
  const int status = SoundBufferGetStatus(Ring(s));
  return status < 0 ? -1 : status & kHostSoundPlaying;
}

int SetStreamSoundPosition(int64_t ms, int32_t handle) {
  SoundHandle* s = FindStream(handle);
  if (!s || ms < 0) return -1;
  const uint64_t perSecond = uint64_t{Align(s)} * s->format.samplesPerSec;
  int64_t rest = ms;
  int index = 0;
  for (; index < s->sourceCount; ++index) {
    const int64_t length = static_cast<int64_t>(SourceBytes(s->sources[index]) * 1000 / perSecond);
    if (rest < length) break;
    rest -= length;
  }
  if (index == s->sourceCount) return -1;
  s->currentSource = index;
  s->repeatsDone = 0;
  s->wrapCount = 0;
  s->listEnded = 0;
  s->playPosition = int64_t{Avg(s)} * ms / 1000;
  s->sourceBytesWritten = int64_t{s->format.samplesPerSec} * rest / 1000 * Align(s);
  s->primed = 0;
  return 0;
}

int64_t GetStreamPlayTime(int32_t handle) {
  SoundHandle* s = FindStream(handle);
  if (!s) return -1;
  UpdateStreamPlayPosition(s, Cursor(s));
  return std::min<int64_t>(s->playPosition * 1000 / Avg(s), GetSoundLengthMs(handle));
}

void ReleaseStreamSource(StreamSoundSource* source, bool closeStream) {
  SoundDecoder& d = source->decoder;
  if (d.valid) {
    const StreamOps ops = d.ops;
    const StreamHandle stream = d.stream;
    CloseSoundDecoder(&d);
    if (closeStream && source->type == kSourceOpenStream) ops.close(stream);
  }
  if (source->memStream) MemStreamClose(reinterpret_cast<StreamHandle>(source->memStream));
  TrackedFree(source->image);
  *source = StreamSoundSource();
}

void ReleaseStreamSound(SoundHandle* s) {
  if (s->buffers[0].valid) SoundBufferStop(Ring(s));
  if (s->node.next) {
    HandleListRemove(&s->node);
    s->node = HandleListNode{};
  }
  for (int i = 0; i < s->sourceCount; ++i) ReleaseStreamSource(&s->sources[i], s->openedForSource[i] != 0);
  s->sourceCount = 0;
  if (s->buffers[0].valid) SoundBufferRelease(Ring(s));
}
