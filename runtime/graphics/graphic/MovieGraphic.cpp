#include "runtime/graphics/graphic/MovieGraphic.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "runtime/Movan.h"
#include "runtime/graphics/device3d/Target3D.h"
#include "runtime/graphics/format/ConvertImagePixels.h"
#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/graphics/movies/MovieTable.h"
#include "runtime/graphics/movies/TheoraDecoder.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/files/FileAccessTable.h"

namespace {

void* AsUserData(int graphic) { return reinterpret_cast<void*>(static_cast<intptr_t>(graphic)); }
int GraphicOf(void* userData) { return static_cast<int>(reinterpret_cast<intptr_t>(userData)); }

}  // namespace

int LoadMovieGraphic(const char* name, int textureRequest) {
  const FileHandle file = FileOpenVia(name, 0, 1, 0);
  if (!file) return LogFormat("グラフィックファイル %s がありません", name);
  FileCloseRead(file);

  const int depth = GetCreateColorDepth();
  const int systemMemory = GetCreateSystemMemory();
  const int enable3D = gDrawState.enable3D;  // the setting itself, not whether the path runs now
  const int unmanaged = GetCreateUnmanagedTexture();
  int width = 0;
  int height = 0;
  const int movie = OpenMovie(name, &width, &height, 0);
  if (movie < 0) return LogFormat("右記のグラフィックファイルのロードに失敗しました：%s \n", name);

  SetCreateColorDepth(GetScreenDepth());
  UseSystemMemorySurfaces(1);
  SetCreateUnmanagedTexture(1);
  const int graphic = CreateGraphic(width, height, textureRequest, 0, 0);
  SetCreateUnmanagedTexture(unmanaged);
  SetCreateColorDepth(depth);
  gDrawState.createSystemMemory = systemMemory;
  Enable3DDrawing(enable3D);
  if (graphic < 0) {
    // The movie would otherwise keep its slot, thread and sound for good.
    CloseMovie(movie);
    return LogFormat("右記のグラフィックファイルの格納用グラフィック領域の作成に失敗しました：%s", name);
  }
  GraphicEntry* g = GetGraphicRecord(graphic);
  g->movie = movie;
  SetMovieFrameCallback(movie, g->format.texture ? UpdateMovieTexture3D : UpdateMovieSurface2D, AsUserData(graphic));
  return graphic;
}

int UpdateMovieSurface2D(MovieRecord* movie, void* userData) {
  const GraphicEntry* g = GetGraphicRecord(GraphicOf(userData));
  if (g && g->format.texture) return UpdateMovieTexture3D(movie, userData);
  // A stopped movie converts its frame once, at the open: the graphic made
  // after it still gets that frame.
  if (movie->theora && !GetTheoraFrame(movie->decoder, 1, 0) && !movie->frameOwed) return 0;
  if (!g || g->partCount < 1) return -1;
  const Surface2D* surface = GetSurface2D(g->parts[0]);
  if (!surface) return -1;
  ImageRecord* record = GetImageRecord(surface->imageRecord);
  if (!record || !IsMemImgValid(&record->image)) return -1;
  const GraphImage* frame = movie->frame;
  if (!frame || !frame->pixels) return 0;
  movie->frameOwed = 0;

  // The part of the frame that both the frame and the surface cover.
  const MemImg& image = record->image;
  const MemImgStore& store = *image.store;
  const int32_t width = std::min<int32_t>({frame->width, movie->width, surface->width});
  const int32_t height = std::min<int32_t>({frame->height, movie->height, surface->height});
  if (width <= 0 || height <= 0) return 0;
  const int bytes = store.colorFormat->bytesPerPixel;  // the destination's, whatever the frame's
  uint8_t* destination = store.pixels + static_cast<int64_t>(surface->sourceY) * store.pitch +
                         static_cast<int64_t>(surface->sourceX) * bytes;
  const ColorFormat& to = *store.colorFormat;
  const ColorFormat& from = frame->format;
  const bool sameLayout = from.depth == to.depth && from.bytesPerPixel == bytes && from.redMask == to.redMask &&
                          from.greenMask == to.greenMask && from.blueMask == to.blueMask;
  if (sameLayout) {
    for (int32_t row = 0; row < height; ++row) {
      std::memcpy(destination + static_cast<int64_t>(row) * store.pitch,
                  frame->pixels + static_cast<int64_t>(row) * frame->pitch, static_cast<size_t>(width) * bytes);
    }
  } else {
    ConvertImagePixels(destination, store.pitch, to, frame->pixels, frame->pitch, from,
                       nullptr, 0, nullptr, 0, 0, IntRect{0, 0, width, height}, 0, 0, 0, 0, 0, 0, 0);
  }
  return 0;
}
