#pragma once
// Engine settings the presentation reads each time: the frame step and the
// game's setting bytes (the tile unit and display scale are start-up's).

#include <algorithm>
#include <cstdint>

#include "engine/data/GameInfo.h"
#include "engine/services/StartupSettings.h"

// Counters advance or count down by this each frame.
inline int32_t PresentationFrameStep() { return std::max(1, GameInformation.FrameStep()); }

// A setting byte of the game information, or the fallback where the file
// gave none.
inline int32_t GameSettingByte(int index, int32_t fallback) {
  const auto& bytes = GameInformation.settingBytes;
  return static_cast<size_t>(index) < bytes.size() ? bytes[static_cast<size_t>(index)] : fallback;
}
