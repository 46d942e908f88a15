// The database operation: writes a value, a variable or a text into a
// database cell, reads a cell or a count into a variable, resets records.

#include <cstdio>
#include <string>

#include "engine/data/database/Databases.h"
#include "engine/events/variables/EscapeExpander.h"
#include "engine/events/EventArithmetic.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/variables/VariableId.h"
#include "engine/services/DecimalText.h"
#include "engine/services/ErrorLocation.h"
#include "engine/services/ErrorScreen.h"

namespace {

int32_t Argument(const EventCommand& command, size_t index) {
  return index < command.arguments.size() ? command.arguments[index] : 0;
}

const std::string& StringArgument(const EventCommand& command, size_t index) {
  static const std::string kEmpty;
  return index < command.strings.size() ? command.strings[index] : kEmpty;
}

bool IsIntegerId(int64_t id) { return !IsVariableIdInRange(id) || IsIntegerVariableId(static_cast<int32_t>(id)); }

constexpr int64_t kCellBase[3] = {1100000000, 1300000000, 1000000000};

// The operators of the general form; a divisor of 0 counts as 1.
int32_t Apply(int32_t op, int32_t cur, int32_t v) {
  switch (op) {
    case 0: return v;
    case 1: return WrappingAdd(cur, v);
    case 2: return WrappingSub(cur, v);
    case 3: return WrappingMul(cur, v);
    case 4: return WrappingDiv(cur, v == 0 ? 1 : v);
    case 5: return WrappingRem(cur, v == 0 ? 1 : v);
    case 6: return cur > v ? cur : v;
    case 7: return cur < v ? cur : v;
    default: return cur;
  }
}

void NegativeNumberError() { ShowErrorScreen("DB操作：データ番号がマイナスです！", ErrorLocationText(), ""); }

// Each negative number shows its screen; true when any was negative.
bool ReportNegatives(int32_t type, int32_t data, int32_t item) {
  if (type < 0) ShowErrorScreen("DB操作：タイプ番号がマイナスです！", ErrorLocationText(), "");
  if (data < 0) NegativeNumberError();
  if (item < 0) ShowErrorScreen("DB操作：内容番号がマイナスです！", ErrorLocationText(), "");
  return type < 0 || data < 0 || item < 0;
}

}  // namespace

bool EventInterpreter::DoDatabaseOperation() {
  const EventCommand command = Current();
  if (command.flowData.size() == 5 && command.flowData[0] == 1 && command.operands.size() == 3 &&
      DatabaseOperationPrepared(command)) {
    return true;
  }
  DatabaseOperationPlain(command);
  return true;
}

bool EventInterpreter::DatabaseOperationPrepared(const EventCommand& command) {
  Database* db = SelectDatabase(command.operands[0].literal);
  const int32_t* dataCell = OperandCell(command.operands[1]);
  if (!db || !dataCell) return false;
  const int32_t type = Argument(command, 1);
  const int32_t item = Argument(command, 3);
  const int32_t slot = command.flowData[1];
  const int32_t op = command.flowData[2];
  const int32_t d = *dataCell;
  if (type < 0 || type >= db->GetTypeCount()) return false;
  if (d < 0) {
    NegativeNumberError();
    return true;
  }
  if (command.flowData[3] == 0) {
    if (d >= db->GetDataCount(type)) {
      // A type that cannot grow that far takes no write.
      if (d >= Database::kMaxDataCount || !db->SetDataCount(type, d + 1)) return true;
    }
    DatabaseTypeData& entries = db->typeData[static_cast<size_t>(type)];
    const int32_t* source = OperandCell(command.operands[2]);
    if (!source || slot < 0 || slot >= entries.IntegerCount() || d >= entries.RecordCount()) return false;
    int32_t& target = entries.Integer(d, slot);
    const int32_t v = *source;
    switch (op) {
      case 4: if (v != 0) target = WrappingDiv(target, v); break;
      case 5: target = v == 0 ? 1 : WrappingRem(target, v); break;
      default: target = Apply(op, target, v); break;
    }
    return true;
  }
  int32_t* target = OperandCell(command.operands[2]);
  if (!target) return false;
  if (command.operands[2].kind == PreparedOperand::kLiteral) return true;  // a plain number takes no read
  const DatabaseTypeData& entries = db->typeData[static_cast<size_t>(type)];
  int32_t v = 0;
  if (d < db->GetDataCount(type)) {
    if (slot < 0 || slot >= entries.IntegerCount()) return false;
    v = entries.Integer(d, slot);
  } else {
    const std::vector<int32_t>& defaults = db->typeDefinitions.size() > static_cast<size_t>(type)
                                               ? db->typeDefinitions[static_cast<size_t>(type)].itemDefaults
                                               : std::vector<int32_t>{};
    v = item >= 0 && static_cast<size_t>(item) < defaults.size() ? defaults[static_cast<size_t>(item)] : 0;
  }
  switch (op) {
    case 4: if (v != 0) *target = WrappingDiv(*target, v); break;
    case 5: *target = v == 0 ? 1 : WrappingRem(*target, v); break;
    default: *target = Apply(op, *target, v); break;
  }
  return true;
}

void EventInterpreter::DatabaseOperationPlain(const EventCommand& command) {
  const int32_t flags = Argument(command, 4);
  const int32_t kind = flags & 15;
  const int32_t op = (flags >> 4) & 15;
  const int32_t selector = (flags >> 8) & 15;
  const int32_t direction = (flags >> 12) & 15;
  const int32_t operand = Argument(command, 5);
  int32_t type = GetArgValue(Argument(command, 1));
  int32_t data = GetArgValue(Argument(command, 2));
  int32_t item = GetArgValue(Argument(command, 3));

  if ((flags & 0x70000) && command.strings.size() >= 4) {
    const DatabaseNames* names = selector <= 2 ? &DatabaseNameTables[static_cast<size_t>(selector)] : nullptr;
    if (flags & 0x10000) {
      auto found = names ? names->types.find(command.strings[1]) : decltype(names->types.end()){};
      if (!names || found == names->types.end()) {
        ShowErrorScreen("【DB操作】 以下のタイプ名は存在しません", command.strings[1], ErrorLocationText());
        return;
      }
      type = found->second;
    }
    const bool typeKnown = names && type >= 0 && static_cast<size_t>(type) < names->data.size();
    if (flags & 0x20000) {
      const auto* map = typeKnown ? &names->data[static_cast<size_t>(type)] : nullptr;
      auto found = map ? map->find(command.strings[2]) : decltype(map->end()){};
      if (!map || found == map->end()) {
        char line[128];
        std::snprintf(line, sizeof line, "【DB操作】 タイプ%d  には以下のデータ名は存在しません", type);
        ShowErrorScreen(line, command.strings[2], ErrorLocationText());
        return;
      }
      data = found->second;
    }
    if (flags & 0x40000) {
      const auto* map = typeKnown && static_cast<size_t>(type) < names->items.size() ? &names->items[static_cast<size_t>(type)] : nullptr;
      auto found = map ? map->find(command.strings[3]) : decltype(map->end()){};
      if (!map || found == map->end()) {
        char line[160];
        std::snprintf(line, sizeof line, "【DB操作】 タイプ%d データ%d には以下の項目名は存在しません", type, data);
        ShowErrorScreen(line, command.strings[3], ErrorLocationText());
        return;
      }
      item = found->second;
    }
  }

  if (direction == 0) {
    if (Argument(command, 2) == -2 || Argument(command, 3) == -2) {
      const int32_t t = GetArgValue(Argument(command, 1));
      if (Argument(command, 2) == -2) {
        const int32_t records = VariableDatabase.GetDataCount(t);
        for (int32_t r = 0; r < records; ++r) VariableDatabase.InitRecord(t, r);
      } else {
        VariableDatabase.InitRecord(t, GetArgValue(Argument(command, 2)));
      }
      return;
    }
    if (ReportNegatives(type, data, item)) return;
    const int64_t cell = kCellBase[0] + int64_t{type} * 1000000 + int64_t{data} * 100 + item;
    const bool integerCell = IsIntegerId(cell);
    std::string curText;
    int32_t cur = 0;
    if (integerCell) {
      cur = GetArgValue(cell);
    } else {
      curText = GetArgString(cell);
    }
    auto storeText = [&](const std::string& text) {
      if (op == 0) SetVariableString(cell, text);
      if (op == 1) SetVariableString(cell, curText + text);
    };
    if (kind == 0) {
      if (integerCell) {
        if (!IsIntegerId(operand)) {
          ShowErrorScreen("DB書込 ERROR1：変数を格納すべき場所に文字列を代入しようとしました", ErrorLocationText(), "");
          return;
        }
        const int32_t v = GetArgValue(operand);
        if (op <= 7) SetVariableValue(cell, Apply(op, cur, v));
      } else {
        if (IsIntegerId(operand)) {
          ShowErrorScreen("DB書込 ERROR2：文字列を格納すべき場所に変数を代入しようとしました", ErrorLocationText(),
                          DecimalText(static_cast<int32_t>(cell)));
          return;
        }
        storeText(GetArgString(operand));
      }
    } else if (kind == 1) {
      const int32_t r = GetArgValue(operand);
      if (integerCell) {
        if (!IsIntegerId(r)) {
          ShowErrorScreen("DB書込 ERROR3.5：変数を格納すべき場所に文字列を代入しようとしました",
                          "代入先 " + std::to_string(cell), ErrorLocationText());
          return;
        }
        const int32_t v = GetArgValue(r);
        if (op <= 7) SetVariableValue(cell, Apply(op, cur, v));
      } else {
        if (IsIntegerId(r)) {
          ShowErrorScreen("DB書込 ERROR4：文字列を格納すべき場所に変数を代入しようとしました", ErrorLocationText(), "");
          return;
        }
        storeText(GetArgString(r));
      }
    } else if (kind == 2) {
      if (integerCell) {
        ShowErrorScreen("DB書込 ERROR5：変数を格納すべき場所に文字列を代入しようとしました", ErrorLocationText(), "");
        return;
      }
      storeText(ExpandMessageText(StringArgument(command, 0), mapEventId, commonEventNumber, mapId, false, false, "",
                                  "", true));
    }
    return;
  }
  if (direction != 1) return;

  Database* db = SelectDatabase(selector);
  if (!db) return;  // a field naming no database reads nothing
  const int64_t target = kind == 1 ? GetArgValue(operand) : operand;
  int32_t value = 0;
  if (Argument(command, 2) == -1 || Argument(command, 3) == -1) {
    const int32_t t = GetArgValue(Argument(command, 1));
    value = Argument(command, 3) == -1 ? db->GetItemCount(t) : db->GetDataCount(t);
  } else {
    if (ReportNegatives(type, data, item)) return;
    const int64_t cell = kCellBase[selector] + int64_t{type} * 1000000 + int64_t{data} * 100 + item;
    if (!IsIntegerId(cell)) {
      if (IsIntegerId(target)) {
        ShowErrorScreen("DB読込 ERROR4：文字列を格納すべき場所に変数を代入しようとしました", ErrorLocationText(), "");
        return;
      }
      if (op == 0) SetVariableString(target, GetArgString(cell));
      if (op == 1) SetVariableString(target, GetArgString(target) + GetArgString(cell));
      return;
    }
    if (!IsIntegerId(target)) {
      ShowErrorScreen("DB読込 ERROR3：変数を格納すべき場所に文字列を代入しようとしました",
                      "代入先 " + std::to_string(cell) + " 代入元 " + std::to_string(target), ErrorLocationText());
      return;
    }
    value = GetArgValue(cell);
  }
  const int32_t cur = GetArgValue(target);
  if (op <= 7) SetVariableValue(target, Apply(op, cur, value));
}
