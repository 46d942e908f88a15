#include "engine/shell/VariableDump.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/data/database/Databases.h"
#include "engine/events/RootInterpreter.h"
#include "engine/events/variables/VariableStore.h"
#include "tests/engine/shell/ShellTestFixture.h"
#include "tests/support/GameFolderWriter.h"

namespace {

class VariableDumpTest : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    // Types up to 23, so that the store makes its numbered sets: set 0 of
    // 60 records, string names 2, system strings 1, system variables 2.
    for (int32_t type = 0; type <= 23; ++type) SetDatabaseType(SystemDatabase, type, "", {}, {}, 0);
    SetDatabaseType(SystemDatabase, 4, "文字列", {}, {}, 2);
    SetDatabaseType(SystemDatabase, 5, "ｼｽﾃﾑ文字列", {}, {}, 1);
    SetDatabaseType(SystemDatabase, 6, "ｼｽﾃﾑ変数", {}, {}, 2);
    SetDatabaseType(SystemDatabase, 14, "通常変数", {}, {}, 60);
    Variables.Reset();
  }
  void TearDown() override {
    SystemDatabase = Database();
    Variables.Reset();
    ResetRootInterpreter();
    ShellTest::TearDown();
  }
  static std::string Text(const std::vector<DebugText>& texts, size_t i) { return i < texts.size() ? texts[i].text : ""; }
};

TEST_F(VariableDumpTest, ListsEveryKindWithItsDataNameInColumnsOfFiftyThreeLines) {
  Variables.SetVariable(2000001, 42);
  Variables.SetVariable(2000059, -7);
  Variables.SetStringVariable(3000001, std::string(40, 'a'));
  RootInterpreter.mapEventId = 3;
  RootInterpreter.line = 12;
  const std::vector<DebugText> texts = VariableDumpTexts();
  // The header, then the section of set 0 and its 60 records, three more
  // sections with 2, 2 and 1 records.
  ASSERT_EQ(texts.size(), 2u + 60 + 1 + 2 + 1 + 2 + 1 + 1);
  EXPECT_EQ(Text(texts, 0), "Ev3 CommonEv-1 12行");
  EXPECT_EQ(Text(texts, 1), "■通常変数-----");
  EXPECT_EQ(Text(texts, 3), "■V0-01:   42(1)");
  EXPECT_EQ(Text(texts, 61), "■V0-59:   -7(59)");
  EXPECT_EQ(Text(texts, 62), "■文字列変数---");
  EXPECT_EQ(Text(texts, 64), "●S01:" + std::string(32, 'a') + "(1)") << "32 bytes of a string";
  EXPECT_EQ(Text(texts, 65), "■ｼｽﾃﾑ変数-----");
  EXPECT_EQ(Text(texts, 66).rfind("★Sys00:", 0), 0u) << Text(texts, 66);
  EXPECT_EQ(Text(texts, 68), "■ｼｽﾃﾑ文字列(読み取り専用)---");
  EXPECT_EQ(Text(texts, 69).rfind("※SysS00:", 0), 0u) << Text(texts, 69);
  // 9 px apart; y 468 is the last line of a column of a 480-line screen.
  EXPECT_EQ(texts[52].x, 0);
  EXPECT_EQ(texts[52].y, 468);
  EXPECT_EQ(texts[53].x, 220);
  EXPECT_EQ(texts[53].y, 0);
  EXPECT_EQ(texts.back().x, 220);
}

TEST_F(VariableDumpTest, PagesTurnUntilTheLastColumnIsOnTheScreen) {
  struct Case {
    int32_t offset, lastColumnX, next;
  } cases[] = {
      {0, 220, -1},      // two columns fit
      {0, 480, 660},     // the third column reaches past: one page on, no more than 660
      {660, 480, -1},
      {0, 2200, 660},    {660, 2200, 1320}, {1320, 2200, 1980},
      {1980, 2200, -1},  // 2200 - 480 is left of the page
      {1000, 1500, 1660},  // a short last step: the last column plus 192
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NextVariableDumpPage(c.offset, c.lastColumnX), c.next) << c.offset << " " << c.lastColumnX;
  }
}

TEST_F(VariableDumpTest, EachPageWaitsForDecideAndAHeldDecideNeedsThirtyOnePasses) {
  // Enough records for the last column at 660: two pages.
  SetDatabaseType(SystemDatabase, 14, "通常変数", {}, {}, 53 * 3);
  Variables.Reset();
  ASSERT_EQ(VariableDumpTexts().back().x, 660);
  input.PressKey(kKeyReturn);
  UpdateInput();
  // Passes of the waits, told by the keyboard reads of one pass.
  int reads = 0;
  input.OnKeyboardRead([&reads](int) { ++reads; });
  UpdateLiveInput();
  const int readsPerPass = reads;
  ASSERT_GT(readsPerPass, 0);
  reads = 0;
  ShowVariableDump(true);
  input.OnKeyboardRead(nullptr);
  EXPECT_EQ(reads / readsPerPass, 2 * 31);
  EXPECT_EQ(SystemStateHub.gameState, SystemState().gameState);
}

}  // namespace
