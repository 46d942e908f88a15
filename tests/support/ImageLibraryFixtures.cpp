#include "tests/support/ImageLibraryFixtures.h"

#include <png.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

void AppendToString(png_structp png, png_bytep data, size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}
void NoFlush(png_structp) {}

struct ReadCursor {
  const std::string* bytes;
  size_t at;
};

void ReadFromString(png_structp png, png_bytep data, size_t length) {
  auto* c = static_cast<ReadCursor*>(png_get_io_ptr(png));
  if (c->at + length > c->bytes->size()) png_error(png, "short");
  std::memcpy(data, c->bytes->data() + c->at, length);
  c->at += length;
}

}  // namespace

std::string EncodePngFixture(const PngFixtureFields& fields) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("png fixture");
  }
  png_set_write_fn(png, &out, AppendToString, NoFlush);
  png_set_compression_level(png, fields.compressionLevel);
  png_set_IHDR(png, info, fields.width, fields.height, fields.bitDepth, fields.colourType,
               fields.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (const uint32_t c : fields.palette) {
    palette.push_back({static_cast<png_byte>(c >> 16), static_cast<png_byte>(c >> 8), static_cast<png_byte>(c)});
  }
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  png_color_16 grey{};
  if (!fields.paletteAlpha.empty()) {
    png_set_tRNS(png, info, fields.paletteAlpha.data(), static_cast<int>(fields.paletteAlpha.size()), nullptr);
  } else if (fields.greyTransparent >= 0) {
    grey.gray = static_cast<png_uint_16>(fields.greyTransparent);
    png_set_tRNS(png, info, nullptr, 0, &grey);
  }
  png_write_info(png, info);
  const size_t rowBytes = fields.rows.size() / fields.height;
  const int passes = png_set_interlace_handling(png);
  for (int pass = 0; pass < passes; ++pass) {
    for (uint32_t y = 0; y < fields.height; ++y) {
      png_write_row(png, reinterpret_cast<png_const_bytep>(fields.rows.data() + rowBytes * y));
    }
  }
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return out;
}

std::string DecodePngWithLibrary(const std::string& file, bool* hasAlpha) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  std::string out;
  std::vector<png_bytep> rows;
  ReadCursor cursor{&file, 0};
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return std::string();
  }
  png_set_read_fn(png, &cursor, ReadFromString);
  png_read_info(png, info);
  png_set_expand(png);
  png_set_strip_16(png);
  png_set_gray_to_rgb(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  const size_t rowBytes = png_get_rowbytes(png, info);
  const uint32_t height = png_get_image_height(png, info);
  if (hasAlpha) *hasAlpha = png_get_channels(png, info) == 4;
  out.resize(rowBytes * height);
  for (uint32_t y = 0; y < height; ++y) rows.push_back(reinterpret_cast<png_bytep>(out.data() + rowBytes * y));
  png_read_image(png, rows.data());
  png_read_end(png, nullptr);
  png_destroy_read_struct(&png, &info, nullptr);
  return out;
}

namespace {

struct FixtureErrors {
  jpeg_error_mgr standard;
  jmp_buf jump;
};

void FixtureErrorExit(j_common_ptr info) { longjmp(reinterpret_cast<FixtureErrors*>(info->err)->jump, 1); }

}  // namespace

std::string EncodeJpegFixture(uint32_t width, uint32_t height, int components, const std::string& pixels, int quality,
                              bool progressive) {
  jpeg_compress_struct info;
  FixtureErrors errors;
  info.err = jpeg_std_error(&errors.standard);
  errors.standard.error_exit = FixtureErrorExit;
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  if (setjmp(errors.jump)) {
    jpeg_destroy_compress(&info);
    std::free(buffer);
    throw std::runtime_error("jpeg fixture");
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &buffer, &size);
  info.image_width = width;
  info.image_height = height;
  info.input_components = components;
  info.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 3 ? JCS_RGB : JCS_CMYK;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality, TRUE);
  if (progressive) jpeg_simple_progression(&info);
  jpeg_start_compress(&info, TRUE);
  const size_t stride = static_cast<size_t>(width) * components;
  while (info.next_scanline < height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(const_cast<char*>(pixels.data() + stride * info.next_scanline));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  std::free(buffer);
  return out;
}

std::string DecodeJpegWithLibrary(const std::string& file, int* components) {
  jpeg_decompress_struct info;
  FixtureErrors errors;
  info.err = jpeg_std_error(&errors.standard);
  errors.standard.error_exit = FixtureErrorExit;
  std::string out;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return std::string();
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(file.data()), file.size());
  jpeg_read_header(&info, TRUE);
  jpeg_start_decompress(&info);
  const size_t stride = static_cast<size_t>(info.output_width) * info.output_components;
  if (components) *components = info.output_components;
  out.resize(stride * info.output_height);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = reinterpret_cast<JSAMPROW>(out.data() + stride * info.output_scanline);
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  return out;
}
