#include "engine/data/CommonEvent.h"

#include <algorithm>

#include "runtime/host/MessageBox.h"

namespace {

constexpr int32_t kStringLimit = 512;
constexpr uint8_t kRecordComplete = 0x8E;
constexpr uint8_t kTablesFollow = 0x8F;
constexpr uint8_t kEndByte = 0x8F;

void ReportVersionMismatch() {
  HostMessageBox(
      "コモンイベントファイルの読み込みに失敗しました。\r\nデータのバージョンが違う可能性があります、最新ツールでロードしてください。",
      "読み込み失敗");
}

template <typename T>
void GrowTo(std::vector<T>& list, int32_t count) {
  if (list.size() < static_cast<size_t>(count)) list.resize(static_cast<size_t>(count));
}

bool ReadStringsPrefix(ByteCursor& in, std::vector<std::string>& list, int32_t limit) {
  int32_t count = 0;
  if (!in.ReadCount(count, 4)) return false;
  GrowTo(list, count);
  for (int32_t i = 0; i < count; ++i) {
    if (!in.ReadString(list[static_cast<size_t>(i)], limit)) return false;
  }
  return true;
}

bool ReadIntsPrefix(ByteCursor& in, std::vector<int32_t>& list) {
  int32_t count = 0;
  if (!in.ReadCount(count, 4)) return false;
  GrowTo(list, count);
  return in.ReadI32Array(list.data(), count);
}

bool ReadCommands(ByteCursor& in, std::vector<EventCommand>& commands) {
  int32_t count = 0;
  if (!in.ReadCount(count, EventCommand::kSmallestRecordBytes)) return false;
  commands.assign(static_cast<size_t>(count), EventCommand{});
  for (EventCommand& command : commands) {
    if (!command.Read(in)) return false;
  }
  MarkCommandListEnd(commands);
  return true;
}

bool ReadArgumentTables(ByteCursor& in, CommonEvent& event) {
  if (!ReadStringsPrefix(in, event.argumentNames, kStringLimit)) return false;
  event.argumentSettings.clear();
  if (!in.ReadByteListPrefix(event.argumentSettings)) return false;

  int32_t count = 0;
  if (!in.ReadCount(count, 4)) return false;
  GrowTo(event.argumentOptionTexts, count);
  for (int32_t i = 0; i < count; ++i) {
    if (!ReadStringsPrefix(in, event.argumentOptionTexts[static_cast<size_t>(i)], kStringLimit)) return false;
  }
  if (!in.ReadCount(count, 4)) return false;
  GrowTo(event.argumentOptionValues, count);
  for (int32_t i = 0; i < count; ++i) {
    if (!ReadIntsPrefix(in, event.argumentOptionValues[static_cast<size_t>(i)])) return false;
  }
  return ReadIntsPrefix(in, event.argumentDefaults);
}

}  // namespace

CommonEvent::CommonEvent() { InsertCommand(0); }

void CommonEvent::InsertCommand(int32_t n) {
  const int64_t at = std::clamp<int64_t>(n, 0, static_cast<int64_t>(commands.size()));
  commands.insert(commands.begin() + at, EventCommand{});
}

bool CommonEvent::Read(ByteCursor& in) {
  uint8_t recordByte = 0;
  if (!in.ReadU8(recordByte) || !in.ReadI32(number) || !in.ReadU8(trigger) || !in.ReadI32(conditionVariable) ||
      !in.ReadI32(conditionValue) || !in.ReadBytes(optionBytes.data(), 2) || !in.ReadString(name, kStringLimit) ||
      !ReadCommands(in, commands)) {
    return false;
  }
  int32_t extraCount = 0;
  if (!in.ReadCount(extraCount, 1)) return false;
  GrowTo(extraBytes, extraCount);
  if (!in.ReadBytes(extraBytes.data(), extraCount)) return false;
  if (extraCount >= 1 && !in.ReadString(extraText, kStringLimit)) return false;

  uint8_t format = 0;
  if (!in.ReadU8(format)) return false;
  if (format == kRecordComplete) return true;
  if (format != kTablesFollow) ReportVersionMismatch();
  uint8_t endByte = 0;
  if (!ReadArgumentTables(in, *this) || !in.ReadU8(endByte)) return false;
  if (endByte != kEndByte) ReportVersionMismatch();
  return true;
}
