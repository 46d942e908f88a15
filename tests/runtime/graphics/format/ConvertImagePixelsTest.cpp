#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "runtime/graphics/format/ConvertImagePixels.h"
#include "runtime/graphics/format/PixelCodec.h"
#include "tests/runtime/graphics/format/FormatMaking.h"

namespace {

ColorFormat Palette() { return PresetFormat(MakePaletteColorFormat); }

// One row of pixels of any size, converted at (0, 0) with the given options.
struct Row {
  const ColorFormat& format;
  std::vector<uint8_t> bytes;
  Row(const ColorFormat& f, std::vector<uint32_t> pixels) : format(f), bytes(pixels.size() * f.bytesPerPixel) {
    for (size_t i = 0; i < pixels.size(); ++i)
      std::memcpy(&bytes[i * f.bytesPerPixel], &pixels[i], f.bytesPerPixel);
  }
  uint32_t At(size_t i) const {
    uint32_t v = 0;
    std::memcpy(&v, &bytes[i * format.bytesPerPixel], format.bytesPerPixel);
    return v;
  }
  int Width() const { return static_cast<int>(bytes.size() / format.bytesPerPixel); }
};

int Convert(Row& to, const Row& from, int mirror = 0, int keyToAlpha = 0, uint32_t key = 0, int skipKey = 0,
            int remap = 0) {
  const IntRect rect{0, 0, from.Width(), 1};
  return ConvertImagePixels(to.bytes.data(), 0, to.format, from.bytes.data(), 0, from.format, nullptr, 0, nullptr,
                            0, 0, rect, mirror, keyToAlpha, key, 0, 0, skipKey, remap);
}

const ColorFormat kXrgb = FormatFromMasks(32, 0xFF0000, 0xFF00, 0xFF, 0);
const ColorFormat kArgb = FormatFromMasks(32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
const ColorFormat kRgb565 = FormatFromMasks(16, 0xF800, 0x07E0, 0x001F, 0);
const ColorFormat kArgb1555 = FormatFromMasks(16, 0x7C00, 0x03E0, 0x001F, 0x8000);
const ColorFormat kRgb24 = FormatFromMasks(24, 0xFF0000, 0xFF00, 0xFF, 0);

TEST(ConvertImagePixelsTest, PaletteCopyReturnsTheLargestIndex) {
  const ColorFormat palette = Palette();
  Row from(palette, {3, 37, 5}), to(palette, {0, 0, 0});
  EXPECT_EQ(Convert(to, from), 37);
  EXPECT_EQ(to.At(1), 37u);
  const IntRect empty{1, 0, 1, 1};
  EXPECT_EQ(ConvertImagePixels(to.bytes.data(), 0, palette, from.bytes.data(), 0, palette, nullptr, 0, nullptr, 0,
                               0, empty, 0, 0, 0, 0, 0, 0, 0),
            -1);
}

TEST(ConvertImagePixelsTest, MirrorReversesRowsOfIndicesAndColours) {
  const ColorFormat palette = Palette();
  Row indices(palette, {1, 2, 3}), mirroredIndices(palette, {0, 0, 0});
  Convert(mirroredIndices, indices, 1);
  EXPECT_EQ(mirroredIndices.At(0), 3u);
  EXPECT_EQ(mirroredIndices.At(2), 1u);
  Row colours(kXrgb, {0xFF000001, 0xFF000002, 0xFF000003}), mirrored(kXrgb, {0, 0, 0});
  Convert(mirrored, colours, 1);
  EXPECT_EQ(mirrored.At(0), 0xFF000003u);
  EXPECT_EQ(mirrored.At(2), 0xFF000001u);
}

TEST(ConvertImagePixelsTest, WideningScalesAndUnusedBitsAreSet) {
  Row from(kRgb565, {0xFFFF, 0x8410}), to(kXrgb, {0, 0});
  Convert(to, from);
  EXPECT_EQ(to.At(0), 0xFFFFFFFFu);
  EXPECT_EQ(to.At(1), 0xFF838183u);  // 16/31 and 32/63 scaled to 8 bits: 131 and 129
}

TEST(ConvertImagePixelsTest, KeyToAlphaAndSkipKey) {
  Row from(kXrgb, {0x00FE00FE, 0xFFFE00FE, 0x00123456}), to(kArgb, {1, 1, 1});
  Convert(to, from, 0, 1, 0x00FE00FE);
  EXPECT_EQ(to.At(0), 0x00FE00FEu);
  EXPECT_EQ(to.At(1), 0x00FE00FEu);
  EXPECT_EQ(to.At(2), 0xFF123456u);

  // Skip key compares the whole raw pixel.
  Row kept(kXrgb, {7, 7, 7});
  Convert(kept, from, 0, 0, 0xFFFE00FE, 1);
  EXPECT_EQ(kept.At(0), 0x00FE00FEu);
  EXPECT_EQ(kept.At(1), 7u);
  EXPECT_EQ(kept.At(2), 0x00123456u);
}

TEST(ConvertImagePixelsTest, IndexSourcesCompareTheKeyWithTheFullColourInto1555) {
  ColorFormat palette = Palette();
  palette.palette[1][0] = 0xFE, palette.palette[1][2] = 0xFE;  // the key colour
  palette.palette[2][0] = 0xF9, palette.palette[2][2] = 0xFB;  // the same in 5 bits
  Row from(palette, {1, 2}), to(kArgb1555, {0, 0});
  Convert(to, from, 0, 1, 0x00FE00FE);
  EXPECT_EQ(to.At(0), 0x7C1Fu);
  EXPECT_EQ(to.At(1), 0xFC1Fu);
  // A 24-bit source compares after truncation to 5 bits.
  Row from24(kRgb24, {0x00FE00FE, 0x00FB00F9});
  Convert(to, from24, 0, 1, 0x00FE00FE);
  EXPECT_EQ(to.At(0), 0x7C1Fu);
  EXPECT_EQ(to.At(1), 0x7C1Fu);
}

TEST(ConvertImagePixelsTest, RemapAndNearestEntries) {
  const ColorFormat grey = PresetFormat(MakeGreyPaletteColorFormat);
  ColorFormat other = Palette();
  other.palette[5][0] = other.palette[5][1] = other.palette[5][2] = 100;
  Row from(other, {5, 0}), to(grey, {9, 9});
  EXPECT_EQ(Convert(to, from, 0, 0, 0, 0, 1), 0);
  EXPECT_EQ(to.At(0), 100u);
  EXPECT_EQ(to.At(1), 0u);

  Row colours(kXrgb, {0xFF0A0A0A}), nearest(grey, {0});
  Convert(nearest, colours);
  EXPECT_EQ(nearest.At(0), 10u);
}

// Colours into indices: runs, returns to an earlier colour, a black first pixel.
TEST(ConvertImagePixelsTest, RunsOfColoursGetTheirNearestEntries) {
  ColorFormat palette = Palette();  // every entry black but these
  palette.palette[0][0] = palette.palette[0][1] = palette.palette[0][2] = 255;
  palette.palette[5][0] = palette.palette[5][1] = palette.palette[5][2] = 10;
  Row from(kXrgb, {0, 0, 0xFFFFFF, 0xFFFFFF, 0, 0x0A0A0A, 0x0B0B0B, 0xFFFFFF}), to(palette, std::vector<uint32_t>(8));
  Convert(to, from);
  const uint32_t want[] = {1, 1, 0, 0, 1, 5, 5, 0};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(to.At(i), want[i]) << i;
}

TEST(ConvertImagePixelsTest, AlphaImageAndSingleChannelOptions) {
  const ColorFormat grey8 = PresetFormat(MakeGreyPaletteColorFormat);
  Row from(kXrgb, {0x00102030, 0x00405060});
  const uint8_t alphaPixels[2] = {0x80, 0xFF};
  Row to(kArgb, {0, 0});
  const IntRect rect{0, 0, 2, 1};
  ConvertImagePixels(to.bytes.data(), 0, kArgb, from.bytes.data(), 0, kXrgb, alphaPixels, 0, &grey8, 0, 0, rect,
                     0, 0, 0, 0, 0, 0, 0);
  EXPECT_EQ(to.At(0), 0x80102030u);
  EXPECT_EQ(to.At(1), 0xFF405060u);

  // Alpha only and alpha from red turn a grey image into a single channel.
  ColorFormat channel = FormatFromMasks(8, 0xFF, 0xFF, 0xFF, 0xFF);
  Row greyRow(grey8, {77, 200}), single(channel, {0, 0});
  ConvertImagePixels(single.bytes.data(), 0, channel, greyRow.bytes.data(), 0, grey8, nullptr, 0, nullptr, 0, 0,
                     rect, 0, 0, 0, 1, 1, 0, 0);
  EXPECT_EQ(single.At(0), 77u);
  EXPECT_EQ(single.At(1), 200u);
}

// A wide rectangle takes each channel's values from a table: the values the
// channel rule gives one by one.
TEST(ConvertImagePixelsTest, EverySixteenBitValueWidensByTheChannelRule) {
  const ColorFormat argb4444 = FormatFromMasks(16, 0x0F00, 0x00F0, 0x000F, 0xF000);
  std::vector<uint32_t> values(65536);
  for (uint32_t i = 0; i < 65536; ++i) values[i] = i;
  for (const ColorFormat* s : {&kRgb565, &argb4444}) {
    Row from(*s, values), to(kArgb, std::vector<uint32_t>(65536));
    Convert(to, from);
    auto widened = [&](uint32_t v, uint32_t mask, int shift, int width) {
      return ScaleChannel(ExtractChannel(v, mask, shift), width, 8);
    };
    for (uint32_t v = 0; v < 65536; ++v) {
      const uint32_t alpha = s->alphaWidth ? widened(v, s->alphaMask, s->alphaShift, s->alphaWidth) : 255;
      const uint32_t want = alpha << 24 | widened(v, s->redMask, s->redShift, s->redWidth) << 16 |
                            widened(v, s->greenMask, s->greenShift, s->greenWidth) << 8 |
                            widened(v, s->blueMask, s->blueShift, s->blueWidth);
      ASSERT_EQ(to.At(v), want) << std::hex << v << " from depth " << std::dec << s->depth;
    }
  }
}

// The dedicated loops give the general path's pixels.
TEST(ConvertImagePixelsTest, DedicatedLoopsMatchTheGeneralPath) {
  const ColorFormat x1555 = FormatFromMasks(16, 0x7C00, 0x03E0, 0x001F, 0);
  ColorFormat palette = Palette();
  std::mt19937 rng(5);
  for (auto& e : palette.palette)
    for (auto& b : e) b = static_cast<uint8_t>(rng());
  const ColorFormat* sources[] = {&palette, &kRgb24, &kXrgb, &kRgb565};
  const ColorFormat* targets[] = {&kRgb565, &x1555, &kXrgb, &kArgb, &kArgb1555, &kRgb24};
  for (const ColorFormat* s : sources) {
    for (const ColorFormat* d : targets) {
      for (int keyToAlpha = 0; keyToAlpha < 2; ++keyToAlpha) {
        for (int skip = 0; skip < 2; ++skip) {
          std::vector<uint32_t> pixels(67);
          for (auto& p : pixels) p = rng();
          pixels[3] = pixels[9] = 0x00FE00FE;
          Row from(*s, pixels), fast(*d, std::vector<uint32_t>(67, 0x5A5A5A5A)), general = fast;
          const uint32_t key = s == &palette ? pixels[4] & 0xFF : 0x00FE00FE;
          Convert(fast, from, 0, keyToAlpha, key, skip);
          SetConvertFastLoopsEnabled(0);
          Convert(general, from, 0, keyToAlpha, key, skip);
          SetConvertFastLoopsEnabled(1);
          for (int i = 0; i < 67; ++i) {
            // The one documented difference: an index source keyed into 1555.
            if (s == &palette && d == &kArgb1555 && keyToAlpha) continue;
            ASSERT_EQ(fast.At(i), general.At(i)) << "pixel " << i << " depth " << s->depth << " to " << d->depth
                                                 << " key " << keyToAlpha << " skip " << skip;
          }
        }
      }
    }
  }
}

}  // namespace
