#pragma once
// What the JPEG reader and writer share of libjpeg: the error manager whose
// error exit jumps back to the caller.

#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>
#include <jerror.h>

struct JpegErrorManager {
  jpeg_error_mgr standard;
  jmp_buf jump;
};

// The standard error manager with a silent message output and JpegErrorExit.
jpeg_error_mgr* SetUpJpegErrors(JpegErrorManager* manager);
[[noreturn]] void JpegErrorExit(j_common_ptr info);
