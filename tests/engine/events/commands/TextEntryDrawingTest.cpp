#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "engine/data/database/Databases.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/InterpreterHooks.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/TextEntryHooks.h"
#include "engine/services/StartupSettings.h"
#include "tests/engine/events/variables/VariablesTestFixture.h"
#include "tests/support/DatabaseBuilder.h"

namespace {

std::vector<std::array<int64_t, 12>> colorCalls;
std::vector<std::array<int, 3>> drawCalls;

class TextEntryDrawingTest : public VariablesTest {
 protected:
  void SetUp() override {
    VariablesTest::SetUp();
    colorCalls.clear();
    drawCalls.clear();
    TextEntryHooks hooks{};
    hooks.packColor = [](int r, int g, int b) { return static_cast<uint32_t>(r << 16 | g << 8 | b); };
    hooks.setTextInputColors = [](const int64_t* colors) {
      std::array<int64_t, 12> copy;
      std::copy(colors, colors + 12, copy.begin());
      colorCalls.push_back(copy);
    };
    hooks.drawTextInput = [](int x, int y, int handle) { drawCalls.push_back({x, y, handle}); };
    SetTextEntryHooks(&hooks);
    InterpreterHooks fields{};
    fields.deleteTextInput = [](int) {};
    SetInterpreterHooks(&fields);
  }
  void TearDown() override {
    SetTextEntryHooks(nullptr);
    SetInterpreterHooks(nullptr);
    TileUnit = 32;
    VariablesTest::TearDown();
  }
  // Records 10-12 of type 12 with the given channels.
  static void SetColors(const int32_t rgb[3][3]) {
    DatabaseTypeData data = MakeTypeData({1000, 1001, 1002}, 13);
    for (int32_t r = 0; r < 3; ++r) {
      for (int32_t c = 0; c < 3; ++c) data.Integer(10 + r, c) = rgb[r][c];
    }
    SystemDatabase.typeData[12] = std::move(data);
  }
};

TEST_F(TextEntryDrawingTest, ColoursInTheFieldsOrderAndThePosition) {
  const int32_t rgb[3][3] = {{255, 0, 16}, {1, 2, 3}, {-5, 200, 7}};
  SetColors(rgb);
  EventInterpreter interpreter;
  interpreter.textInput.handle = 77;
  interpreter.DrawTextEntry();
  const int64_t a = 0xFF0010, b = 0x010203, c = 0x00C807;  // -5 draws as 0
  ASSERT_EQ(colorCalls.size(), 1u);
  EXPECT_EQ(colorCalls[0], (std::array<int64_t, 12>{a, a, b, a, c, a, c, 0, 0, 0, -1, -1}));
  ASSERT_EQ(drawCalls.size(), 1u);
  EXPECT_EQ(drawCalls[0], (std::array<int, 3>{150, 400, 77}));

  TileUnit = 16;
  RootRunner = RootEventRunner();
  interpreter.DrawTextEntry();
  EXPECT_EQ(drawCalls.back(), (std::array<int, 3>{150, 400, 77}));
  interpreter.textInput.handle = 0;
}

TEST_F(TextEntryDrawingTest, TheInnermostChildDrawsAndNoFieldDrawsNothing) {
  EventInterpreter interpreter;
  interpreter.DrawTextEntry();
  EXPECT_TRUE(drawCalls.empty());
  interpreter.textInput.handle = 5;
  interpreter.children.emplace_back();
  interpreter.children[0].children.emplace_back();
  interpreter.children[0].children[0].textInput.handle = 9;
  interpreter.DrawTextEntry();
  ASSERT_EQ(drawCalls.size(), 1u);
  EXPECT_EQ(drawCalls[0][2], 9);
  interpreter.children.clear();
  interpreter.textInput.handle = 0;
}

TEST_F(TextEntryDrawingTest, MissingColourRecordsDrawBlackWithoutAnError) {
  EventInterpreter interpreter;
  interpreter.textInput.handle = 3;
  for (int frame = 0; frame < 3; ++frame) interpreter.DrawTextEntry();
  ASSERT_EQ(colorCalls.size(), 3u);
  EXPECT_EQ(colorCalls[0][0], 0);
  EXPECT_TRUE(TakeErrors().empty());
  SystemDatabase = Database();
  interpreter.DrawTextEntry();
  EXPECT_TRUE(TakeErrors().empty());
  interpreter.textInput.handle = 0;
}

}  // namespace
