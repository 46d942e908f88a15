#include "tests/support/TheoraWriter.h"

#include <ogg/ogg.h>
#include <theora/theoraenc.h>
#include <vorbis/vorbisenc.h>

#include <cstring>
#include <stdexcept>
#include <vector>

uint8_t TheoraClipLuma(int frame, int x, int y) { return static_cast<uint8_t>(16 + (x * 3 + y * 2 + frame * 17) % 220); }
uint8_t TheoraClipCb(int frame, int x, int y) { return static_cast<uint8_t>(40 + (x * 5 + frame * 23) % 180); }
uint8_t TheoraClipCr(int frame, int x, int y) { return static_cast<uint8_t>(40 + (y * 7 + frame * 11) % 180); }

namespace {

void AppendPage(std::string& out, const ogg_page& page) {
  out.append(reinterpret_cast<const char*>(page.header), static_cast<size_t>(page.header_len));
  out.append(reinterpret_cast<const char*>(page.body), static_cast<size_t>(page.body_len));
}

void Flush(std::string& out, ogg_stream_state& stream) {
  ogg_page page;
  while (ogg_stream_flush(&stream, &page) > 0) AppendPage(out, page);
}

void PageOut(std::string& out, ogg_stream_state& stream) {
  ogg_page page;
  while (ogg_stream_pageout(&stream, &page) > 0) AppendPage(out, page);
}

struct VorbisStream {
  vorbis_info info;
  vorbis_comment comment;
  vorbis_dsp_state dsp;
  vorbis_block block;
  ogg_stream_state stream;

  VorbisStream() {
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, 22050, 0.1f) != 0) throw std::runtime_error("vorbis encoder");
    vorbis_comment_init(&comment);
    vorbis_analysis_init(&dsp, &info);
    vorbis_block_init(&dsp, &block);
    ogg_stream_init(&stream, 0x5A5A);
  }
  ~VorbisStream() {
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
  }

  void Headers(std::string& bosPages, std::string& headerPages) {
    ogg_packet id, comments, code;
    vorbis_analysis_headerout(&dsp, &comment, &id, &comments, &code);
    ogg_stream_packetin(&stream, &id);
    Flush(bosPages, stream);
    ogg_stream_packetin(&stream, &comments);
    ogg_stream_packetin(&stream, &code);
    Flush(headerPages, stream);
  }

  void Silence(std::string& out) {
    float** buffer = vorbis_analysis_buffer(&dsp, 2205);
    std::memset(buffer[0], 0, sizeof(float) * 2205);
    vorbis_analysis_wrote(&dsp, 2205);
    vorbis_analysis_wrote(&dsp, 0);
    ogg_packet packet;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
      vorbis_analysis(&block, nullptr);
      vorbis_bitrate_addblock(&block);
      while (vorbis_bitrate_flushpacket(&dsp, &packet)) ogg_stream_packetin(&stream, &packet);
    }
    Flush(out, stream);
  }
};

}  // namespace

std::string WriteTheoraClip(const TheoraClip& clip) {
  std::string bos, headers, data;
  std::vector<VorbisStream*> vorbis;
  if (clip.withVorbis || !clip.withTheora) vorbis.push_back(new VorbisStream);

  th_enc_ctx* encoder = nullptr;
  ogg_stream_state video;
  if (clip.withTheora) {
    th_info info;
    th_info_init(&info);
    info.frame_width = static_cast<ogg_uint32_t>((clip.width + 15) & ~15);
    info.frame_height = static_cast<ogg_uint32_t>((clip.height + 15) & ~15);
    info.pic_width = static_cast<ogg_uint32_t>(clip.width);
    info.pic_height = static_cast<ogg_uint32_t>(clip.height);
    info.pic_x = 0;
    info.pic_y = 0;
    info.fps_numerator = static_cast<ogg_uint32_t>(clip.fpsNumerator);
    info.fps_denominator = static_cast<ogg_uint32_t>(clip.fpsDenominator);
    info.aspect_numerator = 1;
    info.aspect_denominator = 1;
    info.colorspace = TH_CS_UNSPECIFIED;
    info.pixel_fmt = TH_PF_420;
    info.quality = clip.quality;
    info.keyframe_granule_shift = 6;
    encoder = th_encode_alloc(&info);
    th_info_clear(&info);
    if (!encoder) throw std::runtime_error("theora encoder");
    ogg_uint32_t interval = static_cast<ogg_uint32_t>(clip.keyInterval);
    th_encode_ctl(encoder, TH_ENCCTL_SET_KEYFRAME_FREQUENCY_FORCE, &interval, sizeof interval);

    ogg_stream_init(&video, 0x7E0);
    th_comment comment;
    th_comment_init(&comment);
    ogg_packet packet;
    bool first = true;
    while (th_encode_flushheader(encoder, &comment, &packet) > 0) {
      ogg_stream_packetin(&video, &packet);
      if (first) Flush(bos, video);
      first = false;
    }
    Flush(headers, video);
    th_comment_clear(&comment);
  }
  for (VorbisStream* v : vorbis) v->Headers(bos, headers);

  if (clip.withTheora) {
    const int codedWidth = (clip.width + 15) & ~15;
    const int codedHeight = (clip.height + 15) & ~15;
    std::vector<uint8_t> y(static_cast<size_t>(codedWidth * codedHeight));
    std::vector<uint8_t> cb(y.size() / 4), cr(y.size() / 4);
    for (int frame = 0; frame < clip.frames; ++frame) {
      for (int row = 0; row < codedHeight; ++row) {
        for (int x = 0; x < codedWidth; ++x) y[static_cast<size_t>(row * codedWidth + x)] = TheoraClipLuma(frame, x, row);
      }
      for (int row = 0; row < codedHeight / 2; ++row) {
        for (int x = 0; x < codedWidth / 2; ++x) {
          cb[static_cast<size_t>(row * codedWidth / 2 + x)] = TheoraClipCb(frame, x, row);
          cr[static_cast<size_t>(row * codedWidth / 2 + x)] = TheoraClipCr(frame, x, row);
        }
      }
      th_ycbcr_buffer planes;
      planes[0] = {codedWidth, codedHeight, codedWidth, y.data()};
      planes[1] = {codedWidth / 2, codedHeight / 2, codedWidth / 2, cb.data()};
      planes[2] = {codedWidth / 2, codedHeight / 2, codedWidth / 2, cr.data()};
      if (th_encode_ycbcr_in(encoder, planes) != 0) throw std::runtime_error("theora frame");
      ogg_packet packet;
      while (th_encode_packetout(encoder, frame + 1 == clip.frames, &packet) > 0) {
        ogg_stream_packetin(&video, &packet);
        if (clip.framesPerPage > 0 && (frame + 1) % clip.framesPerPage == 0) Flush(data, video);
        else PageOut(data, video);
      }
    }
    Flush(data, video);
    ogg_stream_clear(&video);
    th_encode_free(encoder);
  }
  for (VorbisStream* v : vorbis) {
    v->Silence(data);
    delete v;
  }
  return bos + headers + data;
}
