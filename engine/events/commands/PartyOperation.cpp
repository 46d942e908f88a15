// The party command: the graphics of the hero and its five followers, the
// saved party, and the followers' following.

#include <array>
#include <string>

#include "engine/events/EventInterpreter.h"
#include "engine/events/commands/CommandArguments.h"
#include "engine/events/MapHooks.h"
#include "engine/events/variables/RootEventRunner.h"
#include "engine/services/ErrorLocation.h"
#include "engine/services/ErrorScreen.h"

namespace {

constexpr int32_t kMembers = 6;  // the hero and five followers

using Graphics = std::array<std::string, kMembers + 1>;  // [1] the hero .. [6]

Graphics ReadParty(const MapHooks& map) {
  Graphics g;
  for (int32_t m = 1; m <= kMembers; ++m) g[static_cast<size_t>(m)] = map.partyGraphic(m);
  return g;
}

void WriteParty(const MapHooks& map, const Graphics& g) {
  for (int32_t m = 1; m <= kMembers; ++m) map.setPartyGraphic(m, g[static_cast<size_t>(m)]);
}

}  // namespace

bool EventInterpreter::DoPartyOperation() {
  const EventCommand& command = Current();
  const MapHooks& map = CurrentMapHooks();
  map.renewFollowerImages(RootRunner.followerSetting & 0xFF);

  const int32_t flags = ArgumentOf(command, 1);
  const int32_t kind = flags & 15;
  int32_t n = 0;
  if (kind <= 2) {
    n = GetArgValue(ArgumentOf(command, 2));
    if (n < 1) {
      ShowErrorScreen("キャラ操作エラー：「0」人目以下の値が指定されました", "この指定は「1」人目以上でなければなりません",
                      ErrorLocationText());
      return true;
    }
    if (n > kMembers) {
      ShowErrorScreen("キャラ操作エラー：「7」人目以上の値が指定されました", "この指定は「6」人目以下でなければなりません",
                      ErrorLocationText());
      return true;
    }
  }
  std::string name;
  if (kind >= 1 && kind <= 3) {
    if (flags & 0x100) {
      const int32_t argument = ArgumentOf(command, 3);
      name = GetArgString(argument);
      // The argument may name a variable that holds the string variable's ID.
      if (name == "<<ERROR>>") name = GetArgString(GetArgValue(argument));
    } else if (!command.strings.empty()) {
      name = command.strings[0];
    }
  }

  Graphics g = ReadParty(map);
  const size_t at = static_cast<size_t>(n);
  switch (kind) {
    case 0: map.setPartyGraphic(n, ""); break;
    case 1:
      for (size_t m = kMembers; m > at; --m) g[m] = g[m - 1];
      g[at] = name;
      WriteParty(map, g);
      break;
    case 2: map.setPartyGraphic(n, name); break;
    case 3:
      for (int32_t m = 1; m <= kMembers; ++m) {
        if (g[static_cast<size_t>(m)] == name) map.setPartyGraphic(m, "");
      }
      break;
    case 4:
      switch (flags & 0xF0) {
        case 0x00: {
          Graphics packed;
          size_t next = 1;
          for (size_t m = 1; m <= kMembers; ++m) {
            if (!g[m].empty()) packed[next++] = g[m];
          }
          if (next > 1) WriteParty(map, packed);
          break;
        }
        case 0x10: WriteParty(map, Graphics{}); break;
        case 0x20: map.resetFollowers(); break;
        case 0x30: map.setFollowersStopped(true); break;
        case 0x40: map.setFollowersStopped(false); break;
        case 0x50: map.setPartyOpacity(0); break;
        case 0x60: map.setPartyOpacity(255); break;
        case 0x70: RootRunner.partyNames.assign(g.begin() + 1, g.end()); break;
        case 0x80: {
          Graphics restored;
          for (size_t m = 1; m <= kMembers; ++m) {
            if (m - 1 < RootRunner.partyNames.size()) restored[m] = RootRunner.partyNames[m - 1];
          }
          WriteParty(map, restored);
          break;
        }
        case 0x90: RootRunner.partyFlag = 1; break;
        case 0xA0: RootRunner.partyFlag = 0; break;
        default: break;
      }
      break;
    default: break;
  }
  return true;
}
