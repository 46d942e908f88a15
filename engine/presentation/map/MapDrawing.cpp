#include "engine/presentation/map/MapDrawing.h"

#include "engine/events/variables/RootEventRunner.h"
#include "engine/map/MapCharacter.h"
#include "engine/map/MapScene.h"
#include "engine/presentation/PresentationHooks.h"
#include "engine/presentation/map/ToneBrightness.h"
#include "runtime/Movan.h"

void MapDrawing::ResetSprites() {
  heroSprite = CharacterSprite(MapCharacter::kHeroId);
  followerSprites.clear();
  for (int32_t i = 0; i < kFollowers; ++i) followerSprites.emplace_back(MapCharacter::kFirstFollowerId - i);
  tileLayers = TileLayerState();
  panorama = Panorama();
  fog = Fog();
  RootRunner.panoramaValue = 0;
  RootRunner.fogValue = 0;
  eventSprites.clear();
  const std::vector<MapEventState>& events = CurrentMap.events;
  eventSprites.reserve(events.size());
  for (size_t i = 0; i < events.size(); ++i) eventSprites.emplace_back(events[i].id, static_cast<int32_t>(i));
}

void MapDrawing::TakeMapScroll() {
  tileLayers.scrollX = CurrentMap.scrollX / 4;
  tileLayers.scrollY = CurrentMap.scrollY / 4;
}

void MapDrawing::ScrollPanoramaAndFog() {
  panorama.Scroll();
  fog.Scroll();
}

void MapDrawing::DrawMap() {
  const PresentationHooks& hooks = CurrentPresentationHooks();
  ApplyToneBeforeMap();
  panorama.Draw();
  hooks.drawPictures(-2);
  tileLayers.Draw(0, -1);
  SetDrawFilter(0);
  hooks.drawPictures(-1);
  SetDrawFilter(0);
  drawOrder.Build();
  for (DrawEntry entry = drawOrder.Next(tileLayers.scrollY); entry.kind != DrawEntry::kEnd;
       entry = drawOrder.Next(tileLayers.scrollY)) {
    const auto index = static_cast<size_t>(entry.value);
    switch (entry.kind) {
      case DrawEntry::kMapEvent:
        if (index < eventSprites.size()) eventSprites[index].Draw();
        break;
      case DrawEntry::kHero: heroSprite.Draw(); break;
      case DrawEntry::kFollower:
        if (index < followerSprites.size()) followerSprites[index].Draw();
        break;
      case DrawEntry::kTileRow: tileLayers.Draw(1, entry.value); break;
      case DrawEntry::kEnd: break;
    }
  }
  tileLayers.Draw(2, -1);
  fog.Draw();
}

void MapDrawing::DestroyDrawMembers() {
  drawOrder = DrawOrder();
  eventSprites.clear();
  tileLayers = TileLayerState();
  followerSprites.clear();
  heroSprite = CharacterSprite();
}
