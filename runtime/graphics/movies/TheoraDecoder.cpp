#include "runtime/graphics/movies/TheoraDecoder.h"

#include <ogg/ogg.h>
#include <theora/theoradec.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <new>
#include <thread>  // also steady_clock: <chrono> itself does not build with the CP932 charset

#include "runtime/graphics/movies/YuvTables.h"
#include "runtime/host/system/Clock.h"
#include "runtime/host/system/HostThread.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

enum DecoderState : int32_t {
  kStockFull = 0,
  kDecoding = 1,
  kSeeking = 2,
  kEnded = 3,
  kPaused = 4,
};

constexpr int kBlockBytes = 4096;
constexpr int kTableGrowth = 1000;
// The frame image follows the size cap of every image of the layer.
constexpr int32_t kMaxSide = 32767;
constexpr int64_t kMaxPixels = int64_t{1} << 26;
// A frame the thread has not delivered by then is not coming.
constexpr auto kFrameWaitLimit = std::chrono::seconds(5);

struct StockSlot {
  std::atomic<int32_t> used;
  int32_t frame;
  uint8_t* planes[3];
  int32_t yWidth, yHeight, yStride;
  int32_t uvWidth, uvHeight, uvStride;
};

}  // namespace

struct TheoraDecoder {
  std::atomic<int32_t> state{kStockFull};
  std::atomic<int32_t> pauseRequest{0};
  std::atomic<int32_t> stopRequest{0};
  // Seeks are numbered: the main thread counts requests up, the thread
  // answers with the number it served, so a seek asked while another is
  // served is never lost.
  std::atomic<int32_t> seekRequest{0};
  std::atomic<int32_t> seekServed{0};
  std::atomic<int32_t> seekTarget{0};
  std::atomic<int32_t> endOfData{0};
  HostThread* thread = nullptr;

  const StreamOps* ops = nullptr;
  StreamHandle stream = 0;

  ogg_sync_state sync{};
  ogg_page page{};
  ogg_stream_state streamState{};
  bool streamStarted = false;
  ogg_packet packet{};

  th_info info{};
  th_comment comment{};
  th_setup_info* setup = nullptr;
  th_dec_ctx* decoder = nullptr;
  int32_t serial = 0;

  TheoraPageEntry* pageIndex = nullptr;
  int32_t pageCount = 0;
  int32_t pageCapacity = 0;
  uint8_t* keyFrames = nullptr;
  int64_t frameCount = 0;
  int64_t keyFrameCapacity = 0;

  std::atomic<int32_t> wantedFrame{-1};
  int32_t decodedFrame = -1;  // the thread's own
  bool havePicture = false;   // the decoder holds a decoded frame
  int32_t headerCount = 0;

  StockSlot* stock = nullptr;
  int32_t stockSize = 0;

  GraphImage frameImage{};
  const void* yuvSurface = nullptr;  // no YUV surfaces on the software screens
  int32_t rgbReady = 0;
  int32_t yuvReady = 0;
};

namespace {

void Yield() { std::this_thread::yield(); }

// Feeds one block of the stream to the sync state: the bytes read.
int ReadBlock(TheoraDecoder* d) {
  char* buffer = ogg_sync_buffer(&d->sync, kBlockBytes);
  if (!buffer) return 0;
  const size_t got = d->ops->read(buffer, 1, kBlockBytes, d->stream);
  ogg_sync_wrote(&d->sync, static_cast<long>(got));
  return static_cast<int>(got);
}

void ResetStreamToStart(TheoraDecoder* d, int64_t offset) {
  ogg_sync_reset(&d->sync);
  if (d->streamStarted) ogg_stream_reset(&d->streamState);
  d->ops->seek(d->stream, offset, 0);
}

// ---- Codec headers ----

bool TryTheoraStream(TheoraDecoder* d) {
  ogg_stream_state candidate;
  if (ogg_stream_init(&candidate, ogg_page_serialno(&d->page)) != 0) return false;
  ogg_packet first;
  if (ogg_stream_pagein(&candidate, &d->page) == 0 && ogg_stream_packetout(&candidate, &first) > 0 &&
      th_decode_headerin(&d->info, &d->comment, &d->setup, &first) > 0) {
    d->serial = ogg_page_serialno(&d->page);
    d->streamState = candidate;  // the state's buffers move with it
    d->streamStarted = true;
    d->headerCount = 1;
    return true;
  }
  ogg_stream_clear(&candidate);
  return false;
}

bool ReadCodecHeaders(TheoraDecoder* d) {
  // The beginning-of-stream pages come first; the first other page ends the
  // search for a Theora stream.
  for (;;) {
    if (ogg_sync_pageout(&d->sync, &d->page) > 0) {
      if (!ogg_page_bos(&d->page)) {
        if (d->streamStarted) ogg_stream_pagein(&d->streamState, &d->page);
        break;
      }
      if (d->headerCount == 0) TryTheoraStream(d);
      continue;
    }
    if (ReadBlock(d) == 0) break;
  }
  while (d->headerCount < 3) {
    const int got = d->streamStarted ? ogg_stream_packetout(&d->streamState, &d->packet) : 0;
    if (got < 0) return false;
    if (got > 0) {
      if (th_decode_headerin(&d->info, &d->comment, &d->setup, &d->packet) <= 0) return false;
      ++d->headerCount;
      continue;
    }
    if (ogg_sync_pageout(&d->sync, &d->page) > 0) {
      if (d->streamStarted) ogg_stream_pagein(&d->streamState, &d->page);  // other streams are refused
      continue;
    }
    if (ReadBlock(d) == 0) {
      LogWrite("End of file while searching for codec headers.\n");
      return false;
    }
  }
  return true;
}

// ---- Index scan ----

// Both tables grow by a fixed step; each entry stands for bytes of the file,
// so their size follows the file's.
template <typename Entry, typename Count>
bool GrowTable(Entry*& table, Count& capacity, const char* failure) {
  const size_t bytes = sizeof(Entry) * static_cast<size_t>(capacity + kTableGrowth);
  auto* grown = static_cast<Entry*>(TrackedRealloc(table, bytes, __FILE__, __LINE__));
  if (!grown) {
    LogWrite(failure);
    return false;
  }
  table = grown;
  capacity += kTableGrowth;
  return true;
}

bool AppendPage(TheoraDecoder* d, uint32_t offset) {
  if (d->pageCount == d->pageCapacity &&
      !GrowTable(d->pageIndex, d->pageCapacity, "Theora ページ情報格納用メモリの確保に失敗しました\n")) {
    return false;
  }
  d->pageIndex[d->pageCount++] = {offset, static_cast<uint32_t>(d->frameCount), 0, 0};
  return true;
}

bool AppendFrame(TheoraDecoder* d, bool key) {
  if (d->frameCount == d->keyFrameCapacity &&
      !GrowTable(d->keyFrames, d->keyFrameCapacity, "Theora キーフレーム情報格納用メモリの確保に失敗しました\n")) {
    return false;
  }
  TheoraPageEntry& last = d->pageIndex[d->pageCount - 1];
  if (key) last.key = 1;
  d->keyFrames[d->frameCount++] = key ? 1 : 0;
  ++last.frames;
  return true;
}

// One pass over the whole file: where each page starts and which frames
// complete in it, and which frames are key frames. Bytes that sync skips
// count towards the offsets, so they stay exact in damaged files.
bool ScanIndex(TheoraDecoder* d) {
  if (!GrowTable(d->pageIndex, d->pageCapacity, "Theora ページ情報格納用メモリの確保に失敗しました\n") ||
      !GrowTable(d->keyFrames, d->keyFrameCapacity, "Theora キーフレーム情報格納用メモリの確保に失敗しました\n")) {
    return false;
  }
  int64_t offset = 0;
  int64_t currentPage = 0;
  bool newPage = false;
  for (;;) {
    const int got = d->streamStarted ? ogg_stream_packetout(&d->streamState, &d->packet) : 0;
    if (got == 0) {
      const long length = ogg_sync_pageseek(&d->sync, &d->page);
      if (length < 0) {
        offset += -length;
        continue;
      }
      if (length > 0) {
        currentPage = offset;
        offset += length;
        newPage = true;
        ogg_stream_pagein(&d->streamState, &d->page);
        continue;
      }
      if (ReadBlock(d) == 0) break;
      continue;
    }
    if (got < 0 || th_packet_isheader(&d->packet)) continue;
    if (newPage) {
      if (!AppendPage(d, static_cast<uint32_t>(currentPage))) return false;
      newPage = false;
    }
    if (!AppendFrame(d, th_packet_iskeyframe(&d->packet) == 1)) return false;
  }
  if (d->pageCount > 0) d->pageIndex[0].offset = 0;
  return true;
}

// ---- Decoding (thread side) ----

// The next packet of the Theora stream: 1, or 0 when the data ran out.
int NextPacket(TheoraDecoder* d) {
  for (;;) {
    const int got = ogg_stream_packetout(&d->streamState, &d->packet);
    if (got > 0) return 1;
    if (got < 0) continue;  // a gap in the data: go on with what follows
    if (ogg_sync_pageout(&d->sync, &d->page) > 0) {
      ogg_stream_pagein(&d->streamState, &d->page);
      continue;
    }
    if (ReadBlock(d) == 0) return 0;
  }
}

// Decodes the next n video packets; packets before the last key frame among
// them are passed over, as the key frame stands alone. 0, or -1 when the
// data ran out.
int DecodePackets(TheoraDecoder* d, int64_t n) {
  int64_t key = -1;
  for (int64_t f = int64_t{d->decodedFrame} + 1; f <= d->decodedFrame + n && f < d->frameCount; ++f) {
    if (f >= 0 && d->keyFrames[f]) key = f;
  }
  for (int64_t i = 0; i < n; ++i) {
    do {
      if (!NextPacket(d)) return -1;
    } while (th_packet_isheader(&d->packet));
    if (key < 0 || key <= int64_t{d->decodedFrame} + 1) {
      th_decode_packetin(d->decoder, &d->packet, nullptr);
      d->havePicture = true;
    }
    ++d->decodedFrame;
  }
  return 0;
}

void ServeSeek(TheoraDecoder* d, int32_t request) {
  d->state.store(kSeeking, std::memory_order_release);
  const int32_t target = d->seekTarget.load(std::memory_order_acquire);
  int32_t entry = 0;
  while (entry < d->pageCount && int64_t{d->pageIndex[entry].firstFrame} + d->pageIndex[entry].frames <= target) {
    ++entry;
  }
  bool ok = entry < d->pageCount;
  if (ok && entry > 0) {
    --entry;
    while (entry > 0 && !d->pageIndex[entry].key) --entry;
    if (entry > 0) --entry;
  }
  if (ok) {
    ResetStreamToStart(d, d->pageIndex[entry].offset);
    d->havePicture = false;
    int64_t next = d->pageIndex[entry].firstFrame;  // the frame the next packet completes
    if (entry > 0) {
      // A page that continues a packet of the page before completes that
      // packet first, which the reset stream state cannot rebuild.
      while (ogg_sync_pageout(&d->sync, &d->page) <= 0) {
        if (ReadBlock(d) == 0) break;
      }
      if (ogg_page_continued(&d->page)) ++next;
      ogg_stream_pagein(&d->streamState, &d->page);
    }
    d->decodedFrame = static_cast<int32_t>(next - 1);
    ok = DecodePackets(d, target - d->decodedFrame) == 0;
  }
  for (int32_t i = 0; i < d->stockSize; ++i) d->stock[i].used.store(0, std::memory_order_release);
  d->decodedFrame = target;
  d->endOfData.store(ok && d->havePicture ? 0 : 1, std::memory_order_release);
  d->seekServed.store(request, std::memory_order_release);
  Yield();
}

StockSlot* FindSlot(TheoraDecoder* d, int64_t frame) {
  for (int32_t i = 0; i < d->stockSize; ++i) {
    StockSlot& slot = d->stock[i];
    if (slot.used.load(std::memory_order_acquire) && slot.frame == frame) return &slot;
  }
  return nullptr;
}

// Frees the slots that fell out of the window of stock-size frames from the
// wanted frame (the window wraps past the last frame to the first).
void DropStaleSlots(TheoraDecoder* d, int32_t wanted) {
  const int64_t windowEnd = int64_t{wanted} + d->stockSize;
  for (int32_t i = 0; i < d->stockSize; ++i) {
    StockSlot& slot = d->stock[i];
    if (!slot.used.load(std::memory_order_relaxed)) continue;
    bool drop;
    if (slot.frame < wanted) {
      drop = windowEnd <= d->frameCount || slot.frame >= windowEnd - d->frameCount;
    } else {
      drop = slot.frame >= windowEnd && slot.frame > d->decodedFrame;
    }
    if (drop) slot.used.store(0, std::memory_order_release);
  }
}

// Row by row: the decoder's strides may be negative (rows stored bottom up).
void CopyPlane(uint8_t* plane, const th_img_plane& from, int32_t width, int32_t height) {
  for (int32_t row = 0; row < height; ++row) {
    std::memcpy(plane + static_cast<int64_t>(row) * width, from.data + static_cast<int64_t>(row) * from.stride,
                static_cast<size_t>(width));
  }
}

// Copies the decoder's current picture into a free slot.
void StorePicture(TheoraDecoder* d) {
  th_ycbcr_buffer picture;
  if (th_decode_ycbcr_out(d->decoder, picture) != 0) return;
  StockSlot* slot = nullptr;
  for (int32_t i = 0; i < d->stockSize && !slot; ++i) {
    if (!d->stock[i].used.load(std::memory_order_acquire)) slot = &d->stock[i];
  }
  if (!slot) return;
  const int32_t widths[3] = {picture[0].width, picture[1].width, picture[2].width};
  const int32_t heights[3] = {picture[0].height, picture[1].height, picture[2].height};
  // Planes are kept compact (stride = width) and reused while the size holds.
  if (slot->yWidth != widths[0] || slot->yHeight != heights[0] || slot->uvWidth != widths[1] ||
      slot->uvHeight != heights[1]) {
    for (uint8_t*& plane : slot->planes) {
      if (plane) TrackedFree(plane);
      plane = nullptr;
    }
    slot->yWidth = slot->yStride = widths[0];
    slot->yHeight = heights[0];
    slot->uvWidth = slot->uvStride = widths[1];
    slot->uvHeight = heights[1];
  }
  for (int p = 0; p < 3; ++p) {
    const int32_t width = p == 0 ? slot->yWidth : slot->uvWidth;
    const int32_t height = p == 0 ? slot->yHeight : slot->uvHeight;
    if (p > 0 && (picture[p].width != width || picture[p].height != height)) return;
    if (!slot->planes[p]) {
      slot->planes[p] = static_cast<uint8_t*>(TrackedAlloc(static_cast<size_t>(width) * height, __FILE__, __LINE__));
      if (!slot->planes[p]) return;
    }
    CopyPlane(slot->planes[p], picture[p], width, height);
  }
  slot->frame = d->decodedFrame;
  slot->used.store(1, std::memory_order_release);
}

void DecodeAhead(TheoraDecoder* d) {
  if (d->frameCount == 0) {
    d->endOfData.store(1, std::memory_order_release);
    d->state.store(kStockFull, std::memory_order_release);
    HostSleepMs(1);
    return;
  }
  const int32_t wanted = d->wantedFrame.load(std::memory_order_acquire);
  if (!d->endOfData.load(std::memory_order_relaxed)) DropStaleSlots(d, wanted);
  bool full = true;
  for (int32_t i = 0; i < d->stockSize; ++i) full = full && d->stock[i].used.load(std::memory_order_relaxed);
  if (full) {
    d->state.store(kStockFull, std::memory_order_release);
    Yield();
    return;
  }
  d->state.store(kDecoding, std::memory_order_release);
  const bool decodedInStock = FindSlot(d, d->decodedFrame) != nullptr;
  if (!(decodedInStock || wanted > d->decodedFrame) && d->havePicture) {
    StorePicture(d);
    Yield();
    return;
  }
  const int64_t n = (!FindSlot(d, wanted) && wanted > d->decodedFrame) ? wanted - d->decodedFrame : 1;
  int result;
  if (d->decodedFrame + n < d->frameCount) {
    result = DecodePackets(d, n);
  } else {
    // Past the last frame the movie starts again from its first page.
    const int64_t beyond = n - (d->frameCount - d->decodedFrame);
    ResetStreamToStart(d, 0);
    d->havePicture = false;
    d->decodedFrame = -1;
    result = DecodePackets(d, beyond + 1);
  }
  if (result != 0 || !d->havePicture) {
    d->endOfData.store(1, std::memory_order_release);
    HostSleepMs(1);
    return;
  }
  StorePicture(d);
  Yield();
}

void DecodeThread(void* argument) {
  auto* d = static_cast<TheoraDecoder*>(argument);
  while (!d->stopRequest.load(std::memory_order_acquire)) {
    if (d->pauseRequest.load(std::memory_order_acquire)) {
      d->state.store(kPaused, std::memory_order_release);
      HostSleepMs(1);
    } else if (const int32_t request = d->seekRequest.load(std::memory_order_acquire);
               request != d->seekServed.load(std::memory_order_relaxed)) {
      ServeSeek(d, request);
    } else {
      DecodeAhead(d);
    }
  }
  d->state.store(kEnded, std::memory_order_release);
}

TheoraDecoder* FailOpen(TheoraDecoder* d, const char* message) {
  if (message) LogWrite(message);
  CloseTheoraDecoder(d);
  return nullptr;
}

}  // namespace

TheoraDecoder* OpenTheoraDecoder(const StreamOps* ops, StreamHandle stream, int stockSize) {
  char magic[4];
  if (ops->read(magic, 1, 4, stream) != 4 || std::memcmp(magic, "OggS", 4) != 0) return nullptr;
  ops->seek(stream, 0, 0);

  void* memory = TrackedAllocZero(sizeof(TheoraDecoder), __FILE__, __LINE__);
  if (!memory) {
    LogWrite("Theora ムービーデコード処理用のメモリ確保に失敗しました\n");
    return nullptr;
  }
  auto* d = new (memory) TheoraDecoder;
  d->ops = ops;
  d->stream = stream;
  ogg_sync_init(&d->sync);
  th_info_init(&d->info);
  th_comment_init(&d->comment);

  if (!ReadCodecHeaders(d)) return FailOpen(d, nullptr);
  const int64_t width = d->info.frame_width;
  const int64_t height = d->info.frame_height;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || width * height > kMaxPixels) {
    return FailOpen(d, "Theora ムービーデコードフレームストック用画像バッファの確保に失敗しました\n");
  }

  d->pauseRequest.store(1);
  d->state.store(kStockFull);
  d->thread = HostStartThread(DecodeThread, d);
  if (!d->thread) return FailOpen(d, "Theora ムービーデコード用スレッドの作成に失敗しました\n");

  d->decoder = th_decode_alloc(&d->info, d->setup);
  if (!d->decoder) return FailOpen(d, nullptr);
  ResetStreamToStart(d, 0);
  if (!ScanIndex(d)) return FailOpen(d, nullptr);

  if (CreateXrgbGraphImage(static_cast<int>(width), static_cast<int>(height), &d->frameImage) != 0) {
    return FailOpen(d, "Theora ムービーデコードフレームストック用画像バッファの確保に失敗しました\n");
  }
  d->stockSize = std::max(stockSize, 1);
  void* slots = TrackedAllocZero(sizeof(StockSlot) * static_cast<size_t>(d->stockSize), __FILE__, __LINE__);
  if (!slots) {
    d->stockSize = 0;
    return FailOpen(d, "Theora ムービーデコードフレームストック用のメモリ確保に失敗しました\n");
  }
  d->stock = static_cast<StockSlot*>(slots);
  for (int32_t i = 0; i < d->stockSize; ++i) new (&d->stock[i]) StockSlot{};

  SeekTheoraDecoder(d, 0);
  GetTheoraFrame(d, 1, 1);
  return d;
}

int CloseTheoraDecoder(TheoraDecoder* d) {
  if (!d) return 0;
  if (d->thread) {
    d->stopRequest.store(1, std::memory_order_release);
    HostJoinThread(d->thread);
    d->thread = nullptr;
  }
  for (int32_t i = 0; i < d->stockSize; ++i) {
    for (uint8_t* plane : d->stock[i].planes) {
      if (plane) TrackedFree(plane);
    }
    d->stock[i].~StockSlot();
  }
  if (d->stock) TrackedFree(d->stock);
  if (d->pageIndex) TrackedFree(d->pageIndex);
  if (d->keyFrames) TrackedFree(d->keyFrames);
  FreeGraphImage(&d->frameImage);
  if (d->streamStarted) ogg_stream_clear(&d->streamState);
  if (d->decoder) th_decode_free(d->decoder);
  if (d->setup) th_setup_free(d->setup);
  th_comment_clear(&d->comment);
  th_info_clear(&d->info);
  ogg_sync_clear(&d->sync);
  d->~TheoraDecoder();
  TrackedFree(d);
  return 0;
}

int SeekTheoraDecoder(TheoraDecoder* d, int32_t frame) {
  if (frame == d->wantedFrame.load(std::memory_order_relaxed)) return 0;
  d->rgbReady = 0;
  d->yuvReady = 0;
  d->pauseRequest.store(1, std::memory_order_release);
  for (;;) {
    const int32_t state = d->state.load(std::memory_order_acquire);
    if (state == kPaused || state == kEnded) break;
    Yield();
  }
  const int64_t last = std::max<int64_t>(d->frameCount - 1, 0);
  frame = static_cast<int32_t>(std::clamp<int64_t>(frame, 0, last));
  d->wantedFrame.store(frame, std::memory_order_release);
  d->seekTarget.store(frame, std::memory_order_release);
  d->seekRequest.fetch_add(1, std::memory_order_acq_rel);
  d->pauseRequest.store(0, std::memory_order_release);
  return 0;
}

int GetTheoraFrame(TheoraDecoder* d, int rgb, int yuv) {
  const bool yuvAsked = yuv && !d->yuvReady && d->yuvSurface;
  const bool rgbAsked = rgb && !d->rgbReady;
  if (!yuvAsked && !rgbAsked) return 0;
  if (d->frameCount == 0) return 0;
  const int32_t wanted = d->wantedFrame.load(std::memory_order_relaxed);
  const auto giveUp = std::chrono::steady_clock::now() + kFrameWaitLimit;
  StockSlot* slot = nullptr;
  for (;;) {
    const int32_t state = d->state.load(std::memory_order_acquire);
    if (state == kEnded) return 0;
    if (state == kSeeking ||
        d->seekRequest.load(std::memory_order_acquire) != d->seekServed.load(std::memory_order_acquire)) {
      HostSleepMs(1);
    } else {
      slot = FindSlot(d, wanted);
      if (slot) break;
      if (d->endOfData.load(std::memory_order_acquire)) return 0;
      Yield();
    }
    if (std::chrono::steady_clock::now() > giveUp) return 0;
  }
  // No YUV surfaces on the software screens: only the RGB image is made.
  if (rgbAsked) {
    const YuvPlane y{slot->planes[0], slot->yWidth, slot->yHeight, slot->yStride};
    const YuvPlane u{slot->planes[1], slot->uvWidth, slot->uvHeight, slot->uvStride};
    const YuvPlane v{slot->planes[2], slot->uvWidth, slot->uvHeight, slot->uvStride};
    ConvertYuvToXrgb(y, u, v, d->frameImage.pixels, d->frameImage.pitch, d->frameImage.width,
                     d->frameImage.height);
    d->rgbReady = 1;
  }
  return 1;
}

int GetTheoraInfo(const TheoraDecoder* d, TheoraInfo* info) {
  info->framesPerSecond =
      d->info.fps_denominator != 0 ? static_cast<double>(d->info.fps_numerator) / d->info.fps_denominator : 0.0;
  info->frameCount = d->frameCount;
  info->width = static_cast<int32_t>(d->info.frame_width);
  info->height = static_cast<int32_t>(d->info.frame_height);
  return 0;
}

const GraphImage* GetTheoraFrameImage(const TheoraDecoder* d) { return &d->frameImage; }

const void* GetTheoraYuvSurface(const TheoraDecoder* d) { return d->yuvSurface; }

int32_t TheoraPageEntryCount(const TheoraDecoder* d) { return d->pageCount; }

const TheoraPageEntry* TheoraPageEntries(const TheoraDecoder* d) { return d->pageIndex; }

const uint8_t* TheoraKeyFrameFlags(const TheoraDecoder* d) { return d->keyFrames; }

int IsTheoraStockFull(const TheoraDecoder* d) { return d->state.load(std::memory_order_acquire) == kStockFull; }
