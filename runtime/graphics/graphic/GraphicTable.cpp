#include "runtime/graphics/graphic/GraphicTable.h"

#include <cstring>

#include "runtime/Movan.h"

#include "runtime/graphics/device3d/Direct3DState.h"
#include "runtime/graphics/device3d/Graphic3D.h"
#include "runtime/graphics/graphic/ImageRecord.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/graphics/movies/MovieTable.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/graphics/state/DrawState.h"
#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/base/StringHelpers.h"
#include "runtime/platform/files/FileAccessTable.h"
#include "runtime/platform/system/LayerLifeCycle.h"

namespace {

PointerHandleTable<GraphicEntry>& Table() {
  static PointerHandleTable<GraphicEntry> table(kHandleGraphic, kGraphicCapacity, "", "");
  return table;
}

bool SizeAllowed(int width, int height) {
  return width > 0 && height > 0 && width <= kMaxGraphicSide && height <= kMaxGraphicSide &&
         static_cast<int64_t>(width) * height <= kMaxGraphicArea;
}

// A text that does not fit its field is not kept at all: a cut name would
// reload another file.
void StoreBounded(char* field, size_t size, const char* text) {
  if (std::strlen(text) >= size) {
    field[0] = '\0';
    return;
  }
  StrCopy(field, size, text);
}

}  // namespace

int AllocGraphicHandle(int width, int height, int textureRequest, GraphicEntry** entry, int alphaFlag,
                       int paletteFlag) {
  if (!SizeAllowed(width, height)) return LogWrite("グラフィックの作成に失敗しました\n");
  if (Table().LiveCount() >= kGraphicCapacity) FatalErrorExit("グラフィックの数が許容量を越えました終了します");
  GraphicEntry* g = nullptr;
  const int handle = Table().Create(&g);
  if (handle < 0) FatalErrorExit("メモリの確保に失敗しました");
  g->handle = handle;
  g->width = width;
  g->height = height;
  g->movie = -1;
  g->blendImageSetting = gDrawState.createBlendGraphicImage;
  const DrawState& s = gDrawState;
  GraphicFormat& f = g->format;
  f.texture = textureRequest && s.enable3D && HasDevice3D() && !IsSoftwareScreens() ? 1 : 0;
  f.paletteImage = 0;
  f.unmanagedTexture = static_cast<uint8_t>(s.createUnmanagedTexture != 0);
  if (s.createDrawable == 1) {
    f.blendImage = 0;
    f.alphaTest = 0;
    f.drawable = 1;
    f.alphaChannel = 0;
  } else {
    f.alphaChannel = static_cast<uint8_t>(alphaFlag != 0);
    f.drawable = 0;
    f.alphaTest = static_cast<uint8_t>(s.createAlphaTest != 0);
    f.blendImage = static_cast<uint8_t>(s.createBlendGraphicImage != 0);
  }
  const int screenDepth = GetScreenDepth();
  if (f.texture) {
    f.colorDepth = static_cast<uint8_t>(s.createColorDepth != 0 ? s.createColorDepth : alphaFlag == 1 ? 32 : screenDepth);
    f.systemMemory = 0;
    if (g->blendImageSetting == 1) {
      f.colorDepth = 32;
      f.alphaTest = 0;
      f.alphaChannel = 1;
      f.drawable = 0;
    }
  } else {
    f.colorDepth = static_cast<uint8_t>(s.createColorDepth == 0 || gScreen.directDrawDisabled ? screenDepth
                                                                                               : s.createColorDepth);
    f.systemMemory = static_cast<uint8_t>(s.createSystemMemory != 0);
    f.paletteImage = static_cast<uint8_t>(paletteFlag != 0);
    f.unmanagedTexture = 0;
  }
  if (entry) *entry = g;
  return handle;
}

int CreateGraphic(int width, int height, int textureRequest, int alphaFlag, int paletteFlag) {
  GraphicEntry* g = nullptr;
  const int handle = AllocGraphicHandle(width, height, textureRequest, &g, alphaFlag, paletteFlag);
  if (handle < 0) return -1;
  const int made = g->format.texture ? CreateGraphicParts3D(g) : CreateGraphicSurface2D(g);
  if (made != 0) {
    if (g->format.texture) DeleteGraphicParts3D(g);
    Table().Delete(handle);
    return LogWrite("グラフィックの作成に失敗しました\n");
  }
  return handle;
}

int CreateBlankGraphic(int width, int height, int noTexture) {
  return CreateGraphic(width, height, noTexture ? 0 : 1, gDrawState.createBlankAlpha, 0);
}

int DeleteGraphic(int handle, int logFlag) {
  GraphicEntry* g = GetGraphicRecord(handle);
  if (!g) return -1;
  // Whichever of a movie graphic and its derived graphics goes first closes
  // the movie; the others' handle then no longer validates.
  CloseMovie(g->movie);
  if (g->format.texture) {
    DeleteGraphicParts3D(g);
  } else {
    DeleteGraphicParts2D(g);
  }
  if (logFlag) LogFormat("グラフィック %s の削除", g->fileName);
  if (g->deletedNotify) *g->deletedNotify = 1;
  Table().Delete(handle);
  return 0;
}

int SetGraphicDeleteNotify(int handle, int* notify) {
  GraphicEntry* g = GetGraphicRecord(handle);
  if (!g) return -1;
  g->deletedNotify = notify;
  if (notify) *notify = 0;
  return 0;
}

int DeleteAllGraphics(int logFlag) {
  if (!gScreen.graphicsStarted) return 0;
  Table().ForEach([logFlag](int32_t handle, GraphicEntry*) { DeleteGraphic(handle, logFlag); });
  return 0;
}

GraphicEntry* GetGraphicRecord(int handle) { return Table().Find(handle); }

int GetGraphicSize(int handle, int* width, int* height) {
  if (handle == -4 || handle == -2) return GetScreenSize(width, height);
  const GraphicEntry* g = GetGraphicRecord(handle);
  if (!g) return -1;
  if (width) *width = g->width;
  if (height) *height = g->height;
  return 0;
}

int GetGraphicCount() { return Table().LiveCount(); }

int DeriveGraphic(int x, int y, int width, int height, int parentHandle) {
  const GraphicEntry* parent = GetGraphicRecord(parentHandle);
  if (!parent) return -1;
  // A rectangle that starts outside the parent, or has no area, shows
  // nothing of it.
  if (x < 0 || y < 0 || x >= parent->width || y >= parent->height || width <= 0 || height <= 0) return -1;
  if (static_cast<int64_t>(x) + width > parent->width) width = parent->width - x;
  if (static_cast<int64_t>(y) + height > parent->height) height = parent->height - y;
  GraphicEntry* g = nullptr;
  const int handle = AllocGraphicHandle(width, height, parent->format.texture, &g, parent->format.alphaChannel,
                                        parent->format.paletteImage);
  if (handle < 0) return -1;
  parent = GetGraphicRecord(parentHandle);
  g->movie = parent->movie;
  StrCopy(g->fileName, sizeof g->fileName, parent->fileName);
  StrCopy(g->directory, sizeof g->directory, parent->directory);
  g->format = parent->format;
  g->imageOption = parent->imageOption;
  g->sourceX = parent->sourceX + x;
  g->sourceY = parent->sourceY + y;
  const int made = g->format.texture ? DeriveGraphicParts3D(g, x, y, width, height, parent)
                                     : DeriveGraphicSurface2D(g, x, y, width, height, parent);
  if (made != 0) {
    Table().Delete(handle);
    return LogWrite("グラフィックの派生に失敗しました終了します");
  }
  return handle;
}

int SetGraphicSourceName(int handle, const char* name, int other) {
  GraphicEntry* g = GetGraphicRecord(handle);
  if (!g) return -1;
  g->directory[0] = '\0';
  char storedName[kGraphicNameSize] = {};
  if (name) {
    StoreBounded(storedName, sizeof storedName, name);
  } else if (const GraphicEntry* o = GetGraphicRecord(other)) {
    StrCopy(g->directory, sizeof g->directory, o->directory);
    StrCopy(storedName, sizeof storedName, o->fileName);
  }
  if (g->directory[0] == '\0') {
    char current[kFilePathSize] = {};
    if (GetDirVia(current) == 0) StoreBounded(g->directory, sizeof g->directory, current);
  }
  StrCopy(g->fileName, sizeof g->fileName, storedName);
  return 0;
}

int FillGraphic(int handle, int red, int green, int blue, int alpha) {
  GraphicEntry* g = GetGraphicRecord(handle);
  if (!g) return -1;
  if (!g->format.texture) return FillGraphic2D(g, red, green, blue, alpha);
  const Device3DRecord* d = CurrentDevice3D();
  if (!d || !d->device) return -1;
  // Nothing while the 3D device draws into a graphic.
  if (gDrawState.drawTarget >= 0) return 0;
  for (int i = 0; i < g->partCount; ++i) {
    const Surface3DData* tile = GetSurface3DData(g->parts[i]);
    if (!tile) return -1;
    FillImageRecord(tile->imageRecord, red, green, blue, alpha);
  }
  return 0;
}

void ForEachGraphic(void (*f)(int handle, GraphicEntry* entry, void* context), void* context) {
  Table().ForEach([&](int32_t handle, GraphicEntry* entry) { f(handle, entry, context); });
}

void ClearGraphicTables() {
  Table().DeleteAll();
  ForEachSurface3DData([](int handle, Surface3DData*) { DeleteSurface3DData(handle); });
  ForEachSurface2D([](int handle, Surface2D*, void*) { DeleteSurface2D(handle); }, nullptr);
  ClearImageRecordTable();
}

int ForEachGraphicHandle(void (*f)(int graphic)) {
  Table().ForEach([f](int32_t handle, GraphicEntry*) { f(handle); });
  return 0;
}
