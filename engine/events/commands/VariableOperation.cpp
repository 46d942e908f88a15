// The variable operation: X = X (assign) (A (calc) B) over integer
// variables, in integer or real arithmetic, over one target or a run of
// them, and the text form for string targets.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "engine/events/variables/EscapeExpander.h"
#include "engine/events/EventArithmetic.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/MapHooks.h"
#include "engine/events/variables/VariableId.h"
#include "engine/services/EngineRandom.h"
#include "engine/services/ErrorLocation.h"
#include "engine/services/ErrorScreen.h"

namespace {

constexpr int32_t kDatabaseMarker = 1100000000;
// The most further targets a range takes: the width of the widest run of
// plain variables. A count from event data beyond it would hold the frame
// for billions of accesses.
constexpr int32_t kMaxRangeCount = 100000;

int32_t Argument(const EventCommand& command, size_t index) {
  return index < command.arguments.size() ? command.arguments[index] : 0;
}

bool IsIntegerId(int64_t id) { return !IsVariableIdInRange(id) || IsIntegerVariableId(static_cast<int32_t>(id)); }

// The ID an indirect value names: small values are normal variables.
int64_t IndirectId(int32_t value) { return value < 1000000 ? 2000000 + int64_t{value} : value; }

int32_t IntegerCalc(int32_t calc, int32_t a, int32_t b) {
  switch (calc) {
    case 0: return ClampToTwoBillion(int64_t{a} + b);
    case 1: return ClampToTwoBillion(int64_t{a} - b);
    case 2: return ClampToTwoBillion(int64_t{a} * b);
    case 3: return WrappingDiv(a, b == 0 ? 1 : b);
    case 4: return WrappingRem(a, b == 0 ? 1 : b);
    case 5: return a & b;
    case 6: {
      // The range in 64 bits: abs(A - B) + 1 reaches 2^32, never 0.
      const int64_t low = a < b ? a : b;
      const uint64_t range = static_cast<uint64_t>(std::llabs(int64_t{a} - b)) + 1;
      const uint64_t r = EngineRandom(kRandomStep);
      return static_cast<int32_t>(low + static_cast<int64_t>(r % range));
    }
    default: return 0;
  }
}

// Truncation toward zero into 64 bits; values beyond +-2^62 saturate there.
int64_t Truncate(double v) {
  constexpr double kLimit = 4611686018427387904.0;  // 2^62
  if (!(v == v)) return 0;
  if (v >= kLimit) return int64_t{1} << 62;
  if (v <= -kLimit) return -(int64_t{1} << 62);
  return static_cast<int64_t>(v);
}

int32_t SaturatedProduct(int64_t a, int64_t b) {
  int64_t p = 0;
  if (__builtin_mul_overflow(a, b, &p)) return (a < 0) != (b < 0) ? -2000000000 : 2000000000;
  return ClampToTwoBillion(p);
}

double RealCalc(int32_t calc, int32_t a, int32_t b) {
  switch (calc) {
    case 0: return double{1.0} * a + b;
    case 1: return double{1.0} * a - b;
    case 2: {
      const int64_t p = int64_t{a} * b;
      const int32_t s = ClampToTwoBillion(p);
      return s != p ? s : static_cast<double>(p);
    }
    case 3: return static_cast<double>(a) / (b == 0 ? 1 : b);
    case 4: return WrappingRem(a, b == 0 ? 1 : b);
    case 5: return a & b;
    default: return 0;
  }
}

bool RealAssign(int32_t assign, int32_t x, double r, int32_t& out) {
  switch (assign) {
    case 0: out = WrapToInt32(Truncate(r)); return true;
    case 1: out = ClampToTwoBillion(Truncate(x + r)); return true;
    case 2: out = ClampToTwoBillion(Truncate(x - r)); return true;
    case 3: {
      const int32_t s = SaturatedProduct(x, Truncate(r));
      out = (s == 2000000000 || s == -2000000000) ? s : ClampToTwoBillion(Truncate(x * r));
      return true;
    }
    case 4: out = WrapToInt32(Truncate(x / (r == 0 ? 1.0 : r))); return true;
    case 5: {
      const int64_t d = Truncate(r);
      out = static_cast<int32_t>(int64_t{x} % (d == 0 ? 1 : d));
      return true;
    }
    case 6: out = x >= r ? x : WrapToInt32(Truncate(r)); return true;
    case 7: out = x <= r ? x : WrapToInt32(Truncate(r)); return true;
    case 8: out = WrapToInt32(r >= 0 ? Truncate(r) : -Truncate(r)); return true;
    default: return false;
  }
}

}  // namespace

bool EventInterpreter::DoVariableOperation() {
  const EventCommand command = Current();
  if (command.flowData.size() == 8 && (command.flowData[0] == 1 || command.flowData[0] == 2) &&
      command.operands.size() == 3 && VariableOperationPrepared(command)) {
    return true;
  }
  VariableOperationPlain(command);
  return true;
}

bool EventInterpreter::VariableOperationPrepared(const EventCommand& command) {
  int32_t* x = OperandCell(command.operands[0]);
  int32_t* a = OperandCell(command.operands[1]);
  int32_t* b = OperandCell(command.operands[2]);
  if (!x || !a || !b) return false;
  const int32_t assign = command.flowData[1];
  const int32_t calc = command.flowData[2];
  int32_t r = *a;
  if (command.flowData[0] == 1) {
    switch (calc) {
      case 0: r = WrappingAdd(*a, *b); break;
      case 1: r = WrappingSub(*a, *b); break;
      case 2: r = WrappingMul(*a, *b); break;
      default: r = IntegerCalc(calc, *a, *b); break;
    }
  }
  switch (assign) {
    case 1: *x = WrappingAdd(*x, r); break;
    case 2: *x = WrappingSub(*x, r); break;
    case 3: *x = WrappingMul(*x, r); break;
    default: {
      int32_t out = 0;
      if (IntegerAssignment(assign, *x, r, out)) *x = out;
      break;
    }
  }
  return true;
}

void EventInterpreter::VariableOperationPlain(const EventCommand& command) {
  const int32_t target = Argument(command, 1);
  const int32_t argA = Argument(command, 2);
  const int32_t argB = Argument(command, 3);
  const int32_t flags = Argument(command, 4);
  const int32_t assign = (flags >> 8) & 15;
  const int32_t calc = (flags >> 12) & 15;
  const bool marker = target == kDatabaseMarker;
  const int32_t last = (flags & 0x10000) ? std::clamp(Argument(command, 5), 0, kMaxRangeCount) : 0;
  auto cellId = [&]() {
    const int32_t type = GetArgValue(Argument(command, 5));
    const int32_t data = GetArgValue(Argument(command, 6));
    const int32_t item = GetArgValue(Argument(command, 7));
    return int64_t{kDatabaseMarker} + int64_t{type} * 1000000 + int64_t{data} * 100 + item;
  };
  // An operand's value: an integer ID's value, or a text's leading number.
  auto readOperand = [&](int64_t id) {
    if (IsIntegerId(id)) return GetArgValue(id);
    const std::string text = GetArgString(id);
    return ReadTextNumber(text.data(), text.size());
  };
  for (int64_t i = 0; i <= last; ++i) {
    const int64_t first = int64_t{target} + i;
    // A run that leaves the 32-bit IDs names no further variable.
    if (!marker && !IsVariableIdInRange(first)) return;
    int64_t id = marker ? cellId() : first;
    if (flags & 0x10) id = GetArgValue(id);
    if (!IsIntegerId(id)) {
      const int64_t stringTarget = (flags & 0x10) ? GetArgValue(first) : id;
      std::string s1;
      if (assign == 1) s1 = GetArgString(stringTarget);
      int32_t a = argA;
      int32_t b = argB;
      if (flags & 0x20) a = GetArgValue(a);
      if (flags & 0x40) b = GetArgValue(b);
      if (a != 0 && (IsIntegerId(a) || (flags & 0x4))) {
        ShowErrorScreen("エラー：[変数操作] 格納先の内容が文字列なのに", "　　数値を格納しようとしました",
                        ErrorLocationText());
        return;
      }
      std::string s2;
      if (calc == 0 && b != 0) {
        std::string text = GetArgString(b);
        if (text != "<<ERROR>>") s2 = std::move(text);
      }
      s2 = ExpandMessageText(s2, mapEventId, commonEventNumber, mapId, false, false, "", "", true);
      SetVariableString(stringTarget, s1 + s2);
      return;
    }
    int32_t cur = GetArgValue(marker ? cellId() : first);
    int32_t a = (flags & 0x4) ? argA : readOperand(argA);
    int32_t b = (flags & 0x8) ? argB : readOperand(argB);
    if (flags & 0x20) a = readOperand(IndirectId(a));
    if (flags & 0x40) b = readOperand(IndirectId(b));
    int64_t store = id;
    if (flags & 0x10) {
      store = IndirectId(cur);
      cur = GetArgValue(store);
    }
    CurrentMapHooks().requestPageRefresh();
    int32_t value = 0;
    const bool stores = (flags & 0x2) ? RealAssign(assign, cur, RealCalc(calc, a, b), value)
                                      : IntegerAssignment(assign, cur, IntegerCalc(calc, a, b), value);
    if (stores) SetVariableValue(store, ClampToMillion(flags & 1, value));
  }
}
