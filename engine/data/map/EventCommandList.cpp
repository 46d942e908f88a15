#include "engine/data/map/EventCommandList.h"

#include <algorithm>

EventCommandList::EventCommandList(std::initializer_list<CommandRecord> records) {
  for (const CommandRecord& record : records) push_back(record);
}

EventCommandList::EventCommandList(const std::vector<CommandRecord>& records) {
  for (const CommandRecord& record : records) push_back(record);
}

EventCommand EventCommandList::operator[](size_t line) const {
  const Line& l = lines_[line];
  EventCommand command;
  command.arguments = {integers_.data() + l.firstInteger, l.integerCount};
  command.indent = l.indent;
  command.strings = {strings_.data() + l.firstString, l.stringCount};
  if (l.route >= 0) command.routes = {routes_.data() + l.route, 1};
  command.flowData = FlowData(line);
  command.operands = Operands(line);
  return command;
}

void EventCommandList::Insert(size_t at, const CommandRecord& record) {
  // The new line's contents go at the ends of the arrays: lines refer to
  // them by offset, in any order.
  Line l;
  l.firstInteger = static_cast<int32_t>(integers_.size());
  l.integerCount = static_cast<uint8_t>(std::min(record.arguments.size(), kMaxPerLine));
  integers_.insert(integers_.end(), record.arguments.begin(), record.arguments.begin() + l.integerCount);
  l.firstString = static_cast<int32_t>(strings_.size());
  l.stringCount = static_cast<uint8_t>(std::min(record.strings.size(), kMaxPerLine));
  strings_.insert(strings_.end(), record.strings.begin(), record.strings.begin() + l.stringCount);
  if (!record.routes.empty()) {
    l.route = static_cast<int32_t>(routes_.size());
    routes_.push_back(record.routes.front());
  }
  l.indent = record.indent;
  const auto where = static_cast<std::ptrdiff_t>(std::min(at, size()));
  lines_.insert(lines_.begin() + where, l);
  if (!prepared_.empty()) prepared_.insert(prepared_.begin() + where, Prepared{});
}

void EventCommandList::ClearPrepared() {
  prepared_.clear();
  flow_.clear();
  operands_.clear();
}

void EventCommandList::SetPrepared(size_t line, std::span<const int32_t> flow,
                                   std::span<const PreparedOperand> operands) {
  if (prepared_.empty()) prepared_.resize(lines_.size());
  Prepared& p = prepared_[line];
  p.firstFlow = static_cast<int32_t>(flow_.size());
  p.flowCount = static_cast<int32_t>(flow.size());
  flow_.insert(flow_.end(), flow.begin(), flow.end());
  p.firstOperand = static_cast<int32_t>(operands_.size());
  p.operandCount = static_cast<int32_t>(operands.size());
  operands_.insert(operands_.end(), operands.begin(), operands.end());
}

void EventCommandList::MarkEnd() {
  if (!empty() && lines_.back().integerCount) integers_[static_cast<size_t>(lines_.back().firstInteger)] = EventCommand::kEndCode;
}

template <bool kStore>
bool EventCommandList::ReadRecords(ByteCursor& in, int32_t count, Totals& totals) {
  std::string text;
  MoveRoute route;
  for (int32_t i = 0; i < count; ++i) {
    Line l;
    int8_t argumentCount = 0;
    if (!in.ReadI8(argumentCount)) return false;
    if (argumentCount < 0 || !in.CountFits(argumentCount, 4)) return in.Fail();
    l.integerCount = static_cast<uint8_t>(argumentCount);
    if constexpr (kStore) {
      l.firstInteger = static_cast<int32_t>(integers_.size());
      integers_.resize(integers_.size() + l.integerCount);
      if (!in.ReadI32Array(integers_.data() + l.firstInteger, argumentCount)) return false;
    } else {
      totals.integers += l.integerCount;
      if (!in.Seek(int64_t{in.Position()} + 4 * int64_t{argumentCount})) return in.Fail();
    }
    int8_t stringCount = 0;
    if (!in.ReadU8(l.indent) || !in.ReadI8(stringCount)) return false;
    if (stringCount < 0 || !in.CountFits(stringCount, 4)) return in.Fail();
    l.stringCount = static_cast<uint8_t>(stringCount);
    l.firstString = static_cast<int32_t>(strings_.size());
    for (int8_t k = 0; k < stringCount; ++k) {
      if constexpr (kStore) {
        strings_.emplace_back();
        if (!in.ReadString(strings_.back())) return false;
      } else {
        if (!in.ReadString(text)) return false;
      }
    }
    totals.strings += l.stringCount;
    int8_t routeFlag = 0;
    if (!in.ReadI8(routeFlag)) return false;
    if (routeFlag >= 1) {
      if constexpr (kStore) {
        l.route = static_cast<int32_t>(routes_.size());
        routes_.emplace_back();
        if (!routes_.back().Read(in)) return false;
      } else {
        if (!route.Read(in)) return false;
        ++totals.routes;
      }
    }
    if constexpr (kStore) lines_.push_back(l);
  }
  return true;
}

bool EventCommandList::Read(ByteCursor& in, int32_t count) {
  clear();
  if (count < 0 || !in.CountFits(count, kSmallestRecordBytes)) return in.Fail();
  // A first walk checks every record and counts what they hold; only then
  // is room made, exactly what the bytes read have paid for.
  const int32_t start = in.Position();
  Totals totals;
  if (!ReadRecords<false>(in, count, totals)) return false;
  const int32_t end = in.Position();
  lines_.reserve(static_cast<size_t>(count));
  integers_.reserve(totals.integers);
  strings_.reserve(totals.strings);
  routes_.reserve(totals.routes);
  in.Seek(start);
  if (!ReadRecords<true>(in, count, totals) || in.Position() != end) {
    clear();
    return in.Fail();
  }
  MarkEnd();
  return true;
}

bool EventCommandList::operator==(const EventCommandList& other) const {
  if (size() != other.size()) return false;
  const auto same = [](auto a, auto b) { return std::equal(a.begin(), a.end(), b.begin(), b.end()); };
  for (size_t i = 0; i < size(); ++i) {
    const EventCommand a = (*this)[i];
    const EventCommand b = other[i];
    if (a.indent != b.indent || !same(a.arguments, b.arguments) || !same(a.strings, b.strings) ||
        !same(a.routes, b.routes) || !same(a.flowData, b.flowData) || !same(a.operands, b.operands)) {
      return false;
    }
  }
  return true;
}
