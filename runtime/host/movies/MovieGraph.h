#pragma once
// Streaming movies over FFmpeg's libraries, in the shape the layer's movie
// code expects of the system's multimedia streaming: a graph that renders a
// file (demuxer, decoders, a clock, the sound renderer), a surface of memory
// in a pixel format, and a sample that brings the frame due now into a
// surface.
//
// Each graph decodes on a thread of its own: video into a small stock of
// decoded frames, sound into a ring buffer of the layer's mixer that plays
// as a stream sound. While the sound plays, its mixer position is the
// graph's clock; without sound the millisecond tick is. The sample takes
// the frame whose time the clock has reached and converts it with
// libswscale into its surface's pixel format.
//
// Everything here is called from one thread (the layer's main thread),
// except that the decode thread of each graph runs beside it. Nothing waits
// without an end: a file that ends, a stream without frames and a seek past
// the end all answer at once or within the wait given.

#include <cstdint>

struct HostMovieGraph;
struct HostMovieSurface;
struct HostMovieSample;

// The size cap of every image of the layer: no surface and no decoded
// picture is larger.
constexpr int32_t kHostMovieMaxSide = 32767;
constexpr int64_t kHostMovieMaxPixels = int64_t{1} << 26;

// Media time in units of 100 ns from the start of the file.
using HostMovieTime = int64_t;
constexpr HostMovieTime kHostMovieTimePerSecond = 10000000;

enum HostMovieState : int32_t {
  kHostMovieStopped = 0,
  kHostMoviePaused = 1,
  kHostMovieRunning = 2,
};

// Bytes the graph reads instead of a plain file: a movie inside an archive.
struct HostMovieReader {
  void* context;
  // Up to n bytes at the current position: the count read, 0 at the end,
  // -1 on an error.
  int64_t (*read)(void* context, uint8_t* buffer, int64_t n);
  // To the offset from the start: 0, or -1.
  int (*seek)(void* context, int64_t offset);
  int64_t size;  // -1 when unknown
  // Called once when the graph lets the reader go (may be null).
  void (*close)(void* context);
};

// A graph that keeps up to stockFrames decoded frames ahead (at least 1).
// Null when memory runs out.
HostMovieGraph* HostMovieCreateGraph(int stockFrames);
// Sound of the file goes to the layer's mixer (when it is open). Asked
// before the file is opened; without it the sound track is passed over.
void HostMovieRenderAudio(HostMovieGraph* graph);
// Renders a plain file named by game path. False when it is missing or
// FFmpeg cannot read it. One file per graph.
bool HostMovieOpenFile(HostMovieGraph* graph, const char* gamePath);
// The same over a reader, which the graph closes whatever the result.
bool HostMovieOpenReader(HostMovieGraph* graph, const HostMovieReader& reader);

struct HostMovieVideoFormat {
  int32_t width;
  int32_t height;
  HostMovieTime timePerFrame;  // 0 when the file does not say
};
// False when the file has no video stream with a known size.
bool HostMovieGetVideoFormat(const HostMovieGraph* graph, HostMovieVideoFormat* format);
// The length of the file, 0 when unknown.
HostMovieTime HostMovieGetStopPosition(const HostMovieGraph* graph);

void HostMovieRun(HostMovieGraph* graph);
void HostMoviePause(HostMovieGraph* graph);
void HostMovieStop(HostMovieGraph* graph);
HostMovieState HostMovieGetState(const HostMovieGraph* graph);
// Where the clock stands.
HostMovieTime HostMovieGetPosition(const HostMovieGraph* graph);
// Moves the clock (a negative time to 0). The decoder goes back to the key
// frame before and decodes up to the frame that shows at that time; the
// sound starts there too. Past the end the last frame shows.
void HostMovieSetPosition(HostMovieGraph* graph, HostMovieTime time);

// Ends the decode thread, releases the sound and frees the graph. A sample
// of the graph is released before it.
void HostMovieReleaseGraph(HostMovieGraph* graph);

// Frames decoded and waiting (tests and benchmarks).
int HostMovieStockCount(const HostMovieGraph* graph);

struct HostMoviePixelFormat {
  int32_t bitsPerPixel;
  uint32_t redMask;
  uint32_t greenMask;
  uint32_t blueMask;
};

struct HostMovieSurfaceView {
  uint8_t* pixels;  // null until a sample writes the first frame
  int32_t pitch;  // bytes per pixel x width rounded up to 4
  int32_t width;
  int32_t height;
  HostMoviePixelFormat format;
};

// A surface for width x height pixels of the format; its memory comes with
// the first frame a sample writes into it. Null for a side
// below 1 or above 32767, more than 2^26 pixels, a depth other than 8, 15,
// 16, 24 or 32 bits, or no memory.
HostMovieSurface* HostMovieCreateSurface(const HostMoviePixelFormat& format, int width, int height);
HostMovieSurfaceView HostMovieViewSurface(const HostMovieSurface* surface);
void HostMovieReleaseSurface(HostMovieSurface* surface);

// A sample that writes into the surface, which stays the caller's and must
// outlive it; with a null surface, into a 32-bit XRGB surface of the video
// size of its own. Null when the graph has no video, the surface's format
// cannot take frames or memory runs out. One sample per graph.
HostMovieSample* HostMovieCreateSample(HostMovieGraph* graph, HostMovieSurface* surface);
HostMovieSurface* HostMovieSampleSurface(const HostMovieSample* sample);
// Brings the frame that shows at the clock's time into the surface: 1 a
// new frame, 0 nothing new, -1 the video has ended and every frame was
// shown. Waits up to waitMs for the decoder to reach the clock. The first
// update after an open or a seek takes the frame of that position even
// while the clock stands.
int HostMovieUpdateSample(HostMovieSample* sample, uint32_t waitMs);
// The time of the frame in the surface, -1 before the first.
HostMovieTime HostMovieSampleTime(const HostMovieSample* sample);
void HostMovieReleaseSample(HostMovieSample* sample);
