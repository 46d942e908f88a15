#include "runtime/graphics/imagefile/ImageWriters.h"

#include <filesystem>

#include "runtime/LittleEndian.h"
#include "runtime/graphics/imagefile/ImageReaders.h"
#include "runtime/host/files/ReplacingFile.h"
#include "tests/runtime/graphics/imagefile/ImageReadTesting.h"
#include "tests/support/ImageLibraryFixtures.h"
#include "tests/support/TestDirectory.h"

namespace {

using Bytes = std::vector<uint8_t>;

// An image of the given format with pixels filled by value(x, y) (packed as
// the format stores them).
class TestImage {
 public:
  TestImage(int width, int height, int depth, uint32_t red, uint32_t green, uint32_t blue, uint32_t alpha = 0) {
    std::memset(&image_, 0, sizeof(image_));
    if (depth == 8) {
      MakePaletteColorFormat(&image_.format);
      for (int i = 0; i < 256; ++i) {
        image_.format.palette[i][0] = static_cast<uint8_t>(i);
        image_.format.palette[i][1] = static_cast<uint8_t>(255 - i);
        image_.format.palette[i][2] = static_cast<uint8_t>(i / 2);
        image_.format.palette[i][3] = 0x77;
      }
    } else {
      MakeColorFormatFromMasks(&image_.format, depth, red, green, blue, alpha);
    }
    image_.width = width;
    image_.height = height;
    image_.pitch = (width * image_.format.bytesPerPixel + 3) & ~3;
    buffer_.assign(static_cast<size_t>(image_.pitch) * height, 0);
    image_.pixels = buffer_.data();
  }
  void Set(int x, int y, uint32_t value) {
    StorePixelBytes(image_.pixels + y * image_.pitch + x * image_.format.bytesPerPixel, image_.format.bytesPerPixel,
                    value);
  }
  const GraphImage& image() const { return image_; }

 private:
  GraphImage image_;
  std::vector<uint8_t> buffer_;
};

class ImageWriters : public ::testing::Test {
 protected:
  void TearDown() override { SetReplacingFileWriteLimit(-1); }
  std::string Path(const char* name) const { return dir.File(name); }
  std::string Read(const char* name) const { return ReadWholeFile(dir.File(name)); }
  size_t FilesInFolder() const {
    size_t n = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) n += entry.is_regular_file();
    return n;
  }
  TestDirectory dir;
};

TEST_F(ImageWriters, BmpOfAnEightBitImage) {
  TestImage t(3, 2, 8, 0, 0, 0);
  t.Set(0, 0, 5), t.Set(2, 1, 200);
  ASSERT_EQ(SaveGraphImageBmp(Path("a.bmp").c_str(), t.image()), 0);
  const std::string f = Read("a.bmp");
  const auto* b = reinterpret_cast<const uint8_t*>(f.data());
  ASSERT_EQ(f.size(), 1078u + 4 * 2);
  EXPECT_EQ(f.substr(0, 2), "BM");
  EXPECT_EQ(ReadLe32(b + 2), 1078u + 8);
  EXPECT_EQ(ReadLe32(b + 10), 1078u);
  EXPECT_EQ(ReadLe32(b + 14), 40u);
  EXPECT_EQ(ReadLe32(b + 22), 2u);
  EXPECT_EQ(ReadLe16(b + 26), 1);
  EXPECT_EQ(ReadLe16(b + 28), 8);
  EXPECT_EQ(ReadLe32(b + 30), 0u);
  EXPECT_EQ((Bytes{b[54 + 4 * 9], b[55 + 4 * 9], b[56 + 4 * 9], b[57 + 4 * 9]}), (Bytes{9, 246, 4, 0}));
  // Bottom row first, padded with a zero byte.
  EXPECT_EQ((Bytes(b + 1078, b + 1086)), (Bytes{0, 0, 200, 0, 5, 0, 0, 0}));
}

TEST_F(ImageWriters, BmpOfDirectColourImagesIsTwentyFourBit) {
  TestImage sixteen(1, 1, 16, 0x7C00, 0x03E0, 0x001F);
  sixteen.Set(0, 0, 0x7FFF);
  ASSERT_EQ(SaveGraphImageBmp(Path("s.bmp").c_str(), sixteen.image()), 0);
  EXPECT_EQ(Read("s.bmp").substr(54, 3), "\xF8\xF8\xF8");

  TestImage wide(5, 1, 32, 0xFF0000, 0xFF00, 0xFF);
  wide.Set(4, 0, 0xAA112233);
  ASSERT_EQ(SaveGraphImageBmp(Path("w.bmp").c_str(), wide.image()), 0);
  const std::string w = Read("w.bmp");
  EXPECT_EQ(w.size(), 70u);
  EXPECT_EQ(w.substr(54 + 12, 4), std::string("\x33\x22\x11\0", 4));

  TestImage rgb(2, 2, 24, 0xFF0000, 0xFF00, 0xFF);
  rgb.Set(1, 0, 0x010203);
  ASSERT_EQ(SaveGraphImageBmp(Path("r.bmp").c_str(), rgb.image()), 0);
  ReadResult back(ReadBmpImage, Read("r.bmp"));
  ASSERT_TRUE(back.ok());
  EXPECT_EQ(back.Bytes(1, 0), (Bytes{3, 2, 1}));

  TestImage odd(1, 1, 16, 0x7C00, 0x03E0, 0x001F);
  GraphImage other = odd.image();
  other.format.depth = 15;
  EXPECT_EQ(SaveGraphImageBmp(Path("o.bmp").c_str(), other), -1);
  EXPECT_FALSE(FileExists(Path("o.bmp")));
}

TEST_F(ImageWriters, PngRoundTripsEveryFormatAsRgb) {
  TestImage xrgb(4, 3, 32, 0xFF0000, 0xFF00, 0xFF);
  TestImage rgb565(4, 3, 16, 0xF800, 0x07E0, 0x001F);
  TestImage argb4(4, 3, 16, 0x0F00, 0x00F0, 0x000F, 0xF000);
  TestImage indexed(4, 3, 8, 0, 0, 0);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 4; ++x) {
      xrgb.Set(x, y, static_cast<uint32_t>(0xFF000000 | (x * 40) << 16 | (y * 70) << 8 | (x + y) * 20));
      rgb565.Set(x, y, static_cast<uint32_t>(x * 0x1234 + y * 0x777));
      argb4.Set(x, y, static_cast<uint32_t>(x * 0x1111 + y * 0x0101));
      indexed.Set(x, y, static_cast<uint32_t>(x * 60 + y));
    }
  }
  for (const TestImage* t : {&xrgb, &rgb565, &argb4, &indexed}) {
    ASSERT_EQ(SaveGraphImagePng(Path("p.png").c_str(), t->image(), 6), 0);
    ReadResult back(ReadPngImage, Read("p.png"));
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.image().format.depth, 24);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 4; ++x) {
        int r, g, b;
        GetGraphImagePixel(t->image(), x, y, &r, &g, &b, nullptr);
        EXPECT_EQ(back.Rgba(x, y), (std::vector<int>{r, g, b, 0})) << x << "," << y;
      }
    }
  }
}

TEST_F(ImageWriters, JpegIsReadBackCloseToTheImage) {
  TestImage t(16, 16, 8, 0, 0, 0);
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 16; ++x) t.Set(x, y, 128);
  }
  ASSERT_EQ(SaveGraphImageJpeg(Path("j.jpg").c_str(), t.image(), 95), 0);
  ReadResult back(ReadJpegImage, Read("j.jpg"));
  ASSERT_TRUE(back.ok());
  const auto px = back.Rgba(7, 7);
  EXPECT_NEAR(px[0], 64, 3);  // palette entry 128: red 64, green 127, blue 128
  EXPECT_NEAR(px[1], 127, 3);
  EXPECT_NEAR(px[2], 128, 3);
}

// A full disk part-way: every writer reports failure and the old file stays.
TEST_F(ImageWriters, FailedWriteKeepsTheOldFile) {
  TestImage t(64, 64, 32, 0xFF0000, 0xFF00, 0xFF);
  uint32_t noise = 1;  // noise, so that every file is larger than the limits below
  for (int y = 0; y < 64; ++y) {
    for (int x = 0; x < 64; ++x) t.Set(x, y, noise = noise * 1103515245 + 12345);
  }
  using Writer = int (*)(const std::string&, const GraphImage&);
  const std::vector<std::pair<const char*, Writer>> writers = {
      {"BMP", [](const std::string& p, const GraphImage& i) { return SaveGraphImageBmp(p.c_str(), i); }},
      {"PNG", [](const std::string& p, const GraphImage& i) { return SaveGraphImagePng(p.c_str(), i, 1); }},
      {"JPEG", [](const std::string& p, const GraphImage& i) { return SaveGraphImageJpeg(p.c_str(), i, 90); }},
  };
  for (const auto& [name, write] : writers) {
    SCOPED_TRACE(name);
    for (const int64_t limit : {int64_t{0}, int64_t{100}, int64_t{2000}}) {
      WriteWholeFile(Path("old.img"), "the old picture");
      SetReplacingFileWriteLimit(limit);
      EXPECT_EQ(write(Path("old.img"), t.image()), -1) << limit;
      SetReplacingFileWriteLimit(-1);
      EXPECT_EQ(Read("old.img"), "the old picture");
      EXPECT_EQ(FilesInFolder(), 1u) << "a temporary file was left behind";
    }
    ASSERT_EQ(write(Path("old.img"), t.image()), 0);
    EXPECT_NE(Read("old.img"), "the old picture");
    EXPECT_EQ(FilesInFolder(), 1u);
  }
  EXPECT_EQ(SaveGraphImagePng(Path("no/such/folder/x.png").c_str(), t.image(), 6), -1);
  EXPECT_EQ(SaveGraphImageJpeg(Path("no/such/folder/x.jpg").c_str(), t.image(), 6), -1);
  EXPECT_EQ(SaveGraphImageBmp(Path("no/such/folder/x.bmp").c_str(), t.image()), -1);
}

}  // namespace
