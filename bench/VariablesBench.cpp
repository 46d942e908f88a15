// Variable access by ID and message expansion. Reads and writes of normal
// variables run inside every event command, so they are compared with a
// plain vector access; expansion is compared with copying the same bytes.

#include <benchmark/benchmark.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/events/variables/EscapeExpander.h"
#include "engine/events/variables/VariableStore.h"

namespace {

constexpr int32_t kEntries = 1000;

void PrepareStore() {
  Variables = VariableStore(&RootRunner);
  Variables.numberedSets.assign(10, std::vector<int32_t>(kEntries, 0));
  Variables.SetVariable(2000003, 42);
  Variables.SetStringVariable(3000001, "Alice");
}

void BM_GetVariableById(benchmark::State& state) {
  PrepareStore();
  int32_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(Variables.GetVariable(2000000 + i));
    i = i + 1 == kEntries ? 0 : i + 1;
  }
}
BENCHMARK(BM_GetVariableById);

void BM_SetVariableById(benchmark::State& state) {
  PrepareStore();
  int32_t i = 0;
  for (auto _ : state) {
    Variables.SetVariable(2000000 + i, i);
    i = i + 1 == kEntries ? 0 : i + 1;
  }
  benchmark::ClobberMemory();
}
BENCHMARK(BM_SetVariableById);

void BM_PeerVectorRead(benchmark::State& state) {
  std::vector<int32_t> values(kEntries, 1);
  int32_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(values[static_cast<size_t>(i)]);
    i = i + 1 == kEntries ? 0 : i + 1;
  }
}
BENCHMARK(BM_PeerVectorRead);

// 200 bytes with five escapes: two references, colour, size and a wait.
std::string FiveEscapeMessage() {
  std::string text = "\\s[1]は宝箱を開けた。中には\\v[3]ゴールドと、\\c[2]古い地図\\c[0]が入っていた。\\.";
  while (text.size() < 200) text += "あ";
  return text.substr(0, 200);
}

void BM_ExpandMessage200Bytes5Escapes(benchmark::State& state) {
  PrepareStore();
  const std::string text = FiveEscapeMessage();
  for (auto _ : state) benchmark::DoNotOptimize(ExpandMessageText(text, 0, -1, 1));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ExpandMessage200Bytes5Escapes);

void BM_Expand64KiBWithoutEscapes(benchmark::State& state) {
  PrepareStore();
  std::string text;
  while (text.size() < 65536) text += "文字列の中に制御文字はありません。";
  text.resize(65536);
  for (auto _ : state) benchmark::DoNotOptimize(ExpandMessageText(text, 0, -1, 1));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 65536);
}
BENCHMARK(BM_Expand64KiBWithoutEscapes);

void BM_PeerCopy64KiB(benchmark::State& state) {
  const std::string text(65536, 'x');
  for (auto _ : state) {
    std::string copy = text;
    benchmark::DoNotOptimize(copy.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 65536);
}
BENCHMARK(BM_PeerCopy64KiB);

}  // namespace
