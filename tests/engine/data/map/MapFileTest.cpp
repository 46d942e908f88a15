#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/data/file/FileBuffer.h"
#include "engine/data/map/MapData.h"
#include "engine/services/DataFolder.h"
#include "tests/engine/data/DataTestHooks.h"
#include "tests/support/SpanValues.h"
#include "tests/support/ByteWriter.h"
#include "tests/support/MapFileWriter.h"
#include "tests/support/TestDirectory.h"

namespace {

CommandRecord Command(std::vector<int32_t> arguments, uint8_t indent = 0, std::vector<std::string> strings = {}) {
  CommandRecord command;
  command.arguments = std::move(arguments);
  command.indent = indent;
  command.strings = std::move(strings);
  return command;
}

MapEvent Event(int32_t id, std::string name, int pages) {
  MapEvent event(id);
  event.name = std::move(name);
  event.x = id * 2;
  event.y = -id;
  event.pages.resize(static_cast<size_t>(pages));
  return event;
}

// Events given out of id order (two with id 2), pages with conditions,
// graphics, routes and commands, and an event without pages.
MapData SampleMap() {
  MapData map;
  map.header.name = "森の小道";
  map.header.tileSetNumber = 3;
  map.header.width = 4;
  map.header.height = 3;
  map.ResizeLayers(true, 0, 0);
  for (int l = 0; l < 3; ++l) {
    for (int x = 0; x < 4; ++x) {
      for (int y = 0; y < 3; ++y) map.layers[static_cast<size_t>(l)][static_cast<size_t>(x)][static_cast<size_t>(y)] = l * 1000 + x * 10 + y;
    }
  }

  MapEvent five = Event(5, "宝箱", 2);
  five.extraBytes = {1, 2, 3, 4};
  EventPage& page = five.pages[1];
  page.graphic = {17, "chara\\hero.png", 8, 0, 128, 2};
  page.conditions.triggerKind = 2;
  page.conditions.flags = {0x21, 0x51, 0x20, 0x00};
  page.conditions.leftIds = {2000001, 1100003, 0, 0};
  page.conditions.rightOperands = {10, 1000000, -5, 7};
  page.route.options = {1, 4, 5, 2, 0x41, 3};
  page.route.steps = {{1, {}, ""}, {44, {3, -7}, "file.png"}};
  CommandRecord routed = Command({111, 1, 2, 3}, 1);
  routed.routes.resize(1);
  routed.routes[0].steps = {{9, {1}, "x"}};
  page.commands = {Command({101, 0}, 0, {"こんにちは", ""}), routed, Command({0})};
  page.extraBytes = {0, 16, 24, 9};

  MapEvent nine = Event(9, "c", 1);
  nine.pages[0].commands = {Command({-1})};
  MapEvent secondTwo = Event(2, "d", 1);
  secondTwo.pages[0].commands = {Command({210, 5}), Command({0, 1})};

  map.events = {five, Event(2, "b", 0), nine, secondTwo};
  return map;
}

// What reading the sample's file gives: events sorted by id (file order kept
// among equal ids), counts from the file, the one default page of an event
// without pages, and every command list ended with code -1.
MapData Loaded(MapData map) {
  map.header.eventCount = static_cast<int32_t>(map.events.size());
  for (MapEvent& event : map.events) {
    event.pageCount = static_cast<int32_t>(event.pages.size());
    if (event.pages.empty()) event.pages.resize(1);
    for (EventPage& page : event.pages) {
      if (event.pageCount == 0) break;
      page.commandCount = static_cast<int32_t>(page.commands.size());
      page.commands.MarkEnd();
    }
  }
  std::stable_sort(map.events.begin(), map.events.end(), [](const MapEvent& a, const MapEvent& b) { return a.id < b.id; });
  return map;
}

class MapFileTest : public DataFolderTest {
 protected:
  std::string Put(const std::string& name, const std::string& bytes) { return dir_.Write("Data/" + name, bytes); }

  static bool ReadBytes(MapData& map, const std::string& bytes) {
    FileBuffer file = BufferOf(bytes);
    return map.ReadMapFile(file, "m.mps", "Data\\m.mps");
  }

  static void ExpectEmpty(const MapData& map) {
    EXPECT_EQ(map.header, MapHeader{});
    EXPECT_TRUE(map.events.empty());
    for (const MapData::TileLayer& layer : map.layers) EXPECT_TRUE(layer.empty());
  }

};

TEST_F(MapFileTest, LoadsEveryFieldAsWrittenWithEventsInIdOrder) {
  const MapData sample = SampleMap();
  const MapFileOptions plain{{0, 0, 0}};
  for (const MapFileOptions& options : {MapFileOptions{}, plain}) {
    Put("Map001.mps", WriteMapFile(sample, options));
    MapData map;
    ASSERT_TRUE(map.LoadMapData("Map001.mps"));
    EXPECT_EQ(map, Loaded(sample));
    ASSERT_EQ(map.events.size(), 4u);
    EXPECT_EQ(map.events[0].name, "b");
    EXPECT_EQ(map.events[1].name, "d");
    EXPECT_EQ(map.events[2].pages[1].commands[1].routes.size(), 1u);
    EXPECT_TRUE(map.events[2].pages[1].commands[0].routes.empty());
    EXPECT_EQ(map.events[0].pageCount, 0);
    EXPECT_EQ(map.events[0].pages.size(), 1u);
  }
  EXPECT_TRUE(messageBoxes.empty());
  EXPECT_TRUE(errorScreenLines.empty());
}

TEST_F(MapFileTest, APlainFileIgnoresItsChecksumByte) {
  std::string bytes = WriteMapFile(SampleMap(), {{0, 0, 0}});
  bytes[2] = static_cast<char>(bytes[2] + 1);
  MapData map;
  EXPECT_TRUE(ReadBytes(map, bytes));
  EXPECT_TRUE(exitCodes.empty());
}

TEST_F(MapFileTest, AMissingFileIsReportedByNameOrAsAnUnsetName) {
  MapData map;
  EXPECT_FALSE(map.LoadMapData("Map404.mps"));
  EXPECT_FALSE(map.LoadMapData(""));
  ASSERT_EQ(messageBoxes.size(), 2u);
  EXPECT_EQ(messageBoxes[0].title, "読み込みエラー");
  EXPECT_EQ(messageBoxes[0].text, "マップファイル " + dir_.Path() + "/Data/Map404.mps がありません");
  EXPECT_EQ(messageBoxes[1].text, "マップファイル名が設定されていないマップに移動しようとしました。");
  ExpectEmpty(map);
}

TEST_F(MapFileTest, AWrongFormatMarkerIsNotAMapFile) {
  MapFileOptions options;
  options.formatMarker = 0x64;
  Put("Bad.mps", WriteMapFile(SampleMap(), options));
  MapData map;
  EXPECT_FALSE(map.LoadMapData("Bad.mps"));
  ASSERT_EQ(messageBoxes.size(), 1u);
  EXPECT_EQ(messageBoxes[0].title, "マップ移動エラー");
  EXPECT_EQ(messageBoxes[0].text, "エラー：マップデータ Bad.mps が破損しているか、\r\nマップファイル形式ではありません。");
  ExpectEmpty(map);
}

TEST_F(MapFileTest, AChecksumMismatchShowsTheDamageMessageAndExits) {
  const MapData sample = SampleMap();
  std::string bytes = WriteMapFile(sample);
  bytes[MapFileTilesOffset(sample) + 1] ^= 0x40;  // a tile value changes, the layout does not
  const std::string path = Put("Map002.mps", bytes);
  MapData map;
  EXPECT_THROW(map.LoadMapData("Map002.mps"), ProcessExited);
  EXPECT_EQ(exitCodes, std::vector<int>{1});
  ASSERT_EQ(errorScreenLines.size(), 3u);
  EXPECT_EQ(errorScreenLines[0], "ファイル " + dir_.Path() + "/Data/Map002.mps が改竄されたか、破損している可能性があります。\nロードを中止します。");
}

TEST_F(MapFileTest, EveryTruncationFailsCleanly) {
  for (const MapFileOptions& options : {MapFileOptions{}, MapFileOptions{{0, 0, 0}}}) {
    const std::string bytes = WriteMapFile(SampleMap(), options);
    for (size_t n = 0; n < bytes.size(); ++n) {
      MapData map;
      ASSERT_FALSE(ReadBytes(map, bytes.substr(0, n))) << n;
      ExpectEmpty(map);
    }
  }
  EXPECT_TRUE(exitCodes.empty());
  EXPECT_TRUE(std::all_of(messageBoxes.begin(), messageBoxes.end(),
                          [](const ReportedMessage& m) { return m.title == "マップ移動エラー"; }));
}

// A 1 x 1 map with one event of one page whose route has no steps and whose
// one command has two arguments; offsets of its counts for byte edits.
struct SmallMap {
  MapData map;
  size_t tiles = 0;
  size_t event = 0;
  SmallMap() {
    map.header.name = "";
    map.header.width = 1;
    map.header.height = 1;
    map.ResizeLayers(true, 0, 0);
    MapEvent e(1);
    e.pages[0].commands = {Command({150, 3})};
    map.events = {e};
    tiles = MapFileTilesOffset(map);
    event = tiles + 3 * 4;
  }
  size_t WidthField() const { return tiles - 12; }
  size_t EventCountField() const { return tiles - 4; }
  size_t PageCountField() const { return event + 1 + 4 + 4 + 5 + 4 + 4; }
  size_t StepCountField() const { return PageCountField() + 8 + 1 + 4 + 5 + 4 + 37 + 6; }
  size_t CommandCountField() const { return StepCountField() + 4; }
  size_t ArgumentCountField() const { return CommandCountField() + 4; }
};

TEST_F(MapFileTest, CountsAndLengthsOutOfRangeMakeTheFileDamaged) {
  const SmallMap small;
  const std::string valid = WriteMapFile(small.map, {{0, 0, 0}});
  MapData check;
  ASSERT_TRUE(ReadBytes(check, valid));
  ASSERT_EQ(Values(check.events[0].pages[0].commands[0].arguments), (std::vector<int32_t>{-1, 3}));
  // The offsets point at the fields they name.
  auto at = [&valid](size_t offset) {
    int32_t v = 0;
    std::memcpy(&v, valid.data() + offset, 4);
    return v;
  };
  ASSERT_EQ(at(small.WidthField()), 1);
  ASSERT_EQ(at(small.EventCountField()), 1);
  ASSERT_EQ(at(small.PageCountField()), 1);
  ASSERT_EQ(at(small.StepCountField()), 0);
  ASSERT_EQ(at(small.CommandCountField()), 1);
  ASSERT_EQ(valid[small.ArgumentCountField()], 2);

  const struct {
    size_t offset;
    int32_t value;
  } edits[] = {
      {small.WidthField(), -1},
      {small.WidthField(), 1 << 20},
      {small.WidthField() + 4, INT32_MAX},
      {small.EventCountField(), 1000000},
      {small.EventCountField(), -1},
      {small.PageCountField(), -1},
      {small.PageCountField(), 50000},
      {small.StepCountField(), 65537},
      {small.StepCountField(), -2},
      {small.CommandCountField(), -5},
      {small.CommandCountField(), 1 << 30},
      {20 + 4 + 1, 513},  // the map name's length passes its 512-byte limit
  };
  for (const auto& edit : edits) {
    std::string bytes = valid;
    PatchI32(bytes, edit.offset, edit.value);
    MapData map;
    EXPECT_FALSE(ReadBytes(map, bytes)) << edit.offset << " := " << edit.value;
    ExpectEmpty(map);
  }
  std::string negativeArguments = valid;
  negativeArguments[small.ArgumentCountField()] = static_cast<char>(0xFF);
  MapData map;
  EXPECT_FALSE(ReadBytes(map, negativeArguments));
  EXPECT_EQ(messageBoxes.size(), std::size(edits) + 1);
}

TEST_F(MapFileTest, AnEmptyPageOrALastCommandWithoutArgumentsHasNoEndCodeToMark) {
  SmallMap small;
  MapEvent& event = small.map.events[0];
  event.pages.resize(2);
  event.pages[0].commands.clear();
  event.pages[1].commands = {Command({5}), Command({})};
  MapData map;
  ASSERT_TRUE(ReadBytes(map, WriteMapFile(small.map)));
  EXPECT_TRUE(map.events[0].pages[0].commands.empty());
  EXPECT_EQ(map.events[0].pages[0].commandCount, 0);
  ASSERT_EQ(map.events[0].pages[1].commands.size(), 2u);
  EXPECT_EQ(Values(map.events[0].pages[1].commands[0].arguments), std::vector<int32_t>{5});
  EXPECT_TRUE(map.events[0].pages[1].commands[1].arguments.empty());
}

}  // namespace
