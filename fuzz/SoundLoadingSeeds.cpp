// Starting inputs for the sound loading fuzzer: short WAV, Ogg and MP3 files
// in each load mode, alone and with further sources and a loop start.

#include <string>
#include <vector>

#include "fuzz/SoundLoadingInput.h"
#include "fuzz/WriteSeed.h"
#include "tests/support/AdpcmEncoder.h"
#include "tests/support/MpegFixture.h"
#include "tests/support/VorbisFixture.h"
#include "tests/support/WaveWriter.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  const std::vector<int16_t> stereo = SineSamples(4410, 2, 44100, 440, 12000);
  const std::string wave = WaveFile(PcmFormatChunk(2, 44100, 16), PcmBytes(stereo));
  const EncodedSound ima = EncodeImaAdpcm(stereo, 2, 44100, 256);
  const std::string adpcm = WaveFile(ima.fmt, ima.data);
  const std::string ogg = EncodeOggVorbis(SineSamples(4410, 2, 44100, 300, 9000), 2, 44100);
  const std::string mp3 = EncodeMp3(SineSamples(4608, 2, 44100, 300, 9000), 2, 44100, 64);
  const std::vector<std::string> files = {wave, adpcm, ogg, mp3};
  int n = 0;
  for (int mode = 0; mode < 4; ++mode) {
    for (const std::string& file : files) {
      const uint8_t flags = static_cast<uint8_t>(mode == 0 ? 0 : 2 | 4 | 8 | (n & 1));
      const std::string head = SoundLoadingHead(mode, flags, 50, static_cast<uint32_t>(file.size()),
                                                static_cast<uint32_t>(wave.size()));
      WriteSeed(argv, "seed" + std::to_string(n++), head + file + wave + wave);
    }
  }
  return 0;
}
