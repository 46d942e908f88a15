#include "engine/data/CommonEvent.h"

#include <algorithm>

#include "runtime/Movan.h"

namespace {

constexpr int32_t kStringLimit = 512;
constexpr uint8_t kRecordComplete = 0x8E;
constexpr uint8_t kTablesFollow = 0x8F;
constexpr uint8_t kEndByte = 0x8F;

void ReportVersionMismatch() {
  ShowMessageBox(
      "コモンイベントファイルの読み込みに失敗しました。\r\nデータのバージョンが違う可能性があります、最新ツールでロードしてください。",
      "読み込み失敗");
}

bool ReadCommands(ByteCursor& in, EventCommandList& commands) {
  int32_t count = 0;
  return in.ReadCount(count, EventCommandList::kSmallestRecordBytes) && commands.Read(in, count);
}

bool ReadArgumentTables(ByteCursor& in, CommonEvent& event) {
  const auto readTexts = [](ByteCursor& c, std::vector<std::string>& texts) {
    return c.ReadStringListPrefix(texts, kStringLimit) >= 0;
  };
  const auto readValues = [](ByteCursor& c, std::vector<int32_t>& values) { return c.ReadI32ListPrefix(values) >= 0; };
  // The settings alone replace their list.
  return in.ReadStringListPrefix(event.argumentNames, kStringLimit) >= 0 && in.ReadByteList(event.argumentSettings) &&
         in.ReadListPrefix(event.argumentOptionTexts, 4, ByteCursor::kNoLimit, readTexts) >= 0 &&
         in.ReadListPrefix(event.argumentOptionValues, 4, ByteCursor::kNoLimit, readValues) >= 0 &&
         in.ReadI32ListPrefix(event.argumentDefaults) >= 0;
}

}  // namespace

CommonEvent::CommonEvent() { InsertCommand(0); }

void CommonEvent::InsertCommand(int32_t n) {
  commands.Insert(static_cast<size_t>(std::clamp<int64_t>(n, 0, static_cast<int64_t>(commands.size()))), CommandRecord{});
}

bool CommonEvent::Read(ByteCursor& in) {
  uint8_t recordByte = 0;
  if (!in.ReadU8(recordByte) || !in.ReadI32(number) || !in.ReadU8(trigger) || !in.ReadI32(conditionVariable) ||
      !in.ReadI32(conditionValue) || !in.ReadBytes(optionBytes.data(), 2) || !in.ReadString(name, kStringLimit) ||
      !ReadCommands(in, commands)) {
    return false;
  }
  const int32_t extraCount = in.ReadByteListPrefix(extraBytes);
  if (extraCount < 0) return false;
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
