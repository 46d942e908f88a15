// The save and load commands choose the file by number or by a string
// variable's text and call the saves floor; a successful load or replay
// stops every interpreter.

#include <string>
#include <vector>

#include "engine/events/SaveCommandHooks.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/VariableStore.h"
#include "tests/engine/events/InterpreterTestFixture.h"
#include "tests/support/CommandListBuilder.h"

namespace {

struct Call {
  std::string what;
  int32_t slot;
  int64_t id;
  std::string prefix;
  std::string value;
  bool operator==(const Call&) const = default;
};

std::vector<Call> calls;
bool loadSucceeds = true;

class SaveCommandTest : public InterpreterTest {
 protected:
  void SetUp() override {
    InterpreterTest::SetUp();
    calls.clear();
    loadSucceeds = true;
    SaveCommandHooks hooks{};
    hooks.saveGame = [](int32_t slot, const std::string& prefix) {
      calls.push_back({"save", slot, 0, prefix, ""});
      return true;
    };
    hooks.loadGame = [](int32_t slot, const std::string& prefix) {
      calls.push_back({"load", slot, 0, prefix, ""});
      return loadSucceeds;
    };
    hooks.playReplay = [](int32_t slot, const std::string& prefix) {
      calls.push_back({"replay", slot, 0, prefix, ""});
      return true;
    };
    hooks.readSlotInt = [](int32_t slot, int64_t id, const std::string& prefix) {
      calls.push_back({"readInt", slot, id, prefix, ""});
      return 77;
    };
    hooks.readSlotString = [](int32_t slot, int64_t id, const std::string& prefix) {
      calls.push_back({"readString", slot, id, prefix, ""});
      return std::string("保存文");
    };
    hooks.writeSlotInt = [](int32_t slot, int64_t id, int32_t value, const std::string& prefix) {
      calls.push_back({"writeInt", slot, id, prefix, std::to_string(value)});
    };
    hooks.writeSlotString = [](int32_t slot, int64_t id, const std::string& text, const std::string& prefix) {
      calls.push_back({"writeString", slot, id, prefix, text});
    };
    SetSaveCommandHooks(&hooks);
  }
  void TearDown() override {
    SetSaveCommandHooks(nullptr);
    InterpreterTest::TearDown();
  }
};

const std::string kSlots = "Save\\SaveData";

}  // namespace

TEST_F(SaveCommandTest, ANumberOrAStringVariableNamesTheSave) {
  V(4) = 123;
  Variables.SetStringVariable(3000002, "Save\\mine.sav");
  RunPlain(CommandListBuilder().Add({220, 0, 3}).Add({220, 0, 2000004}).Add({220, 0, 0}).Add({220, 0, 3000002}).Build());
  EXPECT_EQ(calls, (std::vector<Call>{{"save", 3, 0, kSlots, ""},
                                      {"save", 123, 0, kSlots, ""},
                                      {"save", 0, 0, kSlots, ""},
                                      {"save", 0, 0, "Save\\mine.sav", ""}}));
  EXPECT_EQ(SystemStateHub.stateLoaded, 0);
}

TEST_F(SaveCommandTest, ALoadThatSucceedsStopsEveryInterpreter) {
  loadSucceeds = false;
  RunPlain(CommandListBuilder().Add({220, 1, 5}).Variable(2000000, 1, 0, 0, 0).Build());
  EXPECT_EQ(SystemStateHub.stateLoaded, 0);
  EXPECT_EQ(V(0), 1);  // a failed load: the event goes on

  loadSucceeds = true;
  V(0) = 0;
  RunPlain(CommandListBuilder().Add({220, 1, 5}).Variable(2000000, 1, 0, 0, 0).Build());
  EXPECT_EQ(SystemStateHub.stateLoaded, 1);
  EXPECT_EQ(V(0), 0);
  SystemStateHub.stateLoaded = 0;

  RunPlain(CommandListBuilder().Add({220, 2, 90}).Add({220, 7, 90}).Build());
  EXPECT_EQ(calls.back(), (Call{"replay", 90, 0, kSlots, ""}));
  EXPECT_EQ(SystemStateHub.stateLoaded, 1);
}

TEST_F(SaveCommandTest, SlotValuesAreReadAndWrittenByKindAndById) {
  V(6) = 2000009;  // the ID inside the save, held by a variable
  V(1) = 42;
  Variables.SetStringVariable(3000001, "書く");
  RunPlain(CommandListBuilder()
               .Add({221, 2000002, 3, 2000005})
               .Add({221, 3000000, 3, 3000007})
               .Add({222, 2000001, 2, 2000006, 1})
               .Add({222, 3000001, 2, 3000004, 0})
               .Build());
  EXPECT_EQ(V(2), 77);
  EXPECT_EQ(Variables.GetStringVariable(3000000), "保存文");
  EXPECT_EQ(calls, (std::vector<Call>{{"readInt", 3, 2000005, kSlots, ""},
                                      {"readString", 3, 3000007, kSlots, ""},
                                      {"writeInt", 2, 2000009, kSlots, "42"},
                                      {"writeString", 2, 3000004, kSlots, "書く"}}));
}
