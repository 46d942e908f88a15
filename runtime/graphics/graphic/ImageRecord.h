#pragma once
// Reference-counted pixel stores behind the parts of graphics. In software
// mode every record keeps its pixels in a memory image; surface and texture
// records join with the 3D device.

#include <cstdint>

#include "runtime/graphics/format/ColorFormat.h"
#include "runtime/graphics/graphic/GraphicFormat.h"
#include "runtime/platform/base/HandleTable.h"
#include "runtime/softrender/MemImg.h"

constexpr int32_t kImageRecordCapacity = 65536;

struct ImageRecord : HandleRecord {
  GraphicFormat format = {};
  int32_t software = 0;
  int32_t pixelFormatIndex = 0;
  void* surface = nullptr;  // surface or texture of the device; none in software mode
  MemImg image = {};
  uint32_t colorKey = 0;  // 0x00RRGGBB
  uint16_t width = 0;
  uint16_t height = 0;
  int32_t referenceCount = 0;
  int32_t lockPitch = 0;
  uint8_t* lockPointer = nullptr;
  int32_t lockCount = 0;
};

struct IntPoint {
  int32_t x;
  int32_t y;
};

int CreateImageRecord(int referenceCount, int width, int height, uint32_t colorKey, const GraphicFormat& format);
int DeleteImageRecord(int handle);
ImageRecord* GetImageRecord(int handle);
int AddRefImageRecord(int handle);
int ReleaseImageRecord(int handle);
int CreateImageRecordSurface(int handle);
int ReleaseImageRecordSurface(int handle);
int SetImageRecordColorKey(int handle);
// 0: not lost; -1: lost and restored, its content must be loaded again.
int RestoreImageRecordIfLost(int handle);
// 0; -2 when already locked (the same pointer and pitch, one more unlock
// needed); -1 on failure.
int LockImageRecord(int handle, int32_t* pitch, uint8_t** pointer, int writeOnly, const IntPoint* point,
                    ColorFormat* format);
int UnlockImageRecord(int handle, const IntPoint* point);
int FillImageRecord(int handle, int red, int green, int blue, int alpha);
int GetImageRecordCount();
// Empties the table (start and end of the graphics system).
void ClearImageRecordTable();
