// PNG through libpng, fed from the layer's stream. Library errors jump back
// here; whatever was allocated is held in the context so that every path
// frees it.

#include <png.h>

#include <csetjmp>
#include <cstring>

#include "runtime/graphics/imagefile/ImageReaders.h"
#include "runtime/graphics/imagefile/ImageSizeCap.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

struct PngStreamSource {
  ImageStream stream;
  int64_t size;      // bytes from the position at set-up to the end
  int64_t consumed;  // bytes handed to the library so far
};

struct PngReadContext {
  png_structp png = nullptr;
  png_infop info = nullptr;
  uint8_t* pixels = nullptr;
  png_bytep* rows = nullptr;
};

void PngStreamRead(png_structp png, png_bytep data, size_t length) {
  auto* source = static_cast<PngStreamSource*>(png_get_io_ptr(png));
  if (source->size - source->consumed < static_cast<int64_t>(length)) png_error(png, "Read Error");
  if (!ReadExactly(source->stream, data, length)) png_error(png, "Read Error");
  source->consumed += static_cast<int64_t>(length);
}

bool SetPngStreamReader(png_structp png, PngStreamSource* source, const ImageStream& stream) {
  source->stream = stream;
  source->size = BytesToEnd(stream);
  source->consumed = 0;
  if (source->size < 0) return false;
  png_set_read_fn(png, source, PngStreamRead);
  return true;
}

void PngQuietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngQuietWarning(png_structp, png_const_charp) {}

void FreeContext(PngReadContext* c) {
  TrackedFree(c->rows);
  TrackedFree(c->pixels);
  c->rows = nullptr;
  c->pixels = nullptr;
  png_destroy_read_struct(&c->png, c->info ? &c->info : nullptr, nullptr);
}

// Everything between the library's set-up and its last call; a library error
// returns through the jump in ReadPngImage.
int Decode(PngReadContext* c, const ImageStream& stream, PngStreamSource* source, GraphImage* image) {
  png_structp png = c->png;
  png_infop info = c->info;
  if (!SetPngStreamReader(png, source, stream)) return -1;
  png_set_user_limits(png, static_cast<png_uint_32>(kMaxImageSide), static_cast<png_uint_32>(kMaxImageSide));
  png_read_info(png, info);
  const png_uint_32 width = png_get_image_width(png, info);
  const png_uint_32 height = png_get_image_height(png, info);
  const int bitDepth = png_get_bit_depth(png, info);
  const int colourType = png_get_color_type(png, info);
  if (!ImageSizeAllowed(width, height)) return -1;

  png_set_strip_16(png);
  png_set_packing(png);
  png_set_packswap(png);
  const bool expand = ((colourType == PNG_COLOR_TYPE_GRAY && bitDepth <= 8) || png_get_valid(png, info, PNG_INFO_tRNS));
  if (expand) png_set_expand(png);
  png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);

  const size_t rowBytes = png_get_rowbytes(png, info);
  const int channels = png_get_channels(png, info);
  if (rowBytes == 0 || rowBytes > static_cast<size_t>(INT32_MAX) / height) return -1;
  c->pixels = static_cast<uint8_t*>(TrackedAlloc(rowBytes * height, __FILE__, __LINE__));
  c->rows = static_cast<png_bytep*>(TrackedAlloc(sizeof(png_bytep) * height, __FILE__, __LINE__));
  if (c->pixels == nullptr || c->rows == nullptr) return -1;
  for (png_uint_32 y = 0; y < height; ++y) c->rows[y] = c->pixels + rowBytes * y;
  png_read_image(png, c->rows);
  png_read_end(png, nullptr);

  ColorFormat* format = &image->format;
  if (colourType == PNG_COLOR_TYPE_PALETTE && !expand) {
    MakePaletteColorFormat(format);
    std::memset(format->palette, 0, sizeof(format->palette));
    png_colorp palette = nullptr;
    int entries = 0;
    if (png_get_PLTE(png, info, &palette, &entries) != 0) {
      for (int i = 0; i < entries && i < 256; ++i) {
        format->palette[i][0] = palette[i].blue;
        format->palette[i][1] = palette[i].green;
        format->palette[i][2] = palette[i].red;
      }
    }
  } else if (colourType == PNG_COLOR_TYPE_GRAY || colourType == PNG_COLOR_TYPE_GRAY_ALPHA) {
    if (rowBytes / 2 < width) {
      MakeGreyPaletteColorFormat(format);
    } else {
      // Grey and alpha bytes: the grey byte is every colour, the alpha byte is not used.
      MakeColorFormatFromMasks(format, 16, 0x00FF, 0x00FF, 0x00FF, 0);
    }
  } else if (channels == 4) {
    MakeArgb8ColorFormat(format);
  } else {
    MakeRgb24ColorFormat(format);
  }
  image->width = static_cast<int32_t>(width);
  image->height = static_cast<int32_t>(height);
  image->pitch = static_cast<int32_t>(rowBytes);
  image->pixels = c->pixels;
  c->pixels = nullptr;
  return 0;
}

}  // namespace

int ReadPngImage(const ImageStream& stream, GraphImage* image) {
  PngReadContext context;
  PngStreamSource source{};
  context.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, PngQuietError, PngQuietWarning);
  if (context.png == nullptr) return -1;
  context.info = png_create_info_struct(context.png);
  if (context.info == nullptr) {
    FreeContext(&context);
    return -1;
  }
  int result = -1;
  if (setjmp(png_jmpbuf(context.png)) == 0) {
    result = Decode(&context, stream, &source, image);
  }
  if (result != 0) std::memset(image, 0, sizeof(*image));
  FreeContext(&context);
  return result;
}
