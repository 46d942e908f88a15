// JPEG through libjpeg, fed by our own source manager from the layer's
// stream. Grey files give the grey palette format, colour files 24-bit rows;
// four-component files are refused.

#include <cstring>

#include "runtime/graphics/imagefile/ImageReaders.h"
#include "runtime/graphics/imagefile/ImageSizeCap.h"
#include "runtime/graphics/imagefile/JpegGlue.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

constexpr size_t kSourceBufferSize = 4096;

struct JpegStreamSource {
  jpeg_source_mgr manager;
  JOCTET* buffer;
  boolean startOfFile;
  ImageStream stream;
  int64_t size;      // bytes from the position at set-up to the end
  int64_t consumed;  // bytes read from the stream so far
};

void JpegSourceInit(j_decompress_ptr info) {
  reinterpret_cast<JpegStreamSource*>(info->src)->startOfFile = TRUE;
}

// The end of the data is taken as an end-of-image marker; empty data is an error.
boolean JpegSourceFill(j_decompress_ptr info) {
  auto* source = reinterpret_cast<JpegStreamSource*>(info->src);
  int64_t remaining = source->size - source->consumed;
  if (remaining < 0) remaining = 0;
  size_t n = remaining < static_cast<int64_t>(kSourceBufferSize) ? static_cast<size_t>(remaining) : kSourceBufferSize;
  if (n > 0) n = ReadUpTo(source->stream, source->buffer, n);
  if (n == 0) {
    if (source->startOfFile) ERREXIT(info, JERR_INPUT_EMPTY);
    WARNMS(info, JWRN_JPEG_EOF);
    source->buffer[0] = 0xFF;
    source->buffer[1] = JPEG_EOI;
    source->size = source->consumed;  // nothing more will be read
    n = 2;
  } else {
    source->consumed += static_cast<int64_t>(n);
  }
  source->manager.next_input_byte = source->buffer;
  source->manager.bytes_in_buffer = n;
  source->startOfFile = FALSE;
  return TRUE;
}

void JpegSourceSkip(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  auto* source = reinterpret_cast<JpegStreamSource*>(info->src);
  jpeg_source_mgr* manager = &source->manager;
  while (count > static_cast<long>(manager->bytes_in_buffer)) {
    count -= static_cast<long>(manager->bytes_in_buffer);
    // At the end a skip gives the end marker rather than refilling it for ever.
    const bool atEnd = source->consumed >= source->size;
    JpegSourceFill(info);
    if (atEnd) return;
  }
  manager->next_input_byte += count;
  manager->bytes_in_buffer -= static_cast<size_t>(count);
}

void JpegSourceTerm(j_decompress_ptr) {}

bool SetJpegStreamSource(j_decompress_ptr info, const ImageStream& stream) {
  if (info->src == nullptr) {
    auto* source = static_cast<JpegStreamSource*>(
        (*info->mem->alloc_small)(reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, sizeof(JpegStreamSource)));
    source->buffer = static_cast<JOCTET*>(
        (*info->mem->alloc_small)(reinterpret_cast<j_common_ptr>(info), JPOOL_PERMANENT, kSourceBufferSize));
    info->src = &source->manager;
  }
  auto* source = reinterpret_cast<JpegStreamSource*>(info->src);
  source->manager.init_source = JpegSourceInit;
  source->manager.fill_input_buffer = JpegSourceFill;
  source->manager.skip_input_data = JpegSourceSkip;
  source->manager.resync_to_restart = jpeg_resync_to_restart;
  source->manager.term_source = JpegSourceTerm;
  source->manager.bytes_in_buffer = 0;
  source->manager.next_input_byte = nullptr;
  source->stream = stream;
  source->consumed = 0;
  source->size = BytesToEnd(stream);
  return source->size >= 0;
}

// Every scan of a progressive file walks the whole image, and an empty scan
// costs the file a few bytes: past this many the file is refused.
constexpr int kMaxProgressiveScans = 500;

void LimitScans(j_common_ptr common) {
  auto* info = reinterpret_cast<j_decompress_ptr>(common);
  if (info->progressive_mode && info->input_scan_number > kMaxProgressiveScans) {
    ERREXIT1(info, JERR_BAD_SCAN_SCRIPT, info->input_scan_number);
  }
}

struct JpegReadContext {
  jpeg_decompress_struct info;
  JpegErrorManager errors;
  jpeg_progress_mgr progress;
  uint8_t* pixels = nullptr;
};

int Decode(JpegReadContext* c, const ImageStream& stream, GraphImage* image) {
  j_decompress_ptr info = &c->info;
  if (!SetJpegStreamSource(info, stream)) return -1;
  c->progress.progress_monitor = LimitScans;
  info->progress = &c->progress;
  jpeg_read_header(info, TRUE);
  if (!ImageSizeAllowed(info->image_width, info->image_height)) return -1;
  if (info->out_color_space == JCS_RGB) {
    info->out_color_space = JCS_EXT_BGR;  // stored blue, green, red
  } else if (info->out_color_space != JCS_GRAYSCALE) {
    return -1;
  }
  jpeg_start_decompress(info);
  const int components = info->output_components;
  if (components != 1 && components != 3) return -1;
  const int64_t stride = int64_t{info->output_width} * components;
  const int64_t height = info->output_height;
  c->pixels = static_cast<uint8_t*>(TrackedAlloc(static_cast<size_t>(stride * height), __FILE__, __LINE__));
  if (c->pixels == nullptr) return -1;
  while (info->output_scanline < info->output_height) {
    JSAMPROW rows[4];
    const int64_t y = info->output_scanline;
    int n = 0;
    for (; n < 4 && y + n < height; ++n) rows[n] = c->pixels + (y + n) * stride;
    if (jpeg_read_scanlines(info, rows, static_cast<JDIMENSION>(n)) == 0) return -1;
  }
  jpeg_finish_decompress(info);
  if (components == 1) {
    MakeGreyPaletteColorFormat(&image->format);
  } else {
    MakeRgb24ColorFormat(&image->format);
  }
  image->width = static_cast<int32_t>(info->output_width);
  image->height = static_cast<int32_t>(height);
  image->pitch = static_cast<int32_t>(stride);
  image->pixels = c->pixels;
  c->pixels = nullptr;
  return 0;
}

}  // namespace

int ReadJpegImage(const ImageStream& stream, GraphImage* image) {
  auto* context = new JpegReadContext();
  context->info.err = SetUpJpegErrors(&context->errors);
  int result = -1;
  if (setjmp(context->errors.jump) == 0) {
    jpeg_create_decompress(&context->info);
    result = Decode(context, stream, image);
  }
  if (result != 0) std::memset(image, 0, sizeof(*image));
  TrackedFree(context->pixels);
  jpeg_destroy_decompress(&context->info);
  delete context;
  return result;
}
