#include "engine/events/InterpreterSerial.h"

#include "engine/events/SystemState.h"

namespace {

uint64_t gNextSerial = 1;

}  // namespace

InterpreterSerial::InterpreterSerial() : value_(gNextSerial++) {}

InterpreterSerial::InterpreterSerial(const InterpreterSerial&) : value_(gNextSerial++) {}

InterpreterSerial& InterpreterSerial::operator=(InterpreterSerial&& other) noexcept {
  if (this != &other) {
    Forget();
    value_ = other.value_;
    other.value_ = 0;
  }
  return *this;
}

void InterpreterSerial::Forget() {
  if (value_ != 0) SystemStateHub.ForgetWaiter(value_);
}
