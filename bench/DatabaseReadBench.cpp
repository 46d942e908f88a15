// Random integer reads from a user database of 50 types x 500 records x 50
// items: one million reads per iteration, reported in ns per read. A read
// must neither allocate nor copy. The cells that prepared commands keep are
// resolved at each use, so resolving and writing are measured too.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "engine/data/database/Database.h"

namespace {

constexpr int32_t kTypes = 50;
constexpr int32_t kRecords = 500;
constexpr int32_t kItems = 50;
constexpr int32_t kReads = 1000000;

const Database& UserDatabaseSample() {
  static const Database db = [] {
    Database built;
    std::vector<int32_t> codes(kItems);
    for (int32_t i = 0; i < kItems; ++i) codes[static_cast<size_t>(i)] = 1000 + (kItems - 1 - i);  // slots reversed
    built.typeData.resize(kTypes);
    built.typeDefinitions.resize(kTypes);
    for (int32_t t = 0; t < kTypes; ++t) {
      DatabaseTypeData& entries = built.typeData[static_cast<size_t>(t)];
      entries.SetItemCodes(codes);
      entries.ResizeRecords(kRecords);
      for (int32_t r = 0; r < kRecords; ++r) {
        for (int32_t s = 0; s < kItems; ++s) entries.Integer(r, s) = t * 1000000 + r * 100 + s;
      }
    }
    return built;
  }();
  return db;
}

struct Read {
  int32_t type, data, item;
};

const std::vector<Read>& RandomReads() {
  static const std::vector<Read> reads = [] {
    std::mt19937 random(12345);
    std::vector<Read> made(kReads);
    for (Read& read : made) {
      read = {static_cast<int32_t>(random() % kTypes), static_cast<int32_t>(random() % kRecords),
              static_cast<int32_t>(random() % kItems)};
    }
    return made;
  }();
  return reads;
}

// One pass over the random cells per iteration: access(read) reads or writes
// one cell and gives a value to keep.
template <typename Access>
void RunRandomAccesses(benchmark::State& state, Access access) {
  const std::vector<Read>& reads = RandomReads();
  for (auto _ : state) {
    int64_t sum = 0;
    for (const Read& read : reads) sum += access(read);
    benchmark::DoNotOptimize(sum);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * kReads);
  state.counters["time_per_read"] =
      benchmark::Counter(kReads, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

void BM_RandomGetInt(benchmark::State& state) {
  const Database& db = UserDatabaseSample();
  RunRandomAccesses(state, [&db](const Read& read) { return db.GetInt(read.type, read.data, read.item); });
}
BENCHMARK(BM_RandomGetInt)->Unit(benchmark::kMillisecond);

void BM_RandomResolveIntCell(benchmark::State& state) {
  Database db = UserDatabaseSample();
  RunRandomAccesses(state, [&db](const Read& read) { return *db.ResolveIntCell({read.type, read.data, read.item}); });
}
BENCHMARK(BM_RandomResolveIntCell)->Unit(benchmark::kMillisecond);

void BM_RandomSetInt(benchmark::State& state) {
  Database db = UserDatabaseSample();
  RunRandomAccesses(state, [&db](const Read& read) { return db.SetInt(read.type, read.data, read.item, read.item); });
}
BENCHMARK(BM_RandomSetInt)->Unit(benchmark::kMillisecond);

// The floor: the same cells in the same order from one plain array, with no
// test at all.
void BM_RandomPlainArrayRead(benchmark::State& state) {
  std::vector<int32_t> cells(static_cast<size_t>(kTypes) * kRecords * kItems);
  for (size_t i = 0; i < cells.size(); ++i) cells[i] = static_cast<int32_t>(i);
  RunRandomAccesses(state, [&cells](const Read& read) {
    return cells[(static_cast<size_t>(read.type) * kRecords + static_cast<size_t>(read.data)) * kItems +
                 static_cast<size_t>(read.item)];
  });
}
BENCHMARK(BM_RandomPlainArrayRead)->Unit(benchmark::kMillisecond);

}  // namespace
