#include "engine/events/variables/KeyConfig.h"

#include <array>

namespace {

constexpr int32_t kFirstPadCode = 301;
constexpr int32_t kLastPadCode = 315;

size_t Field(int32_t button, int32_t keyboard) {
  return static_cast<size_t>(button + (keyboard ? RootEventRunner::kDecideKey : RootEventRunner::kDecidePad));
}

const std::array<const char*, 256> kKeyNames = [] {
  std::array<const char*, 256> names{};
  names.fill("");
  static const char* const kDigits[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
  for (int i = 0; i < 9; ++i) names[static_cast<size_t>(2 + i)] = kDigits[i];
  static const char* const kFunctionKeys[] = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10"};
  for (int i = 0; i < 10; ++i) names[static_cast<size_t>(59 + i)] = kFunctionKeys[i];
  const std::pair<int, const char*> named[] = {
      {1, "ESC"},      {11, "0"},        {12, "-"},       {14, "BS"},      {15, "TAB"},     {16, "Q"},
      {17, "W"},       {18, "E"},        {19, "R"},       {20, "T"},       {21, "Y"},       {22, "U"},
      {23, "I"},       {24, "O"},        {25, "P"},       {26, "["},       {27, "]"},       {28, "Enter"},
      {29, "左Ctrl"},  {30, "A"},        {31, "S"},       {32, "D"},       {33, "F"},       {34, "G"},
      {35, "H"},       {36, "J"},        {37, "K"},       {38, "L"},       {39, "；"},      {42, "左Shift"},
      {43, "\\"},      {44, "Z"},        {45, "X"},       {46, "C"},       {47, "V"},       {48, "B"},
      {49, "N"},       {50, "M"},        {51, "，"},      {52, "."},       {53, "/"},       {54, "右Shift"},
      {56, "左Alt"},   {57, "SPACE"},    {58, "Caps"},    {70, "Scroll"},  {87, "F11"},     {88, "F12"},
      {125, "\\"},     {144, "^"},       {145, "@"},      {146, "："},     {157, "右Ctrl"}, {184, "右Alt"},
      {197, "Pause"},  {199, "HOME"},    {200, "↑"},      {201, "PageUp"}, {203, "←"},      {205, "→"},
      {207, "END"},    {208, "↓"},       {209, "PageDown"}, {211, "DEL"},
  };
  for (const auto& [code, name] : named) names[static_cast<size_t>(code)] = name;
  return names;
}();

}  // namespace

void SetKeyConfig(int32_t code, int32_t button, int32_t keyboard, RootEventRunner* record) {
  if (button < kDecideButton || button > kSubButton) return;
  RootEventRunner& runner = record ? *record : RootRunner;
  if (!keyboard && code >= kFirstPadCode && code <= kLastPadCode) code = 0x10 << (code - kFirstPadCode);
  int32_t& target = runner.keyCodes[Field(button, keyboard)];
  const int32_t old = target;
  for (int32_t other = kDecideButton; other <= kSubButton; ++other) {
    int32_t& field = runner.keyCodes[Field(other, keyboard)];
    if (other != button && field == code) field = old;
  }
  target = code;
}

int32_t GetKeyConfig(int32_t button, int32_t keyboard, const RootEventRunner* record) {
  if (button < kDecideButton || button > kSubButton) return 0;
  const RootEventRunner& runner = record ? *record : RootRunner;
  const int32_t stored = runner.keyCodes[Field(button, keyboard)];
  if (keyboard) return stored;
  for (int32_t code = kFirstPadCode; code <= kLastPadCode; ++code) {
    if (stored == 0x10 << (code - kFirstPadCode)) return code;
  }
  return 0;
}

std::string KeyConfigName(int32_t button, int32_t keyboard, const RootEventRunner* record) {
  const int32_t code = GetKeyConfig(button, keyboard, record);
  if (keyboard) return KeyName(code - 100);
  if (code >= kFirstPadCode && code <= kLastPadCode) return "ボタン" + std::to_string(code - kFirstPadCode + 1);
  return "";
}

const char* KeyName(int32_t directInputCode) {
  if (directInputCode < 0 || directInputCode > 255) return "";
  return kKeyNames[static_cast<size_t>(directInputCode)];
}
