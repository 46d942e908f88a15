#include "runtime/graphics/imagefile/ImageReaders.h"
#include "tests/runtime/graphics/imagefile/ImageReadTesting.h"
#include "tests/support/ImageLibraryFixtures.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string Gradient(int width, int height, int channels) {
  std::string rows;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < channels; ++c) rows += static_cast<char>((x * 7 + y * 13 + c * 50) & 0xFF);
    }
  }
  return rows;
}

PngFixtureFields Fields(uint32_t width, uint32_t height, int colourType, int bitDepth, const std::string& rows) {
  PngFixtureFields s;
  s.width = width;
  s.height = height;
  s.colourType = colourType;
  s.bitDepth = bitDepth;
  s.rows = rows;
  return s;
}

TEST(PngReader, RgbAndRgbaComeOutAsBlueGreenRed) {
  for (const bool interlaced : {false, true}) {
    SCOPED_TRACE(interlaced);
    PngFixtureFields rgb = Fields(9, 7, 2, 8, Gradient(9, 7, 3));
    rgb.interlaced = interlaced;
    ReadResult r(ReadPngImage, EncodePngFixture(rgb));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.image().format.depth, 24);
    EXPECT_EQ(r.image().pitch, 27);
    const uint8_t* want = reinterpret_cast<const uint8_t*>(rgb.rows.data()) + 5 * 27 + 4 * 3;
    EXPECT_EQ(r.Bytes(4, 5), (Bytes{want[2], want[1], want[0]}));

    PngFixtureFields rgba = Fields(5, 3, 6, 8, Gradient(5, 3, 4));
    rgba.interlaced = interlaced;
    ReadResult a(ReadPngImage, EncodePngFixture(rgba));
    ASSERT_TRUE(a.ok());
    EXPECT_EQ(a.image().format.alphaMask, 0xFF000000u);
    const uint8_t* w = reinterpret_cast<const uint8_t*>(rgba.rows.data()) + 2 * 20 + 3 * 4;
    EXPECT_EQ(a.Bytes(3, 2), (Bytes{w[2], w[1], w[0], w[3]}));
  }
}

TEST(PngReader, SixteenBitSamplesAreStripped) {
  std::string rows;
  for (int i = 0; i < 2; ++i) rows += std::string("\x12\x34\xAB\xCD\xFF\x00", 6);
  ReadResult r(ReadPngImage, EncodePngFixture(Fields(2, 1, 2, 16, rows)));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.Bytes(1, 0), (Bytes{0xFF, 0xAB, 0x12}));
}

TEST(PngReader, SmallPaletteGivesBlackEntriesAndPackedIndices) {
  PngFixtureFields s = Fields(4, 1, 3, 2, std::string("\x1B", 1));  // indices 0 1 2 3
  s.palette = {0x102030, 0x405060, 0x708090, 0xA0B0C0};
  ReadResult r(ReadPngImage, EncodePngFixture(s));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.image().format.bytesPerPixel, 1);
  EXPECT_EQ(r.Bytes(1, 0), Bytes{1});
  EXPECT_EQ(r.Bytes(3, 0), Bytes{3});
  EXPECT_EQ(r.Rgba(2, 0), (std::vector<int>{0x70, 0x80, 0x90, 0}));
  for (int i = 4; i < 256; ++i) EXPECT_EQ(r.image().format.palette[i][2], 0);
}

TEST(PngReader, PaletteWithTransparencyExpandsToArgb) {
  PngFixtureFields s = Fields(2, 1, 3, 8, std::string("\x00\x01", 2));
  s.palette = {0x102030, 0x405060};
  s.paletteAlpha = {0x80};
  ReadResult r(ReadPngImage, EncodePngFixture(s));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.Bytes(0, 0), (Bytes{0x30, 0x20, 0x10, 0x80}));
  EXPECT_EQ(r.Bytes(1, 0), (Bytes{0x60, 0x50, 0x40, 0xFF}));
}

TEST(PngReader, GreyLayouts) {
  ReadResult grey(ReadPngImage, EncodePngFixture(Fields(3, 1, 0, 8, "\x01\x80\xFF")));
  ASSERT_TRUE(grey.ok());
  EXPECT_EQ(grey.image().format.bytesPerPixel, 1);
  EXPECT_EQ(grey.Rgba(1, 0), (std::vector<int>{0x80, 0x80, 0x80, 0}));

  ReadResult low(ReadPngImage, EncodePngFixture(Fields(4, 1, 0, 2, std::string("\x1B", 1))));
  ASSERT_TRUE(low.ok());
  EXPECT_EQ(low.Bytes(1, 0), Bytes{0x55});

  // Transparency makes grey + alpha, read as the 16-bit grey layout without alpha.
  PngFixtureFields t = Fields(2, 1, 0, 8, std::string("\x10\x20", 2));
  t.greyTransparent = 0x10;
  ReadResult keyed(ReadPngImage, EncodePngFixture(t));
  ASSERT_TRUE(keyed.ok());
  EXPECT_EQ(keyed.image().format.depth, 16);
  EXPECT_EQ(keyed.image().format.unusedMask, 0xFF00u);
  EXPECT_EQ(keyed.image().format.alphaWidth, 0);
  EXPECT_EQ(keyed.Rgba(1, 0), (std::vector<int>{0x20, 0x20, 0x20, 0}));
}

TEST(PngReader, RefusesDamagedAndOversizedFiles) {
  const std::string good = EncodePngFixture(Fields(8, 8, 2, 8, Gradient(8, 8, 3)));
  ASSERT_TRUE(ReadResult(ReadPngImage, good).ok());
  EXPECT_FALSE(ReadResult(ReadPngImage, good.substr(0, good.size() / 2)).ok());
  EXPECT_FALSE(ReadResult(ReadPngImage, good.substr(0, 20)).ok());
  std::string flipped = good;
  flipped[good.size() / 2] = static_cast<char>(flipped[good.size() / 2] ^ 0x55);
  EXPECT_FALSE(ReadResult(ReadPngImage, flipped).ok());
  // A header that claims 32768 x 1 or 16384 x 16384 is refused before the rows are made.
  for (const auto& [w, h] : std::vector<std::pair<uint32_t, uint32_t>>{{32768, 1}, {16384, 16384}}) {
    PngFixtureFields s = Fields(w, h, 0, 1, std::string(((w + 7) / 8) * h, '\0'));
    s.compressionLevel = 9;
    EXPECT_FALSE(ReadResult(ReadPngImage, EncodePngFixture(s)).ok()) << w << "x" << h;
  }
}

}  // namespace
