// Starting inputs for the database ".dat" fuzzer: both versions, scrambled
// and plain.

#include <string>

#include "fuzz/DataSamples.h"
#include "tests/support/DatabaseFileWriter.h"
#include "tests/support/TestDirectory.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  DatabaseFileOptions options;
  WriteWholeFile(std::string(argv[1]) + "/scrambled", WriteDatabaseDat(SampleFuzzDatabase(), options));
  options.seeds = {0, 0, 0};
  options.version = 0xC0;
  WriteWholeFile(std::string(argv[1]) + "/plain", WriteDatabaseDat(SampleFuzzDatabase(), options));
  return 0;
}
