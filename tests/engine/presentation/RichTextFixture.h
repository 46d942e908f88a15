#pragma once
// A running layer in software mode (32-bit screen, fake glyphs unless a test
// asks for the installed faces) under a fresh game: default game settings,
// tile unit 32, a system database with text colours (white, red, green,
// blue) and no window images, a fresh root runner, hub and input, fonts set
// up from the game settings, and error screens and message boxes recorded.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/data/GameInfo.h"
#include "engine/data/database/Databases.h"
#include "engine/events/SystemState.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/presentation/GraphicCache.h"
#include "engine/presentation/text/TextBlock.h"
#include "engine/presentation/text/TextResources.h"
#include "engine/services/DataFolder.h"
#include "engine/services/ErrorScreen.h"
#include "engine/services/InputState.h"
#include "engine/sound/SoundHooks.h"
#include "engine/services/StartupSettings.h"
#include "tests/runtime/graphics/GraphicsFixture.h"
#include "tests/support/DatabaseBuilder.h"

class RichTextFixture : public GraphicsFixture {
 protected:
  void SetUp() override {
    GraphicsFixture::SetUp();
    errorScreens().clear();
    messageBoxes().clear();
    sounds().clear();
    SetErrorScreenHandler([](const std::string& a, const std::string& b, const std::string& c) {
      errorScreens().push_back(a + "|" + b + "|" + c);
    });
    SetMessageBoxHook([](const char* text, const char*) { messageBoxes().push_back(text); });
    SoundHooks sound{};
    sound.play = [](int32_t kind, int32_t entry, int32_t, int32_t) { sounds().push_back(kind * 1000 + entry); };
    SetSoundHooks(&sound);
    TileUnit = 32;
    GameInformation = GameInfo();
    SystemDatabase = Database();
    SystemDatabase.typeData.resize(13);
    SetColors({{255, 255, 255}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}});
    RootRunner = RootEventRunner();
    SystemStateHub = SystemState();
    Input = InputState();
    TextResourcesHub = TextResources();
    ForgetTextColorTable();
    SetDataFolder("Data\\");
    if (InstalledFaces()) HostSetGlyphSource(nullptr);
    Start(32);
    SetUpFonts(GameInformation);
  }

  void TearDown() override {
    ClearGraphicCache();
    TextResourcesHub.ReleaseIcons();
    TextResourcesHub = TextResources();
    SystemDatabase = Database();
    GameInformation = GameInfo();
    SystemStateHub = SystemState();
    TileUnit = 32;
    SetErrorScreenHandler(nullptr);
    SetMessageBoxHook(nullptr);
    SetSoundHooks(nullptr);
    GraphicsFixture::TearDown();
  }

  // Draw with the faces installed on the machine instead of fake glyphs.
  virtual bool InstalledFaces() const { return false; }

  // The colour table's records (red, green, blue); the table is made again
  // at the next layout.
  static void SetColors(const std::vector<std::vector<int32_t>>& colors) {
    DatabaseTypeData data = MakeTypeData({1000, 1001, 1002}, static_cast<int32_t>(colors.size()));
    for (size_t r = 0; r < colors.size(); ++r) {
      for (size_t c = 0; c < colors[r].size(); ++c) data.Integer(static_cast<int32_t>(r), static_cast<int32_t>(c)) = colors[r][c];
    }
    SystemDatabase.typeData[12] = std::move(data);
    ForgetTextColorTable();
  }

  // Mono glyphs: every inked pixel is the text colour itself.
  static void UsePlainFonts() {
    GameInformation.settingBytes[GameInfo::kPlainFonts] = 1;
    SetUpFonts(GameInformation);
  }

  static std::vector<std::string>& errorScreens() {
    static std::vector<std::string> lines;
    return lines;
  }
  static std::vector<std::string>& messageBoxes() {
    static std::vector<std::string> texts;
    return texts;
  }
  // kind x 1000 + entry of every sound played.
  static std::vector<int32_t>& sounds() {
    static std::vector<int32_t> played;
    return played;
  }

  // Inked columns of the back screen in the band of rows [top, bottom): the
  // first and the last column that differ from black, -1 when none.
  static std::pair<int, int> InkColumns(int top, int bottom, int left = 0, int right = 640) {
    int first = -1, last = -1;
    for (int x = left; x < right; ++x) {
      for (int y = top; y < bottom; ++y) {
        if (BackPixel(x, y) != 0) {
          if (first == -1) first = x;
          last = x;
          break;
        }
      }
    }
    return {first, last};
  }

  static void ClearBack() {
    SetDrawTarget(kBackScreen);
    ClearDrawTarget();
  }
};
