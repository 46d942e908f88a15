// Golden frames of the windows drawn with the installed IPA faces. The
// frames are keyed by a checksum of the font file: a new font version finds
// no golden frame under its key and makes one (with a PNG to look at)
// instead of failing.

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/events/variables/EscapeExpander.h"
#include "runtime/host/fonts/FreeTypeGlyphSource.h"
#include "tests/engine/presentation/windows/WindowFixture.h"
#include "tests/support/GoldenFrame.h"
#include "tests/support/TestDirectory.h"

namespace {

// A square of `size` with a border of `border` pixels.
std::string FramedBmp(int32_t size, int32_t border, uint32_t edge, uint32_t fill) {
  std::vector<std::vector<uint32_t>> rows(static_cast<size_t>(size), std::vector<uint32_t>(static_cast<size_t>(size)));
  for (int32_t y = 0; y < size; ++y) {
    for (int32_t x = 0; x < size; ++x) {
      const bool inside = x >= border && y >= border && x < size - border && y < size - border;
      rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = inside ? fill : edge;
    }
  }
  BmpFileFields fields;
  fields.width = size;
  fields.height = -size;
  fields.data = PackBmpRows(24, rows);
  return BmpFile(fields);
}

// The first 32 bits of the FNV-1a hash of the file behind the gothic face.
std::string FontKey() {
  HostFaceMetrics metrics{};
  const HostGlyphSource* source = FreeTypeGlyphSource();
  const int face = source->openFace(HostFaceRequest{"ＭＳ ゴシック", 1, 16, 400, 0}, &metrics);
  if (face < 0) return "";
  const std::string bytes = ReadWholeFile(FreeTypeFaceFile(face));
  source->closeFace(face);
  uint64_t hash = 0xCBF29CE484222325ull;
  for (unsigned char c : bytes) {
    hash ^= c;
    hash *= 0x100000001B3ull;
  }
  char text[16];
  std::snprintf(text, sizeof text, "%08" PRIx32, static_cast<uint32_t>(hash >> 32));
  return text;
}

class WindowGoldenTest : public WindowFixture {
 protected:
  bool InstalledFaces() const override { return true; }
  void SetUp() override {
    WindowFixture::SetUp();
    key = FontKey();
    ASSERT_FALSE(key.empty()) << "no gothic face installed";
    dir.Write("Data/System/skin.bmp", FramedBmp(24, 3, 0xC8C8E6, 0x1E285A));
    dir.Write("Data/System/box.bmp", FramedBmp(24, 2, 0xFFFFFF, 0x505078));
    choice().LoadSkins();
    SetColors({{255, 255, 255}, {255, 200, 64}, {120, 220, 255}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0},
               {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}, {255, 160, 200}});
    RootRunner.messageFontSize = 22;
  }
  std::string Golden(const std::string& name) {
    const std::string directory = MOVAN_WINDOW_GOLDEN_DIR;
    const std::string keyed = name + "_ipa" + key;
    if (!FileExists(directory + "/" + keyed + ".hash")) {
      setenv("MOVAN_GOLDEN_REGENERATE", "1", 1);
      CheckGoldenFrame(directory, keyed);
      unsetenv("MOVAN_GOLDEN_REGENERATE");
      std::printf("new font: golden frame %s/%s.png made; look at it\n", directory.c_str(), keyed.c_str());
      return "";
    }
    return CheckGoldenFrame(directory, keyed);
  }
  std::string key;
};

TEST_F(WindowGoldenTest, AJapaneseMessage) {
  PendMessage(ExpandMessageText("こんにちは、\\c[1]世界\\c[0]の皆さん！\n\\r[漢字,かんじ]にはルビが付きます。\n"
                                "<C>\\f[28]\\E大きな縁取り文字\\N\\f[22]\n<R>右に寄せた行",
                                0, 0, 0));
  Frames(40);
  ASSERT_TRUE(message().allShown);
  EXPECT_EQ(Golden("message"), "");
}

TEST_F(WindowGoldenTest, AChoiceWindow) {
  RootRunner.choiceFrame = 1;
  PendChoices({"はい", "いいえ", "\\c[2]もう一度聞く"}, 1);
  SystemStateHub.pendingChoiceText = ExpandMessageText(SystemStateHub.pendingChoiceText, 0, 0, 0);
  Frames(12);
  PressDirection(2);
  ASSERT_EQ(choice().alpha, 255);
  EXPECT_EQ(Golden("choice"), "");
}

}  // namespace
