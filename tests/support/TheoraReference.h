#pragma once
// A clip decoded by libtheora alone, for the movie tests' expected frames
// and the benchmark's peer row.

#include <theora/theoradec.h>

#include <functional>
#include <string>

// Decodes the video packets of the Theora stream written by WriteTheoraClip
// in order, handing each frame's planes to `frame` (frame number from 0)
// until it returns false or the packets run out.
void DecodeTheoraClip(const std::string& bytes, const std::function<bool(int, th_ycbcr_buffer)>& frame);
