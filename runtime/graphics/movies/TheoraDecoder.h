#pragma once
// Ogg Theora movies, decoded by libtheora on a decode-ahead thread per movie.
// The open reads the codec headers, scans the file once for a page index
// and a key-frame table, starts the thread and converts the first frame.
// The thread keeps a stock of decoded frames from the wanted frame on; the
// main thread takes the wanted frame from the stock.
//
// Main thread and decode thread share only the atomic words of the decoder
// and the stock slots: the thread fills a free slot and then marks it used
// (release), the main thread reads only slots it saw used (acquire) and
// changes the wanted frame only while the thread is paused.

#include <cstdint>

#include "runtime/graphics/format/GraphImage.h"
#include "runtime/platform/files/StreamOps.h"

struct TheoraDecoder;

struct TheoraInfo {
  double framesPerSecond;
  int64_t frameCount;
  int32_t width;   // coded size
  int32_t height;
};

// Null when the stream is not Ogg, holds no Theora stream, its headers are
// refused or memory runs out (each logged). The decoder reads the stream
// but never closes it. stockSize: frames decoded ahead (the movies use 10).
TheoraDecoder* OpenTheoraDecoder(const StreamOps* ops, StreamHandle stream, int stockSize);
// Ends the thread and frees everything. 0.
int CloseTheoraDecoder(TheoraDecoder* decoder);
// Makes frame the wanted frame (clamped to 0..frame count). 0.
int SeekTheoraDecoder(TheoraDecoder* decoder, int32_t frame);
// Converts the wanted frame into the frame image (rgb) and the YUV surface
// (yuv) where asked and not done yet: 1 converted, 0 nothing to do or no
// frame (the thread ended, the data ran out, the movie has no frames).
int GetTheoraFrame(TheoraDecoder* decoder, int rgb, int yuv);
int GetTheoraInfo(const TheoraDecoder* decoder, TheoraInfo* info);
// 32-bit XRGB at the coded size.
const GraphImage* GetTheoraFrameImage(const TheoraDecoder* decoder);
// The software screens have no YUV surface: always null.
const void* GetTheoraYuvSurface(const TheoraDecoder* decoder);

// What the open's index scan found, for tests: one entry per page in which a
// video packet completes.
struct TheoraPageEntry {
  uint32_t offset;
  uint32_t firstFrame;
  uint32_t key;
  uint32_t frames;
};
int32_t TheoraPageEntryCount(const TheoraDecoder* decoder);
const TheoraPageEntry* TheoraPageEntries(const TheoraDecoder* decoder);
// One byte per frame, 1 for a key frame.
const uint8_t* TheoraKeyFrameFlags(const TheoraDecoder* decoder);
// 1 while every stock slot holds a decoded frame (the thread waits).
int IsTheoraStockFull(const TheoraDecoder* decoder);
