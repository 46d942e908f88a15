#include "runtime/graphics/imagefile/LoadImageFile.h"

#include <filesystem>

#include "runtime/graphics/imagefile/ImageReaders.h"
#include "runtime/platform/files/FileAccessTable.h"
#include "tests/runtime/graphics/imagefile/ImageReadTesting.h"
#include "tests/support/BgraFileWriter.h"
#include "tests/support/BmpFileWriter.h"
#include "tests/support/CurrentDirectory.h"
#include "tests/support/DdsFileWriter.h"
#include "tests/support/ImageLibraryFixtures.h"
#include "tests/support/TestDirectory.h"
#include "tests/support/TgaFileWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A 3 x 1 image whose pixels have blue bytes 1, 2, 3, in each format.
std::string Bmp24() {
  BmpFileFields s;
  s.width = 3, s.height = 1, s.bitCount = 24;
  s.data = PackBmpRows(24, {{1, 2, 3}});
  return BmpFile(s);
}
std::string Bmp8() {
  BmpFileFields s;
  s.width = 3, s.height = 1, s.bitCount = 8;
  s.palette.assign(256, 0);
  s.data = PackBmpRows(8, {{1, 2, 3}});
  return BmpFile(s);
}
std::string Tga24() {
  TgaFileFields s;
  s.width = 3, s.height = 1;
  s.data = std::string("\x01\0\0\x02\0\0\x03\0\0", 9);
  return TgaFile(s);
}
std::string Bgra() { return BgraFile(kBgraEightBit, 3, 1, std::string("\x01\0\0\0\x02\0\0\0\x03\0\0\0", 12)); }
std::string Png24() {
  PngFixtureFields s;
  s.width = 3, s.height = 1, s.colourType = 2;
  s.rows = std::string("\0\0\x01\0\0\x02\0\0\x03", 9);
  return EncodePngFixture(s);
}
std::string Dds32() {
  DdsFileFields s;
  s.width = 3, s.height = 1, s.formatFlags = 0x41, s.bitCount = 32;
  s.masks[0] = 0xFF0000, s.masks[1] = 0xFF00, s.masks[2] = 0xFF, s.masks[3] = 0xFF000000;
  s.data = std::string("\x01\0\0\0\x02\0\0\0\x03\0\0\0", 12);
  return DdsFile(s);
}

// Every format reaches its reader through the table: the readers before it
// refuse and the stream is rewound for each.
TEST(ImageReaderTable, EveryFormatIsFoundWhateverItsPlace) {
  const std::vector<std::pair<const char*, std::string>> files = {
      {"BMP", Bmp24()}, {"PNG", Png24()}, {"BGRA", Bgra()}, {"TGA", Tga24()}, {"DDS", Dds32()},
      {"JPEG", EncodeJpegFixture(8, 8, 3, std::string(192, '\x40'))}};
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    ReadResult r(nullptr, bytes);
    ASSERT_TRUE(r.ok());
    if (std::string(name) != "JPEG") {
      EXPECT_EQ(r.image().width, 3);
      EXPECT_EQ(r.Bytes(2, 0)[0], 3);
    }
  }
  EXPECT_FALSE(ReadResult(nullptr, "not an image at all").ok());
  EXPECT_FALSE(ReadResult(nullptr, "").ok());
  TgaFileFields grey;
  grey.type = 3, grey.width = 1, grey.height = 1, grey.pixelDepth = 8, grey.data = "x";
  EXPECT_FALSE(ReadResult(nullptr, TgaFile(grey)).ok());
}

TEST(LoadImageFile, MirrorReversesRowsOfEveryFormat) {
  for (const std::string& bytes : {Bmp24(), Bmp8(), Bgra(), Png24()}) {
    GraphImage image{};
    ASSERT_EQ(LoadImageFile(nullptr, bytes.data(), static_cast<uint32_t>(bytes.size()), 1, 1, &image), 0);
    const int bpp = image.format.bytesPerPixel;
    EXPECT_EQ(image.pixels[0], 3);
    EXPECT_EQ(image.pixels[bpp], 2);
    EXPECT_EQ(image.pixels[2 * bpp], 1);
    FreeGraphImage(&image);
  }
}

TEST(LoadImageFile, CompanionNames) {
  char name[kCompanionNameSize];
  struct Case {
    std::string in, out;
  };
  for (const Case& c : std::vector<Case>{{"pic.png", "pic_a.png"},
                                         {"pic", "pic_a"},
                                         {"data.old\\pic", "data_a.old\\pic"},
                                         {"a.b.c", "a.b_a.c"},
                                         {std::string(257, 'x'), std::string(257, 'x') + "_a"}}) {
    ASSERT_TRUE(AlphaCompanionName(c.in.c_str(), name)) << c.in;
    EXPECT_EQ(std::string(name), c.out);
  }
  EXPECT_FALSE(AlphaCompanionName(std::string(258, 'x').c_str(), name));
  EXPECT_FALSE(AlphaCompanionName(std::string(5000, 'x').c_str(), name));
}

class LoadImageFileFromDisk : public ::testing::Test {
 protected:
  void SetUp() override { InstallFileAccessTable(nullptr); }
  TestDirectory dir;
  ScopedCurrentDirectory cwd{dir.Path()};
};

TEST_F(LoadImageFileFromDisk, FileWithAndWithoutCompanion) {
  dir.Write("Pic.bmp", Bmp24());
  GraphImage image{}, alpha{};
  EXPECT_EQ(LoadImageFileWithAlpha("Pic.bmp", nullptr, 0, 0, nullptr, 0, 0, &image, &alpha, 0), 1);
  EXPECT_EQ(image.width, 3);
  EXPECT_EQ(alpha.pixels, nullptr);
  FreeGraphImage(&image);

  dir.Write("Pic_a.bmp", Tga24());  // any format serves as the companion
  EXPECT_EQ(LoadImageFileWithAlpha("Pic.bmp", nullptr, 0, 0, nullptr, 0, 0, &image, &alpha, 1), 0);
  EXPECT_EQ(alpha.pixels[0], 3);  // mirrored like the image
  FreeGraphImage(&image);
  FreeGraphImage(&alpha);

  EXPECT_EQ(LoadImageFileWithAlpha("Missing.bmp", nullptr, 0, 0, nullptr, 0, 0, &image, &alpha, 0), -1);
  EXPECT_EQ(TrackedBlockCount(), 0);
}

TEST_F(LoadImageFileFromDisk, LongNameHasNoCompanion) {
  const std::string name = std::string(240, 'p') + ".bmp";
  const std::string longer = std::string(254, 'q') + ".bmp";  // 258: it does not
  dir.Write(name, Bmp24());
  dir.Write(name.substr(0, 240) + "_a.bmp", Bmp24());
  GraphImage image{}, alpha{};
  EXPECT_EQ(LoadImageFileWithAlpha(name.c_str(), nullptr, 0, 0, nullptr, 0, 0, &image, &alpha, 0), 0);
  FreeGraphImage(&image);
  FreeGraphImage(&alpha);
  // The file system would refuse the long name anyway; from memory the loader still gets no companion.
  const std::string bytes = Bmp24();
  EXPECT_EQ(LoadImageFileWithAlpha(longer.c_str(), bytes.data(), static_cast<uint32_t>(bytes.size()), 1, nullptr, 0, 0,
                                   &image, &alpha, 0),
            1);
  FreeGraphImage(&image);
}

TEST(LoadImageFile, MemoryCompanion) {
  const std::string bytes = Bmp24(), companion = Bgra();
  GraphImage image{}, alpha{};
  EXPECT_EQ(LoadImageFileWithAlpha(nullptr, bytes.data(), static_cast<uint32_t>(bytes.size()), 1, companion.data(),
                                   static_cast<uint32_t>(companion.size()), 1, &image, &alpha, 0),
            0);
  EXPECT_EQ(alpha.format.bytesPerPixel, 4);
  FreeGraphImage(&image);
  FreeGraphImage(&alpha);
  EXPECT_EQ(LoadImageFileWithAlpha(nullptr, bytes.data(), static_cast<uint32_t>(bytes.size()), 1, "junk", 4, 1, &image,
                                   &alpha, 0),
            1);
  FreeGraphImage(&image);
  EXPECT_EQ(LoadImageFileWithAlpha(nullptr, bytes.data(), static_cast<uint32_t>(bytes.size()), 1, companion.data(),
                                   static_cast<uint32_t>(companion.size()), 2, &image, &alpha, 0),
            1);
  FreeGraphImage(&image);
}

}  // namespace
