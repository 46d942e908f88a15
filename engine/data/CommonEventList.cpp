#include "engine/data/CommonEventList.h"

#include <algorithm>
#include <vector>

#include "engine/data/file/DataFileFrame.h"
#include "engine/data/file/FileBuffer.h"
#include "engine/services/DataFolder.h"
#include "runtime/Movan.h"

CommonEventList CommonEvents;

namespace {

constexpr int32_t kCommonEventsHeaderBytes = 10;
constexpr uint8_t kFrameByte = 0x8F;
constexpr int32_t kCommonFileMagic = 0x030C386C;

bool ReportUnreadable() {
  ShowMessageBox("コモンイベントデータの読み込みに失敗しました", "読み込みエラー");
  return false;
}

// A copy of a held event for a record to be read over, so that the held one
// stays whole when the record is damaged. A record replaces the command list
// entirely: the held commands are set aside and put back, not copied.
CommonEvent CopyToReadOver(CommonEvent& held) {
  EventCommandList commands = std::move(held.commands);
  CommonEvent copy = held;
  held.commands = std::move(commands);
  return copy;
}

}  // namespace

CommonEventList::CommonEventList() { Resize(10); }

void CommonEventList::Resize(int32_t n) {
  events.resize(static_cast<size_t>(n < 0 ? 0 : n));
  for (size_t i = 0; i < events.size(); ++i) events[i].number = static_cast<int32_t>(i);
}

void CommonEventList::RebuildNameMap() {
  nameMap.clear();
  for (int32_t number = Count() - 1; number >= 0; --number) {
    const std::string& name = events[static_cast<size_t>(number)].name;
    if (!name.empty()) nameMap[name] = number;
  }
}

bool CommonEventList::LoadCommonEvents(const std::string& fileName) {
  const std::string path = DataFolder() + fileName;
  FileBuffer file;
  if (!file.Load(path.c_str())) return ReportUnreadable();
  return ReadCommonEventsFile(file, path);
}

bool CommonEventList::ReadCommonEventsFile(ByteCursor& file, const std::string& path) {
  commonFileRegistry.clear();
  DataFileFrame frame;
  uint8_t frameByte = 0;
  int32_t count = 0;
  if (!OpenDataFileFrame(file, kCommonEventsHeaderBytes, kDataFileSeeds, frame) || !file.ReadU8(frameByte) ||
      frameByte != kFrameByte || !file.ReadCount(count, CommonEvent::kSmallestRecordBytes, kMaxCount)) {
    return ReportUnreadable();
  }
  // The list grows as records are read, so a damaged file has built no more
  // than it held; it ends count long either way.
  if (count < Count()) Resize(count);
  for (int32_t j = 0; j < count; ++j) {
    // A record is taken only when it was read whole.
    const bool held = j < Count();
    CommonEvent event = held ? CopyToReadOver(events[static_cast<size_t>(j)]) : CommonEvent{};
    if (!event.Read(file)) {
      Resize(count);
      return ReportUnreadable();
    }
    event.number = j;
    if (held) {
      events[static_cast<size_t>(j)] = std::move(event);
    } else {
      events.push_back(std::move(event));
    }
  }
  if (!file.ReadU8(frameByte) || frameByte != kFrameByte) return ReportUnreadable();
  TestDataFileChecksum(path, file, frame);
  return true;
}

int32_t CommonEventList::ReadCommonEventFile(const std::string& path, int32_t first, bool readRecords) {
  FileBuffer file;
  if (!file.Load(path.c_str())) return -1;
  return ReadCommonEventFile(file, first, readRecords);
}

int32_t CommonEventList::ReadCommonEventFile(ByteCursor& file, int32_t first, bool readRecords) {
  int32_t magic = 0;
  int32_t count = 0;
  if (first < 0 || !file.ReadI32(magic) || magic != kCommonFileMagic ||
      !file.ReadCount(count, CommonEvent::kSmallestRecordBytes)) {
    return -1;
  }
  const int64_t end = int64_t{first} + count;
  // Entries already held may be read over; the list grows no further than
  // the limit.
  if (end > std::max<int64_t>(Count(), kMaxCount)) return -1;
  // Records are read aside first, so that a damaged file changes nothing.
  std::vector<CommonEvent> read;
  if (readRecords) {
    read.reserve(static_cast<size_t>(count));
    for (int32_t i = 0; i < count; ++i) {
      const size_t at = static_cast<size_t>(first + i);
      read.push_back(at < events.size() ? CopyToReadOver(events[at]) : CommonEvent{});
      if (!read.back().Read(file)) return -1;
    }
  }
  if (end > Count()) Resize(static_cast<int32_t>(end));
  for (int32_t i = 0; i < static_cast<int32_t>(read.size()); ++i) {
    CommonEvent& entry = events[static_cast<size_t>(first + i)];
    entry = std::move(read[static_cast<size_t>(i)]);
    entry.number = first + i;
  }
  return count;
}
