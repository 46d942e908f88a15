#pragma once
// Reference-counted pixel stores behind the parts of graphics: a memory
// image (software records), a surface of the display, or a texture of the
// 3D device.

#include <cstdint>

#include "runtime/graphics/format/ColorFormat.h"
#include "runtime/graphics/graphic/GraphicFormat.h"
#include "runtime/platform/base/HandleTable.h"
#include "runtime/platform/base/IntRect.h"
#include "runtime/softrender/MemImg.h"

struct HostSurface;

constexpr int32_t kImageRecordCapacity = 65536;

struct ImageRecord : HandleRecord {
  GraphicFormat format = {};
  int32_t software = 0;
  int32_t pixelFormatIndex = 0;
  HostSurface* surface = nullptr;  // surface or texture of the display; none for software records
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
// Locks only a rectangle of a surface or texture (a software record: the
// rectangle's top-left pixel); access 1 writes only, 2 reads only, 0 both.
// Same results as LockImageRecord.
int LockImageRecordRect(int handle, const IntRect& rect, int access, int32_t* pitch, uint8_t** pointer,
                        ColorFormat* format);
// The colour format of a record's pixels as a lock hands them out.
ColorFormat ImageRecordColorFormat(const ImageRecord& record);
int FillImageRecord(int handle, int red, int green, int blue, int alpha);
int GetImageRecordCount();
// Empties the table (start and end of the graphics system).
void ClearImageRecordTable();
