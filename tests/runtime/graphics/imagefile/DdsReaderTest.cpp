#include "runtime/graphics/imagefile/ImageReaders.h"
#include "tests/runtime/graphics/imagefile/ImageReadTesting.h"
#include "tests/support/ByteWriter.h"
#include "tests/support/DdsFileWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string DxtFile(const char* fourCc, uint32_t width, uint32_t height, const std::string& data) {
  DdsFileFields s;
  s.width = width;
  s.height = height;
  s.formatFlags = 0x4;
  s.fourCc = fourCc;
  s.data = data;
  return DdsFile(s);
}

constexpr uint32_t kAllIndices2 = 0xAAAAAAAA;
constexpr uint32_t kAllIndices3 = 0xFFFFFFFF;

TEST(DdsReader, Dxt1FourColourAndThreeColourBlocks) {
  ReadResult four(ReadDdsImage, DxtFile("DXT1", 4, 4, DxtColourBlock(0xF800, 0x001F, kAllIndices2)));
  ASSERT_TRUE(four.ok());
  EXPECT_EQ(four.image().pitch, 16);
  EXPECT_EQ(four.image().format.alphaMask, 0xFF000000u);
  EXPECT_EQ(four.Bytes(3, 3), (Bytes{85, 0, 170, 255}));  // blue, green, red, alpha

  ReadResult three(ReadDdsImage, DxtFile("DXT1", 4, 4, DxtColourBlock(0x001F, 0xF800, kAllIndices3)));
  ASSERT_TRUE(three.ok());
  EXPECT_EQ(three.Bytes(0, 0), (Bytes{127, 0, 127, 0}));
}

TEST(DdsReader, Dxt3ExplicitAlpha) {
  const uint64_t alpha = 0xF | uint64_t{0x8} << 4;
  ReadResult r(ReadDdsImage, DxtFile("DXT3", 4, 4, DxtExplicitAlpha(alpha) + DxtColourBlock(0xFFFF, 0, 0)));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.Bytes(0, 0)[3], 255);
  EXPECT_EQ(r.Bytes(1, 0)[3], 136);
  EXPECT_EQ(r.Bytes(2, 0)[3], 0);
}

TEST(DdsReader, Dxt5AlphaRamps) {
  // Texel i takes ramp index i % 8.
  uint64_t indices = 0;
  for (int i = 0; i < 16; ++i) indices |= uint64_t(i % 8) << (3 * i);
  struct Case {
    uint8_t a0, a1;
    Bytes ramp;
  };
  const std::vector<Case> cases = {
      {255, 0, {255, 0, 218, 182, 145, 109, 72, 36}},
      {0, 255, {0, 255, 51, 102, 153, 204, 0, 255}},
  };
  for (const Case& c : cases) {
    ReadResult r(ReadDdsImage, DxtFile("DXT5", 4, 4, DxtInterpolatedAlpha(c.a0, c.a1, indices) + DxtColourBlock(0xFFFF, 0, 0)));
    ASSERT_TRUE(r.ok());
    for (int i = 0; i < 8; ++i) EXPECT_EQ(r.Bytes(i % 4, i / 4)[3], c.ramp[i]) << i;
  }
}

// Premultiplied colours are divided by alpha: alpha 0 gives colour 0, and a
// colour above its alpha is limited to 255.
TEST(DdsReader, PremultipliedVariantsAreDivided) {
  const std::string colour = DxtColourBlock(0xFFFF, 0xFFFF, 0);  // white everywhere
  ReadResult dxt2(ReadDdsImage, DxtFile("DXT2", 4, 4, DxtExplicitAlpha(0x0000000000000080) + colour));
  ASSERT_TRUE(dxt2.ok());
  EXPECT_EQ(dxt2.Bytes(0, 0), (Bytes{0, 0, 0, 0}));  // alpha 0
  EXPECT_EQ(dxt2.Bytes(1, 0), (Bytes{255, 255, 255, 136}));  // clamped, not 255 * 255 / 136 mod 256
  ReadResult dxt4(ReadDdsImage, DxtFile("DXT4", 4, 4, DxtInterpolatedAlpha(0, 0, 0) + colour));
  ASSERT_TRUE(dxt4.ok());
  EXPECT_EQ(dxt4.Bytes(2, 2), (Bytes{0, 0, 0, 0}));
}

TEST(DdsReader, PixelsOutsideWholeBlocksAreZero) {
  const std::string block = DxtColourBlock(0xFFFF, 0xFFFF, 0);
  ReadResult r(ReadDdsImage, DxtFile("DXT1", 6, 5, block));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.Bytes(3, 3), (Bytes{255, 255, 255, 255}));
  EXPECT_EQ(r.Bytes(4, 0), (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(r.Bytes(5, 3), (Bytes{0, 0, 0, 0}));
  EXPECT_EQ(r.Bytes(0, 4), (Bytes{0, 0, 0, 0}));
  ReadResult tiny(ReadDdsImage, DxtFile("DXT5", 2, 2, ""));
  ASSERT_TRUE(tiny.ok());
  EXPECT_EQ(tiny.Bytes(1, 1), (Bytes{0, 0, 0, 0}));
}

TEST(DdsReader, UncompressedLayoutFromMasks) {
  DdsFileFields s;
  s.width = 2;
  s.height = 2;
  s.formatFlags = 0x41;
  s.bitCount = 32;
  s.masks[0] = 0xFF0000, s.masks[1] = 0xFF00, s.masks[2] = 0xFF, s.masks[3] = 0xFF000000;
  s.data = Repeat("\x01\x02\x03\x04", 4);
  ReadResult r(ReadDdsImage, DdsFile(s));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.image().pitch, 8);
  EXPECT_EQ(r.image().format.alphaShift, 24);
  EXPECT_EQ(r.Bytes(1, 1), (Bytes{1, 2, 3, 4}));

  s.headerFlags |= 0x8;
  s.pitch = 12;
  s.data = Repeat("\x01\x02\x03\x04", 6);
  ReadResult padded(ReadDdsImage, DdsFile(s));
  ASSERT_TRUE(padded.ok());
  EXPECT_EQ(padded.image().pitch, 12);
}

TEST(DdsReader, RefusesWhatItCannotRead) {
  DdsFileFields good;
  good.width = 2;
  good.height = 2;
  good.formatFlags = 0x41;
  good.bitCount = 16;
  good.masks[0] = 0x7C00, good.masks[1] = 0x3E0, good.masks[2] = 0x1F, good.masks[3] = 0x8000;
  good.data = std::string(8, '\x7F');
  ASSERT_TRUE(ReadResult(ReadDdsImage, DdsFile(good)).ok());

  struct Case {
    const char* name;
    void (*edit)(DdsFileFields&);
  };
  const std::vector<Case> cases = {
      {"pitch shorter than a row", [](DdsFileFields& s) { s.headerFlags |= 0x8, s.pitch = 3; }},
      {"pitch x height past the data", [](DdsFileFields& s) { s.headerFlags |= 0x8, s.pitch = 0xFFFFFFFF; }},
      {"bit count 12", [](DdsFileFields& s) { s.bitCount = 12; }},
      {"bit count 0", [](DdsFileFields& s) { s.bitCount = 0; }},
      {"RGB without alpha pixels", [](DdsFileFields& s) { s.formatFlags = 0x40; }},
      {"unknown FourCC", [](DdsFileFields& s) { s.formatFlags = 0x4, s.fourCc = "DXT6"; }},
      {"short data", [](DdsFileFields& s) { s.data.pop_back(); }},
      {"too large", [](DdsFileFields& s) { s.width = 40000; }},
      {"no pixels", [](DdsFileFields& s) { s.height = 0; }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DdsFileFields s = good;
    c.edit(s);
    EXPECT_FALSE(ReadResult(ReadDdsImage, DdsFile(s)).ok());
  }
  EXPECT_FALSE(ReadResult(ReadDdsImage, DxtFile("DXT1", 8, 4, DxtColourBlock(0, 0, 0))).ok());
  EXPECT_FALSE(ReadResult(ReadDdsImage, DdsFile(good).substr(0, 100)).ok());
  EXPECT_FALSE(ReadResult(ReadDdsImage, "DDX" + DdsFile(good).substr(3)).ok());
}

}  // namespace
