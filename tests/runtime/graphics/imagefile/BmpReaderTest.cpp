#include <climits>

#include "runtime/graphics/imagefile/ImageReaders.h"
#include "tests/runtime/graphics/imagefile/ImageReadTesting.h"
#include "tests/support/BmpFileWriter.h"
#include "tests/support/ByteWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

BmpFileFields Fields(int32_t width, int32_t height, int bitCount, uint32_t compression = 0) {
  BmpFileFields s;
  s.width = width;
  s.height = height;
  s.bitCount = bitCount;
  s.compression = compression;
  return s;
}

std::vector<uint32_t> Palette(int n) {
  std::vector<uint32_t> p;
  for (int i = 0; i < n; ++i) p.push_back(static_cast<uint32_t>(i * 0x010203 + 0x000010));
  return p;
}

TEST(BmpReader, TwentyFourBitRowsComeOutTopFirstInEitherOrder) {
  BmpFileFields s = Fields(2, 2, 24);
  s.data = PackBmpRows(24, {{0x000001, 0x000002}, {0x000003, 0x000004}});  // bottom row first
  ReadResult up(ReadBmpImage, BmpFile(s));
  ASSERT_TRUE(up.ok());
  EXPECT_EQ(up.image().pitch, 8);
  EXPECT_EQ(up.image().format.depth, 24);
  EXPECT_EQ(up.Bytes(0, 0), (Bytes{3, 0, 0}));
  EXPECT_EQ(up.Bytes(1, 1), (Bytes{2, 0, 0}));

  s.height = -2;
  ReadResult down(ReadBmpImage, BmpFile(s));
  ASSERT_TRUE(down.ok());
  EXPECT_EQ(down.image().height, 2);
  EXPECT_EQ(down.Bytes(0, 0), (Bytes{1, 0, 0}));
  EXPECT_EQ(down.Bytes(1, 1), (Bytes{4, 0, 0}));
}

TEST(BmpReader, EightBitTakesAllPaletteEntriesWhateverTheCount) {
  BmpFileFields s = Fields(3, 1, 8);
  s.palette = Palette(256);
  s.data = PackBmpRows(8, {{0, 5, 255}});
  std::string file = BmpFile(s);
  PatchI32(file, 46, 2);  // colours used
  ReadResult r(ReadBmpImage, file);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.image().format.bytesPerPixel, 1);
  EXPECT_EQ(r.image().pitch, 4);
  EXPECT_EQ(r.Bytes(2, 0), (Bytes{255}));
  const uint32_t c = 255 * 0x010203 + 0x10;
  EXPECT_EQ(r.image().format.palette[255][0], c & 0xFF);
  EXPECT_EQ(r.image().format.palette[255][2], (c >> 16) & 0xFF);
  EXPECT_EQ(r.image().format.palette[255][3], 0);
}

// Layouts our converter turns into top-down 24-bit rows.
TEST(BmpReader, OtherLayoutsBecomeTwentyFourBit) {
  struct Case {
    const char* name;
    int bitCount;
    uint32_t compression;
    std::vector<uint32_t> palette;
    bool masks;
    uint32_t maskValues[3];
    std::vector<uint32_t> row;
    Bytes first, second;  // blue, green, red of pixels 0 and 1
  };
  const std::vector<Case> cases = {
      {"1-bit", 1, 0, {0x000000, 0x102030}, false, {}, {1, 0}, {0x30, 0x20, 0x10}, {0, 0, 0}},
      {"16-bit 5-5-5", 16, 0, {}, false, {}, {0x7C00, 0x0210}, {0, 0, 255}, {131, 131, 0}},
      {"16-bit 5-6-5 fields", 16, 3, {}, true, {0xF800, 0x07E0, 0x001F}, {0xF800, 0x07E0}, {0, 0, 255}, {0, 255, 0}},
      {"32-bit", 32, 0, {}, false, {}, {0x11223344, 0x00FF0000}, {0x44, 0x33, 0x22}, {0, 0, 255}},
      {"32-bit fields", 32, 3, {}, true, {0x000000FF, 0x0000FF00, 0x00FF0000}, {0x00112233, 0x000000FF}, {0x11, 0x22, 0x33}, {0, 0, 255}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    BmpFileFields s = Fields(2, 1, c.bitCount, c.compression);
    s.palette = c.palette;
    s.writeMasks = c.masks;
    for (int i = 0; i < 3; ++i) s.masks[i] = c.maskValues[i];
    s.data = PackBmpRows(c.bitCount, {c.row});
    ReadResult r(ReadBmpImage, BmpFile(s));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.image().format.depth, 24);
    EXPECT_EQ(r.image().pitch, 8);
    EXPECT_EQ(r.Bytes(0, 0), c.first);
    EXPECT_EQ(r.Bytes(1, 0), c.second);
  }
}

TEST(BmpReader, FourBitUnpacksToOneBytePerPixel) {
  BmpFileFields s = Fields(3, 2, 4);
  s.palette = Palette(16);
  s.data = PackBmpRows(4, {{1, 2, 3}, {4, 5, 15}});
  ReadResult r(ReadBmpImage, BmpFile(s));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.image().pitch, 4);
  EXPECT_EQ(r.Bytes(0, 0), (Bytes{4}));
  EXPECT_EQ(r.Bytes(2, 0), (Bytes{15}));
  EXPECT_EQ(r.Bytes(1, 1), (Bytes{2}));
  EXPECT_EQ(r.image().format.palette[16][2], 0);  // only 16 entries are taken
}

TEST(BmpReader, RunLengthEightWithDeltasAndBothOrders) {
  BmpRunLength rle(false);
  rle.Run(2, 7).Literal({1, 2, 3}).EndOfLine().Delta(1, 1).Run(1, 9).EndOfBitmap();
  BmpFileFields s = Fields(5, 3, 8, 1);
  s.palette = Palette(256);
  s.data = rle.Bytes();
  ReadResult up(ReadBmpImage, BmpFile(s));
  ASSERT_TRUE(up.ok());
  // First stored row is the bottom row; the delta moves one row up and one right.
  EXPECT_EQ(up.Bytes(0, 2), (Bytes{7}));
  EXPECT_EQ(up.Bytes(4, 2), (Bytes{3}));
  EXPECT_EQ(up.Bytes(1, 0), (Bytes{9}));
  EXPECT_EQ(up.Bytes(0, 1), (Bytes{0}));

  s.height = -3;
  ReadResult down(ReadBmpImage, BmpFile(s));
  ASSERT_TRUE(down.ok());
  EXPECT_EQ(down.Bytes(0, 0), (Bytes{7}));
  EXPECT_EQ(down.Bytes(1, 2), (Bytes{9}));
}

TEST(BmpReader, RunLengthFourAlternatesNibbles) {
  BmpRunLength rle(true);
  rle.Run(3, 0x12).Literal({3, 4, 5}).EndOfBitmap();
  BmpFileFields s = Fields(6, 1, 4, 2);
  s.palette = Palette(16);
  s.data = rle.Bytes();
  ReadResult r(ReadBmpImage, BmpFile(s));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.image().pitch, 8);
  const Bytes expected = {1, 2, 1, 3, 4, 5};
  for (int x = 0; x < 6; ++x) EXPECT_EQ(r.Bytes(x, 0), Bytes{expected[x]}) << x;
}

// Runs, literals and deltas that would pass the buffer or the data are cut
// off; the rest of the image stays 0.
TEST(BmpReader, DamagedRunLengthStaysInsideBothBuffers) {
  const std::vector<std::pair<const char*, std::string>> cases = {
      {"run past the row", BmpRunLength(false).Run(255, 3).Bytes()},
      {"delta below the image", BmpRunLength(false).Delta(0, 200).Run(4, 3).Bytes()},
      {"lines past the top", Repeat(BmpRunLength(false).Run(1, 3).EndOfLine().Bytes(), 10)},
      {"literal past the data", BmpRunLength(false).Bytes() + std::string("\0\xC8\x01\x02", 4)},
      {"delta cut short", std::string("\0\x02\x01", 3)},
      {"odd byte at the end", std::string("\x02\x05\x03", 3)},
  };
  for (const auto& [name, data] : cases) {
    SCOPED_TRACE(name);
    BmpFileFields s = Fields(4, 2, 8, 1);
    s.palette = Palette(256);
    s.data = data;
    ReadResult r(ReadBmpImage, BmpFile(s));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.image().width, 4);
  }
}

TEST(BmpReader, ShortUncompressedDataIsZeroFilled) {
  for (const int32_t height : {3, -3}) {
    SCOPED_TRACE(height);
    BmpFileFields s = Fields(2, height, 24);
    s.data = PackBmpRows(24, {{0x0A0B0C, 0x0A0B0C}});  // one row of three
    ReadResult r(ReadBmpImage, BmpFile(s));
    ASSERT_TRUE(r.ok());
    const int stored = height > 0 ? 2 : 0;
    EXPECT_EQ(r.Bytes(1, stored), (Bytes{0x0C, 0x0B, 0x0A}));
    EXPECT_EQ(r.Bytes(0, 1), (Bytes{0, 0, 0}));
  }
}

TEST(BmpReader, RefusesDamagedHeaders) {
  BmpFileFields good = Fields(2, 2, 24);
  good.data = PackBmpRows(24, {{1, 2}, {3, 4}});
  const std::string file = BmpFile(good);
  ASSERT_TRUE(ReadResult(ReadBmpImage, file).ok());

  struct Edit {
    const char* name;
    size_t offset;
    int32_t value;
  };
  const std::vector<Edit> edits = {
      {"height INT_MIN", 22, INT_MIN},
      {"width 2^31", 18, INT_MIN},
      {"product past 2^26", 18, 20000},
      {"zero width", 18, 0},
      {"data offset past the end", kBmpDataOffsetField, 100000},
      {"bit count 7", 28, 7},
      {"compression 4", 30, 4},
      {"run-length at 24 bits", 30, 1},
  };
  for (const Edit& e : edits) {
    SCOPED_TRACE(e.name);
    std::string bad = file;
    if (e.offset == 28) {
      bad[28] = static_cast<char>(e.value);
    } else {
      PatchI32(bad, e.offset, e.value);
    }
    if (std::string(e.name) == "product past 2^26") PatchI32(bad, 22, 20000);
    EXPECT_FALSE(ReadResult(ReadBmpImage, bad).ok());
  }
  EXPECT_FALSE(ReadResult(ReadBmpImage, file.substr(0, 40)).ok());
  EXPECT_FALSE(ReadResult(ReadBmpImage, "BA" + file.substr(2)).ok());
}

}  // namespace
