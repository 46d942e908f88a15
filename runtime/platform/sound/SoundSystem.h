#pragma once
// The sound system's hooks into the layer's life cycle and message pump.
//
//   InitSoundSystem        start-up sequence, after the input devices and
//                          before the screen; its result is not tested
//   TermSoundSystem        end sequence, after the input devices' end
//   RefillAllStreamSounds  every pass of the message pump, before keyboard
//                          text input; and after every batch of messages
//                          while the window is inactive
//   SetSoundPumpHook       the message pump that the wait of a sound played
//                          once in the foreground runs

// 0, or -1 when sound stays off (the game then runs silent).
int InitSoundSystem();
// 0, or -1 when sound was off.
int TermSoundSystem();
// Refills every stream sound a little ahead of its play cursor. 0, or -1
// when sound is off.
int RefillAllStreamSounds();

// One pass of the message pump: 0 while running, -1 once the window is
// gone. Null puts back the default, a 1 ms sleep.
using SoundPumpHook = int (*)();
void SetSoundPumpHook(SoundPumpHook hook);
