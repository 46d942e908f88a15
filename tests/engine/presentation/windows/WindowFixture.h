#pragma once
// The message and choice windows driven frame by frame as the game scene
// drives them (choice window first), with window images in the system
// database: a wait cursor strip of two 16 x 16 cells (red, then green), a
// 24 x 24 skin (blue) and a 24 x 24 cursor box (white).

#include <memory>
#include <string>
#include <vector>

#include "engine/presentation/windows/ChoiceWindow.h"
#include "engine/presentation/windows/MessageWindow.h"
#include "tests/engine/presentation/RichTextFixture.h"
#include "tests/support/BmpFileWriter.h"

inline std::string StripBmp(int32_t width, const std::vector<std::pair<int32_t, uint32_t>>& cells) {
  std::vector<std::vector<uint32_t>> rows;
  for (const auto& [height, rgb] : cells) {
    for (int32_t y = 0; y < height; ++y) rows.emplace_back(static_cast<size_t>(width), rgb);
  }
  BmpFileFields fields;
  fields.width = width;
  fields.height = -static_cast<int32_t>(rows.size());
  fields.data = PackBmpRows(24, rows);
  return BmpFile(fields);
}

class WindowFixture : public RichTextFixture {
 protected:
  static constexpr uint64_t kWaiter = 5;

  void SetUp() override {
    RichTextFixture::SetUp();
    RootRunner.messageFontSize = 24;
    dir.Write("Data/System/cursor.bmp", StripBmp(16, {{16, 0xFF0000}, {16, 0x00FF00}}));
    dir.Write("Data/System/skin.bmp", StripBmp(24, {{24, 0x0000FF}}));
    dir.Write("Data/System/box.bmp", StripBmp(24, {{24, 0xFFFFFF}}));
    DatabaseTypeData images = MakeTypeData({2000, 1000}, 3);
    images.String(0, 0) = "System\\cursor.bmp";
    images.Integer(0, 0) = 2;
    images.String(1, 0) = "System\\skin.bmp";
    images.String(2, 0) = "System\\box.bmp";
    images.Integer(2, 0) = 1;
    SystemDatabase.typeData.resize(13);
    SystemDatabase.typeData[10] = std::move(images);
    SystemDatabase.typeDefinitions.resize(13);
    messageWindow = std::make_unique<MessageWindow>();
    choiceWindow = std::make_unique<ChoiceWindow>();
  }
  void TearDown() override {
    message().Release();
    choice().Release();
    RichTextFixture::TearDown();
  }

  // As the show-message command leaves it.
  void PendMessage(const std::string& text) {
    SystemStateHub.pendingMessageText = text;
    SystemStateHub.SetMessageWaiter(1, kWaiter);
  }
  // As the show-choices command leaves it: rows each ended by a line feed.
  void PendChoices(const std::vector<std::string>& rows, int32_t cancelRow = -1, int32_t extras = 0,
                   bool withMessage = false) {
    SystemState& hub = SystemStateHub;
    hub.pendingChoiceText.clear();
    for (const std::string& row : rows) hub.pendingChoiceText += row + "\n";
    hub.choiceCount = static_cast<int32_t>(rows.size());
    hub.cancelChoice = cancelRow;
    hub.choiceExtraFlags = extras;
    hub.choiceWithMessage = withMessage ? 1 : 0;
    hub.SetChoiceWaiter(0, kWaiter);
  }

  // One frame: the updates in the scene's order, then, when asked, the draws.
  void Frame(bool draw = true) {
    choice().Update();
    message().Update();
    Input = InputState();
    if (draw) {
      ClearBack();
      message().Draw();
      choice().Draw();
    }
  }
  void Frames(int n) {
    for (int i = 0; i < n; ++i) Frame();
  }
  void Press(GameButton button) {
    Input.buttonsPressed[static_cast<size_t>(button)] = 1;
    Frame();
  }
  void PressDirection(int32_t direction) {
    Input.direction4Repeat = direction;
    Frame();
  }
  // The choice delivered to the waiter, -1 while none.
  static int32_t Delivered() {
    return SystemStateHub.choiceResultWaiter == kWaiter ? SystemStateHub.choiceResultValue : -1;
  }
  static bool MessageReleased() { return SystemStateHub.releasedMessageWaiter == kWaiter; }

  MessageWindow& message() { return *messageWindow; }
  ChoiceWindow& choice() { return *choiceWindow; }

 private:
  // Made once the layer runs.
  std::unique_ptr<MessageWindow> messageWindow;
  std::unique_ptr<ChoiceWindow> choiceWindow;
};
