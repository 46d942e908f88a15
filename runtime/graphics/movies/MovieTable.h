#pragma once
// Movies shown by graphics: a file that no image reader takes is opened as a
// movie, and the graphic made for it shows the movie's frames. An Ogg
// Theora movie is played by the layer's own decoder, with its own sound
// loaded beside it; no other kind of movie can be opened here. Movies are
// opened stopped: the graphic shows the first frame.

#include <cstdint>

#include "runtime/graphics/format/GraphImage.h"
#include "runtime/platform/base/HandleTable.h"
#include "runtime/platform/files/FileAccessTable.h"

struct TheoraDecoder;
struct MovieRecord;

constexpr int32_t kMovieCapacity = 100;

// Brings the movie's current frame into the graphic that shows it.
using MovieFrameCallback = int (*)(MovieRecord* movie, void* userData);

struct MovieRecord : HandleRecord {
  int32_t theora = 0;
  TheoraDecoder* decoder = nullptr;
  FileHandle file = 0;
  int32_t sound = -1;
  int32_t width = 0;
  int32_t height = 0;
  int32_t stopped = 0;
  const GraphImage* frame = nullptr;  // the current frame
  MovieFrameCallback frameCallback = nullptr;
  void* frameUserData = nullptr;
  // The callback's graphic has not received a frame yet: the decoder
  // converted the first one at the open, before there was a graphic.
  int32_t frameOwed = 0;
};

// A movie handle (type 3), or -1: all slots in use, not a movie this layer
// can play (logged), or out of memory. width and height receive the frame
// size. option must be 0.
int OpenMovie(const char* name, int* width, int* height, int option);
// 0, or -1 for a bad handle.
int CloseMovie(int movie);
// Null for a bad handle.
MovieRecord* GetMovieRecord(int movie);
int SetMovieFrameCallback(int movie, MovieFrameCallback callback, void* userData);
// Calls the frame callback of a Theora movie. 0, also for a bad handle.
int UpdateMovieFrame(int movie, int wait);
int GetMovieCount();

// What the window procedure and the graphics restore do for every movie.
// Theora movies need none of it (their frames live in memory); these act on
// the streams of other movie kinds, which this layer cannot open.
int RestoreMovieSurfaces(int movie);
int ReleaseAllMovieStreams();
int ReopenAllMovieStreams();
int PauseAllMovies();
int ResumeAllMovies();
// Brings every movie's current frame into its graphic.
int UpdateAllMovieFrames();
// Closes every movie (the end of the graphics system).
int CloseAllMovies();
