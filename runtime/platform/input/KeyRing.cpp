#include "runtime/platform/input/KeyRing.h"

#include "runtime/ShiftJis.h"
#include "runtime/platform/base/Log.h"
#include "runtime/platform/window/MessagePump.h"
#include "runtime/platform/system/PlatformState.h"

namespace {

int32_t Next(int32_t position) { return position + 1 == kKeyRingSlots ? 0 : position + 1; }

bool IsEmpty(const KeyRing& ring) { return ring.read == ring.write; }

// The editing keys come out as one byte each.
static_assert(!IsShiftJisLeadByte(kKeyRingDelete) && !IsShiftJisLeadByte(kKeyRingRight) &&
              !IsShiftJisLeadByte(kKeyRingLeft) && !IsShiftJisLeadByte(kKeyRingUp) &&
              !IsShiftJisLeadByte(kKeyRingDown));

}  // namespace

int KeyRingPush(int byte) {
  KeyRing& ring = gPlatform.textInput.ring;
  if (IsKeyRingFull()) return -1;
  ring.slots[ring.write] = static_cast<uint8_t>(byte);
  ring.write = Next(ring.write);
  return 0;
}

bool IsKeyRingFull() {
  const KeyRing& ring = gPlatform.textInput.ring;
  return Next(ring.write) == ring.read;
}

int TakeKeyRingChar(uint8_t out[2], bool consume) {
  KeyRing& ring = gPlatform.textInput.ring;
  if (IsEmpty(ring)) return 0;
  int32_t position = ring.read;
  out[0] = ring.slots[position];
  position = Next(position);
  int size = 1;
  if (IsShiftJisLeadByte(out[0])) {
    if (position == ring.write) return 0;  // the trail byte is still to come
    out[1] = ring.slots[position];
    position = Next(position);
    size = 2;
  }
  if (consume) ring.read = position;
  return size;
}

void FlushKeyRing() {
  KeyRing& ring = gPlatform.textInput.ring;
  // Input calls back into the window service here on purpose: every byte
  // taken lets one pump pass deliver what the window still holds.
  while (PumpMessages() != -1 && !IsEmpty(ring)) {
    const uint8_t byte = ring.slots[ring.read];
    ring.read = Next(ring.read);
    if (byte == 0) break;
    if (byte == 255) LogWrite("文字バッファエラー\n");
  }
  ring.read = 0;
  ring.write = 0;
}
