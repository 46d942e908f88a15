// Starting input for the saved variable database fuzzer, as the save writer
// makes it.

#include <string>

#include "engine/data/database/Database.h"
#include "fuzz/DataSamples.h"
#include "fuzz/WriteSeed.h"

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  Database db = SampleFuzzDatabase();
  SaveBuffer out;
  if (!WriteVariableDatabase(out, db)) return 1;
  WriteSeed(argv, "section", std::string(reinterpret_cast<const char*>(out.Data()), static_cast<size_t>(out.Size())));
  return 0;
}
