#include "tests/engine/events/InterpreterTestFixture.h"

#include "engine/data/CommonEventList.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/InterpreterHooks.h"
#include "engine/events/PrepareCommonEvents.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/VariableStore.h"
#include "engine/services/EngineRandom.h"

void InterpreterTest::SetUp() {
  VariablesTest::SetUp();
  SystemStateHub = SystemState();
  SystemStateHub.gameState = 1;
  interpreter = EventInterpreter();
  EngineRandom(kRandomSet, 12345);
}

void InterpreterTest::TearDown() {
  interpreter = EventInterpreter();
  SetInterpreterHooks(nullptr);
  SystemStateHub = SystemState();
  VariablesTest::TearDown();
}

void InterpreterTest::RunPrepared(const EventCommandList& list) {
  CommonEvents.events[0].commands = list;
  PrepareCommonEvents();
  interpreter.StartCommonEvent(0, -1);
  interpreter.RunFrame();
}

void InterpreterTest::RunPlain(const EventCommandList& list) {
  interpreter.StartOwnEvent(list, -1, 0);
  interpreter.RunFrame();
}

int32_t& InterpreterTest::V(int32_t k) { return Variables.numberedSets[0][static_cast<size_t>(k)]; }

int32_t& InterpreterTest::Self(int32_t slot) { return Variables.commonSelfIntegers[0][static_cast<size_t>(slot)]; }
