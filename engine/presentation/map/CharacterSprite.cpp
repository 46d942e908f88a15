#include "engine/presentation/map/CharacterSprite.h"

#include <algorithm>

#include "engine/data/GameInfo.h"
#include "engine/data/database/Databases.h"
#include "engine/events/SystemState.h"
#include "engine/map/MapCharacter.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/map/MapDrawUnits.h"
#include "engine/presentation/map/SheetLayout.h"
#include "engine/presentation/map/ToneBrightness.h"
#include "runtime/Movan.h"

namespace {

constexpr int32_t kExtraImagesType = 9;
constexpr int32_t kNoExtraImage = 255;
constexpr int kBlendCopy = 0;
constexpr int kBlendTranslucent = 1;
constexpr int kBlendAdditive = 2;
constexpr int kBlendSubtractive = 3;
constexpr int kBlendMultiplyTranslucent = 11;

bool ExtraImagesShown() {
  const std::vector<uint8_t>& bytes = GameInformation.settingBytes;
  return bytes.size() > GameInfo::kExtraImages && bytes[GameInfo::kExtraImages] == 1;
}

int32_t Patterns() { return CurrentMapSettings.sheetPatterns; }

// A brightness of 2.55 v or 255 + 2.55 v, truncated, never above 255 (the
// draw state clamps what lies below 0).
int EffectBrightness(double value) {
  if (value >= 255.0) return 255;
  if (value <= -1000.0) return -1000;
  return static_cast<int>(value);  // truncates toward zero
}

// Where and how large the cell is drawn this time: positions after the
// loop, the culling and the zoom; sizes zoomed; s the display scale.
struct SpriteBox {
  int64_t x = 0;       // foot point X, Y and the foot line Yb
  int64_t y = 0;
  int64_t baseY = 0;
  int64_t halfWidth = 0;
  int64_t height = 0;
  int64_t extraHalfWidth = 0;
  int64_t extraHeight = 0;
  int64_t cellWidth = 0;   // zoomed W, H
  int64_t cellHeight = 0;
  int64_t tile = 0;        // t'
  int32_t sourceWidth = 0;   // unzoomed cw, ch
  int32_t sourceHeight = 0;
  int64_t scale = 1;
  bool unscaled = true;
};

int D(int64_t v) { return ToDrawCoordinate(v); }

void DrawCell(const SpriteBox& box, int graphic) {
  if (box.unscaled) {
    DrawGraphicAt(D(box.x - box.halfWidth), D(box.y - box.height), graphic, kTransparent);
    return;
  }
  const int64_t s = box.scale;
  DrawGraphicStretched(D((box.x - box.halfWidth) * s), D((box.y - box.height) * s), D((box.x + box.halfWidth) * s),
                       D(box.y * s), graphic, kTransparent);
}

// A blend mode and parameter to set before a part of the bush draw, or
// none to keep the mode in force.
struct PartBlend {
  bool set = false;
  int mode = 0;
  int parameter = 0;
};

// The character in two parts: the lower half tile in the mode in force (or
// the one given), the rest above it in the upper part's mode.
void DrawInBush(const SpriteBox& box, int32_t sheetIndex, int32_t piece, int32_t columns, PartBlend lower,
                PartBlend upper) {
  const int whole = CachedGraphics.Piece(sheetIndex, 0);
  const int32_t t = MapTileUnit();
  const int32_t column = (piece - 1) % columns;
  const int32_t row = (piece - 1) / columns;
  const int32_t cw = box.sourceWidth;
  const int32_t ch = box.sourceHeight;
  const int32_t sourceX = column * cw;
  const int32_t sourceY = row * ch;
  if (lower.set) SetBlendMode(lower.mode, lower.parameter);
  if (box.unscaled) {
    DrawGraphicPart(D(box.x - box.halfWidth), D(box.y + box.cellHeight - box.height - t / 2), sourceX,
                    sourceY + ch - t / 2, cw, t / 2, whole, kTransparent, 0);
    if (upper.set) SetBlendMode(upper.mode, upper.parameter);
    DrawGraphicPart(D(box.x - box.halfWidth), D(box.y - box.height), sourceX, sourceY, cw, ch - t / 2, whole,
                    kTransparent, 0);
    return;
  }
  const int64_t s = box.scale;
  const int64_t left = (box.x - box.halfWidth) * s;
  const int64_t right = (box.x - box.halfWidth + box.cellWidth) * s;
  const int64_t split = (box.y + box.cellHeight - box.height - box.tile / 2) * s;
  const int lowerPart = DeriveGraphic(sourceX, sourceY + ch - t / 2, cw, t / 2, whole);
  DrawGraphicStretched(D(left), D(split), D(right), D(split + box.tile / 2 * s), lowerPart, kTransparent);
  if (lowerPart >= 0) DeleteGraphic(lowerPart);
  if (upper.set) SetBlendMode(upper.mode, upper.parameter);
  const int upperPart = DeriveGraphic(sourceX, sourceY, cw, ch - t / 2, whole);
  DrawGraphicStretched(D(left), D((box.y - box.height) * s), D(right), D(split), upperPart, kTransparent);
  if (upperPart >= 0) DeleteGraphic(upperPart);
}

// The blend mode of a kind at opacity / divisor; other kinds keep the mode
// in force.
void SetKindBlend(int32_t kind, int32_t opacity, int32_t divisor) {
  switch (kind) {
    case 0:
      if (opacity == 255 && divisor == 1) {
        SetBlendMode(kBlendCopy, 255);
      } else {
        SetBlendMode(kBlendTranslucent, opacity / divisor);
      }
      return;
    case 1: SetBlendMode(kBlendAdditive, opacity / divisor); return;
    case 2: SetBlendMode(kBlendSubtractive, opacity / divisor); return;
    case 3: SetBlendMode(kBlendMultiplyTranslucent, opacity / divisor); return;
    default: return;
  }
}

}  // namespace

CharacterSprite::CharacterSprite(int32_t id, int32_t index) : characterId(id), eventIndex(index) {
  MapCharacter* character = Character();
  if (character) SetUp(*character);
}

MapCharacter* CharacterSprite::Character() const {
  if (characterId == kNoCharacter) return nullptr;
  std::vector<MapEventState>& events = CurrentMap.events;
  if (characterId >= 0 && eventIndex >= 0 && static_cast<size_t>(eventIndex) < events.size() &&
      events[static_cast<size_t>(eventIndex)].id == characterId) {
    return &events[static_cast<size_t>(eventIndex)];
  }
  return FindCharacter(characterId);
}

bool CharacterSprite::SetUp(MapCharacter& character) {
  bool fileSetUp = false;
  if (SystemStateHub.spriteRefresh || character.graphicId != graphicId || character.graphicFile != graphicName) {
    graphicId = character.graphicId;
    graphicName = character.graphicFile;
    if (graphicId < 0) {
      layout = kSheetPlain;
      columns = std::max(1, 2 * Patterns());
      if (graphicName.empty()) {
        sheetIndex = -1;
        extraIndex = -1;
        character.spriteWidth = cellWidth;
        character.spriteHeight = cellHeight;
        return true;
      }
      const SheetCut cut = ChooseSheetCut(graphicName, Patterns(), character.eightDirSheet != 0);
      layout = cut.layout;
      // A count of 0 (no patterns) would divide by zero below.
      columns = std::max(1, cut.columns);
      const bool loaded =
          layout == kSheetSingle ? LoadGraphic(graphicName, 1, 1, 0) : LoadGraphic(graphicName, columns, 4, 0);
      if (!loaded) {
        loadFailed = 1;
        return false;
      }
      sheetIndex = CachedGraphics.IndexOf(graphicName);
      int width = 0;
      int heightOfImage = 0;
      GetGraphicSize(CachedGraphics.Piece(sheetIndex, 0), &width, &heightOfImage);
      if (layout == kSheetSingle) {
        cellWidth = width;
        cellHeight = heightOfImage;
      } else {
        cellWidth = width / columns;
        cellHeight = heightOfImage / 4;
      }
      halfWidth = cellWidth / 2;
      height = cellHeight;
      fileSetUp = true;
    } else {
      const int32_t t = MapTileUnit();
      const std::string& tileImage = CurrentMap.tileImageName;
      LoadGraphic(tileImage, t, t, 1);
      sheetIndex = CachedGraphics.IndexOf(tileImage);
      sheetPiece = ClampToI32(int64_t{graphicId} + 1);
      halfWidth = t / 2;
      height = t;
      cellWidth = t;
      cellHeight = t;
      columns = 8;
    }
  }
  character.spriteWidth = cellWidth;
  character.spriteHeight = cellHeight;

  const int32_t number = character.extraBytes.empty() ? kNoExtraImage : character.extraBytes[0];
  if (fileSetUp || (number != character.extraImageLoaded && !character.graphicFile.empty())) {
    SetUpExtraImage(character, number);
  }
  return true;
}

void CharacterSprite::SetUpExtraImage(MapCharacter& character, int32_t number) {
  character.extraImageLoaded = static_cast<int16_t>(number);
  int64_t count = 2 * int64_t{Patterns()};
  if (!character.eightDirSheet) count /= 2;
  extraColumns = static_cast<int32_t>(std::max<int64_t>(1, count));
  extraIndex = -1;
  if (number == kNoExtraImage || !ExtraImagesShown()) return;
  // A number past the game's list shows none rather than a read error.
  if (number >= SystemDatabase.GetDataCount(kExtraImagesType)) return;
  const std::string name = SystemDatabase.GetString(kExtraImagesType, number, 0);
  if (name.empty() || !LoadGraphic(name, extraColumns, 4, 0)) return;
  extraIndex = CachedGraphics.IndexOf(name);
  int width = 0;
  int heightOfImage = 0;
  GetGraphicSize(CachedGraphics.Piece(extraIndex, 0), &width, &heightOfImage);
  extraHalfWidth = width / extraColumns / 2;
  extraHeight = heightOfImage / 4;
}

bool CharacterSprite::ChooseCell(MapCharacter& character) {
  const bool moving = character.WasMoving();
  if (graphicId >= 0) return false;  // the tile's piece was fixed at set-up
  if (layout == kSheetSingle) {
    sheetPiece = 1;
    return false;
  }
  const int64_t d = character.direction;
  const int64_t q = character.pattern;
  const int64_t c = columns;
  const int64_t cs = extraColumns;
  const bool eight = character.eightDirSheet != 0;
  // Walking cells start past the standing ones: one for "T", half the
  // direction's cells for "TX".
  const int64_t walkOffset = eight ? c / 4 : c / 2;
  int64_t step = q;
  if (layout == kSheetT) step = moving ? q + 1 : 0;
  if (layout == kSheetTX) step = q + (moving ? walkOffset : 0);
  int64_t sheet = 0;
  int64_t extra = 0;
  if (eight && (d & 1)) {
    const int64_t row = d < 5 ? (d - 1) / 2 : (d - 3) / 2;
    extra = row * cs + q + cs / 2 + 1;
    sheet = row * c + c / 2 + 1 + step;
  } else {
    const int64_t row = (d - 2) / 2;
    extra = row * cs + q + 1;
    sheet = row * c + 1 + step;
  }
  sheetPiece = ClampToI32(sheet);
  extraPiece = ClampToI32(extra);
  return true;
}

void CharacterSprite::Draw() {
  MapCharacter* found = Character();
  if (!found || loadFailed) return;
  MapCharacter& character = *found;
  if (!SetUp(character)) return;
  const bool hasExtraPiece = ChooseCell(character);

  const MapScene& map = CurrentMap;
  screenX = ClampToI32(int64_t{character.ScreenX(true)} + map.shakeOffsetX);
  screenY = ClampToI32(int64_t{character.ScreenY(true)} + map.shakeOffsetY);
  baseY = ClampToI32(int64_t{character.ScreenYBase(true)} + map.shakeOffsetY);
  priority = character.DrawPriority();
  opacity = character.opacity;
  blend = character.blend;
  if (opacity == 0) return;

  const bool bush = map.HasBushFlag(character.preciseX, character.preciseY) && character.jumpCount == 0;
  SetKindBlend(blend, opacity, bush ? 3 : 1);

  // Only cells the loaded sheet has are drawn.
  if (sheetIndex < 0 || sheetIndex >= CachedGraphics.EntryCount()) return;
  if (sheetPiece < 1 || sheetPiece >= CachedGraphics.PieceCount(sheetIndex)) return;

  const int64_t t = MapTileUnit();
  int64_t x = screenX;
  int64_t y = screenY;
  int64_t yb = baseY;
  if (map.loopX && x > 20 * t) x -= int64_t{map.Width()} * t;
  if (map.loopY) {
    const int64_t side = int64_t{map.Height()} * t;
    if (y > side) {
      y -= side;
      yb -= side;
    }
    if (y <= 0) {
      y += side;
      yb += side;
    }
  }
  screenX = ClampToI32(x);
  screenY = ClampToI32(y);
  baseY = ClampToI32(yb);
  if (x + halfWidth < -t || x - halfWidth > 21 * t) return;

  const int32_t zoom = map.zoom.zoom;
  SpriteBox box;
  box.x = ZoomCoordinate(x, map.zoom.centreX, zoom);
  box.y = ZoomCoordinate(y, map.zoom.centreY, zoom);
  box.baseY = ZoomCoordinate(yb, map.zoom.centreY, zoom);
  box.halfWidth = ZoomSize(halfWidth, zoom);
  box.height = ZoomSize(height, zoom);
  box.extraHalfWidth = ZoomSize(extraHalfWidth, zoom);
  box.extraHeight = ZoomSize(extraHeight, zoom);
  box.cellWidth = ZoomSize(cellWidth, zoom);
  box.cellHeight = ZoomSize(cellHeight, zoom);
  box.tile = ZoomSize(t, zoom);
  box.sourceWidth = cellWidth;
  box.sourceHeight = cellHeight;
  box.scale = MapDisplayScale();
  box.unscaled = box.scale == 1 && zoom == 100;

  // The shadow narrows and flattens as the character rises above its foot.
  const int extraGraphic = CachedGraphics.Piece(extraIndex, extraPiece);
  if (hasExtraPiece && extraIndex != -1 && ExtraImagesShown() && extraGraphic >= 0) {
    const int64_t rise = box.baseY - box.y;
    const int64_t sw = box.extraHalfWidth;
    const int64_t a = std::min(sw / 2, rise / 8);
    const int64_t e = std::min(4 * sw / 5, rise / 4);
    const int64_t s = box.scale;
    DrawGraphicStretched(D((box.x - sw + e) * s), D((box.baseY - box.extraHeight + a) * s), D((box.x + sw - e) * s),
                         D((box.baseY - a) * s), extraGraphic, kTransparent);
  }

  const int cell = CachedGraphics.Piece(sheetIndex, sheetPiece);
  const PartBlend keep{};
  const PartBlend upperOfKind{true, blend + 1, opacity};
  if (character.effectTimer < 1) {
    if (bush) {
      DrawInBush(box, sheetIndex, sheetPiece, columns, keep, upperOfKind);
    } else {
      DrawCell(box, cell);
    }
    return;
  }

  // A colour effect: the cell once with the effect's darkening, then again
  // added in the effect's brightening, fading as the timer runs down.
  const int64_t k = int64_t{character.effectTimer} * 1000 / std::max(1, character.effectDuration);
  double v[3];
  for (int i = 0; i < 3; ++i) {
    const int32_t channel = (character.effectKind >> (16 - 8 * i)) & 0xFF;
    v[i] = static_cast<double>((channel - 100) * k / 1000);
  }
  SetDrawBrightness(EffectBrightness(255 + 2.55 * v[0]), EffectBrightness(255 + 2.55 * v[1]),
                    EffectBrightness(255 + 2.55 * v[2]));
  if (bush) {
    DrawInBush(box, sheetIndex, sheetPiece, columns, keep, upperOfKind);
  } else {
    DrawCell(box, cell);
  }
  SetBlendMode(kBlendAdditive, 255);
  SetDrawBrightness(EffectBrightness(2.55 * v[0]), EffectBrightness(2.55 * v[1]), EffectBrightness(2.55 * v[2]));
  if (bush) {
    DrawInBush(box, sheetIndex, sheetPiece, columns, PartBlend{true, kBlendAdditive, 255},
               PartBlend{true, kBlendAdditive, opacity});
  } else {
    DrawCell(box, cell);
  }
  RestoreToneBrightness();
}
