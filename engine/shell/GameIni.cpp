#include "engine/shell/GameIni.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>

#include "runtime/Movan.h"

namespace {

// Where the value of key starts, or npos when the key is missing.
size_t ValueStart(const std::string& text, const char* key) {
  const size_t keyLength = std::strlen(key);
  const size_t at = ShiftJisFind(text.data(), text.size(), key, keyLength);
  return at == text.size() ? std::string::npos : at + keyLength;
}

// The leading decimal number, as the C library's atoi reads it once the
// spaces are gone: an optional sign and the digits that follow, held within
// 32 bits.
int32_t LeadingNumber(const std::string& text, size_t at) {
  bool negative = false;
  if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
  int64_t value = 0;
  while (at < text.size() && text[at] >= '0' && text[at] <= '9') {
    value = std::min<int64_t>(value * 10 + (text[at++] - '0'), int64_t{std::numeric_limits<int32_t>::max()} + 1);
  }
  if (negative) value = -value;
  return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                 std::numeric_limits<int32_t>::max()));
}

// The one character after the key, as a number: a digit gives its value,
// anything else 0.
int32_t OneDigit(const std::string& text, const char* key, int32_t fallback) {
  const size_t at = ValueStart(text, key);
  if (at == std::string::npos) return fallback;
  return at < text.size() && text[at] >= '0' && text[at] <= '9' ? text[at] - '0' : 0;
}

// From after the key to the next LF, the character before it (the CR of the
// written file) left out.
std::string LineText(const std::string& text, const char* key) {
  const size_t at = ValueStart(text, key);
  if (at == std::string::npos) return "";
  const size_t end = std::min(text.find('\n', at), text.size());
  return end > at ? text.substr(at, end - at - 1) : "";
}

}  // namespace

PlayerSettings ParseGameIni(std::string text) {
  text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
  PlayerSettings s;
  const size_t start = ValueStart(text, "Start=");
  s.start = start == std::string::npos ? 0 : LeadingNumber(text, start);
  s.softMode = OneDigit(text, "SoftModeFlag=", 0);
  s.windowMode = OneDigit(text, "WindowModeFlag=", 1);
  s.soundSwitch = OneDigit(text, "SEandBGM=", 3);
  s.frameSkip = OneDigit(text, "FrameSkip=", 0);
  s.proxy = LineText(text, "Proxy=");
  s.proxyPort = LineText(text, "ProxyPort=");
  s.screenShot = OneDigit(text, "ScreenShotFlag=", 1);
  return s;
}

std::string FormatGameIni(const PlayerSettings& s) {
  std::string text;
  const auto line = [&text](const char* key, int32_t value, const char* rest) {
    char number[16];
    std::snprintf(number, sizeof number, "%d", value);
    text.append(key).append(number).append(rest);
  };
  line("Start=", s.start, "\n");
  line("SoftModeFlag=", s.softMode, "\n");
  line("WindowModeFlag=", s.windowMode, "\n");
  line("SEandBGM=", s.soundSwitch, "  # 0:SE･BGMなし 1:SEのみ 2:BGMのみ 3:SE+BGMあり\n");
  line("FrameSkip=", s.frameSkip, "\n");
  text.append("Proxy=").append(s.proxy).append("\n");
  text.append("ProxyPort=").append(s.proxyPort).append("\n");
  line("ScreenShotFlag=", s.screenShot, "");
  return text;
}

int ReadGameIni(PlayerSettings& settings) {
  const int64_t size = FileSizeOf(kGameIniName);
  const FileHandle file = size >= 0 ? FileOpenRead(kGameIniName, 0) : 0;
  if (file == 0) {
    settings.start = -1;
    settings.softMode = 0;
    settings.windowMode = 1;
    settings.soundSwitch = 3;
    settings.frameSkip = 0;
    return -1;
  }
  // The file is the player's own: no size limit beyond what the file layer
  // reads whole.
  std::string text(static_cast<size_t>(std::min<int64_t>(size, kMaxWholeFileSize)), '\0');
  if (!text.empty() && FileReadBytes(text.data(), text.size(), file) != 1) text.clear();
  FileCloseRead(file);
  // The C library read the file as a string: it ends at the first NUL.
  text.resize(std::strlen(text.c_str()));
  settings = ParseGameIni(std::move(text));
  return 1;
}

bool WriteGameIni(const PlayerSettings& settings, int32_t start, int32_t softMode, int32_t frameSkip) {
  PlayerSettings written = settings;
  written.start = start;
  written.softMode = softMode;
  written.frameSkip = frameSkip;
  const std::string text = FormatGameIni(written);
  return WriteGameTextFile(kGameIniName, text.data(), text.size()) == 0;
}
