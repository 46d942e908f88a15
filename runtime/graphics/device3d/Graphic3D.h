#pragma once
// Texture graphics: their tiles (each a power-of-two texture held by one
// Surface3DData) and the 3D draws of the dispatch.

#include <cstdint>

#include "runtime/graphics/graphic/GraphicFormat.h"
#include "runtime/platform/base/HandleTable.h"

struct GraphicEntry;

struct Tile3DVertex {
  float x, y, z, rhw;
  uint32_t colour;
  float u, v;
};

struct Surface3DData : HandleRecord {
  uint16_t x = 0;  // placement in the graphic
  uint16_t y = 0;
  uint16_t textureX = 0;  // where its pixels start in the texture
  uint16_t textureY = 0;
  uint16_t sourceX = 0;  // where its pixels come from in the graphic's source image
  uint16_t sourceY = 0;
  uint16_t width = 0;  // used size
  uint16_t height = 0;
  // Top-left, top-right, bottom-left, bottom-right.
  Tile3DVertex vertices[4] = {};
  uint8_t sides[4] = {};  // 1: on or above the graphic's anti-diagonal
  int32_t owner = -1;
  int32_t imageRecord = -1;
};

constexpr int32_t kSurface3DCapacity = 65536;
constexpr int kMaxTiles = 64;

int AddSurface3DData(int textureWidth, int textureHeight, int x, int y, int usedWidth, int usedHeight, int sourceX,
                     int sourceY, int owner, int sharedTile, int textureX, int textureY, const GraphicFormat& format);
Surface3DData* GetSurface3DData(int handle);
int DeleteSurface3DData(int handle);
int DeleteAllSurface3DData();
int GetSurface3DDataCount();
int GetSurface3DDataEnd();
void ForEachSurface3DData(void (*f)(int handle, Surface3DData* tile));
// The texture lengths of the tiles along one side.
int SplitTextureSizes(int length, int single, int* sizes, int capacity);

int CreateGraphicParts3D(GraphicEntry* graphic);
int DeriveGraphicParts3D(GraphicEntry* graphic, int x, int y, int width, int height, const GraphicEntry* parent);
int DeleteGraphicParts3D(GraphicEntry* graphic);
int CheckLostGraphic3D(const GraphicEntry* graphic);
int CheckLostSurfaces3D();

int DrawGraphic3D(int x, int y, float fx, float fy, const GraphicEntry* graphic, int transparent, int keepAlpha);
int DrawGraphicStretched3D(int x1, int y1, int x2, int y2, float fx1, float fy1, float fx2, float fy2,
                           const GraphicEntry* graphic, int transparent, int smooth);
int DrawGraphicRotated3D(float x, float y, double scale, double angle, const GraphicEntry* graphic, int transparent,
                         int mirror);
int DrawGraphicQuad3D(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, const GraphicEntry* graphic,
                      int transparent);
int DrawGraphicQuadF3D(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                       const GraphicEntry* graphic, int transparent);
int FillBox3D(int x1, int y1, int x2, int y2, uint32_t colour);
int DrawBoxOutline3D(int x1, int y1, int x2, int y2, uint32_t colour);
int DrawString3D(int x, int y, const char* text, uint32_t colour, int font, uint32_t edgeColour);
int DrawStringScaled3D(int x, int y, double scaleX, double scaleY, const char* text, uint32_t colour, int font,
                       uint32_t edgeColour);
// An indexed grid of textured vertices, rows of `columns`, as triangle strips.
int DrawGridStrips3D(int device, int columns, int rows, const void* vertices);
