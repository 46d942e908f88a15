// Starting inputs for the ".common" fuzzer.

#include <string>

#include "fuzz/DataSamples.h"
#include "fuzz/WriteSeed.h"
#include "tests/support/CommonEventFileWriter.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  WriteSeed(argv, "tables", WriteCommonEventFile(SampleCommonEvents()));
  WriteSeed(argv, "short", WriteCommonEventFile(SampleCommonEvents(), {0x8E, 0x8F}));
  return 0;
}
