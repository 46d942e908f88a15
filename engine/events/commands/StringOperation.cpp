// Command 122: sets a string variable from a text, another variable or a
// keyboard text entry; cuts lines and characters, reads and writes text
// files below the game folder, lists a folder, deletes and replaces parts.

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "engine/events/variables/EscapeExpander.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/SystemState.h"
#include "engine/events/TextEntryHooks.h"
#include "engine/events/variables/VariableId.h"
#include "engine/services/ErrorLocation.h"
#include "engine/services/ErrorScreen.h"
#include "engine/services/ShiftJisPosition.h"
#include "engine/services/StartupSettings.h"
#include "runtime/Movan.h"

namespace {

int32_t Argument(const EventCommand& command, size_t index) {
  return index < command.arguments.size() ? command.arguments[index] : 0;
}

const std::string& StringArgument(const EventCommand& command, size_t index) {
  static const std::string kEmpty;
  return index < command.strings.size() ? command.strings[index] : kEmpty;
}

void RemoveCarriageReturns(std::string& text) { text.erase(std::remove(text.begin(), text.end(), '\r'), text.end()); }

// The text after the first line feed ("" without one); text keeps what
// stands before it.
std::string CutFirstLine(std::string& text) {
  const size_t feed = text.find('\n');
  if (feed == std::string::npos) return "";
  std::string rest = text.substr(feed + 1);
  text.resize(feed);
  return rest;
}

// Removes pattern from text again and again, each time at its first place,
// until none is left. Done in one pass: a new occurrence can only end where
// the text goes on after a removal, so the text is rebuilt character by
// character and a match at its end is dropped at once.
std::string RemoveAll(const std::string& text, const std::string& pattern) {
  std::string out;
  std::vector<uint8_t> starts;  // 1 where a character of out starts
  out.reserve(text.size());
  starts.reserve(text.size());
  const size_t m = pattern.size();
  for (size_t i = 0; i < text.size();) {
    const size_t n = static_cast<size_t>(ShiftJisCharLengthIn(text.data() + i, text.size() - i));
    out.append(text, i, n);
    starts.push_back(1);
    if (n == 2) starts.push_back(0);
    i += n;
    if (out.size() >= m) {
      const size_t at = out.size() - m;
      if (starts[at] && out.compare(at, m, pattern) == 0) {
        out.resize(at);
        starts.resize(at);
      }
    }
  }
  return out;
}

std::string ReplaceAll(const std::string& text, const std::string& pattern, const std::string& replacement) {
  std::string out;
  size_t from = 0;
  for (;;) {
    const size_t at = ShiftJisFind(text.data(), text.size(), pattern.data(), pattern.size(), from);
    if (at == text.size()) break;
    out.append(text, from, at - from);
    out += replacement;
    from = at + pattern.size();
  }
  out.append(text, from, std::string::npos);
  return out;
}

// The file's bytes up to its first zero byte; "<NoFile>" when it cannot be
// read or lies outside the game folder.
std::string ReadTextFile(const std::string& name) {
  static const char kNoFile[] = "<NoFile>";
  if (!IsPathInGameFolder(name.c_str())) return kNoFile;
  const int64_t size = FileSizeOf(name.c_str());
  if (size < 0 || size > kMaxWholeFileSize) return kNoFile;
  const FileHandle file = FileOpenRead(name.c_str(), 0);
  if (!file) return kNoFile;
  std::string bytes(static_cast<size_t>(size), '\0');
  const bool read = size == 0 || FileReadBytes(bytes.data(), bytes.size(), file) > 0;
  FileCloseRead(file);
  if (!read) return kNoFile;
  bytes.resize(std::strlen(bytes.c_str()));
  return bytes;
}

void CollectName(const char* name, void* context) {
  std::string& list = *static_cast<std::string*>(context);
  if (!list.empty()) list += '\n';
  list += name;
}

std::string ListFolder(std::string folder) {
  std::replace(folder.begin(), folder.end(), '\x01', '\\');
  std::string list;
  if (ListGameFolder(folder.c_str(), CollectName, &list) < 0) return "";
  return list;
}

void WriteTextFile(const std::string& rawName, const std::string& text) {
  const std::string name = RewriteEscapes(rawName);
  if (rawName.empty() || name.empty()) {
    if (TestPlayFlag) {
      ShowErrorScreen("[文字列操作] テスト専用エラー:書き込み先が空欄です。ファイル出力しませんでした。", ErrorLocationText(),
                      "");
    }
    return;
  }
  const std::string body = RewriteEscapes(text);
  const int result = WriteGameTextFile(name.c_str(), body.data(), body.size());
  if (result == -2) {
    if (TestPlayFlag) {
      ShowErrorScreen("[文字列操作] ﾃｽﾄ専用ｴﾗｰ:絶対ｱﾄﾞﾚｽ指定か上位ﾌｫﾙﾀﾞ指定(..)が行われています。",
                      "ゲームフォルダ外部にはファイル出力できません。", ErrorLocationText());
    }
  } else if (result != 0) {
    ShowErrorScreen("【テキスト出力】 ファイルを出力できませんでした。",
                    "フォルダが存在しないか、アクセス制限されている可能性があります", name);
  }
}

// The most bytes a text entry holds: the field and the buffer that takes
// its text are sized from it.
constexpr int32_t kMaxTextEntryBytes = 65536;

}  // namespace

bool EventInterpreter::DoStringOperation() {
  const EventCommand& command = Current();
  const int32_t flags = Argument(command, 2);
  const int32_t kind = flags & 15;
  int32_t operation = (flags >> 8) & 15;
  if (operation >= 10) operation = 0;
  const int32_t sourceRef = Argument(command, 3);
  const bool indirectTarget = (flags & 0x10) != 0;
  auto targetId = [&] { return indirectTarget ? GetArgValue(Argument(command, 1)) : Argument(command, 1); };

  if (kind == 3 && SystemStateHub.textEntryActive) return false;

  std::string t;
  std::string s;
  if (operation == 1 || operation == 6 || operation == 8 || operation == 9) t = GetArgString(targetId());
  switch (kind) {
    case 0: s = ExpandMessageText(StringArgument(command, 0), mapEventId, commonEventNumber, mapId); break;
    case 1: s = GetArgString(sourceRef); break;
    case 2: s = GetArgString(IsIntegerVariableId(sourceRef) ? GetArgValue(sourceRef) : sourceRef); break;
    case 3: {
      const TextEntryHooks& hooks = CurrentTextEntryHooks();
      const int32_t maxLength = std::clamp(GetArgValue(sourceRef), 0, kMaxTextEntryBytes);
      const int32_t target = targetId();
      hooks.setDefaultFontSize(RootRunner.messageFontSize * (TileUnit == 16 ? 2 : 1));
      const int handle = hooks.createTextInput(maxLength, (flags & 0x1000) ? 1 : 0, 0, 0);
      if (handle <= 0) {
        // No field: the entry ends at once as cancelled.
        RootRunner.textEntryResult = -1;
        SetVariableString(target, t);
        return true;
      }
      SystemStateHub.textEntryActive = 1;
      RootRunner.textEntryResult = 1;
      textInput.handle = handle;
      textInputMaxLength = maxLength;
      hooks.activateTextInput(handle);
      if (flags & 0x2000) {
        std::string current = GetArgString(target);
        if (current.size() > static_cast<size_t>(maxLength)) {
          size_t cut = static_cast<size_t>(maxLength);
          if (cut > 0 && ShiftJisPositionState(current.c_str(), maxLength - 1) == kLeadByte) --cut;
          current.resize(cut);
        }
        hooks.setTextInputText(current.c_str(), handle);
      }
      textInputTarget = target;
      textInputText = t;
      t.clear();
      break;
    }
    default: break;
  }

  // The variable a cut takes its rest from, for sources 1 and 2.
  auto cutSource = [&](bool indirect) { return kind == 2 && indirect ? GetArgValue(sourceRef) : sourceRef; };
  switch (operation) {
    case 2:
      RemoveCarriageReturns(s);
      CutFirstLine(s);
      break;
    case 3: {
      RemoveCarriageReturns(s);
      const std::string rest = CutFirstLine(s);
      if (kind == 1 || kind == 2) SetVariableString(cutSource(IsIntegerVariableId(sourceRef)), rest);
      break;
    }
    case 4: {
      const size_t n = std::min<size_t>(!s.empty() && IsShiftJisLeadByte(static_cast<uint8_t>(s[0])) ? 2 : 1, s.size());
      if (kind == 1 || kind == 2) {
        SetVariableString(cutSource(GetArgString(sourceRef) == "<<ERROR>>"), s.substr(n));
      }
      s.resize(n);
      break;
    }
    case 5: s = ReadTextFile(RewriteEscapes(s)); break;
    case 6: WriteTextFile(s, t); return true;
    case 7: s = ListFolder(s); break;
    case 8:
      if (!s.empty()) t = RemoveAll(t, s);
      s.clear();
      break;
    case 9:
      if (!s.empty()) t = ReplaceAll(t, s, StringArgument(command, 1));
      s.clear();
      break;
    default: break;
  }

  s = ExpandMessageText(s, mapEventId, commonEventNumber, mapId);
  const std::string result = t + s;
  const int32_t target = targetId();
  if (IsIntegerVariableId(target)) {
    SetVariableValue(target, ReadTextNumber(result.data(), result.size()));
  } else {
    SetVariableString(target, result);
  }
  return true;
}
