#pragma once
// Graphic handles: the table of graphics and the record behind each handle.

#include <cstdint>

#include "runtime/Movan.h"
#include "runtime/graphics/graphic/GraphicFormat.h"
#include "runtime/platform/base/HandleTable.h"

constexpr int32_t kGraphicCapacity = kMaxGraphicCount;
constexpr int kGraphicPartCapacity = 64;
constexpr int kGraphicNameSize = 64;
constexpr int kGraphicDirectorySize = 256;
// Every graphic's side is at most this, and its area at most kMaxGraphicArea.
constexpr int kMaxGraphicSide = 32767;
constexpr int64_t kMaxGraphicArea = int64_t{1} << 26;

struct GraphicEntry : HandleRecord {
  int* deletedNotify = nullptr;
  int32_t handle = -1;
  GraphicFormat format = {};
  int32_t imageOption = 0;
  int32_t blendImageSetting = 0;
  int32_t parts[kGraphicPartCapacity] = {};
  int32_t partCount = 0;
  char fileName[kGraphicNameSize] = {};
  char directory[kGraphicDirectorySize] = {};
  int32_t sourceX = 0;
  int32_t sourceY = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t movie = -1;
  int32_t restorePending = 0;
};

// A 3D device exists and draws (runtime/graphics/device3d).
int HasDevice3D();

int AllocGraphicHandle(int width, int height, int textureRequest, GraphicEntry** entry, int alphaFlag,
                       int paletteFlag);
int CreateGraphic(int width, int height, int textureRequest, int alphaFlag, int paletteFlag);
int CreateBlankGraphic(int width, int height, int noTexture);
int DeleteGraphic(int handle, int logFlag);
int SetGraphicDeleteNotify(int handle, int* notify);
int DeleteAllGraphics(int logFlag);
GraphicEntry* GetGraphicRecord(int handle);
// -4 and -2 give the screen size.
int GetGraphicSize(int handle, int* width, int* height);
int GetGraphicCount();
int DeriveGraphic(int x, int y, int width, int height, int parent);
int SetGraphicSourceName(int handle, const char* name, int other);
int FillGraphic(int handle, int red, int green, int blue, int alpha);
// Calls f(handle, entry) for every live graphic, lowest slot first.
void ForEachGraphic(void (*f)(int handle, GraphicEntry* entry, void* context), void* context);
// Empties the graphic, image-record and 2D tables (start of the graphics
// system).
void ClearGraphicTables();
