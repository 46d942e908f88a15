#pragma once
// Movies that are not Ogg Theora (AVI, MPEG, WMV, MP4 and whatever else the
// host's decoders take), played through the streaming-movie stand-in. The
// open takes the steps of the system's multimedia streaming in their order
// and logs the message of the step that fails; around a display change the
// stand-in's objects are released and made again, the movie keeping its
// position.

struct MovieRecord;

// 0, or -1 with the failing step's message logged and nothing held. Sets
// the record's frame size and frame image.
int OpenStreamingMovie(MovieRecord& movie, const char* name);
// Releases the stand-in's objects; the record keeps its frame image and
// file name for a reopen.
void ReleaseStreamingMovie(MovieRecord& movie);
// Releases everything the streaming movie holds.
void CloseStreamingMovie(MovieRecord& movie);
// A running movie brings the frame due now into its frame image: true when
// a new frame came. A stopped or paused one does nothing.
bool UpdateStreamingFrame(MovieRecord& movie, int wait);
