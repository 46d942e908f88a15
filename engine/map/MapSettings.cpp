#include "engine/map/MapSettings.h"

#include <algorithm>

#include "engine/data/GameInfo.h"

MapSettings CurrentMapSettings;

namespace {

int32_t SettingByte(const GameInfo& info, int index, int32_t fallback) {
  return static_cast<size_t>(index) < info.settingBytes.size() ? info.settingBytes[static_cast<size_t>(index)]
                                                               : fallback;
}

}  // namespace

MapSettings MapSettings::FromGameInfo(const GameInfo& info) {
  MapSettings s;
  s.tileSizeByte = SettingByte(info, GameInfo::kTileSize, 32);
  s.tileUnit = s.tileSizeByte == 16 ? 16 : 32;
  s.frameStep = std::max(1, info.FrameStep());
  s.sheetDirections = SettingByte(info, GameInfo::kSheetDirections, 8);
  s.moveDirections = SettingByte(info, GameInfo::kMoveDirections, 8);
  s.sheetPatterns = SettingByte(info, GameInfo::kSheetPatterns, 3);
  s.stepSetting = SettingByte(info, GameInfo::kWholeTileSteps, 0);
  s.tallByDefault = SettingByte(info, GameInfo::kCollisionForAll, 0) == 1;
  s.eventSpeedFactor = SettingByte(info, GameInfo::kEventSpeedFactor, 4);
  s.heroSpeedFactor = SettingByte(info, GameInfo::kHeroSpeedFactor, 4);
  return s;
}

void ApplyMapSettings(const GameInfo& info) { CurrentMapSettings = MapSettings::FromGameInfo(info); }
