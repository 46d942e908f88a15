#include "tests/support/VorbisFixture.h"

#include <vorbis/vorbisenc.h>
#include <vorbis/vorbisfile.h>

#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

void AppendPage(std::string& out, const ogg_page& page) {
  out.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
  out.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
}

struct MemoryFile {
  const std::string* bytes;
  size_t position;
};

size_t MemRead(void* buffer, size_t size, size_t count, void* source) {
  MemoryFile* m = static_cast<MemoryFile*>(source);
  const size_t left = m->bytes->size() - m->position;
  const size_t n = size == 0 ? 0 : std::min(left / size, count);
  std::memcpy(buffer, m->bytes->data() + m->position, n * size);
  m->position += n * size;
  return n;
}
int MemSeek(void* source, ogg_int64_t offset, int whence) {
  MemoryFile* m = static_cast<MemoryFile*>(source);
  const int64_t base = whence == 0 ? 0 : whence == 1 ? static_cast<int64_t>(m->position) : static_cast<int64_t>(m->bytes->size());
  const int64_t target = base + offset;
  if (target < 0 || target > static_cast<int64_t>(m->bytes->size())) return -1;
  m->position = static_cast<size_t>(target);
  return 0;
}
long MemTell(void* source) { return static_cast<long>(static_cast<MemoryFile*>(source)->position); }

}  // namespace

std::string EncodeOggVorbis(const std::vector<int16_t>& samples, int channels, uint32_t rate) {
  vorbis_info vi;
  vorbis_info_init(&vi);
  vorbis_encode_init_vbr(&vi, channels, static_cast<long>(rate), 0.2f);
  vorbis_comment vc;
  vorbis_comment_init(&vc);
  vorbis_dsp_state vd;
  vorbis_block vb;
  vorbis_analysis_init(&vd, &vi);
  vorbis_block_init(&vd, &vb);
  ogg_stream_state os;
  ogg_stream_init(&os, 1234);
  ogg_packet header, comments, codebooks;
  vorbis_analysis_headerout(&vd, &vc, &header, &comments, &codebooks);
  ogg_stream_packetin(&os, &header);
  ogg_stream_packetin(&os, &comments);
  ogg_stream_packetin(&os, &codebooks);
  std::string out;
  ogg_page page;
  while (ogg_stream_flush(&os, &page)) AppendPage(out, page);

  const size_t frames = samples.size() / channels;
  size_t done = 0;
  bool finished = false;
  while (!finished) {
    const size_t n = std::min<size_t>(1024, frames - done);
    if (n == 0) {
      vorbis_analysis_wrote(&vd, 0);
    } else {
      float** buffer = vorbis_analysis_buffer(&vd, static_cast<int>(n));
      for (size_t f = 0; f < n; ++f) {
        for (int c = 0; c < channels; ++c) buffer[c][f] = samples[(done + f) * channels + c] / 32768.0f;
      }
      vorbis_analysis_wrote(&vd, static_cast<int>(n));
      done += n;
    }
    while (vorbis_analysis_blockout(&vd, &vb) == 1) {
      vorbis_analysis(&vb, nullptr);
      vorbis_bitrate_addblock(&vb);
      ogg_packet packet;
      while (vorbis_bitrate_flushpacket(&vd, &packet)) {
        ogg_stream_packetin(&os, &packet);
        while (ogg_stream_pageout(&os, &page)) {
          AppendPage(out, page);
          if (ogg_page_eos(&page)) finished = true;
        }
      }
    }
  }
  ogg_stream_clear(&os);
  vorbis_block_clear(&vb);
  vorbis_dsp_clear(&vd);
  vorbis_comment_clear(&vc);
  vorbis_info_clear(&vi);
  return out;
}

std::vector<int16_t> DecodeOggVorbisReference(const std::string& file) {
  MemoryFile memory{&file, 0};
  OggVorbis_File vf;
  ov_callbacks cb{MemRead, MemSeek, nullptr, MemTell};
  std::vector<int16_t> out;
  if (ov_open_callbacks(&memory, &vf, nullptr, 0, cb) != 0) return out;
  char buffer[4096];
  int section = 0;
  long got;
  while ((got = ov_read(&vf, buffer, sizeof buffer, 0, 2, 1, &section)) != 0) {
    if (got < 0) continue;
    const size_t at = out.size();
    out.resize(at + static_cast<size_t>(got) / 2);
    std::memcpy(out.data() + at, buffer, static_cast<size_t>(got));
  }
  ov_clear(&vf);
  return out;
}
