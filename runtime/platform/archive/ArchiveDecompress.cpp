#include "runtime/platform/archive/ArchiveDecompress.h"

#include <cstring>

#include "runtime/platform/archive/ArchiveFormat.h"

namespace {

// Walks the code once. With a destination the bytes are written; without
// one only the positions are followed, so that the code is checked in time
// linear in its own length, whatever it expands to.
int64_t WalkCode(const uint8_t* source, size_t sourceSize, uint8_t* destination, size_t destinationSize) {
  if (sourceSize < kArchiveCodeHeadSize) return -1;
  const size_t outSize = ReadLe32(source);
  const size_t packedSize = ReadLe32(source + 4);
  const uint8_t escape = source[8];
  if (packedSize < kArchiveCodeHeadSize || packedSize > sourceSize || outSize > destinationSize) return -1;

  const uint8_t* in = source + kArchiveCodeHeadSize;
  const uint8_t* const inEnd = source + packedSize;
  size_t out = 0;
  while (in < inEnd) {
    // A run of literals up to the next escape byte.
    const uint8_t* stop = static_cast<const uint8_t*>(std::memchr(in, escape, static_cast<size_t>(inEnd - in)));
    if (!stop) stop = inEnd;
    const size_t run = static_cast<size_t>(stop - in);
    if (run > outSize - out) return -1;
    if (destination && run > 0) std::memcpy(destination + out, in, run);
    out += run;
    in = stop;
    if (in == inEnd) break;

    ++in;  // the escape byte
    if (in == inEnd) return -1;
    uint32_t code = *in++;
    if (code == escape) {
      if (out == outSize) return -1;
      if (destination) destination[out] = escape;
      ++out;
      continue;
    }
    if (code > escape) --code;
    size_t length = code >> 3;
    if (code & 4) {
      if (in == inEnd) return -1;
      length += static_cast<size_t>(*in++) << 5;
    }
    length += 4;
    const uint32_t distanceBytes = (code & 3) + 1;
    if (distanceBytes == 4 || static_cast<size_t>(inEnd - in) < distanceBytes) return -1;
    size_t distance = in[0];
    if (distanceBytes >= 2) distance |= static_cast<size_t>(in[1]) << 8;
    if (distanceBytes == 3) distance |= static_cast<size_t>(in[2]) << 16;
    in += distanceBytes;
    distance += 1;

    if (distance > out || length > outSize - out) return -1;
    if (destination) {
      uint8_t* to = destination + out;
      const uint8_t* from = to - distance;
      if (distance >= length) {
        std::memcpy(to, from, length);
      } else if (distance == 1) {
        std::memset(to, *from, length);
      } else {
        // The match overlaps its own output: byte by byte.
        for (size_t i = 0; i < length; ++i) to[i] = from[i];
      }
    }
    out += length;
  }
  if (out != outSize) return -1;
  return static_cast<int64_t>(outSize);
}

}  // namespace

int64_t ArchiveUncompressedSize(const uint8_t* source, size_t sourceSize) {
  if (sourceSize < kArchiveCodeHeadSize) return -1;
  return ReadLe32(source);
}

int64_t DecompressArchiveData(const uint8_t* source, size_t sourceSize, uint8_t* destination,
                              size_t destinationSize) {
  return WalkCode(source, sourceSize, destination, destinationSize);
}

int64_t CheckArchiveCode(const uint8_t* source, size_t sourceSize) {
  return WalkCode(source, sourceSize, nullptr, SIZE_MAX);
}
