// JPEG through libjpeg with our own destination manager into a replacing
// file. Library errors jump back here through the error manager.

#include "runtime/graphics/imagefile/ImageWriters.h"
#include "runtime/graphics/imagefile/JpegGlue.h"
#include "runtime/graphics/imagefile/RgbRows.h"
#include "runtime/host/files/ReplacingFile.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

constexpr size_t kDestinationBufferSize = 4096;

struct JpegFileDestination {
  jpeg_destination_mgr manager;
  ReplacingFile* file;
  JOCTET buffer[kDestinationBufferSize];
};

void DestinationInit(j_compress_ptr info) {
  auto* d = reinterpret_cast<JpegFileDestination*>(info->dest);
  d->manager.next_output_byte = d->buffer;
  d->manager.free_in_buffer = kDestinationBufferSize;
}

boolean DestinationEmpty(j_compress_ptr info) {
  auto* d = reinterpret_cast<JpegFileDestination*>(info->dest);
  if (!WriteReplacingFile(d->file, d->buffer, kDestinationBufferSize)) ERREXIT(info, JERR_FILE_WRITE);
  d->manager.next_output_byte = d->buffer;
  d->manager.free_in_buffer = kDestinationBufferSize;
  return TRUE;
}

void DestinationTerm(j_compress_ptr info) {
  auto* d = reinterpret_cast<JpegFileDestination*>(info->dest);
  const size_t used = kDestinationBufferSize - d->manager.free_in_buffer;
  if (!WriteReplacingFile(d->file, d->buffer, used)) ERREXIT(info, JERR_FILE_WRITE);
}

struct JpegWriteContext {
  jpeg_compress_struct info;
  JpegErrorManager errors;
  JpegFileDestination destination;
  uint8_t* row = nullptr;
};

void Encode(JpegWriteContext* c, const GraphImage& image, int quality) {
  j_compress_ptr info = &c->info;
  c->destination.manager.init_destination = DestinationInit;
  c->destination.manager.empty_output_buffer = DestinationEmpty;
  c->destination.manager.term_destination = DestinationTerm;
  info->dest = &c->destination.manager;
  info->image_width = static_cast<JDIMENSION>(image.width);
  info->image_height = static_cast<JDIMENSION>(image.height);
  info->input_components = 3;
  info->in_color_space = JCS_RGB;
  jpeg_set_defaults(info);
  jpeg_set_quality(info, quality, TRUE);
  jpeg_start_compress(info, TRUE);
  c->row = static_cast<uint8_t*>(TrackedAlloc(static_cast<size_t>(image.width) * 3, __FILE__, __LINE__));
  if (c->row == nullptr) ERREXIT(info, JERR_OUT_OF_MEMORY);
  while (info->next_scanline < info->image_height) {
    BuildRgbRow(image, static_cast<int>(info->next_scanline), c->row);
    JSAMPROW rows[1] = {c->row};
    jpeg_write_scanlines(info, rows, 1);
  }
  jpeg_finish_compress(info);
}

}  // namespace

int SaveGraphImageJpeg(const char* fileName, const GraphImage& image, int quality) {
  if (image.width <= 0 || image.height <= 0 || image.width > 65500 || image.height > 65500 || image.pixels == nullptr) {
    return -1;
  }
  auto* context = new JpegWriteContext();
  context->destination.file = OpenReplacingFile(fileName);
  if (context->destination.file == nullptr) {
    delete context;
    return -1;
  }
  context->info.err = SetUpJpegErrors(&context->errors);
  bool encoded = false;
  if (setjmp(context->errors.jump) == 0) {
    jpeg_create_compress(&context->info);
    Encode(context, image, quality);
    encoded = true;
  }
  jpeg_destroy_compress(&context->info);
  TrackedFree(context->row);
  ReplacingFile* file = context->destination.file;
  delete context;
  if (!encoded) {
    DiscardReplacingFile(file);
    return -1;
  }
  return CommitReplacingFile(file);
}
