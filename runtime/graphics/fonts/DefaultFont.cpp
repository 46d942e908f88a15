#include "runtime/graphics/fonts/DefaultFont.h"

#include <cstring>

#include "runtime/graphics/fonts/FontEntry.h"
#include "runtime/graphics/fonts/FontHandles.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/base/ResourceHandle.h"

DefaultFontSettings gDefaultFont = {-1, "", 16, 6, 0, 1, 1, 0, 0};

namespace {

void SetDefaultSettings() {
  gDefaultFont.face[0] = '\0';
  gDefaultFont.size = 16;
  gDefaultFont.thickness = 6;
  gDefaultFont.type = 0;
  gDefaultFont.charset = 1;
  gDefaultFont.edgeSize = 1;
  gDefaultFont.italic = 0;
  gDefaultFont.spacing = 0;
}

// A null face is the system's default face, kept as the empty name.
const char* FaceArgument(const char* face) { return face[0] ? face : nullptr; }

int CreateDefault() {
  const DefaultFontSettings& d = gDefaultFont;
  return CreateFontToHandle(FaceArgument(d.face), d.size, d.thickness, d.type, d.charset,
                            (d.type & kFontEdged) ? d.edgeSize : -1, d.italic, -1, -1);
}

}  // namespace

int RebuildDefaultFont() {
  DefaultFontSettings& d = gDefaultFont;
  const FontEntry* e = LiveFontEntry(d.font);
  const int edgeSize = (d.type & kFontEdged) ? d.edgeSize : 1;
  if (e && std::strcmp(e->faceName, d.face) == 0 && e->type == EffectiveFontType(d.type, edgeSize) &&
      e->size == d.size && e->thickness == d.thickness && e->charset == d.charset && e->edgeSize == edgeSize &&
      e->italic == d.italic) {
    return 0;
  }
  if (e) DeleteFontHandle(d.font);
  d.font = CreateDefault();
  if (d.font != -1) SetFontSpacing(d.spacing, d.font);
  return 0;
}

int GetDefaultFont() { return gDefaultFont.font; }

int SetDefaultFontSize(int size) {
  gDefaultFont.size = size == -1 ? 16 : size;
  return RebuildDefaultFont();
}

int SetDefaultFontThickness(int thickness) {
  gDefaultFont.thickness = thickness == -1 ? 6 : thickness;
  return RebuildDefaultFont();
}

int SetDefaultFontFace(const char* face, int charset) {
  std::strncpy(gDefaultFont.face, face ? face : "", sizeof gDefaultFont.face - 1);
  gDefaultFont.face[sizeof gDefaultFont.face - 1] = '\0';
  gDefaultFont.charset = charset == -1 ? 1 : charset;
  return RebuildDefaultFont();
}

int SetDefaultFontType(int type) {
  gDefaultFont.type = type == -1 ? 0 : type;
  return RebuildDefaultFont();
}

int SetDefaultFontSizeAndThickness(const char* face, int size, int thickness) {
  gDefaultFont.size = size == -1 ? 16 : size;
  gDefaultFont.thickness = thickness == -1 ? 6 : thickness;
  return RebuildDefaultFont();
}

int ResetFonts() {
  LogWrite("フォントの初期化を行います\n");
  LogIndentIn();
  DefaultFontSettings remembered = gDefaultFont;
  const FontEntry* e = LiveFontEntry(gDefaultFont.font);
  if (e) {
    std::memcpy(remembered.face, e->faceName, sizeof remembered.face);
    remembered.size = e->size;
    remembered.thickness = e->thickness;
    remembered.type = e->type;
    remembered.charset = e->charset;
    remembered.edgeSize = e->edgeSize;
    remembered.italic = e->italic;
  }
  for (int slot = 0; slot < kFontSlots; ++slot) {
    const FontEntry* f = gFontTable.slots[slot];
    if (f) DeleteFontHandle(MakeResourceHandle(slot, static_cast<int32_t>(f->check), kHandleFont));
  }
  if (e) {
    gDefaultFont.font = CreateFontToHandle(FaceArgument(remembered.face), remembered.size, remembered.thickness,
                                           remembered.type, remembered.charset, remembered.edgeSize,
                                           remembered.italic, -1, -1);
  } else {
    gDefaultFont.font = CreateFontToHandle(nullptr, 16, 6, -1, -1, -1, 0, -1, -1);
  }
  LogIndentOut();
  LogWrite("フォントの初期化は正常に終了しました\n");
  return 0;
}

int InitFonts() {
  for (FontEntry*& slot : gFontTable.slots) slot = nullptr;
  gFontTable.nextCheck = 0;
  gDefaultFont.font = -1;
  SetDefaultSettings();
  return ResetFonts();
}

int EndFonts() {
  ResetFonts();
  DeleteFontHandle(gDefaultFont.font);
  gDefaultFont.font = -1;
  return 0;
}

int RestoreFonts() {
  for (int slot = 0; slot < kFontSlots; ++slot) {
    const FontEntry* e = gFontTable.slots[slot];
    if (!e) continue;
    const int check = static_cast<int>(e->check);
    const int font = MakeResourceHandle(slot, check, kHandleFont);
    char face[kFontFaceNameSize];
    std::memcpy(face, e->faceName, sizeof face);
    const int size = e->size, thickness = e->thickness, type = e->type, charset = e->charset;
    const int edgeSize = e->edgeSize, italic = e->italic, spacing = e->spacing;
    DeleteFontHandle(font);
    if (CreateFontToHandle(FaceArgument(face), size, thickness, type, charset, edgeSize, italic, slot, check) != -1) {
      SetFontSpacing(spacing, font);
    }
  }
  return 0;
}
