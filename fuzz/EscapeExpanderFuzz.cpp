// The escape expander on any text, with string variables (which may hold
// escapes, their own references among them) and a few numbers taken from the
// input. The output must stay bounded and the rewrite must walk it safely.

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "engine/data/database/Databases.h"
#include "engine/events/variables/EscapeExpander.h"
#include "engine/events/variables/VariableStore.h"
#include "fuzz/DataReaderHooks.h"
#include "fuzz/DataSamples.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    SilenceDataReaderReports();
    UserDatabase = SampleFuzzDatabase();
    VariableDatabase = SampleFuzzDatabase();
    return true;
  }();
  (void)ready;
  FuzzedDataProvider in(data, size);
  Variables = VariableStore(&RootRunner);
  for (int i = 0; i < 4; ++i) Variables.SetStringVariable(3000000 + i, in.ConsumeRandomLengthString(256));
  Variables.SetVariable(2000000 + in.ConsumeIntegralInRange<int32_t>(0, 99), in.ConsumeIntegral<int32_t>());
  const uint8_t flags = in.ConsumeIntegral<uint8_t>();
  const std::string prefix = in.ConsumeRandomLengthString(64);
  const std::string suffix = in.ConsumeRandomLengthString(64);
  const std::string text = in.ConsumeRemainingBytesAsString();
  const std::string out = ExpandMessageText(text, in.ConsumeIntegral<int32_t>(), in.ConsumeIntegral<int32_t>(),
                                            flags >> 4, flags & 1, flags & 2, prefix, suffix, flags & 4);
  // The references may add the growth allowance, the rest only shrinks.
  if (out.size() > text.size() + prefix.size() + suffix.size() + kMaxExpandedGrowth) std::abort();
  const std::string back = RewriteEscapes(out);
  if (back.size() > 3 * out.size()) std::abort();
  return 0;
}
