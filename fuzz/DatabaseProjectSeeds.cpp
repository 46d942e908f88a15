// Starting inputs for the ".project" fuzzer: the version byte, then the file.

#include <string>

#include "fuzz/DataSamples.h"
#include "fuzz/WriteSeed.h"
#include "tests/support/DatabaseFileWriter.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  WriteSeed(argv, "c1", "\x01" + WriteDatabaseProject(SampleFuzzDatabase(), 0xC1));
  WriteSeed(argv, "c0", std::string(1, '\0') + WriteDatabaseProject(SampleFuzzDatabase(), 0xC0));
  return 0;
}
