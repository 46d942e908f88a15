#pragma once
// The steps of start-up, the title, the frame and shutdown that belong to
// the sound side: the game's private fonts, the MIDI and speech libraries
// and the sound manager.

// The "*.ttf" and "*.ttc" files of the game folder and of its Data folder
// are installed for the run; removed again at shutdown.
void InstallPrivateFonts();
void RemovePrivateFonts();

// Opens the MIDI device (device -1, or -1000 when setting byte 6 is not 0):
// true when MIDI can play.
bool StartMidi(int device);
void ShutdownMidi();

// Loads the speech library when it is present.
void LoadSpeech();
void UnloadSpeech();

// The title: every sound stops and the sound manager starts afresh.
void ResetSoundManager();
// The title: with the fresh system state, the sound entries the game's
// files gave are counted.
void StoreSoundEntryCounts();
// One frame of the sound manager.
void UpdateSoundManager();
// The scene reload: the music and background sound that were playing start
// again with a short fade.
void RestartSceneSounds();
// A map change frees the sounds that are not playing.
void ReleaseIdleSounds();
