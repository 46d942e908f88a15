#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "engine/data/map/MapData.h"
#include "engine/services/VariableRead.h"
#include "tests/support/SpanValues.h"

namespace {

// Variables for the condition tests: IDs below 1000000 are numbers, others
// come from the table (0 when absent); every ID read is recorded.
std::map<int32_t, int32_t> gVariables;
std::vector<int32_t> gReads;

class PageConditionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gVariables.clear();
    gReads.clear();
    SetVariableReadHandler([](int32_t id) {
      gReads.push_back(id);
      if (id < 1000000) return id;
      auto it = gVariables.find(id);
      return it == gVariables.end() ? 0 : it->second;
    });
  }
  void TearDown() override { SetVariableReadHandler(nullptr); }

  static EventPage PageWith(uint8_t flag, int32_t left, int32_t right) {
    EventPage page;
    page.conditions.flags[0] = flag;
    page.conditions.leftIds[0] = left;
    page.conditions.rightOperands[0] = right;
    return page;
  }
};

TEST_F(PageConditionsTest, ADefaultPageAndAnUnusedFirstConditionAlwaysHold) {
  EXPECT_TRUE(EventPage().CheckConditions(3));
  EventPage page;
  page.conditions.flags = {0x20, 0x21, 0x71, 0x71};  // later conditions are never examined
  EXPECT_TRUE(page.CheckConditions(3));
  EXPECT_TRUE(gReads.empty());
}

TEST_F(PageConditionsTest, RebasesThisEventsSelfVariablesAndPositionFields) {
  struct Case {
    int32_t eventId, left, right;
    std::vector<int32_t> reads;
  } cases[] = {
      {12, 1100003, 5, {1000123, 5}},
      {7, 1000005, 1000005, {1000075, 1000005}},  // on the right only 1100000.. names this event
      {7, 1100009, 1100002, {1000079, 1000072}},
      {4, 9190003, 9195001, {9100043, 9100041}},
      {4, 2000000, -3, {2000000, -3}},
  };
  for (const Case& c : cases) {
    gReads.clear();
    PageWith(0x21, c.left, c.right).CheckConditions(c.eventId);
    EXPECT_EQ(gReads, c.reads) << c.left << " " << c.right;
  }
}

TEST_F(PageConditionsTest, ComparesWithEachOperator) {
  gVariables[2000000] = 6;
  struct Case {
    int op;
    int32_t right;
    bool holds;
  } cases[] = {
      {0, 5, true},  {0, 6, false}, {1, 6, true},  {1, 7, false}, {2, 6, true},  {2, 5, false},
      {3, 6, true},  {3, 5, false}, {4, 7, true},  {4, 6, false}, {5, 5, true},  {5, 6, false},
      {6, 6, true},  {6, 4, true},  {6, 3, false}, {7, 6, false}, {15, 6, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PageWith(static_cast<uint8_t>(c.op << 4 | 1), 2000000, c.right).CheckConditions(1), c.holds)
        << "operator " << c.op << " right " << c.right;
  }
}

TEST_F(PageConditionsTest, EveryUsedConditionMustHold) {
  EventPage page;
  page.conditions.flags = {0x21, 0x21, 0x21, 0x21};
  page.conditions.leftIds = {1, 2, 3, 4};
  page.conditions.rightOperands = {1, 2, 3, 4};
  EXPECT_TRUE(page.CheckConditions(0));
  page.conditions.rightOperands[3] = 5;
  EXPECT_FALSE(page.CheckConditions(0));
  page.conditions.flags[2] = 0x20;  // the third is unused: the fourth is not examined
  EXPECT_TRUE(page.CheckConditions(0));
}

TEST(MapModelTest, NewRecordsHoldTheirDefaults) {
  const MapData map;
  EXPECT_EQ(map.header.name, "なし");
  EXPECT_EQ(map.header.width, 20);
  EXPECT_EQ(map.header.height, 15);
  for (const MapData::TileLayer& layer : map.layers) {
    ASSERT_EQ(layer.size(), 20u);
    for (const auto& column : layer) EXPECT_EQ(column, std::vector<int32_t>(15, MapData::kEmptyCell));
  }
  const MapEvent event(42);
  EXPECT_EQ(event.id, 42);
  EXPECT_EQ(event.pageCount, 1);
  ASSERT_EQ(event.pages.size(), 1u);
  const EventPage& page = event.pages[0];
  EXPECT_EQ(page.commandCount, 0);
  ASSERT_EQ(page.commands.size(), 1u);
  EXPECT_EQ(Values(page.commands[0].arguments), std::vector<int32_t>{0});
  EXPECT_EQ(page.extraBytes, (std::vector<uint8_t>{0, 0, 0}));
  EXPECT_EQ(page.graphic.graphicId, -1);
  EXPECT_EQ(page.route.options, (std::array<uint8_t, 6>{0, 3, 3, 3, 3, 2}));
  EXPECT_EQ(page.conditions.flags, (std::array<uint8_t, 4>{32, 32, 32, 32}));
}

TEST(MapModelTest, FindsTheFirstEventWithAnId) {
  MapData map;
  EXPECT_EQ(map.FindEventIndex(0), -1);
  map.events = {MapEvent(3), MapEvent(8), MapEvent(8)};
  EXPECT_EQ(map.FindEventIndex(8), 1);
  EXPECT_EQ(map.FindEventIndex(3), 0);
  EXPECT_EQ(map.FindEventIndex(4), -1);
}

TEST(MapModelTest, ResizingKeepsTheOldCellsUnlessAskedToFillAll) {
  MapData map;
  map.layers[1][19][14] = 7;
  map.layers[2][0][0] = 9;
  map.header.width = 25;
  map.ResizeLayers(false, 20, 15);
  EXPECT_EQ(map.layers[1].size(), 25u);
  EXPECT_EQ(map.layers[1][19][14], 7);
  EXPECT_EQ(map.layers[2][0][0], 9);
  for (int x = 20; x < 25; ++x) EXPECT_EQ(map.layers[0][static_cast<size_t>(x)], std::vector<int32_t>(15, 100000));

  map.layers[0][22][3] = 5;
  map.ResizeLayers(false, 20, 3);  // cells from the old row 3 on become empty
  EXPECT_EQ(map.layers[0][22][3], 100000);
  EXPECT_EQ(map.layers[2][0][0], 9);
  EXPECT_EQ(map.layers[1][19][14], 100000);

  map.header.height = 2;
  map.ResizeLayers(true, 25, 15);
  EXPECT_EQ(map.layers[2][0], (std::vector<int32_t>{100000, 100000}));
}

TEST(MapModelTest, InsertsACommandBeforeTheSmallerOfTheIndexAndTheCount) {
  EventPage page;
  page.commands = {CommandRecord({1}), CommandRecord({2}), CommandRecord({3})};
  page.commandCount = 2;
  page.InsertCommand(5);
  ASSERT_EQ(page.commands.size(), 4u);
  EXPECT_EQ(page.commands[2].arguments[0], 0);
  EXPECT_EQ(page.commands[3].arguments[0], 3);
  EXPECT_EQ(page.commandCount, 2);
  page.InsertCommand(-4);
  EXPECT_EQ(page.commands[0].arguments[0], 0);
  page.commandCount = 100;  // a count past the list inserts at its end
  page.InsertCommand(100);
  EXPECT_EQ(page.commands.size(), 6u);
}

}  // namespace
