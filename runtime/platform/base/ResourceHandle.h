#pragma once
// Every resource the layer hands out is named by a positive 32-bit handle:
//   bits 0-15   slot index in the type's table
//   bits 16-26  check number (0-2047), advanced at each creation of the type
//   bits 27-30  handle type
// so that a handle kept after its resource was deleted, or a handle of
// another type, is refused. -1 means none.

#include <cstdint>

enum HandleType : int32_t {
  kHandleGraphic = 1,
  kHandleSound = 2,
  kHandleMovie = 3,
  kHandleFont = 4,
  kHandleSurface2D = 5,
  kHandleGraphic3DData = 6,
  kHandleImageRecord = 7,
  kHandleMask = 8,
  kHandleKeyInput = 10,
  kHandleLight = 12,
  kHandleGraphImage = 14,
};

constexpr int32_t kNoHandle = -1;
constexpr int32_t kHandleCheckLimit = 2048;

constexpr int32_t MakeResourceHandle(int32_t slot, int32_t check, int32_t type) {
  return slot | ((check | type << 11) << 16);
}
constexpr int32_t HandleSlot(int32_t handle) { return handle & 0xFFFF; }
constexpr int32_t HandleCheckBits(int32_t handle) { return handle & 0x07FF0000; }
constexpr int32_t HandleTypeBits(int32_t handle) { return handle & 0x78000000; }

// The check number the next creation gets after this one.
constexpr int32_t NextHandleCheck(int32_t check) { return check + 1 == kHandleCheckLimit ? 0 : check + 1; }

// Type, range and sign tests that every handle passes before its slot is looked at.
constexpr bool HandleShapeMatches(int32_t handle, int32_t type, int32_t capacity) {
  return handle >= 0 && HandleTypeBits(handle) == type << 27 && HandleSlot(handle) < capacity;
}
