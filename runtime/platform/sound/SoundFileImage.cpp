#include "runtime/platform/sound/SoundFileImage.h"

#include <cstring>

#include "runtime/host/sound/WaveFormat.h"
#include "runtime/platform/files/FileAccessTable.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

// The whole stream in a new block; null when its size is unknown or too
// large, or memory runs out.
unsigned char* ReadAll(const StreamOps& ops, StreamHandle stream, uint32_t* size) {
  const int64_t length = StreamByteSize(ops, stream);
  if (length < 0 || length >= UINT32_MAX) return nullptr;
  unsigned char* image = static_cast<unsigned char*>(TrackedAlloc(length > 0 ? static_cast<size_t>(length) : 1, __FILE__, __LINE__));
  if (!image) return nullptr;
  *size = length > 0 ? static_cast<uint32_t>(ops.read(image, 1, static_cast<size_t>(length), stream)) : 0;
  return image;
}

}  // namespace

int ReadWholeFile(const char* name, unsigned char** image, uint32_t* size) {
  const FileHandle file = FileOpenVia(name, 0, 1, 0);
  if (!file) return LogFormat("右記のファイルのオープンに失敗しました：%s", name);
  unsigned char* bytes = ReadAll(*GetFileStreamOps(), file, size);
  FileCloseRead(file);
  if (!bytes) return LogFormat("右記のファイルのロードに必要なメモリの確保に失敗しました：%s", name);
  *image = bytes;
  return 0;
}

int ReadWholeStream(const StreamOps* ops, StreamHandle stream, unsigned char** image, uint32_t* size) {
  unsigned char* bytes = ReadAll(*ops, stream, size);
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
