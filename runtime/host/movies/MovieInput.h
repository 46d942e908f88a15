#pragma once
// The bytes of a movie as FFmpeg's I/O context: a plain file read at
// offsets, or a reader given by the layer. The demuxer may open nothing
// else (playlist segments, referenced files, network addresses): none of
// FFmpeg's own protocols ever runs on a name from a game.

#include "runtime/host/movies/MovieGraph.h"

struct AVFormatContext;
struct MovieInput;

// Null when the file is missing or memory runs out.
MovieInput* OpenMovieInputFile(const char* gamePath);
// Null when memory runs out; the reader is closed then.
MovieInput* OpenMovieInputReader(const HostMovieReader& reader);
void CloseMovieInput(MovieInput* input);

// The demuxer over the input, its streams found, or null when FFmpeg does
// not take the bytes. Files are recognised by their content alone.
AVFormatContext* OpenMovieDemuxer(MovieInput* input);
