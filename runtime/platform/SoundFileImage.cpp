#include "runtime/platform/SoundFileImage.h"

#include <cstring>

#include "runtime/host/WaveFormat.h"
#include "runtime/platform/FileAccessTable.h"
#include "runtime/platform/Log.h"
#include "runtime/platform/TrackedAlloc.h"

namespace {

// Reads a stream of the given size whole; null when memory runs out.
unsigned char* ReadAll(const StreamOps& ops, StreamHandle stream, int64_t size, uint32_t* got) {
  unsigned char* image = static_cast<unsigned char*>(TrackedAlloc(size > 0 ? static_cast<size_t>(size) : 1, __FILE__, __LINE__));
  if (!image) return nullptr;
  ops.seek(stream, 0, 0);
  *got = size > 0 ? static_cast<uint32_t>(ops.read(image, 1, static_cast<size_t>(size), stream)) : 0;
  return image;
}

int64_t StreamSize(const StreamOps& ops, StreamHandle stream) {
  ops.seek(stream, 0, 2);
  const int64_t size = ops.tell(stream);
  ops.seek(stream, 0, 0);
  return size;
}

}  // namespace

int ReadWholeFile(const char* name, unsigned char** image, uint32_t* size) {
  const FileHandle file = FileOpenVia(name, 0, 1, 0);
  if (!file) return LogFormat("右記のファイルのオープンに失敗しました：%s", name);
  const StreamOps& ops = *GetFileStreamOps();
  const int64_t length = StreamSize(ops, file);
  unsigned char* bytes = length >= 0 && length < UINT32_MAX ? ReadAll(ops, file, length, size) : nullptr;
  FileCloseRead(file);
  if (!bytes) return LogFormat("右記のファイルのロードに必要なメモリの確保に失敗しました：%s", name);
  *image = bytes;
  return 0;
}

int ReadWholeStream(const StreamOps* ops, StreamHandle stream, unsigned char** image, uint32_t* size) {
  const int64_t length = StreamSize(*ops, stream);
  unsigned char* bytes = length >= 0 && length < UINT32_MAX ? ReadAll(*ops, stream, length, size) : nullptr;
  if (!bytes) return LogFormat("ストリームの読み込みに必要なメモリの確保に失敗しました");
  *image = bytes;
  return 0;
}

unsigned char* BuildWaveImage(const WaveFormat& format, const unsigned char* pcm, uint32_t pcmSize,
                              uint32_t* imageSize) {
  const uint64_t total = uint64_t{pcmSize} + kWaveFormatBytes + 28;
  if (total > UINT32_MAX) return nullptr;
  unsigned char* image = static_cast<unsigned char*>(TrackedAlloc(static_cast<size_t>(total), __FILE__, __LINE__));
  if (!image) return nullptr;
  unsigned char* p = image;
  std::memcpy(p, "RIFF", 4);
  WriteLe32(p + 4, static_cast<uint32_t>(total - 8));
  std::memcpy(p + 8, "WAVEfmt ", 8);
  WriteLe32(p + 16, kWaveFormatBytes);
  WaveFormat plain = format;
  plain.extraSize = 0;
  WaveFormatToBytes(plain, p + 20);
  p += 20 + kWaveFormatBytes;
  std::memcpy(p, "data", 4);
  WriteLe32(p + 4, pcmSize);
  if (pcmSize) std::memcpy(p + 8, pcm, pcmSize);
  *imageSize = static_cast<uint32_t>(total);
  return image;
}
