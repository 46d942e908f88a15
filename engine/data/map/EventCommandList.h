#pragma once
// An event command list held in one block: a line per command (indent,
// argument and string counts, offsets) over arrays of all the list's
// integers, strings and routes, so that a list costs a few bytes per command
// beside its contents. Lines are read through views (EventCommand).
//
// The prepared forms (flow data, operands) lie in arrays of their own, made
// only for lists that are prepared for running.

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

#include "engine/data/file/ByteCursor.h"
#include "engine/data/map/EventCommand.h"

class EventCommandList {
 public:
  // The smallest command record: argument count, indent, string count and
  // route flag.
  static constexpr int64_t kSmallestRecordBytes = 4;
  // A line holds at most this many arguments and strings (a file's record
  // holds at most 127).
  static constexpr size_t kMaxPerLine = 255;

  EventCommandList() = default;
  EventCommandList(std::initializer_list<CommandRecord> records);
  EventCommandList(const std::vector<CommandRecord>& records);  // NOLINT: lists are built from records

  size_t size() const { return lines_.size(); }
  bool empty() const { return lines_.empty(); }
  EventCommand operator[](size_t line) const;
  EventCommand front() const { return (*this)[0]; }
  EventCommand back() const { return (*this)[size() - 1]; }

  int32_t Code(size_t line) const {
    const Line& l = lines_[line];
    return l.integerCount ? integers_[static_cast<size_t>(l.firstInteger)] : 0;
  }
  uint8_t Indent(size_t line) const { return lines_[line].indent; }
  std::span<int32_t> MutableArguments(size_t line) {
    const Line& l = lines_[line];
    return {integers_.data() + l.firstInteger, l.integerCount};
  }
  std::span<const int32_t> FlowData(size_t line) const {
    if (prepared_.empty()) return {};
    const Prepared& p = prepared_[line];
    return {flow_.data() + p.firstFlow, static_cast<size_t>(p.flowCount)};
  }
  std::span<const PreparedOperand> Operands(size_t line) const {
    if (prepared_.empty()) return {};
    const Prepared& p = prepared_[line];
    return {operands_.data() + p.firstOperand, static_cast<size_t>(p.operandCount)};
  }

  void push_back(const CommandRecord& record) { Insert(size(), record); }
  // Inserts before line min(at, size()).
  void Insert(size_t at, const CommandRecord& record);
  void clear() { *this = EventCommandList(); }

  // Every line back to its plain form.
  void ClearPrepared();
  void SetPrepared(size_t line, std::span<const int32_t> flow, std::span<const PreparedOperand> operands = {});

  // Marks the last command of a list read from a file with the end code,
  // whatever the file holds there. A list without commands, or a last
  // command without arguments, has nothing to mark.
  void MarkEnd();

  // Reads count command records, which replace the list, and marks the end.
  // The records are checked whole before anything is made, and then the
  // list is made at its exact size. False, with the cursor's overrun flag
  // set and the list empty, when a record is damaged.
  bool Read(ByteCursor& in, int32_t count);

  class Iterator {
   public:
    Iterator(const EventCommandList* list, size_t line) : list_(list), line_(line) {}
    EventCommand operator*() const { return (*list_)[line_]; }
    Iterator& operator++() {
      ++line_;
      return *this;
    }
    bool operator==(const Iterator& other) const { return line_ == other.line_; }

   private:
    const EventCommandList* list_;
    size_t line_;
  };
  Iterator begin() const { return {this, 0}; }
  Iterator end() const { return {this, size()}; }

  // Lines compare by their contents, not by where they are stored.
  bool operator==(const EventCommandList& other) const;

 private:
  struct Line {
    int32_t firstInteger = 0;
    int32_t firstString = 0;
    int32_t route = -1;
    uint8_t integerCount = 0;
    uint8_t stringCount = 0;
    uint8_t indent = 0;
  };
  struct Prepared {
    int32_t firstFlow = 0;
    int32_t flowCount = 0;
    int32_t firstOperand = 0;
    int32_t operandCount = 0;
  };
  struct Totals {
    size_t integers = 0;
    size_t strings = 0;
    size_t routes = 0;
  };

  // Walks count records; with store set, appends them to the list.
  template <bool kStore>
  bool ReadRecords(ByteCursor& in, int32_t count, Totals& totals);

  std::vector<Line> lines_;
  std::vector<int32_t> integers_;
  std::vector<std::string> strings_;
  std::vector<MoveRoute> routes_;
  std::vector<Prepared> prepared_;  // empty, or one per line
  std::vector<int32_t> flow_;
  std::vector<PreparedOperand> operands_;
};
