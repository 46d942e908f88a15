// Starting inputs for the CommonEvent.dat fuzzer: scrambled and plain, with
// and without argument tables.

#include <string>

#include "fuzz/DataSamples.h"
#include "fuzz/WriteSeed.h"
#include "tests/support/CommonEventFileWriter.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  CommonEventDatOptions options;
  WriteSeed(argv, "scrambled", WriteCommonEventDat(SampleCommonEvents(), options));
  options.seeds = {0, 0, 0};
  WriteSeed(argv, "plain", WriteCommonEventDat(SampleCommonEvents(), options));
  options.record.formatByte = 0x8E;
  WriteSeed(argv, "short", WriteCommonEventDat(SampleCommonEvents(), options));
  return 0;
}
