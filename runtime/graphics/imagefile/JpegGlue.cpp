#include "runtime/graphics/imagefile/JpegGlue.h"

namespace {

// Messages of damaged files would only clutter the output of a game.
void SilentOutput(j_common_ptr) {}

}  // namespace

jpeg_error_mgr* SetUpJpegErrors(JpegErrorManager* manager) {
  jpeg_std_error(&manager->standard);
  manager->standard.error_exit = JpegErrorExit;
  manager->standard.output_message = SilentOutput;
  return &manager->standard;
}

void JpegErrorExit(j_common_ptr info) {
  (*info->err->output_message)(info);
  longjmp(reinterpret_cast<JpegErrorManager*>(info->err)->jump, 1);
}
