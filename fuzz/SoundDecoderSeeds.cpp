// Starting inputs for the sound decoder fuzzer: short files of every kind
// the decoder recognises.

#include <string>
#include <vector>

#include "fuzz/WriteSeed.h"
#include "tests/support/AdpcmEncoder.h"
#include "tests/support/MpegFixture.h"
#include "tests/support/VorbisFixture.h"
#include "tests/support/WaveWriter.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  const std::vector<int16_t> mono = SineSamples(1500, 1, 8000, 440, 12000);
  const std::vector<int16_t> stereo = SineSamples(1200, 2, 11025, 440, 12000);
  const EncodedSound ima = EncodeImaAdpcm(stereo, 2, 11025, 256);
  const EncodedSound ms = EncodeMsAdpcm(mono, 1, 8000, 256);
  const EncodedSound alaw = EncodeG711(mono, 1, 8000, true);
  const std::vector<std::string> seeds = {
      WaveFile(PcmFormatChunk(1, 8000, 16), PcmBytes(mono)),
      BuildRiffWave({{"fmt ", PcmFormatChunk(2, 11025, 8)}, {"LIST", "abc"}, {"data", std::string(600, '\x80')}}),
      WaveFile(ExtensiblePcmFormatChunk(2, 11025, 16), PcmBytes(stereo)),
      WaveFile(ima.fmt, ima.data),
      WaveFile(ms.fmt, ms.data),
      WaveFile(alaw.fmt, alaw.data),
      Id3v2Tag(20, 4, true) + SilentMpegFrames(4, false, 2, 0, true) + Id3v1Tag(),
      EncodeMp3(SineSamples(2304, 1, 16000, 300, 9000), 1, 16000, 16),
      EncodeOggVorbis(SineSamples(2000, 1, 8000, 300, 9000), 1, 8000),
  };
  for (size_t i = 0; i < seeds.size(); ++i) {
    WriteSeed(argv, "seed" + std::to_string(i), seeds[i]);
  }
  return 0;
}
