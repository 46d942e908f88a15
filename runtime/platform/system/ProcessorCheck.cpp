#include "runtime/platform/system/ProcessorCheck.h"

#include <cstring>

#include "runtime/host/system/Clock.h"
#include "runtime/host/system/Processor.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/base/NumberHelpers.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/platform/base/StringHelpers.h"
#include "runtime/platform/system/SystemInfo.h"

namespace {

void CopyRegister(char* out, uint32_t value) { std::memcpy(out, &value, 4); }

}  // namespace

ProcessorFacts ProbeProcessor() {
  ProcessorFacts facts = {};
  if (!HostHasCpuId()) return facts;
  facts.level = 1;
  const HostCpuIdRegisters basic = HostCpuId(0);
  CopyRegister(facts.vendor, basic.ebx);
  CopyRegister(facts.vendor + 4, basic.edx);
  CopyRegister(facts.vendor + 8, basic.ecx);
  if (basic.eax >= 1) {
    const uint32_t features = HostCpuId(1).edx;
    facts.hasTimeStampCounter = (features >> 4) & 1;
    if (features & (1u << 23)) {
      facts.level = 3;
      if (features & (1u << 25)) {
        facts.level = 4;
        if (features & (1u << 26)) facts.level = 5;
      }
    }
  }
  if (HostCpuId(0x80000000u).eax >= 0x80000004u) {
    for (uint32_t i = 0; i < 3; ++i) {
      const HostCpuIdRegisters r = HostCpuId(0x80000002u + i);
      CopyRegister(facts.brand + i * 16, r.eax);
      CopyRegister(facts.brand + i * 16 + 4, r.ebx);
      CopyRegister(facts.brand + i * 16 + 8, r.ecx);
      CopyRegister(facts.brand + i * 16 + 12, r.edx);
    }
  }
  return facts;
}

void MeasureProcessorSpeed() {
  const uint64_t first = HostTimeStampCounter();
  const uint32_t start = HostTickMs();
  while (HostTickMs() - start < 100) {
  }
  const uint64_t counts = HostTimeStampCounter() - first;
  gPlatform.cpuCyclesPerSecond = counts * 10;
  const int mhz = DoubleToInt(static_cast<double>(counts) * 0.00001);
  LogFormat("ＣＰＵ動作速度：大体%.2fGHz", mhz * 0.001);
  gSystemInfo.cpuMhz = mhz;
}

void ReportProcessor(const ProcessorFacts& facts) {
  gPlatform.mmxUsable = facts.level >= 3;
  gPlatform.sseUsable = facts.level >= 4;
  gPlatform.sse2Usable = facts.level >= 5;
  if (facts.level == 0) {
    LogWrite("ＣＰＵＩＤ命令は使えません\n");
    return;
  }
  if (facts.level < 3) {
    LogWrite("ＭＭＸは使えません\n");
  } else {
    LogWrite("ＭＭＸ命令を使用します\n");
    if (facts.level >= 4) LogWrite("ＳＳＥ命令が使用可能です\n");
    if (facts.level >= 5) LogWrite("ＳＳＥ２命令が使用可能です\n");
  }
  LogWrite("ＣＰＵベンダ：");
  LogWrite(facts.vendor);
  LogWrite("\n");
  if (facts.brand[0] != '\0') {
    LogFormat("ＣＰＵ名：%s", facts.brand);
    StrCopy(gSystemInfo.cpuBrand, sizeof gSystemInfo.cpuBrand, facts.brand);
  }
}
