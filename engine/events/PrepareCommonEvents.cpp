#include "engine/events/PrepareCommonEvents.h"

#include <string>

#include "engine/data/CommonEventList.h"
#include "engine/data/database/Databases.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/variables/VariableId.h"
#include "engine/events/variables/VariableStore.h"

namespace {

int32_t Code(const EventCommand& command) { return command.arguments.empty() ? 0 : command.arguments[0]; }

int32_t Argument(const EventCommand& command, size_t index) {
  return index < command.arguments.size() ? command.arguments[index] : 0;
}

bool IsFastCode(int32_t code) { return code >= 210000 && code <= 210032 && code % 10 <= 2 && (code / 10) % 10 <= 3; }

void MakePlain(EventCommand& command) {
  command.flowData.clear();
  command.operands.clear();
}

// Prepared operands name only cells of the variable store: a database cell
// keeps the plain form, whose rules for database cells then hold.
bool StoreCell(int32_t id, int32_t commonEventIndex, PreparedOperand& out) {
  const IntegerVariableCell cell = GetIntegerVariablePointer(id, commonEventIndex);
  if (cell.kind != IntegerVariableCell::kNumberedSet && cell.kind != IntegerVariableCell::kCommonSelf) return false;
  out = PreparedOperand::Cell(cell);
  return true;
}

bool ValueOperand(int32_t argument, int32_t commonEventIndex, PreparedOperand& out) {
  if (argument < 1000000) {
    out = PreparedOperand::Literal(argument);
    return true;
  }
  return StoreCell(argument, commonEventIndex, out);
}

void PrepareVariableOperation(EventCommand& command, int32_t e) {
  MakePlain(command);
  command.arguments[0] = 121;
  const int32_t target = Argument(command, 1);
  const int32_t a = Argument(command, 2);
  const int32_t b = Argument(command, 3);
  const int32_t flags = Argument(command, 4);
  if (target >= 1000000000 || (flags & 0xFF) || (flags & 0x10000)) return;
  for (int32_t operand : {a, b}) {
    if (operand >= 1000000000 || !IsIntegerVariableId(operand)) return;
  }
  std::vector<PreparedOperand> operands(3);
  if (!StoreCell(target, e, operands[0]) || !ValueOperand(a, e, operands[1]) || !ValueOperand(b, e, operands[2])) return;
  const int32_t assign = (flags >> 8) & 15;
  const int32_t calc = (flags >> 12) & 15;
  command.flowData = {(calc <= 1 && b == 0) ? 2 : 1, assign, calc, 0, 0, 0, 0, 0};
  command.operands = std::move(operands);
  if (assign <= 3 && calc <= 2) command.arguments[0] = 210000 + 10 * assign + calc;
}

void PrepareNumberBranch(std::vector<EventCommand>& list, size_t i, int32_t e) {
  EventCommand& command = list[i];
  MakePlain(command);
  const int32_t n = Argument(command, 1) & 15;
  if (n > 3) return;
  std::vector<int32_t> flow(9, 0);
  std::vector<PreparedOperand> operands(static_cast<size_t>(2 * n));
  flow[1] = n;
  for (int32_t k = 0; k < n; ++k) {
    const size_t base = 2 + 3 * static_cast<size_t>(k);
    const int32_t left = Argument(command, base);
    const int32_t right = Argument(command, base + 1);
    const int32_t flags = Argument(command, base + 2);
    if (left >= 1100000000 || !StoreCell(left, e, operands[2 * static_cast<size_t>(k)])) return;
    PreparedOperand& r = operands[2 * static_cast<size_t>(k) + 1];
    if ((flags & 0x10) || right < 1000000) {
      r = PreparedOperand::Literal(right);
    } else if (!StoreCell(right, e, r)) {
      return;
    }
    flow[2 + static_cast<size_t>(k)] = flags & 15;
  }
  // The cases up to the branch end at the same indent; every target must
  // exist, else the branch keeps its plain form.
  const uint8_t indent = command.indent;
  std::vector<size_t> caseLines;
  int32_t found = 0;
  int32_t elseLine = -1;
  size_t end = 0;
  for (size_t j = i + 1; j < list.size(); ++j) {
    if (list[j].indent != indent) continue;
    const int32_t code = Code(list[j]);
    if ((code == 420 || code == 499) && elseLine < 0) elseLine = static_cast<int32_t>(j);
    if (code == 499) {
      end = j;
      break;
    }
    if (code == 401 && found < 3) flow[5 + static_cast<size_t>(found++)] = static_cast<int32_t>(j);
    if ((code == 401 || code == 420) && caseLines.size() < 5) caseLines.push_back(j);
  }
  if (end == 0 || found < n) return;
  flow[8] = elseLine;
  flow[0] = 1;
  for (size_t line : caseLines) list[line].flowData = {2, static_cast<int32_t>(end)};
  command.flowData = std::move(flow);
  command.operands = std::move(operands);
}

void PrepareLabelJump(std::vector<EventCommand>& list, size_t i) {
  EventCommand& command = list[i];
  MakePlain(command);
  if (command.strings.empty() || command.strings[0].find('\\') != std::string::npos) return;
  std::vector<int32_t> flow = {0, -1, 0};
  for (size_t j = 0; j < list.size(); ++j) {
    const int32_t code = Code(list[j]);
    if (code == 170 || code == 179) {
      if (flow[2] >= static_cast<int32_t>(EventInterpreter::kMaxOpenLoops)) {
        flow.erase(flow.begin() + 3, flow.begin() + 5);
        --flow[2];
      }
      flow.push_back(list[j].indent);
      flow.push_back(code == 170 ? 2000000000 : 0);
      ++flow[2];
    } else if (code == 498 || code == 498000 || code == 498001) {
      if (flow[2] > 0) {
        flow.resize(flow.size() - 2);
        --flow[2];
      }
    } else if (code == 212 && !list[j].strings.empty() && list[j].strings[0] == command.strings[0]) {
      flow[1] = static_cast<int32_t>(j);
      flow[0] = 1;
      command.flowData = std::move(flow);
      return;
    }
  }
}

void PrepareDatabaseOperation(EventCommand& command, int32_t e) {
  MakePlain(command);
  if (command.arguments.size() < 6) return;
  int32_t& flags = command.arguments[4];
  const int32_t d = (flags >> 8) & 15;
  if (d > 2) return;
  const DatabaseNames& names = DatabaseNameTables[static_cast<size_t>(d)];
  auto string = [&](size_t index) -> const std::string* {
    return index < command.strings.size() ? &command.strings[index] : nullptr;
  };
  if ((flags & 0xF0000) && command.strings.size() >= 2) {
    if ((flags & 0x10000) && string(1)) {
      auto found = names.types.find(*string(1));
      if (found != names.types.end()) {
        command.arguments[1] = found->second;
        flags &= ~0x10000;
      }
    }
    const int32_t type = command.arguments[1];
    if (type >= 0 && type < 1000000) {
      const size_t t = static_cast<size_t>(type);
      if ((flags & 0x20000) && string(2) && t < names.data.size()) {
        auto found = names.data[t].find(*string(2));
        if (found != names.data[t].end()) {
          command.arguments[2] = found->second;
          flags &= ~0x20000;
        }
      }
      if ((flags & 0x40000) && string(3) && t < names.items.size()) {
        auto found = names.items[t].find(*string(3));
        if (found != names.items[t].end()) {
          command.arguments[3] = found->second;
          flags &= ~0x40000;
        }
      }
    }
  }
  const int32_t type = command.arguments[1];
  const int32_t data = command.arguments[2];
  const int32_t item = command.arguments[3];
  const int32_t operand = command.arguments[5];
  const Database& db = *SelectDatabase(d);
  if ((flags & 0x70000) || (flags & 15) || ((flags >> 4) & 15) > 7) return;
  if (type < 0 || type >= 1000000 || item < 0 || item >= 1000000 || data < 0) return;
  if (operand >= 1000000000 || !IsIntegerVariableId(operand)) return;
  if (type >= db.GetTypeCount() || item >= db.GetItemCount(type) || db.GetItemKind(type, item) != 1) return;
  std::vector<PreparedOperand> operands(3);
  operands[0].kind = PreparedOperand::kDatabase;
  operands[0].literal = d;
  if (!ValueOperand(data, e, operands[1]) || !ValueOperand(operand, e, operands[2])) return;
  const int32_t code = db.typeData[static_cast<size_t>(type)].ItemCodes()[static_cast<size_t>(item)];
  command.flowData = {1, code % 1000, (flags >> 4) & 15, (flags >> 12) & 15, data < db.GetDataCount(type) ? 1 : 0};
  command.operands = std::move(operands);
}

}  // namespace

void PrepareCommandList(std::vector<EventCommand>& list, int32_t e) {
  for (EventCommand& command : list) {
    MakePlain(command);
    if (IsFastCode(Code(command))) command.arguments[0] = 121;
  }
  for (size_t i = 0; i < list.size(); ++i) {
    EventCommand& command = list[i];
    switch (Code(command)) {
      case 401:
      case 420:
        if (command.flowData.empty()) {
          for (size_t j = i + 1; j < list.size(); ++j) {
            if (list[j].indent == command.indent) {
              command.flowData = {1, static_cast<int32_t>(j)};
              break;
            }
          }
        }
        break;
      case 498:
        for (size_t j = i; j-- > 0;) {
          if (list[j].indent == command.indent) {
            command.flowData = {1, static_cast<int32_t>(j)};
            break;
          }
        }
        break;
      case 111: PrepareNumberBranch(list, i, e); break;
      case 121: PrepareVariableOperation(command, e); break;
      case 213: PrepareLabelJump(list, i); break;
      case 250: PrepareDatabaseOperation(command, e); break;
      default: break;
    }
  }
}

void PrepareCommonEvents() {
  for (CommonEvent& event : CommonEvents.events) PrepareCommandList(event.commands, event.number);
}
