#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "runtime/platform/archive/ArchiveCache.h"
#include "runtime/platform/archive/ArchiveFormat.h"
#include "runtime/platform/files/StreamOps.h"
#include "tests/runtime/platform/files/FileFixture.h"
#include "tests/support/ArchiveWriter.h"

namespace {

const std::string kGameDat = "game information";
const std::string kLong = [] {
  std::string s;
  for (int i = 0; i < 2000; ++i) s += "line " + std::to_string(i % 37) + "\r\n";
  return s;
}();

// The Data folder of a small game, as the archive tool packs it.
ArchiveWriter DataArchive(int version = 3) {
  ArchiveWriter writer(version);
  writer.AddFile("BasicData\\Game.dat", kGameDat, true);
  writer.AddFile("BasicData\\CommonEvent.dat", kLong, true);
  writer.AddFile("BasicData\\Stored.bin", kLong);
  writer.AddFile("MapData\\Sub\\map001.mps", "map one");
  writer.AddFile("\x95\x5C\\\x83\x5C.png", "sjis");  // 0x5C trail bytes in folder and file
  writer.AddFile("A.B.png", "ab");
  writer.AddFolder("Empty");
  return writer;
}

class ArchiveTest : public FileFixture {
 protected:
  void WriteArchive(const std::string& name, const ArchiveWriter& writer) { dir.Write(name, writer.Build()); }

  std::vector<std::string> Search(const char* pattern) {
    std::vector<std::string> names;
    FileInfo info;
    const FindHandle find = FindFirstVia(pattern, &info);
    if (find == -1) return names;
    do {
      names.push_back(info.name);
    } while (FindNextVia(find, &info) == 0);
    EXPECT_EQ(FindCloseVia(find), 0);
    return names;
  }
};

TEST_F(ArchiveTest, ReadsTheDataFolderFromItsArchiveWhateverTheCase) {
  SetArchiveExtension("zema");
  WriteArchive("Data.zema", DataArchive());
  dir.Write("Data/BasicData/Game.dat", "plain file");
  dir.Write("Data/BasicData/OnlyPlain.dat", "plain only");

  EXPECT_EQ(ReadThrough("Data\\BasicData\\Game.dat"), kGameDat);
  EXPECT_EQ(ReadThrough("DATA\\basicdata\\GAME.DAT"), kGameDat);
  EXPECT_EQ(ReadThrough((dir.Path() + "/data/BasicData/game.dat").c_str()), kGameDat);
  EXPECT_EQ(ReadThrough("Data\\BasicData\\CommonEvent.dat"), kLong);
  EXPECT_EQ(ReadThrough("Data\\BasicData\\Stored.bin"), kLong);
  EXPECT_EQ(ReadThrough("Data\\MapData\\sub\\MAP001.mps"), "map one");
  EXPECT_EQ(ReadThrough("data\\\x95\x5C\\\x83\x5C.PNG"), "sjis");
  // The archive stands for the whole folder: what it lacks is not found.
  EXPECT_EQ(ReadThrough("Data\\BasicData\\OnlyPlain.dat"), "<none>");
  EXPECT_EQ(ReadThrough("Data\\BasicData"), "<none>");
  EXPECT_EQ(ReadThrough("Data\\MapData\\map001.mps"), "<none>");
  EXPECT_EQ(FileSizeOf("Data\\BasicData\\Stored.bin"), static_cast<int64_t>(kLong.size()));
  EXPECT_EQ(LogText(), "");
}

TEST_F(ArchiveTest, WithoutAnArchiveThePlainFileIsRead) {
  dir.Write("Data/BasicData/Game.dat", "plain file");
  WriteArchive("Data.zema", DataArchive());  // the default extension is "MVA"
  EXPECT_EQ(ReadThrough("Data\\BasicData\\Game.dat"), "plain file");
  WriteArchive("data.mva", DataArchive());
  EXPECT_EQ(ReadThrough("Data\\BasicData\\Game.dat"), kGameDat);
  EnableArchiveAccess(0);
  EXPECT_EQ(ReadThrough("Data\\BasicData\\Game.dat"), "plain file");
}

TEST_F(ArchiveTest, EveryVersionAndKeyReads) {
  SetArchiveExtension("zema");
  for (int version = 0; version <= 3; ++version) {
    for (const char* key : {static_cast<const char*>(nullptr), "k", "a long key string"}) {
      ArchiveWriter writer = DataArchive(version);
      writer.SetKeyString(key);
      WriteArchive("Data.zema", writer);
      ResetArchiveState();
      SetArchiveKeyString(key);
      EXPECT_EQ(ReadThrough("Data\\BasicData\\Game.dat"), kGameDat) << version << (key ? key : "");
      EXPECT_EQ(ReadThrough("Data\\BasicData\\CommonEvent.dat"), kLong) << version;
    }
  }
  // The second built-in key opens whatever key string is set.
  ArchiveWriter second = DataArchive();
  second.UseSecondKey();
  WriteArchive("Data.zema", second);
  ResetArchiveState();
  SetArchiveKeyString("unrelated");
  EXPECT_EQ(ReadThrough("Data\\BasicData\\Game.dat"), kGameDat);
  // Another key string: not an archive, so the plain file (missing here).
  ArchiveWriter other = DataArchive();
  other.SetKeyString("other");
  WriteArchive("Data.zema", other);
  ResetArchiveState();
  EXPECT_EQ(ReadThrough("Data\\BasicData\\Game.dat"), "<none>");
}

TEST_F(ArchiveTest, ArchiveFilesReadBytesAndClampSeeks) {
  SetArchiveExtension("zema");
  ArchiveWriter writer;
  writer.AddFile("stored.bin", std::string(160, 's'));
  writer.AddFile("packed.bin", std::string(160, 'p'), true);
  WriteArchive("Data.zema", writer);
  for (const char* name : {"Data\\stored.bin", "Data\\packed.bin"}) {
    const FileHandle file = FileOpenRead(name, 0);
    ASSERT_NE(file, 0u);
    EXPECT_EQ(file & 0xF0000000u, 0xF0000000u);
    char buffer[100];
    EXPECT_EQ(FileReadBytes(buffer, 100, file), 100);
    EXPECT_EQ(FileReadBytes(buffer, 100, file), 60);  // the bytes read, not 0 or 1
    EXPECT_EQ(FileReadBytes(buffer, 100, file), 0);
    EXPECT_NE(FileEofVia(file), 0);
    EXPECT_EQ(FileSeekVia(file, -1, kSeekStart), 0);
    EXPECT_EQ(FileTellVia(file), 0);
    EXPECT_EQ(FileEofVia(file), 0);
    EXPECT_EQ(FileSeekVia(file, 10, kSeekEnd), 0);
    EXPECT_EQ(FileTellVia(file), 160);
    EXPECT_EQ(FileSeekVia(file, -20, kSeekCurrent), 0);
    EXPECT_EQ(FileReadVia(buffer, 4, 10, file), 20u);  // bytes, not elements
    EXPECT_EQ(FileIdleVia(file), 1);
    EXPECT_EQ(FileCloseRead(file), 0);
    EXPECT_EQ(FileCloseRead(file), -1);
  }
  // The file stream operations count whole elements all the same.
  const StreamHandle s = FileOpenVia("Data\\stored.bin", 0, 1, 0);
  char buffer[200];
  EXPECT_EQ(GetFileStreamOps()->read(buffer, 4, 50, s), 40u);
  EXPECT_EQ(GetFileStreamOps()->close(s), 0);
}

TEST_F(ArchiveTest, ReadLineWorksInsideArchives) {
  SetArchiveExtension("zema");
  ArchiveWriter writer;
  writer.AddFile("t.txt", "one\r\ntwo\r\n", true);
  WriteArchive("Data.zema", writer);
  const FileHandle file = FileOpenRead("Data\\t.txt", 0);
  char line[16];
  EXPECT_EQ(FileReadLine(line, sizeof line, file), 3);
  EXPECT_STREQ(line, "one");
  EXPECT_EQ(FileReadLine(line, sizeof line, file), 3);
  EXPECT_STREQ(line, "two");
  EXPECT_EQ(FileReadLine(line, sizeof line, file), -1);
  FileCloseRead(file);
}

TEST_F(ArchiveTest, SearchesListDirectoriesInsideArchives) {
  SetArchiveExtension("zema");
  WriteArchive("Data.zema", DataArchive());
  EXPECT_EQ(Search("Data\\*"), (std::vector<std::string>{".", "BasicData", "MapData", "\x95\x5C", "A.B.png", "Empty"}));
  EXPECT_EQ(Search("data\\basicdata\\*"),
            (std::vector<std::string>{".", "..", "Game.dat", "CommonEvent.dat", "Stored.bin"}));
  EXPECT_EQ(Search("Data\\*.PNG"), (std::vector<std::string>{"A.B.png"}));
  EXPECT_EQ(Search("Data\\BasicData\\*.dat"), (std::vector<std::string>{"Game.dat", "CommonEvent.dat"}));
  EXPECT_EQ(Search("Data\\Empty\\*"), (std::vector<std::string>{".", ".."}));
  EXPECT_EQ(Search("Data\\\x95\x5C\\*.png"), (std::vector<std::string>{"\x83\x5C.png"}));
  EXPECT_TRUE(Search("Data\\Missing\\*").empty());
  EXPECT_TRUE(Search("Data\\*.txt").empty());

  FileInfo info;
  const FindHandle find = FindFirstVia("Data\\BasicData\\stored.BIN", &info);
  ASSERT_NE(find, -1);
  EXPECT_STREQ(info.name, "Stored.bin");
  EXPECT_EQ(info.isDirectory, 0);
  EXPECT_EQ(info.sizeLow, kLong.size());
  EXPECT_EQ(info.sizeHigh, 0u);
  EXPECT_GE(info.lastWriteTime.year, 2014);
  FindCloseVia(find);
}

TEST_F(ArchiveTest, SlotsRunOutAt512AndMissesGiveThemBack) {
  SetArchiveExtension("zema");
  WriteArchive("Data.zema", DataArchive());
  dir.Write("plain.txt", "p");
  for (int i = 0; i < 1000; ++i) {
    ASSERT_EQ(FileOpenRead(i % 2 ? "Data\\missing.png" : "missing_a.png", 0), 0u);
  }
  EXPECT_EQ(ArchiveAwareOpenFileCount(), 0);

  std::vector<FileHandle> open;
  for (int i = 0; i < 512; ++i) {
    const FileHandle file = FileOpenRead(i % 2 ? "Data\\A.B.png" : "plain.txt", 0);
    ASSERT_NE(file, 0u) << i;
    open.push_back(file);
  }
  EXPECT_EQ(FileOpenRead("plain.txt", 0), 0u);
  EXPECT_NE(LogText().find("\x93\xAF\x8E\x9E\x82\xC9\x8A\x4A\x82\xAF\x82\xE9\x83\x74\x83\x40\x83\x43\x83\x8B\x82\xCC"
                           "\x90\x94\x82\xAA\x8C\xC0\x8A\x45\x82\xF0\x92\xB4\x82\xA6\x82\xDC\x82\xB5\x82\xBD\r\n"),
            std::string::npos);
  EXPECT_EQ(FileCloseRead(open[7]), 0);
  open[7] = FileOpenRead("Data\\A.B.png", 0);
  EXPECT_EQ(open[7], 7u | 0xF0000000u);  // the first free slot
  for (const FileHandle file : open) EXPECT_EQ(FileCloseRead(file), 0);
  EXPECT_EQ(ArchiveAwareOpenFileCount(), 0);
}

TEST_F(ArchiveTest, UnusedArchivesCloseAndOpenAgainFromDisk) {
  SetArchiveExtension("zema");
  ArchiveWriter first;
  first.AddFile("x.txt", "first");
  WriteArchive("Data.zema", first);
  const FileHandle held = FileOpenRead("Data\\x.txt", 0);
  EXPECT_EQ(ReadThrough("Data\\x.txt"), "first");

  // A new file in its place; the cached archive keeps reading the old one.
  ArchiveWriter second;
  second.AddFile("x.txt", "second");
  WriteArchive("New.zema", second);
  std::filesystem::rename(dir.File("New.zema"), dir.File("Data.zema"));
  CloseUnusedArchives();  // still in use: stays cached
  EXPECT_EQ(ReadThrough("Data\\x.txt"), "first");
  FileCloseRead(held);
  CloseUnusedArchives();
  EXPECT_EQ(ReadThrough("Data\\x.txt"), "second");
}

TEST_F(ArchiveTest, NestedArchivesAreFoundFromTheTopDown) {
  SetArchiveExtension("zema");
  ArchiveWriter game;
  game.AddFile("Data\\x.txt", "from the game archive");
  WriteArchive("Game.zema", game);
  ArchiveWriter data;
  data.AddFile("x.txt", "from the data archive");
  dir.Write("Game/Data.zema", data.Build());
  EXPECT_EQ(ReadThrough("Game\\Data\\x.txt"), "from the game archive");
}

TEST_F(ArchiveTest, DamagedArchivesAreNotArchives) {
  SetArchiveExtension("zema");
  dir.Write("Data/BasicData/Game.dat", "plain file");
  const ArchiveWriter writer = DataArchive();
  const std::string good = writer.Build();
  const ArchiveWriter::Layout layout = writer.LastLayout();
  const std::string key = writer.Key();

  // Each edit is made in the clear and scrambled again.
  auto edited = [&](size_t at, uint32_t value) {
    std::string bytes = good;
    ArchiveXor(&bytes, key);
    std::memcpy(bytes.data() + at, &value, 4);
    ArchiveXor(&bytes, key);
    return bytes;
  };
  // Entries in order: the root's BasicData, MapData, a Shift-JIS folder,
  // A.B.png and Empty, then BasicData's Game.dat (compressed) and the rest.
  const size_t table = layout.tableOffset;
  const size_t root = table + layout.directoryTableOffset;
  auto entry = [&](size_t index, size_t field) { return table + layout.entryTableOffset + index * layout.entrySize + field; };
  const size_t aFolder = 1, aStoredFile = 3, aCompressedFile = 5;
  struct Case {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"version 4", edited(0, 0x00045654)},
      {"table beyond the file", edited(4, 0x7FFFFFFF)},
      {"data area beyond the file", edited(8, 0x7FFFFFFF)},
      {"table offset beyond the file", edited(12, static_cast<uint32_t>(good.size()))},
      {"entry table beyond the block", edited(16, 0x7FFFFFFF)},
      {"directory table beyond the block", edited(20, 0x7FFFFFFF)},
      {"root entry count", edited(root + 8, 0x10000000)},
      {"root first entry", edited(root + 12, 0xFFFFFFF0)},
      {"parent of the root", edited(root + 4, 0x7FFFFFF0)},
      {"name record offset", edited(entry(0, 0), 0x7FFFFFFF)},
      {"name length", edited(table, 0xFFFF)},
      {"unterminated name", edited(table + 12, 0x41414141)},  // "BasicData": 12 bytes a copy
      {"subdirectory record", edited(entry(aFolder, 32), 0x7FFFFFF0)},
      {"data offset", edited(entry(aStoredFile, 32), 0x7FFFFFFF)},
      {"size of a stored file", edited(entry(aStoredFile, 36), 0x7FFFFFFF)},
      {"compressed size", edited(entry(aCompressedFile, 40), 0x7FFFFFFE)},
      {"compressed size below the head", edited(entry(aCompressedFile, 40), 8)},
      {"a size no code can make", edited(entry(aCompressedFile, 36), 0x7FFFFFFF)},
  };
  for (const Case& c : cases) {
    dir.Write("Data.zema", c.bytes);
    ResetArchiveState();
    EXPECT_EQ(ReadThrough("Data\\BasicData\\Game.dat"), "plain file") << c.what;
    ResetArchiveState();
  }

  // Every truncation of a small archive.
  ArchiveWriter small;
  small.AddFile("BasicData\\Game.dat", kGameDat, true);
  small.AddFile("BasicData\\x.bin", "x");
  const std::string whole = small.Build();
  for (size_t length = 0; length < whole.size(); ++length) {
    dir.Write("Data.zema", whole.substr(0, length));
    ResetArchiveState();
    ASSERT_EQ(ReadThrough("Data\\BasicData\\Game.dat"), "plain file") << length;
  }
}

TEST_F(ArchiveTest, ADamagedEntryFailsItsOpenOnly) {
  SetArchiveExtension("zema");
  ArchiveWriter writer;
  writer.AddFile("bad.dat", kLong, true);
  writer.AddFile("good.dat", "fine");
  std::string bytes = writer.Build();
  ArchiveXor(&bytes, writer.Key());
  bytes[24 + 4] = 20;  // the code of bad.dat ends early: too few bytes come out
  bytes[24 + 5] = bytes[24 + 6] = bytes[24 + 7] = 0;
  ArchiveXor(&bytes, writer.Key());
  dir.Write("Data.zema", bytes);
  EXPECT_EQ(ReadThrough("Data\\bad.dat"), "<none>");
  EXPECT_EQ(ReadThrough("Data\\good.dat"), "fine");

  // A stated size that the entry does not have.
  ArchiveWriter other;
  other.AddFile("bad.dat", kLong, true);
  bytes = other.Build();
  ArchiveXor(&bytes, other.Key());
  bytes[24] ^= 1;  // the head's uncompressed size
  ArchiveXor(&bytes, other.Key());
  dir.Write("Data.zema", bytes);
  ResetArchiveState();
  EXPECT_EQ(ReadThrough("Data\\bad.dat"), "<none>");
  EXPECT_EQ(ArchiveAwareOpenFileCount(), 0);
}


// Edits a built archive in the clear: 32-bit fields at file offsets.
std::string EditArchive(const ArchiveWriter& writer, std::string bytes,
                        std::initializer_list<std::pair<size_t, uint32_t>> edits) {
  ArchiveXor(&bytes, writer.Key());
  for (const auto& [at, value] : edits) std::memcpy(bytes.data() + at, &value, 4);
  ArchiveXor(&bytes, writer.Key());
  return bytes;
}

TEST_F(ArchiveTest, FoldersMayShareEntriesAndEveryEntryIsStillChecked) {
  SetArchiveExtension("zema");
  ArchiveWriter writer;
  writer.AddFile("a.txt", "A");
  writer.AddFile("b.txt", "B", true);
  writer.AddFolder("Sub");
  const std::string good = writer.Build();
  const ArchiveWriter::Layout layout = writer.LastLayout();
  const size_t sub = layout.tableOffset + layout.directoryTableOffset + kArchiveDirectoryRecordSize;

  // Sub lists the root's three entries, itself among them.
  dir.Write("Data.zema", EditArchive(writer, good, {{sub + kDirectoryCount, 3}, {sub + kDirectoryFirstEntry, 0}}));
  EXPECT_EQ(ReadThrough("Data\\Sub\\a.txt"), "A");
  EXPECT_EQ(ReadThrough("Data\\Sub\\Sub\\Sub\\b.txt"), "B");
  EXPECT_EQ(ReadThrough("Data\\b.txt"), "B");

  // Half an entry further on, the same bytes are other entries, checked on
  // their own: the archive does not open.
  dir.Write("Data.zema", EditArchive(writer, good,
                                     {{sub + kDirectoryCount, 2}, {sub + kDirectoryFirstEntry, kArchiveEntrySize / 2}}));
  ResetArchiveState();
  EXPECT_EQ(ReadThrough("Data\\a.txt"), "<none>");
}

TEST_F(ArchiveTest, ACompressedFileReadWholeIsDecompressedIntoTheCallersBufferOnly) {
  SetArchiveExtension("zema");
  const std::string text(200000, 'z');
  ArchiveWriter writer;
  writer.AddFile("big.bin", text, true);
  WriteArchive("Data.zema", writer);

  const FileHandle file = FileOpenRead("Data\\big.bin", 0);
  ASSERT_NE(file, 0u);
  EXPECT_LT(TrackedTotalSize(), 10000) << "only the code is held at open";
  std::string whole(text.size(), '\0');
  EXPECT_EQ(FileReadBytes(whole.data(), whole.size(), file), static_cast<int>(text.size()));
  EXPECT_TRUE(whole == text);
  EXPECT_LT(TrackedTotalSize(), 10000);
  EXPECT_EQ(FileReadBytes(whole.data(), 1, file), 0);

  // Reading again in parts decompresses it once into memory.
  EXPECT_EQ(FileSeekVia(file, 5, kSeekStart), 0);
  char part[10];
  EXPECT_EQ(FileReadBytes(part, sizeof part, file), 10);
  EXPECT_EQ(std::string(part, 10), text.substr(5, 10));
  EXPECT_GE(TrackedTotalSize(), static_cast<int64_t>(text.size()));
  EXPECT_EQ(FileSeekVia(file, 0, kSeekStart), 0);
  EXPECT_EQ(FileReadBytes(whole.data(), whole.size(), file), static_cast<int>(text.size()));
  EXPECT_TRUE(whole == text);
  FileCloseRead(file);
  EXPECT_LT(TrackedTotalSize(), 10000) << "closing gives the data back";
}

TEST_F(ArchiveTest, AnEntryStatingMoreThanTheLoaderTakesIsRefusedAtOpen) {
  SetArchiveExtension("zema");
  // Noise does not compress, so the code is long enough for the stated size
  // to pass the check of what a code of its length could make.
  std::string noise(2100000, '\0');
  std::mt19937 random(5);
  for (char& c : noise) c = static_cast<char>(random());
  ArchiveWriter writer;
  writer.AddFile("bomb.bin", noise, true);
  writer.AddFile("fine.txt", "fine", true);
  const std::string good = writer.Build();
  const ArchiveWriter::Layout layout = writer.LastLayout();
  const size_t entry = layout.tableOffset + layout.entryTableOffset;
  const uint32_t stated = static_cast<uint32_t>(kMaxWholeFileSize) + 1;
  dir.Write("Data.zema", EditArchive(writer, good, {{entry + kEntrySize, stated}, {kArchiveHeaderSize, stated}}));
  EXPECT_EQ(ReadThrough("Data\\bomb.bin"), "<none>");
  EXPECT_EQ(ReadThrough("Data\\fine.txt"), "fine");

  // At the cap itself the code is read and checked, and found short.
  const uint32_t atCap = static_cast<uint32_t>(kMaxWholeFileSize);
  dir.Write("Data.zema", EditArchive(writer, good, {{entry + kEntrySize, atCap}, {kArchiveHeaderSize, atCap}}));
  ResetArchiveState();
  EXPECT_EQ(ReadThrough("Data\\bomb.bin"), "<none>");
  EXPECT_EQ(ArchiveAwareOpenFileCount(), 0);
}

TEST_F(ArchiveTest, AnEntryExpandingBeyondWhatItsCodePaysForIsRefusedAtOpen) {
  SetArchiveExtension("zema");
  // Real codes of runs that decompress to what they state: 20,000 runs make
  // an 80,010-byte code, which pays for 1024 times its length + 64 MiB.
  constexpr uint32_t kRuns = 20000;
  const uint32_t paidFor = static_cast<uint32_t>(kArchiveMaxExpansion * (10 + 4 * kRuns) + kArchiveExpansionAllowance);
  struct Case {
    uint32_t size;
    bool opens;
  };
  for (const Case c : {Case{paidFor, true}, Case{paidFor + 1, false}, Case{64u << 20, true}}) {
    ArchiveWriter writer;
    writer.AddCode("runs.bin", ArchiveRunCode(c.size, kRuns));
    writer.AddFile("fine.txt", "fine", true);
    dir.Write("Data.zema", writer.Build());
    ResetArchiveState();
    const FileHandle file = FileOpenRead("Data\\runs.bin", 0);
    EXPECT_EQ(file != 0, c.opens) << c.size;
    if (file) FileCloseRead(file);
    EXPECT_EQ(ReadThrough("Data\\fine.txt"), "fine");
    EXPECT_LT(TrackedTotalSize(), 1 << 20) << "the runs are checked, not decompressed, at open";
  }
  EXPECT_EQ(ArchiveAwareOpenFileCount(), 0);
}

// A blank bitmap is the densest real data: the writer packs it close to the
// code's own limit, and the bound still lets it through up to 128 MiB.
TEST_F(ArchiveTest, ABlankBitmapPacksBelowTheExpansionBound) {
  std::string bitmap(4u << 20, '\0');
  std::memcpy(bitmap.data(), "BM", 2);
  const std::string code = CompressArchiveData(bitmap);
  const double ratio = static_cast<double>(bitmap.size()) / static_cast<double>(code.size());
  EXPECT_GT(ratio, 1024) << "the writer packs blanks densely";
  EXPECT_LT(ratio, 2 * kArchiveMaxExpansion);
  // Packed as densely, 128 MiB of blank is still paid for.
  const uint64_t blank = uint64_t{128} << 20;
  EXPECT_TRUE(ArchiveExpansionAllowed(blank, static_cast<uint64_t>(static_cast<double>(blank) / ratio)));
}

}  // namespace
