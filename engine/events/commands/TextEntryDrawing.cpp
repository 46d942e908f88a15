// The field of a running keyboard text entry, drawn every drawn frame in the
// colours of system-database type 12, records 10-12.

#include <algorithm>

#include "engine/data/database/Databases.h"
#include "engine/events/EventInterpreter.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/events/TextEntryHooks.h"
#include "engine/services/StartupSettings.h"

namespace {

constexpr int32_t kColorType = 12;

// Red, green and blue of the record, negatives as 0. A record or item that
// is not there reads 0 without an error: this runs every drawn frame.
uint32_t RecordColor(int32_t record) {
  int32_t rgb[3] = {0, 0, 0};
  if (SystemDatabase.GetTypeCount() > kColorType && SystemDatabase.GetDataCount(kColorType) > record) {
    for (int32_t item = 0; item < 3; ++item) rgb[item] = std::max(SystemDatabase.GetInt(kColorType, record, item), 0);
  }
  return CurrentTextEntryHooks().packColor(rgb[0], rgb[1], rgb[2]);
}

}  // namespace

void EventInterpreter::DrawTextEntry() {
  if (!children.empty()) {
    children.front().DrawTextEntry();
    return;
  }
  if (textInput.handle == 0) return;
  const int64_t a = RecordColor(10);
  const int64_t b = RecordColor(11);
  const int64_t c = RecordColor(12);
  const int64_t colors[12] = {a, a, b, a, c, a, c, 0, 0, 0, -1, -1};
  const TextEntryHooks& hooks = CurrentTextEntryHooks();
  hooks.setTextInputColors(colors);
  const int32_t scale = TileUnit == 16 ? 2 : 1;
  hooks.drawTextInput(RootRunner.textEntryX * scale, RootRunner.textEntryY * scale, textInput.handle);
}
