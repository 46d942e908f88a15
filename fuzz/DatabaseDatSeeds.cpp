// Starting inputs for the database ".dat" fuzzer: both versions, scrambled
// and plain.

#include <string>

#include "fuzz/DataSamples.h"
#include "fuzz/WriteSeed.h"
#include "tests/support/DatabaseFileWriter.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  DatabaseFileOptions options;
  WriteSeed(argv, "scrambled", WriteDatabaseDat(SampleFuzzDatabase(), options));
  options.seeds = {0, 0, 0};
  options.version = 0xC0;
  WriteSeed(argv, "plain", WriteDatabaseDat(SampleFuzzDatabase(), options));
  return 0;
}
