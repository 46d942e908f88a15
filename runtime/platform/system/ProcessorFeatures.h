#pragma once
// Processor facilities the start-up check found; set once, read by the
// software renderer's fast paths.

// The MMX-usable flag: 1 when the processor reported MMX at start-up.
int IsMmxUsable();
