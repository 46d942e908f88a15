// Time and peak memory of the readers on the worst game folders we know how
// to make: folders sharing one entry range in an archive, an entry stating
// 4 GB (a compression bomb), an entry of 1 MB really decompressing to 2 GB,
// an entry of 64 MiB packed into a few KB,
// databases of types whose records hold nothing, a map one tile high, a
// database of millions of definitions and 64 MB command lists.
//
// Every case runs in a fresh process (this program again, with --run), so
// that its peak resident memory is its own. Each row shows the input size N,
// the time, the peak resident memory above the process's start, and the
// bound the case keeps; the program fails when a case passes its bound.
//
// Usage: hostile_input_resources [case...]   (no case: every case)
// Each case runs three times (the fastest time and the largest peak count);
// HOSTILE_INPUT_RUNS=n asks for n runs.

#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "engine/data/CommonEventList.h"
#include "engine/data/ReplayLog.h"
#include "engine/data/database/Database.h"
#include "engine/data/file/FileBuffer.h"
#include "engine/data/map/MapData.h"
#include "runtime/Movan.h"
#include "runtime/platform/archive/ArchiveFormat.h"
#include "tests/support/ArchiveWriter.h"
#include "tests/support/ByteWriter.h"
#include "tests/support/MapFileWriter.h"
#include "tests/support/TestDirectory.h"

namespace {

constexpr double kMiB = 1024.0 * 1024.0;

// The aim for any file of n bytes: 100 ms per MB, 8 n + 64 MiB; 10 ms more
// for opening the files whatever their size.
double AimSeconds(double n) { return 0.010 + 0.1 * n / 1e6; }
double AimBytes(double n) { return 8 * n + 64 * kMiB; }

struct Bound {
  double seconds;
  double bytes;
  const char* stated;
};

struct Case {
  const char* name;
  const char* file;      // the input, under the game folder
  const char* what;
  bool expectLoaded;     // else the reader must refuse it
  std::function<bool()> read;
  std::function<Bound(double n)> bound;
};

// ---- inputs ---------------------------------------------------------------

std::string NameRecord(const std::string& name) {
  const size_t units = (name.size() + 4) / 4;
  ByteWriter out;
  uint32_t sum = 0;
  for (unsigned char c : name) sum += c;
  out.U16(static_cast<uint16_t>(units)).U16(static_cast<uint16_t>(sum));
  std::string padded = name;
  padded.resize(4 * units, '\0');
  out.Raw(padded).Raw(padded);  // the name is upper case already
  return out.Bytes();
}

// One stored file F.TXT and folders named D, all listing the same range:
// every entry of the root, the folders themselves included.
std::string OverlappingFolderArchive(uint32_t entries) {
  const std::string data = "hello";
  const std::string fileName = NameRecord("F.TXT");
  const std::string names = fileName + NameRecord("D");
  ByteWriter table;
  table.Raw(names);
  const uint32_t folderName = static_cast<uint32_t>(fileName.size());
  for (uint32_t i = 0; i < entries; ++i) {
    const bool folder = i > 0;
    table.U32(folder ? folderName : 0).U32(folder ? kArchiveDirectoryAttribute : 0x20).U64(0).U64(0).U64(0);
    table.U32(folder ? static_cast<uint32_t>(i * kArchiveDirectoryRecordSize) : 0);
    table.U32(folder ? 0 : static_cast<uint32_t>(data.size())).U32(folder ? 0 : kArchiveStored);
  }
  for (uint32_t i = 0; i < entries; ++i) table.U32(0).U32(i == 0 ? kArchiveNoParent : 0).U32(entries).U32(0);
  const uint32_t entryTable = static_cast<uint32_t>(names.size());
  ByteWriter out;
  out.Raw("MV").U16(3).U32(static_cast<uint32_t>(table.Size())).U32(kArchiveHeaderSize);
  out.U32(static_cast<uint32_t>(kArchiveHeaderSize + data.size())).U32(entryTable);
  out.U32(entryTable + entries * static_cast<uint32_t>(kArchiveEntrySize));
  out.Raw(data).Raw(table.Bytes());
  ArchiveXor(&out.Bytes(), ArchiveWriter().Key());
  return out.Bytes();
}

// A compressed entry of noise (the code as long as the data) whose entry
// and code head state 4 GB less 16 bytes: within what a code of its length
// could make, far beyond what the loader takes.
std::string BombArchive() {
  std::string noise(2200000, '\0');
  std::mt19937 random(9);
  for (char& c : noise) c = static_cast<char>(random());
  ArchiveWriter writer;
  writer.AddFile("BOMB.BIN", noise, true);
  std::string bytes = writer.Build();
  const ArchiveWriter::Layout& layout = writer.LastLayout();
  ArchiveXor(&bytes, writer.Key());
  const uint32_t stated = 0xFFFFFFF0u;
  std::memcpy(bytes.data() + layout.tableOffset + layout.entryTableOffset + kEntrySize, &stated, 4);
  std::memcpy(bytes.data() + kArchiveHeaderSize, &stated, 4);
  ArchiveXor(&bytes, writer.Key());
  return bytes;
}

// An entry of about 1 MB of code that really decompresses to the cap:
// runs of zeros, about 2048 bytes out for each byte in.
std::string RunsArchive() {
  ArchiveWriter writer;
  writer.AddCode("RUNS.BIN", ArchiveRunCode(static_cast<uint32_t>(kMaxWholeFileSize), 262144));
  return writer.Build();
}

std::string PackedArchive(size_t size) {
  std::string text(size, '\0');
  for (size_t i = 0; i < size; i += 4096) text[i] = static_cast<char>('a' + i / 4096 % 26);
  ArchiveWriter writer;
  writer.AddFile("BIG.BIN", text, true);
  return writer.Build();
}

// Types of 8 bytes each (item count 0, a record count): records without
// values cost the file nothing.
std::string EmptyTypesDatabase(int32_t types, int32_t recordsEach) {
  ByteWriter body;
  body.U8(0xC1).I32(types);
  for (int32_t t = 0; t < types; ++t) body.I32(0).I32(recordsEach);
  body.U8(0xC1);
  return FrameDataFile(body.Bytes(), 10, {0x11, 0x22, 0x33});
}

// One common event holding the commands; commandBytes is one command record.
std::string CommandListFile(const std::string& commandRecord, int32_t count, int32_t statedCount) {
  ByteWriter body;
  body.U8(0x8F).I32(1);
  body.U8(0x8E).I32(0).U8(0).I32(0).I32(0).U8(0).U8(0).Text("big");
  body.I32(statedCount);
  std::string& bytes = body.Bytes();
  bytes.reserve(bytes.size() + commandRecord.size() * static_cast<size_t>(count) + 16);
  for (int32_t i = 0; i < count; ++i) bytes += commandRecord;
  body.I32(0).U8(0x8E).U8(0x8F);
  return FrameDataFile(body.Bytes(), 10, {0x44, 0x55, 0x66});
}

std::string TypicalCommand() {
  ByteWriter out;
  out.U8(4).I32(101).I32(1).I32(2000003).I32(0).U8(2).U8(1).Text("Hello there").U8(0);
  return out.Bytes();
}

constexpr int32_t kCommandListBytes = 64 << 20;

// A map one tile high and columns wide, every cell set.
std::string OneRowMap(int32_t columns) {
  MapData map;
  map.header.width = columns;
  map.header.height = 1;
  map.ResizeLayers(true, 0, 0);
  for (auto& layer : map.layers) {
    for (int32_t x = 0; x < columns; ++x) layer[static_cast<size_t>(x)][0] = x % 4000;
  }
  return WriteMapFile(map);
}

// Definitions of the names-only layout, 17 bytes each (an empty type name
// with its NUL, no items, no data names, an empty memo); the .dat holds no
// types and sets that layout.
std::string DefinitionsProject(int32_t definitions) {
  ByteWriter out;
  out.I32(definitions);
  std::string& bytes = out.Bytes();
  bytes.reserve(bytes.size() + 17 * static_cast<size_t>(definitions));
  for (int32_t i = 0; i < definitions; ++i) out.I32(1).U8(0).I32(0).I32(0).I32(0);
  return out.Bytes();
}

// The most a project may hold: every definition, item name and data name
// its bounds allow, all empty.
std::string FullestProject() {
  using Definition = DatabaseTypeDefinition;
  const int32_t definitions = Definition::kMaxDefinitionsPerFile;
  const int32_t items = static_cast<int32_t>(Definition::kMaxItemNamesPerFile / definitions);
  ByteWriter out;
  out.I32(definitions);
  for (int32_t i = 0; i < definitions; ++i) {
    out.I32(1).U8(0).I32(items);
    for (int32_t k = 0; k < items; ++k) out.I32(0);
    const int32_t dataNames = i == 0 ? static_cast<int32_t>(Definition::kMaxDataNamesPerFile) : 0;
    out.I32(dataNames);
    for (int32_t k = 0; k < dataNames; ++k) out.I32(0);
    out.I32(0);
  }
  return out.Bytes();
}

// A save's replay section of runs of one frame each: two bytes an entry.
std::string RunsOfOneReplay(int32_t entries) {
  ByteWriter out;
  out.U8(1).I32(entries);
  std::string& bytes = out.Bytes();
  bytes.reserve(bytes.size() + 2 * static_cast<size_t>(entries));
  for (int32_t i = 0; i < entries; ++i) out.U8(1).U8(static_cast<uint8_t>(i));
  return out.Bytes();
}

bool ReadReplaySection(const char* path) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  std::vector<uint8_t> bytes(static_cast<size_t>(in.tellg()));
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  SaveBuffer section(std::move(bytes));
  ReplayLog log = ReplayLog::Blank();
  return log.Read(section);
}

std::string NoTypesDatabase() {
  ByteWriter body;
  body.U8(0xC0).I32(0).U8(0xC0);
  return FrameDataFile(body.Bytes(), 10, {0x11, 0x22, 0x33});
}

// ---- cases ----------------------------------------------------------------

bool LoadWhole(const char* path) {
  FileBuffer file;
  return file.Load(path);
}

std::vector<Case> Cases() {
  const auto aim = [](double n) { return Bound{AimSeconds(n), AimBytes(n), "aim: 10 ms + 100 ms/MB, 8N + 64 MiB"}; };
  return {
      {"archive-overlap", "Data.MVA", "60,000 entries, every folder listing them all", true,
       [] { return LoadWhole("Data\\D\\F.TXT"); }, aim},
      {"archive-bomb", "Data.MVA", "entry stating 4 GB in 2.2 MB of code", false,
       [] { return LoadWhole("Data\\BOMB.BIN"); },
       [](double n) { return Bound{0.010, 64 * kMiB, "refused in 10 ms, 64 MiB"}; }},
      {"archive-runs", "Data.MVA", "1 MB entry decompressing to 2 GB (runs)", false,
       [] { return LoadWhole("Data\\RUNS.BIN"); },
       [](double n) { return Bound{0.010, 64 * kMiB, "refused in 10 ms, 64 MiB"}; }},
      {"archive-packed", "Data.MVA", "64 MiB entry packed small, loaded whole", true,
       [] { return LoadWhole("Data\\BIG.BIN"); },
       [](double n) {
         // Here the file read is the entry: its stated size S counts for N.
         const double s = 64 * kMiB;
         return Bound{AimSeconds(s), s + 2 * n + 64 * kMiB, "10 ms + 100 ms/MB of S, S + 2N + 64 MiB (S = 64 MiB)"};
       }},
      {"db-empty-types", "Data/BasicData/DataBase.dat", "10,000 types stating 1,000,000 empty records each", false,
       [] { return Database().Load("BasicData\\DataBase"); }, aim},
      {"db-empty-types-allowed", "Data/BasicData/DataBase.dat", "10,000 types x 200 empty records (the allowance)",
       true, [] { return Database().Load("BasicData\\DataBase"); }, aim},
      {"map-one-row", "Data/MapData/Wide.mps", "a map 1 tile high and 5,000,000 wide", true,
       [] { return MapData().LoadMapData("MapData\\Wide.mps"); }, aim},
      {"project-definitions", "Data/BasicData/DataBase.project", "4,000,000 definitions, no types in the .dat",
       false, [] { return Database().Load("BasicData\\DataBase"); }, aim},
      {"project-fullest", "Data/BasicData/DataBase.project", "10,000 definitions, 100,000 item and 1M data names",
       true, [] { return Database().Load("BasicData\\DataBase"); }, aim},
      {"replay-runs-of-one", "Replay.bin", "a replay section of 32M runs of one frame", true,
       [] { return ReadReplaySection("Replay.bin"); }, aim},
      {"commands-smallest", "Data/BasicData/CommonEvent.dat", "64 MB of 4-byte commands (16M commands)", true,
       [] { return CommonEventList().LoadCommonEvents("BasicData\\CommonEvent.dat"); },
       aim},
      {"commands-typical", "Data/BasicData/CommonEvent.dat", "64 MB of 37-byte commands (4 args, 1 string)", true,
       [] { return CommonEventList().LoadCommonEvents("BasicData\\CommonEvent.dat"); }, aim},
      {"commands-count-lies", "Data/BasicData/CommonEvent.dat", "16M commands stated, the file holds 2", false,
       [] { return CommonEventList().LoadCommonEvents("BasicData\\CommonEvent.dat"); }, aim},
  };
}

void MakeInput(const std::string& name, const TestDirectory& dir) {
  if (name == "archive-overlap") dir.Write("Data.MVA", OverlappingFolderArchive(60000));
  if (name == "archive-bomb") dir.Write("Data.MVA", BombArchive());
  if (name == "archive-runs") dir.Write("Data.MVA", RunsArchive());
  if (name == "archive-packed") dir.Write("Data.MVA", PackedArchive(64u << 20));
  if (name == "db-empty-types" || name == "db-empty-types-allowed") {
    dir.Write("Data/BasicData/DataBase.dat", EmptyTypesDatabase(10000, name == "db-empty-types" ? 1000000 : 200));
    dir.Write("Data/BasicData/DataBase.project", ByteWriter().I32(0).Bytes());
  }
  if (name == "map-one-row") dir.Write("Data/MapData/Wide.mps", OneRowMap(5000000));
  if (name == "project-fullest") {
    dir.Write("Data/BasicData/DataBase.dat", NoTypesDatabase());
    dir.Write("Data/BasicData/DataBase.project", FullestProject());
  }
  if (name == "project-definitions") {
    dir.Write("Data/BasicData/DataBase.dat", NoTypesDatabase());
    dir.Write("Data/BasicData/DataBase.project", DefinitionsProject(4000000));
  }
  if (name == "replay-runs-of-one") dir.Write("Replay.bin", RunsOfOneReplay(kCommandListBytes / 2 - 8));
  if (name == "commands-smallest") {
    const std::string smallest(4, '\0');
    dir.Write("Data/BasicData/CommonEvent.dat",
              CommandListFile(smallest, kCommandListBytes / 4, kCommandListBytes / 4));
  }
  if (name == "commands-typical") {
    const std::string command = TypicalCommand();
    const int32_t count = kCommandListBytes / static_cast<int32_t>(command.size());
    dir.Write("Data/BasicData/CommonEvent.dat", CommandListFile(command, count, count));
  }
  if (name == "commands-count-lies") {
    // The first command carries a string of almost all the bytes.
    ByteWriter big;
    big.U8(1).I32(101).U8(0).U8(1).Text(std::string(kCommandListBytes - 64, 'x')).U8(0);
    dir.Write("Data/BasicData/CommonEvent.dat", CommandListFile(big.Bytes(), 1, (kCommandListBytes - 64) / 4));
  }
}

double Now() {
  timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

int64_t StatusField(const char* field) {
  std::ifstream status("/proc/self/status");
  std::string line;
  const size_t length = std::strlen(field);
  while (std::getline(status, line)) {
    if (line.compare(0, length, field) == 0) return std::atoll(line.c_str() + length) * 1024;
  }
  return -1;
}

// In the child: reads the input once and writes "n seconds peak loaded".
int RunCase(const Case& c) {
  SetMessageBoxHook([](const char*, const char*) {});
  SetExitProgramHook([](int code) { std::_Exit(100 + code); });
  std::ifstream in(c.file, std::ios::binary | std::ios::ate);
  const double n = static_cast<double>(in.tellg());
  const int64_t before = StatusField("VmRSS:");
  const double start = Now();
  const bool loaded = c.read();
  const double seconds = Now() - start;
  const double peak = static_cast<double>(StatusField("VmHWM:") - before);
  std::printf("%.0f %.9f %.0f %d\n", n, seconds, peak, loaded ? 1 : 0);
  return 0;
}

struct Measure {
  double n = 0, seconds = 1e30, peak = 0;
  bool loaded = false;
  bool ran = false;
};

// Runs the case in a fresh process in the folder; the fastest time and the
// largest peak of the runs.
void Measure1(const std::string& self, const std::string& name, const std::string& folder, Measure& m) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return;
  const pid_t child = fork();
  if (child == 0) {
    close(pipeEnds[0]);
    dup2(pipeEnds[1], 1);
    if (chdir(folder.c_str()) != 0) std::_Exit(3);
    execl("/proc/self/exe", self.c_str(), "--run", name.c_str(), static_cast<char*>(nullptr));
    std::_Exit(4);
  }
  close(pipeEnds[1]);
  char line[256] = {};
  size_t got = 0;
  ssize_t r;
  while (got + 1 < sizeof line && (r = read(pipeEnds[0], line + got, sizeof line - 1 - got)) > 0) got += static_cast<size_t>(r);
  close(pipeEnds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  double n, seconds, peak;
  int loaded;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || std::sscanf(line, "%lf %lf %lf %d", &n, &seconds, &peak, &loaded) != 4) {
    return;
  }
  m.ran = true;
  m.n = n;
  m.seconds = std::min(m.seconds, seconds);
  m.peak = std::max(m.peak, peak);
  m.loaded = loaded != 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<Case> cases = Cases();
  if (argc == 3 && std::strcmp(argv[1], "--run") == 0) {
    for (const Case& c : cases) {
      if (c.name == std::string(argv[2])) return RunCase(c);
    }
    return 2;
  }
  std::vector<std::string> chosen;
  for (int i = 1; i < argc; ++i) chosen.push_back(argv[i]);
  if (chosen.empty()) {
    for (const Case& c : cases) chosen.push_back(c.name);
  }
  std::printf("%-23s %8s %8s %9s %7s %8s  %s\n", "case", "N MiB", "ms", "peak MiB", "peak/N", "result", "bound");
  std::fflush(stdout);
  int failures = 0;
  for (const std::string& name : chosen) {
    const Case* c = nullptr;
    for (const Case& each : cases) {
      if (each.name == name) c = &each;
    }
    if (!c) {
      std::printf("%-23s no such case\n", name.c_str());
      ++failures;
      continue;
    }
    TestDirectory dir;
    MakeInput(name, dir);
    Measure m;
    const char* runsText = std::getenv("HOSTILE_INPUT_RUNS");
    const int runs = runsText ? std::max(1, std::atoi(runsText)) : 3;
    for (int run = 0; run < runs; ++run) Measure1(argv[0], name, dir.Path(), m);
    if (!m.ran) {
      std::printf("%-23s did not run\n", name.c_str());
      ++failures;
      continue;
    }
    const Bound bound = c->bound(m.n);
    const bool ok = m.loaded == c->expectLoaded && m.seconds <= bound.seconds && m.peak <= bound.bytes;
    if (!ok) ++failures;
    std::printf("%-23s %8.2f %8.1f %9.1f %7.2f %8s  %s%s\n", c->name, m.n / kMiB, m.seconds * 1000, m.peak / kMiB,
                m.n > 0 ? m.peak / m.n : 0.0, m.loaded ? "read" : "refused", ok ? "" : "OVER ", bound.stated);
    std::printf("%-23s   (%s; bound %.1f ms, %.1f MiB)\n", "", c->what, bound.seconds * 1000, bound.bytes / kMiB);
    std::fflush(stdout);
  }
  return failures == 0 ? 0 : 1;
}
