// Reading every entry of a game's data the way the data loader does (open,
// size, read whole, close), from an archive of about 64 MiB (2,000 entries,
// half LZ-compressed, three folder levels) and from the same tree as plain
// files. Figures in MB/s of file data delivered.

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "runtime/Movan.h"
#include "runtime/platform/archive/ArchiveAwareFiles.h"
#include "runtime/platform/archive/ArchiveDecompress.h"
#include "tests/support/ArchiveWriter.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/TestDirectory.h"

namespace {

struct Entry {
  std::string path;  // below the Data folder, '\' separated
  bool compressed;
  size_t size;
};

// Text-like content: words and numbers, as event and database data compress.
std::string TextLike(std::mt19937* random, size_t size) {
  static const char* const kWords[] = {"hero", "event", "map", "switch", "variable", "picture", "sound",
                                       "message", "choice", "\x83\x41\x83\x43\x83\x65\x83\x80", "wait", "move"};
  std::string text;
  while (text.size() < size) {
    text += kWords[(*random)() % 12];
    text += ' ';
    text += std::to_string((*random)() % 1000);
    text += (*random)() % 8 ? ' ' : '\n';
  }
  text.resize(size);
  return text;
}

class GameData {
 public:
  GameData() : cwd_(dir_.Path()) {
    std::mt19937 random(1234);
    ArchiveWriter writer;
    for (int n = 0; n < 2000; ++n) {
      Entry e;
      e.path = "Level" + std::to_string(n % 4) + "\\Sub" + std::to_string(n / 4 % 5) + "\\Leaf" +
               std::to_string(n / 20 % 5) + "\\file" + std::to_string(n) + ".dat";
      e.compressed = n % 2 == 0;
      e.size = 8192 + random() % 49152;
      std::string bytes;
      if (e.compressed) {
        bytes = TextLike(&random, e.size);
      } else {
        bytes.resize(e.size);
        for (char& c : bytes) c = static_cast<char>(random());
      }
      writer.AddFile(e.path, bytes, e.compressed);
      std::string plain = "Plain/" + e.path;
      for (char& c : plain) {
        if (c == '\\') c = '/';
      }
      dir_.Write(plain, bytes);
      if (e.compressed) packed_.push_back(CompressArchiveData(bytes));
      entries_.push_back(e);
    }
    dir_.Write("Data.zema", writer.Build());
    SetArchiveExtension("zema");
  }

  // Reads the entries of the folder that pass the filter; the bytes read.
  size_t LoadAll(const char* folder, int which) const {
    size_t total = 0;
    for (const Entry& e : entries_) {
      if ((which == kCompressed && !e.compressed) || (which == kStored && e.compressed)) continue;
      const std::string name = std::string(folder) + "\\" + e.path;
      const FileHandle file = FileOpenRead(name.c_str(), 0);
      const int64_t size = FileSizeOf(name.c_str());
      std::vector<char> buffer(static_cast<size_t>(size));
      FileReadBytes(buffer.data(), buffer.size(), file);
      FileCloseRead(file);
      benchmark::DoNotOptimize(buffer.data());
      total += buffer.size();
    }
    return total;
  }

  size_t DecodeAll() const {
    size_t total = 0;
    std::vector<uint8_t> out(65536);
    for (const std::string& code : packed_) {
      const int64_t n = DecompressArchiveData(reinterpret_cast<const uint8_t*>(code.data()), code.size(), out.data(),
                                              out.size());
      benchmark::DoNotOptimize(out.data());
      total += static_cast<size_t>(n);
    }
    return total;
  }

  static constexpr int kAll = 0, kCompressed = 1, kStored = 2;

 private:
  TestDirectory dir_;
  ScopedCurrentDirectory cwd_;
  std::vector<Entry> entries_;
  std::vector<std::string> packed_;
};

const GameData& Data() {
  static const GameData data;
  return data;
}

void Load(benchmark::State& state, const char* folder, int which) {
  const GameData& data = Data();
  size_t bytes = 0;
  for (auto _ : state) bytes += data.LoadAll(folder, which);
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

void BM_ArchiveAllEntries(benchmark::State& state) { Load(state, "Data", GameData::kAll); }
void BM_ArchiveCompressedEntries(benchmark::State& state) { Load(state, "Data", GameData::kCompressed); }
void BM_ArchiveStoredEntries(benchmark::State& state) { Load(state, "Data", GameData::kStored); }
void BM_PlainFiles(benchmark::State& state) { Load(state, "Plain", GameData::kAll); }

void BM_DecompressInMemory(benchmark::State& state) {
  const GameData& data = Data();
  size_t bytes = 0;
  for (auto _ : state) bytes += data.DecodeAll();
  state.SetBytesProcessed(static_cast<int64_t>(bytes));
}

BENCHMARK(BM_ArchiveAllEntries)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ArchiveCompressedEntries)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ArchiveStoredEntries)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlainFiles)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_DecompressInMemory)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
