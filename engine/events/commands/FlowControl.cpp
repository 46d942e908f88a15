// Branches, cases, loops and label jumps. A block is the run of lines whose
// indent is greater than that of the command opening it.

#include <algorithm>
#include <string>

#include "engine/events/variables/EscapeExpander.h"
#include "engine/events/EventInterpreter.h"
#include "runtime/ShiftJis.h"

namespace {

bool Compare(int32_t kind, int32_t left, int32_t right) {
  switch (kind) {
    case 0: return left > right;
    case 1: return left >= right;
    case 2: return left == right;
    case 3: return left <= right;
    case 4: return left < right;
    case 5: return left != right;
    case 6: return (left & right) == right;
    default: return false;
  }
}

int32_t Argument(const EventCommand& command, size_t index) {
  return index < command.arguments.size() ? command.arguments[index] : 0;
}

const std::string& StringArgument(const EventCommand& command, size_t index) {
  static const std::string kEmpty;
  return index < command.strings.size() ? command.strings[index] : kEmpty;
}

bool CompareTexts(int32_t kind, const std::string& left, const std::string& right) {
  switch (kind) {
    case 0: return left == right;
    case 1: return left != right;
    // A match never starts on the second half of a two-byte character.
    case 2:
      return right.empty() || ShiftJisFind(left.data(), left.size(), right.data(), right.size()) != left.size();
    default: return false;
  }
}

}  // namespace

// The plain form's result: 0, or the first condition that holds.
int32_t EventInterpreter::NumberBranchResult(const EventCommand& command) {
  const int32_t n = Argument(command, 1) & 15;
  for (int32_t k = 0; k < n; ++k) {
    const size_t base = 2 + 3 * static_cast<size_t>(k);
    const int32_t flags = Argument(command, base + 2);
    const int32_t left = GetArgValue(Argument(command, base));
    const int32_t right = (flags & 0x10) ? Argument(command, base + 1) : GetArgValue(Argument(command, base + 1));
    if (Compare(flags & 15, left, right)) return k + 1;
  }
  return 0;
}

bool EventInterpreter::NumberBranchPrepared(const EventCommand& command) {
  const std::span<const int32_t> flow = command.flowData;
  const int32_t n = flow[1];
  const int32_t count = static_cast<int32_t>(CommandList()->size());
  int32_t result = 0;
  int32_t* cells[6];
  bool resolved = true;
  for (int32_t i = 0; i < 2 * n && resolved; ++i) {
    cells[i] = OperandCell(command.operands[static_cast<size_t>(i)]);
    resolved = cells[i] != nullptr;
  }
  if (resolved) {
    for (int32_t k = 0; k < n; ++k) {
      if (Compare(flow[static_cast<size_t>(2 + k)], *cells[2 * k], *cells[2 * k + 1])) {
        result = k + 1;
        break;
      }
    }
  } else {
    // A cell went away: the plain reads decide, the prepared jumps still
    // hold (the cases after the bodies jump to the branch end).
    result = NumberBranchResult(command);
  }
  const int32_t target = result > 0 ? flow[static_cast<size_t>(4 + result)] : flow[8];
  if (!IsJumpTarget(target, count)) return false;
  branchResults[command.indent] = kTakenCase;
  line = target;
  return true;
}

bool EventInterpreter::DoNumberBranch() {
  const EventCommand command = Current();
  if (command.flowData.size() == 9 && command.flowData[1] >= 0 && command.flowData[1] <= 3 &&
      command.operands.size() == static_cast<size_t>(2 * command.flowData[1]) && NumberBranchPrepared(command)) {
    return true;
  }
  branchResults[command.indent] = NumberBranchResult(command);
  return true;
}

bool EventInterpreter::DoStringBranch() {
  const EventCommand& command = Current();
  const int32_t n = Argument(command, 1) & 15;
  int32_t result = 0;
  for (int32_t k = 0; k < n; ++k) {
    const uint32_t word = static_cast<uint32_t>(Argument(command, 2 + static_cast<size_t>(k)));
    const std::string left = GetArgString(static_cast<int32_t>(word & 0xFFFFFF));
    const std::string right = ((word >> 24) & 15) == 0 ? StringArgument(command, static_cast<size_t>(k))
                                                       : GetArgString(Argument(command, 2 + static_cast<size_t>(n + k)));
    if (CompareTexts(static_cast<int32_t>(word >> 28), left, right)) {
      result = k + 1;
      break;
    }
  }
  branchResults[command.indent] = result;
  return true;
}

bool EventInterpreter::DoCase() {
  const EventCommand& command = Current();
  const int32_t code = command.arguments[0];
  const int32_t count = static_cast<int32_t>(CommandList()->size());
  const bool prepared = (code == 401 || code == 420) && command.flowData.size() >= 2 &&
                        IsJumpTarget(command.flowData[1] - 1, count);
  if (prepared && command.flowData[0] == 2) {
    line = command.flowData[1] - 1;
    return true;
  }
  if (branchResults[command.indent] == Argument(command, 1)) {
    branchResults[command.indent] = kTakenCase;
    return true;
  }
  if (prepared && command.flowData[0] == 1) {
    line = command.flowData[1] - 1;
    return true;
  }
  return SkipToSameIndent();
}

bool EventInterpreter::DoBranchEnd() {
  branchResults[Current().indent] = kTakenCase;
  return true;
}

void EventInterpreter::PushLoop(int32_t indent, int32_t remaining) {
  if (loopStack.size() >= kMaxOpenLoops) loopStack.erase(loopStack.begin());
  loopStack.push_back({indent, remaining});
}

bool EventInterpreter::DoLoop() {
  PushLoop(Current().indent, 2000000000);
  return true;
}

bool EventInterpreter::DoLoopCount() {
  const EventCommand& command = Current();
  const int32_t n = GetArgValue(Argument(command, 1));
  PushLoop(command.indent, n <= 0 ? 0 : n - 1);
  if (GetArgValue(Argument(command, 1)) <= 0) BreakLoop();
  return true;
}

void EventInterpreter::BreakLoop() {
  if (loopStack.empty()) return;
  const EventCommandList& list = *CommandList();
  const int32_t last = static_cast<int32_t>(list.size()) - 1;
  const int32_t indent = loopStack.back().indent;
  for (int32_t i = line + 1; i < last; ++i) {
    const EventCommand& c = list[static_cast<size_t>(i)];
    const int32_t code = c.arguments.empty() ? 0 : c.arguments[0];
    if (c.indent == indent && (code == 498 || code / 1000 == 498)) {
      line = i;
      loopStack.pop_back();
      return;
    }
  }
}

bool EventInterpreter::DoBreakLoop() {
  BreakLoop();
  return true;
}

void EventInterpreter::LoopBack() {
  const EventCommandList& list = *CommandList();
  const int32_t indent = loopStack.back().indent;
  --loopStack.back().remaining;
  // A stack that does not match the list stops at the first line.
  while (line > 0) {
    --line;
    if (list.Indent(static_cast<size_t>(line)) == indent) return;
  }
}

bool EventInterpreter::DoLoopAgain() {
  if (loopStack.empty()) return true;
  if (loopStack.back().remaining > 0) {
    LoopBack();
  } else {
    BreakLoop();
  }
  return true;
}

bool EventInterpreter::DoLoopEnd() {
  if (loopStack.empty()) return true;
  if (loopStack.back().remaining <= 0) {
    loopStack.pop_back();
    return true;
  }
  const EventCommandList& list = *CommandList();
  const uint8_t indent = list.Indent(static_cast<size_t>(line));
  --loopStack.back().remaining;
  while (line > 0) {
    --line;
    if (list.Indent(static_cast<size_t>(line)) == indent) break;
  }
  return true;
}

std::string EventInterpreter::LabelName(const EventCommand& command) {
  const std::string& name = StringArgument(command, 0);
  // Only names that hold escape codes or a leading number line change (and
  // have effects) when expanded.
  if (name.find('\\') == std::string::npos && (name.empty() || name[0] != '@')) return name;
  return ExpandMessageText(name, mapEventId, commonEventNumber, mapId, false, false, "", "", true);
}

bool EventInterpreter::DoJumpToLabel() {
  const EventCommand command = Current();
  const EventCommandList& list = *CommandList();
  const int32_t count = static_cast<int32_t>(list.size());
  const std::span<const int32_t> flow = command.flowData;
  if (flow.size() >= 3 && flow[0] == 1 && IsJumpTarget(flow[1], count) && flow[2] >= 0 &&
      flow.size() == 3 + 2 * static_cast<size_t>(flow[2])) {
    loopStack.clear();
    for (int32_t k = 0; k < flow[2]; ++k) PushLoop(flow[3 + 2 * static_cast<size_t>(k)], flow[4 + 2 * static_cast<size_t>(k)]);
    line = flow[1];
    return true;
  }
  loopStack.clear();
  const std::string name = LabelName(command);
  for (int32_t i = 0; i < count - 1; ++i) {
    const EventCommand& c = list[static_cast<size_t>(i)];
    const int32_t code = c.arguments.empty() ? 0 : c.arguments[0];
    if (code == 170) {
      PushLoop(c.indent, 2000000000);
    } else if (code == 179) {
      PushLoop(c.indent, 0);
    } else if (code == 498) {
      if (!loopStack.empty()) loopStack.pop_back();
    } else if (code == 212 && LabelName(c) == name) {
      line = i;
      return true;
    }
  }
  return true;
}
