#include "engine/events/PrepareCommonEvents.h"

#include <span>
#include <string>
#include <vector>

#include "engine/data/CommonEventList.h"
#include "engine/data/database/Databases.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/variables/VariableId.h"
#include "engine/events/variables/VariableStore.h"

namespace {

int32_t Argument(std::span<const int32_t> arguments, size_t index) {
  return index < arguments.size() ? arguments[index] : 0;
}

bool IsFastCode(int32_t code) { return code >= 210000 && code <= 210032 && code % 10 <= 2 && (code / 10) % 10 <= 3; }

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

void PrepareVariableOperation(EventCommandList& list, size_t i, int32_t e) {
  const std::span<int32_t> arguments = list.MutableArguments(i);
  arguments[0] = 121;
  const int32_t target = Argument(arguments, 1);
  const int32_t a = Argument(arguments, 2);
  const int32_t b = Argument(arguments, 3);
  const int32_t flags = Argument(arguments, 4);
  if (target >= 1000000000 || (flags & 0xFF) || (flags & 0x10000)) return;
  for (int32_t operand : {a, b}) {
    if (operand >= 1000000000 || !IsIntegerVariableId(operand)) return;
  }
  PreparedOperand operands[3];
  if (!StoreCell(target, e, operands[0]) || !ValueOperand(a, e, operands[1]) || !ValueOperand(b, e, operands[2])) return;
  const int32_t assign = (flags >> 8) & 15;
  const int32_t calc = (flags >> 12) & 15;
  const int32_t flow[] = {(calc <= 1 && b == 0) ? 2 : 1, assign, calc, 0, 0, 0, 0, 0};
  list.SetPrepared(i, flow, operands);
  if (assign <= 3 && calc <= 2) arguments[0] = 210000 + 10 * assign + calc;
}

void PrepareNumberBranch(EventCommandList& list, size_t i, int32_t e) {
  const EventCommand command = list[i];
  const int32_t n = Argument(command.arguments, 1) & 15;
  if (n > 3) return;
  int32_t flow[9] = {};
  PreparedOperand operands[6];
  flow[1] = n;
  for (int32_t k = 0; k < n; ++k) {
    const size_t base = 2 + 3 * static_cast<size_t>(k);
    const int32_t left = Argument(command.arguments, base);
    const int32_t right = Argument(command.arguments, base + 1);
    const int32_t flags = Argument(command.arguments, base + 2);
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
    if (list.Indent(j) != indent) continue;
    const int32_t code = list.Code(j);
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
  const int32_t caseFlow[] = {2, static_cast<int32_t>(end)};
  for (size_t caseLine : caseLines) list.SetPrepared(caseLine, caseFlow);
  list.SetPrepared(i, flow, std::span<const PreparedOperand>(operands, static_cast<size_t>(2 * n)));
}

void PrepareLabelJump(EventCommandList& list, size_t i) {
  const EventCommand command = list[i];
  if (command.strings.empty() || command.strings[0].find('\\') != std::string::npos) return;
  const std::string& label = command.strings[0];
  std::vector<int32_t> flow = {0, -1, 0};
  for (size_t j = 0; j < list.size(); ++j) {
    const int32_t code = list.Code(j);
    if (code == 170 || code == 179) {
      if (flow[2] >= static_cast<int32_t>(EventInterpreter::kMaxOpenLoops)) {
        flow.erase(flow.begin() + 3, flow.begin() + 5);
        --flow[2];
      }
      flow.push_back(list.Indent(j));
      flow.push_back(code == 170 ? 2000000000 : 0);
      ++flow[2];
    } else if (code == 498 || code == 498000 || code == 498001) {
      if (flow[2] > 0) {
        flow.resize(flow.size() - 2);
        --flow[2];
      }
    } else if (code == 212) {
      const EventCommand target = list[j];
      if (target.strings.empty() || target.strings[0] != label) continue;
      flow[1] = static_cast<int32_t>(j);
      flow[0] = 1;
      list.SetPrepared(i, flow);
      return;
    }
  }
}

void PrepareDatabaseOperation(EventCommandList& list, size_t i, int32_t e) {
  const EventCommand command = list[i];
  if (command.arguments.size() < 6) return;
  const std::span<int32_t> arguments = list.MutableArguments(i);
  int32_t& flags = arguments[4];
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
        arguments[1] = found->second;
        flags &= ~0x10000;
      }
    }
    const int32_t type = arguments[1];
    if (type >= 0 && type < 1000000) {
      const size_t t = static_cast<size_t>(type);
      if ((flags & 0x20000) && string(2) && t < names.data.size()) {
        auto found = names.data[t].find(*string(2));
        if (found != names.data[t].end()) {
          arguments[2] = found->second;
          flags &= ~0x20000;
        }
      }
      if ((flags & 0x40000) && string(3) && t < names.items.size()) {
        auto found = names.items[t].find(*string(3));
        if (found != names.items[t].end()) {
          arguments[3] = found->second;
          flags &= ~0x40000;
        }
      }
    }
  }
  const int32_t type = arguments[1];
  const int32_t data = arguments[2];
  const int32_t item = arguments[3];
  const int32_t operand = arguments[5];
  const Database& db = *SelectDatabase(d);
  if ((flags & 0x70000) || (flags & 15) || ((flags >> 4) & 15) > 7) return;
  if (type < 0 || type >= 1000000 || item < 0 || item >= 1000000 || data < 0) return;
  if (operand >= 1000000000 || !IsIntegerVariableId(operand)) return;
  if (type >= db.GetTypeCount() || item >= db.GetItemCount(type) || db.GetItemKind(type, item) != 1) return;
  PreparedOperand operands[3];
  operands[0].kind = PreparedOperand::kDatabase;
  operands[0].literal = d;
  if (!ValueOperand(data, e, operands[1]) || !ValueOperand(operand, e, operands[2])) return;
  const int32_t code = db.typeData[static_cast<size_t>(type)].ItemCodes()[static_cast<size_t>(item)];
  const int32_t flow[] = {1, code % 1000, (flags >> 4) & 15, (flags >> 12) & 15, data < db.GetDataCount(type) ? 1 : 0};
  list.SetPrepared(i, flow, operands);
}

// The line of the next command at the same indent after i, or before it.
void PrepareJump(EventCommandList& list, size_t i, bool forward) {
  const uint8_t indent = list.Indent(i);
  for (size_t j = i; forward ? ++j < list.size() : j-- > 0;) {
    if (list.Indent(j) == indent) {
      const int32_t flow[] = {1, static_cast<int32_t>(j)};
      list.SetPrepared(i, flow);
      return;
    }
  }
}

}  // namespace

void PrepareCommandList(EventCommandList& list, int32_t e) {
  list.ClearPrepared();
  for (size_t i = 0; i < list.size(); ++i) {
    if (IsFastCode(list.Code(i))) list.MutableArguments(i)[0] = 121;
  }
  for (size_t i = 0; i < list.size(); ++i) {
    switch (list.Code(i)) {
      case 401:
      case 420:
        if (list.FlowData(i).empty()) PrepareJump(list, i, true);
        break;
      case 498: PrepareJump(list, i, false); break;
      case 111: PrepareNumberBranch(list, i, e); break;
      case 121: PrepareVariableOperation(list, i, e); break;
      case 213: PrepareLabelJump(list, i); break;
      case 250: PrepareDatabaseOperation(list, i, e); break;
      default: break;
    }
  }
}

void PrepareCommonEvents() {
  for (CommonEvent& event : CommonEvents.events) PrepareCommandList(event.commands, event.number);
}
