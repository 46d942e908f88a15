#include "engine/data/ReplayLog.h"

#include <algorithm>
#include <string>

#include "engine/services/EngineRandom.h"
#include "engine/services/ErrorScreen.h"

ReplayLog GameReplay = ReplayLog::Blank();
bool ReplayPlaying = false;
bool ReplayEnded = false;

namespace {

// A run entry, a used-up run and the other small codes carry a one-byte
// value; seed entries carry the whole state.
bool HasByteValue(uint8_t code) { return code < ReplayLog::kSeedRecord; }

constexpr int64_t kShortestEntryBytes = 2;

}  // namespace

ReplayLog::ReplayLog() { AddSeedRecord(EngineRandom(kRandomRead)); }

ReplayLog ReplayLog::Blank() { return ReplayLog(NoEntries{}); }

void ReplayLog::Record(const Frame& flags) {
  uint8_t input = 0;
  for (size_t k = 0; k < flags.size(); ++k) {
    if (flags[k]) input = static_cast<uint8_t>(input | (1u << k));
  }
  if (input == currentInput) {
    if (++runLength == kLongestRun) {
      codes.push_back(kLongestRun);
      values.push_back(input);
      runLength = 0;
    }
    return;
  }
  FlushRun();
  currentInput = input;
  runLength = 1;
}

void ReplayLog::PlayNext(Frame& flags) {
  flags.fill(0);
  ++framesPlayed;
  for (;;) {
    if (static_cast<size_t>(readPosition) >= std::min(codes.size(), values.size())) {
      // Ended before the screen: its wait must not play (and end) again.
      ReplayEnded = true;
      ShowErrorScreen("リプレイデータが終了しました", "", "");
      return;
    }
    const size_t at = static_cast<size_t>(readPosition);
    const uint8_t code = codes[at];
    if (code >= 1 && code < kSeedRecord) {
      for (size_t k = 0; k < flags.size(); ++k) flags[k] = static_cast<uint8_t>((values[at] >> k) & 1);
      --codes[at];
      return;
    }
    ++readPosition;
    if (code == kSeedCheck && static_cast<int32_t>(at) >= kFirstCheckedPosition) {
      const uint32_t state = EngineRandom(kRandomRead);
      if (state != static_cast<uint32_t>(values[at])) {
        ShowErrorScreen("乱数シードが違います 保存=" + std::to_string(values[at]) +
                            " 現在=" + std::to_string(static_cast<int32_t>(state)),
                        "", "");
      }
    }
  }
}

void ReplayLog::AddSeedRecord(uint32_t seed) {
  FlushRun();
  codes.push_back(kSeedRecord);
  values.push_back(static_cast<int32_t>(seed));
}

void ReplayLog::FlushRun() {
  if (runLength != 0) {
    codes.push_back(static_cast<uint8_t>(runLength));
    values.push_back(currentInput);
  }
  currentInput = 0;
  runLength = 0;
}

bool ReplayLog::FirstSeed(uint32_t& seed) const {
  for (size_t i = 0; i < codes.size(); ++i) {
    if (codes[i] == kSeedRecord) {
      seed = static_cast<uint32_t>(values[i]);
      return true;
    }
  }
  return false;
}

bool ReplayLog::Read(SaveBuffer& in) {
  uint8_t flag = 0;
  if (!in.ReadU8(flag)) return false;
  if (flag != 1) return true;
  int32_t count = 0;
  // Every entry takes two bytes at least: a count beyond that is a lie.
  if (!in.ReadCount(count, kShortestEntryBytes)) return false;
  std::vector<uint8_t> readCodes(static_cast<size_t>(count));
  std::vector<int32_t> readValues(static_cast<size_t>(count));
  for (size_t i = 0; i < readCodes.size(); ++i) {
    if (!in.ReadU8(readCodes[i])) return false;
    if (HasByteValue(readCodes[i])) {
      uint8_t value = 0;
      if (!in.ReadU8(value)) return false;
      readValues[i] = value;
    } else if (!in.ReadI32(readValues[i])) {
      return false;
    }
  }
  codes = std::move(readCodes);
  values = std::move(readValues);
  return true;
}

bool ReplayLog::Write(SaveBuffer& out) const {
  const bool pending = runLength != 0;
  const size_t count = codes.size() + (pending ? 1 : 0);
  if (count > static_cast<size_t>(INT32_MAX)) return out.Fail();
  bool ok = out.WriteU8(1) && out.WriteI32(static_cast<int32_t>(count));
  for (size_t i = 0; ok && i < codes.size(); ++i) {
    ok = out.WriteU8(codes[i]) &&
         (HasByteValue(codes[i]) ? out.WriteU8(static_cast<uint8_t>(values[i])) : out.WriteI32(values[i]));
  }
  if (ok && pending) ok = out.WriteU8(static_cast<uint8_t>(runLength)) && out.WriteU8(currentInput);
  return ok;
}
