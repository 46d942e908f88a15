#include "runtime/graphics/imagefile/ImageReaders.h"
#include "tests/runtime/graphics/imagefile/ImageReadTesting.h"
#include "tests/support/TgaFileWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::string Bgr(uint8_t b, uint8_t g, uint8_t r) { return std::string{static_cast<char>(b), static_cast<char>(g), static_cast<char>(r)}; }

TgaFileFields TrueColour(int width, int height, const std::string& data) {
  TgaFileFields s;
  s.type = 2;
  s.width = static_cast<uint16_t>(width);
  s.height = static_cast<uint16_t>(height);
  s.pixelDepth = 24;
  s.data = data;
  return s;
}

TEST(TgaReader, OrientationsComeOutTopFirstLeftToRight) {
  // Stored pixels 1 2 / 3 4 in the order each descriptor says.
  const std::string stored = Bgr(1, 0, 0) + Bgr(2, 0, 0) + Bgr(3, 0, 0) + Bgr(4, 0, 0);
  struct Case {
    uint8_t descriptor;
    Bytes topLeftToBottomRight;
  };
  const std::vector<Case> cases = {
      {0x20, {1, 2, 3, 4}},  // top-down, left to right
      {0x00, {3, 4, 1, 2}},  // bottom-up
      {0x30, {2, 1, 4, 3}},  // right to left
      {0x10, {4, 3, 2, 1}},  // bottom-up and right to left
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.descriptor));
    TgaFileFields s = TrueColour(2, 2, stored);
    s.descriptor = c.descriptor;
    ReadResult r(ReadTgaImage, TgaFile(s));
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.image().pitch, 6);
    const Bytes got = {r.Bytes(0, 0)[0], r.Bytes(1, 0)[0], r.Bytes(0, 1)[0], r.Bytes(1, 1)[0]};
    EXPECT_EQ(got, c.topLeftToBottomRight);
  }
}

TEST(TgaReader, SixteenBitAttributeBitIsNotAlpha) {
  TgaFileFields s = TrueColour(1, 1, std::string("\x00\xFC", 2));  // attribute bit + red 31
  s.pixelDepth = 16;
  ReadResult r(ReadTgaImage, TgaFile(s));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.image().format.alphaWidth, 0);
  EXPECT_EQ(r.image().format.unusedMask, 0x8000u);
  EXPECT_EQ(r.Rgba(0, 0), (std::vector<int>{255, 0, 0, 0}));
}

TEST(TgaReader, ThirtyTwoBitKeepsAlpha) {
  TgaFileFields s = TrueColour(1, 1, std::string("\x01\x02\x03\x80", 4));
  s.pixelDepth = 32;
  ReadResult r(ReadTgaImage, TgaFile(s));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.image().format.alphaMask, 0xFF000000u);
  EXPECT_EQ(r.Bytes(0, 0), (Bytes{1, 2, 3, 0x80}));
}

TEST(TgaReader, ColourMappedPlainAndRunLength) {
  TgaFileFields s;
  s.type = 1;
  s.width = 3;
  s.height = 1;
  s.pixelDepth = 8;
  s.mapType = 1;
  s.mapFirst = 254;
  s.mapLength = 4;  // entries 256 and 257 have no place and are skipped
  s.mapEntryBits = 24;
  s.map = Bgr(10, 11, 12) + Bgr(20, 21, 22) + Bgr(30, 31, 32) + Bgr(40, 41, 42);
  s.imageId = "id";
  s.data = std::string("\xFE\xFF\x00", 3);
  ReadResult plain(ReadTgaImage, TgaFile(s));
  ASSERT_TRUE(plain.ok());
  EXPECT_EQ(plain.Bytes(0, 0), (Bytes{10, 11, 12}));
  EXPECT_EQ(plain.Bytes(1, 0), (Bytes{20, 21, 22}));
  EXPECT_EQ(plain.Bytes(2, 0), (Bytes{0, 0, 0}));

  s.type = 9;
  s.data = TgaRepeatPacket(2, "\xFF") + TgaRawPacket("\xFE", 1);
  ReadResult rle(ReadTgaImage, TgaFile(s));
  ASSERT_TRUE(rle.ok());
  EXPECT_EQ(rle.Bytes(1, 0), (Bytes{20, 21, 22}));
  EXPECT_EQ(rle.Bytes(2, 0), (Bytes{10, 11, 12}));
}

TEST(TgaReader, RunLengthTrueColourWithFooter) {
  TgaFileFields s = TrueColour(3, 2, TgaRepeatPacket(4, Bgr(1, 2, 3)) + TgaRawPacket(Bgr(4, 5, 6) + Bgr(7, 8, 9), 3));
  s.type = 10;
  s.footer = true;
  ReadResult r(ReadTgaImage, TgaFile(s));
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.Bytes(0, 1), (Bytes{1, 2, 3}));
  EXPECT_EQ(r.Bytes(1, 1), (Bytes{4, 5, 6}));
  EXPECT_EQ(r.Bytes(2, 1), (Bytes{7, 8, 9}));
}

// A last packet longer than the image is cut at width x height; short data
// leaves the rest 0.
TEST(TgaReader, RunLengthPacketsAreClampedToTheImage) {
  for (const std::string& data : {TgaRepeatPacket(128, Bgr(1, 2, 3)), TgaRawPacket(Repeat(Bgr(1, 2, 3), 100), 3),
                                  TgaRawPacket(Repeat(Bgr(1, 2, 3), 100), 3).substr(0, 7), std::string("\x85", 1)}) {
    TgaFileFields s = TrueColour(2, 2, data);
    s.type = 10;
    ReadResult r(ReadTgaImage, TgaFile(s));
    ASSERT_TRUE(r.ok());
  }
}

TEST(TgaReader, RefusesWhatItDoesNotRead) {
  struct Case {
    const char* name;
    TgaFileFields fields;
  };
  auto with = [](auto edit) {
    TgaFileFields s = TrueColour(2, 1, Bgr(1, 2, 3) + Bgr(4, 5, 6));
    edit(s);
    return s;
  };
  const std::vector<Case> cases = {
      {"grey type 3", with([](TgaFileFields& s) { s.type = 3; })},
      {"type 11", with([](TgaFileFields& s) { s.type = 11; })},
      {"x origin", with([](TgaFileFields& s) { s.xOrigin = 1; })},
      {"zero width", with([](TgaFileFields& s) { s.width = 0; })},
      {"zero height", with([](TgaFileFields& s) { s.height = 0; })},
      {"wider than 8192", with([](TgaFileFields& s) { s.width = 8193; })},
      {"15-bit pixels", with([](TgaFileFields& s) { s.pixelDepth = 15; })},
      {"16-bit indices", with([](TgaFileFields& s) {
         s.type = 1, s.mapType = 1, s.mapLength = 1, s.mapEntryBits = 24, s.map = Bgr(1, 2, 3), s.pixelDepth = 16;
       })},
      {"short data", with([](TgaFileFields& s) { s.data.pop_back(); })},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(ReadResult(ReadTgaImage, TgaFile(c.fields)).ok());
  }
}

}  // namespace
