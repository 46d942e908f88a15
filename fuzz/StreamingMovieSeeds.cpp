// Starting inputs for the streaming-movie fuzzer: small clips in the
// formats games ship, with and without sound.

#include "fuzz/WriteSeed.h"
#include "tests/support/MovieClipWriter.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  const struct {
    const char* name;
    const char* container;
    const char* video;
    const char* audio;
  } kinds[] = {
      {"clip.mpg", "mpeg", "mpeg1video", "mp2"},
      {"clip.avi", "avi", "mpeg4", "mp2"},
      {"clip.wmv", "asf", "wmv2", "wmav2"},
      {"clip.mp4", "mp4", "mpeg4", "aac"},
      {"pictures-only.avi", "avi", "mpeg4", nullptr},
      {"sound-only.mpg", "mpeg", nullptr, "mp2"},
  };
  for (const auto& kind : kinds) {
    MovieClip clip;
    clip.container = kind.container;
    clip.videoCodec = kind.video;
    clip.audioCodec = kind.audio;
    clip.width = 32;
    clip.height = 32;
    clip.frames = 6;
    clip.keyInterval = 3;
    clip.soundSeconds = 0.25;
    const std::string bytes = WriteMovieClip(clip);
    if (!bytes.empty()) WriteSeed(argv, kind.name, bytes);
  }
  return 0;
}
