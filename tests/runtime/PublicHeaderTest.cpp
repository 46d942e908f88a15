// The engine sees the layer only through its public header: this program
// includes nothing else of the layer and calls every entry point that is
// built, on SDL's dummy video driver with the real clock.

#include "runtime/Movan.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

TEST(PublicHeader, EveryBuiltEntryPoint) {
  char previous[PATH_MAX];
  ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
  char folder[] = "/tmp/movan-public-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  ASSERT_EQ(chdir(folder), 0);
  if (FILE* f = std::fopen("data.bin", "wb")) {
    std::fputs("abcdef\r\nline", f);
    std::fclose(f);
  }

  // Setting entries before the layer starts; a title of its own keeps this
  // program clear of other running copies.
  const std::string title = "PublicHeaderTest-" + std::to_string(getpid());
  EXPECT_EQ(SetWindowTitle(title.c_str()), 0);
  EXPECT_EQ(ChangeWindowMode(1), 0);
  EXPECT_EQ(SetWindowScale(1.0), 0);
  EXPECT_EQ(SetWindowIconResource(101), 0);
  EXPECT_EQ(SetRunInBackground(1), 0);
  EXPECT_EQ(EnableLogOutput(1), 0);
  EXPECT_EQ(EnableArchiveAccess(1), 0);
  EXPECT_EQ(SetArchiveExtension("zema"), 0);
  EXPECT_EQ(SetArchiveKeyString(nullptr), 0);

  EXPECT_EQ(LayerEnd(), 0);
  EXPECT_EQ(GetMainWindow(), 0u);
  ASSERT_EQ(LayerInit(), 0);
  EXPECT_EQ(LayerInit(), 0);
  EXPECT_EQ(IsAppActive(), 1);
  EXPECT_NE(GetMainWindow(), 0u);
  EXPECT_EQ(GetWindowScale(), 1.0);
  EXPECT_EQ(LogPrintf("%s\n", "from the engine"), -1);

  EXPECT_EQ(ShowMouseCursor(0), 0);
  EXPECT_EQ(IsMouseCursorShown(), 0);
  EXPECT_EQ(ShowMouseCursor(1), 0);
  EXPECT_EQ(SetMousePosition(10, 20), 0);
  EXPECT_EQ(PumpMessages(), 0);
  int x = -1;
  int y = -1;
  EXPECT_EQ(GetMousePosition(&x, &y), 0);
  EXPECT_EQ(x, 10);
  EXPECT_EQ(y, 20);
  EXPECT_EQ(TakeMouseWheel(), 0);

  // Nothing is pressed under the dummy driver. WaitAnyKey, which waits for a
  // person, is left out.
  EXPECT_EQ(IsKeyDown(0x2C), 0);
  EXPECT_EQ(IsAnyInputDown(7), 0);
  unsigned char keys[256];
  EXPECT_EQ(GetAllKeyStates(keys), 0);
  EXPECT_EQ(keys[0x2C], 0);
  EXPECT_EQ(GetPadInputBits(0x1001), 0);
  EXPECT_EQ(GetMouseButtons(), 0);

  const int field = CreateTextInput(8, 1, 0, 0);
  ASSERT_NE(field, -1);
  EXPECT_EQ(ActivateTextInput(field), 0);
  EXPECT_EQ(SetTextInputText("abc", field), 0);
  EXPECT_EQ(PumpMessages(), 0);
  char text[9] = {};
  EXPECT_EQ(GetTextInputText(text, field), 0);
  EXPECT_EQ(std::string(text), "abc");
  EXPECT_EQ(GetTextInputState(field), 0);
  EXPECT_EQ(SetTextInputColors(-1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1), 0);
  EXPECT_EQ(DrawTextInput(10, 10, field), 0);
  EXPECT_EQ(HasScreenDevice(), 1);
  EXPECT_EQ(IsDirect3DPathActive(), 0);
  EXPECT_EQ(DeleteTextInput(field), 0);
  EXPECT_EQ(GetTextInputState(field), -1);

  const uint32_t start = GetTickMs();
  EXPECT_EQ(WaitMilliseconds(20), 0);
  EXPECT_GE(GetTickMs() - start, 20u);

  EXPECT_EQ(FileSizeOf("DATA.BIN"), 12);
  const FileHandle file = FileOpenRead("data.bin", 0);
  ASSERT_NE(file, 0u);
  char bytes[4] = {};
  EXPECT_EQ(FileReadBytes(bytes, 3, file), 1);
  EXPECT_EQ(std::string(bytes), "abc");
  char line[16];
  EXPECT_EQ(FileReadLine(line, sizeof line, file), 3);
  EXPECT_EQ(std::string(line), "def");
  EXPECT_EQ(FileCloseRead(file), 0);
  EXPECT_EQ(IsPathInGameFolder("sub\\x.txt"), 1);
  EXPECT_EQ(IsPathInGameFolder("..\\x.txt"), 0);
  EXPECT_EQ(WriteGameTextFile("out.txt", "a\n", 2), 0);
  EXPECT_EQ(FileSizeOf("out.txt"), 3);
  int listed = 0;
  EXPECT_EQ(ListGameFolder("", [](const char*, void* count) { ++*static_cast<int*>(count); }, &listed), listed);
  EXPECT_GE(listed, 2);
  ASSERT_EQ(chdir("/"), 0);
  EXPECT_EQ(ReturnToStartFolder(), 0);
  EXPECT_EQ(FileSizeOf("data.bin"), 12);

  // Sound: a load succeeds when the layer has a sound device; every entry
  // refuses a handle that names nothing.
  EXPECT_EQ(SetSoundLoadMode(4), -1);
  EXPECT_EQ(SetSoundLoadMode(0), 0);
  const unsigned char wave[48] = {'R', 'I', 'F', 'F', 40, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ',
                                  16, 0, 0, 0, 1, 0, 1, 0, 0x40, 0x1F, 0, 0, 0x80, 0x3E, 0, 0,
                                  2, 0, 16, 0, 'd', 'a', 't', 'a', 4, 0, 0, 0, 1, 0, 2, 0};
  for (const int sound : {CreateSoundFromMemory(wave, sizeof wave, 2, -1), CreateSoundFromMemoryOneBuffer(wave, 10, -1),
                          CreateSoundFromFile("none.wav", 1, -1)}) {
    const int expected = sound >= 0 ? 0 : -1;
    EXPECT_EQ(SetSoundVolume(200, sound), expected);
    EXPECT_EQ(SetSoundFrequency(-1, sound), expected);
    EXPECT_EQ(GetSoundFrequency(sound), sound >= 0 ? 8000 : -1);
    EXPECT_EQ(SetSoundPlayTime(0, sound), expected);
    EXPECT_EQ(StartSound(sound, 1, 1), expected);
    EXPECT_EQ(IsSoundPlaying(sound) >= 0, sound >= 0);
    EXPECT_EQ(GetSoundPlayTime(sound) >= 0, sound >= 0);
    EXPECT_EQ(GetSoundLengthMs(sound), sound >= 0 ? 0 : -1);
    EXPECT_EQ(SetSoundLoopStartMs(0, sound), expected);
    EXPECT_EQ(HaltSound(sound), expected);
    EXPECT_EQ(DeleteSound(sound, 0), expected);
  }
  EXPECT_GE(DeleteAllSounds(0), -1);

  // Graphics: software screens, graphics made and drawn, presents.
  EXPECT_EQ(EnableHardwareDrawing(0), 0);
  EXPECT_EQ(EnableDirectDrawUse(1), 0);
  EXPECT_EQ(Enable3DDrawing(0), 0);
  EXPECT_EQ(GetScreenFormatRecord()->rgbBitCount, 32u);  // the desktop's, in window mode
  EXPECT_EQ(PackColor(255, 255, 255), 0xFFFFu);
  EXPECT_EQ(SetDrawTarget(kBackScreen), 0);
  EXPECT_EQ(GetDrawTarget(), kBackScreen);
  EXPECT_EQ(SetDrawFilter(0), 0);
  EXPECT_EQ(SetDrawBrightness(255, 255, 255), 0);
  EXPECT_EQ(SetTransparentColor(254, 0, 254), 0);
  EXPECT_EQ(SetCreateDrawableGraphics(0), 0);
  GraphImage image = {};
  ASSERT_EQ(CreateXrgbGraphImage(32, 32, &image), 0);
  EXPECT_EQ(FillGraphImage(&image, 10, 20, 30, 255), 0);
  const int picture = MakeGraphicFromGraphImage(&image);
  EXPECT_EQ(FreeGraphImage(&image), 0);
  ASSERT_GE(picture, 0);
  const int blank = CreateBlankGraphic(64, 64, 1);
  const int part = DeriveGraphic(8, 8, 16, 16, blank);
  ASSERT_GE(part, 0);
  int w = 0;
  int h = 0;
  EXPECT_EQ(GetGraphicSize(part, &w, &h), 0);
  EXPECT_EQ(w, 16);
  EXPECT_EQ(GetGraphicCount(), 3);
  EXPECT_EQ(LoadGraphicFileForced("none.png"), -1);
  EXPECT_EQ(SetBlendMode(1, 128), 0);
  EXPECT_EQ(DrawGraphicAt(0, 0, picture, 1), 0);
  EXPECT_EQ(DrawGraphicStretched(0, 0, 32, 32, picture, 0), 0);
  EXPECT_EQ(DrawGraphicPart(40, 40, 4, 4, 8, 8, picture, 0, 0), 0);
  EXPECT_EQ(DrawGraphicPartStretched(40, 40, 72, 72, 0, 0, 32, 32, picture, 0), 0);
  EXPECT_EQ(DrawBlendGraph(0, 0, picture, 0, blank, 128, 64), 0);
  EXPECT_EQ(DrawGraphicRotatedInt(100, 100, 1.0, 0.5, picture, 0, 0), 0);
  EXPECT_EQ(DrawRectangle(0, 0, 10, 10, PackColor(255, 0, 0), 1), 0);
  EXPECT_EQ(SetBlendMode(0, 0), 0);
  IntRect r = {-5, -5, 700, 10};
  EXPECT_EQ(ClipRect(&r, IntRect{0, 0, 640, 480}), 0);
  EXPECT_EQ(r.right, 640);
  EXPECT_EQ(FlipScreen(), 0);
  EXPECT_EQ(PresentScreen(), 0);
  EXPECT_EQ(ClearDrawTarget(), 0);
  EXPECT_EQ(SetGraphicsRestoreHandler(nullptr), 0);
  EXPECT_EQ(RestoreAllGraphics(), 0);
  EXPECT_EQ(DeleteGraphic(part), 0);
  EXPECT_EQ(DeleteAllGraphics(), 0);
  EXPECT_EQ(GetGraphicCount(), 0);
  EXPECT_EQ(SetScreenMode(640, 480, 16, -1), 0);
  EXPECT_EQ(DeleteAllGraphImageHandles(), 0);

  // Fonts over the installed faces. Drawing waits for the screen.
  const int font = CreateFontToHandle("ＭＳ ゴシック", 16, -1, 2, -1, -1, 0, -1, -1);
  ASSERT_NE(font, -1);
  EXPECT_EQ(IsFontHandleValid(font), 1);
  EXPECT_EQ(QueryFontSize(font), 16);
  int fontSize = 0;
  EXPECT_EQ(GetFontInfo(nullptr, &fontSize, nullptr, font), 0);
  EXPECT_EQ(fontSize, 16);
  int deleted = -1;
  EXPECT_EQ(SetFontDeleteNotify(font, &deleted), 0);
  EXPECT_EQ(SetFontSpacing(1, font), 0);
  EXPECT_GT(GetTextWidthWithFont("日本語", -1, font, 0), 30);
  EXPECT_GT(ListFontNames(nullptr, 0, 1), 0);
  EXPECT_EQ(AddPrivateFontFile("none.ttf"), 0);
  EXPECT_EQ(RemovePrivateFontFile("none.ttf"), 0);
  EXPECT_EQ(SetDefaultFontFace(nullptr, -1), 0);
  EXPECT_EQ(SetDefaultFontThickness(4), 0);
  EXPECT_EQ(SetDefaultFontType(0), 0);
  EXPECT_EQ(SetDefaultFontSize(20), 0);
  EXPECT_EQ(SetDefaultFontSizeAndThickness(nullptr, 20, 4), 0);
  EXPECT_GT(GetTextWidth("abc", -1, 0), 0);
  EXPECT_NE(GetDefaultFont(), -1);
  EXPECT_EQ(DeleteFontHandle(font), 0);
  EXPECT_EQ(deleted, 1);
  EXPECT_EQ(ResetFonts(), 0);
  EXPECT_EQ(DrawTextLine(0, 0, "", 0, 0), 0);

  EXPECT_EQ(ChangeWindowMode(0), 0);
  EXPECT_EQ(ChangeWindowMode(1), 0);
  EXPECT_EQ(LayerEnd(), 0);
  EXPECT_EQ(LayerEnd(), 0);

  std::FILE* log = std::fopen("Log.txt", "rb");
  ASSERT_NE(log, nullptr);
  std::fclose(log);
  ASSERT_EQ(chdir(previous), 0);
  std::filesystem::remove_all(folder);
}

}  // namespace
