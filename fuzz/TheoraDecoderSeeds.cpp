// Starting inputs for the movie fuzzer: small clips, with and without a
// sound stream beside, and one without frames.

#include "fuzz/WriteSeed.h"
#include "tests/support/TheoraWriter.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  TheoraClip clip;
  clip.width = 32;
  clip.height = 32;
  clip.frames = 6;
  clip.keyInterval = 3;
  clip.framesPerPage = 2;
  WriteSeed(argv, "clip.ogv", WriteTheoraClip(clip));
  clip.withVorbis = true;
  WriteSeed(argv, "clip-with-sound.ogv", WriteTheoraClip(clip));
  clip.withVorbis = false;
  clip.frames = 0;
  WriteSeed(argv, "headers-only.ogv", WriteTheoraClip(clip));
  return 0;
}
