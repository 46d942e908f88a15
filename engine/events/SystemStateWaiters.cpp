#include "engine/events/SystemState.h"

void SystemState::SetMessageWaiter(int32_t mode, uint64_t waiter) {
  messageWaiterMode = mode;
  messageWaiter = waiter;
}

void SystemState::ReleaseMessageWaiter() {
  if (messageWaiterMode == 1) releasedMessageWaiter = messageWaiter;
}

void SystemState::SetChoiceWaiter(int32_t level, uint64_t waiter) {
  choiceWaiterLevel = level;
  choiceWaiter = waiter;
}

void SystemState::DeliverChoiceResult(int32_t value) {
  if (choiceWaiter == 0 || choiceWaiterLevel < 0) return;
  choiceResultWaiter = choiceWaiter;
  choiceResultLevel = choiceWaiterLevel;
  choiceResultValue = value;
}

void SystemState::ForgetWaiter(uint64_t serial) {
  if (serial == 0) return;
  if (messageWaiter == serial) SetMessageWaiter(-1, 0);
  if (choiceWaiter == serial) SetChoiceWaiter(-1, 0);
  if (releasedMessageWaiter == serial) releasedMessageWaiter = 0;
  if (choiceResultWaiter == serial) choiceResultWaiter = 0;
}
