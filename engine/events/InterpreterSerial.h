#pragma once
// The number an interpreter is known by wherever something waits on it (the
// message and choice waiters of the system state). A copy gets a number of
// its own, a move takes the number along, and an interpreter that goes away
// lets go of whatever waits for it, so no hand-back reaches a stale number.

#include <cstdint>

class InterpreterSerial {
 public:
  InterpreterSerial();
  InterpreterSerial(const InterpreterSerial&);
  InterpreterSerial(InterpreterSerial&& other) noexcept : value_(other.value_) { other.value_ = 0; }
  // An assigned interpreter keeps its own number.
  InterpreterSerial& operator=(const InterpreterSerial&) { return *this; }
  InterpreterSerial& operator=(InterpreterSerial&& other) noexcept;
  ~InterpreterSerial() { Forget(); }

  operator uint64_t() const { return value_; }
  // Takes the number without letting go of waiters (the owner keeps them).
  uint64_t Detach() {
    const uint64_t v = value_;
    value_ = 0;
    return v;
  }
  void Adopt(uint64_t value) {
    Forget();
    value_ = value;
  }

 private:
  uint64_t value_;
  void Forget();
};
