#pragma once
// Builds event command lists in the editor's shape for tests, fuzzing and
// benchmarks: commands at the current indent, blocks opened and closed with
// their end commands, and the end command last.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "engine/data/map/EventCommandList.h"

// Flag words of the variable operation.
inline constexpr int32_t VariableFlags(int32_t assign, int32_t calc, int32_t extra = 0) {
  return (assign << 8) | (calc << 12) | extra;
}

struct BranchCondition {
  int32_t left;
  int32_t right;
  int32_t kind;  // 0 >, 1 >=, 2 =, 3 <=, 4 <, 5 !=, 6 bits
  bool literal = false;
};

class CommandListBuilder {
 public:
  CommandListBuilder& Add(std::vector<int32_t> arguments, std::vector<std::string> strings = {});
  CommandListBuilder& Indent();
  CommandListBuilder& Outdent();

  // 121: target = target (assign) (a (calc) b).
  CommandListBuilder& Variable(int32_t target, int32_t a, int32_t b, int32_t assign, int32_t calc, int32_t extraFlags = 0,
                               int32_t rangeCount = 0);
  // 111 followed by Case(1): the body of condition 1 comes next.
  CommandListBuilder& Branch(std::initializer_list<BranchCondition> conditions);
  // Closes the open body and opens the body of case n (401; 0 with 420).
  CommandListBuilder& Case(int32_t n);
  CommandListBuilder& ElseCase();
  // Closes the open body and writes the branch end 499.
  CommandListBuilder& EndBranch();
  // 170 or 179 n, and the body.
  CommandListBuilder& Loop();
  CommandListBuilder& LoopCount(int32_t n);
  // Closes the body and writes 498.
  CommandListBuilder& EndLoop();
  CommandListBuilder& Label(const std::string& name);
  CommandListBuilder& Jump(const std::string& name);
  // 250 with its arguments.
  CommandListBuilder& Database(int32_t type, int32_t data, int32_t item, int32_t flags, int32_t operand,
                               std::vector<std::string> strings = {});

  // The list with the end command.
  EventCommandList Build() const;

 private:
  std::vector<CommandRecord> commands_;
  int32_t indent_ = 0;
};

// Draws the choices of a generated list from bytes (a fuzzer's input) or
// from a seed; both give the same lists for the same stream.
class ChoiceSource {
 public:
  explicit ChoiceSource(uint64_t seed) : seed_(seed) {}
  ChoiceSource(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  // A value in 0..bound-1 (0 once the bytes run out).
  uint32_t Next(uint32_t bound);
  bool Exhausted() const { return data_ && at_ >= size_; }

 private:
  const uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t at_ = 0;
  uint64_t seed_ = 0;
};

// A structured list over integer variables 2000000-2000007 and the common
// self variables 1600000-1600007, with branches, counted loops, breaks,
// forward label jumps and database operations on variable-database type 0
// (records 0-3, item 0). Every arithmetic result is masked to 0..16383, so
// that no sum or product leaves the range where wrapping and saturating
// agree.
EventCommandList GenerateCommandList(ChoiceSource& choices, int32_t maxCommands);

// The same shape without masks or limits on the arguments: any code, any
// flag word, any operand (for fuzzing).
EventCommandList GenerateWildCommandList(ChoiceSource& choices, int32_t maxCommands);
