// Starting inputs for the image fuzzers: small files of every format the
// readers take, in their main layouts; for the companion fuzzer, a split
// byte and two of them.

#include <string>
#include <vector>

#include "fuzz/WriteSeed.h"
#include "tests/support/BgraFileWriter.h"
#include "tests/support/BmpFileWriter.h"
#include "tests/support/DdsFileWriter.h"
#include "tests/support/ImageLibraryFixtures.h"
#include "tests/support/TgaFileWriter.h"

namespace {

std::string Pattern(size_t size) {
  std::string out;
  for (size_t i = 0; i < size; ++i) out += static_cast<char>(i * 37 + i / 7);
  return out;
}

std::vector<std::string> Images() {
  std::vector<std::string> seeds;
  std::vector<uint32_t> palette(256);
  for (uint32_t i = 0; i < 256; ++i) palette[i] = i * 0x010101;
  auto bmp = [&](int width, int height, int bits, uint32_t compression, std::string data) {
    BmpFileFields s;
    s.width = width, s.height = height, s.bitCount = bits, s.compression = compression;
    if (bits <= 8) s.palette.assign(palette.begin(), palette.begin() + (1 << bits));
    if (compression == 3) s.writeMasks = true, s.masks[0] = 0xF800, s.masks[1] = 0x07E0, s.masks[2] = 0x1F;
    s.data = std::move(data);
    return BmpFile(s);
  };
  seeds.push_back(bmp(5, 3, 24, 0, Pattern(48)));
  seeds.push_back(bmp(5, -3, 8, 0, Pattern(24)));
  seeds.push_back(bmp(9, 2, 4, 0, Pattern(16)));
  seeds.push_back(bmp(9, 2, 1, 0, Pattern(8)));
  seeds.push_back(bmp(3, 2, 16, 3, Pattern(16)));
  seeds.push_back(bmp(3, 2, 32, 0, Pattern(24)));
  seeds.push_back(bmp(8, 4, 8, 1, BmpRunLength(false).Run(3, 1).Literal({1, 2, 3, 4}).EndOfLine().Delta(2, 1).Run(2, 9).EndOfBitmap().Bytes()));
  seeds.push_back(bmp(8, 4, 4, 2, BmpRunLength(true).Run(5, 0x12).Literal({1, 2, 3}).EndOfLine().Delta(1, 1).EndOfBitmap().Bytes()));

  TgaFileFields tga;
  tga.width = 4, tga.height = 3, tga.pixelDepth = 24, tga.data = Pattern(36), tga.footer = true;
  seeds.push_back(TgaFile(tga));
  tga.type = 10, tga.descriptor = 0x10;
  tga.data = TgaRepeatPacket(5, "abc") + TgaRawPacket(Pattern(21), 3);
  seeds.push_back(TgaFile(tga));
  TgaFileFields mapped;
  mapped.type = 9, mapped.width = 4, mapped.height = 2, mapped.pixelDepth = 8, mapped.mapType = 1;
  mapped.mapFirst = 2, mapped.mapLength = 3, mapped.mapEntryBits = 16, mapped.map = Pattern(6);
  mapped.data = TgaRepeatPacket(3, "\x02") + TgaRawPacket("\x03\x04\x02\x03\x04", 1);
  seeds.push_back(TgaFile(mapped));

  seeds.push_back(BgraFile(kBgraEightBit, 3, 2, Pattern(24)));
  seeds.push_back(BgraFile(kBgraSixteenBit, 2, 2, Pattern(32)));

  DdsFileFields dds;
  dds.width = 8, dds.height = 4, dds.formatFlags = 0x4, dds.fourCc = "DXT1";
  dds.data = DxtColourBlock(0xF800, 0x001F, 0x1B1B1B1B) + DxtColourBlock(0x001F, 0xF800, 0xE4E4E4E4);
  seeds.push_back(DdsFile(dds));
  dds.fourCc = "DXT5";
  dds.data = DxtInterpolatedAlpha(255, 0, 0x123456789A) + DxtColourBlock(0xF800, 0x07E0, 0x1B1B1B1B) +
             DxtInterpolatedAlpha(0, 255, 0xFEDCBA) + DxtColourBlock(0x1234, 0x4321, 0x55555555);
  seeds.push_back(DdsFile(dds));
  dds.fourCc = "DXT2";
  seeds.push_back(DdsFile(dds));
  DdsFileFields plain;
  plain.width = 3, plain.height = 2, plain.formatFlags = 0x41, plain.bitCount = 16, plain.headerFlags |= 0x8;
  plain.pitch = 8, plain.masks[0] = 0x0F00, plain.masks[1] = 0xF0, plain.masks[2] = 0xF, plain.masks[3] = 0xF000;
  plain.data = Pattern(16);
  seeds.push_back(DdsFile(plain));

  PngFixtureFields png;
  png.width = 5, png.height = 4, png.colourType = 2, png.rows = Pattern(60);
  seeds.push_back(EncodePngFixture(png));
  png.colourType = 6, png.rows = Pattern(80), png.interlaced = true;
  seeds.push_back(EncodePngFixture(png));
  PngFixtureFields indexed;
  indexed.width = 8, indexed.height = 2, indexed.colourType = 3, indexed.bitDepth = 4;
  indexed.palette = {0x102030, 0x405060, 0x708090}, indexed.paletteAlpha = {0, 128};
  indexed.rows = std::string("\x01\x20\x12\x00\x21\x10\x02\x11", 8);
  seeds.push_back(EncodePngFixture(indexed));
  PngFixtureFields grey;
  grey.width = 4, grey.height = 2, grey.colourType = 0, grey.bitDepth = 16, grey.greyTransparent = 5;
  grey.rows = Pattern(16);
  seeds.push_back(EncodePngFixture(grey));

  seeds.push_back(EncodeJpegFixture(16, 8, 3, Pattern(384), 75));
  seeds.push_back(EncodeJpegFixture(9, 9, 1, Pattern(81), 50, true));
  return seeds;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  const std::vector<std::string> images = Images();
  // The companion fuzzer's seed program writes pairs.
  const bool pairs = std::string(argv[0]).find("alpha_companion") != std::string::npos;
  for (size_t i = 0; i < images.size(); ++i) {
    if (!pairs) {
      WriteSeed(argv, "seed" + std::to_string(i), images[i]);
      continue;
    }
    // Image then companion, split where the first byte says.
    const std::string& image = images[i];
    const std::string& companion = images[(i + 1) % images.size()];
    const size_t total = image.size() + companion.size();
    const int at = static_cast<int>((image.size() * 127 + total - 1) / total);
    WriteSeed(argv, "pair" + std::to_string(i), std::string(1, static_cast<char>(at << 1 | (i & 1))) + image + companion);
  }
  return 0;
}
