#pragma once
// A processor of the test's choosing: whether it has the identification
// instruction, its feature bits, vendor and brand, and a time-stamp counter
// that runs at 3 GHz of the fake clock's counter (which counts microseconds).

#include <cstdint>
#include <string>

#include "runtime/host/system/Clock.h"
#include "runtime/host/system/Processor.h"

struct FakeProcessorModel {
  bool hasCpuId = true;
  uint32_t features = 0;  // function 1, EDX
  std::string vendor = "TestVendor12";
  std::string brand;      // empty: the processor gives none
};

class FakeProcessor {
 public:
  explicit FakeProcessor(const FakeProcessorModel& model) {
    Model() = model;
    HostSetProcessorSource(&kSource);
  }
  ~FakeProcessor() { HostSetProcessorSource(nullptr); }
  FakeProcessor(const FakeProcessor&) = delete;
  FakeProcessor& operator=(const FakeProcessor&) = delete;

  static constexpr uint32_t kTimeStamp = 1u << 4;
  static constexpr uint32_t kMmx = 1u << 23;
  static constexpr uint32_t kSse = 1u << 25;
  static constexpr uint32_t kSse2 = 1u << 26;

 private:
  static FakeProcessorModel& Model() {
    static FakeProcessorModel model;
    return model;
  }
  static uint32_t Word(const std::string& text, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) {
      const uint8_t c = at + i < text.size() ? static_cast<uint8_t>(text[at + i]) : 0;
      value |= static_cast<uint32_t>(c) << (8 * i);
    }
    return value;
  }
  static bool HasCpuId() { return Model().hasCpuId; }
  static HostCpuIdRegisters CpuId(uint32_t function) {
    const FakeProcessorModel& s = Model();
    if (function == 0) return {1, Word(s.vendor, 0), Word(s.vendor, 8), Word(s.vendor, 4)};
    if (function == 1) return {0, 0, 0, s.features};
    if (function == 0x80000000u) return {s.brand.empty() ? 0x80000001u : 0x80000004u, 0, 0, 0};
    if (function >= 0x80000002u && function <= 0x80000004u) {
      const size_t at = (function - 0x80000002u) * 16;
      return {Word(s.brand, at), Word(s.brand, at + 4), Word(s.brand, at + 8), Word(s.brand, at + 12)};
    }
    return {0, 0, 0, 0};
  }
  static uint64_t TimeStamp() { return HostCounter() * 3000; }

  static constexpr HostProcessorSource kSource = {HasCpuId, CpuId, TimeStamp};
};
