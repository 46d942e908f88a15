#include "engine/data/map/MoveRoute.h"

#include <algorithm>

#include "runtime/ShiftJis.h"

namespace {

// The record stores the options in this order.
constexpr int kRecordOptionOrder[6] = {1, 2, 3, 0, 4, 5};

// Code, argument count and text length.
constexpr int64_t kSmallestStepBytes = 3;
constexpr size_t kMaxStepArguments = 255;
constexpr size_t kMaxStepText = 254;

bool ReadStep(ByteCursor& in, MoveRouteStep& step) {
  uint8_t argumentCount = 0;
  if (!in.ReadU8(step.code) || !in.ReadU8(argumentCount)) return false;
  if (!in.CountFits(argumentCount, 4)) return false;
  step.arguments.resize(argumentCount);
  if (!in.ReadI32Array(step.arguments.data(), argumentCount)) return false;
  uint8_t textLength = 0;
  char text[256];
  if (!in.ReadU8(textLength) || !in.ReadBytes(text, textLength)) return false;
  step.text.assign(text, std::find(text, text + textLength, '\0'));
  return true;
}

// Longest prefix of text, cut at a character boundary, that fits in limit bytes.
size_t FittingTextLength(const std::string& text, size_t limit) {
  const char* p = text.c_str();
  size_t length = 0;
  while (int n = ShiftJisCharLength(p + length)) {
    if (length + static_cast<size_t>(n) > limit) break;
    length += static_cast<size_t>(n);
  }
  return length;
}

}  // namespace

bool MoveRoute::Read(ByteCursor& in) {
  uint8_t bytes[6];
  int32_t stepCount = 0;
  if (!in.ReadBytes(bytes, 6)) return false;
  for (int i = 0; i < 6; ++i) options[kRecordOptionOrder[i]] = bytes[i];
  if (!in.ReadCount(stepCount, kSmallestStepBytes, kMaxSteps)) return false;
  // The steps grow as they are read.
  steps.clear();
  for (int32_t i = 0; i < stepCount; ++i) {
    MoveRouteStep step;
    if (!ReadStep(in, step)) return false;
    steps.push_back(std::move(step));
  }
  return true;
}

bool MoveRoute::Write(SaveBuffer& out) const {
  for (int i = 0; i < 6; ++i) out.WriteU8(options[kRecordOptionOrder[i]]);
  out.WriteI32(static_cast<int32_t>(steps.size()));
  for (const MoveRouteStep& step : steps) {
    const size_t argumentCount = std::min(step.arguments.size(), kMaxStepArguments);
    const size_t textLength = FittingTextLength(step.text, kMaxStepText);
    out.WriteU8(step.code);
    out.WriteU8(static_cast<uint8_t>(argumentCount));
    out.WriteBytes(step.arguments.data(), static_cast<int64_t>(argumentCount) * 4);
    out.WriteU8(static_cast<uint8_t>(textLength + 1));
    out.WriteBytes(step.text.data(), static_cast<int64_t>(textLength));
    out.WriteU8(0);
  }
  return !out.Overrun();
}
