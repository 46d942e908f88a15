#pragma once
// The screen tone's share of the draw brightness: a negative tone channel c
// darkens what is drawn next to 255 + c in that channel.

// Unless every tone channel is above 0: 255 + c per negative channel, 255
// for the others. What the frame and the map draw do before the map.
void ApplyToneBeforeMap();
// 255 + c per negative channel, 255 for the others: back to the tone after a
// draw that changed the brightness.
void RestoreToneBrightness();
