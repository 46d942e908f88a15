#include "runtime/platform/sound/MpegAudioFrames.h"

namespace {

// kbit/s by bit-rate index: MPEG-1 layers I, II, III; MPEG-2 layer I; MPEG-2 layers II and III.
constexpr int kBitRates[5][15] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},
};
constexpr int kSampleRates[2][3] = {{22050, 24000, 16000}, {44100, 48000, 32000}};

}  // namespace

int ParseMpegFrameHeader(const unsigned char b[4], MpegFrameHeader* h) {
  if (b[0] != 0xFF || b[1] < 0xF0) return -2;
  h->mpeg1 = (b[1] >> 3) & 1;
  const int layerBits = (b[1] >> 1) & 3;
  if (layerBits == 0) return -1;
  h->layer = 4 - layerBits;
  const int rateIndex = b[2] >> 4;
  if (rateIndex == 15) return -1;
  const int table = h->mpeg1 ? h->layer - 1 : (h->layer == 1 ? 3 : 4);
  h->bitRateKbps = kBitRates[table][rateIndex];
  const int sampleIndex = (b[2] >> 2) & 3;
  if (sampleIndex == 3) return -1;
  h->sampleRate = kSampleRates[h->mpeg1][sampleIndex];
  h->padding = (b[2] >> 1) & 1;
  h->channels = (b[3] >> 6) == 3 ? 1 : 2;
  // Each layer's own frame length, so that layer I and II files walk right.
  if (h->layer == 1) {
    h->frameBytes = (12000 * h->bitRateKbps / h->sampleRate + h->padding) * 4;
    h->samples = 384;
  } else if (h->layer == 2 || h->mpeg1) {
    h->frameBytes = 144000 * h->bitRateKbps / h->sampleRate + h->padding;
    h->samples = 1152;
  } else {
    h->frameBytes = 72000 * h->bitRateKbps / h->sampleRate + h->padding;
    h->samples = 576;
  }
  // A free-format frame has no length of its own: the walk could not move on.
  if (h->frameBytes < 4) return -1;
  return 0;
}
