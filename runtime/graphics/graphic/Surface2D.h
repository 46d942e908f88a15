#pragma once
// The one 2D part of a 2D graphic: a placement of one image record, or of a
// rectangle of it for a derived graphic.

#include <cstdint>

#include "runtime/graphics/graphic/GraphicFormat.h"
#include "runtime/platform/base/HandleTable.h"
#include "runtime/softrender/MemImg.h"

constexpr int32_t kSurface2DCapacity = 32768;

struct GraphicEntry;

struct Surface2D : HandleRecord {
  int* deletedNotify = nullptr;
  uint16_t partX = 0;
  uint16_t partY = 0;
  uint16_t sourceX = 0;
  uint16_t sourceY = 0;
  uint16_t width = 0;
  uint16_t height = 0;
  int32_t owner = -1;
  int32_t imageRecord = -1;
};

// shareSurface: a 2D surface whose image record the new one shows, or -1.
int AddSurface2D(int width, int height, int partX, int partY, int owner, int shareSurface, int sourceX,
                 int sourceY, const GraphicFormat& format);
int DeleteSurface2D(int handle);
int DeleteAllSurface2D();
Surface2D* GetSurface2D(int handle);
int SetSurface2DDeleteNotify(int handle, int* notify);
int GetSurface2DCount();
// Calls f(handle, surface) for every live surface.
void ForEachSurface2D(void (*f)(int handle, Surface2D* surface, void* context), void* context);

int CreateGraphicSurface2D(GraphicEntry* graphic);
int DeriveGraphicSurface2D(GraphicEntry* graphic, int x, int y, int width, int height, const GraphicEntry* parent);
int DeleteGraphicParts2D(GraphicEntry* graphic);
int FillGraphic2D(GraphicEntry* graphic, int red, int green, int blue, int alpha);
// The memory image a part shows: the record's image, or for a part that is
// a rectangle of its record a view of it; for a record on a surface of the
// display, the part locked and wrapped as a memory image. Released (and
// unlocked) with this object. Null when the part has no pixels to show.
class Surface2DImage {
 public:
  explicit Surface2DImage(const Surface2D* surface, bool readOnly = true);
  ~Surface2DImage();
  Surface2DImage(const Surface2DImage&) = delete;
  Surface2DImage& operator=(const Surface2DImage&) = delete;
  MemImg* Get() { return image_; }

 private:
  MemImg view_ = {};
  MemImg* image_ = nullptr;
  int lockedRecord_ = -1;
};
