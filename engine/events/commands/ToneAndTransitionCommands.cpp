// The commands that change the look of the whole screen: the colour tone or
// a flash, and the transition from a frozen picture to the live one.

#include "engine/events/EventInterpreter.h"
#include "engine/events/SystemState.h"
#include "engine/events/commands/CommandArguments.h"
#include "engine/events/variables/RootEventRunner.h"

namespace {

// A channel stored as change + 100 (0 to 200) into -255..255.
int16_t Channel(int32_t word, int shift) {
  const int32_t c = (word >> shift) & 0xFF;
  return static_cast<int16_t>((c - 100) * 255 / 100);
}

}  // namespace

bool EventInterpreter::SetScreenTone() {
  const EventCommand& command = Current();
  const int32_t word = ArgumentOf(command, 1);
  const int32_t frames = ArgumentOf(command, 2);
  // Red is the low byte here.
  const int16_t r = Channel(word, 0);
  const int16_t g = Channel(word, 8);
  const int16_t b = Channel(word, 16);
  if (word & (1 << 24)) {
    RootRunner.SetFlash(r, g, b, frames);
  } else {
    RootRunner.SetToneTarget(r, g, b, frames);
  }
  return true;
}

bool EventInterpreter::SetTransition() {
  const EventCommand& command = Current();
  // The root runner keeps the choice, so that it is saved with the game.
  RootRunner.transitionSetting1 = ArgumentOf(command, 1);
  RootRunner.transitionSetting2 = ArgumentOf(command, 2) & 0xFFFF;
  RootRunner.transitionSetting3 = static_cast<uint8_t>((ArgumentOf(command, 2) >> 16) & 1);
  SystemStateHub.LoadTransitionImage(RootRunner.transitionSetting1, RootRunner.transitionSetting2,
                                     RootRunner.transitionSetting3);
  return true;
}

bool EventInterpreter::PrepareTransition() { return SystemStateHub.FreezeScreen(); }

bool EventInterpreter::RunTransition() { return SystemStateHub.StartTransition(); }
