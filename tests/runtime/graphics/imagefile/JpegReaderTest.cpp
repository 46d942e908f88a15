#include <cstdlib>

#include "runtime/graphics/imagefile/ImageReaders.h"
#include "tests/runtime/graphics/imagefile/ImageReadTesting.h"
#include "tests/support/ImageLibraryFixtures.h"

namespace {

std::string Noise(int size) {
  std::string out;
  uint32_t v = 12345;
  for (int i = 0; i < size; ++i) {
    v = v * 1103515245 + 12345;
    out += static_cast<char>((v >> 16) & 0xFF);
  }
  return out;
}

TEST(JpegReader, ColourRowsMatchTheLibraryAsBlueGreenRed) {
  for (const bool progressive : {false, true}) {
    SCOPED_TRACE(progressive);
    const std::string file = EncodeJpegFixture(33, 17, 3, Noise(33 * 17 * 3), 85, progressive);
    const std::string reference = DecodeJpegWithLibrary(file);
    ReadResult r(ReadJpegImage, file);
    ASSERT_TRUE(r.ok());
    EXPECT_EQ(r.image().format.depth, 24);
    EXPECT_EQ(r.image().pitch, 99);
    int differences = 0;
    for (int y = 0; y < 17; ++y) {
      for (int x = 0; x < 33; ++x) {
        const auto px = r.Bytes(x, y);
        const char* want = reference.data() + (y * 33 + x) * 3;
        differences += px[0] != static_cast<uint8_t>(want[2]) || px[2] != static_cast<uint8_t>(want[0]);
      }
    }
    EXPECT_EQ(differences, 0);
  }
}

TEST(JpegReader, GreyGivesTheGreyPalette) {
  const std::string file = EncodeJpegFixture(8, 8, 1, std::string(64, '\x80'));
  ReadResult r(ReadJpegImage, file);
  ASSERT_TRUE(r.ok());
  EXPECT_EQ(r.image().format.bytesPerPixel, 1);
  EXPECT_EQ(r.image().format.palette[200][1], 200);
  EXPECT_NEAR(r.Bytes(3, 3)[0], 0x80, 1);
}

TEST(JpegReader, RefusesFourComponentFiles) {
  EXPECT_FALSE(ReadResult(ReadJpegImage, EncodeJpegFixture(8, 8, 4, Noise(256))).ok());
}

// A file cut short still gives an image (the end is read as an end marker);
// an empty or foreign one is refused.
TEST(JpegReader, TruncatedFilesEndEarlyEmptyOnesAreRefused) {
  const std::string file = EncodeJpegFixture(64, 64, 3, Noise(64 * 64 * 3));
  ReadResult cut(ReadJpegImage, file.substr(0, file.size() * 2 / 3));
  EXPECT_TRUE(cut.ok());
  EXPECT_FALSE(ReadResult(ReadJpegImage, "").ok());
  EXPECT_FALSE(ReadResult(ReadJpegImage, file.substr(0, 2)).ok());
  EXPECT_FALSE(ReadResult(ReadJpegImage, "BM" + file.substr(2)).ok());
}

// A marker whose length skips far past the end of the data must end at once.
TEST(JpegReader, SkipPastTheEndEnds) {
  std::string file = EncodeJpegFixture(8, 8, 3, Noise(192));
  // An application segment of the largest length after the start marker, with nothing after it.
  const std::string cut = file.substr(0, 2) + std::string("\xFF\xE5\xFF\xFF", 4) + "abc";
  EXPECT_FALSE(ReadResult(ReadJpegImage, cut).ok());
}

}  // namespace

namespace {

// The first scan of a progressive file (its marker segment and entropy-coded
// data) repeated: each repeat is a few bytes that walk the whole image.
TEST(JpegReader, ProgressiveFileWithEndlessScansIsRefused) {
  const std::string file = EncodeJpegFixture(16, 16, 1, Noise(256), 75, true);
  const size_t sos = file.find("\xFF\xDA");
  ASSERT_NE(sos, std::string::npos);
  size_t end = sos + 2 + ((static_cast<uint8_t>(file[sos + 2]) << 8) | static_cast<uint8_t>(file[sos + 3]));
  while (end + 1 < file.size() && !(file[end] == '\xFF' && file[end + 1] != '\0')) ++end;
  const std::string scan = file.substr(sos, end - sos);
  const std::string few = file.substr(0, end) + Repeat(scan, 20) + file.substr(end);
  EXPECT_TRUE(ReadResult(ReadJpegImage, few).ok());
  const std::string endless = file.substr(0, end) + Repeat(scan, 600) + file.substr(end);
  EXPECT_FALSE(ReadResult(ReadJpegImage, endless).ok());
}

}  // namespace
