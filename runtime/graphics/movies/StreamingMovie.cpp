#include "runtime/graphics/movies/StreamingMovie.h"

#include <cstring>

#include "runtime/graphics/format/ColorFormat.h"
#include "runtime/graphics/format/RowLayout.h"
#include "runtime/graphics/movies/MovieTable.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/host/movies/MovieGraph.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/base/TrackedAlloc.h"
#include "runtime/platform/files/StreamOps.h"

namespace {

constexpr int kStockFrames = 10;

// ---- A movie inside an archive: the graph reads it through the layer's
// file functions ----

FileHandle FileOf(void* context) { return reinterpret_cast<FileHandle>(context); }

int64_t ReadFile(void* context, uint8_t* buffer, int64_t n) {
  return static_cast<int64_t>(GetFileStreamOps()->read(buffer, 1, static_cast<size_t>(n), FileOf(context)));
}

int SeekFile(void* context, int64_t offset) { return GetFileStreamOps()->seek(FileOf(context), offset, 0) == 0 ? 0 : -1; }

void CloseFile(void* context) { FileCloseRead(FileOf(context)); }

bool OpenThroughFileLayer(HostMovieGraph* graph, const char* name) {
  const FileHandle file = FileOpenVia(name, 0, 1, 0);
  if (!file) return false;
  const int64_t size = StreamByteSize(*GetFileStreamOps(), static_cast<StreamHandle>(file));
  return HostMovieOpenReader(graph, {reinterpret_cast<void*>(file), ReadFile, SeekFile, size, CloseFile});
}

// ---- The open ----

HostMoviePixelFormat ScreenPixelFormat() {
  const ColorFormat& screen = *GetScreenColorFormat();
  return {screen.depth, screen.redMask, screen.greenMask, screen.blueMask};
}

int FailStep(MovieRecord& m, const char* message) {
  ReleaseStreamingMovie(m);
  return LogWrite(message);
}

// The frame image: the sample surface's format and size. Its copy buffer
// comes with the first frame: a movie that never runs needs none.
bool MakeFrameImage(MovieRecord& m, const HostMovieSurfaceView& view) {
  FreeGraphImage(&m.frameImage);
  GraphImage& image = m.frameImage;
  MakeColorFormatFromMasks(&image.format, view.format.bitsPerPixel, view.format.redMask, view.format.greenMask,
                           view.format.blueMask, 0);
  RowLayout rows;
  if (!LayOutRows(view.width, view.height, image.format.bytesPerPixel, kPaddedPitch, 4, &rows)) return false;
  image.width = view.width;
  image.height = view.height;
  image.pitch = rows.pitch;
  return true;
}

}  // namespace

int OpenStreamingMovie(MovieRecord& m, const char* name) {
  // The graph stands for the filter graph, the multimedia stream set up
  // on it for reading and the graph's control.
  m.graph = HostMovieCreateGraph(kStockFrames);
  if (!m.graph) return FailStep(m, "CLSID_FilterGraph の作成に失敗しました");
  if (!HasScreenDevice()) return FailStep(m, "DirectDraw4オブジェクトを取得できませんでした");
  HostMovieRenderAudio(m.graph);
  m.fileName = name;
  // By name as a plain file; else through the layer's files (a movie
  // inside an archive), read where it lies rather than copied out.
  if (!HostMovieOpenFile(m.graph, name) && !OpenThroughFileLayer(m.graph, name)) {
    ReleaseStreamingMovie(m);
    return LogFormat("ファイル:%s が開けませんでした", name);
  }
  m.stopPosition = HostMovieGetStopPosition(m.graph);
  HostMovieVideoFormat video;
  if (!HostMovieGetVideoFormat(m.graph, &video)) return FailStep(m, "動画ファイルではない可能性があります！");
  m.surface = HostMovieCreateSurface(ScreenPixelFormat(), video.width, video.height);
  if (!m.surface) return FailStep(m, "DirectDrawSurface オブジェクトの作成に失敗しました");
  // A surface in a format the sample cannot write: the sample's own.
  m.sample = HostMovieCreateSample(m.graph, m.surface);
  if (!m.sample) m.sample = HostMovieCreateSample(m.graph, nullptr);
  if (!m.sample) return FailStep(m, "ストリームサンプルを作成できませんでした！");
  const HostMovieSurfaceView view = HostMovieViewSurface(HostMovieSampleSurface(m.sample));
  m.sampleRect[0] = 0;
  m.sampleRect[1] = 0;
  m.sampleRect[2] = view.width;
  m.sampleRect[3] = view.height;
  m.width = view.width;
  m.height = view.height;
  if (!MakeFrameImage(m, view)) return FailStep(m, "メモリの確保に失敗しました in OpenMovie");
  m.timePerFrame = video.timePerFrame;
  m.frame = &m.frameImage;
  return 0;
}

void ReleaseStreamingMovie(MovieRecord& m) {
  HostMovieReleaseSample(m.sample);
  m.sample = nullptr;
  HostMovieReleaseSurface(m.surface);
  m.surface = nullptr;
  HostMovieReleaseGraph(m.graph);  // ends its thread and its sound
  m.graph = nullptr;
}

void CloseStreamingMovie(MovieRecord& m) {
  ReleaseStreamingMovie(m);
  FreeGraphImage(&m.frameImage);
  m.frame = nullptr;
}

bool UpdateStreamingFrame(MovieRecord& m, int wait) {
  if (!m.sample || HostMovieGetState(m.graph) != kHostMovieRunning) return false;
  if (HostMovieUpdateSample(m.sample, static_cast<uint32_t>(wait > 0 ? wait : 0)) != 1) return false;
  const HostMovieSurfaceView view = HostMovieViewSurface(HostMovieSampleSurface(m.sample));
  GraphImage& image = m.frameImage;
  if (view.width != image.width || view.height != image.height || view.pitch != image.pitch) return false;
  if (!image.pixels) {
    const size_t bytes = static_cast<size_t>(image.pitch) * static_cast<size_t>(image.height);
    image.pixels = static_cast<uint8_t*>(TrackedAlloc(bytes, __FILE__, __LINE__));
    if (!image.pixels) return false;
  }
  const size_t row = static_cast<size_t>(image.width) * image.format.bytesPerPixel;
  for (int32_t y = 0; y < image.height; ++y) {
    std::memcpy(image.pixels + static_cast<int64_t>(y) * image.pitch, view.pixels + static_cast<int64_t>(y) * view.pitch,
                row);
  }
  return true;
}
