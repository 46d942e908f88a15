#include "tests/support/TheoraReference.h"

#include <ogg/ogg.h>

#include <cstring>

void DecodeTheoraClip(const std::string& bytes, const std::function<bool(int, th_ycbcr_buffer)>& frame) {
  ogg_sync_state sync;
  ogg_sync_init(&sync);
  char* buffer = ogg_sync_buffer(&sync, static_cast<long>(bytes.size()));
  std::memcpy(buffer, bytes.data(), bytes.size());
  ogg_sync_wrote(&sync, static_cast<long>(bytes.size()));
  ogg_stream_state stream;
  ogg_stream_init(&stream, 0x7E0);  // the writer's serial number
  th_info info;
  th_comment comment;
  th_info_init(&info);
  th_comment_init(&comment);
  th_setup_info* setup = nullptr;
  th_dec_ctx* decoder = nullptr;
  int decoded = 0;
  bool more = true;
  ogg_page page;
  ogg_packet packet;
  while (more && ogg_sync_pageout(&sync, &page) > 0) {
    if (ogg_stream_pagein(&stream, &page) != 0) continue;  // another stream's page
    while (more && ogg_stream_packetout(&stream, &packet) > 0) {
      if (th_packet_isheader(&packet)) {
        th_decode_headerin(&info, &comment, &setup, &packet);
        continue;
      }
      if (!decoder) decoder = th_decode_alloc(&info, setup);
      th_decode_packetin(decoder, &packet, nullptr);
      th_ycbcr_buffer planes;
      th_decode_ycbcr_out(decoder, planes);
      more = frame(decoded++, planes);
    }
  }
  if (decoder) th_decode_free(decoder);
  th_setup_free(setup);
  th_comment_clear(&comment);
  th_info_clear(&info);
  ogg_stream_clear(&stream);
  ogg_sync_clear(&sync);
}
