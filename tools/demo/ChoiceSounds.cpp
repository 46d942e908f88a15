#include "tools/demo/ChoiceSounds.h"

#include "tests/support/CommandListBuilder.h"

namespace demo {

namespace {

// The choice window's sound system variables: decide, cursor, cancel.
constexpr int32_t kDecideSoundVariable = 9000017;
constexpr int32_t kCursorSoundVariable = 9000018;
constexpr int32_t kCancelSoundVariable = 9000019;
// Parallel, so that no automatic event started before it keeps it waiting.
constexpr uint8_t kParallelWhileTheConditionHolds = 2;
constexpr uint8_t kEqual = 2 << 4;

}  // namespace

void AddChoiceSounds(GameFolderContent& game) {
  CommonEvent event;
  event.number = static_cast<int32_t>(game.commonEvents.size());
  event.name = "選択肢の効果音";
  event.trigger = kParallelWhileTheConditionHolds | kEqual;
  event.conditionVariable = kDecideSoundVariable;
  event.conditionValue = -1;
  event.commands = CommandListBuilder()
                       .Variable(kDecideSoundVariable, kDecideSoundEntry, 0, 0, 0)
                       .Variable(kCursorSoundVariable, kCursorSoundEntry, 0, 0, 0)
                       .Variable(kCancelSoundVariable, kCancelSoundEntry, 0, 0, 0)
                       .Build();
  game.commonEvents.push_back(std::move(event));
}

}  // namespace demo
