#pragma once
// What the whole demo shares: window images and text colours, the sound
// database with its music, background sounds and effects, and the movies.

#include <cstdint>

#include "tests/support/GameFolderWriter.h"

namespace demo {

// A movie of two seconds with sound, for whatever shows movies.
inline constexpr const char* kMovieFile = "Data\\Movie\\village.avi";
inline constexpr int32_t kMovieWidth = 160;
inline constexpr int32_t kMovieHeight = 120;

// The village music loops back to its second bar; the villager's tune
// plays by file name once he has spoken.
inline constexpr int32_t kMusicLoopStartMs = 500;
inline constexpr const char* kTuneFile = "BGM\\tune.mid";

// The system database's window images (type 10) and text colours (type 12).
void WindowsAndColours(GameFolderContent& game);

// A movie in the streaming formats (left out where this FFmpeg cannot make
// it).
void Movies(GameFolderContent& game);

// The music, background sounds and sound effects, and their sound types.
void Sounds(GameFolderContent& game);

}  // namespace demo
