#include "engine/data/file/DataFileScramble.h"

#include <algorithm>

#include "engine/data/file/CRuntimeRandom.h"
#include "engine/services/ErrorScreen.h"
#include "runtime/Movan.h"

namespace {

uint8_t XorValue(uint32_t state) { return static_cast<uint8_t>((CRuntimeRandValue(state) & 0xFF000) >> 12); }

// One pass: srand(seed), then every Stride-th byte takes the next rand value.
// Eight lanes walk the stream side by side (each jumps eight steps at once),
// which breaks the multiply chain of the generator and halves the time; the
// result is the same as one rand call per byte, and the generator is left
// where that would leave it.
template <size_t Stride>
void XorPass(uint8_t* bytes, size_t count, uint8_t seed) {
  constexpr size_t kLanes = 8;
  const size_t touched = (count + Stride - 1) / Stride;
  const CRuntimeRandomStep step = CRuntimeRandomSteps(1);
  const CRuntimeRandomStep jump = CRuntimeRandomSteps(kLanes);

  uint32_t lanes[kLanes];
  uint32_t state = seed;
  for (uint32_t& lane : lanes) lane = state = step.Apply(state);

  size_t j = 0;
  for (; j + kLanes <= touched; j += kLanes) {
    uint8_t* p = bytes + j * Stride;
    for (size_t k = 0; k < kLanes; ++k) {
      p[k * Stride] ^= XorValue(lanes[k]);
      lanes[k] = jump.Apply(lanes[k]);
    }
  }
  for (size_t k = 0; j + k < touched; ++k) bytes[(j + k) * Stride] ^= XorValue(lanes[k]);

  CRuntimeSrand(CRuntimeRandomSteps(static_cast<uint32_t>(touched)).Apply(seed));
}

using PassFunction = void (*)(uint8_t* bytes, size_t count, uint8_t seed);
constexpr PassFunction kPasses[3] = {XorPass<1>, XorPass<2>, XorPass<5>};

}  // namespace

uint8_t DataFileChecksum(const uint8_t* bytes, size_t count) {
  uint32_t sum = 0;
  for (size_t i = 0; i < count; ++i) sum += bytes[i];
  return static_cast<uint8_t>(sum);
}

void DataFileScramble(const std::string& fileName, uint8_t* bytes, size_t count, int seedCount,
                      const uint8_t* seeds, int mode, uint8_t& checkByte) {
  seedCount = std::clamp(seedCount, 0, 3);
  if (seedCount > 0 && std::all_of(seeds, seeds + seedCount, [](uint8_t s) { return s == 0; })) return;

  if (mode < 0) checkByte = DataFileChecksum(bytes, count);
  for (int k = 0; k < seedCount; ++k) {
    kPasses[k](bytes, count, seeds[k]);
  }
  if (mode > 0 && DataFileChecksum(bytes, count) != checkByte) {
    ShowErrorScreen("ファイル " + fileName + " が改竄されたか、破損している可能性があります。\nロードを中止します。", "",
                    "");
    ExitProgram(1);
  }
}
