#pragma once
// Movies shown by graphics: a file that no image reader takes is opened as a
// movie, and the graphic made for it shows the movie's frames. An Ogg
// Theora movie is played by the layer's own decoder, with its own sound
// loaded beside it; any other file goes the streaming way, whose sound
// plays through the graph. Movies are opened stopped: the graphic of a
// Theora movie shows the first frame, that of a streaming movie keeps the
// content it was made with.

#include <cstdint>
#include <string>

#include "runtime/graphics/format/GraphImage.h"
#include "runtime/platform/base/HandleTable.h"
#include "runtime/platform/files/FileAccessTable.h"

struct TheoraDecoder;
struct MovieRecord;
struct HostMovieGraph;
struct HostMovieSurface;
struct HostMovieSample;

constexpr int32_t kMovieCapacity = 100;

// Brings the movie's current frame into the graphic that shows it.
using MovieFrameCallback = int (*)(MovieRecord* movie, void* userData);

struct MovieRecord : HandleRecord {
  int32_t theora = 0;
  TheoraDecoder* decoder = nullptr;
  FileHandle file = 0;
  int32_t sound = -1;
  // Streaming movies.
  int32_t sampleRect[4] = {};
  HostMovieGraph* graph = nullptr;      // null while released
  HostMovieSurface* surface = nullptr;  // in the screen's format
  HostMovieSample* sample = nullptr;
  int64_t stopPosition = 0;             // 100 ns units, as every time below
  int32_t width = 0;
  int32_t height = 0;
  int32_t stopped = 0;
  int64_t savedPosition = 0;            // kept while released
  int32_t resumeAfterPass = 0;          // a pass paused or released it running
  std::string fileName;
  GraphImage frameImage{};              // the streaming frame's copy
  int64_t timePerFrame = 0;
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
// Calls the frame callback of a Theora movie, and of a running streaming
// movie that has a new frame (wait: milliseconds it may wait for it). 0,
// also for a bad handle.
int UpdateMovieFrame(int movie, int wait);
int GetMovieCount();

// What the window procedure and the graphics restore do for every movie.
// Theora movies need none of it (their frames live in memory). Streaming
// movies: the pause pass pauses those that run and the resume pass runs
// them again; the release pass keeps each one's position and releases its
// graph, the reopen pass opens it again at that position (-1 when one
// cannot be, which ends the pass). Their surfaces are memory, never lost.
int RestoreMovieSurfaces(int movie);
int ReleaseAllMovieStreams();
int ReopenAllMovieStreams();
int PauseAllMovies();
int ResumeAllMovies();
// Brings every movie's current frame into its graphic.
int UpdateAllMovieFrames();
// Closes every movie (the end of the graphics system).
int CloseAllMovies();
