// The map scene's and the characters' save records: older layouts, maps
// that changed since the save, and counts that the bytes cannot hold.

#include <string>
#include <vector>

#include "engine/data/file/SaveBuffer.h"
#include "engine/map/Hero.h"
#include "engine/map/MapScene.h"
#include "tests/engine/saves/SaveTestFixture.h"

namespace {

SaveBuffer Written(const MapScene& scene) {
  SaveBuffer out;
  EXPECT_TRUE(scene.SaveState(out));
  return SaveBuffer(std::vector<uint8_t>(out.Data(), out.Data() + out.Size()));
}

// A map scene record of an older layout: no size and tiles before 105, one
// byte per tile flag up to 99.
SaveBuffer OldRecord(int32_t version, const std::vector<int32_t>& flags, int32_t eventCount) {
  SaveBuffer out;
  out.WriteI32(0);
  out.WriteI32(8);
  out.WriteI32(12);
  for (int i = 0; i < 8; ++i) out.WriteString(i == 0 ? "tiles.png" : "");
  out.WriteI32(static_cast<int32_t>(flags.size()));
  for (int32_t f : flags) {
    if (version <= 99) {
      out.WriteU8(static_cast<uint8_t>(f));
    } else {
      out.WriteI32(f);
    }
  }
  out.WriteI32(eventCount);
  MapCharacter c;
  for (int32_t i = 0; i < eventCount; ++i) {
    c.id = i;
    c.SaveCharacter(out);
  }
  out.WriteI32(0);
  return SaveBuffer(std::vector<uint8_t>(out.Data(), out.Data() + out.Size()));
}

}  // namespace

TEST_F(SaveTest, TheSceneRecordHoldsTheTilesLayerByColumnByRow) {
  CurrentMap.mapData.layers[2][19][14] = 77;
  SaveBuffer in = Written(CurrentMap);
  // Map id, scroll, width and height, then 3 x 20 x 15 values.
  int32_t header[5];
  ASSERT_TRUE(in.ReadI32Array(header, 5));
  EXPECT_EQ(header[3], 20);
  EXPECT_EQ(header[4], 15);
  std::vector<int32_t> tiles(3 * 20 * 15);
  ASSERT_TRUE(in.ReadI32Array(tiles.data(), static_cast<int64_t>(tiles.size())));
  EXPECT_EQ(tiles.back(), 77);
  EXPECT_EQ(tiles[0], 0);
}

TEST_F(SaveTest, OlderSceneRecordsReadByTheirVersion) {
  for (int32_t version : {99, 100, 104}) {
    SaveBuffer in = OldRecord(version, {1, 2, 0x0F}, 2);
    MapScene scene;
    ASSERT_TRUE(scene.LoadState(in, version)) << version;
    EXPECT_EQ(in.Remaining(), 0) << version;
    EXPECT_EQ(scene.tileFlags, (std::vector<int32_t>{1, 2, 0x0F})) << version;
    EXPECT_EQ(scene.Width(), 0) << version;  // no tiles in the record
    ASSERT_EQ(scene.events.size(), 2u) << version;
    EXPECT_EQ(scene.events[1].id, 1) << version;
    EXPECT_EQ(scene.tileImageName, "tiles.png") << version;

    // Entering it keeps the map file's own tiles.
    CurrentMap.ChangeMap(0);
    const MapData::TileLayer before = CurrentMap.mapData.layers[0];
    CurrentMap.EnterSavedState(scene);
    EXPECT_EQ(CurrentMap.mapData.layers[0], before) << version;
    EXPECT_EQ(CurrentMap.tileFlags, scene.tileFlags) << version;
    EXPECT_EQ(CurrentMap.scrollX, 8) << version;
  }
}

TEST_F(SaveTest, AMapThatChangedSizeKeepsItsOwnTilesAndTheSavedEventsGrowTheList) {
  MapScene saved = CurrentMap;
  saved.mapData.header.width = 30;  // the map was larger when saved
  saved.mapData.ResizeLayers(true, 0, 0);
  saved.mapData.layers[0][25][3] = 9;
  for (int32_t id = 0; id < 3; ++id) saved.events.push_back(MapEventState(CurrentMap, 0, MapEvent{id}));
  saved.events[2].preciseX = 6;
  SaveBuffer in = Written(saved);
  MapScene read;
  ASSERT_TRUE(read.LoadState(in, 111));
  EXPECT_EQ(read.Width(), 30);

  CurrentMap.EnterSavedState(read);
  EXPECT_EQ(CurrentMap.Width(), 20);
  EXPECT_EQ(CurrentMap.mapData.layers[0].size(), 20u);
  ASSERT_EQ(CurrentMap.events.size(), 3u);  // the map file has none
  EXPECT_EQ(CurrentMap.events[2].preciseX, 6);
}

TEST_F(SaveTest, CountsThatTheBytesCannotHoldFailBeforeAnythingGrows) {
  MapScene source = CurrentMap;
  source.events.push_back(MapEventState(CurrentMap, 0, MapEvent{1}));
  source.events[0].reservedList = {1, 2, 3};
  source.events[0].graphicFile = std::string(400, 'n');  // longer than the old name buffers
  source.reservedList = {4};
  SaveBuffer whole = Written(source);
  const std::vector<uint8_t> bytes(whole.Data(), whole.Data() + whole.Size());

  MapScene read;
  ASSERT_TRUE(read.LoadState(whole, 111));
  EXPECT_EQ(read.events[0].graphicFile, std::string(400, 'n'));
  EXPECT_EQ(read.events[0].reservedList, (std::vector<int32_t>{1, 2, 3}));

  // Every cut fails cleanly.
  for (size_t cut = 0; cut < bytes.size(); cut += 97) {
    SaveBuffer in(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)));
    MapScene scene;
    EXPECT_FALSE(scene.LoadState(in, 111)) << cut;
    EXPECT_TRUE(in.Overrun()) << cut;
  }
  // Huge sizes and counts.
  for (size_t at : {size_t{12}, size_t{16}}) {
    std::vector<uint8_t> big = bytes;
    big[at + 3] = 0x7F;
    SaveBuffer in(big);
    MapScene scene;
    EXPECT_FALSE(scene.LoadState(in, 111)) << at;
  }
}

TEST_F(SaveTest, TheHeroKeepsFiveFollowersWhateverTheSaveHolds) {
  Hero hero;
  hero.followers[1].preciseX = 9;
  hero.followers[1].quarterX = 9 * 64 - 10;  // walking
  hero.stepped = 1;
  for (size_t saved : {size_t{3}, size_t{5}, size_t{7}}) {
    Hero source = hero;
    source.followers.resize(saved);
    SaveBuffer out;
    ASSERT_TRUE(source.Save(out));
    SaveBuffer in(std::vector<uint8_t>(out.Data(), out.Data() + out.Size()));
    Hero read;
    ASSERT_TRUE(read.Load(in)) << saved;
    EXPECT_EQ(in.Remaining(), 0) << saved;
    ASSERT_EQ(read.followers.size(), 5u) << saved;
    EXPECT_EQ(read.followers[1].quarterX, 9 * 64) << saved;  // loads standing
    EXPECT_EQ(read.followers[4].id, MapCharacter::kFirstFollowerId - 4) << saved;
    EXPECT_EQ(read.stepped, 1) << saved;
    EXPECT_EQ(read.stepHistory, hero.stepHistory) << saved;
  }
  // Every cut fails cleanly.
  SaveBuffer out;
  hero.Save(out);
  std::vector<uint8_t> bytes(out.Data(), out.Data() + out.Size());
  for (size_t cut = 0; cut < bytes.size(); cut += 53) {
    SaveBuffer in(std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(cut)));
    Hero read;
    EXPECT_FALSE(read.Load(in)) << cut;
  }
}
