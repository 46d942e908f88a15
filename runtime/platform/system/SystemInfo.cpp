#include "runtime/platform/system/SystemInfo.h"

#include "runtime/host/system/OsVersion.h"
#include "runtime/platform/base/Format.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/system/OsIdentity.h"
#include "runtime/platform/system/PlatformState.h"
#include "runtime/platform/system/ProcessorCheck.h"

SystemInfoRecord gSystemInfo;

uint32_t SaturateToUint32(uint64_t value) {
  return value > 0xFFFFFFFFull ? 0xFFFFFFFFu : static_cast<uint32_t>(value);
}

void StorePhysicalMemory(SystemInfoRecord& record, uint64_t totalBytes, uint64_t availableBytes) {
  record.totalPhysicalMemory = SaturateToUint32(totalBytes);
  record.availablePhysicalMemory = SaturateToUint32(availableBytes);
}

SystemInfoRecord* GetSystemInfoRecord() { return &gSystemInfo; }

void CollectSystemInfo() {
  LogWrite("システムの情報を出力します\n");
  LogIndentIn();
  LogPrintf("Ｍｏｖａｎライブラリ Ver%s\n", "2.25b");
  LogWrite("ＯＳ  ");
  const HostOsVersion os = HostQueryOsVersion();
  char name[64];
  gPlatform.osVersionCode = IdentifyOs(os, name, sizeof name, gPlatform.osVersionCode);
  FormatString(gSystemInfo.osDescription, sizeof gSystemInfo.osDescription, "%s ( Build %d %s )", name, os.build,
               os.servicePack);
  LogFormat("%s", gSystemInfo.osDescription);

  // Recorded, not detected. The tick needs no finer timer period on Linux.
  gPlatform.directXVersion = 0x00070000;

  const ProcessorFacts processor = ProbeProcessor();
  gPlatform.rdtscUsable = processor.hasTimeStampCounter;
  if (processor.hasTimeStampCounter) MeasureProcessorSpeed();
  ReportProcessor(processor);
  LogIndentOut();
}
