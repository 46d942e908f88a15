#pragma once
// The window images of the system database (type 10): data 0 the message
// wait cursor, 1 the choice window's skin, 2 its cursor; item 0 the file,
// item 1 the frame count. Read quietly: a game without them draws its
// windows without those images.

#include <algorithm>
#include <cstdint>
#include <string>

#include "engine/data/database/Databases.h"

enum WindowImage : int32_t { kWaitCursorImage = 0, kChoiceSkinImage = 1, kChoiceCursorImage = 2 };

constexpr int32_t kWindowImageType = 10;

inline bool HasWindowImage(int32_t data) {
  return SystemDatabase.GetTypeCount() > kWindowImageType && SystemDatabase.GetDataCount(kWindowImageType) > data &&
         SystemDatabase.GetItemCount(kWindowImageType) > 0;
}

inline std::string WindowImageFile(int32_t data) {
  return HasWindowImage(data) ? SystemDatabase.GetString(kWindowImageType, data, 0) : std::string();
}

// At least 1 (an item the type lacks reads -1 without an error).
inline int32_t WindowImageFrames(int32_t data) {
  return HasWindowImage(data) ? std::max(SystemDatabase.GetInt(kWindowImageType, data, 1), 1) : 1;
}
