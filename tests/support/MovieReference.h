#pragma once
// A clip decoded by FFmpeg alone (libavformat and libavcodec in the
// caller's thread, nothing of the layer), for the streaming-movie tests'
// expected frames and the benchmarks' peer rows.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct AVFrame;

// Hands every picture of the clip's first video stream to `picture` in the
// order the decoder gives them, with its time in units of 100 ns from the
// file's start (a picture without a time follows the one before by a
// frame's time), until it returns false or the pictures run out. False when
// FFmpeg cannot open the clip.
bool DecodeMovieClip(const std::string& bytes, const std::function<bool(const AVFrame*, int64_t time)>& picture);

struct ReferencePicture {
  int64_t time;
  int width;
  int height;
  std::vector<uint8_t> bgra;  // rows of width x 4 bytes: B, G, R, 255
};

// Every picture, converted by libswscale's own conversion at its own size.
std::vector<ReferencePicture> DecodeMovieClipPictures(const std::string& bytes);
