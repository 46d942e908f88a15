// The event interpreter's loop: a counted loop of three variable operations
// and a branch, run through RunFrame as a prepared common event and as a
// plain map event, in commands per second. The peer is the same arithmetic
// written as a native loop over a vector.

#include <benchmark/benchmark.h>

#include <vector>

#include "engine/data/CommonEventList.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/PrepareCommonEvents.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/VariableStore.h"
#include "tests/support/CommandListBuilder.h"

namespace {

constexpr int32_t kPasses = 50000;  // about 400000 commands: one frame's budget holds them

// 179 N { V0 += 1; V1 = V0 x 3; V2 = V1 - V0; 111 V2 > V0 -> { V3 += 1 } } 498
EventCommandList LoopProgram() {
  return CommandListBuilder()
      .LoopCount(kPasses)
      .Variable(2000000, 1, 0, 1, 0)
      .Variable(2000001, 2000000, 3, 0, 2)
      .Variable(2000002, 2000001, 2000000, 0, 1)
      .Branch({{2000002, 2000000, 0}})
      .Variable(2000003, 1, 0, 1, 0)
      .EndBranch()
      .EndLoop()
      .Build();
}

void PrepareGame() {
  Variables = VariableStore(&RootRunner);
  Variables.numberedSets.assign(10, std::vector<int32_t>(100, 0));
  CommonEvents = CommonEventList();
  SystemStateHub = SystemState();
  SystemStateHub.gameState = 1;
}

template <typename Start>
void RunFrames(benchmark::State& state, Start start) {
  EventInterpreter interpreter;
  int64_t commands = 0;
  for (auto _ : state) {
    Variables.numberedSets[0].assign(100, 0);
    start(interpreter);
    interpreter.RunFrame();
    commands += interpreter.commandsThisFrame;
  }
  if (Variables.numberedSets[0][3] != kPasses) state.SkipWithError("the program did not run whole");
  state.counters["commands/s"] = benchmark::Counter(static_cast<double>(commands), benchmark::Counter::kIsRate);
}

void BM_PreparedCommonEvent(benchmark::State& state) {
  PrepareGame();
  CommonEvents.events[0].commands = LoopProgram();
  PrepareCommonEvents();
  RunFrames(state, [](EventInterpreter& interpreter) { interpreter.StartCommonEvent(0, -1); });
}
BENCHMARK(BM_PreparedCommonEvent)->Unit(benchmark::kMillisecond);

void BM_PlainMapEvent(benchmark::State& state) {
  PrepareGame();
  EventCommandList list = LoopProgram();
  RunFrames(state, [&](EventInterpreter& interpreter) { interpreter.StartEvent(&list, 1, -1); });
}
BENCHMARK(BM_PlainMapEvent)->Unit(benchmark::kMillisecond);

// The same work as native code: the bound that no interpreter reaches.
void BM_PeerNativeLoop(benchmark::State& state) {
  std::vector<int32_t> v(100, 0);
  int64_t commands = 0;
  for (auto _ : state) {
    v.assign(100, 0);
    for (int32_t i = 0; i < kPasses; ++i) {
      benchmark::DoNotOptimize(v.data());
      v[0] += 1;
      v[1] = v[0] * 3;
      v[2] = v[1] - v[0];
      if (v[2] > v[0]) v[3] += 1;
      benchmark::ClobberMemory();
    }
    commands += int64_t{kPasses} * 8;
  }
  state.counters["commands/s"] = benchmark::Counter(static_cast<double>(commands), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PeerNativeLoop)->Unit(benchmark::kMillisecond);

}  // namespace
