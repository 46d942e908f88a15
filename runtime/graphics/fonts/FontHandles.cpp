#include "runtime/graphics/fonts/FontHandles.h"

#include <algorithm>
#include <cstring>

#include "runtime/graphics/state/ScreenDevice.h"
#include "runtime/graphics/device3d/Device3DOps.h"
#include "runtime/graphics/fonts/GlyphCache.h"
#include "runtime/graphics/graphic/DrawStateOps.h"
#include "runtime/graphics/graphic/GraphicTable.h"
#include "runtime/graphics/graphic/GraphicFormat.h"
#include "runtime/graphics/graphic/Surface2D.h"
#include "runtime/graphics/screen/ScreenState.h"
#include "runtime/host/fonts/GlyphSource.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/base/ResourceHandle.h"
#include "runtime/platform/base/TrackedAlloc.h"

FontTable gFontTable;

namespace {

// The memory cache gets about this many bytes' worth of 8-bit cells.
constexpr int kCacheArea = 0x50000;
constexpr int kMinCells = 20;
// No cache beyond the size cap of any image.
constexpr int64_t kCachePixelLimit = int64_t{1} << 26;

struct FaceAttempt {
  const char* face;
  int charset;
};

// The host face, tried as the system would: with a face name that face with
// the charset, then default and Shift-JIS; without one the default face with
// the charset, then default, then no face at all.
int OpenHostFace(const char* face, int charset, const FontEntry& e, HostFaceMetrics* metrics) {
  const bool named = face != nullptr;
  const FaceAttempt attempts[3] = {
      {named ? face : "ＭＳ ゴシック", charset},
      {named ? face : "ＭＳ ゴシック", 0},
      {named ? face : "", named ? 1 : charset},
  };
  const HostGlyphSource* source = HostCurrentGlyphSource();
  for (const FaceAttempt& a : attempts) {
    const HostFaceRequest request{a.face, a.charset, e.size, e.thickness * 100, e.italic};
    const int id = source->openFace(request, metrics);
    if (id >= 0) return id;
  }
  return -1;
}

void DeleteCacheTexture(FontEntry* e) {
  // A texture marked lost went with the graphics; its handle is stale.
  if (e->cacheTextureLost) return;
  if (e->edgeLayer >= 0) DeleteGraphic(e->edgeLayer, 0);
  if (e->cacheTexture >= 0) {
    SetGraphicDeleteNotify(e->cacheTexture, nullptr);
    DeleteGraphic(e->cacheTexture, 0);
  }
  e->edgeLayer = -1;
  e->cacheTexture = -1;
}

void FreeEntry(FontEntry* e) {
  if (e->hostFace >= 0) HostCurrentGlyphSource()->closeFace(e->hostFace);
  if (e->textureCache) DeleteCacheTexture(e);
  if (e->workImage.pixels) FreeGraphImage(&e->workImage);
  // A text image marked lost was deleted with the screen's surfaces; its
  // handle may name another surface by now.
  if (e->textImage >= 0 && !e->textImageLost) {
    SetSurface2DDeleteNotify(e->textImage, nullptr);
    DeleteSurface2D(e->textImage);
  }
  if (e->cache) TrackedFree(e->cache);
  TrackedFree(e);
}

bool WantsTextureCache() {
  if (!gDrawState.enable3D || !HasDevice3D() || IsSoftwareScreens()) return false;
  const ColorFormat alpha = GetTextureColorFormatFor(1, 0, 0, 0);
  const ColorFormat test = GetTextureColorFormatFor(0, 1, 0, 0);
  return alpha.depth == 16 && alpha.alphaMask == 0xF000 && test.depth == 16 && test.alphaMask == 0x8000;
}

int FontCharsetDefault() {
  // The host's OEM code page is 932, never Korean.
  return 1;
}

}  // namespace

FontEntry* LiveFontEntry(int font) {
  if (!HandleShapeMatches(font, kHandleFont, kFontSlots)) return nullptr;
  FontEntry* e = gFontTable.slots[HandleSlot(font)];
  if (!e || static_cast<int32_t>(e->check) != HandleCheckBits(font) >> 16) return nullptr;
  return e;
}

FontEntry* GetFontEntry(int font) { return LiveFontEntry(font); }

int EffectiveFontType(int type, int edgeSize) {
  int t = type & (kFontEdged | kFontAntialiased);
  if (edgeSize > 1) t |= kFontEdged;
  if (GetScreenDepth() == 8) t &= ~kFontAntialiased;
  return t;
}

int IsFontHandleValid(int font) { return LiveFontEntry(font) ? 1 : 0; }

int CreateFontToHandle(const char* face, int size, int thickness, int type, int charset, int edgeSize, int italic,
                       int slot, int check) {
  if (size == -1) size = 16;
  if (thickness == -1) thickness = 6;
  if (type == -1) type = 0;
  if (charset == -1) charset = FontCharsetDefault();
  if (edgeSize == -1) edgeSize = 1;
  // A given slot or check number outside its range would index past the
  // table or spill into the handle's type bits.
  if (slot < -1 || slot >= kFontSlots || check < -1 || check >= kHandleCheckLimit) return -1;
  if (slot == -1) {
    for (int i = 0; i < kFontSlots && slot == -1; ++i) {
      if (!gFontTable.slots[i]) slot = i;
    }
    if (slot == -1) return LogFormat("作成できるフォントハンドル数 %d の限界を超えました", kFontSlots);
  } else if (gFontTable.slots[slot]) {
    return -1;
  }

  auto* e = static_cast<FontEntry*>(TrackedAllocZero(sizeof(FontEntry), __FILE__, __LINE__));
  if (!e) return LogWrite("フォント管理用メモリ領域の確保に失敗しました\n");
  e->hostFace = -1;
  e->textImage = -1;
  e->cacheTexture = -1;
  e->edgeLayer = -1;
  e->edgeSize = edgeSize;
  e->type = EffectiveFontType(type, edgeSize);
  e->size = size;
  e->thickness = thickness;
  e->italic = italic;
  e->spacing = 0;
  if (check == -1) {
    check = gFontTable.nextCheck;
    gFontTable.nextCheck = NextHandleCheck(gFontTable.nextCheck);
  }
  e->check = static_cast<uint32_t>(check);
  if (face) {
    std::strncpy(e->faceName, face, kFontFaceNameSize - 1);
    e->faceName[kFontFaceNameSize - 1] = '\0';
  }

  HostFaceMetrics metrics{};
  e->hostFace = OpenHostFace(face, charset, *e, &metrics);
  if (e->hostFace < 0) {
    FreeEntry(e);
    return LogWrite(face ? "指定のフォントの作成に失敗しました\n" : "フォントの作成に失敗しました\n");
  }
  e->ascent = metrics.ascent;

  // Cells: square, wide enough for the widest character and its edge, a
  // multiple of 8 pixels; the height an even number.
  const int edge = (e->type & kFontEdged) ? (edgeSize > 1 ? edgeSize : 1) : 0;
  int width = metrics.maxCharWidth + 2 + 2 * edge;
  width = (width + 7) / 8 * 8;
  int cellHeight = metrics.height + 2 * edge;
  if (cellHeight & 1) ++cellHeight;
  e->cellHeight = cellHeight;
  e->cellSize = width > cellHeight ? width : cellHeight;

  // A texture cache where the 3D path draws and offers the glyph formats:
  // 4-bit alpha for anti-aliased fonts, 1-bit alpha for the others.
  const int cs = e->cellSize;
  if (WantsTextureCache()) {
    int width = 512;
    int height = 512;
    while ((width / cs) * (height / cs) < 10) {
      if (height < width) {
        height *= 2;
      } else {
        width *= 2;
      }
    }
    e->textureCache = 1;
    e->cacheWidth = width;
    e->cacheHeight = height;
    e->cellCount = std::min((width / cs) * (height / cs), kGlyphCellsUsable);
    e->cellsPerColumn = height / cs;
    e->cacheTextureLost = 1;
    e->textImageLost = 0;
    gFontTable.slots[slot] = e;
    if (PrepareFontCacheTarget(MakeResourceHandle(slot, check, kHandleFont)) != 0) {
      LogWrite("テクスチャ文字キャッシュの作成に失敗しました\n");
      gFontTable.slots[slot] = nullptr;
      e->textureCache = 0;
    } else {
      const bool edged = (e->type & kFontEdged) != 0;
      e->workImage.format = GetTextureColorFormatFor((e->type & kFontAntialiased) ? 1 : 0,
                                                     (e->type & kFontAntialiased) ? 0 : 1, 0, 0);
      e->workImage.width = edged ? cs * 2 : cs;
      e->workImage.height = cs + (edged ? 2 * std::max(e->edgeSize, 1) : 0);
      e->workImage.pitch = e->workImage.width * e->workImage.format.bytesPerPixel;
      e->workImage.pixels = static_cast<uint8_t*>(TrackedAllocZero(
          static_cast<size_t>(e->workImage.pitch) * static_cast<size_t>(e->workImage.height), __FILE__, __LINE__));
      if (!e->workImage.pixels) {
        gFontTable.slots[slot] = nullptr;
        FreeEntry(e);
        return LogWrite("文字キャッシュ処理用メモリの確保に失敗しました\n");
      }
      ClearGlyphCells(e);
      e->charset = charset;
      e->deletedNotify = nullptr;
      return MakeResourceHandle(slot, check, kHandleFont);
    }
  }
  // A memory cache: one column of cells.
  const int64_t cellArea = static_cast<int64_t>(cs) * cs;
  int64_t count = cellArea > 0 ? kCacheArea / cellArea : kMinCells;
  if (count < kMinCells) count = kMinCells;
  if (count > kGlyphCellsUsable) count = kGlyphCellsUsable;
  e->textureCache = 0;
  e->cacheDepth = e->type == 0 ? 1 : 8;
  e->cellCount = static_cast<int32_t>(count);
  e->cacheWidth = cs;
  const int64_t cacheHeight = static_cast<int64_t>(cs) * count;
  e->cellsPerColumn = e->cellCount;
  e->cachePitch = (e->cacheDepth * cs + 7) / 8;
  const int64_t bytes = e->cachePitch * cacheHeight;
  if (cs <= 0 || cs * cacheHeight > kCachePixelLimit ||
      !(e->cache = static_cast<uint8_t*>(TrackedAllocZero(static_cast<size_t>(bytes), __FILE__, __LINE__)))) {
    FreeEntry(e);
    return LogFormat("フォントのキャッシュ用メモリの確保に失敗しました in CreateFontToHandle");
  }
  e->cacheHeight = static_cast<int32_t>(cacheHeight);
  e->textImageLost = 1;
  e->cacheTextureLost = 0;
  gFontTable.slots[slot] = e;
  const int handle = MakeResourceHandle(slot, check, kHandleFont);
  if (PrepareFontCacheTarget(handle) != 0) {
    gFontTable.slots[slot] = nullptr;
    FreeEntry(e);
    return LogFormat("フォント用描画スクリーンの作成に失敗しました");
  }
  ClearGlyphCells(e);
  e->charset = charset;
  e->deletedNotify = nullptr;
  return handle;
}

int PrepareFontCacheTarget(int font) {
  FontEntry* e = LiveFontEntry(font);
  if (!e) return -1;
  if (e->textureCache) {
    if (!e->cacheTextureLost) return 0;
    e->cacheTextureLost = 0;
    // The cache texture: white with alpha, 16 bits, never a draw target.
    DrawState& s = gDrawState;
    const int blankAlpha = s.createBlankAlpha;
    const int alphaTest = s.createAlphaTest;
    const int depth = s.createColorDepth;
    const int enable3D = s.enable3D;
    const int drawable = s.createDrawable;
    const bool antialiased = (e->type & kFontAntialiased) != 0;
    s.createBlankAlpha = antialiased ? 1 : 0;
    s.createAlphaTest = antialiased ? 0 : 1;
    s.createColorDepth = 16;
    s.enable3D = 1;
    s.createDrawable = 0;
    const bool edged = (e->type & kFontEdged) != 0;
    e->cacheTexture = CreateBlankGraphic(edged ? e->cacheWidth * 2 : e->cacheWidth, e->cacheHeight, 0);
    e->edgeLayer = -1;
    if (e->cacheTexture >= 0 && edged) {
      e->edgeLayer = DeriveGraphic(e->cacheWidth, 0, e->cacheWidth, e->cacheHeight, e->cacheTexture);
    }
    s.createBlankAlpha = blankAlpha;
    s.createAlphaTest = alphaTest;
    s.createColorDepth = depth;
    s.enable3D = enable3D;
    s.createDrawable = drawable;
    if (e->cacheTexture < 0 || (edged && e->edgeLayer < 0)) {
      if (e->cacheTexture >= 0) DeleteGraphic(e->cacheTexture, 0);
      e->cacheTexture = -1;
      e->cacheTextureLost = 1;
      return -1;
    }
    SetGraphicDeleteNotify(e->cacheTexture, &e->cacheTextureLost);
    FillGraphic(e->cacheTexture, 255, 255, 255, 0);
    ClearGlyphCells(e);
    return 0;
  }
  // Fonts made before the screen device exists (measuring tools) get their
  // text image at the first draw that needs it.
  if (e->textImageLost && HasScreenDevice()) {
    e->textImageLost = 0;
    int width = 0;
    int height = 0;
    GetScreenSize(&width, &height);
    GraphicFormat format = {};
    format.alphaChannel = (e->type & kFontAntialiased) ? 1 : 0;
    format.systemMemory = 1;
    format.colorDepth = static_cast<uint8_t>(GetScreenDepth() == 16 ? 16 : 32);
    e->textImage = AddSurface2D(width, height, 0, 0, -1, -1, 0, 0, format);
    if (e->textImage < 0) {
      e->textImageLost = 1;
      return -1;
    }
    SetSurface2DDeleteNotify(e->textImage, &e->textImageLost);
  }
  return 0;
}

int DeleteFontHandle(int font) {
  FontEntry* e = LiveFontEntry(font);
  if (!e) return -1;
  if (e->deletedNotify) *e->deletedNotify = 1;
  gFontTable.slots[HandleSlot(font)] = nullptr;
  FreeEntry(e);
  return 0;
}

int SetFontDeleteNotify(int font, int* notify) {
  FontEntry* e = LiveFontEntry(font);
  if (!e) return -1;
  e->deletedNotify = notify;
  if (notify) *notify = 0;
  return 0;
}

int SetFontSpacing(int spacing, int font) {
  FontEntry* e = LiveFontEntry(font);
  if (!e) return -1;
  e->spacing = spacing;
  return 0;
}

int GetFontInfo(char* faceName, int* size, int* thickness, int font) {
  const FontEntry* e = LiveFontEntry(font);
  if (!e) return -1;
  if (faceName) std::memcpy(faceName, e->faceName, kFontFaceNameSize);
  if (size) *size = e->size;
  if (thickness) *thickness = e->thickness;
  return 0;
}

int QueryFontSize(int font) {
  const FontEntry* e = LiveFontEntry(font);
  return e ? e->size : -1;
}
