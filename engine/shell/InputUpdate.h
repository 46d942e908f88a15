#pragma once
// The per-frame refresh of the input state from the devices: directions in 4
// and 8 ways with key repeat, the game's buttons with the configured keys,
// the mouse and the function keys. In live play every frame's eight game
// inputs go into the replay log; while a replay plays back they come from
// it, and the player's own buttons only steer the playback.

// Once per frame, and where a key held across a change must not count as a
// new press (the map change). Does nothing once a played-back replay ended.
void UpdateInput();

// The devices alone, for screens that wait on the player outside the frames
// (the error screen): nothing is recorded into or played from the replay
// log, so such a wait neither adds frames to a recording nor uses up a
// replay. In live play the game sees the same update as UpdateInput gives;
// during playback only the player's buttons, the mouse and the keyboard
// state are read, and the game's inputs keep what the log gave them.
void UpdateLiveInput();
