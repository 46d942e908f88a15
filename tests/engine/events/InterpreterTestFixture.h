#pragma once
// The variables' fixture with a running game state and an interpreter that
// runs lists either as common event 0 (prepared) or as a plain list of its
// own (with common event number 0, so self variables name the same cells).

#include <cstdint>
#include <vector>

#include "engine/data/map/EventCommandList.h"
#include "engine/events/EventInterpreter.h"
#include "tests/engine/events/variables/VariablesTestFixture.h"

class InterpreterTest : public VariablesTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Starts the list and runs one frame.
  void RunPrepared(const EventCommandList& list);
  void RunPlain(const EventCommandList& list);

  // Normal variable k (ID 2000000 + k).
  static int32_t& V(int32_t k);
  static int32_t& Self(int32_t slot);  // common event 0's integer self variable

  EventInterpreter interpreter;
};
