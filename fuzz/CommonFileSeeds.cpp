// Starting inputs for the ".common" fuzzer.

#include <string>

#include "fuzz/DataSamples.h"
#include "tests/support/CommonEventFileWriter.h"
#include "tests/support/TestDirectory.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  WriteWholeFile(std::string(argv[1]) + "/tables", WriteCommonEventFile(SampleCommonEvents()));
  WriteWholeFile(std::string(argv[1]) + "/short", WriteCommonEventFile(SampleCommonEvents(), {0x8E, 0x8F}));
  return 0;
}
