// Making sound handles from sound files: decoded whole into a plain sound,
// or kept as the sources of a stream sound, as the load mode says.

#include <cstring>

#include "runtime/Movan.h"
#include "runtime/platform/files/FileAccessTable.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/sound/SoundBuffer.h"
#include "runtime/platform/sound/SoundFileImage.h"
#include "runtime/platform/sound/SoundHandle.h"
#include "runtime/platform/sound/StreamSound.h"
#include "runtime/platform/base/TrackedAlloc.h"

namespace {

// Load mode 1 defines no load of its own: it streams from the file image.
int StreamTypeOfMode(int mode) { return mode == 1 ? kSourceFileImage : mode; }

StreamHandle MemHandle(MemStream* m) { return reinterpret_cast<StreamHandle>(m); }

// Copies the PCM of a new plain sound into its buffers. The other buffers
// are duplicates of the first and share its memory: one copy fills them all.
int FillPlainBuffers(SoundHandle* s) {
  void* p1;
  void* p2;
  uint32_t n1, n2;
  if (SoundBufferLock(&s->buffers[0], 0, s->pcmSize, &p1, &n1, &p2, &n2) != 0) {
    return LogFormat("サウンドデータの転送に失敗しました_1");
  }
  std::memcpy(p1, s->pcm, n1);
  if (n2) std::memcpy(p2, s->pcm + n1, n2);
  if (SoundBufferUnlock(&s->buffers[0], n1, n2) != 0) return LogFormat("サウンドデータの転送に失敗しました_2");
  return 0;
}

int LoadPlainSound(const void* image, uint32_t size, int count, int32_t handle) {
  MemStream* stream = MemStreamOpen(image, size);
  SoundDecoder decoder;
  if (!stream || OpenSoundDecoder(GetMemoryStreamOps(), MemHandle(stream), &decoder) != 0) {
    if (stream) MemStreamClose(MemHandle(stream));
    return LogFormat("音声ファイルのＰＣＭへの変換に失敗しました");
  }
  unsigned char* pcm = nullptr;
  uint32_t pcmSize = 0;
  WaveFormat format;
  const int decoded = DecodeWholeSound(&decoder, &pcm, &pcmSize, &format);
  CloseSoundDecoder(&decoder);
  MemStreamClose(MemHandle(stream));
  if (decoded != 0) return LogFormat("音声ファイルを格納するメモリ領域の確保に失敗しました");
  if (CreateSoundBuffers(format, pcmSize, kSoundPlain, count, handle) != 0) {
    TrackedFree(pcm);
    return -1;
  }
  SoundHandle* s = FindSound(handle);
  s->format = format;
  s->pcm = pcm;
  s->pcmSize = pcmSize;
  return FillPlainBuffers(s);
}

// The source's own copy of the data, a memory stream over it and its decoder.
int OpenImageSource(StreamSoundSource* source) {
  source->memStream = MemStreamOpen(source->image, source->imageSize);
  if (!source->memStream ||
      OpenSoundDecoder(GetMemoryStreamOps(), MemHandle(source->memStream), &source->decoder) != 0) {
    ReleaseStreamSource(source, false);
    return LogFormat("音声データのオープンに失敗しました");
  }
  return 0;
}

// The stream's data decoded whole and wrapped as a WAV image.
int DecodeToWaveImage(const StreamOps* ops, StreamHandle stream, StreamSoundSource* source) {
  unsigned char* file = nullptr;
  uint32_t fileSize = 0;
  if (ReadWholeStream(ops, stream, &file, &fileSize) != 0) return -1;
  MemStream* memory = MemStreamOpen(file, fileSize);
  SoundDecoder decoder;
  unsigned char* pcm = nullptr;
  uint32_t pcmSize = 0;
  WaveFormat format;
  int result = -1;
  if (memory && OpenSoundDecoder(GetMemoryStreamOps(), MemHandle(memory), &decoder) == 0) {
    result = DecodeWholeSound(&decoder, &pcm, &pcmSize, &format);
    CloseSoundDecoder(&decoder);
  }
  if (memory) MemStreamClose(MemHandle(memory));
  TrackedFree(file);
  if (result != 0) return -1;
  source->image = BuildWaveImage(format, pcm, pcmSize, &source->imageSize);
  TrackedFree(pcm);
  return source->image ? 0 : -1;
}

// The handle's next source, cleared, or null (logged) when the handle takes
// no more.
StreamSoundSource* NextSource(SoundHandle* s) {
  if (s->sourceCount > 0 || s->bufferCount > 0) {
    if (s->kind != kSoundStream) {
      LogWrite("ストリーム風サウンドではないサウンドデータが渡されました in AddSreamSound\n");
      return nullptr;
    }
    if (SoundBufferPlaying(&s->buffers[0])) {
      LogWrite("既に再生中のストリームサウンドデータにデータを追加しようとしました\n");
      return nullptr;
    }
    if (s->sourceCount >= kMaxStreamSources) {
      LogWrite("ストリーム風サウンドの制御データ領域がいっぱいです\n");
      return nullptr;
    }
  }
  StreamSoundSource* source = &s->sources[s->sourceCount];
  *source = StreamSoundSource();
  return source;
}

// Takes in a source whose decoder is open: the first makes the ring, a later
// one must match its format. 0, or -1 with the source cleaned up.
int CommitSource(SoundHandle* s, StreamSoundSource* source, int repeatCount, int32_t handle) {
  const WaveFormat& format = GetSoundDecoderFormat(&source->decoder);
  if (s->sourceCount == 0) {
    s->format = format;
    const uint64_t ring = uint64_t{6} * format.avgBytesPerSec;
    if (ring > kHostSoundMaxBytes ||
        CreateSoundBuffers(format, static_cast<uint32_t>(ring), kSoundStream, 1, handle) != 0) {
      ReleaseStreamSource(source, false);
      return -1;
    }
    s->ringSize = static_cast<uint32_t>(ring);
  } else if (!(format == s->format)) {
    ReleaseStreamSource(source, false);
    return LogFormat("フォーマットの違う音声データは同時に使うことは出来ません");
  }
  source->repeatCount = static_cast<uint8_t>(repeatCount);
  ++s->sourceCount;
  s->totalSamples = 0;
  for (int i = 0; i < s->sourceCount; ++i) {
    s->totalSamples += static_cast<int64_t>(GetSoundDecoderPcmSize(&s->sources[i].decoder) / s->format.blockAlign);
  }
  return 0;
}

// The first source of a new stream sound: a WAV image that it takes over
// (freed when this fails).
int AddWaveImageSource(unsigned char* image, uint32_t imageSize, int32_t handle) {
  SoundHandle* s = FindSound(handle);
  StreamSoundSource* source = s ? NextSource(s) : nullptr;
  if (!source) {
    TrackedFree(image);
    return -1;
  }
  source->type = kSourceWaveImage;
  source->image = image;
  source->imageSize = imageSize;
  if (OpenImageSource(source) != 0) return -1;
  return CommitSource(s, source, 0, handle);
}

}  // namespace

int AddSreamSound(const StreamOps* ops, StreamHandle stream, int repeatCount, int32_t handle, int type,
                  int* mayClose, int32_t) {
  SoundHandle* s = FindSound(handle);
  if (!s) return -1;
  StreamSoundSource* source = NextSource(s);
  if (!source) return -1;
  source->type = type;
  ops->seek(stream, 0, 0);
  switch (type) {
    case kSourceFileImage:
      if (ReadWholeStream(ops, stream, &source->image, &source->imageSize) != 0) {
        return LogFormat("音声データの読み込みに失敗しました");
      }
      if (OpenImageSource(source) != 0) return -1;
      *mayClose = 1;
      break;
    case kSourceOpenStream:
      if (OpenSoundDecoder(ops, stream, &source->decoder) != 0) return LogFormat("音声データのオープンに失敗しました");
      *mayClose = 0;
      break;
    case kSourceWaveImage:
      if (DecodeToWaveImage(ops, stream, source) != 0) {
        ReleaseStreamSource(source, false);
        return LogFormat("音声データの変換に失敗しました");
      }
      if (OpenImageSource(source) != 0) return -1;
      *mayClose = 1;
      break;
    default:
      return -1;
  }
  return CommitSource(s, source, repeatCount, handle);
}

int AddStreamSoundFromFile(const char* name, int repeatCount, int32_t handle, int type, int32_t shareHandle) {
  const FileHandle file = FileOpenVia(name, 0, 1, 0);
  if (!file) return LogPrintf("右記のＷＡＶファイルのロードに失敗しました：%s \n", name);
  int mayClose = 0;
  if (AddSreamSound(GetFileStreamOps(), file, repeatCount, handle, type, &mayClose, shareHandle) != 0) {
    FileCloseRead(file);
    return LogPrintf("右記のＷＡＶファイルのセットアップに失敗しました：%s \n", name);
  }
  if (mayClose) FileCloseRead(file);
  SoundHandle* s = FindSound(handle);
  s->openedForSource[s->sourceCount - 1] = 1;
  return 0;
}

int AddStreamSoundFromMemory(const void* image, uint32_t size, int repeatCount, int32_t handle, int type,
                             int32_t shareHandle) {
  MemStream* stream = MemStreamOpen(image, size);
  if (!stream) return LogPrintf("ＷＡＶファイルのストリームイメージハンドルの作成に失敗しました \n");
  if (type == kSourceOpenStream) type = kSourceFileImage;
  int mayClose = 0;
  if (AddSreamSound(GetMemoryStreamOps(), MemHandle(stream), repeatCount, handle, type, &mayClose, shareHandle) != 0) {
    MemStreamClose(MemHandle(stream));
    return LogPrintf("ＷＡＶファイルのストリームイメージのセットアップに失敗しました \n");
  }
  if (mayClose) MemStreamClose(MemHandle(stream));
  SoundHandle* s = FindSound(handle);
  s->openedForSource[s->sourceCount - 1] = 1;
  return 0;
}

int CreateSoundFromMemory(const void* image, size_t size, int bufferCount, int shareHandle) {
  if (!gSound.deviceOpen || bufferCount > kMaxSoundBuffers || size > UINT32_MAX) return -1;
  const int32_t handle = AddSoundData(-1);
  if (handle < 0) return -1;
  int result;
  if (gSound.loadMode == 0) {
    result = LoadPlainSound(image, static_cast<uint32_t>(size), bufferCount < 1 ? 1 : bufferCount, handle);
  } else {
    result = AddStreamSoundFromMemory(image, static_cast<uint32_t>(size), 0, handle, StreamTypeOfMode(gSound.loadMode),
                                      shareHandle);
    if (result == 0) PrimeStreamSound(handle);
  }
  if (result != 0) {
    DeleteSound(handle, 0);
    return -1;
  }
  return handle;
}

int CreateSoundFromMemoryOneBuffer(const void* image, size_t size, int shareHandle) {
  return CreateSoundFromMemory(image, size, 1, shareHandle);
}

int CreateSoundFromFile(const char* name, int bufferCount, int shareHandle) {
  if (!gSound.deviceOpen) return -1;
  if (bufferCount > kMaxSoundBuffers) bufferCount = kMaxSoundBuffers;
  if (gSound.loadMode == 0) {
    unsigned char* image = nullptr;
    uint32_t size = 0;
    if (ReadWholeFile(name, &image, &size) != 0) return LogFormat("右記の音声ファイルのロードに失敗しました_1：%s", name);
    const int handle = CreateSoundFromMemory(image, size, bufferCount, -1);
    if (handle < 0) LogFormat("右記の音声ファイルのロードに失敗しました_2：%s", name);
    TrackedFree(image);
    return handle;
  }
  const int32_t handle = AddSoundData(-1);
  if (handle < 0) return -1;
  if (AddStreamSoundFromFile(name, 0, handle, StreamTypeOfMode(gSound.loadMode), shareHandle) != 0) {
    DeleteSound(handle, 0);
    return -1;
  }
  PrimeStreamSound(handle);
  return handle;
}

int SetSoundLoopStartMs(int ms, int handle) {
  SoundHandle* s = FindSound(handle);
  if (!s) return -1;
  SetSoundLoopStartSamples(int64_t{s->format.samplesPerSec} * ms / 1000, handle);
  return 0;
}

int SetSoundLoopStartSamples(int64_t samples, int32_t handle) {
  SoundHandle* s = FindSound(handle);
  if (!s || samples < 0 || samples >= GetSoundLengthSamples(handle)) return -1;
  if (s->kind == kSoundPlain) {
    // Made again as a stream sound under the same handle value.
    uint32_t imageSize = 0;
    unsigned char* image = BuildWaveImage(s->format, s->pcm, s->pcmSize, &imageSize);
    if (!image) return LogWrite("ストリームサウンドハンドルの作成に失敗しました\n");
    HaltSound(handle);
    DeleteSound(handle, 0);
    if (AddSoundData(handle) != handle) {
      TrackedFree(image);
      return LogWrite("ストリームサウンドハンドルの作成に失敗しました\n");
    }
    if (AddWaveImageSource(image, imageSize, handle) != 0) {
      DeleteSound(handle, 0);
      return LogWrite("ストリームサウンドハンドルの作成に失敗しました\n");
    }
    s = FindSound(handle);
  }
  if (s->sourceCount >= 2) {
    return LogWrite("二つ以上の音声ファイルから作成されたサウンドハンドルにループポイントを指定する事は出来ません\n");
  }
  StreamSoundSource& first = s->sources[0];
  first.loopStart = samples;
  first.repeatCount = kRepeatForever;
  first.decoder.checkpointTarget = static_cast<uint64_t>(samples) * first.decoder.output.blockAlign;
  return 0;
}
