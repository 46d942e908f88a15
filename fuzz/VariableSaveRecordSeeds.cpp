// Starting inputs for the save-record fuzzers of the variables: a store and
// a root runner as the save writer makes them, behind the version byte.

#include <string>

#include "engine/data/file/SaveBuffer.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/variables/VariableStore.h"
#include "fuzz/WriteSeed.h"

namespace {

std::string WithVersion(char version, const SaveBuffer& out) {
  return version + std::string(reinterpret_cast<const char*>(out.Data()), static_cast<size_t>(out.Size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 1;
  SaveBuffer out;
  if (std::string(argv[0]).find("root_runner") != std::string::npos) {
    RootEventRunner runner;
    runner.partyNames = {"a", ""};
    runner.messagePrefix = "<C>";
    if (!runner.WriteState(out)) return 1;
    WriteSeed(argv, "record", WithVersion(static_cast<char>(111 - 95), out));
    return 0;
  }
  VariableStore store(&RootRunner);
  store.numberedSets.assign(10, std::vector<int32_t>(3, 7));
  store.SetVariableOnMap(1000012, 5, 1);
  store.SetStringVariable(3000001, "text");
  store.commonSelfIntegers.assign(2, std::vector<int32_t>(100, 1));
  store.commonSelfStrings.assign(2, std::vector<std::string>(5, "s"));
  if (!store.SaveVariables(out)) return 1;
  WriteSeed(argv, "record", WithVersion(1, out));
  return 0;
}
