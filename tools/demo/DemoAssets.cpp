#include "tools/demo/DemoAssets.h"

#include "tests/support/MidiFileWriter.h"
#include "tests/support/MovieClipWriter.h"
#include "tests/support/SoundDatabase.h"
#include "tests/support/VorbisFixture.h"
#include "tests/support/WaveWriter.h"
#include "tools/demo/DemoImages.h"

namespace demo {

namespace {

// Tones of a few notes, each fading out, as 16-bit stereo at 22050 Hz.
std::vector<int16_t> Tones(const std::vector<double>& hz, double noteSeconds, double amplitude) {
  constexpr uint32_t kRate = 22050;
  const auto frames = static_cast<uint32_t>(noteSeconds * kRate);
  std::vector<int16_t> samples;
  for (const double f : hz) {
    std::vector<int16_t> note = SineSamples(frames, 2, kRate, f, amplitude);
    for (uint32_t i = 0; i < frames; ++i) {
      const double fade = 1.0 - static_cast<double>(i) / frames;
      note[2 * i] = static_cast<int16_t>(note[2 * i] * fade);
      note[2 * i + 1] = static_cast<int16_t>(note[2 * i + 1] * fade);
    }
    samples.insert(samples.end(), note.begin(), note.end());
  }
  return samples;
}

}  // namespace

void WindowsAndColours(GameFolderContent& game) {
  Database& system = game.systemDatabase;
  const int32_t windows = SystemTypes::kWindowImages;
  system.SetString(windows, 0, 0, "System\\wait_cursor.bmp");
  system.SetInt(windows, 0, 1, 4);
  system.SetString(windows, 1, 0, "System\\window_skin.bmp");
  system.SetInt(windows, 1, 1, 1);
  system.SetString(windows, 2, 0, "System\\choice_cursor.bmp");
  system.SetInt(windows, 2, 1, 1);
  game.files.emplace_back("Data/System/wait_cursor.bmp", DemoWaitCursor());
  game.files.emplace_back("Data/System/window_skin.bmp", DemoWindowSkin());
  game.files.emplace_back("Data/System/choice_cursor.bmp", DemoChoiceCursor());

  // White, then the usual highlight colours; 10 to 12 colour the text entry.
  const uint32_t colours[13] = {0xFFFFFF, 0xFF6060, 0x60FF60, 0x6080FF, 0xFFFF60, 0xFF60FF, 0x60FFFF,
                                0xC0C0C0, 0x808080, 0xFFA040, 0xFFFFFF, 0x404040, 0xFFE080};
  for (int32_t i = 0; i < 13; ++i) {
    for (int32_t item = 0; item < 3; ++item) {
      system.SetInt(SystemTypes::kTextColours, i, item, static_cast<int32_t>(colours[i] >> (16 - 8 * item) & 0xFF));
    }
  }
}

// MPEG-4 pictures with MP2 sound in AVI, made by FFmpeg's encoders.
void Movies(GameFolderContent& game) {
  MovieClip clip;
  clip.container = "avi";
  clip.videoCodec = "mpeg4";
  clip.audioCodec = "mp2";
  clip.width = kMovieWidth;
  clip.height = kMovieHeight;
  clip.frames = 50;
  clip.keyInterval = 25;
  const std::string bytes = WriteMovieClip(clip);
  if (!bytes.empty()) game.files.emplace_back("Data/Movie/village.avi", bytes);
}

// The village's music (Ogg Vorbis, looping from its second bar), a brook
// as background sound (WAV), the decide, cursor and cancel sound effects,
// and the villager's tune (a Standard MIDI File played by name).
void Sounds(GameFolderContent& game) {
  const std::vector<int16_t> music = Tones({262, 330, 392, 330, 349, 440, 523, 392}, 0.5, 6000);
  game.files.emplace_back("Data/BGM/village.ogg", EncodeOggVorbis(music, 2, 22050));
  std::vector<int16_t> brook = SineSamples(22050 * 2, 2, 22050, 97, 1500);
  const std::vector<int16_t> ripple = SineSamples(22050 * 2, 2, 22050, 151, 900);
  for (size_t i = 0; i < brook.size(); ++i) brook[i] = static_cast<int16_t>(brook[i] + ripple[i]);
  const std::string format = PcmFormatChunk(2, 22050, 16);
  game.files.emplace_back("Data/BGS/brook.wav", WaveFile(format, PcmBytes(brook)));
  game.files.emplace_back("Data/SE/decide.wav", WaveFile(format, PcmBytes(Tones({880, 1320}, 0.06, 8000))));
  game.files.emplace_back("Data/SE/cursor.wav", WaveFile(format, PcmBytes(Tones({1320}, 0.04, 6000))));
  game.files.emplace_back("Data/SE/cancel.wav", WaveFile(format, PcmBytes(Tones({660, 440}, 0.06, 8000))));
  std::vector<MidiNote> notes;
  const uint8_t melody[] = {67, 69, 71, 74, 71, 69, 67, 62, 64, 67, 69, 67};
  for (uint32_t i = 0; i < sizeof melody; ++i) notes.push_back({i * 240, 220, 0, melody[i], 96});
  game.files.emplace_back("Data/BGM/tune.mid", BuildMidiFile(480, 500000, notes, {{0, 73}}));

  WriteSoundTypes(game.systemDatabase, {{"BGM\\village.ogg", 80, 100, kMusicLoopStartMs}},
                  {{"BGS\\brook.wav", 50, 100, 0}},
                  {{"SE\\decide.wav", 90, 100, 0}, {"SE\\cursor.wav", 80, 100, 0}, {"SE\\cancel.wav", 90, 100, 0}});
}

}  // namespace demo
