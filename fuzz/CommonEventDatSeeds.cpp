// Starting inputs for the CommonEvent.dat fuzzer: scrambled and plain, with
// and without argument tables.

#include <string>

#include "fuzz/DataSamples.h"
#include "tests/support/CommonEventFileWriter.h"
#include "tests/support/TestDirectory.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  CommonEventDatOptions options;
  WriteWholeFile(std::string(argv[1]) + "/scrambled", WriteCommonEventDat(SampleCommonEvents(), options));
  options.seeds = {0, 0, 0};
  WriteWholeFile(std::string(argv[1]) + "/plain", WriteCommonEventDat(SampleCommonEvents(), options));
  options.record.formatByte = 0x8E;
  WriteWholeFile(std::string(argv[1]) + "/short", WriteCommonEventDat(SampleCommonEvents(), options));
  return 0;
}
