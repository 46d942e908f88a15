// Ogg Vorbis sources: vorbisfile reads through the decoder's own stream
// operations.

#include "runtime/platform/sound/SoundSources.h"

namespace {

constexpr uint32_t kOggBlockBytes = 4096;
// Damaged packets in a row that are skipped before the data counts as ended.
constexpr int kOggErrorsSkipped = 8;

SoundDecoder* DecoderOf(void* source) { return static_cast<SoundDecoder*>(source); }

size_t OggRead(void* buffer, size_t size, size_t count, void* source) {
  SoundDecoder* d = DecoderOf(source);
  return d->ops.read(buffer, size, count, d->stream);
}
int OggSeek(void* source, int64_t offset, int whence) {
  SoundDecoder* d = DecoderOf(source);
  return d->ops.seek(d->stream, offset, whence);
}
int OggClose(void*) { return 0; }
long OggTell(void* source) {
  SoundDecoder* d = DecoderOf(source);
  return static_cast<long>(d->ops.tell(d->stream));
}

constexpr HostVorbisCallbacks kCallbacks = {OggRead, OggSeek, OggClose, OggTell};

}  // namespace

int OpenOggDecoder(SoundDecoder* d) {
  d->vorbis = HostVorbisOpen(d, kCallbacks);
  if (!d->vorbis) return -1;
  const int channels = HostVorbisChannels(d->vorbis);
  const long rate = HostVorbisRate(d->vorbis);
  const int64_t total = HostVorbisPcmTotal(d->vorbis);
  if (channels < 1 || channels > 8 || rate < 1 || rate > 768000 || total < 0) {
    CloseOggDecoder(d);
    return -1;
  }
  d->type = kSoundSourceOgg;
  d->output = PcmWaveFormat(static_cast<uint16_t>(channels), static_cast<uint32_t>(rate), 16);
  d->dataSize = static_cast<uint64_t>(total) * channels * 2;
  d->blockSize = kOggBlockBytes;
  return 0;
}

int ReadOggBlock(SoundDecoder* d) {
  for (int errors = 0; errors <= kOggErrorsSkipped; ++errors) {
    const long got = HostVorbisRead(d->vorbis, d->block, static_cast<int>(d->blockSize));
    if (got == 0) return -1;
    if (got > 0) {
      d->available = static_cast<uint32_t>(got);
      return 0;
    }
  }
  return -1;
}

bool SeekOggDecoder(SoundDecoder* d, int64_t sample) { return HostVorbisSeekPcm(d->vorbis, sample); }

void CloseOggDecoder(SoundDecoder* d) {
  HostVorbisClose(d->vorbis);
  d->vorbis = nullptr;
}
