#include "runtime/host/sound/VorbisFile.h"

#include <vorbis/vorbisfile.h>

#include <new>

struct HostVorbisFile {
  OggVorbis_File vf;
};

HostVorbisFile* HostVorbisOpen(void* source, const HostVorbisCallbacks& callbacks) {
  HostVorbisFile* f = new (std::nothrow) HostVorbisFile;
  if (!f) return nullptr;
  ov_callbacks cb;
  cb.read_func = callbacks.read;
  cb.seek_func = callbacks.seek;
  cb.close_func = callbacks.close;
  cb.tell_func = callbacks.tell;
  // On failure vorbisfile clears the state itself.
  if (ov_open_callbacks(source, &f->vf, nullptr, 0, cb) != 0) {
    delete f;
    return nullptr;
  }
  return f;
}

void HostVorbisClose(HostVorbisFile* f) {
  if (!f) return;
  ov_clear(&f->vf);
  delete f;
}

int HostVorbisChannels(HostVorbisFile* f) {
  const vorbis_info* info = ov_info(&f->vf, -1);
  return info ? info->channels : 0;
}

long HostVorbisRate(HostVorbisFile* f) {
  const vorbis_info* info = ov_info(&f->vf, -1);
  return info ? info->rate : 0;
}

int64_t HostVorbisPcmTotal(HostVorbisFile* f) {
  const ogg_int64_t total = ov_pcm_total(&f->vf, -1);
  return total < 0 ? -1 : total;
}

long HostVorbisRead(HostVorbisFile* f, void* buffer, int bytes) {
  int section = 0;
  return ov_read(&f->vf, static_cast<char*>(buffer), bytes, 0, 2, 1, &section);
}

bool HostVorbisSeekPcm(HostVorbisFile* f, int64_t frame) { return ov_pcm_seek(&f->vf, frame) == 0; }
