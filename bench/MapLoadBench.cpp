// Loading a large map: a 500 x 500 map with 1,000 events, from its file and
// from memory, against the unscrambling pass alone, which every load makes.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "engine/data/file/DataFileScramble.h"
#include "engine/data/file/FileBuffer.h"
#include "engine/data/map/MapData.h"
#include "engine/services/DataFolder.h"
#include "tests/support/MapFileWriter.h"
#include "tests/support/TestDirectory.h"

namespace {

const std::string& LargeMapFile() {
  static const std::string bytes = [] {
    MapData map;
    map.header.width = 500;
    map.header.height = 500;
    map.ResizeLayers(true, 0, 0);
    for (size_t x = 0; x < 500; ++x) {
      for (size_t y = 0; y < 500; ++y) map.layers[0][x][y] = static_cast<int32_t>(x * 7 + y);
    }
    for (int32_t id = 999; id >= 0; --id) {
      MapEvent event(id);
      event.name = "Event";
      event.pages.resize(2);
      for (EventPage& page : event.pages) {
        page.route.steps = {{1, {}, ""}, {2, {1, 2}, "x"}};
        page.commands.clear();
        for (int i = 0; i < 10; ++i) {
          CommandRecord command;
          command.arguments = {101, i, 2, 3};
          command.strings = {"A line of message text"};
          page.commands.push_back(command);
        }
      }
      map.events.push_back(event);
    }
    return WriteMapFile(map);
  }();
  return bytes;
}

void BM_LoadMapFromFile(benchmark::State& state) {
  TestDirectory dir;
  dir.Write("Data/Large.mps", LargeMapFile());
  SetDataFolder(dir.Path() + "/Data/");
  for (auto _ : state) {
    MapData map;
    if (!map.LoadMapData("Large.mps")) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(map.events.data());
  }
  SetDataFolder("Data\\");
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(LargeMapFile().size()));
}
BENCHMARK(BM_LoadMapFromFile)->Unit(benchmark::kMillisecond);

void BM_ReadMapFromMemory(benchmark::State& state) {
  const std::vector<uint8_t> bytes(LargeMapFile().begin(), LargeMapFile().end());
  for (auto _ : state) {
    FileBuffer file(bytes);
    MapData map;
    if (!map.ReadMapFile(file, "Large.mps", "Large.mps")) state.SkipWithError("read failed");
    benchmark::DoNotOptimize(map.events.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadMapFromMemory)->Unit(benchmark::kMillisecond);

void BM_UnscrambleMapBody(benchmark::State& state) {
  std::vector<uint8_t> bytes(LargeMapFile().begin(), LargeMapFile().end());
  const uint8_t seeds[3] = {bytes[0], bytes[3], bytes[9]};
  uint8_t check = 0;
  for (auto _ : state) {
    DataFileScramble("Large.mps", bytes.data() + 20, bytes.size() - 20, 3, seeds, kScrambleOnly, check);
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size() - 20));
}
BENCHMARK(BM_UnscrambleMapBody)->Unit(benchmark::kMillisecond);

}  // namespace
