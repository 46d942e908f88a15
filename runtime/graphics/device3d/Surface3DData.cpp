// Tiles of texture graphics: their table, how a graphic is cut into
// power-of-two textures, and how a derived graphic shares its parent's.

#include <algorithm>
#include <vector>

#include "runtime/Movan.h"
#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/device3d/Graphic3D.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/platform/base/Log.h"

namespace {

PointerHandleTable<Surface3DData>& Table() {
  static PointerHandleTable<Surface3DData> table(kHandleGraphic3DData, kSurface3DCapacity,
                                                 "３Ｄグラフィックの数が許容量を越えました。\n",
                                                 "メモリの確保に失敗しました in AddSurface3DData \n");
  return table;
}

struct TilePlan {
  int textureWidth;
  int textureHeight;
  int x;
  int y;
};

void SetSides(Surface3DData* tile, int width, int height) {
  const double slope = static_cast<double>(height) / static_cast<double>(width);
  for (int i = 0; i < 4; ++i) {
    const double x = tile->vertices[i].x;
    const double y = tile->vertices[i].y;
    tile->sides[i] = height - x * slope >= y ? 1 : 0;
  }
}

int SmallestPowerOfTwoFrom8(int value) {
  int p = 8;
  while (p < value && p < (1 << 30)) p *= 2;
  return p;
}

}  // namespace

int AddSurface3DData(int textureWidth, int textureHeight, int x, int y, int usedWidth, int usedHeight, int sourceX,
                     int sourceY, int owner, int sharedTile, int textureX, int textureY, const GraphicFormat& format) {
  if (!gD3D.object) return LogWrite("３Ｄグラフィックエンジンが初期化されていません\n");
  const Surface3DData* shared = sharedTile >= 0 ? GetSurface3DData(sharedTile) : nullptr;
  if (sharedTile >= 0 && !shared) return -1;
  Surface3DData* tile = nullptr;
  const int handle = Table().Create(&tile);
  if (handle < 0) return -1;
  int record;
  if (shared) {
    record = shared->imageRecord;
    AddRefImageRecord(record);
    textureX += shared->textureX;
    textureY += shared->textureY;
    sourceX += shared->sourceX;
    sourceY += shared->sourceY;
  } else {
    record = CreateImageRecord(1, textureWidth, textureHeight, gDrawState.transparentColor, format);
    if (record < 0) {
      Table().Delete(handle);
      return -1;
    }
  }
  tile = GetSurface3DData(handle);
  tile->x = static_cast<uint16_t>(x);
  tile->y = static_cast<uint16_t>(y);
  tile->width = static_cast<uint16_t>(usedWidth);
  tile->height = static_cast<uint16_t>(usedHeight);
  tile->sourceX = static_cast<uint16_t>(sourceX);
  tile->sourceY = static_cast<uint16_t>(sourceY);
  tile->textureX = static_cast<uint16_t>(textureX);
  tile->textureY = static_cast<uint16_t>(textureY);
  tile->owner = owner;
  tile->imageRecord = record;
  const ImageRecord* r = GetImageRecord(record);
  const float tw = static_cast<float>(r->width);
  const float th = static_cast<float>(r->height);
  for (int i = 0; i < 4; ++i) {
    const bool right = (i & 1) != 0;
    const bool bottom = (i & 2) != 0;
    Tile3DVertex& v = tile->vertices[i];
    v.x = static_cast<float>(x + (right ? usedWidth : 0));
    v.y = static_cast<float>(y + (bottom ? usedHeight : 0));
    v.z = 0.0f;
    v.rhw = 1.0f;
    v.colour = 0xFFFFFFFF;
    v.u = static_cast<float>(textureX + (right ? usedWidth : 0)) / tw;
    v.v = static_cast<float>(textureY + (bottom ? usedHeight : 0)) / th;
  }
  return handle;
}

Surface3DData* GetSurface3DData(int handle) { return Table().Find(handle); }

int DeleteSurface3DData(int handle) {
  Surface3DData* tile = GetSurface3DData(handle);
  if (!tile) return -1;
  if (ReleaseImageRecord(tile->imageRecord) == 0) DeleteImageRecord(tile->imageRecord);
  return Table().Delete(handle);
}

int DeleteAllSurface3DData() {
  if (!gD3D.object) return -1;
  Table().ForEach([](int32_t handle, Surface3DData*) { DeleteSurface3DData(handle); });
  return 0;
}

int GetSurface3DDataCount() { return Table().LiveCount(); }
int GetSurface3DDataEnd() { return Table().UsedEnd(); }

void ForEachSurface3DData(void (*f)(int handle, Surface3DData* tile)) {
  Table().ForEach([f](int32_t handle, Surface3DData* tile) { f(handle, tile); });
}

int SplitTextureSizes(int length, int single, int* sizes, int capacity) {
  const int deviceMin = gD3D.minTextureSize;
  const int minimum = std::max(deviceMin, 32);
  const int deviceMax = gD3D.maxTextureSize;
  int count = 0;
  auto emit = [&](int size) {
    if (count < capacity) sizes[count] = size;
    ++count;
  };
  if (length <= minimum) {
    int c = minimum;
    while (c / 2 >= length && c > deviceMin) c /= 2;
    emit(c);
    return count;
  }
  int screenWidth = 0;
  GetScreenSize(&screenWidth, nullptr);
  const int largest = single || screenWidth > deviceMax ? deviceMax : SmallestPowerOfTwoFrom8(screenWidth);
  int c = largest;
  while (c > length && c > minimum) c /= 2;
  if ((single || length < screenWidth) && 2 * c <= largest) {
    emit(c < length ? 2 * c : c);
    return count;
  }
  int remaining = length;
  while (true) {
    emit(c);
    remaining -= c;
    if (remaining <= 0) break;
    if (remaining > 3 * c / 4 && c < largest) {
      if (count <= capacity) sizes[count - 1] = 2 * c;
      break;
    }
    while (remaining < c && c > minimum) c /= 2;
  }
  if (count >= 2 && count <= capacity && sizes[count - 1] == sizes[count - 2] && 2 * sizes[count - 1] <= largest) {
    sizes[count - 2] *= 2;
    --count;
  }
  return count;
}

int CreateGraphicParts3D(GraphicEntry* g) {
  if (!gD3D.object) return -1;
  const int single = g->format.drawable || g->blendImageSetting ? 1 : 0;
  int columns[kMaxTiles + 1];
  int rows[kMaxTiles + 1];
  const int columnCount = SplitTextureSizes(g->width, single, columns, kMaxTiles + 1);
  const int rowCount = SplitTextureSizes(g->height, single, rows, kMaxTiles + 1);
  if (static_cast<int64_t>(columnCount) * rowCount > kMaxTiles) {
    return LogFormat("エラー：画像の分割数が最大数の %d を超えました", kMaxTiles);
  }
  std::vector<TilePlan> plans;
  int y = 0;
  for (int r = 0; r < rowCount; ++r) {
    int x = 0;
    for (int c = 0; c < columnCount; ++c) {
      plans.push_back(TilePlan{columns[c], rows[r], x, y});
      x += columns[c];
    }
    y += rows[r];
  }
  if (gD3D.description.squareOnly) {
    // Squares of the shorter side, the first in the tile's place and the
    // others at the end; squares wholly past the graphic are not needed.
    const size_t planned = plans.size();
    for (size_t i = 0; i < planned; ++i) {
      TilePlan& p = plans[i];
      if (p.textureWidth == p.textureHeight) continue;
      const bool wide = p.textureWidth > p.textureHeight;
      const int side = wide ? p.textureHeight : p.textureWidth;
      const int n = (wide ? p.textureWidth : p.textureHeight) / side;
      const TilePlan first = p;
      p.textureWidth = side;
      p.textureHeight = side;
      for (int k = 1; k < n; ++k) {
        const TilePlan square{side, side, first.x + (wide ? k * side : 0), first.y + (wide ? 0 : k * side)};
        if (square.x < g->width && square.y < g->height) plans.push_back(square);
      }
    }
    // The graphic holds no more tiles than it has room for.
    if (plans.size() > static_cast<size_t>(kMaxTiles)) {
      return LogFormat("エラー：画像の分割数が最大数の %d を超えました", kMaxTiles);
    }
  }
  g->partCount = 0;
  for (const TilePlan& p : plans) {
    const int usedWidth = std::min(p.textureWidth, g->width - p.x);
    const int usedHeight = std::min(p.textureHeight, g->height - p.y);
    const int tile = AddSurface3DData(p.textureWidth, p.textureHeight, p.x, p.y, usedWidth, usedHeight, p.x, p.y,
                                      g->handle, -1, 0, 0, g->format);
    if (tile < 0) return -1;
    SetSides(GetSurface3DData(tile), g->width, g->height);
    g->parts[g->partCount++] = tile;
  }
  return 0;
}

int DeriveGraphicParts3D(GraphicEntry* g, int x, int y, int width, int height, const GraphicEntry* parent) {
  FlushVertexBatch();
  EndScene3D();
  g->partCount = 0;
  if (parent->partCount == 1) {
    const Surface3DData* tile = GetSurface3DData(parent->parts[0]);
    if (!tile) return -1;
    const int made = AddSurface3DData(0, 0, 0, 0, width, height, x, y, g->handle, parent->parts[0], x, y, g->format);
    if (made < 0) return -1;
    SetSides(GetSurface3DData(made), width, height);
    g->parts[g->partCount++] = made;
    return 0;
  }
  for (int i = 0; i < parent->partCount; ++i) {
    const Surface3DData* tile = GetSurface3DData(parent->parts[i]);
    int made = -1;
    if (tile) {
      const int left = std::max<int>(x, tile->x);
      const int top = std::max<int>(y, tile->y);
      const int right = std::min<int>(x + width, tile->x + tile->width);
      const int bottom = std::min<int>(y + height, tile->y + tile->height);
      if (right <= left || bottom <= top) continue;
      made = AddSurface3DData(0, 0, left - x, top - y, right - left, bottom - top, left - tile->x, top - tile->y,
                              g->handle, parent->parts[i], left - tile->x, top - tile->y, g->format);
    }
    if (made < 0) {
      DeleteGraphicParts3D(g);
      return -1;
    }
    SetSides(GetSurface3DData(made), width, height);
    g->parts[g->partCount++] = made;
  }
  return 0;
}

int DeleteGraphicParts3D(GraphicEntry* g) {
  for (int i = 0; i < g->partCount && i < kMaxTiles; ++i) DeleteSurface3DData(g->parts[i]);
  g->partCount = 0;
  return 0;
}

int CheckLostGraphic3D(const GraphicEntry* g) {
  int result = 0;
  for (int i = 0; i < g->partCount && i < kMaxTiles; ++i) {
    const Surface3DData* tile = GetSurface3DData(g->parts[i]);
    if (!tile || RestoreImageRecordIfLost(tile->imageRecord) != 0) result = -1;
  }
  return result;
}

int CheckLostSurfaces3D() {
  ForEachSurface3DData([](int, Surface3DData* tile) { RestoreImageRecordIfLost(tile->imageRecord); });
  return 0;
}
