#pragma once
// The ring of typed bytes between the window procedure and the key-input
// fields: CP932 text as it comes (lead and trail bytes) and the editing
// codes below. It holds 1024 bytes; a full ring drops what comes after.

#include <cstdint>

constexpr int kKeyRingBackspace = 0x08;
constexpr int kKeyRingTab = 0x09;
constexpr int kKeyRingEnter = 0x0D;
constexpr int kKeyRingDelete = 0x10;
constexpr int kKeyRingEscape = 0x1B;
constexpr int kKeyRingRight = 0x1C;
constexpr int kKeyRingLeft = 0x1D;
constexpr int kKeyRingUp = 0x1E;
constexpr int kKeyRingDown = 0x1F;

// 0, or -1 when the ring is full.
int KeyRingPush(int byte);
bool IsKeyRingFull();
// The next character: 1 byte, or 2 for a lead byte and its trail. 0 when
// the ring is empty or holds only a lead byte whose trail has not come yet.
// Without consume the character stays in the ring.
int TakeKeyRingChar(uint8_t out[2], bool consume);
// Drops everything typed so far, pumping messages between bytes so that
// what is still on its way goes too.
void FlushKeyRing();
