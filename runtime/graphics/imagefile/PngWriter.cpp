// PNG through libpng into a replacing file. Library errors jump back here;
// the row and the temporary file are held in the context so that every path
// frees them.

#include <png.h>

#include <csetjmp>

#include "runtime/graphics/imagefile/ImageWriters.h"
#include "runtime/graphics/imagefile/RgbRows.h"
#include "runtime/host/files/ReplacingFile.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

struct PngWriteContext {
  png_structp png = nullptr;
  png_infop info = nullptr;
  ReplacingFile* file = nullptr;
  uint8_t* row = nullptr;
};

void PngFileWrite(png_structp png, png_bytep data, size_t length) {
  auto* file = static_cast<ReplacingFile*>(png_get_io_ptr(png));
  if (!WriteReplacingFile(file, data, length)) png_error(png, "Write Error");
}
void PngFileFlush(png_structp) {}
void PngQuietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void PngQuietWarning(png_structp, png_const_charp) {}

void Encode(PngWriteContext* c, const GraphImage& image, int compressionLevel) {
  png_set_write_fn(c->png, c->file, PngFileWrite, PngFileFlush);
  png_set_filter(c->png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
  png_set_compression_level(c->png, compressionLevel);
  png_set_IHDR(c->png, c->info, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height), 8,
               PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(c->png, c->info);
  c->row = static_cast<uint8_t*>(TrackedAlloc(static_cast<size_t>(image.width) * 3, __FILE__, __LINE__));
  if (c->row == nullptr) png_error(c->png, "Out of memory");
  for (int y = 0; y < image.height; ++y) {
    BuildRgbRow(image, y, c->row);
    png_write_row(c->png, c->row);
  }
  png_write_end(c->png, c->info);
}

}  // namespace

int SaveGraphImagePng(const char* fileName, const GraphImage& image, int compressionLevel) {
  if (image.width <= 0 || image.height <= 0 || image.pixels == nullptr) return -1;
  PngWriteContext context;
  context.file = OpenReplacingFile(fileName);
  if (context.file == nullptr) return -1;
  context.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, PngQuietError, PngQuietWarning);
  if (context.png != nullptr) context.info = png_create_info_struct(context.png);
  bool encoded = false;
  if (context.info != nullptr && setjmp(png_jmpbuf(context.png)) == 0) {
    Encode(&context, image, compressionLevel);
    encoded = true;
  }
  png_destroy_write_struct(&context.png, context.info ? &context.info : nullptr);
  TrackedFree(context.row);
  if (!encoded) {
    DiscardReplacingFile(context.file);
    return -1;
  }
  return CommitReplacingFile(context.file);
}
