// Image files at the game's screen size (640 x 480): decoding through the
// layer's loader beside the bare libraries doing the same work, the layer's
// own BMP, TGA and DXT decoders, PNG writing beside bare libpng, and the
// time the reader table takes to refuse foreign bytes. Figures in pixels
// per second (Mpx/s) and bytes per second of file data.

#include <benchmark/benchmark.h>
#include <png.h>
#include <jpeglib.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/graphics/format/GraphImage.h"
#include "runtime/graphics/imagefile/DxtBlocks.h"
#include "runtime/graphics/imagefile/ImageWriters.h"
#include "runtime/graphics/imagefile/LoadImageFile.h"
#include "tests/support/BmpFileWriter.h"
#include "tests/support/DdsFileWriter.h"
#include "tests/support/ImageLibraryFixtures.h"
#include "tests/support/TestDirectory.h"
#include "tests/support/TgaFileWriter.h"

namespace {

constexpr int kWidth = 640, kHeight = 480;
constexpr int64_t kPixels = int64_t{kWidth} * kHeight;

// A picture-like image: smooth gradients with a little noise.
std::string Picture(int channels) {
  std::string out;
  uint32_t noise = 7;
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      noise = noise * 1103515245 + 12345;
      const int n = static_cast<int>(noise >> 29);
      const int values[4] = {x * 255 / kWidth + n, y * 255 / kHeight + n, (x + y) * 255 / (kWidth + kHeight) + n,
                             (x / 40 % 2) ? 255 : 128};
      for (int c = 0; c < channels; ++c) out += static_cast<char>(values[c] > 255 ? 255 : values[c]);
    }
  }
  return out;
}

std::string PngFile(int colourType) {
  PngFixtureFields s;
  s.width = kWidth, s.height = kHeight, s.colourType = colourType;
  if (colourType == 3) {
    for (uint32_t i = 0; i < 256; ++i) s.palette.push_back(i * 0x010203 & 0xFFFFFF);
    const std::string grey = Picture(1);
    s.rows = grey;
  } else {
    s.rows = Picture(colourType == 6 ? 4 : 3);
  }
  return EncodePngFixture(s);
}

void LoadThroughLayer(benchmark::State& state, const std::string& file) {
  for (auto _ : state) {
    GraphImage image{};
    if (LoadImageFile(nullptr, file.data(), static_cast<uint32_t>(file.size()), 1, 0, &image) != 0) {
      state.SkipWithError("not read");
      return;
    }
    benchmark::DoNotOptimize(image.pixels);
    FreeGraphImage(&image);
  }
  state.counters["Mpx/s"] = benchmark::Counter(static_cast<double>(kPixels) * state.iterations() / 1e6,
                                               benchmark::Counter::kIsRate);
  state.SetBytesProcessed(static_cast<int64_t>(file.size()) * state.iterations());
}

// libpng alone, with the transformations the layer asks for.
struct Cursor {
  const std::string* bytes;
  size_t at;
};
void ReadCursor(png_structp png, png_bytep data, size_t length) {
  auto* c = static_cast<Cursor*>(png_get_io_ptr(png));
  std::memcpy(data, c->bytes->data() + c->at, length);
  c->at += length;
}

void DecodePngBare(benchmark::State& state, const std::string& file) {
  std::vector<uint8_t> pixels;
  std::vector<png_bytep> rows;
  for (auto _ : state) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    Cursor cursor{&file, 0};
    png_set_read_fn(png, &cursor, ReadCursor);
    png_read_info(png, info);
    png_set_strip_16(png);
    png_set_packing(png);
    if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_expand(png);
    png_set_bgr(png);
    png_read_update_info(png, info);
    const size_t rowBytes = png_get_rowbytes(png, info);
    pixels.resize(rowBytes * kHeight);
    rows.resize(kHeight);
    for (int y = 0; y < kHeight; ++y) rows[y] = pixels.data() + rowBytes * y;
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.counters["Mpx/s"] = benchmark::Counter(static_cast<double>(kPixels) * state.iterations() / 1e6,
                                               benchmark::Counter::kIsRate);
  state.SetBytesProcessed(static_cast<int64_t>(file.size()) * state.iterations());
}

const std::string& PngRgb() { static const std::string f = PngFile(2); return f; }
const std::string& PngRgba() { static const std::string f = PngFile(6); return f; }
const std::string& PngPalette() { static const std::string f = PngFile(3); return f; }
const std::string& Jpeg() { static const std::string f = EncodeJpegFixture(kWidth, kHeight, 3, Picture(3), 85); return f; }

void BM_PngRgb_Layer(benchmark::State& s) { LoadThroughLayer(s, PngRgb()); }
void BM_PngRgb_Libpng(benchmark::State& s) { DecodePngBare(s, PngRgb()); }
void BM_PngRgba_Layer(benchmark::State& s) { LoadThroughLayer(s, PngRgba()); }
void BM_PngRgba_Libpng(benchmark::State& s) { DecodePngBare(s, PngRgba()); }
void BM_PngPalette_Layer(benchmark::State& s) { LoadThroughLayer(s, PngPalette()); }
void BM_PngPalette_Libpng(benchmark::State& s) { DecodePngBare(s, PngPalette()); }
BENCHMARK(BM_PngRgb_Layer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngRgb_Libpng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngRgba_Layer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngRgba_Libpng)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngPalette_Layer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngPalette_Libpng)->Unit(benchmark::kMillisecond);

void BM_Jpeg_Layer(benchmark::State& s) { LoadThroughLayer(s, Jpeg()); }
void BM_Jpeg_Libjpeg(benchmark::State& state) {
  const std::string& file = Jpeg();
  std::vector<uint8_t> pixels(static_cast<size_t>(kPixels) * 3);
  for (auto _ : state) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(file.data()), file.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
      JSAMPROW row = pixels.data() + static_cast<size_t>(info.output_scanline) * kWidth * 3;
      jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.counters["Mpx/s"] = benchmark::Counter(static_cast<double>(kPixels) * state.iterations() / 1e6,
                                               benchmark::Counter::kIsRate);
  state.SetBytesProcessed(static_cast<int64_t>(file.size()) * state.iterations());
}
BENCHMARK(BM_Jpeg_Layer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Jpeg_Libjpeg)->Unit(benchmark::kMillisecond);

void BM_Bmp24_Layer(benchmark::State& s) {
  static const std::string file = [] {
    BmpFileFields fields;
    fields.width = kWidth, fields.height = kHeight, fields.bitCount = 24;
    fields.data = Picture(3);
    return BmpFile(fields);
  }();
  LoadThroughLayer(s, file);
}
BENCHMARK(BM_Bmp24_Layer)->Unit(benchmark::kMillisecond);

void BM_TgaRunLength_Layer(benchmark::State& s) {
  static const std::string file = [] {
    // Runs of 4 to 20 equal pixels, as in flat-shaded game art.
    std::string data;
    const std::string picture = Picture(4);
    int64_t done = 0;
    uint32_t noise = 3;
    while (done < kPixels) {
      noise = noise * 1103515245 + 12345;
      int n = 4 + static_cast<int>(noise >> 28);
      if (n > kPixels - done) n = static_cast<int>(kPixels - done);
      data += TgaRepeatPacket(n, picture.substr(static_cast<size_t>(done) * 4, 4));
      done += n;
    }
    TgaFileFields fields;
    fields.type = 10, fields.width = kWidth, fields.height = kHeight, fields.pixelDepth = 32, fields.descriptor = 0x28;
    fields.data = data;
    return TgaFile(fields);
  }();
  LoadThroughLayer(s, file);
}
BENCHMARK(BM_TgaRunLength_Layer)->Unit(benchmark::kMillisecond);

std::string DxtData(int variant) {
  std::string data;
  uint32_t noise = 11;
  for (int64_t b = 0; b < kPixels / 16; ++b) {
    noise = noise * 1103515245 + 12345;
    const uint16_t c0 = static_cast<uint16_t>(noise >> 8), c1 = static_cast<uint16_t>(noise >> 16);
    if (variant == 5) data += DxtInterpolatedAlpha(static_cast<uint8_t>(noise), static_cast<uint8_t>(noise >> 24), uint64_t{noise} * 0x9E3779B1);
    data += DxtColourBlock(c0, c1, noise * 2654435761u);
  }
  return data;
}

void DecodeDxt(benchmark::State& state, int variant) {
  const std::string blocks = DxtData(variant);
  std::vector<uint8_t> pixels(static_cast<size_t>(kPixels) * 4);
  for (auto _ : state) {
    DecodeDxtBlocks(variant, reinterpret_cast<const uint8_t*>(blocks.data()), kWidth / 4, kHeight / 4, pixels.data(),
                    kWidth * 4);
    benchmark::DoNotOptimize(pixels.data());
  }
  state.counters["Mpx/s"] = benchmark::Counter(static_cast<double>(kPixels) * state.iterations() / 1e6,
                                               benchmark::Counter::kIsRate);
}
void BM_Dxt1_Blocks(benchmark::State& s) { DecodeDxt(s, 1); }
void BM_Dxt5_Blocks(benchmark::State& s) { DecodeDxt(s, 5); }
BENCHMARK(BM_Dxt1_Blocks)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Dxt5_Blocks)->Unit(benchmark::kMillisecond);

void BM_Dxt5_Layer(benchmark::State& s) {
  static const std::string file = [] {
    DdsFileFields fields;
    fields.width = kWidth, fields.height = kHeight, fields.formatFlags = 0x4, fields.fourCc = "DXT5";
    fields.data = DxtData(5);
    return DdsFile(fields);
  }();
  LoadThroughLayer(s, file);
}
BENCHMARK(BM_Dxt5_Layer)->Unit(benchmark::kMillisecond);

// Bytes no reader takes: every reader of the table looks and refuses.
void BM_RefuseForeignBytes(benchmark::State& state) {
  const std::string junk(4096, 'x');
  for (auto _ : state) {
    GraphImage image{};
    benchmark::DoNotOptimize(LoadImageFile(nullptr, junk.data(), static_cast<uint32_t>(junk.size()), 1, 0, &image));
  }
}
BENCHMARK(BM_RefuseForeignBytes)->Unit(benchmark::kMicrosecond);

// A header claiming more than the size cap: refused before anything is made.
void BM_RefuseOversizedPng(benchmark::State& state) {
  PngFixtureFields s;
  s.width = 16384, s.height = 16384, s.colourType = 0, s.bitDepth = 1, s.compressionLevel = 9;
  s.rows.assign(size_t{2048} * 16384, '\0');
  const std::string file = EncodePngFixture(s);
  for (auto _ : state) {
    GraphImage image{};
    benchmark::DoNotOptimize(LoadImageFile(nullptr, file.data(), static_cast<uint32_t>(file.size()), 1, 0, &image));
  }
}
BENCHMARK(BM_RefuseOversizedPng)->Unit(benchmark::kMicrosecond);

// PNG writing of an XRGB screen image, through the layer and through bare
// libpng into a file of the same folder, same level and filters.
GraphImage ScreenImage(std::vector<uint8_t>* storage) {
  GraphImage image{};
  MakeXrgb8ColorFormat(&image.format);
  image.width = kWidth, image.height = kHeight, image.pitch = kWidth * 4;
  const std::string rgba = Picture(4);
  storage->assign(rgba.begin(), rgba.end());
  image.pixels = storage->data();
  return image;
}

void BM_PngWrite_Layer(benchmark::State& state) {
  TestDirectory dir;
  std::vector<uint8_t> storage;
  const GraphImage image = ScreenImage(&storage);
  const std::string path = dir.File("shot.png");
  for (auto _ : state) {
    if (SaveGraphImagePng(path.c_str(), image, 6) != 0) state.SkipWithError("not written");
  }
  state.counters["Mpx/s"] = benchmark::Counter(static_cast<double>(kPixels) * state.iterations() / 1e6,
                                               benchmark::Counter::kIsRate);
}

void BM_PngWrite_Libpng(benchmark::State& state) {
  TestDirectory dir;
  std::vector<uint8_t> storage;
  const GraphImage image = ScreenImage(&storage);
  const std::string path = dir.File("shot.png");
  std::vector<uint8_t> row(kWidth * 3);
  for (auto _ : state) {
    FILE* file = std::fopen(path.c_str(), "wb");
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, file);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_set_compression_level(png, 6);
    png_set_IHDR(png, info, kWidth, kHeight, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < kHeight; ++y) {
      const uint8_t* in = image.pixels + y * image.pitch;
      for (int x = 0; x < kWidth; ++x) row[3 * x] = in[4 * x + 2], row[3 * x + 1] = in[4 * x + 1], row[3 * x + 2] = in[4 * x];
      png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
  }
  state.counters["Mpx/s"] = benchmark::Counter(static_cast<double>(kPixels) * state.iterations() / 1e6,
                                               benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PngWrite_Layer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PngWrite_Libpng)->Unit(benchmark::kMillisecond);

}  // namespace
